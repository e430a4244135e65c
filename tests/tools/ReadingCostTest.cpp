// What reading hostile shelf files costs: the peak memory of child processes
// as the kernel counts it (wait4), for every tolm-shelf command and for the
// window loader's reading path. The files are written in blocks, so this test
// process stays small and the children start from little.
#include "store/ShelfFile.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tolm;
namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr std::size_t kFileSize = 20u << 20;

// A few times the file (it is read whole, into a buffer that grows) plus what
// the program itself takes.
std::size_t bound(std::size_t fileSize)
{
    return 4 * fileSize + (32u << 20);
}

using Bytes = std::vector<std::uint8_t>;

Bytes shelfFront()
{
    Bytes out;
    store::writeHeader({}, out);
    store::writeRecord(store::writeFontDialog({}), out);
    return out;
}

// A shelf whose one item record opens `property` with `tag` (nothing when
// empty), repeats `unit` to about kFileSize bytes and closes with `close`.
struct Hostile {
    const char* what;
    const char* className;
    const char* property;
    store::ValueTag tag;
    Bytes unit;
    Bytes close;
};

Bytes itemFront(const Hostile& h)
{
    Bytes out = shelfFront();
    store::writeRecordHead(h.className, "", out);
    if (*h.property) {
        store::writeShortString(h.property, out);
        out.push_back(static_cast<std::uint8_t>(h.tag));
    }
    return out;
}

const Bytes kEnd { 0, 0 }; // no more properties, no children
const Bytes kValueEnd { 0, 0, 0 }; // the end of the list or set, then kEnd

const std::vector<Hostile>& hostileFiles()
{
    using store::ValueTag;
    static const std::vector<Hostile> files {
        { "a list of one-byte integers", "TSpButton", "Left", ValueTag::List, { 2, 5 }, kValueEnd },
        { "a set of one-letter members", "TSpButton", "Font.Style", ValueTag::Set, { 1, 'a' }, kValueEnd },
        { "a set of valid members", "TFontDialog", "Options", ValueTag::Set,
            { 9, 'f', 'd', 'E', 'f', 'f', 'e', 'c', 't', 's' }, kValueEnd },
        { "many small unknown properties", "TSpButton", "", ValueTag::Null, { 1, 'A', 8 }, kEnd },
        { "many valid properties", "TSpButton", "", ValueTag::Null, { 3, 'T', 'a', 'g', 2, 0 }, kEnd },
        { "a collection of empty elements", "TSpButton", "Items", ValueTag::Collection, { 1, 0 }, kValueEnd },
        { "a list of booleans in a class of its own", "TThing", "P", ValueTag::List, { 8 }, kValueEnd },
        { "properties of a class of its own", "TThing", "", ValueTag::Null, { 1, 'A', 8 }, kEnd },
    };
    return files;
}

void writeRepeated(const fs::path& path, const Bytes& front, const Bytes& unit, const Bytes& close)
{
    std::ofstream out(path, std::ios::binary);
    auto put = [&](const Bytes& b) {
        out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    };
    put(front);
    Bytes block;
    while (block.size() < 65536)
        block.insert(block.end(), unit.begin(), unit.end());
    for (std::size_t n = front.size(); n + block.size() <= kFileSize; n += block.size())
        put(block);
    put(close);
}

struct Peak {
    int status { -1 }; // exit status, or -1 when the child did not exit
    std::size_t bytes { 0 };
};

Peak waitFor(pid_t pid)
{
    int status = 0;
    rusage usage {};
    Peak peak;
    if (::wait4(pid, &status, 0, &usage) != pid)
        return peak;
    peak.bytes = std::size_t(usage.ru_maxrss) * 1024;
    if (WIFEXITED(status))
        peak.status = WEXITSTATUS(status);
    return peak;
}

Peak runShelfTool(const std::vector<std::string>& args)
{
    std::vector<char*> argv { const_cast<char*>(TOLM_SHELF) };
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return waitFor(pid);
}

// What the window does when it loads a file: the font dialog, then item by
// item, each record through its typed reader. 0 read, 1 refused.
int readLikeTheWindow(const fs::path& path)
{
    const auto bytes = store::readFileBytes(path);
    if (!bytes)
        return 2;
    try {
        store::ShelfReader reader(*bytes);
        if (!reader.magicMatches())
            return 2;
        store::readFontDialog(reader.nextRecord());
        while (!reader.atEnd()) {
            const store::Record record = reader.nextRecord();
            store::readSpButton(record);
        }
    } catch (const store::StreamError&) {
        return 1;
    }
    return 0;
}

