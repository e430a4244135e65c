#pragma once

#include "gfx/Rect.h"

#include <QImage>
#include <string>
#include <string_view>

namespace tolm::gfx {

// The program's own pictures, compiled in under :/bitmaps. Names are matched
// without regard to case ("NO_ICON", "no_icon"). The image is RGB32 and shared:
// copy it before drawing on it (QImage does so on the first write). An unknown
// name gives a null image. Transparent pixels ("NO_ICON", "tolm") come out in the
// button face colour.
QImage bitmap(std::string_view name);

// A tile's picture (the clock face, the drive and memory pictures) with the
// classic grey around its figure, every such pixel joined to the edge, in the
// palette's button face, as the tile behind it is. Greys inside the figure
// stay as drawn.
QImage tileBitmap(std::string_view name);

// The same picture with its transparency kept (ARGB32), for window icons and for
// drawing an icon over another picture. Not cached.
QImage iconImage(std::string_view name);

// The name of a picture drawn at `scale` times the density ("drive_2x"), or
// the name itself at 1.
std::string scaledName(std::string_view name, int scale);

// A place in a picture, or in a strip of glyphs, on its copy drawn at
// `scale` times the density: the pictures of 2x and 3x keep their 1x layout.
constexpr Rect scaled(const Rect& r, int scale)
{
    return { r.left * scale, r.top * scale, r.right * scale, r.bottom * scale };
}

// Places in the letter strip "LET_6" (A to Z, 6 x 9 each, black on white). Lower
// case letters map to their capitals; anything that is not a letter gives an
// empty rectangle, so no letter is drawn.
Rect letterRect(char c);

// Places in "DIGITS_5": seven-segment digits 0 to 9, 5 x 11, and the no-disk
// sign, 10 x 11. A digit outside 0..9 gives an empty rectangle.
Rect bigDigitRect(int digit);
inline constexpr Rect noDiskSignRect { 59, 0, 69, 11 };

// The three digit rows of "NUM_4": 6, 7 and 9 pixels high. Digits are 4 wide at
// x = 4d; the G sign (thousands of megabytes) is at x = 40.
enum class NumRow { Six, Seven, Nine };
Rect numDigitRect(NumRow row, int digit);
Rect numGSignRect(NumRow row);

// The letters a tile picture carries on the button face at `place` (of the
// 1x layout, in a picture `scale` times it), made readable on the face the
// palette has now: their ink where it does not stand out from it enough,
// and the face in the holes of the letters, which the face's fill from the
// edges does not reach.
void inkLettersOnFace(QImage& picture, const Rect& place, int scale = 1);

// Where the drive and memory pictures leave room for what is drawn on them.
namespace place {
// 36 x 36 drive pictures.
inline constexpr Rect driveLetter { 26, 17, 32, 26 };
inline constexpr Rect driveBar { 5, 29, 31, 34 };
inline constexpr Rect driveDigits { 5, 4, 31, 15 };
// "minidrive", 17 x 17.
inline constexpr Rect miniDriveLetter { 11, 1, 17, 10 };
inline constexpr Rect miniDriveBar { 1, 12, 16, 16 };
// "bmem", with the letters P (paging file) and M (memory) beside the bars.
inline constexpr Rect memPagingBar { 2, 12, 28, 17 };
inline constexpr Rect memPhysicalBar { 2, 29, 28, 34 };
inline constexpr Rect memPagingLetter { 30, 12, 35, 17 };
inline constexpr Rect memPhysicalLetter { 30, 30, 35, 35 };
// "minimem", with its word above the bars.
inline constexpr Rect miniMemPagingBar { 1, 7, 16, 11 };
inline constexpr Rect miniMemPhysicalBar { 1, 12, 16, 16 };
inline constexpr Rect miniMemLetters { 2, 1, 17, 6 };
// The dial of "bclock".
inline constexpr int clockCentre = 18;
} // namespace place

} // namespace tolm::gfx
