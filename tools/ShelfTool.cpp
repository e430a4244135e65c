#include "tools/ShelfTool.h"

#include "store/ConflictCopies.h"
#include "store/ShelfFile.h"
#include "tools/ShelfText.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <span>
#include <string_view>

namespace tolm::tools {

namespace fs = std::filesystem;
using store::StreamError;

namespace {

constexpr const char* kUsage
    = "usage: tolm-shelf dump FILE         show a shelf file as text\n"
      "       tolm-shelf build TEXT OUT    write the shelf file a dump describes\n"
      "       tolm-shelf check FILE        exit 0 for a sound shelf file, else 1\n"
      "       tolm-shelf check FOLDER      check every shelf file in it and list the conflict\n"
      "                                    copies a sync service made: exit 0 when all are\n"
      "                                    sound and there is no copy, 1 when one is not,\n"
      "                                    3 when all are sound but copies lie beside them\n"
      "       tolm-shelf tree FILE         list the folder files a shelf file reaches\n";

std::string at(const StreamError& e)
{
    return std::string(e.what()) + " at byte " + std::to_string(e.offset());
}

std::string magicText(std::int32_t magic)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", unsigned(magic));
    return buffer;
}

std::string magicFault(std::int32_t magic)
{
    return "not a shelf file: magic " + magicText(magic) + " where " + magicText(store::kShelfMagic)
        + " (bytes 73 1F 0F 00) belongs";
}

int dump(const std::string& file, std::ostream& out, std::ostream& err)
{
    std::string error;
    const auto bytes = store::readFileBytes(file, &error);
    if (!bytes) {
        err << "tolm-shelf: " << error << "\n";
        return 1;
    }
    try {
        dumpShelfText(*bytes, file, out);
    } catch (const StreamError& e) {
        err << file << ": " << at(e) << "\n";
        return 1;
    }
    return 0;
}

// What check finds wrong with a shelf file's bytes, read the way a window
// loads it: header, font dialog, items, each through its typed reader so that
// property errors count too. Nothing when the bytes are sound; `items` is the
// number of items read.
std::optional<std::string> shelfFault(std::span<const std::uint8_t> bytes, int& items)
{
    // Items read whole; -2 while the header is read, -1 the font dialog.
    items = -2;
    try {
        store::ShelfReader reader(bytes);
        if (!reader.magicMatches())
            return magicFault(reader.header().magic);
        items = -1;
        reader.nextFontDialog();
        items = 0;
        while (!reader.atEnd()) {
            reader.nextItem();
            ++items;
        }
        return std::nullopt;
    } catch (const StreamError& e) {
        const std::string where = items == -2 ? "header"
            : items == -1                     ? "font dialog"
                                              : "item " + std::to_string(items + 1);
        return at(e) + " (" + where + ")";
    }
}

// A dump of the largest shelf file is some four times as large: its bytes in
// hex, and texts with a byte in four characters at worst.
constexpr files::FileKind kShelfTextKind { "a shelf text", 5 * store::kMaxShelfFileBytes };

int build(const std::string& textFile, const std::string& outFile, std::ostream& err)
{
    std::string error;
    const auto text = store::readFileBytes(textFile, &error, kShelfTextKind);
    if (!text) {
        err << "tolm-shelf: " << error << "\n";
        return 1;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = buildShelfText(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
    } catch (const ShelfTextError& e) {
        err << textFile << ":" << e.line() << ": " << e.what() << "\n";
        return 1;
    }
    // Only a file that check accepts is written. The text was held to that
    // as it was read; the bytes are read once more as check reads them.
    int items = 0;
    if (const auto fault = shelfFault(bytes, items)) {
        err << textFile << ": the file built would not be sound: " << *fault << "\n";
        return 1;
    }
    if (bytes.size() > store::kMaxShelfFileBytes) {
        err << textFile << ": the file built would be " << bytes.size()
            << " bytes, more than a shelf file may hold (" << store::kMaxShelfFileBytes << ")\n";
        return 1;
    }
    if (!store::writeFileAtomically(outFile, bytes, &error)) {
        err << "tolm-shelf: " << error << "\n";
        return 1;
    }
    return 0;
}

int check(const std::string& file, std::ostream& out, std::ostream& err)
{
    // The magic is looked at first: another program's file, however large,
    // is refused after its first bytes.
    std::string error;
    const auto head = store::readFileHead(file, store::kShelfHeaderSize, &error);
    if (!head) {
        err << "tolm-shelf: " << error << "\n";
        return 1;
    }
    if (head->size() == store::kShelfHeaderSize && !store::hasShelfMagic(*head)) {
        err << file << ": " << magicFault(store::readHeader(*head).magic) << "\n";
        return 1;
    }
    const auto bytes = store::readFileBytes(file, &error);
    if (!bytes) {
        err << "tolm-shelf: " << error << "\n";
        return 1;
    }
    int items = 0;
    if (const auto fault = shelfFault(*bytes, items)) {
        err << file << ": " << *fault << "\n";
        return 1;
    }
    out << file << ": sound shelf file, " << items << (items == 1 ? " item\n" : " items\n");
    return 0;
}

// The exit status of a folder's check when every shelf file is sound but
// conflict copies lie beside them: someone has to choose between them.
constexpr int kConflictCopiesFound = 3;

int checkFolder(const fs::path& dir, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> shelves;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (store::isShelfFileName(name) && !it->is_directory(typeError))
            shelves.push_back(name);
    }
    if (ec) {
        err << "tolm-shelf: cannot list " << dir.string() << ": " << ec.message() << "\n";
        return 1;
    }
    std::sort(shelves.begin(), shelves.end());
    if (shelves.empty())
        out << dir.string() << ": no shelf files\n";
    int status = 0;
    for (const std::string& name : shelves)
        status = std::max(status, check((dir / name).string(), out, err));
    const auto copies = store::conflictCopies(dir);
    for (const auto& copy : copies)
        out << (dir / copy.name).string() << ": a conflict copy of " << copy.shelfFile << "\n";
    return status == 0 && !copies.empty() ? kConflictCopiesFound : status;
}

class TreeWalker {
public:
    TreeWalker(fs::path dir, std::ostream& out)
        : m_dir(std::move(dir))
        , m_out(out)
    { }

