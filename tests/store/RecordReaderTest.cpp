// Reading a record straight into an item's or the font dialog's state must
// give exactly what building the record and reading it afterwards gives: the
// same state, or the same complaint at the same byte, and the same position.
#include "StoreTestSupport.h"
#include "store/ShelfFile.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace tolm::store;
namespace fs = std::filesystem;

namespace {

enum class As { Item, Dialog };

struct Outcome {
    bool read { false };
    std::string message;
    std::size_t offset { 0 };
    std::size_t pos { 0 };
    SpButtonState item;
    FontDialogState dialog;
};

void expectSame(const Outcome& straight, const Outcome& built)
{
    ASSERT_EQ(straight.read, built.read) << (straight.read ? built.message : straight.message) << " at "
                                         << (straight.read ? built.offset : straight.offset);
    if (!straight.read) {
        EXPECT_EQ(straight.message, built.message);
        EXPECT_EQ(straight.offset, built.offset);
        return;
    }
    EXPECT_EQ(straight.pos, built.pos);
    EXPECT_EQ(straight.item, built.item);
    EXPECT_EQ(straight.dialog, built.dialog);
}

// Through a Record, as the window and the tool read before.
Outcome viaRecord(std::span<const std::uint8_t> data, std::size_t start, As as)
{
    Outcome o;
    o.pos = start;
    try {
        std::vector<std::size_t> offsets;
        const Record record = readRecord(data, o.pos, &offsets);
        if (as == As::Item)
            o.item = readSpButton(record, offsets);
        else
            o.dialog = readFontDialog(record, offsets);
        o.read = true;
    } catch (const StreamError& e) {
        o.message = e.what();
        o.offset = e.offset();
    }
    return o;
}

Outcome straight(std::span<const std::uint8_t> data, std::size_t start, As as)
{
    Outcome o;
    o.pos = start;
    try {
        if (as == As::Item)
            o.item = readSpButton(data, o.pos);
        else
            o.dialog = readFontDialog(data, o.pos);
        o.read = true;
    } catch (const StreamError& e) {
        o.message = e.what();
        o.offset = e.offset();
        EXPECT_EQ(o.pos, start) << "a refused record leaves the position where it was";
    }
    return o;
}

void expectSameBothWays(std::span<const std::uint8_t> data, std::size_t start = 0)
{
    for (const As as : { As::Item, As::Dialog }) {
        SCOPED_TRACE(as == As::Item ? "as an item" : "as the font dialog");
        expectSame(straight(data, start, as), viaRecord(data, start, as));
    }
}

SpButtonState everyField()
{
    SpButtonState s;
    s.name = "Boton1";
    s.tag = 7;
    s.left = -300;
    s.top = 70000;
    s.width = 40; // what the size format below gives
    s.height = 60;
    s.cursor = -21;
    s.hint = "Año € — sugerencia";
    s.caption = "Καλημέρα"; // no Windows-1252 bytes: stored as UTF-8
    s.parentFont = false;
    s.font.name = "Courier New";
    s.font.style = 5;
    s.font.color = 0x123456;
    s.glyphBmp = { 'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14 };
    s.layout = ButtonLayout::GlyphTop;
    s.tipo = 4;
    s.clase = 1;
    s.comando = std::string(300, 'c') + "ñ"; // a long text
    s.directorio = "/home/usuario";
    s.param = "\"dos palabras\"";
    s.run = WindowState::Maximized;
    s.autorun = true;
    s.onDblClick = "SpButtonClick";
    s.tag2 = -5;
    return s;
}

FontDialogState dialogNamed(const char* name, std::uint32_t options = kFdEffects | kFdApplyButton)
{
    FontDialogState d;
    d.name = name;
    d.tag = 3;
    d.options = options;
    return d;
}

std::vector<std::uint8_t> recordOf(const Record& record)
{
    std::vector<std::uint8_t> out;
    writeRecord(record, out);
    return out;
}

} // namespace

TEST(RecordReaderTest, StraightReadingMatchesReadingThroughARecord)
{
    // A property only the font dialog's reader takes, in a record naming the item class.
    auto withOptions = [] {
        Bytes b;
        b.head("TSpButton").shortString("Options").raw({ 11 }).shortString("fdEffects").raw({ 0 });
        return b;
    };

    Bytes longList;
    longList.head("TThing").shortString("P").raw({ 1 });
    for (std::size_t i = 0; i <= kMaxElements; ++i)
        longList.raw({ 8 });
    longList.raw({ 0, 0, 0 });
    Bytes manyProperties;
    manyProperties.head("TThing");
    for (std::size_t i = 0; i <= kMaxProperties; ++i)
        manyProperties.shortString("Tag").raw({ 2, 1 });
    manyProperties.raw({ 0, 0 });

    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] {
        { "every item field", recordOf(writeSpButton(everyField())) },
        { "a font dialog", recordOf(writeFontDialog(dialogNamed("Dlg", 0x8005))) },
        { "a dialog property in an item record", withOptions().raw({ 0, 0 }) },
        { "the same, then a cut", withOptions().shortString("Top").raw({ 3, 1 }) },
        { "the same, then a value neither reader takes",
            withOptions().ident("Tipo", "T10x10").raw({ 0, 0 }) },
        { "an item property in a dialog record",
            Bytes().head("TFontDialog").shortString("Caption").raw({ 6, 1, 'x', 0, 0 }) },
        { "a set neither reader takes, named by the dialog class",
            Bytes().head("TFontDialog").shortString("Left").raw({ 11, 1, 'a', 0, 0, 0 }) },
        { "a member only the other reader takes",
            Bytes()
                .head("TSpButton")
                .shortString("Options")
                .raw({ 11 })
                .shortString("fdEffects")
                .shortString("fsBold")
                .raw({ 0, 0, 0 }) },
        { "a font style member of the dialog's options",
            Bytes()
                .head("TSpButton")
                .shortString("Font.Style")
                .raw({ 11 })
                .shortString("fdEffects")
                .raw({ 0, 0, 0 }) },
        { "a list in a class of its own",
            Bytes()
                .head("TThing")
                .shortString("P")
                .raw({ 1, 2, 5, 11, 1, 'a', 0, 0 })
                .shortString("Left")
                .raw({ 2, 9, 0, 0 }) },
        { "sets and texts in a class of its own",
            Bytes()
                .head("TThing", "Bot\xF3n")
                .shortString("Font.Style")
                .raw({ 11 })
                .shortString("fsBold")
                .shortString("FSITALIC")
                .raw({ 0 })
                .shortString("Caption")
                .raw({ 6, 3, 'A', 0xF1, 'o', 0, 0 }) },
        { "a collection in a class of its own",
            Bytes().head("TThing").shortString("K").raw({ 14, 2, 5, 1, 1, 'W', 2, 9, 0, 1, 0, 0, 0, 0 }) },
        { "a name that is no identifier",
            Bytes().head("TSpButton").shortString("Name").raw({ 6, 3, 'a', 0xE9, 'b', 0, 0 }) },
        { "one element past the limit", longList.bytes() },
        { "one property past the limit", manyProperties.bytes() },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectSameBothWays(c.bytes);
    }

