#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
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
//
// A copy is only ever replaced by a whole, sound one: the new copy is made in
// a folder of its own beside the old and takes its place in one step, and
// only when every file of the shelf reads as a shelf file. Whatever stops
// that leaves the old copy as it was.
class SavePoint {
public:
    static constexpr const char* kFolderName = ".tolm-guardado";

    // What keeps the state from being kept or restored.
    struct Fault {
        enum class Kind {
            None,
            FolderIsLink, // the copy's folder is a symbolic link: never followed
            FolderNotAFolder, // something else has the copy's folder name
            MainMissing, // the main shelf file is not there
            NotAShelf, // `file` is someone else's file, not a shelf file
            Unsound, // `file` cannot be read whole as a shelf file
            CannotWrite, // the copy or the shelf could not be written
        };
        Kind kind { Kind::None };
        // The file concerned: a name in the shelf folder or in the copy's.
        std::string file;
        // The reader's or the system's words.
        std::string reason;
        explicit operator bool() const { return kind != Kind::None; }
    };

    // Reads the shelf in `shelfFolder` as it is now: the state of the start
    // of this run.
    explicit SavePoint(const std::filesystem::path& shelfFolder);

    static std::filesystem::path folder(const std::filesystem::path& shelfFolder)
    {
        return shelfFolder / kFolderName;
    }
    // Whether anything stands at the copy's name: a copy kept (in any run),
    // or something that takes its place.
    static bool kept(const std::filesystem::path& shelfFolder);
    // Copies the shelf files as they are now on disk over the kept copy. The
    // main file and every folder file it names that is there must read whole
    // as shelf files (links in the shelf folder are followed, as the windows
    // follow them); otherwise nothing is written and the fault names the file.
    static Fault keep(const std::filesystem::path& shelfFolder);
    // The state to write back: the kept copy, when it is sound (no link in
    // it, every file whole), or the start of this run when none was kept.
    std::optional<ShelfTree> stateToRestore(const std::filesystem::path& shelfFolder, Fault* fault) const;
    // Writes `state` back over the shelf files. Files that already hold those
    // bytes are left alone; folder files made since are left in place, named
    // by nothing.
    static Fault writeBack(const std::filesystem::path& shelfFolder, const ShelfTree& state);

private:
    ShelfTree m_atStart;
};

} // namespace tolm::store
