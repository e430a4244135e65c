#include "store/ShelfFile.h"

#include "store/ConflictCopies.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tolm::store;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        m_path = fs::temp_directory_path() / ("tolm-store-" + std::to_string(rd()));
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

SpButtonState folderItem(const std::string& file)
{
    SpButtonState s;
    s.clase = 1;
    s.comando = file;
    s.caption = "Carpeta Nueva";
    return s;
}

std::vector<std::uint8_t> shelf(const std::vector<SpButtonState>& items)
{
    ShelfFile file;
    file.header.right = 150;
    file.fontDialog = writeFontDialog({});
    for (const auto& item : items)
        file.items.push_back(writeSpButton(item));
    return serializeShelf(file);
}

void put(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

} // namespace

TEST(ShelfFileTest, HeaderBytes)
{
    ShelfHeader h;
    h.left = -1;
    h.color = 0x8000000F;
    std::vector<std::uint8_t> out;
    writeHeader(h, out);
    ASSERT_EQ(out.size(), kShelfHeaderSize);
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 8),
        (std::vector<std::uint8_t> { 0x73, 0x1F, 0x0F, 0x00, 0xFF, 0xFF, 0xFF, 0xFF }));
    EXPECT_EQ(out[27], 0x80);
    EXPECT_EQ(readHeader(out), h);
    EXPECT_THROW(readHeader(std::span(out).first(27)), StreamError);
}

TEST(ShelfFileTest, HeaderAndFontDialogOnlyHoldsNoItems)
{
    const auto bytes = shelf({});
    const ShelfFile file = parseShelf(bytes);
    EXPECT_TRUE(file.items.empty());
    EXPECT_EQ(readFontDialog(file.fontDialog), FontDialogState {});
    EXPECT_EQ(serializeShelf(file), bytes);
    // The header alone lacks the font dialog record.
    EXPECT_THROW(parseShelf(std::span(bytes).first(kShelfHeaderSize)), StreamError);
}

TEST(ShelfFileTest, ReaderKeepsTheRecordsBeforeABreak)
{
    auto bytes = shelf({ SpButtonState {}, folderItem("tolmc1.dat") });
    const std::size_t whole = bytes.size();
    bytes.insert(bytes.end(), { 'T', 'P', 'F', '0', 9 });
    ShelfReader reader(bytes);
    ASSERT_TRUE(reader.magicMatches());
    reader.nextRecord();
    EXPECT_EQ(readSpButton(reader.nextRecord()), SpButtonState {});
    EXPECT_EQ(readSpButton(reader.nextRecord()).comando, "tolmc1.dat");
    EXPECT_EQ(reader.position(), whole);
    try {
        reader.nextRecord();
        FAIL();
    } catch (const StreamError& e) {
        EXPECT_EQ(e.offset(), whole + 4);
    }
    bytes[0] = 0x74;
    EXPECT_FALSE(ShelfReader(bytes).magicMatches());
}

TEST(ShelfFileTest, FolderFilesNamedInFileOrder)
{
    const auto bytes = shelf({ folderItem("tolmc2.dat"), SpButtonState {}, folderItem("tolmc1.dat") });
    EXPECT_EQ(folderFilesNamedIn(bytes), (std::vector<std::string> { "tolmc2.dat", "tolmc1.dat" }));
    auto broken = bytes;
    broken.resize(broken.size() - 3);
    const FolderScan scan = scanFolderFiles(broken);
    EXPECT_EQ(scan.names, (std::vector<std::string> { "tolmc2.dat" }));
    ASSERT_TRUE(scan.error.has_value());
    EXPECT_STREQ(scan.error->what(), kInvalidStreamFormat);
}

TEST(ShelfFileTest, FirstFreeFolderName)
{
    TempDir dir;
    EXPECT_EQ(firstFreeFolderFileName(dir.path()), "tolmc1.dat");
    put(dir.path() / "tolmc1.dat", {});
    put(dir.path() / "tolmc3.dat", {});
    EXPECT_EQ(firstFreeFolderFileName(dir.path()), "tolmc2.dat");
}

TEST(ShelfFileTest, DeletesAWholeTreeOfFour)
{
    TempDir dir;
    put(dir.path() / "tolmc1.dat", shelf({ folderItem("tolmc2.dat"), folderItem("tolmc4.dat") }));
    put(dir.path() / "tolmc2.dat", shelf({ folderItem("tolmc3.dat") }));
    put(dir.path() / "tolmc3.dat", shelf({}));
    put(dir.path() / "tolmc4.dat", shelf({}));
    put(dir.path() / "tolmc5.dat", shelf({}));
    const auto deleted = deleteShelfTree(dir.path(), "tolmc1.dat");
    EXPECT_EQ(deleted, (std::vector<std::string> { "tolmc3.dat", "tolmc2.dat", "tolmc4.dat", "tolmc1.dat" }));
    EXPECT_FALSE(fs::exists(dir.path() / "tolmc1.dat"));
    EXPECT_TRUE(fs::exists(dir.path() / "tolmc5.dat"));
    EXPECT_TRUE(deleteShelfTree(dir.path(), "tolmc1.dat").empty());
}

