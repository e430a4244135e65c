#pragma once

#include <QDialog>
#include <QPixmap>

class QFrame;
class QLabel;
class QPushButton;

// The modal box naming the program and its version, with a button that opens
// the manual. Each opening makes a new box, released on close.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Makes a new box, shows it modally and lets it go; the menu's entry point.
    static int execute(QWidget* parent);
    // Places the box in the middle of its screen.
    void centreOnScreen();

    QLabel* ProductName() const { return m_productName; }
    QLabel* Version() const { return m_version; }
    QLabel* Notice() const { return m_notice; }
    QLabel* Comments() const { return m_comments; }
    QLabel* Image1() const { return m_image1; }
    QLabel* ProgramIcon() const { return m_programIcon; }
    QPushButton* OKButton() const { return m_okButton; }
    QPushButton* manualButton() const { return m_manualButton; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUp();
    void openManual();
    // The manual's link shows the help window; any other opens in the browser.
    void followLink(const QString& link);
    void placeControls();

    QFrame* m_panel { nullptr };
    QPixmap m_artwork;
    QLabel* m_image1 { nullptr };
    QLabel* m_programIcon { nullptr };
    QLabel* m_productName { nullptr };
    QLabel* m_version { nullptr };
    QLabel* m_notice { nullptr };
    QLabel* m_comments { nullptr };
    QPushButton* m_okButton { nullptr };
    QPushButton* m_manualButton { nullptr };
};
