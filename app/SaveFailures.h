#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace tolm::app {

// The saves that fail during one thing the user does ("Guardar configuración",
// closing a folder window and the windows below it, quitting) are said in one
// message box, not one box per window. While a SaveFailures lives, failures
// are collected; the outermost one shows them when it ends, unless its owner
// has said them itself (take()). A failure with no collector open is shown
// at once.
class SaveFailures {
public:
    SaveFailures();
    ~SaveFailures();
    SaveFailures(const SaveFailures&) = delete;
    SaveFailures& operator=(const SaveFailures&) = delete;

    // One line naming the file and the reason.
    static void add(const QString& line);
    static QString saveFailedLine(const QString& file, const QString& reason);
    // Why a write failed, in the system's own words ("Permission denied",
    // "No space left on device"): the store's text also names the temporary
    // file it wrote, which means nothing to the user.
    static QString reason(const std::string& storeError);

    bool any() const;
    // The collected lines as one text, which this collector then no longer shows.
    QString take();

private:
    SaveFailures* m_outer { nullptr };
    QStringList m_lines;
};

} // namespace tolm::app
