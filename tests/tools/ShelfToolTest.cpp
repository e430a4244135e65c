#include "tools/ShelfTool.h"

#include "store/ShelfFile.h"
#include "tools/ShelfText.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace tolm;
using store::Record;
using store::Value;
using store::ValueTag;
namespace fs = std::filesystem;

namespace {

class ShelfToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        m_dir = fs::temp_directory_path() / ("tolm-tools-" + std::to_string(rd()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    void put(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        std::ofstream(m_dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    int run(const std::vector<std::string>& args)
    {
        m_out.str("");
        m_err.str("");
        return tools::runShelfTool(args, m_out, m_err);
    }

    fs::path m_dir;
    std::ostringstream m_out, m_err;
};

store::SpButtonState folder(const std::string& file)
{
    store::SpButtonState s;
    s.clase = 1;
    s.comando = file;
    return s;
}

std::vector<std::uint8_t> shelf(const std::vector<store::SpButtonState>& items)
{
    store::ShelfFile file;
    file.fontDialog = store::writeFontDialog({});
    for (const auto& item : items)
        file.items.push_back(store::writeSpButton(item));
    return store::serializeShelf(file);
}

Value tagged(Value v, ValueTag tag)
{
    v.tag = tag;
    return v;
}

// Everything a record can hold, much of it in encodings the writer would not choose.
std::vector<std::uint8_t> oddShelf()
{
    store::ShelfFile file;
    file.header.magic = 12345;
    file.header.left = -7;
    file.header.frameShown = 2;
    file.header.padding[0] = 0xAB;
    file.header.color = 0x00C0FFEE;
    file.fontDialog = store::writeFontDialog({});

    Value ext;
    ext.tag = ValueTag::Extended;
    ext.bytes = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 };
    Value nil;
    nil.tag = ValueTag::Nil;
    Value element;
    element.tag = ValueTag::List;
    element.items = { Value::ident("Caption"), Value::textValue("uno"), Value::ident("weird name"), nil };
    Value collection;
    collection.tag = ValueTag::Collection;
    collection.items = { tagged(Value::integerValue(3), ValueTag::Int32), element, element };
    Value list;
    list.tag = ValueTag::List;
    list.items = { Value::integerValue(1), list, Value::binary({}), Value::setValue({}) };

    std::vector<std::uint8_t> glyph(4 + 70, 0);
    glyph[0] = 70;
    glyph[4] = 'B';
    glyph[5] = 'M';
    glyph[4 + 18] = 36;
    glyph[4 + 22] = 36;
    glyph[4 + 28] = 24;

    Record item { "TSpButton", "nombre \"raro\"",
        { { "Width", tagged(Value::integerValue(40), ValueTag::Int16) },
            { "Height", tagged(Value::integerValue(-1), ValueTag::Int32) },
            { "Caption", tagged(Value::textValue("corto"), ValueTag::LString) },
            { "Hint", tagged(Value::textValue("latin"), ValueTag::Utf8String) },
            { "Param", Value::textValue(std::string(300, 'p')) }, { "Comando", Value::textValue("日本語") },
            { "Directorio", Value::textValue("tab\there \"q\" \\ \n\r\x01\x7F€\u0081ÿ") },
            { "FichIcono",
                tagged(Value::textValue(std::string("\xC3\x28\xFF ok", 6)), ValueTag::Utf8String) },
            { "Glyph.Data", Value::binary(glyph) }, { "Odd", ext }, { "Menu", Value::ident("True") },
            { "Menu2", Value::ident("with space") }, { "end", Value::ident("list") }, { "Items", collection },
            { "Strings", list }, { "Style", Value::setValue({ "fsBold", "odd member" }) },
            { "Flag", Value::boolean(false) }, { "Flag2", Value::boolean(true) }, { "Ref", nil },
            { "Big", Value::integerValue(-2147483648ll) } } };
    file.items.push_back(item);
    file.items.push_back(Record { "", "", {} });
    return store::serializeShelf(file);
}

} // namespace

TEST_F(ShelfToolTest, DumpThenBuildGivesTheSameBytes)
{
    for (const auto& bytes : { shelf({}), shelf({ folder("tolmc1.dat"), store::SpButtonState {} }) }) {
        put("in.dat", bytes);
        ASSERT_EQ(run({ "dump", path("in.dat") }), 0) << m_err.str();
        const std::string text = m_out.str();
        std::ofstream(m_dir / "in.txt") << text;
        ASSERT_EQ(run({ "build", path("in.txt"), path("out.dat") }), 0) << m_err.str() << text;
        EXPECT_EQ(store::readFileBytes(m_dir / "out.dat"), bytes) << text;
    }
    put("odd.dat", oddShelf());
    ASSERT_EQ(run({ "dump", path("odd.dat") }), 0) << m_err.str();
    EXPECT_EQ(tools::buildShelfText(m_out.str(), tools::BuildCheck::FormOnly), oddShelf());
}

TEST_F(ShelfToolTest, LongTextsDumpWholeAndComeBack)
{
    // "€" is three bytes in the dump's UTF-8; five bytes a unit put one across
    // some of the 64 KB blocks the text is written in. Behind them, a run of
    // bytes that are no UTF-8 at all, longer than a block.
    std::string euros;
    for (int i = 0; i < 50000; ++i)
        euros += "ab€";
    Record item { "TSpButton", "",
        { { "Caption", Value::textValue(euros) },
            { "Hint", tagged(Value::textValue(std::string(100000, '\x80')), ValueTag::Utf8String) } } };
    store::ShelfFile file;
    file.fontDialog = store::writeFontDialog({});
    file.items.push_back(item);
    const auto bytes = store::serializeShelf(file);
    put("long.dat", bytes);
    ASSERT_EQ(run({ "dump", path("long.dat") }), 0) << m_err.str();
    const std::string text = m_out.str();
    EXPECT_NE(text.find("    Caption = \"" + euros + "\"\n"), std::string::npos);
    std::ofstream(m_dir / "long.txt") << text;
    ASSERT_EQ(run({ "build", path("long.txt"), path("out.dat") }), 0) << m_err.str();
    EXPECT_EQ(store::readFileBytes(m_dir / "out.dat"), bytes);
}

TEST_F(ShelfToolTest, ABrokenFileDumpsNothing)
{
    auto bytes = shelf({ store::SpButtonState {}, folder("tolmc1.dat") });
    bytes.resize(bytes.size() - 1);
    put("cut.dat", bytes);
    EXPECT_EQ(run({ "dump", path("cut.dat") }), 1);
    EXPECT_EQ(m_out.str(), "");
    EXPECT_EQ(m_err.str(),
        path("cut.dat") + ": Invalid stream format at byte " + std::to_string(bytes.size()) + "\n");
}

TEST_F(ShelfToolTest, DumpIsReadable)
{
    put("in.dat", oddShelf());
    ASSERT_EQ(run({ "dump", path("in.dat") }), 0);
    const std::string text = m_out.str();
    for (const char* expected : { "    magic = 12345\n", "    color = 0x00C0FFEE\n", "    Width = int16 40\n",
             "    Caption = long \"corto\"\n", "    Hint = utf8 \"latin\"\n", "    Comando = \"日本語\"\n",
             "    Glyph.Data = binary 74 {  # bitmap 36 x 36, 24 bits per pixel\n",
             "    Menu = ident \"True\"\n", "    \"end\" = ident \"list\"\n",
             "    Style = [fsBold, \"odd member\"]\n", "    Flag = False\n",
             "    FichIcono = \"\\xC3(\\xFF ok\"\n",
             "    Directorio = \"tab\\there \\\"q\\\" \\\\ \\n\\r\\x01\\x7F€\\u{0081}ÿ\"\n",
             "object \"\" \"\"\n" })
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_F(ShelfToolTest, BuildReportsTheLineOfABadText)
{
    std::ofstream(m_dir / "bad.txt")
        << "header\nend\nobject TSpButton \"\"\n    Top = 1\n    Left = ,\nend\n";
    EXPECT_EQ(run({ "build", path("bad.txt"), path("out.dat") }), 1);
    EXPECT_NE(m_err.str().find("bad.txt:5: Left: expected a value"), std::string::npos) << m_err.str();
    EXPECT_FALSE(fs::exists(m_dir / "out.dat"));

    std::ofstream(m_dir / "short.txt") << "header\nend\nobject A \"\"\n    G = binary 3 { 01 02 }\nend\n";
    EXPECT_EQ(run({ "build", path("short.txt"), path("out.dat") }), 1);
    EXPECT_NE(m_err.str().find("binary holds 2 bytes, not 3"), std::string::npos) << m_err.str();
}

namespace {

// A sound shelf in text: the font dialog and one item of every kind of value.
constexpr const char* kGoodText = R"(header
    magic = 991091
    left = 10
    top = 20
    color = clBtnFace
end
object TFontDialog "FontDialog1"
    Font.Charset = DEFAULT_CHARSET
    Font.Style = []
    Options = [fdEffects, fdApplyButton]
end
object TSpButton ""
    Left = 0
    Caption = "Editor"
    OnClick = SpButtonClick
    OnMouseDown = SpButtonMouseDown
    PopupMenu = Principal.MenuBoton
    Tipo = T80x40
    Clase = Carpeta
    Layout = blGlyphTop
    Font.Style = [fsBold]
    Glyph.Data = binary 18 {
        0E 00 00 00 42 4D 00 00 00 00 00 00 00 00 00 00 00 00
    }
end
)";

// The text with line `line` (1-based) replaced.
std::string withLine(const std::string& text, int line, const std::string& replacement)
{
    std::istringstream in(text);
    std::string out, current;
    for (int n = 1; std::getline(in, current); ++n)
        out += (n == line ? replacement : current) + "\n";
    return out;
}

} // namespace

TEST_F(ShelfToolTest, BuildWritesOnlyWhatCheckAcceptsAndNamesTheLineOfARefusal)
{
    // Each line of a sound text with its value (or its name) made wrong in
    // one of several ways: whatever build accepts, check accepts; whatever it
    // refuses is refused on the line changed, naming the property.
    const std::vector<std::string> values { "1", "-1", "300000", "int8 1", "\"x\"", "long \"x\"", "Foo",
        "Foo.Bar", "True", "nil", "[]", "[Foo]", "[fsBold]", "list ( 1 )", "binary 0 { }",
        "ext \"00000000000000000000\"", "ident \"a b\"", "SpButtonClick", "clRed", "T40x40", "Carpeta" };
    std::istringstream in(kGoodText);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    int accepted = 0, refused = 0;
    for (int n = 1; n <= int(lines.size()); ++n) {
        const std::string& line = lines[std::size_t(n - 1)];
        const auto equals = line.find(" = ");
        if (equals == std::string::npos)
            continue;
        std::vector<std::string> mutations;
        if (line.find('{') == std::string::npos) { // else the block's rows would be left over
            for (const auto& v : values)
                mutations.push_back(line.substr(0, equals + 3) + v);
        }
        mutations.push_back(line.substr(0, equals - 1) + line.substr(equals)); // the name misspelt
        for (const auto& mutation : mutations) {
            const std::string text = withLine(kGoodText, n, mutation);
            std::vector<std::uint8_t> bytes;
            try {
                bytes = tools::buildShelfText(text);
            } catch (const tools::ShelfTextError& e) {
                ++refused;
                EXPECT_EQ(e.line(), n) << mutation << ": " << e.what();
                const std::string name = mutation.substr(4, mutation.find(" = ") - 4);
                EXPECT_NE(std::string(e.what()).find(name), std::string::npos)
                    << mutation << ": " << e.what();
                continue;
            }
            ++accepted;
            put("mutant.dat", bytes);
            EXPECT_EQ(run({ "check", path("mutant.dat") }), 0) << mutation << "\n" << m_err.str();
        }
    }
    EXPECT_TRUE(accepted > 30 && refused > 200) << accepted << " built, " << refused << " refused";

    std::ofstream(m_dir / "bad.txt") << withLine(kGoodText, 16, "    OnMouseDown = SpButtonMouseDo");
    EXPECT_EQ(run({ "build", path("bad.txt"), path("bad.dat") }), 1);
    EXPECT_EQ(m_err.str(),
        path("bad.txt")
            + ":16: OnMouseDown: SpButtonMouseDo is not a known handler (SpButtonClick, SpButtonMouseDown, "
              "SpButtonMouseMove, SpButtonMouseUp, or nil)\n");
    EXPECT_FALSE(fs::exists(m_dir / "bad.dat"));
}

TEST_F(ShelfToolTest, CheckExitCodesAndOffsets)
{
    auto bytes = shelf({ store::SpButtonState {}, folder("tolmc1.dat") });
    put("good.dat", bytes);
    EXPECT_EQ(run({ "check", path("good.dat") }), 0);
    EXPECT_NE(m_out.str().find("sound shelf file, 2 items"), std::string::npos);

    // A property the item does not have, in the second item.
    auto bad = shelf({ store::SpButtonState {} });
    const std::size_t second = bad.size();
    store::writeRecord(Record { "TSpButton", "",
                           { { "Left", Value::integerValue(1) }, { "Color", Value::ident("clRed") } } },
        bad);
    put("bad.dat", bad);
    EXPECT_EQ(run({ "check", path("bad.dat") }), 1);
    EXPECT_EQ(m_err.str(),
        path("bad.dat") + ": Property does not exist at byte " + std::to_string(second + 4 + 10 + 1 + 7)
            + " (item 2)\n");

    bytes.resize(bytes.size() - 1);
    put("cut.dat", bytes);
    EXPECT_EQ(run({ "check", path("cut.dat") }), 1);
    EXPECT_NE(
        m_err.str().find("Invalid stream format at byte " + std::to_string(bytes.size())), std::string::npos)
        << m_err.str();

    bytes[0] = 0;
    put("magic.dat", bytes);
    EXPECT_EQ(run({ "check", path("magic.dat") }), 1);
    EXPECT_NE(m_err.str().find("not a shelf file: magic 0x000F1F00"), std::string::npos) << m_err.str();

    // An item's property in the font dialog's record: the dialog's reader refuses it.
    std::vector<std::uint8_t> dialog;
    store::writeHeader({}, dialog);
    store::writeRecord(Record { "TFontDialog", "", { { "Caption", Value::textValue("x") } } }, dialog);
    put("dialog.dat", dialog);
    EXPECT_EQ(run({ "check", path("dialog.dat") }), 1);
    EXPECT_EQ(m_err.str(),
        path("dialog.dat") + ": Property does not exist at byte " + std::to_string(28 + 4 + 12 + 1)
            + " (font dialog)\n");

    put("tiny.dat", { 0x73, 0x1F });
    EXPECT_EQ(run({ "check", path("tiny.dat") }), 1);
    EXPECT_NE(m_err.str().find("Invalid stream format at byte 2 (header)"), std::string::npos) << m_err.str();
    EXPECT_EQ(run({ "check", path("none.dat") }), 1);
}

TEST_F(ShelfToolTest, CheckLooksAtTheMagicFirst)
{
    // Another program's 3 GB file: refused by its magic, not read whole.
    auto bytes = shelf({});
    bytes[0] = 0x74;
    put("huge.dat", bytes);
    fs::resize_file(m_dir / "huge.dat", 3ull << 30);
    EXPECT_EQ(run({ "check", path("huge.dat") }), 1);
    EXPECT_EQ(m_err.str(),
        path("huge.dat")
            + ": not a shelf file: magic 0x000F1F74 where 0x000F1F73 (bytes 73 1F 0F 00) belongs\n");
}

TEST_F(ShelfToolTest, TreeMarksMissingFilesAndCycles)
{
    put("tolm95.dat", shelf({ folder("tolmc1.dat"), folder("tolmc2.dat"), folder("../x.dat") }));
    put("tolmc1.dat", shelf({ folder("tolmc3.dat"), folder("tolmc1.dat") }));
    put("tolmc3.dat", shelf({ folder("tolmc1.dat") }));
    EXPECT_EQ(run({ "tree", path("tolm95.dat") }), 0);
    EXPECT_EQ(m_out.str(),
        "tolm95.dat\n"
        "  tolmc1.dat\n"
        "    tolmc3.dat\n"
        "      tolmc1.dat  (cycle: already open above)\n"
        "    tolmc1.dat  (cycle: already open above)\n"
        "  tolmc2.dat  (missing)\n"
        "  \"../x.dat\"  (not a folder file name; not followed)\n");
    EXPECT_EQ(run({ "tree", path("nada.dat") }), 1);
}

TEST_F(ShelfToolTest, BadArgumentsShowUsage)
{
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({ "dump" }), 2);
    EXPECT_EQ(run({ "build", "a" }), 2);
    EXPECT_EQ(run({ "erase", "a" }), 2);
    EXPECT_NE(m_err.str().find("usage: tolm-shelf dump FILE"), std::string::npos);
}

TEST_F(ShelfToolTest, CheckOfAFolderChecksEveryShelfFileAndListsConflictCopies)
{
    put("tolm95.dat", shelf({ folder("tolmc1.dat") }));
    put("tolmc1.dat", { 0x73, 0x1F });
    put("tolm95 (conflicted copy).dat", shelf({}));
    put("notas.txt", { 1, 2, 3 });
    // A broken shelf file outweighs the copies.
    EXPECT_EQ(run({ "check", m_dir.string() }), 1);
    EXPECT_EQ(m_err.str(), path("tolmc1.dat") + ": Invalid stream format at byte 2 (header)\n");
    put("tolmc1.dat", shelf({}));
    EXPECT_EQ(run({ "check", m_dir.string() }), 3);
    EXPECT_EQ(m_out.str(),
        path("tolm95.dat") + ": sound shelf file, 1 item\n" + path("tolmc1.dat")
            + ": sound shelf file, 0 items\n" + path("tolm95 (conflicted copy).dat")
            + ": a conflict copy of tolm95.dat\n");
    fs::remove(m_dir / "tolm95 (conflicted copy).dat");
    EXPECT_EQ(run({ "check", m_dir.string() }), 0);
}
