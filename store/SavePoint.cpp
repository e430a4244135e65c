#include "store/SavePoint.h"

#include "store/ShelfFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace tolm::store {

namespace fs = std::filesystem;

using Fault = SavePoint::Fault;

namespace {

void readInto(const fs::path& dir, const std::string& name, ShelfTree& tree, std::set<std::string>& visited)
{
    if (!visited.insert(name).second)
        return;
    auto bytes = readFileBytes(dir / name);
    if (!bytes || !hasShelfMagic(*bytes))
        return;
    const std::vector<std::string> folders = folderFilesNamedIn(*bytes);
    tree.emplace(name, std::move(*bytes));
    for (const std::string& folder : folders) {
        if (isFollowableFolderFile(folder))
            readInto(dir, folder, tree, visited);
    }
}

// What a shelf tree is read for: the shelf folder itself, whose files a
// user may keep as links, or a kept copy, which holds only files we wrote.
enum class LinksIn { Shelf, Copy };

// Reads `name` and the folder files it names, recursively, each of them
// whole as a window would load it. A folder file that is not there yet
// (a folder never opened) is no fault; the main file missing is.
bool readSound(const fs::path& dir, const std::string& name, LinksIn links, ShelfTree& tree,
    std::set<std::string>& visited, Fault& fault)
{
    if (!visited.insert(name).second)
        return true;
    const fs::path path = dir / name;
    struct stat named { };
    if (::lstat(path.c_str(), &named) != 0) {
        const int error = errno;
        if (error == ENOENT && name != kMainShelfFile)
            return true;
        fault = { error == ENOENT ? Fault::Kind::MainMissing : Fault::Kind::Unsound, name,
            std::strerror(error) };
        return false;
    }
    if (S_ISLNK(named.st_mode) && links == LinksIn::Copy) {
        fault = { Fault::Kind::Unsound, name, "a symbolic link, not a file of the copy" };
        return false;
    }
    std::string error;
    auto bytes = readFileBytes(path, &error);
    if (!bytes) {
        fault = { Fault::Kind::Unsound, name, error };
        return false;
    }
    const FolderScan scan = scanFolderFiles(*bytes);
    if (!scan.magicMatches) {
        fault = { Fault::Kind::NotAShelf, name, "not a shelf file" };
        return false;
    }
    if (scan.error) {
        fault = { Fault::Kind::Unsound, name,
            std::string(scan.error->what()) + " (byte " + std::to_string(scan.error->offset()) + ")" };
        return false;
    }
    tree.emplace(name, std::move(*bytes));
    for (const std::string& folder : scan.names) {
        if (isFollowableFolderFile(folder) && !readSound(dir, folder, links, tree, visited, fault))
            return false;
    }
    return true;
}

std::optional<ShelfTree> readSoundTree(const fs::path& dir, LinksIn links, Fault& fault)
{
    ShelfTree tree;
    std::set<std::string> visited;
    if (!readSound(dir, kMainShelfFile, links, tree, visited, fault))
        return std::nullopt;
    return tree;
}

// The copy's folder is ours alone: a link there is never followed, whatever
// it points at, and anything else at its name is not ours to replace.
Fault folderFault(const fs::path& copy)
{
    struct stat named { };
    if (::lstat(copy.c_str(), &named) != 0)
        return {};
    if (S_ISLNK(named.st_mode))
        return { Fault::Kind::FolderIsLink, SavePoint::kFolderName, "a symbolic link" };
    if (!S_ISDIR(named.st_mode))
        return { Fault::Kind::FolderNotAFolder, SavePoint::kFolderName, "not a folder" };
    return {};
}

// The folders a copy is made in, ".tolm-guardado.XXXXXX" (mkdtemp's six
// characters): one left there was being made by a process that was killed.
std::string unfinishedPattern(const fs::path& shelfFolder)
{
    return (shelfFolder / (std::string(SavePoint::kFolderName) + ".XXXXXX")).string();
}

void removeUnfinishedCopies(const fs::path& shelfFolder)
{
    const std::string prefix = std::string(SavePoint::kFolderName) + ".";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(shelfFolder, ec)) {
        const std::string name = entry.path().filename().string();
        std::error_code removeError;
        // Only a real folder of that shape; remove_all follows no link inside it.
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix)
            && fs::is_directory(fs::symlink_status(entry.path(), removeError)))
            fs::remove_all(entry.path(), removeError);
    }
}

