#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The "Acceso directo" tab of launchers: under the dialog's header, " Datos
// del programa ", what the launcher starts and how.
class ShortcutPage : public QWidget {
    Q_OBJECT

public:
    explicit ShortcutPage(QWidget* parent = nullptr);

    // Puts the header at the top of the page.
    void takeHeader(QWidget* header);

    QGroupBox* programBox() const { return m_programBox; }
    QLineEdit* commandEdit() const { return m_commandEdit; }
    QLineEdit* parametersEdit() const { return m_parametersEdit; }
    QLineEdit* directoryEdit() const { return m_directoryEdit; }
    QComboBox* runCombo() const { return m_runCombo; }
    QCheckBox* autoRunCheck() const { return m_autoRunCheck; }
    QPushButton* findTargetButton() const { return m_findTargetButton; }
    QPushButton* associatedIconButton() const { return m_associatedIconButton; }
    QPushButton* browseButton() const { return m_browseButton; }

private:
    QVBoxLayout* m_layout { nullptr };
    QGroupBox* m_programBox { nullptr };
    QLineEdit* m_commandEdit { nullptr };
    QLineEdit* m_parametersEdit { nullptr };
    QLineEdit* m_directoryEdit { nullptr };
    QComboBox* m_runCombo { nullptr };
    QCheckBox* m_autoRunCheck { nullptr };
    QPushButton* m_findTargetButton { nullptr };
    QPushButton* m_associatedIconButton { nullptr };
    QPushButton* m_browseButton { nullptr };
};