    bool walk(const std::string& name, int depth)
    {
        const std::string indent(std::size_t(depth) * 2, ' ');
        if (m_path.count(name)) {
            m_out << indent << name << "  (cycle: already open above)\n";
            return true;
        }
        if (m_seen.count(name)) {
            m_out << indent << name << "  (listed before)\n";
            return true;
        }
        m_seen.insert(name);
        std::string error;
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(m_dir / name, ec))) {
            m_out << indent << name << "  (missing)\n";
            return false;
        }
        // Only the names are kept: the files further down the tree are read
        // one at a time, not all those above them at once.
        store::FolderScan scan;
        const auto head = store::readFileHead(m_dir / name, store::kShelfHeaderSize, &error);
        if (head && head->size() == store::kShelfHeaderSize && !store::hasShelfMagic(*head)) {
            m_out << indent << name << "  (not a shelf file)\n"; // not read any further
            return true;
        }
        if (const auto bytes = head ? store::readFileBytes(m_dir / name, &error) : std::nullopt) {
            scan = store::scanFolderFiles(*bytes);
        } else {
            m_out << indent << name << "  (unreadable: " << error << ")\n";
            return false;
        }
        if (!scan.magicMatches && !scan.error) {
            m_out << indent << name << "  (not a shelf file)\n";
            return true;
        }
        m_out << indent << name;
        if (scan.error)
            m_out << "  (broken: " << at(*scan.error) << ")";
        m_out << "\n";
        m_path.insert(name);
        for (const auto& child : scan.names) {
            if (store::isFollowableFolderFile(child))
                walk(child, depth + 1);
            else
                m_out << indent << "  \"" << child << "\"  (not a folder file name; not followed)\n";
        }
        m_path.erase(name);
        return true;
    }

private:
    fs::path m_dir;
    std::ostream& m_out;
    std::set<std::string> m_path; // files open above the current one
    std::set<std::string> m_seen;
};

int tree(const std::string& file, std::ostream& out)
{
    const fs::path path(file);
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    TreeWalker walker(dir, out);
    return walker.walk(path.filename().string(), 0) ? 0 : 1;
}

} // namespace

int runShelfTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        out << kUsage;
        return 0;
    }
    if (args.size() == 2 && args[0] == "dump")
        return dump(args[1], out, err);
    if (args.size() == 3 && args[0] == "build")
        return build(args[1], args[2], err);
    if (args.size() == 2 && args[0] == "check") {
        std::error_code ec;
        return fs::is_directory(args[1], ec) ? checkFolder(args[1], out, err) : check(args[1], out, err);
    }
    if (args.size() == 2 && args[0] == "tree")
        return tree(args[1], out);
    err << kUsage;
    return 2;
}

} // namespace tolm::tools
