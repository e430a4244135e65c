#include "items/ItemFont.h"

#include <algorithm>

namespace tolm::items {

QFont qtFont(const store::FontState& font)
{
    QFont f(QString::fromStdString(font.name));
    f.setPixelSize(std::max(1, font.height < 0 ? -font.height : font.height * 4 / 5));
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
