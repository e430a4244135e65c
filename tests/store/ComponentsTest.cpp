#include "store/Components.h"

#include "StoreTestSupport.h"
#include "store/ShelfFile.h"
#include "store/StreamError.h"

#include <gtest/gtest.h>

using namespace tolm::store;

namespace {

const Property* find(const Record& record, const std::string& name)
{
    for (const auto& p : record.properties) {
        if (p.name == name)
            return &p;
    }
    return nullptr;
}

std::string errorOf(const std::string& name, const Value& value)
{
    SpButtonState state;
    try {
        applySpButtonProperty(state, { name, value });
    } catch (const StreamError& e) {
        return e.what();
    }
    return "accepted";
}

std::vector<std::uint8_t> bmp(std::size_t size)
{
    std::vector<std::uint8_t> image(size, 0x11);
    image[0] = 'B';
    image[1] = 'M';
    return image;
}

} // namespace

TEST(SpButtonTest, AllDefaultsStillWriteBoundsHintAndHandlers)
{
    const auto expected = Bytes()
                              .head("TSpButton")
                              .shortString("Left")
                              .raw({ 2, 0 })
                              .shortString("Top")
                              .raw({ 2, 0 })
                              .shortString("Width")
                              .raw({ 2, 23 })
                              .shortString("Height")
                              .raw({ 2, 22 })
                              .shortString("ParentShowHint")
                              .raw({ 8 })
                              .shortString("ShowHint")
                              .raw({ 9 })
                              .ident("OnClick", "SpButtonClick")
                              .ident("OnMouseDown", "SpButtonMouseDown")
                              .ident("OnMouseMove", "SpButtonMouseMove")
                              .ident("OnMouseUp", "SpButtonMouseUp")
                              .raw({ 0, 0 })
                              .bytes();
    EXPECT_EQ(encode(writeSpButton(SpButtonState {})), expected);
    EXPECT_EQ(readSpButton(decode(expected)), SpButtonState {});
}

TEST(SpButtonTest, FontColoursAndStyleBytes)
{
    SpButtonState state;
    state.parentFont = false;
    state.font.color = 0x000080;
    Record record = writeSpButton(state);
    ASSERT_NE(find(record, "Font.Color"), nullptr);
    EXPECT_EQ(find(record, "Font.Color")->value, Value::ident("clMaroon"));
    EXPECT_EQ(find(record, "Font.Charset")->value, Value::ident("DEFAULT_CHARSET"));
    EXPECT_EQ(find(record, "ParentFont")->value, Value::boolean(false));
    EXPECT_EQ(find(record, "Font.Pitch"), nullptr);

    state.font.color = 0x000081;
    state.font.charset = 3;
    record = writeSpButton(state);
    EXPECT_EQ(find(record, "Font.Color")->value.tag, ValueTag::Int16);
    EXPECT_EQ(find(record, "Font.Color")->value.integer, 129);
    EXPECT_EQ(find(record, "Font.Charset")->value, Value::integerValue(3));

    // An empty style is tag 11 and the closing empty name.
    const auto bytes = encode(record);
    const auto style = Bytes().shortString("Font.Style").raw({ 11, 0 }).bytes();
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), style.begin(), style.end()), bytes.end());
    EXPECT_EQ(readSpButton(decode(bytes)), state);
}

TEST(SpButtonTest, EveryFieldSurvivesWriteAndRead)
{
    SpButtonState s;
    s.tag = 16;
    s.left = -129;
    s.top = 32768;
    s.cursor = -21;
    s.hint = "Carpeta";
    s.allowAllUp = true;
    s.groupIndex = 2;
    s.down = true;
    s.caption = "Καλημέρα";
    s.enabled = false;
    s.flat = true;
    s.parentFont = false;
    s.font = { 161, static_cast<std::int32_t>(0x80000005u), -13, "Arial", FontPitch::Fixed, 1 | 8 };
    s.glyphBmp = bmp(70);
    s.margin = 1;
    s.numGlyphs = 2;
    s.showHint = false;
    s.spacing = 0;
    s.visible = false;
    s.onDblClick = "SpButtonClick";
    s.popupMenu = "Principal.MenuCarpeta";
    s.tipo = 5;
    s.layout = ButtonLayout::GlyphTop;
    s.width = 60;
    s.height = 60;
    s.clase = 1;
    s.comando = std::string(300, 'c');
    s.directorio = "c:\\";
    s.fichIcono = "icono.ico";
    s.param = "-x";
    s.run = WindowState::Maximized;
    s.autorun = true;
    s.tag1 = -2;
    s.tag2 = 2048;
    const auto bytes = encode(writeSpButton(s));
    EXPECT_EQ(readSpButton(decode(bytes)), s);

    // Handlers that are not the item's own cannot be named in a file.
    s.onDblClick = "OtraCosa";
    EXPECT_EQ(find(writeSpButton(s), "OnDblClick"), nullptr);
}

