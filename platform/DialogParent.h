#pragma once

class QWidget;

namespace tolm::platform {

// The window a dialog of ours opens over: the modal dialog the user is in,
// else the active window; null when none of ours is active.
QWidget* dialogParent();

} // namespace tolm::platform
