#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace tolm::app {

// The saves that failed during one thing the user does ("Guardar
// configuración", closing a folder window and the windows below it,
// quitting, one pass of the automatic save), said in one message box
// rather than one box per window.
class SaveReport {
public:
    void add(const QString& line) { m_lines.append(line); }
    bool any() const { return !m_lines.isEmpty(); }
    QString text() const { return m_lines.join(QLatin1Char('\n')); }
    // One box with every line, when there is any.
    void show() const;

    // One line naming the file and the reason.
    static QString failedLine(const QString& file, const QString& reason);
    // Why a write failed, in the system's own words ("Permission denied",
    // "No space left on device"): the store's text also names the temporary
    // file it wrote, which means nothing to the user.
    static QString reason(const std::string& storeError);

private:
    QStringList m_lines;
};

} // namespace tolm::app
