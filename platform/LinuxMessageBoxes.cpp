#include "platform/LinuxMessageBoxes.h"

#include "platform/DialogParent.h"

#include <QMessageBox>

namespace tolm::platform {

namespace {

constexpr int kLongestUnbroken = 40;

// A box's label breaks lines only between words, and a word as long as a
// file name may be makes the box wider than the screen. Such a word gets
// zero-width spaces, where a line may break: after a path separator once
// half a line has gone by, else every kLongestUnbroken characters, never
// inside a character or before its accents.
QString breakable(const QString& text)
{
    const QChar breakHere(0x200B);
    QString out;
    out.reserve(text.size() + text.size() / (kLongestUnbroken / 2));
    int run = 0;
    for (const QChar c : text) {
        if (run >= kLongestUnbroken && !c.isLowSurrogate() && !c.isMark()) {
            out += breakHere;
            run = 0;
        }
        out += c;
        run = c.isSpace() ? 0 : run + 1;
        if ((c == u'/' || c == u'\\') && run >= kLongestUnbroken / 2) {
            out += breakHere;
            run = 0;
        }
    }
    return out;
}

} // namespace

void LinuxMessageBoxes::notice(const QString& caption, const QString& text, Kind kind)
{
    if (kind == Kind::Critical)
        QMessageBox::critical(dialogParent(), caption, breakable(text), QMessageBox::Ok);
    else
        QMessageBox::warning(dialogParent(), caption, breakable(text), QMessageBox::Ok);
}

Answer LinuxMessageBoxes::question(const QString& caption, const QString& text)
{
    const auto button = QMessageBox::question(
        dialogParent(), caption, breakable(text), QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

} // namespace tolm::platform
