#include "platform/LinuxDrives.h"

#include "platform/OutsideFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tolm::platform {

namespace {

QByteArray readMountTable(const QString& path)
{
    // Proc files report size 0; the reader reads them to their end.
    return readOutsideFile(path, kMountTableKind).bytes;
}

bool startsWithDriveRoot(const QString& path)
{
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() && path.at(0).unicode() < 128;
}

// The file system's name from its magic number, for a root that the mount
// table does not list.
QString fileSystemOf(const QString& path)
{
    struct statfs st { };
    if (::statfs(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    switch (static_cast<unsigned long>(st.f_type)) {
    case 0xEF53:
        return QStringLiteral("ext4");
    case 0x58465342:
        return QStringLiteral("xfs");
    case 0x9123683E:
        return QStringLiteral("btrfs");
    case 0x01021994:
        return QStringLiteral("tmpfs");
    case 0x794C7630:
        return QStringLiteral("overlay");
    case 0x6969:
        return QStringLiteral("nfs");
    case 0x2FC12FC1:
        return QStringLiteral("zfs");
    default:
        return QCoreApplication::translate("LinuxDrives", "desconocido");
    }
}

} // namespace

LinuxDrives::~LinuxDrives()
{
    if (m_mountsFile >= 0)
        ::close(m_mountsFile);
}

QList<MountEntry> LinuxDrives::readAllMounts()
{
    const QByteArray info = readMountTable(QStringLiteral("/proc/self/mountinfo"));
    if (!info.isEmpty())
        return MountTable::parseMountInfo(info);
    return MountTable::parseMounts(readMountTable(QStringLiteral("/proc/mounts")));
}

const QList<MountEntry>& LinuxDrives::mounts()
{
    // Tiles ask about their drives every second; the table is read again only
    // after the kernel marked it changed (or always, without a file to ask).
    if (m_mountsFile < 0)
        m_mountsFile = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    bool changed = !m_mountsRead || m_mountsFile < 0;
    if (m_mountsFile >= 0) {
        pollfd file { m_mountsFile, POLLPRI, 0 };
        if (::poll(&file, 1, 0) > 0 && (file.revents & (POLLPRI | POLLERR)))
            changed = true;
    }
    if (changed) {
        m_mounts = readAllMounts();
        m_driveMounts = MountTable::driveMounts(m_mounts);
        m_mountsRead = m_mountsFile >= 0;
    }
    return m_mounts;
}

const QList<MountEntry>& LinuxDrives::driveMounts()
{
    mounts();
    return m_driveMounts;
}

QString LinuxDrives::localPathFor(const QString& path, const QList<MountEntry>& drives, const QString& folder)
{
    if (path.isEmpty())
        return {};
    if (!startsWithDriveRoot(path)) {
        if (path.startsWith(u'/') || folder.isEmpty())
            return QDir::cleanPath(path);
        return QDir::cleanPath(folder + u'/' + path);
    }
    const int index = path.at(0).toLower().unicode() - u'c';
    if (index < 0 || index >= drives.size())
        return {};
    QString rest = path.mid(2);
    rest.replace(u'\\', u'/');
    return QDir::cleanPath(drives.at(index).mountPoint + u'/' + rest);
}

QString LinuxDrives::decodeLabel(const QString& name)
{
    QByteArray out;
    const QByteArray in = name.toUtf8();
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in.at(i) == '\\' && i + 3 < in.size() && in.at(i + 1) == 'x') {
            bool ok = false;
            const int value = in.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out += char(value);
                i += 3;
                continue;
            }
        }
        out += in.at(i);
    }
    return QString::fromUtf8(out);
}

QStringList LinuxDrives::logicalDriveStrings()
{
    QStringList roots;
    const QList<MountEntry>& drives = driveMounts();
    for (int i = 0; i < drives.size(); ++i)
        roots << rootForLetter(i);
    return roots;
}

QString LinuxDrives::localPath(const QString& path)
{
    return localPathFor(path, driveMounts(), m_folder);
}

