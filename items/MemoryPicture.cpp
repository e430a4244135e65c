#include "items/MemoryPicture.h"

#include "gfx/Bitmaps.h"
#include "gfx/Canvas.h"
#include "items/ItemReports.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"
#include "items/TickReadings.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <memory>
#include <optional>

using tolm::gfx::Rect;

namespace tolm::items {

namespace {

// Red from x = left + k to the bar's end, the used share of `length` pixels.
void usedShare(gfx::Canvas& canvas, const Rect& bar, int k)
{
    if (k < bar.width())
        canvas.fillRect({ bar.left + k, bar.top, bar.right, bar.bottom }, gfx::clRed);
}

} // namespace

void drawFigure(QImage& picture, int x, int y, quint64 megabytes, gfx::NumRow numRow, int scale)
{
    const QImage strip = gfx::bitmap(gfx::scaledName("NUM_4", scale));
    gfx::Canvas canvas(picture);
    auto glyph = [&](int at, const Rect& place) {
        const Rect r = gfx::scaled(place, scale);
        canvas.bitBlt(at * scale, y * scale, r.width(), r.height(), strip, r.left, r.top);
    };
    if (megabytes <= 999) {
        glyph(x, gfx::numDigitRect(numRow, int(megabytes / 100)));
        glyph(x + 5, gfx::numDigitRect(numRow, int(megabytes / 10 % 10)));
        glyph(x + 10, gfx::numDigitRect(numRow, int(megabytes % 10)));
        return;
    }
    // Two places of thousands: past 99 G the figure stays at 99G rather
    // than showing a wrong first digit.
    const quint64 g = std::min<quint64>(megabytes / 1000, 99);
    glyph(x, gfx::numDigitRect(numRow, int(g / 10)));
    glyph(x + 5, gfx::numDigitRect(numRow, int(g % 10)));
    glyph(x + 10, gfx::numGSignRect(numRow));
}

QImage memoryPicture(const platform::MemoryStatus& s, bool small, int scale)
{
    const quint64 load = std::min<quint32>(s.load, 100);
    const int length = (small ? 15 : 26) * scale;
    const Rect pagingBar
        = gfx::scaled(small ? gfx::place::miniMemPagingBar : gfx::place::memPagingBar, scale);
    const Rect physicalBar
        = gfx::scaled(small ? gfx::place::miniMemPhysicalBar : gfx::place::memPhysicalBar, scale);
    QImage picture = gfx::tileBitmap(gfx::scaledName(small ? "minimem" : "bmem", scale)).copy();
    {
        gfx::Canvas canvas(picture);
        if (s.totalPageFile > 1024) {
            const quint64 avail = std::min(s.availPageFile, s.totalPageFile) / 1024;
            usedShare(canvas, pagingBar, int(avail * length / (s.totalPageFile / 1024)));
        }
        usedShare(canvas, physicalBar, int((100 - load) * length / 100));
    }
    if (small) {
        gfx::inkLettersOnFace(picture, gfx::place::miniMemLetters, scale);
    } else {
        gfx::inkLettersOnFace(picture, gfx::place::memPagingLetter, scale);
        gfx::inkLettersOnFace(picture, gfx::place::memPhysicalLetter, scale);
    }
    if (!small) {
        constexpr quint64 mb = 1024 * 1024;
        const auto six = gfx::NumRow::Six;
        const auto nine = gfx::NumRow::Nine;
        const quint64 usedPage = s.totalPageFile - std::min(s.availPageFile, s.totalPageFile);
        const quint64 usedPhys = s.totalPhys - std::min(s.availPhys, s.totalPhys);
        drawFigure(picture, 2, 2, usedPage / mb, nine, scale);
        drawFigure(picture, 20, 5, s.totalPageFile / mb, six, scale);
        drawFigure(picture, 2, 19, usedPhys / mb, nine, scale);
        drawFigure(picture, 20, 22, s.totalPhys / mb, six, scale);
    }
    return picture;
}

void memoryPicture(TSpButton& item)
{
    // Within a tick every memory tile shows the same reading; outside one it
    // is read afresh. A failed reading shows empty bars and zero figures
    // rather than stale ones.
    std::optional<TickReadings> alone;
    TickReadings& tick = TickReadings::currentOr(alone);
    if (!tick.memory) {
        tick.memory = platform::services().memory->status().value_or(platform::MemoryStatus {});
        const QString load = platform::services().locale->groupedNumber(tick.memory->load);
        tick.memoryHint = QCoreApplication::translate("MemoryPicture", "Carga de memoria: %1 %").arg(load);
        tick.memoryFigure = QCoreApplication::translate("MemoryPicture", "carga %1 %").arg(load);
        tick.memoryText = load + u'%';
    }
    const platform::MemoryStatus& status = *tick.memory;
    item.setHint(tick.memoryHint);
    item.setLiveFigure(tick.memoryFigure);
    // The properties dialog shows what its working copy found.
    if (ShelfState::get().workingCopy == &item) {
        const MemoryReport report { int(status.load), status.totalPhys, status.availPhys,
            status.totalPageFile, status.availPageFile };
        emit item.memoryRefreshed(report);
    }

    const bool small = item.isSmall();
    QImage& picture = tick.memoryPictures[small ? 1 : 0];
    TSpButton::FinePicture& fine = tick.memoryFine[small ? 1 : 0];
    if (picture.isNull()) {
        picture = memoryPicture(status, small);
        fine = std::make_shared<const std::function<QImage(int)>>(
            [status = status, small](int scale) { return memoryPicture(status, small, scale); });
    }
    item.setFinePicture(fine);
    // Most readings change the figures by less than the picture shows.
    if (!item.pictureCache())
        item.createPictureCache();
    QImage& shown = *item.pictureCache();
    if (!item.pictureCurrent() || shown != picture) {
        shown = picture;
        item.placePicture(picture);
    }

    if (item.Tipo() != 0 && (!item.comandoIs(tick.memoryText) || !item.pictureCurrent())) {
        item.setComando(tick.memoryText);
        item.drawItemText();
    }
    item.setFigureShown(0);
}

} // namespace tolm::items