    // The sound records keep every field, and every cut of them is refused alike.
    std::size_t pos = 0;
    EXPECT_EQ(readSpButton(cases[0].bytes, pos), everyField());
    EXPECT_EQ(pos, cases[0].bytes.size());
    for (const auto* sound : { &cases[0].bytes, &cases[1].bytes }) {
        for (std::size_t size = 0; size < sound->size(); ++size) {
            SCOPED_TRACE("cut to " + std::to_string(size));
            expectSameBothWays(std::span(*sound).first(size));
        }
    }
}

// Every byte of a record replaced by chance, a few thousand times: the two
// ways of reading must never part.
TEST(RecordReaderTest, DamagedRecordsAreJudgedAlike)
{
    std::vector<std::uint8_t> file;
    writeHeader({}, file);
    writeRecord(writeFontDialog({}), file);
    const std::size_t itemAt = file.size();
    writeRecord(writeSpButton(everyField()), file);
    Bytes odd;
    odd.head("TThing").shortString("P").raw({ 1, 2, 5, 11, 1, 'a', 0, 0 });
    odd.shortString("Font.Style").raw({ 11 }).shortString("fsBold").raw({ 0, 0, 0 });
    file.insert(file.end(), odd.bytes().begin(), odd.bytes().end());

    std::mt19937 random(15);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> damaged = file;
        const int changes = 1 + round % 3;
        for (int k = 0; k < changes; ++k) {
            const std::size_t at = kShelfHeaderSize + random() % (damaged.size() - kShelfHeaderSize);
            // Small values mostly: they are the tags, lengths and counts.
            damaged[at] = std::uint8_t(round % 2 ? random() % 16 : random());
        }
        SCOPED_TRACE("round " + std::to_string(round));
        expectSameBothWays(damaged, kShelfHeaderSize);
        expectSameBothWays(damaged, itemAt);
        if (HasFailure())
            break; // one damaged file tells the story
    }
}

