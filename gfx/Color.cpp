#include "gfx/Color.h"

#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

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

struct PaletteColor {
    QPalette::ColorGroup group { QPalette::Active };
    QPalette::ColorRole role { QPalette::Button };
};

// The palette colour each system colour stands for, indexed like the table
// above. Qt's own Windows theme builds its palette from these same system
// colours; this is that mapping read backwards.
std::optional<PaletteColor> paletteColor(std::uint32_t index)
{
    using P = QPalette;
    switch (index) {
    case 0: // scroll bar
    case 10: // active border
    case 11: // inactive border
    case 15: // button face
    case 19: // inactive caption text, on the inactive caption below
        return PaletteColor { P::Active, P::Button };
    case 2: // active caption
    case 13: // highlight
        return PaletteColor { P::Active, P::Highlight };
    case 3: // inactive caption
    case 12: // application workspace
    case 16: // button shadow
        return PaletteColor { P::Active, P::Dark };
    case 4: // menu
        return PaletteColor { P::Active, P::Window };
    case 5: // window
        return PaletteColor { P::Active, P::Base };
    case 6: // window frame
    case 7: // menu text
        return PaletteColor { P::Active, P::WindowText };
    case 8: // window text
        return PaletteColor { P::Active, P::Text };
    case 9: // caption text
    case 14: // highlight text
        return PaletteColor { P::Active, P::HighlightedText };
    case 17: // grey text
        return PaletteColor { P::Disabled, P::Text };
    case 18: // button text
        return PaletteColor { P::Active, P::ButtonText };
    case 20: // button highlight
        return PaletteColor { P::Active, P::Light };
    case 21: // 3D dark shadow
        return PaletteColor { P::Active, P::Shadow };
    case 22: // 3D light
        return PaletteColor { P::Active, P::Midlight };
    case 23: // tooltip text
        return PaletteColor { P::Active, P::ToolTipText };
    case 24: // tooltip background
        return PaletteColor { P::Active, P::ToolTipBase };
    default: // the desktop: no role names it
        return std::nullopt;
    }
}

QColor classicColor(std::uint32_t index)
{
    const Color v = systemColors[index];
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

} // namespace

QPalette classicPalette()
{
    QPalette palette;
    for (std::uint32_t index = 0; index < systemColors.size(); ++index) {
        if (const auto target = paletteColor(index); target && target->group == QPalette::Active)
            palette.setColor(QPalette::All, target->role, classicColor(index));
    }
    for (const QPalette::ColorRole role : { QPalette::Text, QPalette::WindowText, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, classicColor(17));
    palette.setColor(QPalette::All, QPalette::Mid, QColor(0xA0, 0xA0, 0xA0));
    palette.setColor(QPalette::All, QPalette::BrightText, Qt::white);
    return palette;
}

bool isSystemColor(Color c)
{
    return (c & 0xFF000000u) == 0x80000000u;
}

Color resolveColor(Color c)
{
    if (isSystemColor(c)) {
        const std::uint32_t index = c & 0x00FFFFFFu;
        if (index >= systemColors.size())
            return clBlack;
        const auto target = paletteColor(index);
        if (target && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return fromQColor(QGuiApplication::palette().color(target->group, target->role));
        return systemColors[index];
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

namespace {

double relativeLuminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

} // namespace

double contrastRatio(QRgb a, QRgb b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QRgb readableInk(QRgb ink, QRgb background)
{
    if (contrastRatio(ink, background) >= kReadableContrast)
        return ink;
    const QRgb text = toQRgb(clBtnText);
    if (contrastRatio(text, background) >= kReadableContrast)
        return text;
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

} // namespace tolm::gfx
