#include "platform/UserFolders.h"

#include <QDir>

namespace tolm::platform {

namespace {

QString xdgFolder(const Environment& env, const char* variable, const char* underHome)
{
    const QString set = env(variable);
    if (!set.isEmpty() && QDir::isAbsolutePath(set))
        return QDir::cleanPath(set);
    const QString home = env("HOME");
    if (home.isEmpty())
        return {};
    return QDir::cleanPath(home + QLatin1Char('/') + QLatin1String(underHome));
}

} // namespace

Environment processEnvironment()
{
    return [](const char* name) { return qEnvironmentVariable(name); };
}

QString userConfigFolder(const Environment& env)
{
    return xdgFolder(env, "XDG_CONFIG_HOME", ".config");
}

QString userDataFolder(const Environment& env)
{
    return xdgFolder(env, "XDG_DATA_HOME", ".local/share");
}

} // namespace tolm::platform
