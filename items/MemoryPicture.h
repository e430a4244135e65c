#pragma once

#include "gfx/Bitmaps.h"
#include "platform/MemoryStatus.h"

#include <QImage>

class TSpButton;

namespace tolm::items {

// The 36 x 36 (17 x 17 when small) memory picture: the used share of the
// paging file and of physical memory as red bars and, on large items, the
// used and total megabytes of both. At a `scale` of 2 or 3 the same picture
// for a screen of that density, from the pictures and glyphs drawn for it.
QImage memoryPicture(const platform::MemoryStatus& status, bool small, int scale = 1);

// Three 4-pixel glyphs of a "NUM_4" row at x, x + 5 and x + 10: the
// megabytes with leading zeros up to 999, then thousands and the G sign.
// Places are on the 1x grid; the picture and the glyphs are `scale` times it.
void drawFigure(QImage& picture, int x, int y, quint64 megabytes, gfx::NumRow row, int scale = 1);

// Queries the memory status, rewrites the hint, and redraws the picture and
// the load text of a Memoria item on its surface.
void memoryPicture(TSpButton& item);

} // namespace tolm::items
