#pragma once

#include <QSize>

class QWidget;

namespace tolm::dialogs {

// Keeps `widget` at least at `size`, the size it was designed at for the
// default font, and never below what it needs for its text at the font it
// has now; the minimum is worked out again whenever the font or the style
// changes. A dimension of 0 is left to the widget. Returns the widget.
QWidget* keepAtLeast(QWidget* widget, QSize size);

template <typename T> T* atLeast(T* widget, QSize size)
{
    keepAtLeast(widget, size);
    return widget;
}

} // namespace tolm::dialogs
