#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct stat;

namespace tolm::app {

class SaveReport;

// A shelf window's file in the shelf folder, and the rules for writing it:
// atomically, only when what the user arranged changes, and only into the
// regular file last read or written here (or where there is none). What
// another program left at the file's name since (another machine's sync,
// a newer file, a link, a FIFO, a folder) is never written over or through.
// A window whose file could not be loaded writes, never over that file, to
// one recovery file beside it. The window turns items into bytes; this
// keeps what the file holds.
class ShelfDocument {
public:
    ShelfDocument(std::filesystem::path folder, QString fileName);

    const std::filesystem::path& folder() const { return m_folder; }
    const QString& fileName() const { return m_fileName; }
    std::filesystem::path pathOf(const QString& name) const { return m_folder / name.toStdString(); }

    // Whether anything stands at the file's name, a link to nothing too.
    bool exists() const;
    // The file's bytes, within the store's bounds; refused as the store says,
    // and refused when what stands at the name may not be written (below).
    std::optional<std::vector<std::uint8_t>> read(std::string* error);

    enum class Disk {
        AsKnown, // the regular file last read or written here
        Changed, // a regular file someone else wrote since
        Missing,
        // Something no write goes into or through: a link put there since
        // the window opened, a FIFO, a folder, a file that cannot be read.
        Foreign,
    };
    // What stands at the file's name now, against what was last read or
    // written here: its identity, size and modification time first, its
    // bytes when those differ. `what` names a Foreign thing for the user.
    Disk onDisk(QString* what = nullptr);

    // What the file holds as last read or written: whole, and as the window
    // compares it (without what tiles rewrite on their own).
    void remember(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable);
    // For a window that holds nothing the file does not: one that failed to
    // load, or whose file could not be made.
    void rememberStable(std::vector<std::uint8_t> stable) { m_writtenStable = std::move(stable); }
    bool holds(const std::vector<std::uint8_t>& stable) const { return stable == m_writtenStable; }
    // As if no file had been read here: all the window holds is unwritten.
    void forget();

    // A window whose file failed to load reads it again only once what
    // stands at the name is no longer what failed.
    void markFailed();
    bool changedSinceFailure() const;

    // Writes the file unless the window holds nothing new for it; a failure
    // is a line of `report`. A file changed on disk, or something else at
    // the name, is left alone.
    enum class Written { Yes, Failed, ChangedOnDisk, Foreign };
    Written write(
        std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> stable, SaveReport& report, QString* what);
    // A copy of a window's state beside its file, for when the file changed
    // on disk under it: `name` is set to the copy's name, written or not.
    bool writeConflictCopy(const std::vector<std::uint8_t>& bytes, QString* name, std::string* error) const;
    // Writes to the recovery file, named when it is first needed (`named`
    // then says so); a link planted at its name is replaced, never followed.
    bool writeRecovery(const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t> stable,
        SaveReport& report, bool* named);
    const QString& recoveryFileName() const { return m_recoveryFileName; }
    // Later recovery writes go to `name` (a copy already holding the window).
    void setRecoveryFileName(const QString& name) { m_recoveryFileName = name; }
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
    // What stands at the name: the name itself, and the file a link there
    // leads to.
    struct Seen {
        std::optional<Stamp> name, target;
        bool operator==(const Seen&) const = default;
    };
    // Where the file's bytes are, when a write may go there.
    struct Place {
        Disk disk { Disk::Missing };
        std::filesystem::path file;
        std::optional<Stamp> stamp;
        QString what;
    };
    static Stamp stampOf(const struct stat& info);
    Place place() const;
    Disk check(const Place& now, QString* what);
    Seen seenNow() const;

    std::filesystem::path m_folder;
    QString m_fileName;
    // The link that stood at the name when the window opened: the user's
    // own arrangement, followed while it leads to the file read through it.
    std::optional<std::filesystem::path> m_userLink;
    std::vector<std::uint8_t> m_writtenBytes;
    std::vector<std::uint8_t> m_writtenStable;
    // Of the file as last read or written here; taken before a read, so a
    // change during it shows as a change.
    std::optional<Stamp> m_stamp;
    std::optional<Stamp> m_stampBeforeRead;
    Seen m_seenBeforeRead;
    std::optional<Seen> m_failedSeen;
    QString m_recoveryFileName;
    bool m_saveFailed { false };
    bool m_failureSaid { false };
};

} // namespace tolm::app
