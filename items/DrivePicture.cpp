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

// Big digits count thousands of kilobytes (about megabytes), or above ten
// million kilobytes thousands of those; the small digits the next places.
// From a hundred thousand of those thousands up, five places would drop the
// leading digits: the figure is in millions of kilobytes (about gigabytes)
// then, followed by the G sign.
void drawDigits(gfx::Canvas& canvas, int v, int scale)
{
    const DigitStrips strips { gfx::bitmap(gfx::scaledName("DIGITS_5", scale)),
        gfx::bitmap(gfx::scaledName("NUM_4", scale)), scale };
    if (v >= 100000000) {
        const int g = v / 1000000;
        if (g >= 1000)
            bigDigit(canvas, strips, 5, (g / 1000) % 10);
        bigDigit(canvas, strips, 11, (g / 100) % 10);
        smallDigit(canvas, strips, 17, (g / 10) % 10);
        smallDigit(canvas, strips, 22, g % 10);
        glyph(canvas, strips.small, 27, 8, gfx::numGSignRect(gfx::NumRow::Seven), scale);
        return;
    }
    auto bigSmall = [&](int n) {
        bigDigit(canvas, strips, 5, (n / 10000) % 10);
        bigDigit(canvas, strips, 11, (n / 1000) % 10);
        smallDigit(canvas, strips, 27, n % 10);
        smallDigit(canvas, strips, 22, (n / 10) % 10);
        smallDigit(canvas, strips, 17, (n / 100) % 10);
    };
    if (v >= 100000) {
        const int w = v / 1000;
        if (w < 10000) {
            bigDigit(canvas, strips, 25, w % 10);
            bigDigit(canvas, strips, 19, (w / 10) % 10);
            bigDigit(canvas, strips, 13, (w / 100) % 10);
            if (w / 1000 != 0)
                bigDigit(canvas, strips, 7, (w / 1000) % 10);
        } else {
            bigSmall(w);
        }
    } else if (v >= 10000) {
        bigSmall(v);
    } else if (v >= 0) {
        if (v > 999)
            bigDigit(canvas, strips, 8, v / 1000);
        smallDigit(canvas, strips, 24, v % 10);
        smallDigit(canvas, strips, 19, (v / 10) % 10);
        smallDigit(canvas, strips, 14, (v / 100) % 10);
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
            r.freeBytes = space->freeBytes;
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
        const QString total = locale.groupedNumber(r.totalBytes);
        r.hint = r.caption + u'\n'
            + QCoreApplication::translate("DrivePicture", "Espacio Libre: %1 bytes")
                  .arg(locale.groupedNumber(r.freeBytes, int(total.size())))
            + u'\n' + QCoreApplication::translate("DrivePicture", "Espacio Total: %1 bytes").arg(total);
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
        else
            drawDigits(canvas, v, scale);
    }

    if (!cdrom && v >= 0 && reading.totalBytes != 0) {
        const quint64 free = std::min(reading.freeBytes, reading.totalBytes);
        const Rect bar = gfx::scaled(small ? gfx::place::miniDriveBar : gfx::place::driveBar, scale);
        const int length = bar.width();
        // 128 bits: a drive of more than 2^64 / length bytes must not wrap the product.
        const int k = int(platform::scaledShare(free, unsigned(length), reading.totalBytes));
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
        constexpr quint64 mb = 1024 * 1024;
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
