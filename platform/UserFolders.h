#pragma once

#include <QString>
#include <functional>

namespace tolm::platform {

// Reads one environment variable; an unset one gives an empty text. The
// start of the program finds its folders before Qt's application object
// exists, and tests hand in an environment of their own.
using Environment = std::function<QString(const char* name)>;
Environment processEnvironment();

// The user's folders of the XDG base directory layout: $XDG_CONFIG_HOME and
// $XDG_DATA_HOME when they hold absolute paths (relative ones are to be
// ignored), else ~/.config and ~/.local/share. Empty when neither the
// variable nor HOME tells where the folder is.
QString userConfigFolder(const Environment& env);
QString userDataFolder(const Environment& env);

} // namespace tolm::platform