TEST(ShelfFileTest, DeletingEndsAtCyclesAndKeepsOutsideFiles)
{
    TempDir dir;
    put(dir.path() / "tolmc1.dat", shelf({ folderItem("tolmc2.dat"), folderItem("../fuera.txt") }));
    put(dir.path() / "tolmc2.dat", shelf({ folderItem("tolmc1.dat"), folderItem("tolm95.dat") }));
    put(dir.path() / "tolm95.dat", shelf({}));
    put(dir.path().parent_path() / "fuera.txt", { 1, 2, 3 });
    const auto deleted = deleteShelfTree(dir.path(), "tolmc1.dat");
    EXPECT_EQ(deleted, (std::vector<std::string> { "tolmc2.dat", "tolmc1.dat" }));
    EXPECT_TRUE(fs::exists(dir.path() / "tolm95.dat"));
    EXPECT_TRUE(fs::exists(dir.path().parent_path() / "fuera.txt"));
    fs::remove(dir.path().parent_path() / "fuera.txt");
}

TEST(ShelfFileTest, DeletingWrongMagicAndBrokenFiles)
{
    TempDir dir;
    auto broken = shelf({ folderItem("tolmc3.dat"), folderItem("tolmc4.dat") });
    broken.resize(broken.size() - 5);
    put(dir.path() / "tolmc1.dat", shelf({ folderItem("tolmc2.dat"), folderItem("tolmc5.dat") }));
    put(dir.path() / "tolmc2.dat", broken);
    put(dir.path() / "tolmc3.dat", shelf({}));
    put(dir.path() / "tolmc4.dat", shelf({}));
    // Another program's file, and one too short to tell: never ours to delete.
    put(dir.path() / "tolmc5.dat",
        { 'n', 'o', ' ', 'e', 's', ' ', 'u', 'n', 'a', ' ', 'b', 'a', 'n', 'd', 'e', 'j', 'a', 'x', 'x', 'x',
            'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x' });
    put(dir.path() / "tolmc6.dat", { 0x73, 0x1F });
    put(dir.path() / "tolmc7.dat", shelf({ folderItem("tolmc5.dat"), folderItem("tolmc6.dat") }));
    std::vector<std::string> problems;
    auto deleted = deleteShelfTree(dir.path(), "tolmc1.dat", &problems);
    EXPECT_EQ(deleted, (std::vector<std::string> { "tolmc3.dat", "tolmc2.dat", "tolmc1.dat" }));
    EXPECT_TRUE(fs::exists(dir.path() / "tolmc4.dat"));
    EXPECT_TRUE(fs::exists(dir.path() / "tolmc5.dat"));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].rfind("tolmc2.dat: Invalid stream format at byte ", 0), 0u);
    EXPECT_EQ(problems[1], "tolmc5.dat: not a shelf file; left alone");

    problems.clear();
    deleted = deleteShelfTree(dir.path(), "tolmc7.dat", &problems);
    EXPECT_EQ(deleted, std::vector<std::string> { "tolmc7.dat" });
    EXPECT_TRUE(fs::exists(dir.path() / "tolmc5.dat"));
    EXPECT_TRUE(fs::exists(dir.path() / "tolmc6.dat"));
    EXPECT_EQ(problems.size(), 2u);

    // The name asked for is held to the same rule as the names inside.
    for (const char* name : { "tolm95.dat", "../fuera.dat", "/tmp/x.dat", "", "." }) {
        problems.clear();
        EXPECT_TRUE(deleteShelfTree(dir.path(), name, &problems).empty()) << name;
        EXPECT_EQ(problems.size(), 1u) << name;
    }
}

TEST(ShelfFileTest, EveryLegalNameCanBeSavedAndItsStaleTemporaryIsFound)
{
    // A name too long for ".NAME.tmpPID-N" gets a shorter temporary name.
    TempDir dir;
    std::string utf8;
    while (utf8.size() < 250)
        utf8 += "ñ";
    for (const std::string& name : { std::string(246, 'b') + ".dat", std::string(255, 'd'), utf8 + ".dat" }) {
        std::string error;
        ASSERT_TRUE(writeFileAtomically(dir.path() / name, std::vector<std::uint8_t> { 4, 2 }, &error))
            << error;
        EXPECT_EQ(readFileBytes(dir.path() / name), (std::vector<std::uint8_t> { 4, 2 }));
    }
    // A child that has exited stands for a process killed mid-save.
    const pid_t child = ::fork();
    if (child == 0)
        std::_Exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string stale = tempFileNameFor(std::string(250, 'l') + ".dat", child, 0);
    const std::string live = tempFileNameFor(std::string(250, 'l') + ".dat", ::getpid(), 0);
    put(dir.path() / stale, { 1 });
    put(dir.path() / live, { 1 });
    EXPECT_EQ(removeStaleTempFiles(dir.path()), std::vector<std::string> { stale });
    EXPECT_TRUE(fs::exists(dir.path() / live));
}