TEST(SpButtonTest, TipoResizesAndLaterBoundsWin)
{
    Record record { "TSpButton", "",
        { { "Tipo", Value::ident("T80x20") }, { "Width", Value::integerValue(33) } } };
    SpButtonState s = readSpButton(record);
    EXPECT_EQ(s.width, 33);
    EXPECT_EQ(s.height, 20);
    EXPECT_EQ(s.tipo, 8);

    record.properties = { { "Width", Value::integerValue(33) }, { "Layout", Value::ident("blGlyphBottom") },
        { "Tipo", Value::ident("t60x60") } };
    s = readSpButton(record);
    EXPECT_EQ(s.width, 60);
    EXPECT_EQ(s.height, 60);
    EXPECT_EQ(s.layout, ButtonLayout::GlyphTop);
    EXPECT_EQ(tipoSize(42).width, 40);
}

TEST(SpButtonTest, FontPropertiesDetachFromTheParentFont)
{
    Record record { "TSpButton", "", { { "Font.Height", Value::integerValue(-20) } } };
    EXPECT_FALSE(readSpButton(record).parentFont);
    EXPECT_EQ(readSpButton(record).font.height, -20);
    record.properties.push_back({ "ParentFont", Value::boolean(true) });
    EXPECT_TRUE(readSpButton(record).parentFont);
    record.properties = { { "Font.Color", Value::integerValue(0x80) } };
    EXPECT_EQ(readSpButton(record).font.color, 0x80);
    record.properties = { { "Font.Charset", Value::ident("GREEK_CHARSET") } };
    EXPECT_EQ(readSpButton(record).font.charset, 161);
}

TEST(SpButtonTest, StoredValuesAreKeptAsTheyCame)
{
    // A Disco item's tag1 is reset by the loader, not here.
    Record record { "TSpButton", "",
        { { "Clase", Value::ident("Disco") }, { "tag1", Value::integerValue(77) } } };
    EXPECT_EQ(readSpButton(record).tag1, 77);
    // The menu reference is never resolved.
    record.properties = { { "PopupMenu", Value::ident("Nadie.EnNingunSitio") } };
    EXPECT_EQ(readSpButton(record).popupMenu, "Nadie.EnNingunSitio");
    record.properties = { { "ShowHint", Value::ident("true") }, { "CAPTION", Value::textValue("x") } };
    EXPECT_TRUE(readSpButton(record).showHint);
    EXPECT_EQ(readSpButton(record).caption, "x");
}

TEST(SpButtonTest, SchemaErrorsUseTheFourMessages)
{
    EXPECT_EQ(errorOf("Colour", Value::integerValue(1)), kPropertyDoesNotExist);
    EXPECT_EQ(errorOf("Font.Weight", Value::integerValue(1)), kPropertyDoesNotExist);
    EXPECT_EQ(errorOf("Nada.Algo", Value::integerValue(1)), kPropertyDoesNotExist);
    EXPECT_EQ(errorOf("Canvas", Value::integerValue(1)), kPropertyDoesNotExist);
    EXPECT_EQ(errorOf("Glyph.Width", Value::integerValue(1)), kPropertyDoesNotExist);
    EXPECT_EQ(errorOf("Tag.Valor", Value::integerValue(1)), kInvalidPropertyPath);
    EXPECT_EQ(errorOf("Font.Name.X", Value::textValue("x")), kInvalidPropertyPath);
    EXPECT_EQ(errorOf("Left", Value::textValue("10")), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Tipo", Value::ident("T10x10")), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Tipo", Value::integerValue(1)), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Font.Color", Value::ident("clPink")), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Font.Style", Value::setValue({ "fsBlink" })), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Enabled", Value::integerValue(1)), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("OnClick", Value::ident("BorrarTodo")), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Font", Value::integerValue(1)), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Name", Value::textValue("no vale")), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Name", Value::textValue("SpButton_2")), "accepted");
}

