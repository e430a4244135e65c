#pragma once

#include "items/ItemReports.h"

#include <QGroupBox>

class QLabel;
class TCGauge;
class TCSpinEdit;

// A memory tile's " Información y Opciones ": how often it is read again,
// the paging file and the physical memory used and in all, each with its
// free share as a bar, and the memory load.
class MemoryBox : public QGroupBox {
    Q_OBJECT

public:
    explicit MemoryBox(QWidget* parent = nullptr);

    TCSpinEdit* refreshSpin() const { return m_refreshSpin; }

    // The figures of one refresh.
    void showReport(const tolm::items::MemoryReport& report);

private:
    TCSpinEdit* m_refreshSpin { nullptr };
    QLabel* m_pageFileUsedBytes { nullptr };
    QLabel* m_pageFileUsedShort { nullptr };
    QLabel* m_pageFileTotalBytes { nullptr };
    QLabel* m_pageFileTotalShort { nullptr };
    TCGauge* m_pageFileGauge { nullptr };
    QLabel* m_physicalUsedBytes { nullptr };
    QLabel* m_physicalUsedShort { nullptr };
    QLabel* m_physicalTotalBytes { nullptr };
    QLabel* m_physicalTotalShort { nullptr };
    TCGauge* m_loadGauge { nullptr };
};