TEST(ShelfFileTest, SideFilesOfAnyLegalNameFit)
{
    TempDir dir;
    std::string utf8;
    while (utf8.size() < 250)
        utf8 += "ñ";
    const std::string stamp = "20261208-101500";
    for (const std::string& name : { std::string(250, 'b') + ".dat", std::string(255, 'd'), utf8 + ".dat" }) {
        for (const std::string mark : { "-recuperado", "-conflicto-" }) {
            // The first free name, and the next one once it is taken.
            for (int taken = 0; taken < 2; ++taken) {
                const std::string side = mark == "-recuperado"
                    ? firstFreeRecoveryFileName(dir.path(), name)
                    : firstFreeConflictFileName(dir.path(), name, stamp);
                SCOPED_TRACE(side);
                EXPECT_LE(side.size(), 255u);
                const std::size_t head = side.rfind(mark);
                ASSERT_NE(head, std::string::npos);
                EXPECT_EQ(side.substr(0, head), name.substr(0, head));
                EXPECT_NE(static_cast<unsigned char>(name[head]) & 0xC0, 0x80); // not inside a character
                std::string error;
                EXPECT_TRUE(writeFileAtomically(dir.path() / side, std::vector<std::uint8_t> { 1 }, &error))
                    << error;
            }
        }
    }
}

// Hostile and broken files kept from fuzzing and review: each is refused with
// the stream error, never anything worse, by every reader that walks files.
TEST(ShelfFileTest, MalformedSamplesAreRefusedCleanly)
{
    int samples = 0;
    for (const auto& entry : fs::directory_iterator(TOLM_TESTDATA)) {
        const auto bytes = readFileBytes(entry.path());
        ASSERT_TRUE(bytes.has_value());
        ++samples;
        SCOPED_TRACE(entry.path().filename().string());
        bool refused = false;
        try {
            ShelfReader reader(*bytes);
            readFontDialog(reader.nextRecord());
            while (!reader.atEnd())
                readSpButton(reader.nextRecord());
        } catch (const StreamError& e) {
            refused = true;
            EXPECT_LE(e.offset(), bytes->size());
        }
        EXPECT_TRUE(refused);
        try {
            parseShelf(*bytes); // record shapes only: a bad glyph size passes here
        } catch (const StreamError&) { }
        EXPECT_TRUE(scanFolderFiles(*bytes).error.has_value());
    }
    EXPECT_GE(samples, 10);
}

TEST(ShelfFileTest, ConflictCopiesOfShelfFilesAreFoundByTheNamesSyncServicesGive)
{
    // In the order they are listed: by name.
    const std::vector<ConflictCopy> copies = {
        { "tolm95 (SFConflict user@host 2026-12-07-10-15-00).dat", "tolm95.dat" },
        { "tolm95 (conflicted copy 2026-12-07 101500).dat", "tolm95.dat" },
        { "tolm95 (conflicted copy).dat", "tolm95.dat" },
        { "tolm95-conflicto-20261208-101500.dat", "tolm95.dat" },
        { "tolm95.sync-conflict-20261207-101500-ABCDEFG.dat", "tolm95.dat" },
        { "tolm95_conflict-20261207-101500.dat", "tolm95.dat" },
        { "tolmc1-conflicto-20261208-101500-2.dat", "tolmc1.dat" },
        { "tolmc12.sync-conflict-20261207-101500-ABCDEFG.dat", "tolmc12.dat" },
        { "tolmc3 (HOST's conflicted copy 2026-12-07 (1)).dat", "tolmc3.dat" },
        { "tolmc3 (HOST's conflicted copy 2026-12-07).dat", "tolmc3.dat" },
    };
    TempDir dir;
    for (const auto& copy : copies)
        put(dir.path() / copy.name, { 1 });
    // Shelf files, Tolm's other files, copies of other files, and a folder.
    for (const char* other : { "tolm95.dat", "tolmc1.dat", "tolm95-recuperado.dat", ".tolm95.dat.tmp123-0",
             "otro (conflicted copy).dat", "tolm95.sync-conflict-20261207-101500-ABCDEFG.dat.tmp",
             "xtolm95_conflict-20261207-101500.dat", "tolmc.sync-conflict-20261207-101500-ABCDEFG.dat" })
        put(dir.path() / other, { 1 });
    fs::create_directory(dir.path() / "tolmc9 (conflicted copy).dat");
    EXPECT_TRUE(conflictCopies(dir.path()) == copies);
}
