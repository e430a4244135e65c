#include "QtPrinters.h"
#include "platform/LinuxDrives.h"
#include "platform/MountTable.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolm::platform;

namespace {

// A desktop machine: root on an SSD, /home on its own partition, a USB stick,
// a DVD, an NFS share, plus the kernel's and systemd's own file systems.
const QByteArray desktopMountInfo
    = "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
      "23 22 0:21 / /proc rw,nosuid shared:5 - proc proc rw\n"
      "24 22 0:22 / /sys rw,nosuid shared:6 - sysfs sysfs rw\n"
      "25 22 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw\n"
      "26 25 0:23 / /dev/shm rw shared:3 - tmpfs tmpfs rw\n"
      "27 22 0:24 / /run rw,nosuid shared:7 - tmpfs tmpfs rw\n"
      "28 24 0:25 / /sys/fs/cgroup rw shared:8 - cgroup2 cgroup2 rw\n"
      "29 22 259:3 / /home rw,relatime shared:9 - ext4 /dev/nvme0n1p3 rw\n"
      "30 22 7:1 / /snap/core/1 ro shared:10 - squashfs /dev/loop1 ro\n"
      "31 22 0:30 / /tmp rw shared:11 - tmpfs tmpfs rw\n"
      "32 22 8:17 / /media/ana/MI\\040USB rw,nosuid shared:12 - vfat /dev/sdb1 rw\n"
      "33 22 11:0 / /media/ana/DVD ro,nosuid shared:13 - iso9660 /dev/sr0 ro\n"
      "34 22 0:40 / /mnt/red rw shared:14 - nfs4 server:/export rw\n"
      "35 22 259:3 /ana/docs /srv/docs rw shared:9 - ext4 /dev/nvme0n1p3 rw\n"
      "36 27 0:41 / /run/user/1000 rw shared:15 - tmpfs tmpfs rw\n";

} // namespace

TEST(MountTable, ParsesMountInfoFields)
{
    const QList<MountEntry> all = MountTable::parseMountInfo(desktopMountInfo + "garbage line\n\n");
    ASSERT_EQ(all.size(), 15);
    const MountEntry& usb = all.at(10);
    EXPECT_EQ(usb.mountPoint, "/media/ana/MI USB");
    EXPECT_EQ(usb.source, "/dev/sdb1");
    EXPECT_EQ(usb.fileSystem, "vfat");
    EXPECT_EQ(usb.major, 8);
    EXPECT_EQ(usb.minor, 17);
    EXPECT_FALSE(usb.readOnly);
    EXPECT_TRUE(all.at(11).readOnly);
    EXPECT_EQ(all.at(13).root, "/ana/docs");
}

TEST(MountTable, LettersFollowMountOrderOfRealFileSystems)
{
    const QList<MountEntry> drives = MountTable::driveMounts(MountTable::parseMountInfo(desktopMountInfo));
    QStringList points;
    for (const MountEntry& d : drives)
        points << d.mountPoint;
    // c: / d: /home e: /tmp f: the stick g: the DVD h: the share; no pseudo
    // file systems, no snap image, no bind mount, no systemd RAM folders.
    EXPECT_EQ(
        points, QStringList({ "/", "/home", "/tmp", "/media/ana/MI USB", "/media/ana/DVD", "/mnt/red" }));

    EXPECT_EQ(LinuxDrives::localPathFor("c:\\", drives), "/");
    EXPECT_EQ(LinuxDrives::localPathFor("C:\\Datos\\carta.txt", drives), "/Datos/carta.txt");
    EXPECT_EQ(LinuxDrives::localPathFor("d:", drives), "/home");
    EXPECT_EQ(LinuxDrives::localPathFor("f:\\fotos\\", drives), "/media/ana/MI USB/fotos");
    EXPECT_TRUE(LinuxDrives::localPathFor("i:\\", drives).isEmpty());
    EXPECT_TRUE(LinuxDrives::localPathFor("a:\\", drives).isEmpty());
    EXPECT_EQ(LinuxDrives::localPathFor("/media/ana/DVD/", drives), "/media/ana/DVD");
    EXPECT_TRUE(LinuxDrives::localPathFor("", drives).isEmpty());
    EXPECT_EQ(LinuxDrives::localPathFor("fotos/2024", drives, "/home/ana/tolm"), "/home/ana/tolm/fotos/2024");
}

TEST(MountTable, RootComesFirstEvenInAContainerAndOvermountsReplace)
{
    const QByteArray text = "500 400 0:50 / /data rw - ext4 /dev/sdc1 rw\n"
                            "501 400 0:51 / / rw - overlay overlay rw,lowerdir=/a\n"
                            "502 501 0:52 / /data rw - xfs /dev/sdd1 rw\n"
                            "503 501 8:1 /etc/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
                            "504 501 8:33 / /mnt/again rw - ext4 /dev/sdc1 rw\n";
    const QList<MountEntry> all = MountTable::parseMountInfo(text);
    const QList<MountEntry> drives = MountTable::driveMounts(all);
    ASSERT_EQ(drives.size(), 3);
    EXPECT_EQ(drives.at(0).mountPoint, "/");
    EXPECT_EQ(drives.at(1).mountPoint, "/data");
    EXPECT_EQ(drives.at(2).mountPoint, "/mnt/again");
    EXPECT_EQ(drives.at(1).fileSystem, "xfs");
    EXPECT_EQ(MountTable::typeOf(drives.at(0), false), DriveFixed);
    // A path there lies on the file system on top, as the letter's does.
    EXPECT_EQ(MountTable::mountIndexFor(all, "/data/x"), 2);
}

