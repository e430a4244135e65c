#include "gfx/Bitmaps.h"
#include "gfx/Canvas.h"
#include "gfx/Color.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace tolm::gfx;

namespace {

// Sets a palette for the test's lifetime and puts the classic one back.
struct ScopedPalette {
    explicit ScopedPalette(const QPalette& palette) { QApplication::setPalette(palette); }
    ~ScopedPalette() { QApplication::setPalette(classicPalette()); }
};

// Every role a different colour: role r is (r, 100 + r, 200) in every group,
// but disabled text is (7, 7, 7), so a lookup in the wrong role or group shows.
QPalette distinctPalette()
{
    QPalette palette;
    for (int r = 0; r < QPalette::NColorRoles; ++r)
        palette.setColor(QPalette::All, QPalette::ColorRole(r), QColor(r, 100 + r, 200));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(7, 7, 7));
    return palette;
}

QRgb roleColor(QPalette::ColorRole role)
{
    return qRgb(int(role), 100 + int(role), 200);
}

} // namespace

TEST(SystemColor, EachIndexFollowsItsPaletteRole)
{
    using P = QPalette;
    const struct {
        Color color;
        QRgb expected;
    } cases[] = {
        { clScrollBar, roleColor(P::Button) },
        { clBackground, qRgb(0x00, 0x80, 0x80) }, // no role: the classic desktop
        { clActiveCaption, roleColor(P::Highlight) }, { clInactiveCaption, roleColor(P::Dark) },
        { clMenu, roleColor(P::Window) }, { clWindow, roleColor(P::Base) },
        { clWindowFrame, roleColor(P::WindowText) }, { clMenuText, roleColor(P::WindowText) },
        { clWindowText, roleColor(P::Text) }, { clCaptionText, roleColor(P::HighlightedText) },
        { clActiveBorder, roleColor(P::Button) }, { clInactiveBorder, roleColor(P::Button) },
        { clAppWorkSpace, roleColor(P::Dark) }, { clHighlight, roleColor(P::Highlight) },
        { clHighlightText, roleColor(P::HighlightedText) }, { clBtnFace, roleColor(P::Button) },
        { clBtnShadow, roleColor(P::Dark) }, { clGrayText, qRgb(7, 7, 7) },
        { clBtnText, roleColor(P::ButtonText) }, { clInactiveCaptionText, roleColor(P::Button) },
        { clBtnHighlight, roleColor(P::Light) }, { cl3DDkShadow, roleColor(P::Shadow) },
        { cl3DLight, roleColor(P::Midlight) }, { clInfoText, roleColor(P::ToolTipText) },
        { clInfoBk, roleColor(P::ToolTipBase) }, { 0x80000019, qRgb(0, 0, 0) }, // past the end
        { 0x80FFFFFF, qRgb(0, 0, 0) }, { 0x00336699, qRgb(0x99, 0x66, 0x33) }, // plain colours never change
    };
    const ScopedPalette use(distinctPalette());
    for (const auto& c : cases)
        EXPECT_EQ(toQRgb(c.color), c.expected) << std::hex << c.color;
}

TEST(SystemColor, TheClassicPaletteGivesTheClassicScheme)
{
    const ScopedPalette use(classicPalette());
    const std::pair<Color, QRgb> classic[] = {
        { clScrollBar, qRgb(0xC0, 0xC0, 0xC0) },
        { clActiveCaption, qRgb(0, 0, 0x80) },
        { clInactiveCaption, qRgb(0x80, 0x80, 0x80) },
        { clMenu, qRgb(0xC0, 0xC0, 0xC0) },
        { clWindow, qRgb(0xFF, 0xFF, 0xFF) },
        { clWindowText, qRgb(0, 0, 0) },
        { clCaptionText, qRgb(0xFF, 0xFF, 0xFF) },
        { clHighlight, qRgb(0, 0, 0x80) },
        { clBtnFace, qRgb(0xC0, 0xC0, 0xC0) },
        { clBtnShadow, qRgb(0x80, 0x80, 0x80) },
        { clGrayText, qRgb(0x80, 0x80, 0x80) },
        { clInactiveCaptionText, qRgb(0xC0, 0xC0, 0xC0) },
        { clBtnHighlight, qRgb(0xFF, 0xFF, 0xFF) },
        { cl3DDkShadow, qRgb(0x40, 0x40, 0x40) },
        { cl3DLight, qRgb(0xDF, 0xDF, 0xDF) },
        { clInfoBk, qRgb(0xFF, 0xFF, 0xE1) },
    };
    for (const auto& [color, expected] : classic)
        EXPECT_EQ(toQRgb(color), expected) << std::hex << color;
}

TEST(SystemColor, DrawingAndPicturesFollowAPaletteChange)
{
    QPalette dark = classicPalette();
    dark.setColor(QPalette::All, QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::All, QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    QImage image(8, 8, QImage::Format_RGB32);
    {
        const ScopedPalette use(dark);
        Canvas canvas(image);
        canvas.fillRect({ 0, 0, 8, 8 }, clBtnFace);
        canvas.frameRect({ 0, 0, 8, 8 }, clHighlight);
        EXPECT_EQ(image.pixel(4, 4), qRgb(0x35, 0x35, 0x35));
        EXPECT_EQ(image.pixel(0, 4), qRgb(0x2a, 0x82, 0xda));
        // Resource pictures show the face where they are transparent (the
        // bottom-left corner of the no-icon picture is), in the palette of
        // the moment, not the one of their first use.
        const QImage icon = iconImage("NO_ICON");
        ASSERT_EQ(qAlpha(icon.pixel(0, icon.height() - 1)), 0);
        EXPECT_EQ(bitmap("NO_ICON").pixel(0, icon.height() - 1), qRgb(0x35, 0x35, 0x35));
    }
    EXPECT_EQ(bitmap("NO_ICON").pixel(0, iconImage("NO_ICON").height() - 1), qRgb(0xC0, 0xC0, 0xC0));
}
