#pragma once

#include "platform/Drives.h"

#include <QList>
#include <QString>

namespace tolm::platform {

struct MountEntry {
    QString mountPoint;
    QString source; // "/dev/sda1", "server:/export", "tmpfs" ...
    QString fileSystem;
    QString root { QStringLiteral("/") }; // the part of the file system mounted (bind mounts)
    int major { -1 };
    int minor { -1 };
    bool readOnly { false };
};

// Reading and interpreting the kernel's mount table, kept free of file access
// so every rule can be checked against sample texts. QStorageInfo::mountedVolumes()
// is no substitute: it lists bind mounts of subfolders, loop images and /run,
// lists a mounted-over place twice, calls statvfs on every mount (a dead network
// share blocks it) and loses "/" inside a chroot.
class MountTable {
public:
    // /proc/self/mountinfo lines (preferred: it tells bind mounts apart).
    static QList<MountEntry> parseMountInfo(const QByteArray& text);
    // /proc/mounts lines, the older format without mount roots.
    static QList<MountEntry> parseMounts(const QByteArray& text);

    // The file systems that get drive letters, in mount order: "/" first, then
    // every file system a user would call a drive (backed by a block device,
    // a network share, or a RAM disk outside the system's own /run and /dev),
    // skipping pseudo file systems, bind mounts of a subfolder, read-only
    // package images (squashfs) and file systems mounted again at the same
    // place (the later mount is the one visible there). At most 24 (c: to z:).
    static QList<MountEntry> driveMounts(const QList<MountEntry>& all);

    // The type code for a mounted file system; `removable` is what the block
    // device reports in /sys/block/<disk>/removable.
    static int typeOf(const MountEntry& entry, bool removable);

    static bool isNetworkFileSystem(const QString& fileSystem);

    // The mount holding an absolute path: the one with the longest mount
    // point that is a prefix of it, the later of two at the same place.
    // -1 when none.
    static int mountIndexFor(const QList<MountEntry>& mounts, const QString& absolutePath);
};

} // namespace tolm::platform