// The samples of broken files read the same both ways, record after record.
TEST(RecordReaderTest, MalformedSamplesAreRefusedAtTheSameByte)
{
    for (const auto& entry : fs::directory_iterator(TOLM_TESTDATA)) {
        const auto bytes = readFileBytes(entry.path());
        ASSERT_TRUE(bytes.has_value());
        SCOPED_TRACE(entry.path().filename().string());
        std::size_t pos = kShelfHeaderSize;
        for (As as = As::Dialog; pos < bytes->size(); as = As::Item) {
            const Outcome a = straight(*bytes, pos, as);
            expectSame(a, viaRecord(*bytes, pos, as));
            if (!a.read)
                break;
            pos = a.pos;
        }
    }
}

TEST(RecordReaderTest, ShelfReaderReadsStatesAndStopsAtABreak)
{
    std::vector<std::uint8_t> file;
    writeHeader({}, file);
    writeRecord(writeFontDialog(dialogNamed("Dlg")), file);
    SpButtonState folder;
    folder.clase = 1;
    folder.comando = "tolmc1.dat";
    writeRecord(writeSpButton(folder), file);
    const std::size_t broken = file.size();
    writeRecord(writeSpButton(everyField()), file);
    file.resize(file.size() - 1);

    ShelfReader reader(file);
    EXPECT_EQ(reader.nextFontDialog().name, "Dlg");
    EXPECT_EQ(reader.nextItem(), folder);
    EXPECT_EQ(reader.position(), broken);
    EXPECT_THROW(reader.nextItem(), StreamError);
    EXPECT_EQ(reader.position(), broken);
    EXPECT_EQ(scanFolderFiles(file).names, std::vector<std::string> { "tolmc1.dat" });
}

TEST(RecordReaderTest, ViewsConvertTextOnceAndOnlyWhenKept)
{
    // Windows-1252 bytes become UTF-8; a UTF-8 view is taken as it is.
    ValueView cp;
    cp.tag = ValueTag::String;
    cp.bytes = "A\xF1o \x80";
    EXPECT_EQ(cp.text(), "Año €");
    std::string reused(40, 'x');
    cp.assignText(reused);
    EXPECT_EQ(reused, "Año €") << "the old contents are replaced, not appended to";
    cp.bytes = "plain ascii text longer than sixteen bytes";
    cp.assignText(reused);
    EXPECT_EQ(reused, "plain ascii text longer than sixteen bytes");

    // A Value seen as a view and made back into a Value is the same Value.
    Value set = Value::setValue({ "fsBold", "fsItalic" });
    Value ext;
    ext.tag = ValueTag::Extended;
    ext.bytes = { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F };
    for (const Value& v : { Value::textValue("Año €"), Value::textValue("Καλημέρα"), Value::ident("clRed"),
             Value::integerValue(-70000), Value::binary({ 1, 2, 3 }), Value::boolean(true), set, ext }) {
        std::vector<std::string_view> members;
        EXPECT_EQ(viewOf(v, members).toValue(), v);
    }
}

TEST(ReadFileBytesTest, ReadsWholeFilesOfEveryKindOrSaysWhy)
{
    const fs::path dir = fs::temp_directory_path() / ("tolm-readbytes-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<std::uint8_t> big(300000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = std::uint8_t(i * 31 + i / 7);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } files[] { { "empty.dat", {} }, { "one.dat", { 9 } }, { "big.dat", big } };
    for (const auto& f : files) {
        std::ofstream(dir / f.name, std::ios::binary)
            .write(reinterpret_cast<const char*>(f.bytes.data()), std::streamsize(f.bytes.size()));
        EXPECT_EQ(readFileBytes(dir / f.name), f.bytes) << f.name;
    }

    std::string error;
    EXPECT_FALSE(readFileBytes(dir / "none.dat", &error).has_value());
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;

    // Only regular files are read. A FIFO with no writer is refused at once,
    // not waited on; so are a device that never ends and a folder.
    const fs::path fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto refusal = std::async(std::launch::async, [&] {
        std::string why;
        const bool read = readFileBytes(fifo, &why).has_value();
        return read ? std::string("read") : why;
    });
    if (refusal.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "reading a FIFO with no writer blocks";
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)); // lets it go
    }
    EXPECT_EQ(refusal.get(), "cannot read " + fifo.string() + ": not a regular file (a FIFO)");
    EXPECT_FALSE(readFileBytes(dir, &error).has_value());
    EXPECT_EQ(error, "cannot read " + dir.string() + ": not a regular file (a directory)");

    // Too large a file is refused by its size, before a byte is read.
    const fs::path sparse = dir / "sparse.dat";
    std::ofstream(sparse).close();
    fs::resize_file(sparse, 3u << 30);
    EXPECT_FALSE(readFileBytes(sparse, &error).has_value());
    EXPECT_EQ(error,
        "cannot read " + sparse.string() + ": 3221225472 bytes, more than a shelf file may hold (67108864)");
    fs::remove_all(dir);
}
