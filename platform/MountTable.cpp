#include "platform/MountTable.h"

#include <QSet>

namespace tolm::platform {

namespace {

// The kernel writes blanks and backslashes in paths as octal escapes: "\040".
QString decodeOctal(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.size() == 3 ? digits.toInt(&ok, 8) : 0;
            if (ok && value < 256) {
                out += char(value);
                i += 3;
                continue;
            }
        }
        out += field.at(i);
    }
    return QString::fromUtf8(out);
}

QList<QByteArray> fields(const QByteArray& line)
{
    QList<QByteArray> out;
    for (const QByteArray& f : line.simplified().split(' ')) {
        if (!f.isEmpty())
            out << f;
    }
    return out;
}

bool hasOption(const QByteArray& options, const char* option)
{
    return options.split(',').contains(QByteArray(option));
}

bool isUnder(const QString& path, const QString& folder)
{
    // Without a temporary "folder/": asked of every mount every second.
    return path == folder
        || (path.size() > folder.size() && path.at(folder.size()) == u'/' && path.startsWith(folder));
}

} // namespace

QList<MountEntry> MountTable::parseMountInfo(const QByteArray& text)
{
    QList<MountEntry> out;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = fields(line);
        // id parent major:minor root mountpoint options [optional...] - fstype source superoptions
        const qsizetype dash = f.indexOf(QByteArray("-"));
        if (f.size() < 6 || dash < 6 || dash + 2 >= f.size())
            continue;
        MountEntry e;
        const QList<QByteArray> dev = f.at(2).split(':');
        if (dev.size() == 2) {
            bool okMajor = false, okMinor = false;
            e.major = dev.at(0).toInt(&okMajor);
            e.minor = dev.at(1).toInt(&okMinor);
            if (!okMajor || !okMinor)
                e.major = e.minor = -1;
        }
        e.root = decodeOctal(f.at(3));
        e.mountPoint = decodeOctal(f.at(4));
        e.readOnly = hasOption(f.at(5), "ro");
        e.fileSystem = decodeOctal(f.at(dash + 1));
        e.source = decodeOctal(f.at(dash + 2));
        out << e;
    }
    return out;
}

QList<MountEntry> MountTable::parseMounts(const QByteArray& text)
{
    QList<MountEntry> out;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = fields(line);
        if (f.size() < 4)
            continue;
        MountEntry e;
        e.source = decodeOctal(f.at(0));
        e.mountPoint = decodeOctal(f.at(1));
        e.fileSystem = decodeOctal(f.at(2));
        e.readOnly = hasOption(f.at(3), "ro");
        out << e;
    }
    return out;
}

bool MountTable::isNetworkFileSystem(const QString& fs)
{
    static const QSet<QString> network { "nfs", "nfs4", "cifs", "smbfs", "smb3", "ncpfs", "afs", "9p", "ceph",
        "glusterfs", "fuse.sshfs", "sshfs", "fuse.rclone", "fuse.davfs", "davfs", "fuse.glusterfs",
        "fuse.s3fs", "lustre", "gfs2", "ocfs2" };
    return network.contains(fs);
}

QList<MountEntry> MountTable::driveMounts(const QList<MountEntry>& all)
{
    static const QSet<QString> skippedTypes { "squashfs", "autofs", "fuse.portal", "fuse.gvfsd-fuse",
        "fuse.lxcfs", "fusectl", "binfmt_misc", "efivarfs", "nsfs" };
    QList<MountEntry> drives;
    QSet<QString> seenDevices;
    for (const MountEntry& e : all) {
        if (e.mountPoint == u"/") {
            // The root is always c:, whatever it is (overlay in a container).
            if (!drives.isEmpty() && drives.first().mountPoint == u"/")
                drives.first() = e;
            else
                drives.prepend(e);
            if (e.source.startsWith(u"/dev/"))
                seenDevices.insert(e.source);
            continue;
        }
        if (!e.mountPoint.startsWith(u'/') || skippedTypes.contains(e.fileSystem))
            continue;
        const bool ram = e.fileSystem == u"tmpfs" || e.fileSystem == u"ramfs";
        const bool network = isNetworkFileSystem(e.fileSystem);
        const bool block = e.source.startsWith(u"/dev/") && !e.source.startsWith(u"/dev/loop");
        if (ram) {
            // The system keeps many RAM file systems for itself; only those a
            // user put somewhere (/tmp, /mnt/ram ...) count as RAM disks.
            if (isUnder(e.mountPoint, "/dev") || isUnder(e.mountPoint, "/run")
                || isUnder(e.mountPoint, "/sys") || isUnder(e.mountPoint, "/proc"))
                continue;
        } else if (!network && !block) {
            continue;
        }
        // A bind mount of a subfolder (containers bind /etc/hosts and the
        // like from the host disk) is not a drive of its own.
        if (e.root != u"/")
            continue;
        const QString deviceKey = block ? e.source : QString();
        auto same = std::find_if(
            drives.begin(), drives.end(), [&](const MountEntry& d) { return d.mountPoint == e.mountPoint; });
        if (same != drives.end()) {
            // Mounted over: the file system underneath is hidden there and
            // may have a letter elsewhere.
            seenDevices.remove(same->source);
            *same = e;
            if (!deviceKey.isEmpty())
                seenDevices.insert(deviceKey);
            continue;
        }
        if (!deviceKey.isEmpty() && seenDevices.contains(deviceKey))
            continue;
        if (!deviceKey.isEmpty())
            seenDevices.insert(deviceKey);
        drives << e;
    }
    // Inside a chroot the root is no mount of its own and the table does not
    // name it; c: still is "/", whatever holds it.
    if (drives.isEmpty() || drives.first().mountPoint != u"/")
        drives.prepend(MountEntry { QStringLiteral("/"), QString(), QString() });
    if (drives.size() > 24)
        drives.resize(24);
    return drives;
}

int MountTable::typeOf(const MountEntry& e, bool removable)
{
    const QString& fs = e.fileSystem;
    if (isNetworkFileSystem(fs))
        return DriveRemote;
    if (fs == u"iso9660" || fs == u"udf")
        return DriveCdRom;
    if (fs == u"tmpfs" || fs == u"ramfs")
        return DriveRamDisk;
    if (e.source.startsWith(u"/dev/"))
        return removable ? DriveRemovable : DriveFixed;
    static const QSet<QString> localDisk { "overlay", "btrfs", "zfs", "ext2", "ext3", "ext4", "xfs", "f2fs",
        "vfat", "exfat", "ntfs", "ntfs3", "fuseblk", "jfs", "reiserfs", "bcachefs" };
    if (localDisk.contains(fs))
        return DriveFixed;
    return DriveUnknown;
}

int MountTable::mountIndexFor(const QList<MountEntry>& mounts, const QString& path)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < mounts.size(); ++i) {
        const QString& mp = mounts.at(i).mountPoint;
        const bool contains = mp == u"/" ? path.startsWith(u'/') : isUnder(path, mp);
        // Of two mounts at one place the later one is on top.
        if (contains && mp.size() >= bestLength) {
            best = i;
            bestLength = mp.size();
        }
    }
    return best;
}

} // namespace tolm::platform
