#pragma once

#include "platform/Drives.h"
#include "platform/MountTable.h"

namespace tolm::platform {

// Drives from the kernel's mount table, read again whenever the kernel says
// it changed, so that a stick plugged in while the launcher runs shows up in
// the next refresh.
class LinuxDrives : public Drives {
public:
    LinuxDrives() = default;
    ~LinuxDrives() override;
    LinuxDrives(const LinuxDrives&) = delete;
    LinuxDrives& operator=(const LinuxDrives&) = delete;

    QStringList logicalDriveStrings() override;
    int driveType(const QString& root) override;
    std::optional<VolumeInfo> volumeInformation(const QString& root) override;
    std::optional<DiskSpace> diskFreeSpace(const QString& path) override;
    QString localPath(const QString& path) override;

    // Where relative paths are; without one they stay relative.
    void setFolder(const QString& folder) { m_folder = folder; }

    // Pure helpers, public for tests.
    // "c:\x\y" with mounts [/, /media/usb] -> "/x/y"; "d:" -> "/media/usb";
    // "x" in folder "/f" -> "/f/x".
    static QString localPathFor(
        const QString& path, const QList<MountEntry>& drives, const QString& folder = {});
    static QString rootForLetter(int index) { return QString(QChar(u'c' + index)) + QStringLiteral(":\\"); }
    // Decodes the \xHH escapes udev uses in /dev/disk/by-label names.
    static QString decodeLabel(const QString& name);

private:
    static QList<MountEntry> readAllMounts();
    // The mount table and the drives among its mounts, as last read.
    const QList<MountEntry>& mounts();
    const QList<MountEntry>& driveMounts();
    static bool isRemovable(const MountEntry& entry);
    static QString labelFor(const MountEntry& entry);
    // The mount that holds a path (after mapping a drive root); -1 when none.
    int mountFor(const QString& path, QList<MountEntry>& mounts, QString& local);

    QString m_folder;
    // An open mountinfo file, which polls as changed after every mount and unmount.
    int m_mountsFile { -1 };
    bool m_mountsRead { false };
    QList<MountEntry> m_mounts;
    QList<MountEntry> m_driveMounts;
};

} // namespace tolm::platform
