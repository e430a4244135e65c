#include "items/ItemFont.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tolm::items {

namespace {

// Style bits as stored: bold, italic, underline, strike-out.
constexpr std::uint8_t kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8;

} // namespace

QFont qtFont(const store::FontState& font)
{
    QFont f(QString::fromStdString(font.name));
    // Stored heights can be any 32-bit figure; widened, INT_MIN negates and a
    // cell height scales without overflow. Font engines lay text out in fixed
    // point, which a huge size would overflow.
    const std::int64_t stored = font.height;
    const std::int64_t pixels = stored < 0 ? -stored : stored * 4 / 5;
    f.setPixelSize(int(std::clamp<std::int64_t>(pixels, 1, kMaxFontPixels)));
    f.setBold(font.style & kBold);
    f.setItalic(font.style & kItalic);
    f.setUnderline(font.style & kUnderline);
    f.setStrikeOut(font.style & kStrikeOut);
    // Bitmap-era names ("MS Sans Serif") are rarely installed; let the
    // font matcher find the nearest sans face instead of a random one.
    f.setStyleHint(font.pitch == store::FontPitch::Fixed ? QFont::TypeWriter : QFont::SansSerif);
    return f;
}

store::FontState fontStateFrom(const QFont& font, store::FontState base)
{
    base.name = font.family().toStdString();
    // A dialog may answer in points (at the 96 dots per inch of the stored
    // heights) and with any figure; it is kept to what qtFont draws before
    // it is made an integer.
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    const double kept = std::isfinite(pixels) ? std::clamp(pixels, 1.0, double(kMaxFontPixels)) : 1.0;
    base.height = -std::int32_t(std::lround(kept));
    base.style = std::uint8_t((font.bold() ? kBold : 0) | (font.italic() ? kItalic : 0)
        | (font.underline() ? kUnderline : 0) | (font.strikeOut() ? kStrikeOut : 0));
    return base;
}

} // namespace tolm::items
