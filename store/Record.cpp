#include "store/Record.h"

#include "store/StreamError.h"

#include <cstring>

namespace tolm::store {

namespace {

constexpr char kSignature[4] = { 'T', 'P', 'F', '0' };

// Bounds-checked little-endian reading. Every length is compared with what
// remains before anything is allocated for it.
class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> data, std::size_t pos)
        : m_data(data)
        , m_pos(pos)
    { }

    std::size_t pos() const { return m_pos; }
    std::size_t remaining() const { return m_pos < m_data.size() ? m_data.size() - m_pos : 0; }

    [[noreturn]] void fail(const char* message, std::size_t at) const { throw StreamError(message, at); }

    void need(std::size_t count) const
    {
        if (count > remaining())
            fail(kInvalidStreamFormat, m_pos);
    }
    std::uint8_t peek() const
    {
        need(1);
        return m_data[m_pos];
    }
    std::uint8_t u8()
    {
        need(1);
        return m_data[m_pos++];
    }
    std::uint32_t u32()
    {
        need(4);
        const std::uint8_t* p = m_data.data() + m_pos;
        m_pos += 4;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
            | std::uint32_t(p[3]) << 24;
    }
    std::string_view bytes(std::size_t count)
    {
        need(count);
        std::string_view view(reinterpret_cast<const char*>(m_data.data() + m_pos), count);
        m_pos += count;
        return view;
    }
    // A 32-bit length followed by that many bytes; the length is checked
    // against the rest of the buffer, so a hostile count costs nothing.
    std::string_view longBytes()
    {
        const std::size_t at = m_pos;
        const std::uint32_t count = u32();
        if (count > remaining())
            fail(kInvalidStreamFormat, at);
        return bytes(count);
    }
    std::string shortString()
    {
        const std::size_t at = m_pos;
        const std::uint8_t count = u8();
        if (count > remaining())
            fail(kInvalidStreamFormat, at);
        return cp1252ToUtf8(bytes(count));
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos { 0 };
};

Value readValue(ByteReader& in, int depth);

void readElements(ByteReader& in, std::vector<Value>& items, int depth)
{
    while (in.peek() != 0)
        items.push_back(readValue(in, depth));
    in.u8();
}

void readCollection(ByteReader& in, std::vector<Value>& items, int depth)
{
    while (in.peek() != 0) {
        const auto next = static_cast<ValueTag>(in.peek());
        if (next == ValueTag::Int8 || next == ValueTag::Int16 || next == ValueTag::Int32)
            items.push_back(readValue(in, depth));
        if (static_cast<ValueTag>(in.peek()) != ValueTag::List)
            in.fail(kInvalidStreamFormat, in.pos());
        in.u8();
        Value element;
        element.tag = ValueTag::List;
        for (;;) {
            std::string name = in.shortString();
            if (name.empty())
                break;
            element.items.push_back(Value::ident(std::move(name)));
            element.items.push_back(readValue(in, depth));
        }
        items.push_back(std::move(element));
    }
    in.u8();
}

Value readValue(ByteReader& in, int depth)
{
    const std::size_t at = in.pos();
    Value v;
    v.tag = static_cast<ValueTag>(in.u8());
    switch (v.tag) {
    case ValueTag::Int8:
        v.integer = static_cast<std::int8_t>(in.u8());
        break;
    case ValueTag::Int16: {
        const auto b = in.bytes(2);
        v.integer = static_cast<std::int16_t>(std::uint16_t(std::uint8_t(b[0]) | std::uint8_t(b[1]) << 8));
        break;
    }
    case ValueTag::Int32:
        v.integer = static_cast<std::int32_t>(in.u32());
        break;
    case ValueTag::Extended: {
        const auto b = in.bytes(10);
        v.bytes.assign(b.begin(), b.end());
        break;
    }
    case ValueTag::String:
    case ValueTag::Ident:
        v.text = in.shortString();
        break;
    case ValueTag::False:
    case ValueTag::True:
    case ValueTag::Nil:
        break;
    case ValueTag::Binary: {
        const auto b = in.longBytes();
        v.bytes.assign(b.begin(), b.end());
        break;
    }
    case ValueTag::Set:
        for (;;) {
            std::string member = in.shortString();
            if (member.empty())
                break;
            v.set.push_back(std::move(member));
        }
        break;
    case ValueTag::LString:
        v.text = cp1252ToUtf8(in.longBytes());
        break;
    case ValueTag::Utf8String:
        v.text = std::string(in.longBytes());
        break;
    case ValueTag::List:
    case ValueTag::Collection:
        if (depth >= kMaxValueDepth)
            in.fail(kInvalidStreamFormat, at);
        if (v.tag == ValueTag::List)
            readElements(in, v.items, depth + 1);
        else
            readCollection(in, v.items, depth + 1);
        break;
    default:
        // Tag 0 ends lists only; anything else is no value this format knows.
        in.fail(kInvalidPropertyValue, at);
    }
    return v;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v >> 16));
    out.push_back(std::uint8_t(v >> 24));
}

