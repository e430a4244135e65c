#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tolm::app {

class SaveReport;

// A shelf window's file in the shelf folder, and the rules for writing it:
// atomically, only when its bytes change, and, for a window whose file could
// not be loaded, never over that file but to one recovery file beside it.
// The window turns items into bytes; this keeps what the file holds.
class ShelfDocument {
public:
    ShelfDocument(std::filesystem::path folder, QString fileName);

    const std::filesystem::path& folder() const { return m_folder; }
    const QString& fileName() const { return m_fileName; }
    std::filesystem::path pathOf(const QString& name) const { return m_folder / name.toStdString(); }

    bool exists() const;
    // The file's bytes, within the store's bounds; refused as the store says.
    std::optional<std::vector<std::uint8_t>> read(std::string* error) const;

    // What the file holds as last read or written: whole, and as the window
    // compares it (without what tiles rewrite on their own).
    void remember(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable);
    // For a window that holds nothing the file does not: one that failed to
    // load, or whose file could not be made.
    void rememberStable(std::vector<std::uint8_t> stable) { m_writtenStable = std::move(stable); }
    bool holds(const std::vector<std::uint8_t>& stable) const { return stable == m_writtenStable; }

    // Writes the file unless it holds these bytes already; a failure is a
    // line of `report`.
    bool write(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable, SaveReport& report);
    // Writes to the recovery file, named when it is first needed (`named`
    // then says so); a link planted at its name is replaced, never followed.
    bool writeRecovery(const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t> stable,
        SaveReport& report, bool* named);
    const QString& recoveryFileName() const { return m_recoveryFileName; }
    void forgetRecovery() { m_recoveryFileName.clear(); }

    // Whether the last write failed, and whether that failure has been said
    // (the automatic save says it once, until a write succeeds).
    bool saveFailed() const { return m_saveFailed; }
    bool failureSaid() const { return m_failureSaid; }
    void setFailureSaid(bool said) { m_failureSaid = said; }

    // Folder files of the same shelf folder.
    QString firstFreeFolderFileName() const;
    bool writeNew(const QString& name, const std::vector<std::uint8_t>& bytes, std::string* error) const;
    void deleteTree(const QString& name) const;

private:
    std::filesystem::path m_folder;
    QString m_fileName;
    std::vector<std::uint8_t> m_writtenBytes;
    std::vector<std::uint8_t> m_writtenStable;
    QString m_recoveryFileName;
    bool m_saveFailed { false };
    bool m_failureSaid { false };
};

} // namespace tolm::app
