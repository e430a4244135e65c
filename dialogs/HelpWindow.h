#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QTextBrowser;
class TSpButton;

// The manual, read from the program's resources in the language Tolm speaks,
// so that it needs neither a network nor an installed file. Each window that
// asks has one help window, its child: it takes input while its owner is
// modal (the properties dialog) and closes with it. Asking again shows the
// same window at the section asked for.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    // Anchors of the manual's sections, the same in every language.
    static constexpr const char* kShelfSection = "shelf";
    static constexpr const char* kCalendarSection = "calendar";
    static constexpr const char* kPickerSection = "new-application";

    // Shows the manual at `section` (an anchor; empty: the start) in the
    // help window of `owner`, made when it has none; a null owner has one
    // window of its own.
    static HelpWindow* showManual(QWidget* owner, const QString& section = {});
    // The manual in the language in use: qrc:/help/manual-<language>.html.
    static QUrl manualUrl();
    // F1 anywhere in `window` shows its help window at the section
    // `section` names at that moment (the start when it names none).
    static void answerHelpKey(QWidget* window, std::function<QString()> section);
    // The section on an item of this kind; the shelf's when there is no item.
    static QString itemSection(const TSpButton* item);

    QTextBrowser* browser() const { return m_browser; }

private:
    explicit HelpWindow(QWidget* owner);
    void placeBesideOwner();

    QTextBrowser* m_browser { nullptr };
};
