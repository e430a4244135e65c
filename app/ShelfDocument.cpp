#include "app/ShelfDocument.h"

#include "app/Log.h"
#include "app/SaveReport.h"
#include "store/ShelfFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace tolm::app {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> linkAt(const fs::path& path)
{
    std::error_code ec;
    fs::path target = fs::read_symlink(path, ec);
    if (ec)
        return std::nullopt;
    return target;
}

// What stands at a shelf file's name instead of a file, as the user reads it.
QString kindText(mode_t mode)
{
    return S_ISDIR(mode) ? QCoreApplication::translate("ShelfDocument", "una carpeta")
        : S_ISFIFO(mode) ? QCoreApplication::translate("ShelfDocument", "una tubería con nombre (FIFO)")
        : S_ISSOCK(mode) ? QCoreApplication::translate("ShelfDocument", "un socket")
                         : QCoreApplication::translate("ShelfDocument", "un dispositivo");
}

QString unreadableText(const std::string& storeError)
{
    return QCoreApplication::translate("ShelfDocument", "un fichero que Tolm no puede leer (%1)")
        .arg(SaveReport::reason(storeError));
}

} // namespace

ShelfDocument::ShelfDocument(std::filesystem::path folder, QString fileName)
    : m_folder(std::move(folder))
    , m_fileName(std::move(fileName))
{
    if (!m_fileName.isEmpty())
        m_userLink = linkAt(pathOf(m_fileName));
}

bool ShelfDocument::exists() const
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(pathOf(m_fileName), ec));
}

ShelfDocument::Stamp ShelfDocument::stampOf(const struct stat& info)
{
    return Stamp { std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), std::uint64_t(info.st_size),
        std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec };
}

// The name is looked at without following a link; only the user's link,
// there since the window opened and leading where it led then, is followed.
// Nothing but a regular file is ever opened, so a FIFO cannot block.
ShelfDocument::Place ShelfDocument::place() const
{
    const fs::path path = pathOf(m_fileName);
    struct stat info { };
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return {};
        return { Disk::Foreign, {}, {}, unreadableText(std::strerror(errno)) };
    }
    Place found { Disk::AsKnown, path, {}, {} };
    if (S_ISLNK(info.st_mode)) {
        const std::optional<fs::path> target = linkAt(path);
        const QString link = QCoreApplication::translate("ShelfDocument", "un enlace simbólico a %1")
                                 .arg(QString::fromStdString(target.value_or(fs::path()).string()));
        if (!m_userLink || target != m_userLink)
            return { Disk::Foreign, {}, {}, link };
        std::error_code ec;
        found.file = fs::canonical(path, ec);
        if (ec || ::lstat(found.file.c_str(), &info) != 0)
            return { Disk::Foreign, {}, {}, link };
    }
    if (!S_ISREG(info.st_mode))
        return { Disk::Foreign, {}, {}, kindText(info.st_mode) };
    found.stamp = stampOf(info);
    return found;
}

ShelfDocument::Seen ShelfDocument::seenNow() const
{
    const fs::path path = pathOf(m_fileName);
    Seen seen;
    struct stat info { };
    if (::lstat(path.c_str(), &info) == 0)
        seen.name = stampOf(info);
    if (S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) == 0)
        seen.target = stampOf(info);
    return seen;
}

std::optional<std::vector<std::uint8_t>> ShelfDocument::read(std::string* error)
{
    m_seenBeforeRead = seenNow();
    const Place found = place();
    if (found.disk == Disk::Foreign) {
        *error = found.what.toStdString();
        return std::nullopt;
    }
    m_stampBeforeRead = found.stamp;
    return store::readFileBytes(found.disk == Disk::Missing ? pathOf(m_fileName) : found.file, error);
}

ShelfDocument::Disk ShelfDocument::onDisk(QString* what)
{
    return check(place(), what);
}

ShelfDocument::Disk ShelfDocument::check(const Place& now, QString* what)
{
    if (what)
        *what = now.what;
    if (now.disk != Disk::AsKnown)
        return now.disk;
    // A file where this window knows none is someone else's.
    if (!m_stamp)
        return Disk::Changed;
    if (*now.stamp == *m_stamp)
        return Disk::AsKnown;
    // Touched, copied back or written with the same bytes: still the file
    // this window holds, and nothing is lost by writing over it.
    std::string error;
    const auto bytes = store::readFileBytes(now.file, &error);
    if (!bytes) {
        if (what)
            *what = unreadableText(error);
        return Disk::Foreign;
    }
    if (*bytes != m_writtenBytes)
        return Disk::Changed;
    m_stamp = now.stamp;
    return Disk::AsKnown;
}

