#include "app/ShelfDocument.h"

#include "app/Log.h"
#include "app/SaveReport.h"
#include "store/ShelfFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <sys/stat.h>

namespace tolm::app {

ShelfDocument::ShelfDocument(std::filesystem::path folder, QString fileName)
    : m_folder(std::move(folder))
    , m_fileName(std::move(fileName))
{ }

bool ShelfDocument::exists() const
{
    std::error_code ec;
    return std::filesystem::exists(pathOf(m_fileName), ec);
}

std::optional<std::vector<std::uint8_t>> ShelfDocument::read(std::string* error)
{
    m_stampBeforeRead = stampNow();
    return store::readFileBytes(pathOf(m_fileName), error);
}

std::optional<ShelfDocument::Stamp> ShelfDocument::stampNow() const
{
    struct stat info { };
    if (::stat(pathOf(m_fileName).c_str(), &info) != 0)
        return std::nullopt;
    return Stamp { std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), std::uint64_t(info.st_size),
        std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec };
}

ShelfDocument::Disk ShelfDocument::onDisk()
{
    const std::optional<Stamp> now = stampNow();
    if (!now)
        return Disk::Missing;
    if (!m_stamp || *now == *m_stamp)
        return Disk::AsKnown;
    // Touched, copied back or written with the same bytes: still the file
    // this window holds. What cannot be read as a shelf file (a folder in
    // its place, a file made unreadable) is no one's newer work: writing
    // goes ahead and says what stops it.
    const auto bytes = store::readFileBytes(pathOf(m_fileName));
    if (!bytes)
        return Disk::AsKnown;
    if (*bytes != m_writtenBytes)
        return Disk::Changed;
    m_stamp = now;
    return Disk::AsKnown;
}

void ShelfDocument::remember(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable)
{
    m_writtenBytes = std::move(bytes);
    m_writtenStable = std::move(stable);
    m_stamp = std::exchange(m_stampBeforeRead, std::nullopt);
    if (!m_stamp)
        m_stamp = stampNow();
    m_failureSaid = false;
}

ShelfDocument::Written ShelfDocument::write(
    std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable, SaveReport& report)
{
    m_saveFailed = false;
    // Tiles' figures alone are no reason to write: in a synced folder each
    // write is a new version of the file on every machine.
    if (holds(stable))
        return Written::Yes;
    if (onDisk() == Disk::Changed)
        return Written::ChangedOnDisk;
    std::string error;
    if (!store::writeFileAtomically(pathOf(m_fileName), bytes, &error)) {
        setSaveFailed();
        report.add(SaveReport::failedLine(m_fileName, SaveReport::reason(error)));
        return Written::Failed;
    }
    m_stampBeforeRead.reset();
    remember(std::move(bytes), std::move(stable));
    return Written::Yes;
}

void ShelfDocument::setSaveFailed()
{
    m_saveFailed = true;
    m_failureSaid = true;
}

QString ShelfDocument::writeConflictCopy(const std::vector<std::uint8_t>& bytes, std::string* error) const
{
    const std::string stamp
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    const std::string name = store::firstFreeConflictFileName(m_folder, m_fileName.toStdString(), stamp);
    if (!store::writeFileAtomically(m_folder / name, bytes, error, store::Links::Replace))
        return {};
    return QString::fromStdString(name);
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
    return store::writeFileAtomically(pathOf(name), bytes, error);
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