void putBytes(std::vector<std::uint8_t>& out, std::string_view bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Names and identifiers are ASCII in practice; one that cannot be encoded goes
// out as its UTF-8 bytes rather than being lost, cut to the 255 a length byte allows.
void putShortString(std::vector<std::uint8_t>& out, std::string_view utf8)
{
    std::string bytes;
    if (!utf8ToCp1252(utf8, bytes))
        bytes.assign(utf8);
    if (bytes.size() > 255)
        bytes.resize(255);
    out.push_back(std::uint8_t(bytes.size()));
    putBytes(out, bytes);
}

void writeValue(const Value& v, std::vector<std::uint8_t>& out)
{
    ValueTag tag = v.tag;
    std::string encoded;
    if (tag == ValueTag::String || tag == ValueTag::LString) {
        if (!utf8ToCp1252(v.text, encoded))
            tag = ValueTag::Utf8String;
        else if (tag == ValueTag::String && encoded.size() > 255)
            tag = ValueTag::LString;
    }
    out.push_back(static_cast<std::uint8_t>(tag));
    switch (tag) {
    case ValueTag::Int8:
        out.push_back(std::uint8_t(v.integer));
        break;
    case ValueTag::Int16:
        out.push_back(std::uint8_t(v.integer));
        out.push_back(std::uint8_t(v.integer >> 8));
        break;
    case ValueTag::Int32:
        put32(out, std::uint32_t(v.integer));
        break;
    case ValueTag::Extended:
        for (std::size_t i = 0; i < 10; ++i)
            out.push_back(i < v.bytes.size() ? v.bytes[i] : 0);
        break;
    case ValueTag::String:
        out.push_back(std::uint8_t(encoded.size()));
        putBytes(out, encoded);
        break;
    case ValueTag::LString:
        put32(out, std::uint32_t(encoded.size()));
        putBytes(out, encoded);
        break;
    case ValueTag::Utf8String:
        put32(out, std::uint32_t(v.text.size()));
        putBytes(out, v.text);
        break;
    case ValueTag::Ident:
        putShortString(out, v.text);
        break;
    case ValueTag::Binary:
        put32(out, std::uint32_t(v.bytes.size()));
        out.insert(out.end(), v.bytes.begin(), v.bytes.end());
        break;
    case ValueTag::Set:
        for (const auto& member : v.set) {
            if (!member.empty())
                putShortString(out, member);
        }
        out.push_back(0);
        break;
    case ValueTag::List:
        for (const auto& item : v.items)
            writeValue(item, out);
        out.push_back(0);
        break;
    case ValueTag::Collection:
        for (const auto& element : v.items) {
            if (element.tag != ValueTag::List) {
                writeValue(element, out);
                continue;
            }
            out.push_back(static_cast<std::uint8_t>(ValueTag::List));
            for (std::size_t i = 0; i + 1 < element.items.size(); i += 2) {
                putShortString(out, element.items[i].text);
                writeValue(element.items[i + 1], out);
            }
            out.push_back(0);
        }
        out.push_back(0);
        break;
    default:
        break;
    }
}

} // namespace

Value Value::integerValue(std::int64_t v)
{
    Value value;
    value.integer = v;
    if (v >= -128 && v <= 127)
        value.tag = ValueTag::Int8;
    else if (v >= -32768 && v <= 32767)
        value.tag = ValueTag::Int16;
    else
        value.tag = ValueTag::Int32;
    return value;
}

Value Value::ident(std::string name)
{
    Value value;
    value.tag = ValueTag::Ident;
    value.text = std::move(name);
    return value;
}

Value Value::boolean(bool v)
{
    Value value;
    value.tag = v ? ValueTag::True : ValueTag::False;
    return value;
}

Value Value::textValue(std::string utf8)
{
    Value value;
    std::string encoded;
    if (!utf8ToCp1252(utf8, encoded))
        value.tag = ValueTag::Utf8String;
    else
        value.tag = encoded.size() < 256 ? ValueTag::String : ValueTag::LString;
    value.text = std::move(utf8);
    return value;
}

Value Value::setValue(std::vector<std::string> members)
{
    Value value;
    value.tag = ValueTag::Set;
    value.set = std::move(members);
    return value;
}

Value Value::binary(std::vector<std::uint8_t> data)
{
    Value value;
    value.tag = ValueTag::Binary;
    value.bytes = std::move(data);
    return value;
}

void writeRecord(const Record& record, std::vector<std::uint8_t>& out)
{
    out.insert(out.end(), std::begin(kSignature), std::end(kSignature));
    putShortString(out, record.className);
    putShortString(out, record.name);
    for (const auto& property : record.properties) {
        if (property.name.empty())
            continue; // an empty name would read as the end of the list
        putShortString(out, property.name);
        writeValue(property.value, out);
    }
    out.push_back(0); // end of properties
    out.push_back(0); // end of children
}

Record readRecord(std::span<const std::uint8_t> data, std::size_t& pos)
{
    return readRecord(data, pos, nullptr);
}

Record readRecord(
    std::span<const std::uint8_t> data, std::size_t& pos, std::vector<std::size_t>* propertyOffsets)
{
    ByteReader in(data, pos);
    if (in.remaining() < 4 || std::memcmp(data.data() + pos, kSignature, 4) != 0)
        in.fail(kInvalidStreamFormat, pos);
    in.bytes(4);
    // A prefix byte (0xF0 | flags) only appears in records written against an
    // ancestor, which shelf files never are.
    if ((in.peek() & 0xF0) == 0xF0)
        in.fail(kInvalidStreamFormat, in.pos());
    Record record;
    record.className = in.shortString();
    record.name = in.shortString();
    record.properties.reserve(16);
    for (;;) {
        const std::size_t at = in.pos();
        std::string name = in.shortString();
        if (name.empty())
            break;
        if (propertyOffsets)
            propertyOffsets->push_back(at);
        record.properties.push_back(Property { std::move(name), readValue(in, 0) });
    }
    // Shelf components own no children: the child list must be empty.
    if (in.u8() != 0)
        in.fail(kInvalidStreamFormat, in.pos() - 1);
    pos = in.pos();
    return record;
}

} // namespace tolm::store
