#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tolm::store {

// Whether `name` is a shelf file's name: "tolm95.dat" or "tolmcN.dat".
bool isShelfFileName(const std::string& name);

// The shelf file that `name` is a conflict copy of, when it is one: the
// copies a file-sync service makes when two machines changed the same file
// (Syncthing's "tolm95.sync-conflict-DATE-TIME-DEVICE.dat", Nextcloud's and
// ownCloud's "tolm95 (conflicted copy DATE).dat" and
// "tolm95_conflict-DATE-TIME.dat", Dropbox's "tolm95 (HOST's conflicted copy
// DATE).dat", Seafile's "tolm95 (SFConflict USER DATE).dat"), and those Tolm
// makes itself, "tolm95-conflicto-DATE-TIME.dat".
std::optional<std::string> conflictCopyOf(const std::string& name);

struct ConflictCopy {
    std::string name; // the copy's file name in the folder
    std::string shelfFile; // the shelf file it copies
    bool operator==(const ConflictCopy&) const = default;
};

// The conflict copies of shelf files in `dir`, sorted by name; folders are
// never copies. A folder that cannot be listed holds none.
std::vector<ConflictCopy> conflictCopies(const std::filesystem::path& dir);

} // namespace tolm::store