// Names are matched without regard to ASCII case, up to their first dot,
// whatever their length and wherever the dot falls.
TEST(SpButtonTest, PropertyNamesMatchWithoutRegardToCase)
{
    const Value one = Value::integerValue(1);
    const Value text = Value::textValue("x");
    const struct {
        std::string name;
        const Value& value;
        const char* expected;
    } cases[] {
        { "LEFT", one, "accepted" },
        { "lEfT", one, "accepted" },
        { "Left.", one, "accepted" }, // a dot with nothing after it names no object
        { "TAG1", one, "accepted" },
        { "PARENTSHOWHINT", Value::boolean(true), "accepted" },
        { "FICHICONO", text, "accepted" }, // upper case past the eighth byte
        { "fONT.nAME", text, "accepted" },
        { "GLYPH.DATA", Value::binary({ 0, 0, 0, 0 }), "accepted" },
        { "Left\xC1", one, kPropertyDoesNotExist },
        { "\xCC"
          "eft",
            one, kPropertyDoesNotExist }, // 0xCC less its top bit is 'L'
        { std::string("Left\0", 5), one, kPropertyDoesNotExist },
        { "Tag3", one, kPropertyDoesNotExist },
        { ".Left", one, kPropertyDoesNotExist },
        { "ParentShowHintX", one, kPropertyDoesNotExist },
        { "ParentShowHintXY", one, kPropertyDoesNotExist }, // sixteen bytes
        { "ParentShowHintXYZ", one, kPropertyDoesNotExist },
        { std::string(41, 'a'), one, kPropertyDoesNotExist },
        { "Autorun1.X", one, kPropertyDoesNotExist }, // the dot in the second eight bytes
        { "Directorio.X", text, kInvalidPropertyPath },
        { "OnMouseMove.Xyz", one, kInvalidPropertyPath },
        { "ParentShowHint.Algo", one, kInvalidPropertyPath }, // longer than sixteen bytes
        { "Tipo.T40x40.X", one, kInvalidPropertyPath },
        { "Font." + std::string(40, 'n'), text, kPropertyDoesNotExist },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf(c.name, c.value), c.expected);
    }
    SpButtonState state;
    applySpButtonProperty(state, { "fONT.nAME", text });
    EXPECT_EQ(state.font.name, "x");
    applySpButtonProperty(state, { "FICHICONO", Value::textValue("icono.png") });
    EXPECT_EQ(state.fichIcono, "icono.png");
}

TEST(SpButtonTest, GlyphDataSizeMustMatchItsBinary)
{
    auto data = [](std::uint32_t inner, std::size_t imageSize) {
        std::vector<std::uint8_t> bytes { std::uint8_t(inner), std::uint8_t(inner >> 8),
            std::uint8_t(inner >> 16), std::uint8_t(inner >> 24) };
        const auto image = bmp(imageSize);
        bytes.insert(bytes.end(), image.begin(), image.end());
        return Value::binary(bytes);
    };
    EXPECT_EQ(errorOf("Glyph.Data", data(100, 100)), "accepted");
    EXPECT_EQ(errorOf("Glyph.Data", data(101, 100)), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Glyph.Data", data(99, 100)), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Glyph.Data", data(0xFFFFFFFF, 100)), kInvalidPropertyValue);
    EXPECT_EQ(errorOf("Glyph.Data", Value::binary({ 1, 0 })), kInvalidPropertyValue);
    auto notBmp = data(20, 20);
    notBmp.bytes[4] = 'X';
    EXPECT_EQ(errorOf("Glyph.Data", notBmp), kInvalidPropertyValue);

    SpButtonState s;
    s.glyphBmp = bmp(40);
    const Value written = find(writeSpButton(s), "Glyph.Data")->value;
    EXPECT_EQ(written.tag, ValueTag::Binary);
    EXPECT_EQ(written.bytes.size(), 44u);
    EXPECT_EQ(written.bytes[0], 40);
}

TEST(FontDialogTest, WritesItsTableAndReadsItBack)
{
    const FontDialogState defaults;
    const Record record = writeFontDialog(defaults);
    EXPECT_EQ(record.name, "FontDialog1");
    std::vector<std::string> names;
    for (const auto& p : record.properties)
        names.push_back(p.name);
    EXPECT_EQ(names,
        (std::vector<std::string> { "Font.Charset", "Font.Color", "Font.Height", "Font.Name", "Font.Style",
            "MinFontSize", "MaxFontSize", "Options" }));
    EXPECT_EQ(find(record, "Options")->value, Value::setValue({ "fdEffects", "fdApplyButton" }));

    FontDialogState onlyEffects;
    onlyEffects.options = kFdEffects;
    EXPECT_EQ(find(writeFontDialog(onlyEffects), "Options"), nullptr);

    FontDialogState s;
    s.tag = 3;
    s.ctl3D = false;
    s.helpContext = 9;
    s.font.name = "Courier New";
    s.font.style = 2;
    s.device = 2;
    s.minFontSize = 6;
    s.maxFontSize = 72;
    s.options = 0;
    EXPECT_EQ(readFontDialog(decode(encode(writeFontDialog(s)))), s);

    Record bad { "TFontDialog", "FontDialog1", { { "Options", Value::setValue({ "fdNada" }) } } };
    EXPECT_THROW(readFontDialog(bad), StreamError);
}

