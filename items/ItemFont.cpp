#include "items/ItemFont.h"

#include <algorithm>
#include <cstdint>

namespace tolm::items {

QFont qtFont(const store::FontState& font)
{
    QFont f(QString::fromStdString(font.name));
    // Stored heights can be any 32-bit figure; widened, INT_MIN negates and a
    // cell height scales without overflow. Font engines lay text out in fixed
    // point, which a huge size would overflow.
    const std::int64_t stored = font.height;
    const std::int64_t pixels = stored < 0 ? -stored : stored * 4 / 5;
    f.setPixelSize(int(std::clamp<std::int64_t>(pixels, 1, kMaxFontPixels)));
    f.setBold(font.style & 1);
    f.setItalic(font.style & 2);
    f.setUnderline(font.style & 4);
    f.setStrikeOut(font.style & 8);
    // Bitmap-era names ("MS Sans Serif") are rarely installed; let the
    // font matcher find the nearest sans face instead of a random one.
    f.setStyleHint(font.pitch == store::FontPitch::Fixed ? QFont::TypeWriter : QFont::SansSerif);
    return f;
}

} // namespace tolm::items