int LinuxDrives::mountFor(const QString& path, QList<MountEntry>& mounts, QString& local)
{
    mounts = this->mounts();
    local = localPathFor(path, m_driveMounts, m_folder);
    if (local.isEmpty() || !QFileInfo(local).isDir())
        return -1;
    // Symbolic links lead elsewhere; the file system is the one of the target.
    const QString canonical = QFileInfo(local).canonicalFilePath();
    const int index = MountTable::mountIndexFor(mounts, canonical.isEmpty() ? local : canonical);
    if (index >= 0)
        return index;
    // A folder no listed mount holds (the root inside a chroot) still lies on
    // some file system.
    mounts.append(MountEntry { QStringLiteral("/"), QString(), QString() });
    return int(mounts.size()) - 1;
}

bool LinuxDrives::isRemovable(const MountEntry& e)
{
    if (!e.source.startsWith(u"/dev/"))
        return false;
    dev_t device = 0;
    if (e.major >= 0) {
        device = makedev(unsigned(e.major), unsigned(e.minor));
    } else {
        struct stat st { };
        if (::stat(QFile::encodeName(e.source).constData(), &st) != 0 || !S_ISBLK(st.st_mode))
            return false;
        device = st.st_rdev;
    }
    // /sys/dev/block/M:m is the partition or the disk; a partition's folder
    // sits inside its disk's folder, which has the removable flag.
    const QString sys
        = QFileInfo(QStringLiteral("/sys/dev/block/%1:%2").arg(major(device)).arg(minor(device)))
              .canonicalFilePath();
    if (sys.isEmpty())
        return false;
    for (const QString& folder : { sys, QFileInfo(sys).path() }) {
        const FileBytes flag = readOutsideFileHead(folder + QStringLiteral("/removable"), 4);
        if (flag)
            return flag.bytes.trimmed() == "1";
    }
    return false;
}

QString LinuxDrives::labelFor(const MountEntry& e)
{
    if (!e.source.startsWith(u"/dev/"))
        return {};
    // Not QStorageInfo::name(): of two mounts at one place it names the hidden one.
    const QString device = QFileInfo(e.source).canonicalFilePath();
    const QDir byLabel(QStringLiteral("/dev/disk/by-label"));
    for (const QFileInfo& link : byLabel.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (link.canonicalFilePath() == device)
            return decodeLabel(link.fileName());
    }
    return {};
}

int LinuxDrives::driveType(const QString& root)
{
    QList<MountEntry> mounts;
    QString local;
    const int index = mountFor(root, mounts, local);
    if (index < 0)
        return DriveNoRootDir;
    const MountEntry& e = mounts.at(index);
    return MountTable::typeOf(e, isRemovable(e));
}

std::optional<VolumeInfo> LinuxDrives::volumeInformation(const QString& root)
{
    QList<MountEntry> mounts;
    QString local;
    const int index = mountFor(root, mounts, local);
    if (index < 0)
        return std::nullopt;
    const MountEntry& e = mounts.at(index);
    QString fileSystem = e.fileSystem;
    if (fileSystem.isEmpty())
        fileSystem = fileSystemOf(local);
    return VolumeInfo { labelFor(e), fileSystem, 0 };
}

std::optional<DiskSpace> LinuxDrives::diskFreeSpace(const QString& path)
{
    const QString local = localPath(path);
    if (local.isEmpty())
        return std::nullopt;
    // Not QStorageInfo: it asks the mount table first and, in a chroot, finds no mount for "/".
    struct statvfs st { };
    if (::statvfs(QFile::encodeName(local).constData(), &st) != 0)
        return std::nullopt;
    const quint64 unit = st.f_frsize ? st.f_frsize : st.f_bsize;
    return DiskSpace { quint64(st.f_blocks) * unit, quint64(st.f_bfree) * unit, quint64(st.f_bavail) * unit };
}

} // namespace tolm::platform
