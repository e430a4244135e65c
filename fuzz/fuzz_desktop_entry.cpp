// Feeds arbitrary bytes to the desktop entry reader, as a file in an
// applications folder or dropped on a shelf would reach it, and asks of the
// entry everything the application list and the shell ask.
#include "platform/DesktopEntry.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

using tolm::platform::DesktopEntry;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const DesktopEntry entry = DesktopEntry::parse(text, QStringLiteral("/fuzz/entry.desktop"));
    if (!entry.isValid() && !entry.exec().isEmpty())
        std::abort(); // nothing is taken from a file without the entry group
    for (const char* locale : { "es_ES.UTF-8@euro", "sr_RS@latin", "pt", "", "@", "_." })
        (void)entry.localizedValue(QStringLiteral("Name"), QString::fromLatin1(locale));
    (void)entry.localizedName();
    (void)entry.localizedComment();
    (void)entry.terminal();
    (void)entry.type();
    (void)entry.icon();
    (void)entry.tryExec();
    (void)entry.workingDirectory();
    (void)entry.url();
    return 0;
}
