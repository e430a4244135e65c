#include "store/SavePoint.h"

#include "store/ShelfFile.h"

#include <cerrno>
#include <cstring>
#include <set>
#include <sys/stat.h>

namespace tolm::store {

namespace fs = std::filesystem;

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

bool writeTree(const fs::path& dir, const ShelfTree& tree, Links links, std::string* error)
{
    for (const auto& [name, bytes] : tree) {
        if (readFileBytes(dir / name) == bytes)
            continue;
        if (!writeFileAtomically(dir / name, bytes, error, links))
            return false;
    }
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
    return fs::is_regular_file(fs::symlink_status(folder(shelfFolder) / kMainShelfFile, ec));
}

bool SavePoint::keep(const fs::path& shelfFolder, std::string* error)
{
    const ShelfTree now = readShelfTree(shelfFolder, kMainShelfFile);
    std::error_code ec;
    // The copies are the user's alone, as the shelf folder may not be.
    if (!fs::is_directory(fs::symlink_status(folder(shelfFolder), ec))) {
        if (::mkdir(folder(shelfFolder).c_str(), 0700) != 0) {
            if (error)
                *error = "cannot create " + folder(shelfFolder).string() + ": " + std::strerror(errno);
            return false;
        }
    }
    // Never through a link planted in the copies' folder.
    if (!writeTree(folder(shelfFolder), now, Links::Replace, error))
        return false;
    for (const auto& entry : fs::directory_iterator(folder(shelfFolder), ec)) {
        const std::string name = entry.path().filename().string();
        std::error_code removeError;
        if (name.ends_with(".dat") && !now.contains(name) && !entry.is_directory(removeError))
            fs::remove(entry.path(), removeError);
    }
    return true;
}

bool SavePoint::restore(const fs::path& shelfFolder, std::string* error) const
{
    const ShelfTree back = kept(shelfFolder) ? readShelfTree(folder(shelfFolder), kMainShelfFile) : m_atStart;
    return writeTree(shelfFolder, back, Links::Follow, error);
}

} // namespace tolm::store
