#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

// The manual, read from the program's resources in the language Tolm speaks,
// so that it needs neither a network nor an installed file. Each window that
// asks has one help window, its child: it takes input while its owner is
// modal (the properties dialog) and closes with it. Asking again shows the
// same window at the section asked for.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    // The anchor of the manual's section on the properties dialog.
    static constexpr const char* kPropertiesSection = "properties";

    // Shows the manual at `section` (an anchor; empty: the start) in the
    // help window of `owner`, made when it has none; a null owner has one
    // window of its own.
    static HelpWindow* showManual(QWidget* owner, const QString& section = {});
    // The manual in the language in use: qrc:/help/manual-<language>.html.
    static QUrl manualUrl();

    QTextBrowser* browser() const { return m_browser; }

private:
    explicit HelpWindow(QWidget* owner);
    void placeBesideOwner();

    QTextBrowser* m_browser { nullptr };
};
