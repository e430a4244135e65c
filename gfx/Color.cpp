#include "gfx/Color.h"

#include <array>

namespace tolm::gfx {

namespace {

// Indexed by the low byte of a system colour.
constexpr std::array<Color, 25> systemColors {
    0xC0C0C0, // scroll bar
    0x808000, // desktop
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application workspace
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x404040, // 3D dark shadow
    0xDFDFDF, // 3D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
};

} // namespace

bool isSystemColor(Color c)
{
    return (c & 0xFF000000u) == 0x80000000u;
}

Color resolveColor(Color c)
{
    if (isSystemColor(c)) {
        const std::uint32_t index = c & 0x00FFFFFFu;
        return index < systemColors.size() ? systemColors[index] : clBlack;
    }
    return c & 0x00FFFFFFu;
}

QRgb toQRgb(Color c)
{
    const Color v = resolveColor(c);
    return qRgb(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

Color fromQRgb(QRgb rgb)
{
    return Color(qRed(rgb)) | (Color(qGreen(rgb)) << 8) | (Color(qBlue(rgb)) << 16);
}

QColor toQColor(Color c)
{
    return QColor::fromRgb(toQRgb(c));
}

Color fromQColor(const QColor& c)
{
    return fromQRgb(c.rgb());
}

} // namespace tolm::gfx
