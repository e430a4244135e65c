#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TPropiedadesIconGrid;

// A launcher's picture: " Icono ", the file the icon comes from, the grid of
// the icons it holds (the selected one is the icon's index) and the two ways
// of choosing a file.
class IconBox : public QGroupBox {
    Q_OBJECT

public:
    explicit IconBox(QWidget* parent = nullptr);

    QLineEdit* fileEdit() const { return m_fileEdit; }
    QCheckBox* useIconCheck() const { return m_useIconCheck; }
    TPropiedadesIconGrid* iconGrid() const { return m_iconGrid; }
    QPushButton* associatedIconButton() const { return m_associatedIconButton; }
    QPushButton* browseButton() const { return m_browseButton; }

private:
    QLineEdit* m_fileEdit { nullptr };
    QCheckBox* m_useIconCheck { nullptr };
    TPropiedadesIconGrid* m_iconGrid { nullptr };
    QPushButton* m_associatedIconButton { nullptr };
    QPushButton* m_browseButton { nullptr };
};
