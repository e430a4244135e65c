#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tolm::store {

// A shelf file and the folder files it names, recursively, by name.
using ShelfTree = std::map<std::string, std::vector<std::uint8_t>>;

// Reads `root` in `dir` and every followable folder file it names, each
// once (folder files that name each other in a cycle end). Files that are
// missing, cannot be read or are not shelf files are left out.
ShelfTree readShelfTree(const std::filesystem::path& dir, const std::string& root);

// The state "Restaurar configuración" returns to: a copy of the shelf files
// that "Guardar configuración" keeps in a hidden folder beside them, so that
// it survives a crash and a restart and `tolm-shelf` reads it like any shelf.
// Until the first copy is kept, the files as they were when this run began
// stand in for it.
class SavePoint {
public:
    static constexpr const char* kFolderName = ".tolm-guardado";

    // Reads the shelf in `shelfFolder` as it is now: the state of the start
    // of this run.
    explicit SavePoint(const std::filesystem::path& shelfFolder);

    static std::filesystem::path folder(const std::filesystem::path& shelfFolder)
    {
        return shelfFolder / kFolderName;
    }
    // Whether "Guardar configuración" has kept a copy (in any run).
    static bool kept(const std::filesystem::path& shelfFolder);
    // Copies the shelf files as they are now on disk into the hidden folder
    // and removes older copies that are no longer part of the shelf.
    static bool keep(const std::filesystem::path& shelfFolder, std::string* error);
    // Writes the kept copy (or the start of this run) back over the shelf
    // files. Files that already hold those bytes are left alone; folder
    // files made since are left in place, named by nothing.
    bool restore(const std::filesystem::path& shelfFolder, std::string* error) const;

private:
    ShelfTree m_atStart;
};

} // namespace tolm::store
