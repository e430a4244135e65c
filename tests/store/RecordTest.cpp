#include "store/Record.h"

#include "StoreTestSupport.h"
#include "store/StreamError.h"

#include <gtest/gtest.h>

using namespace tolm::store;

namespace {

std::vector<std::uint8_t> valueBytes(const Value& value)
{
    const auto out = encode(Record { "C", "", { { "P", value } } });
    // "TPF0", "C", "", "P" take 4 + 2 + 1 + 2 bytes; the two end bytes follow the value.
    return { out.begin() + 9, out.end() - 2 };
}

StreamError errorOf(const std::vector<std::uint8_t>& bytes)
{
    std::size_t pos = 0;
    try {
        readRecord(bytes, pos);
    } catch (const StreamError& e) {
        return e;
    }
    ADD_FAILURE() << "no StreamError";
    return StreamError("", 0);
}

} // namespace

TEST(RecordTest, IntegersTakeTheNarrowestWidth)
{
    EXPECT_EQ(valueBytes(Value::integerValue(-128)), Bytes().raw({ 2, 0x80 }).bytes());
    EXPECT_EQ(valueBytes(Value::integerValue(127)), Bytes().raw({ 2, 0x7F }).bytes());
    EXPECT_EQ(valueBytes(Value::integerValue(128)), Bytes().raw({ 3, 0x80, 0x00 }).bytes());
    EXPECT_EQ(valueBytes(Value::integerValue(-129)), Bytes().raw({ 3, 0x7F, 0xFF }).bytes());
    EXPECT_EQ(valueBytes(Value::integerValue(32767)), Bytes().raw({ 3, 0xFF, 0x7F }).bytes());
    EXPECT_EQ(valueBytes(Value::integerValue(32768)), Bytes().raw({ 4, 0x00, 0x80, 0, 0 }).bytes());
    EXPECT_EQ(valueBytes(Value::integerValue(-32769)), Bytes().raw({ 4, 0xFF, 0x7F, 0xFF, 0xFF }).bytes());
}

TEST(RecordTest, TextTagFollowsLengthAndCharacters)
{
    const std::string s255(255, 'a'), s256(256, 'a');
    EXPECT_EQ(valueBytes(Value::textValue(s255)), Bytes().raw({ 6, 255 }).text(s255).bytes());
    EXPECT_EQ(valueBytes(Value::textValue(s256)), Bytes().raw({ 12 }).u32(256).text(s256).bytes());
    // Windows-1252 text goes out as its single bytes.
    EXPECT_EQ(
        valueBytes(Value::textValue("Año €")), Bytes().raw({ 6, 5, 'A', 0xF1, 'o', ' ', 0x80 }).bytes());
    // Greek has no Windows-1252 bytes: tag 20 carries the UTF-8.
    const std::string greek = "Καλημέρα";
    EXPECT_EQ(valueBytes(Value::textValue(greek)), Bytes().raw({ 20 }).u32(greek.size()).text(greek).bytes());
    // A string tagged short that turned out too long or unencodable is still written whole.
    Value forced;
    forced.tag = ValueTag::String;
    forced.text = greek;
    EXPECT_EQ(valueBytes(forced)[0], 20);
    forced.text = s256;
    EXPECT_EQ(valueBytes(forced)[0], 12);
}

TEST(RecordTest, EveryTagReadsBackAsWritten)
{
    Value ext;
    ext.tag = ValueTag::Extended;
    ext.bytes = { 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F };
    Value nil;
    nil.tag = ValueTag::Nil;
    Value list;
    list.tag = ValueTag::List;
    list.items = { Value::textValue("uno"), Value::integerValue(70000), list };
    Value element;
    element.tag = ValueTag::List;
    element.items
        = { Value::ident("Caption"), Value::textValue("x"), Value::ident("Width"), Value::integerValue(3) };
    Value collection;
    collection.tag = ValueTag::Collection;
    collection.items = { Value::integerValue(5), element, element };
    Value longShort;
    longShort.tag = ValueTag::LString;
    longShort.text = "corto";
    Value utf8Latin;
    utf8Latin.tag = ValueTag::Utf8String;
    utf8Latin.text = "latin";

    const Record record { "TThing", "Thing1",
        { { "A", Value::integerValue(-5) }, { "B", Value::integerValue(-300) },
            { "C", Value::integerValue(1 << 20) }, { "D", ext }, { "E", Value::textValue("texto") },
            { "F", Value::ident("clRed") }, { "G", Value::boolean(false) }, { "H", Value::boolean(true) },
            { "I", Value::binary({ 1, 2, 3 }) }, { "J", Value::setValue({ "fsBold", "fsItalic" }) },
            { "K", Value::textValue(std::string(300, 'z')) }, { "L", nil }, { "M", collection },
            { "N", Value::textValue("日本語") }, { "O", list }, { "P", longShort }, { "Q", utf8Latin } } };
    const auto bytes = encode(record);
    const Record back = decode(bytes);
    EXPECT_EQ(back, record);
    EXPECT_EQ(encode(back), bytes);
}

