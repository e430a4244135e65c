#pragma once

#include <QGroupBox>

class QCheckBox;

// A folder's options, " Varios ": whether it shows its folder picture and
// whether its window opens with the shelf.
class FolderBox : public QGroupBox {
    Q_OBJECT

public:
    explicit FolderBox(QWidget* parent = nullptr);

    QCheckBox* useIconCheck() const { return m_useIconCheck; }
    QCheckBox* autoOpenCheck() const { return m_autoOpenCheck; }

private:
    QCheckBox* m_useIconCheck { nullptr };
    QCheckBox* m_autoOpenCheck { nullptr };
};
