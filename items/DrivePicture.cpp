#include "items/DrivePicture.h"

#include "gfx/Bitmaps.h"
#include "gfx/Canvas.h"
#include "items/ItemReports.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"
#include "items/TickReadings.h"
#include "platform/NumberText.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <limits>
#include <memory>
#include <optional>

using tolm::gfx::Rect;

namespace tolm::items {

namespace {

bool beginsWithLetter(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QChar c = path.at(0);
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Copies a glyph of a strip to (x, y) of the 1x layout, both at `scale`
// times the density.
void glyph(gfx::Canvas& canvas, const QImage& strip, int x, int y, const Rect& place, int scale,
    std::uint32_t rop = gfx::rop::SrcCopy)
{
    const Rect r = gfx::scaled(place, scale);
    canvas.bitBlt(x * scale, y * scale, r.width(), r.height(), strip, r.left, r.top, rop);
}

// The strips the digits come from, drawn at `scale` times the density.
struct DigitStrips {
    QImage big;
    QImage small;
    int scale;
};

void bigDigit(gfx::Canvas& canvas, const DigitStrips& s, int x, int digit)
{
    glyph(canvas, s.big, x, 4, gfx::bigDigitRect(digit), s.scale);
}

void smallDigit(gfx::Canvas& canvas, const DigitStrips& s, int x, int digit)
{
    glyph(canvas, s.small, x, 8, gfx::numDigitRect(gfx::NumRow::Seven, digit), s.scale);
}

// Up to five places of kilobytes, then of megabytes, then gigabytes
// followed by the G sign, all in decimal units like the sizes of the hint
// and the dialog: the big digits are the thousands, and "54|321" reads as
// the hint's 54,32MB.
void drawDigits(gfx::Canvas& canvas, quint64 bytes, int scale)
{
    const DigitStrips strips { gfx::bitmap(gfx::scaledName("DIGITS_5", scale)),
        gfx::bitmap(gfx::scaledName("NUM_4", scale)), scale };
    const auto digit = [](quint64 n, quint64 place) { return int(n / place % 10); };
    const quint64 kilobytes = bytes / 1000;
    const quint64 megabytes = kilobytes / 1000;
    if (megabytes >= 100000) {
        const quint64 g = std::min<quint64>(megabytes / 1000, 9999);
        if (g >= 1000)
            bigDigit(canvas, strips, 5, digit(g, 1000));
        bigDigit(canvas, strips, 11, digit(g, 100));
        smallDigit(canvas, strips, 17, digit(g, 10));
        smallDigit(canvas, strips, 22, digit(g, 1));
        glyph(canvas, strips.small, 27, 8, gfx::numGSignRect(gfx::NumRow::Seven), scale);
        return;
    }
    auto bigSmall = [&](quint64 n) {
        bigDigit(canvas, strips, 5, digit(n, 10000));
        bigDigit(canvas, strips, 11, digit(n, 1000));
        smallDigit(canvas, strips, 27, digit(n, 1));
        smallDigit(canvas, strips, 22, digit(n, 10));
        smallDigit(canvas, strips, 17, digit(n, 100));
    };
    if (kilobytes >= 100000) {
        const quint64 w = megabytes;
        if (w < 10000) {
            bigDigit(canvas, strips, 25, digit(w, 1));
            bigDigit(canvas, strips, 19, digit(w, 10));
            bigDigit(canvas, strips, 13, digit(w, 100));
            if (w / 1000 != 0)
                bigDigit(canvas, strips, 7, digit(w, 1000));
        } else {
            bigSmall(w);
        }
    } else if (kilobytes >= 10000) {
        bigSmall(kilobytes);
    } else {
        if (kilobytes > 999)
            bigDigit(canvas, strips, 8, digit(kilobytes, 1000));
        smallDigit(canvas, strips, 24, digit(kilobytes, 1));
        smallDigit(canvas, strips, 19, digit(kilobytes, 10));
        smallDigit(canvas, strips, 14, digit(kilobytes, 100));
    }
}

const char* largePictureName(int type, int v, bool letter)
{
    switch (type) {
    case platform::DriveRemovable:
        return "floppy";
    case platform::DriveFixed:
        return "drive";
    case platform::DriveRemote:
        return v < 0 ? "nonet" : "net";
    case platform::DriveCdRom:
        return "cdrom";
    default:
        if (letter)
            return v < 0 ? "nonet" : "net";
        return v < 0 ? "nonet2" : "net2";
    }
}

} // namespace

DriveReading readDrive(const QString& directorio)
{
    platform::Drives& drives = *platform::services().drives;
    DriveReading r;
    QString root = directorio;
    if (!root.isEmpty() && !root.endsWith(u'\\'))
        root += u'\\';
    r.type = drives.driveType(root) & 7;

    QString label;
    if (r.type != platform::DriveNoRootDir) {
        if (const auto volume = drives.volumeInformation(root)) {
            r.answered = true;
            r.volumeRead = true;
            r.fileSystem = volume->fileSystem;
            // The label had room for 19 characters.
            label = volume->label.left(19);
        }
    }
    r.caption = label + QStringLiteral(" (") + directorio + u')';

    // statvfs gives 64-bit totals and the count of every free block on every
    // Linux system, so there is one way to ask here, not an old and a new one.
    if (r.answered && r.type != platform::DriveCdRom) {
        if (const auto space = drives.diskFreeSpace(directorio)) {
            r.totalBytes = space->totalBytes;
            r.freeBytes = std::min(space->availableBytes, space->totalBytes);
            r.usedBytes = space->totalBytes - std::min(space->freeBytes, space->totalBytes);
            r.sizesRead = true;
        } else {
            r.answered = false;
        }
    }

    const platform::LocaleInfo& locale = *platform::services().locale;
    if (r.answered && r.type != platform::DriveCdRom) {
        // Above 2 TB free the kilobytes no longer fit the item's 32-bit field;
        // they stop at its largest value rather than turning negative.
        r.value = int(std::min<quint64>(r.freeBytes / 1024, std::numeric_limits<qint32>::max()));
        // The figures in the units of the tile and of the dialog, lined up
        // in the hint's fixed-pitch font.
        const QString total = locale.sizeText(r.totalBytes);
        const QString free = locale.sizeText(r.freeBytes);
        const auto padded = [width = std::max(total.size(), free.size())](const QString& figure) {
            return QString(width - figure.size(), u' ') + figure;
        };
        r.hint = r.caption + u'\n'
            + QCoreApplication::translate("DrivePicture", "Espacio Libre: %1").arg(padded(free)) + u'\n'
            + QCoreApplication::translate("DrivePicture", "Espacio Total: %1").arg(padded(total));
    } else if (r.answered) {
        r.value = 1;
        r.hint = r.caption;
    } else {
        r.value = -1;
        r.hint = r.caption + u'\n'
            + (r.type == platform::DriveRemovable
                    ? QCoreApplication::translate("DrivePicture", "Sin disco")
                    : QCoreApplication::translate("DrivePicture", "No accesible"));
    }
    return r;
}

QImage drivePicture(const DriveReading& reading, const QString& directorio, bool small, int scale)
{
    const bool letter = small || beginsWithLetter(directorio);
    const int v = reading.value;
    const char* name = small ? "minidrive" : largePictureName(reading.type, v, letter);
    QImage picture = gfx::tileBitmap(gfx::scaledName(name, scale)).copy();
    gfx::Canvas canvas(picture);

    if (letter && !directorio.isEmpty()) {
        const Rect letterGlyph = gfx::letterRect(directorio.at(0).toLatin1());
        const Rect at = small ? gfx::place::miniDriveLetter : gfx::place::driveLetter;
        if (!letterGlyph.isEmpty())
            glyph(canvas, gfx::bitmap(gfx::scaledName("LET_6", scale)), at.left, at.top, letterGlyph, scale,
                gfx::rop::SrcAnd);
    }

    const bool cdrom = reading.type == platform::DriveCdRom;
    if (!small && !cdrom) {
        if (v == -1 && reading.type == platform::DriveRemovable)
            glyph(canvas, gfx::bitmap(gfx::scaledName("DIGITS_5", scale)), 9, 4, gfx::noDiskSignRect, scale);
        else if (v >= 0)
            // From the bytes, not the item's 32-bit figure: beyond 2 TB free
            // the digits still count.
            drawDigits(canvas, reading.freeBytes, scale);
    }

    // The free share of what files take and what may still be written, as
    // df's Use% counts it: the blocks kept for root are in neither.
    const quint64 room = reading.usedBytes + reading.freeBytes;
    if (!cdrom && v >= 0 && room != 0) {
        const Rect bar = gfx::scaled(small ? gfx::place::miniDriveBar : gfx::place::driveBar, scale);
        const int length = bar.width();
        // 128 bits: a drive of more than 2^64 / length bytes must not wrap the product.
        const int k = int(platform::scaledShare(reading.freeBytes, unsigned(length), room));
        if (k < length)
            canvas.fillRect({ bar.left + k, bar.top, bar.right, bar.bottom }, gfx::clRed);
    }
    return picture;
}

// The drive and its free space in words, for screen readers.
static QString driveFigure(const DriveReading& reading)
{
    QString figure = reading.caption.trimmed();
    if (reading.sizesRead) {
        constexpr quint64 mb = 1000 * 1000;
        figure += QCoreApplication::translate("DrivePicture", ", %1 MB libres")
                      .arg(platform::services().locale->groupedNumber(reading.freeBytes / mb));
    } else if (!reading.answered) {
        figure += reading.type == platform::DriveRemovable
            ? QCoreApplication::translate("DrivePicture", ", sin disco")
            : QCoreApplication::translate("DrivePicture", ", no accesible");
    }
    return figure;
}

namespace {

// Tiles that show the same drive share one query of it per tick and what is
// made of it. A query that throws is not remembered: the next tile asks
// again, as it would have.
TickReadings::Drive& tickDrive(TickReadings& tick, const TSpButton& item)
{
    for (TickReadings::Drive& known : tick.drives) {
        if (TSpButton::holds(item.storedFields().directorio, known.directorio))
            return known;
    }
    TickReadings::Drive made;
    made.directorio = item.Directorio();
    made.reading = readDrive(made.directorio);
    made.figure = driveFigure(made.reading);
    tick.drives.push_back(std::move(made));
    return tick.drives.back();
}

} // namespace

void diskPicture(TSpButton& item)
{
    // Outside a tick the drive is read afresh.
    std::optional<TickReadings> alone;
    TickReadings::Drive& drive = tickDrive(TickReadings::currentOr(alone), item);
    const DriveReading& reading = drive.reading;
    const QString& directorio = drive.directorio;
    item.setDriveType(reading.type);
    item.setHint(reading.hint);
    item.setLiveFigure(drive.figure);
    // The properties dialog shows what its working copy found.
    if (ShelfState::get().workingCopy == &item) {
        DriveReport report;
        report.caption = reading.caption;
        report.type = reading.type;
        report.fileSystem = reading.fileSystem;
        report.volumeRead = reading.volumeRead;
        report.sizesRead = reading.sizesRead;
        report.totalBytes = reading.totalBytes;
        report.freeBytes = reading.freeBytes;
        report.usedBytes = reading.usedBytes;
        emit item.driveRefreshed(report);
    }

    const bool small = item.isSmall();
    const int v = reading.value;
    if (item.figureShown() != v || !item.pictureCurrent()) {
        QImage& picture = drive.pictures[small ? 1 : 0];
        TSpButton::FinePicture& fine = drive.fine[small ? 1 : 0];
        if (picture.isNull()) {
            picture = drivePicture(reading, directorio, small);
            fine
                = std::make_shared<const std::function<QImage(int)>>([reading, directorio, small](int scale) {
                      return drivePicture(reading, directorio, small, scale);
                  });
        }
        // Kilobytes come and go without changing the digits or the bar.
        QImage* cache = item.pictureCache();
        if (!item.pictureCurrent() || !cache || *cache != picture) {
            if (cache)
                *cache = picture;
            item.placePicture(picture);
        }
        item.setFinePicture(fine);
    }

    if (!item.comandoIs(reading.caption) || !item.pictureCurrent()) {
        item.setComando(reading.caption);
        if (item.Tipo() != 0)
            item.drawItemText();
    }
    item.setFigureShown(v == -1 ? 0 : v);
}

} // namespace tolm::items
