#pragma once

#include "store/Components.h"

#include <QFont>

namespace tolm::items {

// The largest pixel size an item's font is built with, whatever the file holds.
inline constexpr int kMaxFontPixels = 1000;

// The Qt font for a font as shelf files store it. A negative height is the
// character height in pixels, a positive one the cell height (the character
// height plus the internal leading, about a fifth of it). The pixel size is
// kept between 1 and kMaxFontPixels. Items draw with it, and the font
// dialogs start from it.
QFont qtFont(const store::FontState& font);

// The stored form of a font a font dialog chose: its name, its pixel size
// as a character height (between 1 and kMaxFontPixels pixels, as qtFont
// draws it) and its style. The charset, colour and pitch, which the dialog
// does not offer, are those of `base`.
store::FontState fontStateFrom(const QFont& font, store::FontState base);

} // namespace tolm::items