std::string errnoText(const std::string& what, const fs::path& path)
{
    return what + " " + path.string() + ": " + std::strerror(errno);
}

void syncFolder(const fs::path& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Puts the folder `fresh` at the copy's name in one step: the old copy and
// the new swap names, and the old is then removed. Where the file system
// cannot swap (some network and FUSE ones), the old copy steps aside first.
bool swapIn(const fs::path& shelfFolder, const fs::path& fresh, const fs::path& copy, std::string* error)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(copy, ec))) {
        if (::rename(fresh.c_str(), copy.c_str()) == 0)
            return true;
        *error = errnoText("cannot rename to", copy);
        return false;
    }
    if (::renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, copy.c_str(), RENAME_EXCHANGE) == 0) {
        fs::remove_all(fresh, ec);
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        *error = errnoText("cannot replace", copy);
        return false;
    }
    std::string aside = unfinishedPattern(shelfFolder);
    if (!::mkdtemp(aside.data()) || ::rename(copy.c_str(), aside.c_str()) != 0) {
        *error = errnoText("cannot move aside", copy);
        ::rmdir(aside.c_str());
        return false;
    }
    if (::rename(fresh.c_str(), copy.c_str()) != 0) {
        *error = errnoText("cannot rename to", copy);
        ::rename(aside.c_str(), copy.c_str());
        return false;
    }
    fs::remove_all(aside, ec);
    return true;
}

} // namespace

ShelfTree readShelfTree(const fs::path& dir, const std::string& root)
{
    ShelfTree tree;
    std::set<std::string> visited;
    readInto(dir, root, tree, visited);
    return tree;
}

SavePoint::SavePoint(const fs::path& shelfFolder)
    : m_atStart(readShelfTree(shelfFolder, kMainShelfFile))
{ }

bool SavePoint::kept(const fs::path& shelfFolder)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(folder(shelfFolder), ec));
}

Fault SavePoint::keep(const fs::path& shelfFolder)
{
    const fs::path copy = folder(shelfFolder);
    if (Fault fault = folderFault(copy))
        return fault;
    Fault fault;
    const std::optional<ShelfTree> now = readSoundTree(shelfFolder, LinksIn::Shelf, fault);
    if (!now)
        return fault;

    removeUnfinishedCopies(shelfFolder);
    // Made the user's alone, as the shelf folder may not be.
    std::string made = unfinishedPattern(shelfFolder);
    if (!::mkdtemp(made.data()))
        return { Fault::Kind::CannotWrite, kFolderName, errnoText("cannot create", made) };
    const fs::path fresh = made;
    auto failed = [&fresh](Fault why) {
        std::error_code ec;
        fs::remove_all(fresh, ec);
        return why;
    };
    for (const auto& [name, bytes] : *now) {
        std::string error;
        if (!writeFileAtomically(fresh / name, bytes, &error, Links::Replace))
            return failed({ Fault::Kind::CannotWrite, name, error });
    }
    // Read back as "Restaurar configuración" will read it.
    Fault readBack;
    const std::optional<ShelfTree> written = readSoundTree(fresh, LinksIn::Copy, readBack);
    if (!written)
        return failed({ Fault::Kind::CannotWrite, readBack.file, readBack.reason });
    if (*written != *now)
        return failed({ Fault::Kind::CannotWrite, kMainShelfFile, "the copy does not read back as written" });
    std::string error;
    if (!swapIn(shelfFolder, fresh, copy, &error))
        return failed({ Fault::Kind::CannotWrite, kFolderName, error });
    syncFolder(shelfFolder);
    return {};
}

std::optional<ShelfTree> SavePoint::stateToRestore(const fs::path& shelfFolder, Fault* fault) const
{
    if (!kept(shelfFolder))
        return m_atStart;
    const fs::path copy = folder(shelfFolder);
    Fault found = folderFault(copy);
    if (!found) {
        if (std::optional<ShelfTree> tree = readSoundTree(copy, LinksIn::Copy, found))
            return tree;
    }
    if (fault)
        *fault = found;
    return std::nullopt;
}

Fault SavePoint::writeBack(const fs::path& shelfFolder, const ShelfTree& state)
{
    for (const auto& [name, bytes] : state) {
        if (readFileBytes(shelfFolder / name) == bytes)
            continue;
        std::string error;
        if (!writeFileAtomically(shelfFolder / name, bytes, &error, Links::Follow))
            return { Fault::Kind::CannotWrite, name, error };
    }
    return {};
}

} // namespace tolm::store
