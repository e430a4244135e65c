#include "store/Record.h"

#include "StoreTestSupport.h"
#include "store/StreamError.h"

#include <gtest/gtest.h>

using namespace tolm::store;

namespace {

std::vector<std::uint8_t> encode(const Record& record)
{
    std::vector<std::uint8_t> out;
    writeRecord(record, out);
    return out;
}

Record decode(const std::vector<std::uint8_t>& bytes)
{
    std::size_t pos = 0;
    Record record = readRecord(bytes, pos);
    EXPECT_EQ(pos, bytes.size());
    return record;
}

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
