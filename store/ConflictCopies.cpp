#include "store/ConflictCopies.h"

#include <algorithm>
#include <regex>

namespace tolm::store {

namespace fs = std::filesystem;

namespace {

const std::regex& shelfName()
{
    static const std::regex pattern("(tolm95|tolmc[0-9]+)\\.dat");
    return pattern;
}

// The shelf file's stem, then what each service puts between it and ".dat".
const std::regex& copyName()
{
    static const std::regex pattern("(tolm95|tolmc[0-9]+)"
                                    "(\\.sync-conflict-[0-9]{8}-[0-9]{6}-[A-Z0-9]+"
                                    "| \\([^()]*conflicted copy[^()]*(\\([0-9]+\\))?\\)"
                                    "| \\(SFConflict [^()]*\\)"
                                    "|_conflict-[0-9]{8}-[0-9]{6}"
                                    "|-conflicto-[0-9]{8}-[0-9]{6}(-[0-9]+)?)"
                                    "\\.dat");
    return pattern;
}

} // namespace

bool isShelfFileName(const std::string& name)
{
    return std::regex_match(name, shelfName());
}

std::optional<std::string> conflictCopyOf(const std::string& name)
{
    std::smatch match;
    if (!std::regex_match(name, match, copyName()))
        return std::nullopt;
    return match[1].str() + ".dat";
}

std::vector<ConflictCopy> conflictCopies(const fs::path& dir)
{
    std::vector<ConflictCopy> copies;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (it->is_directory(typeError))
            continue;
        if (auto shelfFile = conflictCopyOf(name))
            copies.push_back({ name, std::move(*shelfFile) });
    }
    std::sort(copies.begin(), copies.end(),
        [](const ConflictCopy& a, const ConflictCopy& b) { return a.name < b.name; });
    return copies;
}

} // namespace tolm::store
