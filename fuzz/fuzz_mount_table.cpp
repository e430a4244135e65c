// Feeds arbitrary bytes to the mount table readers, both formats, and asks
// of what they read everything the drive tiles ask.
#include "platform/MountTable.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

using tolm::platform::MountEntry;
using tolm::platform::MountTable;

namespace {

void askAbout(const QList<MountEntry>& all)
{
    const QList<MountEntry> drives = MountTable::driveMounts(all);
    if (drives.size() > 24)
        std::abort(); // c: to z:
    for (const MountEntry& entry : drives) {
        const int type = MountTable::typeOf(entry, false);
        if (type < 0 || type > 6 || MountTable::typeOf(entry, true) < 0)
            std::abort();
        (void)MountTable::isNetworkFileSystem(entry.fileSystem);
        const int at = MountTable::mountIndexFor(drives, entry.mountPoint);
        if (entry.mountPoint.startsWith(u'/') && (at < 0 || at >= drives.size()))
            std::abort();
    }
    (void)MountTable::mountIndexFor(all, QStringLiteral("/home/ana/carta.txt"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    askAbout(MountTable::parseMountInfo(text));
    askAbout(MountTable::parseMounts(text));
    return 0;
}