Peak runWindowReader(const fs::path& path)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(readLikeTheWindow(path));
    return waitFor(pid);
}

class ReadingCostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (kAddressSanitizer)
            GTEST_SKIP() << "freed memory waits in AddressSanitizer's quarantine: peaks say nothing here";
        ASSERT_TRUE(fs::exists(TOLM_SHELF)) << TOLM_SHELF;
        std::random_device rd;
        m_dir = fs::temp_directory_path() / ("tolm-cost-" + std::to_string(rd()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Every way of reading `file` stays within the bound; `status` is what
    // check and the window's reader say (0 sound, 1 refused).
    void expectBounded(const fs::path& file, int status)
    {
        const std::size_t size = fs::file_size(file);
        const std::size_t limit = bound(size);
        const std::string path = file.string();
        for (const std::string command : { "check", "dump", "tree" }) {
            const Peak peak = runShelfTool({ command, path });
            EXPECT_EQ(peak.status, command == "dump" ? 0 : command == "tree" ? 0 : status) << command;
            EXPECT_LE(peak.bytes, limit) << "tolm-shelf " << command << " of " << size << " bytes";
        }
        const Peak window = runWindowReader(file);
        EXPECT_EQ(window.status, status);
        EXPECT_LE(window.bytes, limit) << "the window's reader, " << size << " bytes";
    }

    fs::path m_dir;
};

} // namespace

TEST_F(ReadingCostTest, HostileFilesCostAFewTimesTheirSize)
{
    const fs::path file = m_dir / "hostile.dat";
    for (const Hostile& h : hostileFiles()) {
        SCOPED_TRACE(h.what);
        writeRepeated(file, itemFront(h), h.unit, h.close);
        ASSERT_GE(fs::file_size(file), kFileSize - 65536);
        expectBounded(file, 1);
    }
}

TEST_F(ReadingCostTest, ALargeSoundFileReadsWithinTheSameBound)
{
    store::SpButtonState item;
    item.caption = "Programa con un nombre largo";
    item.comando = "/usr/bin/programa";
    item.directorio = "/home/usuario";
    item.tag1 = 1;
    Bytes record;
    store::writeRecord(store::writeSpButton(item), record);
    const fs::path file = m_dir / "tolm95.dat";
    writeRepeated(file, shelfFront(), record, {});
    expectBounded(file, 0);
}

TEST_F(ReadingCostTest, BuildCostsAFewTimesItsText)
{
    // Hostile texts are read within the bound and refused, as no window could
    // read the file they make; a large sound one is written.
    const std::string front = "header\nend\nobject TSpButton \"\"\n";
    const struct {
        const char* what;
        std::string open, unit, close;
        int status;
    } texts[] {
        { "a list of numbers", front + "    Left = list (", "1 ", ")\nend\n", 1 },
        { "a set of names", front + "    Font.Style = [", "a, ", "a]\nend\n", 1 },
        { "a collection of items", front + "    Items = collection (", "item () ", ")\nend\n", 1 },
        { "many sound items", "header\nend\nobject TFontDialog \"FontDialog1\"\nend\n",
            "object TSpButton \"\"\n    Caption = \"Programa\"\n    tag1 = 1\nend\n", "", 0 },
    };
    const fs::path text = m_dir / "hostile.txt";
    for (const auto& t : texts) {
        SCOPED_TRACE(t.what);
        writeRepeated(text, Bytes(t.open.begin(), t.open.end()), Bytes(t.unit.begin(), t.unit.end()),
            Bytes(t.close.begin(), t.close.end()));
        fs::remove(m_dir / "out.dat");
        const Peak peak = runShelfTool({ "build", text.string(), (m_dir / "out.dat").string() });
        EXPECT_EQ(peak.status, t.status);
        EXPECT_LE(peak.bytes, bound(fs::file_size(text)));
        if (t.status == 0)
            EXPECT_GT(fs::file_size(m_dir / "out.dat"), kFileSize / 8);
        else
            EXPECT_FALSE(fs::exists(m_dir / "out.dat"));
    }
}
