#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace tolm::gfx {

// Colours are stored the way the shelf files hold them: 0x00BBGGRR, or a system
// colour 0x80000000 + index that is looked up when it is drawn.
using Color = std::uint32_t;

inline constexpr Color clBlack = 0x000000;
inline constexpr Color clWhite = 0xFFFFFF;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clBlue = 0xFF0000;
inline constexpr Color clNavy = 0x800000;
inline constexpr Color clGreen = 0x008000;
inline constexpr Color clLime = 0x00FF00;
inline constexpr Color clYellow = 0x00FFFF;
inline constexpr Color clMaroon = 0x000080;
inline constexpr Color clTeal = 0x808000;
inline constexpr Color clOlive = 0x008080;
inline constexpr Color clSilver = 0xC0C0C0;
inline constexpr Color clGray = 0x808080;

inline constexpr Color clScrollBar = 0x80000000;
inline constexpr Color clBackground = 0x80000001;
inline constexpr Color clActiveCaption = 0x80000002;
inline constexpr Color clInactiveCaption = 0x80000003;
inline constexpr Color clMenu = 0x80000004;
inline constexpr Color clWindow = 0x80000005;
inline constexpr Color clWindowFrame = 0x80000006;
inline constexpr Color clMenuText = 0x80000007;
inline constexpr Color clWindowText = 0x80000008;
inline constexpr Color clCaptionText = 0x80000009;
inline constexpr Color clActiveBorder = 0x8000000A;
inline constexpr Color clInactiveBorder = 0x8000000B;
inline constexpr Color clAppWorkSpace = 0x8000000C;
inline constexpr Color clHighlight = 0x8000000D;
inline constexpr Color clHighlightText = 0x8000000E;
inline constexpr Color clBtnFace = 0x8000000F;
inline constexpr Color clBtnShadow = 0x80000010;
inline constexpr Color clGrayText = 0x80000011;
inline constexpr Color clBtnText = 0x80000012;
inline constexpr Color clInactiveCaptionText = 0x80000013;
inline constexpr Color clBtnHighlight = 0x80000014;
inline constexpr Color cl3DDkShadow = 0x80000015;
inline constexpr Color cl3DLight = 0x80000016;
inline constexpr Color clInfoText = 0x80000017;
inline constexpr Color clInfoBk = 0x80000018;

// System colours are looked up when they are drawn: in the application's
// palette (button face, window, highlight, text...), so a dark desktop theme
// darkens what is drawn with them, or in the classic 16-colour scheme when
// there is no GUI. The desktop colour has no palette role and stays classic.
// An index past the end of the scheme resolves to black rather than to
// whatever lies beyond.
Color resolveColor(Color c);
bool isSystemColor(Color c);

// The palette in which every system colour resolves to its classic value.
QPalette classicPalette();

// 0x00BBGGRR (system colours resolved first) to an opaque QRgb and back.
QRgb toQRgb(Color c);
Color fromQRgb(QRgb rgb);
QColor toQColor(Color c);
Color fromQColor(const QColor& c);

// How far apart two colours are to the eye, from 1 (the same lightness) to
// 21 (black on white): the ratio of their relative luminances, each plus
// 0.05, as the web's accessibility guidelines measure it. Text needs 4.5.
double contrastRatio(QRgb a, QRgb b);
inline constexpr double kReadableContrast = 4.5;
// `ink` when it reads on `background`; else the palette's button text when
// that does, else black or white, whichever stands out more.
QRgb readableInk(QRgb ink, QRgb background);

} // namespace tolm::gfx
