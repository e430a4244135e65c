#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tolm::test {

// A desktop of its own in a temporary folder, so that nothing the host has
// installed shows: $XDG_DATA_HOME is <folder>/home, $XDG_DATA_DIRS
// <folder>/system then <folder>/later, and no desktop is current. What it or
// `set` changed is put back when it goes.
class TemporaryDesktop {
public:
    TemporaryDesktop()
    {
        set("XDG_DATA_HOME", path("home"));
        set("XDG_DATA_DIRS", path("system") + u':' + path("later"));
        set("XDG_CURRENT_DESKTOP", {});
    }
    ~TemporaryDesktop()
    {
        for (auto saved = m_saved.crbegin(); saved != m_saved.crend(); ++saved)
            saved->second.isNull() ? qunsetenv(saved->first) : qputenv(saved->first, saved->second);
    }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    // An empty value unsets the variable.
    void set(const char* name, const QString& value)
    {
        m_saved.append({ name, qgetenv(name) });
        value.isEmpty() ? qunsetenv(name) : qputenv(name, QFile::encodeName(value));
    }
    // Writes a file under the folder, making the folders it needs.
    QString write(const QString& relative, const QByteArray& data, bool executable = false) const
    {
        QFile file(path(relative));
        QDir().mkpath(QFileInfo(file).path());
        if (file.open(QIODevice::WriteOnly))
            file.write(data);
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return file.fileName();
    }

private:
    QTemporaryDir m_dir;
    QList<std::pair<const char*, QByteArray>> m_saved;
};

} // namespace tolm::test
