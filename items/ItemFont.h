#pragma once

#include "store/Components.h"

#include <QFont>

namespace tolm::items {

// The Qt font for a font as shelf files store it. A negative height is the
// character height in pixels, a positive one the cell height (the character
// height plus the internal leading, about a fifth of it).
QFont qtFont(const store::FontState& font);

} // namespace tolm::items
