#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tolm::platform {

// Drive type codes as the launcher stores them in an item and names them in
// its dialog.
enum DriveType : int {
    DriveUnknown = 0,
    DriveNoRootDir = 1,
    DriveRemovable = 2,
    DriveFixed = 3,
    DriveRemote = 4,
    DriveCdRom = 5,
    DriveRamDisk = 6,
};

struct VolumeInfo {
    QString label; // empty when the volume has none
    QString fileSystem; // as the mount table names it: "ext4", "vfat", "nfs4" ...
    quint32 flags { 0 }; // 0x8000 would mean a compressed volume; never set on Linux
};

struct DiskSpace {
    quint64 totalBytes { 0 };
    quint64 freeBytes { 0 }; // every free block, including those reserved for root
    quint64 availableBytes { 0 }; // the share this user may write
};

// Drive roots in the Windows form ("c:\") keep working: c: is the root file
// system "/", further letters name the other mounted file systems in mount
// order. A path that is already absolute ("/media/usb") is used as it is.
class Drives {
public:
    virtual ~Drives() = default;

    // The roots in order, lower case with a backslash: "c:\", "d:\" ...
    virtual QStringList logicalDriveStrings() = 0;
    // One of DriveType; DriveNoRootDir when the root names nothing.
    virtual int driveType(const QString& root) = 0;
    virtual std::optional<VolumeInfo> volumeInformation(const QString& root) = 0;
    virtual std::optional<DiskSpace> diskFreeSpace(const QString& path) = 0;
    // The Linux path for a path that may start with a drive root
    // ("c:\datos" -> "/datos"); empty when the letter names no file system.
    virtual QString localPath(const QString& path) = 0;
};

} // namespace tolm::platform
