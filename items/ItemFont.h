#pragma once

#include "store/Components.h"

#include <QFont>

namespace tolm::items {

// The largest pixel size an item's font is built with, whatever the file holds.
inline constexpr int kMaxFontPixels = 1000;

// The Qt font for a font as shelf files store it. A negative height is the
// character height in pixels, a positive one the cell height (the character
// height plus the internal leading, about a fifth of it). The pixel size is
// kept between 1 and kMaxFontPixels.
QFont qtFont(const store::FontState& font);

} // namespace tolm::items
