#pragma once

#include "items/ItemReports.h"

#include <QGroupBox>

class QComboBox;
class QLabel;
class TCGauge;
class TCSpinEdit;

// A drive tile's " Información y Opciones ": the space used, free and in
// all with the free share as a bar, the drive's type, the drive shown and
// how often it is read again.
class DriveBox : public QGroupBox {
    Q_OBJECT

public:
    explicit DriveBox(QWidget* parent = nullptr);

    QComboBox* driveCombo() const { return m_driveCombo; }
    TCSpinEdit* refreshSpin() const { return m_refreshSpin; }

    // Lists the platform's drives and selects `drive` among them, or shows
    // it as typed when it is not one of them.
    void listDrives(const QString& drive);
    // The figures of one refresh; the caption is not the box's to show.
    void showReport(const tolm::items::DriveReport& report);

    // The name of a drive type code as the box shows it; empty for an unknown code.
    static QString typeName(int type);

private:
    QLabel* m_usedBytes { nullptr };
    QLabel* m_usedShort { nullptr };
    QLabel* m_freeBytes { nullptr };
    QLabel* m_freeShort { nullptr };
    QLabel* m_capacityBytes { nullptr };
    QLabel* m_capacityShort { nullptr };
    TCGauge* m_freeGauge { nullptr };
    QLabel* m_typeLabel { nullptr };
    QComboBox* m_driveCombo { nullptr };
    TCSpinEdit* m_refreshSpin { nullptr };
};
