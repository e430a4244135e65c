#include "files/ReadFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolm::files {

namespace fs = std::filesystem;

namespace {

FileType typeOf(mode_t mode)
{
    return S_ISREG(mode) ? FileType::Regular
        : S_ISDIR(mode)  ? FileType::Directory
        : S_ISFIFO(mode) ? FileType::Fifo
        : S_ISCHR(mode)  ? FileType::CharacterDevice
        : S_ISBLK(mode)  ? FileType::BlockDevice
        : S_ISSOCK(mode) ? FileType::Socket
                         : FileType::Other;
}

const char* typeText(FileType type)
{
    switch (type) {
    case FileType::Fifo:
        return "a FIFO";
    case FileType::CharacterDevice:
        return "a character device";
    case FileType::BlockDevice:
        return "a block device";
    case FileType::Socket:
        return "a socket";
    case FileType::Directory:
        return "a directory";
    case FileType::Regular:
    case FileType::Other:
        break;
    }
    return "not a kind of file read here";
}

void refuse(Refusal* refusal, Refusal&& why)
{
    if (refusal)
        *refusal = std::move(why);
}

Refusal errnoRefusal(Refusal::Reason reason, const fs::path& path)
{
    Refusal r;
    r.reason = reason;
    r.error = errno;
    r.text = std::string(reason == Refusal::Reason::CannotOpen ? "cannot open " : "cannot read ")
        + path.string() + ": " + std::strerror(r.error);
    return r;
}

Refusal notRegular(const fs::path& path, mode_t mode)
{
    Refusal r;
    r.reason = Refusal::Reason::NotRegular;
    r.type = typeOf(mode);
    r.text = "cannot read " + path.string() + ": not a regular file (" + typeText(r.type) + ")";
    return r;
}

Refusal tooLarge(const fs::path& path, std::uint64_t size, bool grew, const FileKind& kind)
{
    Refusal r;
    r.reason = Refusal::Reason::TooLarge;
    r.type = FileType::Regular;
    r.size = size;
    r.maxBytes = kind.maxBytes;
    r.grew = grew;
    const std::string bound = std::to_string(kind.maxBytes);
    r.text = "cannot read " + path.string() + ": "
        + (grew ? "grew past " + bound + " bytes" : std::to_string(size) + " bytes") + ", more than "
        + kind.name + " may hold (" + bound + ")";
    return r;
}

// A large file is read into memory the kernel may back with 2 MB pages:
// filling 45 MB of 4 KB pages takes eleven thousand faults, a fifth of the
// time a large shelf file takes to read. Only whole huge pages inside the
// buffer are named; a kernel without them ignores the advice.
void preferHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHuge = 2u << 20;
    if (size < 2 * kHuge)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (start + size) & ~(kHuge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

// Opens a regular file for reading, or refuses. What `stat` already shows
// not to be one is not opened at all; the open descriptor is looked at
// again, as the path may have changed in between. `info` receives the open
// file's status.
int openRegularFile(const fs::path& path, struct stat& info, Refusal* refusal)
{
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        refuse(refusal, notRegular(path, info.st_mode));
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        refuse(refusal, errnoRefusal(Refusal::Reason::CannotOpen, path));
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        refuse(refusal, errnoRefusal(Refusal::Reason::CannotRead, path));
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        refuse(refusal, notRegular(path, info.st_mode));
        ::close(fd);
        return -1;
    }
    return fd;
}

// One read(), tried again when a signal cut it short.
ssize_t readSome(int fd, std::uint8_t* into, std::size_t room)
{
    ssize_t n = 0;
    do
        n = ::read(fd, into, room);
    while (n < 0 && errno == EINTR);
    return n;
}

std::nullopt_t readFailed(int fd, const fs::path& path, Refusal* refusal)
{
    refuse(refusal, errnoRefusal(Refusal::Reason::CannotRead, path));
    ::close(fd);
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::uint8_t>> readFile(
    const fs::path& path, const FileKind& kind, Refusal* refusal)
{
    struct stat info { };
    const int fd = openRegularFile(path, info, refusal);
    if (fd < 0)
        return std::nullopt;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > kind.maxBytes) {
        ::close(fd);
        refuse(refusal, tooLarge(path, size, false, kind));
        return std::nullopt;
    }
    // Sized once from the file's length and read straight into place, so
    // reading never holds a half-grown copy too. A file that grows meanwhile
    // (or tells no length, as some of /proc) is read on in blocks to its end,
    // but never past the bound.
    const auto expected = static_cast<std::size_t>(size);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(expected);
    preferHugePages(bytes.data(), expected);
    bytes.resize(expected);
    std::size_t done = 0;
    std::uint8_t probe[4096];
    for (;;) {
        // A full buffer is not yet the end: a small read tells, without
        // growing the buffer for a file that ends where it said.
        const bool full = done == bytes.size();
        std::uint8_t* into = full ? probe : bytes.data() + done;
        const std::size_t room = full ? sizeof probe : bytes.size() - done;
        const ssize_t n = readSome(fd, into, room);
        if (n < 0)
            return readFailed(fd, path, refusal);
        if (n == 0)
            break;
        if (full) {
            if (done + static_cast<std::size_t>(n) > kind.maxBytes) {
                ::close(fd);
                refuse(refusal, tooLarge(path, done + static_cast<std::size_t>(n), true, kind));
                return std::nullopt;
            }
            bytes.insert(bytes.end(), probe, probe + n);
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return bytes;
}

std::optional<std::vector<std::uint8_t>> readFileHead(
    const fs::path& path, std::size_t count, Refusal* refusal)
{
    struct stat info { };
    const int fd = openRegularFile(path, info, refusal);
    if (fd < 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = readSome(fd, bytes.data() + done, count - done);
        if (n < 0)
            return readFailed(fd, path, refusal);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return bytes;
}

std::optional<Refusal> refusalFor(const fs::path& path, const FileKind& kind)
{
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0)
        return errnoRefusal(Refusal::Reason::CannotOpen, path);
    if (!S_ISREG(info.st_mode))
        return notRegular(path, info.st_mode);
    if (static_cast<std::uint64_t>(info.st_size) > kind.maxBytes)
        return tooLarge(path, static_cast<std::uint64_t>(info.st_size), false, kind);
    return std::nullopt;
}

} // namespace tolm::files
