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
// atomically, only when its bytes change, never over a file that changed on
// disk since it was last read or written here (another machine's sync, or
// another program), and, for a window whose file could not be loaded, never
// over that file but to one recovery file beside it. The window turns items
// into bytes; this keeps what the file holds.
class ShelfDocument {
public:
    ShelfDocument(std::filesystem::path folder, QString fileName);

    const std::filesystem::path& folder() const { return m_folder; }
    const QString& fileName() const { return m_fileName; }
    std::filesystem::path pathOf(const QString& name) const { return m_folder / name.toStdString(); }

    bool exists() const;
    // The file's bytes, within the store's bounds; refused as the store says.
    std::optional<std::vector<std::uint8_t>> read(std::string* error);

    enum class Disk {
        AsKnown, // what was last read or written here, or nothing known yet
        Changed, // someone else wrote it since
        Missing,
    };
    // Whether the file on disk is still the one last read or written: its
    // size, modification time and identity first, its bytes when those differ.
    Disk onDisk();

    // What the file holds as last read or written: whole, and as the window
    // compares it (without what tiles rewrite on their own).
    void remember(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable);
    // For a window that holds nothing the file does not: one that failed to
    // load, or whose file could not be made.
    void rememberStable(std::vector<std::uint8_t> stable) { m_writtenStable = std::move(stable); }
    bool holds(const std::vector<std::uint8_t>& stable) const { return stable == m_writtenStable; }

    // Writes the file unless the window holds nothing new for it; a failure
    // is a line of `report`. A file changed on disk is left alone.
    enum class Written { Yes, Failed, ChangedOnDisk };
    Written write(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable, SaveReport& report);
    // A copy of a window's state beside its file, for when the file changed
    // on disk under unwritten work: its name, or empty and `error` set.
    QString writeConflictCopy(const std::vector<std::uint8_t>& bytes, std::string* error) const;
    // Writes to the recovery file, named when it is first needed (`named`
    // then says so); a link planted at its name is replaced, never followed.
    bool writeRecovery(const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t> stable,
        SaveReport& report, bool* named);
    const QString& recoveryFileName() const { return m_recoveryFileName; }
    void forgetRecovery() { m_recoveryFileName.clear(); }

    // Whether the last write failed, and whether that failure has been put
    // in a report (the automatic save says it once, until a write succeeds).
    bool saveFailed() const { return m_saveFailed; }
    void setSaveFailed();
    bool failureSaid() const { return m_failureSaid; }

    // Folder files of the same shelf folder.
    QString firstFreeFolderFileName() const;
    bool writeNew(const QString& name, const std::vector<std::uint8_t>& bytes, std::string* error) const;
    void deleteTree(const QString& name) const;

private:
    // What identifies the file's version on disk without reading it.
    struct Stamp {
        std::uint64_t device { 0 }, inode { 0 }, size { 0 };
        std::int64_t modifiedNs { 0 };
        bool operator==(const Stamp&) const = default;
    };
    std::optional<Stamp> stampNow() const;

    std::filesystem::path m_folder;
    QString m_fileName;
    std::vector<std::uint8_t> m_writtenBytes;
    std::vector<std::uint8_t> m_writtenStable;
    // Of the file as last read or written here; taken before a read, so a
    // change during it shows as a change.
    std::optional<Stamp> m_stamp;
    std::optional<Stamp> m_stampBeforeRead;
    QString m_recoveryFileName;
    bool m_saveFailed { false };
    bool m_failureSaid { false };
};

} // namespace tolm::app
