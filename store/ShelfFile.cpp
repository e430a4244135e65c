#include "store/ShelfFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace tolm::store {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kNameMax = 255; // NAME_MAX: the longest directory entry

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

std::uint32_t get32(std::span<const std::uint8_t> data, std::size_t at)
{
    return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 | std::uint32_t(data[at + 2]) << 16
        | std::uint32_t(data[at + 3]) << 24;
}

std::string errnoText(const std::string& what, const fs::path& path)
{
    return what + " " + path.string() + ": " + std::strerror(errno);
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

constexpr std::uint8_t kCarpeta = 1;

void deleteTree(const fs::path& dir, const std::string& name, std::set<std::string>& visited,
    std::vector<std::string>& deleted, std::vector<std::string>* broken)
{
    auto complain = [broken](const std::string& text) {
        if (broken)
            broken->push_back(text);
    };
    if (!isFollowableFolderFile(name)) {
        complain(name + ": not a folder file name; left alone");
        return;
    }
    if (!visited.insert(name).second)
        return;
    const fs::path path = dir / name;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)))
        return;
    std::string error;
    const auto bytes = readFileBytes(path, &error);
    if (!bytes) {
        // What cannot be read cannot be known to be ours.
        complain(error + "; left alone");
        return;
    }
    if (!hasShelfMagic(*bytes)) {
        // Someone else's file that a folder happens to name: never ours to delete.
        complain(name + ": not a shelf file; left alone");
        return;
    }
    const FolderScan scan = scanFolderFiles(*bytes);
    for (const auto& child : scan.names) {
        if (isFollowableFolderFile(child))
            deleteTree(dir, child, visited, deleted, broken);
    }
    if (scan.error)
        complain(name + ": " + scan.error->what() + " at byte " + std::to_string(scan.error->offset()));
    if (fs::remove(path, ec))
        deleted.push_back(name);
}

// The parts of a temporary file name of writeFileAtomically (tempFileNameFor):
// the file it was to become (for a long name, HEAD~HASH.dat) and the process.
struct TempName {
    std::string target;
    long pid { 0 };
};

std::optional<TempName> parseTempName(const std::string& file)
{
    if (file.size() < 2 || file[0] != '.')
        return std::nullopt;
    const auto dash = file.rfind('-');
    const auto tmp = file.rfind(".tmp", dash);
    if (dash == std::string::npos || tmp == std::string::npos || tmp < 2)
        return std::nullopt;
    const std::string pid = file.substr(tmp + 4, dash - tmp - 4);
    const std::string attempt = file.substr(dash + 1);
    auto allDigits = [](const std::string& s) {
        return !s.empty() && s.size() < 10 && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!allDigits(pid) || !allDigits(attempt))
        return std::nullopt;
    return TempName { file.substr(1, tmp - 1), std::stol(pid) };
}

