#include "app/ShelfDocument.h"

#include "app/Log.h"
#include "app/SaveReport.h"
#include "store/ShelfFile.h"

#include <QCoreApplication>

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

std::optional<std::vector<std::uint8_t>> ShelfDocument::read(std::string* error) const
{
    return store::readFileBytes(pathOf(m_fileName), error);
}

void ShelfDocument::remember(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable)
{
    m_writtenBytes = std::move(bytes);
    m_writtenStable = std::move(stable);
    m_failureSaid = false;
}

bool ShelfDocument::write(
    std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable, SaveReport& report)
{
    m_saveFailed = false;
    if (bytes == m_writtenBytes) {
        m_writtenStable = std::move(stable);
        return true;
    }
    std::string error;
    if (!store::writeFileAtomically(pathOf(m_fileName), bytes, &error)) {
        m_saveFailed = true;
        report.add(SaveReport::failedLine(m_fileName, SaveReport::reason(error)));
        return false;
    }
    remember(std::move(bytes), std::move(stable));
    return true;
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
        m_saveFailed = true;
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