TEST(IdentifierMapsTest, NamesAndValues)
{
    EXPECT_STREQ(colorName(kClBtnFace), "clBtnFace");
    EXPECT_STREQ(colorName(static_cast<std::int32_t>(0x80000018u)), "clInfoBk");
    EXPECT_EQ(colorName(0x123456), nullptr);
    EXPECT_EQ(colorFromName("CLNONE"), 0x1FFFFFFF);
    EXPECT_STREQ(charsetName(255), "OEM_CHARSET");
    EXPECT_EQ(charsetFromName("EASTEUROPE_CHARSET"), 238);
    EXPECT_EQ(charsetFromName("KLINGON_CHARSET"), std::nullopt);
}

namespace {

StreamError recordError(const std::vector<std::uint8_t>& bytes)
{
    std::size_t pos = 0;
    try {
        readRecord(bytes, pos);
    } catch (const StreamError& e) {
        EXPECT_EQ(pos, 0u);
        return e;
    }
    ADD_FAILURE() << "no StreamError";
    return StreamError("", 0);
}

} // namespace

TEST(TypedRecordTest, ValuesAPropertyCannotHoldAreRefusedAtItsNameUnread)
{
    // Each value opens and runs on with a hundred thousand parts to the end of
    // the data, never closed: read, it would end in "Invalid stream format"
    // far from the name.
    const struct {
        const char* className;
        const char* property;
        int tag;
        std::vector<int> part;
        const char* message;
    } cases[] {
        { "TSpButton", "Left", 1, { 2, 5 }, kInvalidPropertyValue },
        { "TSpButton", "Caption", 11, { 1, 'a' }, kInvalidPropertyValue },
        { "TSpButton", "Font.Style", 11, { 1, 'a' }, kInvalidPropertyValue },
        { "TSpButton", "Font.Style", 11, { 6, 'f', 's', 'B', 'o', 'l', 'd', 1, 'a' }, kInvalidPropertyValue },
        { "TSpButton", "Font", 1, { 8 }, kInvalidPropertyValue },
        { "TSpButton", "Items", 14, { 1, 0 }, kPropertyDoesNotExist },
        { "TSpButton", "Tag.Valor", 1, { 2, 5 }, kInvalidPropertyPath },
        { "TFontDialog", "Options", 1, { 2, 5 }, kInvalidPropertyValue },
        { "TFontDialog", "Options", 11, { 1, 'a' }, kInvalidPropertyValue },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.className) + " " + c.property);
        Bytes record;
        record.head(c.className).shortString("Tag").raw({ 2, 1 });
        const std::size_t name = record.bytes().size();
        record.shortString(c.property).raw({ c.tag });
        for (int i = 0; i < 100000; ++i) {
            for (int b : c.part)
                record.raw({ b });
        }
        const StreamError e = recordError(record);
        EXPECT_STREQ(e.what(), c.message);
        EXPECT_EQ(e.offset(), name);

        // The window's reader meets the same refusal, counted from the file's start.
        std::vector<std::uint8_t> file;
        writeHeader({}, file);
        writeRecord(writeFontDialog({}), file);
        const std::size_t at = file.size();
        file.insert(file.end(), record.bytes().begin(), record.bytes().end());
        ShelfReader reader(file);
        reader.nextRecord();
        try {
            reader.nextRecord();
            ADD_FAILURE() << "read";
        } catch (const StreamError& e) {
            EXPECT_EQ(e.offset(), at + name);
        }
        EXPECT_EQ(reader.position(), at);
    }
}

TEST(TypedRecordTest, EachPropertyIsCheckedAsItIsRead)
{
    // The fault is found at the bad value, before the cut further on.
    Bytes cut;
    cut.head("TSpButton").shortString("Left").raw({ 2, 1 });
    const std::size_t tipo = cut.bytes().size();
    cut.ident("Tipo", "T10x10").shortString("Top").raw({ 2 });
    const StreamError e = recordError(cut);
    EXPECT_STREQ(e.what(), kInvalidPropertyValue);
    EXPECT_EQ(e.offset(), tipo);

    // Files are read by position, not by the class a record names: a font
    // dialog property in a record that names the item class is left to the
    // reader the position calls for.
    Bytes dialogLike;
    dialogLike.head("TSpButton").shortString("Options").raw({ 11 }).shortString("fdEffects").raw({ 0, 0, 0 });
    const Record record = decode(dialogLike);
    EXPECT_EQ(readFontDialog(record).options, kFdEffects);
    EXPECT_THROW(readSpButton(record), StreamError);

    // Sound sets are read whole, members in their stored order.
    Bytes styled;
    styled.head("TSpButton").shortString("Font.Style").raw({ 11 });
    styled.shortString("fsItalic").shortString("FSBOLD").raw({ 0, 0, 0 });
    EXPECT_EQ(decode(styled).properties.at(0).value, Value::setValue({ "fsItalic", "FSBOLD" }));
    EXPECT_EQ(readSpButton(decode(styled)).font.style, 3);
}
