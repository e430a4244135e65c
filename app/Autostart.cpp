#include "app/Autostart.h"

#include "app/StartOptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tolm::app {

bool startsWithSession(const platform::Environment& env)
{
    const QString file = autostartFile(env);
    return !file.isEmpty() && QFileInfo::exists(file);
}

AutostartChange setStartWithSession(bool on, const QByteArray& program, const platform::Environment& env)
{
    using Problem = AutostartChange::Problem;
    AutostartChange change;
    change.file = autostartFile(env);
    if (change.file.isEmpty()) {
        change.problem = Problem::NoConfigFolder;
        return change;
    }
    if (!on) {
        QFile entry(change.file);
        if (QFileInfo(change.file).exists() && !entry.remove()) {
            change.problem = Problem::CannotRemove;
            change.detail = entry.errorString();
        }
        return change;
    }
    QString error;
    const QString text = autostartEntry(program, &error);
    if (text.isEmpty()) {
        change.problem = Problem::UnwritableProgram;
        change.detail = error;
        return change;
    }
    QSaveFile entry(change.file);
    if (!QDir().mkpath(QFileInfo(change.file).path())) {
        change.problem = Problem::CannotWrite;
        change.detail = QString::fromLocal8Bit(std::strerror(errno));
    } else if (!entry.open(QIODevice::WriteOnly) || entry.write(text.toUtf8()) < 0 || !entry.commit()) {
        change.problem = Problem::CannotWrite;
        change.detail = entry.errorString();
    }
    return change;
}

QByteArray runningProgram()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? QByteArray("tolm") : QByteArray::fromStdString(self.native());
}

} // namespace tolm::app
