#pragma once

#include <QString>

namespace tolm::app {

// The program's message boxes, shown through the platform's MessageBoxes
// over the active window.

// A box with an OK button (an error or a notice).
void showMessage(const QString& caption, const QString& text);
// A box with OK and Cancel; true for OK.
bool askOkCancel(const QString& caption, const QString& text);
// How an unexpected error is reported: the program's title as caption.
void showError(const QString& text);
// Whether one of these boxes is open: it runs the event loop, and what
// runs meanwhile must not act on the windows it is about.
bool aBoxIsOpen();

} // namespace tolm::app
