#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tolm::files {

// A kind of file read from outside: what a refusal calls it, and the most
// it may hold. Each layer states the kinds it reads beside the code that
// reads them; the bound is far above any sound file of the kind, and low
// enough that reading it costs no more than a moment and a little memory.
struct FileKind {
    const char* name; // "a desktop entry": "... more than a desktop entry may hold"
    std::uint64_t maxBytes;
};

// What stands at a path, followed through links.
enum class FileType { Regular, Directory, Fifo, CharacterDevice, BlockDevice, Socket, Other };

// Why a file was not read.
struct Refusal {
    enum class Reason {
        NotRegular, // a FIFO, device, socket or directory: `type` says which
        TooLarge, // more than the kind's bound: `size` bytes (or it grew past them)
        CannotOpen, // `error` is the errno; ENOENT when nothing is there
        CannotRead, // the same, once open
    };
    Reason reason { Reason::CannotOpen };
    FileType type { FileType::Other };
    std::uint64_t size { 0 };
    std::uint64_t maxBytes { 0 };
    bool grew { false }; // TooLarge: the file said less and grew while read
    int error { 0 };
    // In English, for a line on standard error: "cannot read PATH: not a
    // regular file (a FIFO)", "cannot read PATH: 3221225472 bytes, more than
    // a shelf file may hold (67108864)", "cannot open PATH: No such file or
    // directory". It always ends in ": " and the reason.
    std::string text;
};

// The whole of a file of `kind`. Only a regular file is read (a link is
// followed): a FIFO without a writer would block, a device may never end,
// and merely opening some devices has effects, so what `stat` already shows
// to be none is not opened at all, and the open descriptor is looked at
// again, as the path may have changed in between. Opening never blocks and
// never makes a terminal ours. A file larger than the kind's bound is
// refused before a byte is read, and one that grows past it while read is
// refused then. On refusal, nothing and, when asked for, why.
std::optional<std::vector<std::uint8_t>> readFile(
    const std::filesystem::path& path, const FileKind& kind, Refusal* refusal = nullptr);

// The first `count` bytes of a file (fewer when it is shorter), with the
// same refusals but for the size: a look at a magic number.
std::optional<std::vector<std::uint8_t>> readFileHead(
    const std::filesystem::path& path, std::size_t count, Refusal* refusal = nullptr);

// What readFile would refuse at once, told by `stat` alone, which never
// blocks: for a library that must be handed the path and opens the file
// itself. Nothing keeps the path from changing afterwards; where the bytes
// themselves can be handed over, readFile is the sound way.
std::optional<Refusal> refusalFor(const std::filesystem::path& path, const FileKind& kind);

} // namespace tolm::files