TEST(RecordTest, Cp1252RoundTripsEveryByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    std::string back;
    ASSERT_TRUE(utf8ToCp1252(utf8, back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(cp1252ToUtf8("\x80\x9f"), "€Ÿ");
    EXPECT_FALSE(utf8ToCp1252("\u0080", back)); // a C1 control whose byte means €
    EXPECT_FALSE(utf8ToCp1252("\xC3", back)); // cut UTF-8
    EXPECT_FALSE(utf8ToCp1252("\xED\xA0\x80", back)); // a surrogate
}

TEST(RecordTest, MalformedRecordsGiveTheStreamError)
{
    const Bytes good = Bytes().head("TSpButton").shortString("Left").raw({ 2, 5, 0, 0 });
    // Every cut of a good record is refused, never read past its end.
    for (std::size_t n = 0; n < good.bytes().size(); ++n) {
        std::vector<std::uint8_t> cut(good.bytes().begin(), good.bytes().begin() + n);
        const StreamError e = errorOf(cut);
        EXPECT_STREQ(e.what(), kInvalidStreamFormat) << n;
        EXPECT_LE(e.offset(), n);
    }

    EXPECT_EQ(errorOf(Bytes().text("TPF1").shortString("C").raw({ 0, 0, 0 })).offset(), 0u);
    const StreamError badTag = errorOf(Bytes().head("C").shortString("P").raw({ 15, 0, 0 }));
    EXPECT_STREQ(badTag.what(), kInvalidPropertyValue);
    EXPECT_EQ(badTag.offset(), 9u);
    const StreamError child = errorOf(Bytes().head("C").raw({ 0 }).head("D").raw({ 0, 0 }));
    EXPECT_STREQ(child.what(), kInvalidStreamFormat);
    EXPECT_EQ(child.offset(), 8u);
    EXPECT_STREQ(errorOf(Bytes().text("TPF0").raw({ 0xF1, 1, 'C', 0, 0, 0 })).what(), kInvalidStreamFormat);
}

TEST(RecordTest, HostileLengthsAndNestingAreRefusedBeforeAllocating)
{
    for (int tag : { 10, 12, 20 }) {
        const auto bytes = Bytes().head("C").shortString("P").raw({ tag }).u32(0xFFFFFFFF).raw({ 0, 0 });
        const StreamError e = errorOf(bytes);
        EXPECT_STREQ(e.what(), kInvalidStreamFormat);
        EXPECT_EQ(e.offset(), 10u) << "the length field of tag " << tag;
    }
    // One byte short of the promised payload.
    EXPECT_STREQ(errorOf(Bytes().head("C").shortString("P").raw({ 10 }).u32(3).raw({ 1, 2 })).what(),
        kInvalidStreamFormat);

    Bytes deep;
    deep.head("C").shortString("P");
    for (int i = 0; i < 100000; ++i)
        deep.raw({ 1 });
    const StreamError e = errorOf(deep);
    EXPECT_STREQ(e.what(), kInvalidStreamFormat);
    EXPECT_EQ(e.offset(), 9u + kMaxValueDepth);

    Bytes fine;
    fine.head("C").shortString("P");
    for (int i = 0; i < kMaxValueDepth; ++i)
        fine.raw({ 1 });
    for (int i = 0; i < kMaxValueDepth + 2; ++i)
        fine.raw({ 0 });
    EXPECT_NO_THROW(decode(fine));
}

TEST(RecordTest, PropertyOffsetsPointAtNames)
{
    const auto bytes
        = Bytes().head("C").shortString("A").raw({ 8 }).shortString("B").raw({ 9, 0, 0 }).bytes();
    std::size_t pos = 0;
    std::vector<std::size_t> offsets;
    readRecord(bytes, pos, &offsets);
    EXPECT_EQ(offsets, (std::vector<std::size_t> { 7, 10 }));
}

namespace {

// The bytes of a record of class "C" whose property "P" opens with `tag`, then
// `count` copies of `unit`, then the closing bytes. The first unit is at byte 10.
std::vector<std::uint8_t> repeated(int tag, const std::vector<std::uint8_t>& unit, std::size_t count)
{
    std::vector<std::uint8_t> out = Bytes().head("C").shortString("P").raw({ tag });
    for (std::size_t i = 0; i < count; ++i)
        out.insert(out.end(), unit.begin(), unit.end());
    const std::vector<std::uint8_t> close { 0, 0, 0 };
    out.insert(out.end(), close.begin(), close.end());
    return out;
}

} // namespace

TEST(RecordTest, RecordsOfOtherClassesAreHeldWithinTheLimits)
{
    const struct {
        const char* what;
        int tag;
        std::vector<std::uint8_t> unit;
    } parts[] {
        { "list items", 1, { 2, 5 } },
        { "set members", 11, { 1, 'a' } },
        { "collection elements", 14, { 1, 0 } },
    };
    for (const auto& part : parts) {
        SCOPED_TRACE(part.what);
        EXPECT_NO_THROW(decode(repeated(part.tag, part.unit, kMaxElements)));
        const StreamError e = errorOf(repeated(part.tag, part.unit, kMaxElements + 1));
        EXPECT_STREQ(e.what(), kInvalidStreamFormat);
        EXPECT_EQ(e.offset(), 10 + kMaxElements * part.unit.size()) << "the first part past the limit";
    }

    // Properties, counted the same for every class.
    for (const char* className : { "C", "TSpButton" }) {
        Bytes many;
        many.head(className);
        for (std::size_t i = 0; i < kMaxProperties; ++i)
            many.shortString("Tag").raw({ 2, 1 });
        EXPECT_EQ(decode(Bytes(many).raw({ 0, 0 })).properties.size(), kMaxProperties) << className;
        const std::size_t extra = many.bytes().size();
        const StreamError e = errorOf(many.shortString("Tag").raw({ 2, 1, 0, 0 }));
        EXPECT_STREQ(e.what(), kInvalidStreamFormat);
        EXPECT_EQ(e.offset(), extra) << className;
    }
}

namespace {

// Writes down what the walker hands over, one word per part.
class Trace : public RecordVisitor {
public:
    std::string text;
    void head(std::string_view className, std::string_view name, std::size_t at) override
    {
        add("head " + std::string(className) + "/" + std::string(name) + "@" + std::to_string(at));
    }
    void property(std::string_view name, std::size_t at) override
    {
        add(std::string(name) + "@" + std::to_string(at));
    }
    void value(const ValueView& value, std::size_t) override
    {
        add(value.tag == ValueTag::Int8 ? std::to_string(value.integer) : "'" + value.text() + "'");
    }
    void begin(ValueTag tag, std::size_t) override { add("(" + std::to_string(int(tag))); }
    void member(std::string_view name, std::size_t) override { add(std::string(name) + ":"); }
    void end() override { add(")"); }

private:
    void add(const std::string& word) { text += (text.empty() ? "" : " ") + word; }
};

} // namespace

TEST(RecordTest, WalkerHandsOverEveryPartInOrder)
{
    const auto bytes = Bytes()
                           .head("C", "N")
                           .shortString("A")
                           .raw({ 2, 7 })
                           .shortString("L")
                           .raw({ 1, 6, 1, 'x', 1, 2, 3, 0, 0 })
                           .shortString("S")
                           .raw({ 11, 1, 'a', 1, 'b', 0 })
                           .shortString("K")
                           .raw({ 14, 2, 5, 1, 1, 'W', 2, 9, 0, 1, 0, 0 })
                           .raw({ 0, 0 })
                           .bytes();
    Trace trace;
    std::size_t pos = 0;
    walkRecord(bytes, pos, trace);
    EXPECT_EQ(pos, bytes.size());
    EXPECT_EQ(
        trace.text, "head C/N@0 A@8 7 L@12 (1 'x' (1 3 ) ) S@23 (11 a: b: ) K@31 (14 5 (1 W: 9 ) (1 ) )");

    // A failed walk leaves the position where it was.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 3);
    pos = 0;
    Trace partial;
    EXPECT_THROW(walkRecord(cut, pos, partial), StreamError);
    EXPECT_EQ(pos, 0u);
}
