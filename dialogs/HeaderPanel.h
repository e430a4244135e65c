#pragma once

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The top of the properties dialog, the same on both tabs (the dialog moves
// it to the tab being shown): the item's name, the " Ejemplo " box that
// holds the working copy, the ten size formats and the font buttons, over a
// sunken line.
class HeaderPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFormatCount = 10;

    explicit HeaderPanel(QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_nameEdit; }
    QGroupBox* exampleBox() const { return m_exampleBox; }
    QGroupBox* formatBox() const { return m_formatBox; }
    // The formats by their stored values; the button group's ids are the same.
    QButtonGroup* formatButtons() const { return m_formatButtons; }
    QRadioButton* formatButton(int index) const;
    QPushButton* fontButton() const { return m_fontButton; }
    QPushButton* defaultFontButton() const { return m_defaultFontButton; }

protected:
    void changeEvent(QEvent* event) override;

private:
    // The formats stand in rows as close as their text allows.
    void fitFormatRows();

    QLabel* m_nameLabel { nullptr };
    QLineEdit* m_nameEdit { nullptr };
    QGroupBox* m_exampleBox { nullptr };
    QGroupBox* m_formatBox { nullptr };
    QButtonGroup* m_formatButtons { nullptr };
    QPushButton* m_fontButton { nullptr };
    QPushButton* m_defaultFontButton { nullptr };
};