bool processIsAlive(long pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace

void writeHeader(const ShelfHeader& h, std::vector<std::uint8_t>& out)
{
    put32(out, static_cast<std::uint32_t>(h.magic));
    put32(out, static_cast<std::uint32_t>(h.left));
    put32(out, static_cast<std::uint32_t>(h.top));
    put32(out, static_cast<std::uint32_t>(h.right));
    put32(out, static_cast<std::uint32_t>(h.bottom));
    out.push_back(h.frameShown);
    out.push_back(h.alwaysButtons);
    out.push_back(h.padding[0]);
    out.push_back(h.padding[1]);
    put32(out, h.color);
}

ShelfHeader readHeader(std::span<const std::uint8_t> data)
{
    if (data.size() < kShelfHeaderSize)
        throw StreamError(kInvalidStreamFormat, data.size());
    ShelfHeader h;
    h.magic = static_cast<std::int32_t>(get32(data, 0));
    h.left = static_cast<std::int32_t>(get32(data, 4));
    h.top = static_cast<std::int32_t>(get32(data, 8));
    h.right = static_cast<std::int32_t>(get32(data, 12));
    h.bottom = static_cast<std::int32_t>(get32(data, 16));
    h.frameShown = data[20];
    h.alwaysButtons = data[21];
    h.padding[0] = data[22];
    h.padding[1] = data[23];
    h.color = get32(data, 24);
    return h;
}

ShelfReader::ShelfReader(std::span<const std::uint8_t> data)
    : m_data(data)
    , m_pos(kShelfHeaderSize)
    , m_header(readHeader(data))
{ }

Record ShelfReader::nextRecord()
{
    return readRecord(m_data, m_pos);
}

FontDialogState ShelfReader::nextFontDialog()
{
    return readFontDialog(m_data, m_pos);
}

SpButtonState ShelfReader::nextItem()
{
    return readSpButton(m_data, m_pos);
}

ShelfFile parseShelf(std::span<const std::uint8_t> data)
{
    ShelfReader reader(data);
    if (!reader.magicMatches())
        throw StreamError(kInvalidStreamFormat, 0);
    ShelfFile file;
    file.header = reader.header();
    file.fontDialog = reader.nextRecord();
    while (!reader.atEnd())
        file.items.push_back(reader.nextRecord());
    return file;
}

std::vector<std::uint8_t> serializeShelf(const ShelfFile& file)
{
    std::vector<std::uint8_t> out;
    writeHeader(file.header, out);
    writeRecord(file.fontDialog, out);
    for (const auto& item : file.items)
        writeRecord(item, out);
    return out;
}

namespace {

std::nullopt_t refused(const files::Refusal& refusal, std::string* error)
{
    if (error)
        *error = refusal.text;
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::uint8_t>> readFileBytes(
    const fs::path& path, std::string* error, const files::FileKind& kind)
{
    files::Refusal refusal;
    auto bytes = files::readFile(path, kind, &refusal);
    return bytes ? std::move(bytes) : refused(refusal, error);
}

std::optional<std::vector<std::uint8_t>> readFileHead(
    const fs::path& path, std::size_t count, std::string* error)
{
    files::Refusal refusal;
    auto bytes = files::readFileHead(path, count, &refusal);
    return bytes ? std::move(bytes) : refused(refusal, error);
}

bool writeFileAtomically(
    const fs::path& requested, std::span<const std::uint8_t> bytes, std::string* error, Links links)
{
    auto failed = [&](const std::string& message) {
        if (error)
            *error = message;
        return false;
    };
    std::error_code ec;
    fs::path path = requested;
    if (links == Links::Follow) {
        // Replace the file a link points at, not the link.
        if (fs::is_symlink(fs::symlink_status(path, ec)))
            path = fs::weakly_canonical(path, ec);
        if (ec)
            path = requested;
    }

    // The mode of the file replaced is kept; a link replaced lends none.
    struct stat old { };
    const bool hadOld = links == Links::Follow ? ::stat(path.c_str(), &old) == 0
                                               : ::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string name = path.filename().string();
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = dir / tempFileNameFor(name, ::getpid(), attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failed(errnoText("cannot create", temp));
    }
    if (fd < 0)
        return failed(errnoText("cannot create", temp));
    if (hadOld)
        ::fchmod(fd, old.st_mode & 07777);
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const std::string writeError = written ? std::string() : errnoText("cannot write", temp);
    if (::close(fd) != 0 && written) {
        const std::string closeError = errnoText("cannot write", temp);
        ::unlink(temp.c_str());
        return failed(closeError);
    }
    if (!written) {
        ::unlink(temp.c_str());
        return failed(writeError);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string renameError = errnoText("cannot replace", path);
        ::unlink(temp.c_str());
        return failed(renameError);
    }
    // Make the rename itself durable.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::string tempFileNameFor(const std::string& name, long pid, int attempt)
{
    const std::string tail = ".tmp" + std::to_string(pid) + "-" + std::to_string(attempt);
    // Measured with the longest attempt number, so that all of one save's
    // attempts take the same form.
    const std::size_t longestTail = 4 + std::to_string(pid).size() + 3;
    if (1 + name.size() + longestTail <= kNameMax)
        return "." + name + tail;
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    const std::string end = std::string("~") + hex + (name.ends_with(".dat") ? ".dat" : "");
    std::size_t head = kNameMax - 1 - end.size() - longestTail;
    while (head > 0 && (static_cast<unsigned char>(name[head]) & 0xC0) == 0x80)
        --head; // not inside a UTF-8 character
    return "." + name.substr(0, head) + end + tail;
}

std::string firstFreeFolderFileName(const fs::path& dir)
{
    for (unsigned long n = 1;; ++n) {
        std::string name = "tolmc" + std::to_string(n) + ".dat";
        std::error_code ec;
        // A dangling link counts as taken: creating the file would follow it.
        if (!fs::exists(fs::symlink_status(dir / name, ec)))
            return name;
    }
}

namespace {

// First free "STEM" + mark + ".dat" beside `name`, then with a number after
// `separator`: "-recuperado.dat", "-recuperado2.dat", ... A stem too long for
// the whole to be a directory entry is cut, between characters, so that the
// mark that tells what the file is stays.
std::string firstFreeBeside(
    const fs::path& dir, const std::string& name, const std::string& mark, const std::string& separator)
{
    const std::string stem = name.ends_with(".dat") ? name.substr(0, name.size() - 4) : name;
    for (unsigned long n = 1;; ++n) {
        const std::string tail = mark + (n > 1 ? separator + std::to_string(n) : std::string()) + ".dat";
        std::size_t head = std::min(stem.size(), kNameMax - tail.size());
        while (head > 0 && head < stem.size() && (static_cast<unsigned char>(stem[head]) & 0xC0) == 0x80)
            --head;
        std::string candidate = stem.substr(0, head) + tail;
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(dir / candidate, ec)))
            return candidate;
    }
}

} // namespace

std::string firstFreeRecoveryFileName(const fs::path& dir, const std::string& name)
{
    return firstFreeBeside(dir, name, "-recuperado", "");
}

std::string firstFreeConflictFileName(const fs::path& dir, const std::string& name, const std::string& stamp)
{
    return firstFreeBeside(dir, name, "-conflicto-" + stamp, "-");
}

FolderScan scanFolderFiles(std::span<const std::uint8_t> data)
{
    FolderScan scan;
    try {
        ShelfReader reader(data);
        scan.magicMatches = reader.magicMatches();
        if (!scan.magicMatches)
            return scan;
        reader.nextFontDialog();
        while (!reader.atEnd()) {
            SpButtonState item = reader.nextItem();
            if (item.clase == kCarpeta)
                scan.names.push_back(std::move(item.comando));
        }
    } catch (const StreamError& e) {
        scan.error = e;
    }
    return scan;
}

std::vector<std::string> folderFilesNamedIn(std::span<const std::uint8_t> data)
{
    return scanFolderFiles(data).names;
}

bool hasShelfMagic(std::span<const std::uint8_t> data)
{
    return data.size() >= 4 && static_cast<std::int32_t>(get32(data, 0)) == kShelfMagic;
}

bool isFollowableFolderFile(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name == kMainShelfFile)
        return false;
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos
        && name.find('\0') == std::string::npos;
}

std::vector<std::string> removeStaleTempFiles(const fs::path& dir)
{
    std::vector<std::string> removed;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string file = entry.path().filename().string();
        const auto temp = parseTempName(file);
        if (!temp || !temp->target.ends_with(".dat") || processIsAlive(temp->pid))
            continue;
        std::error_code removeError;
        if (entry.is_regular_file(removeError) && fs::remove(entry.path(), removeError))
            removed.push_back(file);
    }
    return removed;
}

std::vector<std::string> deleteShelfTree(
    const fs::path& dir, const std::string& name, std::vector<std::string>* broken)
{
    std::set<std::string> visited;
    std::vector<std::string> deleted;
    deleteTree(dir, name, visited, deleted, broken);
    return deleted;
}

} // namespace tolm::store