TEST(MountTable, InsideAChrootTheUnlistedRootIsStillDriveC)
{
    // A chroot's root is no mount point, so the table names only what lies below it.
    const QByteArray text = "600 500 0:60 / /proc rw - proc proc rw\n"
                            "601 500 8:17 / /home rw - ext4 /dev/sdb1 rw\n";
    const QList<MountEntry> drives = MountTable::driveMounts(MountTable::parseMountInfo(text));
    ASSERT_EQ(drives.size(), 2);
    EXPECT_EQ(drives.at(0).mountPoint, "/");
    EXPECT_EQ(drives.at(1).mountPoint, "/home");
    EXPECT_EQ(LinuxDrives::localPathFor("c:\\", drives), "/");
}

TEST(MountTable, OlderMountsFormat)
{
    const QList<MountEntry> all = MountTable::parseMounts("/dev/sda1 / ext4 rw 0 0\n"
                                                          "proc /proc proc rw 0 0\n"
                                                          "//nas/share /mnt/nas cifs rw 0 0\n"
                                                          "short line\n");
    const QList<MountEntry> drives = MountTable::driveMounts(all);
    ASSERT_EQ(drives.size(), 2);
    EXPECT_EQ(drives.at(1).source, "//nas/share");
    EXPECT_EQ(MountTable::typeOf(drives.at(1), false), DriveRemote);
}

TEST(MountTable, TypeCodes)
{
    auto entry = [](const char* fs, const char* source) {
        MountEntry e;
        e.fileSystem = fs;
        e.source = source;
        return e;
    };
    EXPECT_EQ(MountTable::typeOf(entry("ext4", "/dev/sda1"), false), DriveFixed);
    EXPECT_EQ(MountTable::typeOf(entry("vfat", "/dev/sdb1"), true), DriveRemovable);
    EXPECT_EQ(MountTable::typeOf(entry("nfs", "srv:/x"), false), DriveRemote);
    EXPECT_EQ(MountTable::typeOf(entry("fuse.sshfs", "me@host:"), false), DriveRemote);
    EXPECT_EQ(MountTable::typeOf(entry("cifs", "//h/s"), false), DriveRemote);
    EXPECT_EQ(MountTable::typeOf(entry("iso9660", "/dev/sr0"), true), DriveCdRom);
    EXPECT_EQ(MountTable::typeOf(entry("udf", "/dev/sr0"), false), DriveCdRom);
    EXPECT_EQ(MountTable::typeOf(entry("tmpfs", "tmpfs"), false), DriveRamDisk);
    EXPECT_EQ(MountTable::typeOf(entry("ramfs", "none"), false), DriveRamDisk);
    EXPECT_EQ(MountTable::typeOf(entry("weirdfs", "thing"), false), DriveUnknown);
}

TEST(MountTable, NoMoreThanTwentyFourLetters)
{
    QByteArray text = "1 0 8:0 / / rw - ext4 /dev/sda rw\n";
    for (int i = 0; i < 30; ++i)
        text += QByteArray::number(i + 2) + " 1 8:" + QByteArray::number(i + 1) + " / /m"
            + QByteArray::number(i) + " rw - ext4 /dev/sdx" + QByteArray::number(i) + " rw\n";
    const QList<MountEntry> drives = MountTable::driveMounts(MountTable::parseMountInfo(text));
    EXPECT_EQ(drives.size(), 24);
    EXPECT_EQ(LinuxDrives::rootForLetter(23), "z:\\");
}

TEST(Drives, LabelEscapes)
{
    EXPECT_EQ(LinuxDrives::decodeLabel("MI\\x20USB"), "MI USB");
    EXPECT_EQ(LinuxDrives::decodeLabel("plain"), "plain");
    EXPECT_EQ(LinuxDrives::decodeLabel("bad\\xZZ"), "bad\\xZZ");
}

TEST(Drives, ThisMachine)
{
    LinuxDrives drives;
    const QStringList roots = drives.logicalDriveStrings();
    ASSERT_FALSE(roots.isEmpty());
    EXPECT_EQ(roots.first(), "c:\\");
    EXPECT_EQ(drives.localPath("c:\\"), "/");
    EXPECT_NE(drives.driveType("c:\\"), DriveNoRootDir);
    EXPECT_EQ(drives.driveType("q:\\"), DriveNoRootDir);
    EXPECT_EQ(drives.driveType("/no/such/folder/at/all"), DriveNoRootDir);
    EXPECT_FALSE(drives.volumeInformation("q:\\"));
    ASSERT_TRUE(drives.volumeInformation("C:\\"));
    EXPECT_FALSE(drives.volumeInformation("C:\\")->fileSystem.isEmpty());

    const std::optional<DiskSpace> space = drives.diskFreeSpace("c:\\");
    ASSERT_TRUE(space);
    EXPECT_GT(space->totalBytes, 0u);
    EXPECT_GT(space->freeBytes, 0u);
    EXPECT_LE(space->freeBytes, space->totalBytes);
    EXPECT_LE(space->availableBytes, space->freeBytes);
    EXPECT_FALSE(drives.diskFreeSpace("q:\\"));

    // An absolute folder is used as it is.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_NE(drives.driveType(dir.path()), DriveNoRootDir);
    EXPECT_TRUE(drives.diskFreeSpace(dir.path()));
}
