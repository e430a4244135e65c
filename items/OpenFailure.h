#pragma once

#include "platform/Shell.h"

#include <QString>

class TSpButton;

namespace tolm::items {

// Tells the person at the screen that something could not be opened: a
// message box with `failed` (what could not be opened, a whole sentence) and
// the reason, and a line on standard error. The same failure again within a
// few seconds (a double click, an impatient second try) shows no second box.
// Nothing is said when `result` is a success.
void reportOpenFailure(const platform::ShellResult& result, const QString& failed);

// The sentence that names an item that could not be opened: by its caption,
// else its hint, else its command.
QString itemNotOpened(const TSpButton& item);

} // namespace tolm::items
