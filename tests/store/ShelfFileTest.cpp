#include "store/ShelfFile.h"

#include <algorithm>
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

TEST(ShelfFileTest, DeletingLeavesWhatIsNoRegularFile)
{
    // A FIFO with no writer, a folder and a device link named as folder files:
    // none is waited on, read or removed.
    TempDir dir;
    put(dir.path() / "tolmc1.dat",
        shelf({ folderItem("tolmc2.dat"), folderItem("tolmc3.dat"), folderItem("tolmc4.dat") }));
    ASSERT_EQ(::mkfifo((dir.path() / "tolmc2.dat").c_str(), 0600), 0);
    fs::create_directory(dir.path() / "tolmc3.dat");
    fs::create_symlink("/dev/zero", dir.path() / "tolmc4.dat");
    std::vector<std::string> problems;
    EXPECT_EQ(
        deleteShelfTree(dir.path(), "tolmc1.dat", &problems), std::vector<std::string> { "tolmc1.dat" });
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0],
        "cannot read " + (dir.path() / "tolmc2.dat").string() + ": not a regular file (a FIFO); left alone");
    EXPECT_NE(problems[1].find("not a regular file (a directory); left alone"), std::string::npos)
        << problems[1];
    EXPECT_NE(problems[2].find("not a regular file (a character device); left alone"), std::string::npos)
        << problems[2];
    for (const char* name : { "tolmc2.dat", "tolmc3.dat", "tolmc4.dat" })
        EXPECT_TRUE(fs::exists(fs::symlink_status(dir.path() / name))) << name;
}

TEST(ShelfFileTest, AtomicWriteReplacesOrLeavesTheOldFile)
{
    TempDir dir;
    const fs::path target = dir.path() / "tolm95.dat";
    put(target, { 1, 2, 3 });
    ::chmod(target.c_str(), 0640);
    const std::vector<std::uint8_t> fresh { 9, 8, 7, 6 };
    std::string error;
    ASSERT_TRUE(writeFileAtomically(target, fresh, &error)) << error;
    EXPECT_EQ(readFileBytes(target), fresh);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Writing through a link replaces the file it points at and keeps the link.
    const fs::path link = dir.path() / "enlace.dat";
    fs::create_symlink(target, link);
    ASSERT_TRUE(writeFileAtomically(link, std::vector<std::uint8_t> { 5 }));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFileBytes(target), std::vector<std::uint8_t> { 5 });

    // A rename that cannot happen (a non-empty folder in the way) fails,
    // reports it and leaves neither damage nor a temporary file behind.
    const fs::path blocked = dir.path() / "ocupado";
    fs::create_directory(blocked);
    put(blocked / "dentro", { 1 });
    error.clear();
    EXPECT_FALSE(writeFileAtomically(blocked, fresh, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::exists(blocked / "dentro"));
    EXPECT_FALSE(writeFileAtomically(dir.path() / "no-existe" / "x.dat", fresh, &error));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 3); // tolm95.dat, enlace.dat, ocupado
}

TEST(ShelfFileTest, AtomicWriteOfTheLongestNames)
{
    // Every legal name can be saved: the temporary file of a name too long
    // for ".NAME.tmpPID-N" gets a shorter name, a distinct one for each file.
    TempDir dir;
    std::string utf8;
    while (utf8.size() < 250)
        utf8 += "ñ";
    for (const std::string& name : { std::string(241, 'a') + ".dat", std::string(246, 'b') + ".dat",
             std::string(251, 'c') + ".dat", std::string(255, 'd'), utf8 + ".dat" }) {
        SCOPED_TRACE(name.size());
        std::string error;
        ASSERT_TRUE(writeFileAtomically(dir.path() / name, std::vector<std::uint8_t> { 4, 2 }, &error))
            << error;
        EXPECT_EQ(readFileBytes(dir.path() / name), (std::vector<std::uint8_t> { 4, 2 }));
        const std::string temp = tempFileNameFor(name, 4194304, 99);
        EXPECT_LE(temp.size(), 255u);
        EXPECT_EQ(temp.ends_with(".dat.tmp4194304-99"), name.ends_with(".dat")) << temp;
    }
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 5); // no temporary file left
    EXPECT_EQ(tempFileNameFor("tolm95.dat", 12, 3), ".tolm95.dat.tmp12-3");
    EXPECT_NE(tempFileNameFor(std::string(250, 'x') + "1.dat", 12, 0),
        tempFileNameFor(std::string(250, 'x') + "2.dat", 12, 0));
    // Cut between characters, never inside one.
    const std::string cut = tempFileNameFor(utf8 + ".dat", 12, 0);
    EXPECT_EQ(cut.find("\xC3~"), std::string::npos);
    EXPECT_NE(cut.find("ñ~"), std::string::npos) << cut;
}

TEST(ShelfFileTest, StaleTemporariesOfLongNamesAreRemoved)
{
    // A child that has exited stands for a process killed mid-save.
    const pid_t child = ::fork();
    if (child == 0)
        std::_Exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    TempDir dir;
    const std::string longName = std::string(250, 'l') + ".dat";
    const std::string stale = tempFileNameFor(longName, child, 0);
    const std::string staleShort = tempFileNameFor("tolmc1.dat", child, 1);
    const std::string live = tempFileNameFor(longName, ::getpid(), 0);
    const std::string notOurs = tempFileNameFor(std::string(252, 'n') + ".txt", child, 0);
    ASSERT_NE(stale, "." + longName + ".tmp" + std::to_string(child) + "-0");
    for (const auto& name : { stale, staleShort, live, notOurs })
        put(dir.path() / name, { 1 });
    auto removed = removeStaleTempFiles(dir.path());
    std::sort(removed.begin(), removed.end());
    EXPECT_EQ(removed, (std::vector<std::string> { stale, staleShort }));
    EXPECT_TRUE(fs::exists(dir.path() / live));
    EXPECT_TRUE(fs::exists(dir.path() / notOurs));
}

TEST(ShelfFileTest, AtomicWriteCanReplaceAPlantedLink)
{
    TempDir dir;
    const fs::path outside = dir.path() / "fuera.txt";
    put(outside, { 1, 2, 3 });
    ::chmod(outside.c_str(), 0604);
    const fs::path recovery = dir.path() / "tolm95-recuperado.dat";
    fs::create_symlink(outside, recovery);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(recovery, std::vector<std::uint8_t> { 7, 7 }, &error, Links::Replace))
        << error;
    EXPECT_EQ(readFileBytes(outside), (std::vector<std::uint8_t> { 1, 2, 3 }));
    EXPECT_EQ(fs::status(outside).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(recovery)));
    EXPECT_EQ(readFileBytes(recovery), (std::vector<std::uint8_t> { 7, 7 }));
    // A dangling link is replaced the same way, creating nothing where it pointed.
    const fs::path dangling = dir.path() / "copia.dat";
    fs::create_symlink(dir.path() / "nada.dat", dangling);
    ASSERT_TRUE(writeFileAtomically(dangling, std::vector<std::uint8_t> { 8 }, &error, Links::Replace))
        << error;
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "nada.dat")));
    EXPECT_EQ(readFileBytes(dangling), std::vector<std::uint8_t> { 8 });
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
