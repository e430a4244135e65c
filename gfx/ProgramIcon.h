#pragma once

#include <QIcon>
#include <QImage>

namespace tolm::gfx {

// The sizes the desktop asks a program's icon in (the hicolor theme's folders).
inline constexpr int kProgramIconSizes[] = { 16, 24, 32, 48, 64, 128, 256 };

// The program icon ("tolm", drawn 48 x 48) at `size` x `size`, transparency
// kept. Larger sizes keep the drawing's pixels square and sharp: it is first
// blown up by a whole factor, then smoothed down to the size asked for.
QImage programIconImage(int size);

// Every size above in one icon, for the windows and the taskbar.
QIcon programIcon();

} // namespace tolm::gfx
