#pragma once

#include "files/ReadFile.h"
#include "store/Components.h"
#include "store/Record.h"
#include "store/StreamError.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolm::store {

inline constexpr std::int32_t kShelfMagic = 991091; // bytes 73 1F 0F 00
inline constexpr std::size_t kShelfHeaderSize = 28;

struct ShelfHeader {
    std::int32_t magic { kShelfMagic };
    std::int32_t left { 0 }, top { 0 }, right { 0 }, bottom { 0 };
    std::uint8_t frameShown { 1 }; // any non-zero value reads as shown
    std::uint8_t alwaysButtons { 0 };
    std::uint8_t padding[2] { 0, 0 };
    std::uint32_t color { 0 };
    bool operator==(const ShelfHeader&) const = default;
};

void writeHeader(const ShelfHeader& header, std::vector<std::uint8_t>& out);
ShelfHeader readHeader(std::span<const std::uint8_t> data); // throws StreamError when shorter than 28 bytes

// Walks a shelf file's bytes record by record, so that a caller can keep the
// items read before a broken record, as loading a window does.
class ShelfReader {
public:
    explicit ShelfReader(std::span<const std::uint8_t> data);
    const ShelfHeader& header() const { return m_header; } // read by the constructor (may throw)
    bool magicMatches() const { return m_header.magic == kShelfMagic; }
    Record nextRecord(); // throws StreamError
    // The next record read straight into its reader's state, as
    // readFontDialog/readSpButton(nextRecord()) would give it, with errors
    // pointed at the offending property; faster, as no Record is built.
    FontDialogState nextFontDialog(); // throws StreamError
    SpButtonState nextItem(); // throws StreamError
    bool atEnd() const { return m_pos >= m_data.size(); }
    std::size_t position() const { return m_pos; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos { 0 };
    ShelfHeader m_header;
};

// A whole shelf file: header, the font dialog record, the item records.
struct ShelfFile {
    ShelfHeader header;
    Record fontDialog;
    std::vector<Record> items;
};
// Checks the shapes of the records only (the typed readers check their
// properties). Another magic is refused as "Invalid stream format" at byte 0;
// a caller that must tell it apart (to show its own message) uses ShelfReader.
ShelfFile parseShelf(std::span<const std::uint8_t> data); // throws StreamError
std::vector<std::uint8_t> serializeShelf(const ShelfFile& file);

// The largest shelf file read: some two hundred times the largest shelf
// a user has made (the 100,000-item shelf of the benchmarks is 45 MB).
inline constexpr std::uint64_t kMaxShelfFileBytes = std::uint64_t(64) << 20;
inline constexpr files::FileKind kShelfFileKind { "a shelf file", kMaxShelfFileBytes };

// File helpers over files::readFile, with the refusal as its English text:
// a FIFO, device, socket or directory is refused as "cannot read PATH: not a
// regular file (a FIFO)", and a file larger than the kind's bound as "cannot
// read PATH: N bytes, more than a shelf file may hold (67108864)", before a
// byte is read; opening never blocks. Each error text ends in ": " and the reason.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path,
    std::string* error = nullptr, const files::FileKind& kind = kShelfFileKind);
// The first `count` bytes of a file (fewer when it is shorter), with the same
// refusals but for the size: for a look at the magic before a whole read.
std::optional<std::vector<std::uint8_t>> readFileHead(
    const std::filesystem::path& path, std::size_t count, std::string* error = nullptr);

// Writing goes to a temporary file beside the target that is renamed over
// it, so a failed save leaves the old file whole. When `path` is a symbolic
// link, Links::Follow writes the file it points at and keeps the link;
// Links::Replace puts a regular file in the link's place and never touches
// what it pointed at. A caller that follows a link on purpose resolves it
// first and writes the file it leads to with Links::Replace.
enum class Links { Follow, Replace };
bool writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
    std::string* error = nullptr, Links links = Links::Follow);

// First "tolmcN.dat" (N = 1, 2, ...) that does not exist in `dir`.
std::string firstFreeFolderFileName(const std::filesystem::path& dir);

// First free "STEM-recuperado.dat", "STEM-recuperado2.dat", ... in `dir`, for
// the shelf file `name` ("tolm95.dat" gives "tolm95-recuperado.dat"). These
// names, and the next, fit in a directory entry: for a name too long, STEM
// is its first bytes, cut between characters.
std::string firstFreeRecoveryFileName(const std::filesystem::path& dir, const std::string& name);
// First free "STEM-conflicto-STAMP.dat", "STEM-conflicto-STAMP-2.dat", ...:
// where a window's own state goes when its file changed on disk under it
// (STAMP is the time, "20261208-101500").
std::string firstFreeConflictFileName(
    const std::filesystem::path& dir, const std::string& name, const std::string& stamp);

// The folder file names ("Comando" of every "Carpeta" item) a shelf file names, in file order.
// A broken record ends the list: the names found before it are returned.
std::vector<std::string> folderFilesNamedIn(std::span<const std::uint8_t> data);

// The same walk, telling also whether the magic matched and where it broke off.
struct FolderScan {
    bool magicMatches { false };
    std::vector<std::string> names;
    std::optional<StreamError> error;
};
FolderScan scanFolderFiles(std::span<const std::uint8_t> data);

// Whether the bytes start with the shelf magic: the only files a folder
// deletion may remove.
bool hasShelfMagic(std::span<const std::uint8_t> data);

// A folder file name is followed only when it is a plain file name in the
// shelf folder: no directory part, not "." or "..", and never the main file.
// Any other name is opened, written and deleted never.
bool isFollowableFolderFile(const std::string& name);
inline constexpr const char* kMainShelfFile = "tolm95.dat";

// Deletes the shelf file `name` in `dir` and, first, the files of the folders
// it names, recursively. A file already visited is not followed again, so
// folder files that name each other in a cycle end. Names that are not
// followable, files without the shelf magic and files that cannot be read are
// left in place and named in `broken`; a missing one is skipped. A file with
// a broken record is deleted, together with the folder files named before
// the break, and named in `broken` with the reader's complaint. Returns the
// deleted names.
std::vector<std::string> deleteShelfTree(
    const std::filesystem::path& dir, const std::string& name, std::vector<std::string>* broken = nullptr);

// The name writeFileAtomically gives the temporary file for the file `name`
// (no directory part): ".NAME.tmpPID-N", or, when that would be longer than a
// directory entry may be (255 bytes), ".HEAD~HASH.dat.tmpPID-N": HEAD the
// name's first bytes, cut between characters, HASH sixteen hex digits of the
// whole name, ".dat" only when the name ends in it.
std::string tempFileNameFor(const std::string& name, long pid, int attempt);

// Removes the temporary files (".NAME.dat.tmpPID-N", or for a name too long
// for that ".HEAD~HASH.dat.tmpPID-N") that writeFileAtomically leaves when its
// process is killed mid-save; only those whose process is gone. Returns the
// removed names.
std::vector<std::string> removeStaleTempFiles(const std::filesystem::path& dir);

} // namespace tolm::store
