#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>

class TSpButton;

namespace tolm::items {

// What one query of a drive found.
struct DriveReading {
    int type { 0 }; // drive type code, 0 to 7
    bool answered { false };
    bool volumeRead { false };
    bool sizesRead { false };
    QString fileSystem;
    QString caption; // "LABEL (c:\)"
    quint64 totalBytes { 0 };
    // What the user can write: the free blocks less those kept for root, as
    // df and file managers count it. Tile, hint and dialog all show this.
    quint64 freeBytes { 0 };
    quint64 usedBytes { 0 };
    // Free kilobytes; 1 for a CD-ROM that answered, -1 for a drive that did not.
    int value { -1 };
    QString hint;
};

// Asks the platform's drive service about the drive an item names in
// `Directorio` ("c:\", "/media/usb").
DriveReading readDrive(const QString& directorio);

// The 36 x 36 (17 x 17 when small) picture for a reading: the drive's
// picture, its letter, the free space in digits and the used share in red.
// At a `scale` of 2 or 3 the same picture for a screen of that density, n
// times as large, from the pictures and glyphs drawn for it.
QImage drivePicture(const DriveReading& reading, const QString& directorio, bool small, int scale = 1);

// Queries the drive of a Disco item, rewrites its hint, and redraws its
// picture (when the free space changed) and its caption text (when that
// changed) on the item's surface.
void diskPicture(TSpButton& item);

} // namespace tolm::items
