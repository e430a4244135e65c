#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

// The modal box naming the program and its version, with a button that opens
// the project's home page. Each opening makes a new box, released on close.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit TAboutBox(QWidget* parent = nullptr);

    // Makes a new box, shows it modally and lets it go; the menu's entry point.
    static int execute(QWidget* parent);

    // The home page: the README.md next to the program, where it is installed,
    // or the one of the source tree it was built from.
    static QUrl homePage();
    // Tests put their own opener here; an empty one restores the desktop's.
    static void setUrlOpener(UrlOpener opener);

    QLabel* ProductName() const { return m_productName; }
    QLabel* Version() const { return m_version; }
    QLabel* Notice() const { return m_notice; }
    QLabel* Comments() const { return m_comments; }
    QLabel* Image1() const { return m_image1; }
    QLabel* ProgramIcon() const { return m_programIcon; }
    QPushButton* OKButton() const { return m_okButton; }
    QPushButton* BotonWeb() const { return m_botonWeb; }

private:
    void FormCreate();
    void BotonWebClick();

    QLabel* m_image1 { nullptr };
    QLabel* m_programIcon { nullptr };
    QLabel* m_productName { nullptr };
    QLabel* m_version { nullptr };
    QLabel* m_notice { nullptr };
    QLabel* m_comments { nullptr };
    QPushButton* m_okButton { nullptr };
    QPushButton* m_botonWeb { nullptr };
};