void ShelfDocument::remember(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable)
{
    m_writtenBytes = std::move(bytes);
    m_writtenStable = std::move(stable);
    m_stamp = std::exchange(m_stampBeforeRead, std::nullopt);
    if (!m_stamp)
        m_stamp = place().stamp;
    m_seenBeforeRead = {};
    m_failedSeen.reset();
    m_failureSaid = false;
}

void ShelfDocument::forget()
{
    m_writtenBytes.clear();
    m_writtenStable.clear();
    m_stamp.reset();
    m_stampBeforeRead.reset();
}

void ShelfDocument::markFailed()
{
    m_failedSeen = m_seenBeforeRead.name ? m_seenBeforeRead : seenNow();
    m_seenBeforeRead = {};
    m_stampBeforeRead.reset();
}

bool ShelfDocument::changedSinceFailure() const
{
    return !m_failedSeen || seenNow() != *m_failedSeen;
}

void ShelfDocument::setSaveFailed()
{
    m_saveFailed = true;
    m_failureSaid = true;
}

ShelfDocument::Written ShelfDocument::write(
    std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable, SaveReport& report, QString* what)
{
    m_saveFailed = false;
    // Tiles' figures alone are no reason to write: in a synced folder each
    // write is a new version of the file on every machine.
    if (holds(stable))
        return Written::Yes;
    Place target = place();
    switch (check(target, what)) {
    case Disk::AsKnown:
        break;
    case Disk::Missing:
        target.file = pathOf(m_fileName);
        break;
    case Disk::Changed:
        return Written::ChangedOnDisk;
    case Disk::Foreign:
        return Written::Foreign;
    }
    std::string error;
    if (!store::writeFileAtomically(target.file, bytes, &error, store::Links::Replace)) {
        setSaveFailed();
        report.add(SaveReport::failedLine(m_fileName, SaveReport::reason(error)));
        return Written::Failed;
    }
    m_stampBeforeRead.reset();
    remember(std::move(bytes), std::move(stable));
    return Written::Yes;
}

bool ShelfDocument::writeConflictCopy(
    const std::vector<std::uint8_t>& bytes, QString* name, std::string* error) const
{
    const std::string stamp
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    const std::string copy = store::firstFreeConflictFileName(m_folder, m_fileName.toStdString(), stamp);
    *name = QString::fromStdString(copy);
    return store::writeFileAtomically(m_folder / copy, bytes, error, store::Links::Replace);
}

bool ShelfDocument::writeRecovery(
    const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t> stable, SaveReport& report, bool* named)
{
    m_saveFailed = false;
    *named = m_recoveryFileName.isEmpty();
    if (*named)
        m_recoveryFileName
            = QString::fromStdString(store::firstFreeRecoveryFileName(m_folder, m_fileName.toStdString()));
    std::string error;
    if (!store::writeFileAtomically(pathOf(m_recoveryFileName), bytes, &error, store::Links::Replace)) {
        setSaveFailed();
        report.add(QCoreApplication::translate("ShelfDocument",
            "El fichero %1 no se pudo cargar y no se ha modificado.\n"
            "Tampoco se pudo guardar esta ventana en %2: %3")
                       .arg(m_fileName, m_recoveryFileName, SaveReport::reason(error)));
        return false;
    }
    m_writtenStable = std::move(stable);
    m_failureSaid = false;
    return true;
}

QString ShelfDocument::firstFreeFolderFileName() const
{
    return QString::fromStdString(store::firstFreeFolderFileName(m_folder));
}

bool ShelfDocument::writeNew(
    const QString& name, const std::vector<std::uint8_t>& bytes, std::string* error) const
{
    return store::writeFileAtomically(pathOf(name), bytes, error, store::Links::Replace);
}

void ShelfDocument::deleteTree(const QString& name) const
{
    std::vector<std::string> broken;
    store::deleteShelfTree(m_folder, name.toStdString(), &broken);
    // Folder files named after a broken record could not be found; say which.
    for (const std::string& complaint : broken)
        qCWarning(lcApp, "while deleting %s: %s", qPrintable(name), complaint.c_str());
}

} // namespace tolm::app
