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
    // A length byte and that many bytes, left in Windows-1252.
    std::string_view shortString()
    {
        const std::size_t at = m_pos;
        const std::uint8_t count = u8();
        if (count > remaining())
            fail(kInvalidStreamFormat, at);
        return bytes(count);
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos { 0 };
};

// Reads a record's grammar and hands each part to the visitor as it is read.
class Walker {
public:
    Walker(ByteReader& in, RecordVisitor& visitor)
        : m_in(in)
        , m_visitor(visitor)
    { }

    void value(int depth)
    {
        const std::size_t at = m_in.pos();
        const auto tag = static_cast<ValueTag>(m_in.u8());
        switch (tag) {
        case ValueTag::List:
        case ValueTag::Collection:
            if (depth >= kMaxValueDepth)
                m_in.fail(kInvalidStreamFormat, at);
            m_visitor.begin(tag, at);
            if (tag == ValueTag::List)
                elements(depth + 1);
            else
                collection(depth + 1);
            m_visitor.end();
            break;
        case ValueTag::Set:
            m_visitor.begin(tag, at);
            for (;;) {
                const std::size_t memberAt = m_in.pos();
                const std::string_view member = m_in.shortString();
                if (member.empty())
                    break;
                m_visitor.member(member, memberAt);
            }
            m_visitor.end();
            break;
        default:
            m_visitor.value(scalar(tag, at), at);
        }
    }

private:
    ByteReader& m_in;
    RecordVisitor& m_visitor;

    ValueView scalar(ValueTag tag, std::size_t at)
    {
        ValueView v;
        v.tag = tag;
        switch (tag) {
        case ValueTag::Int8:
            v.integer = static_cast<std::int8_t>(m_in.u8());
            break;
        case ValueTag::Int16: {
            const auto b = m_in.bytes(2);
            v.integer
                = static_cast<std::int16_t>(std::uint16_t(std::uint8_t(b[0]) | std::uint8_t(b[1]) << 8));
            break;
        }
        case ValueTag::Int32:
            v.integer = static_cast<std::int32_t>(m_in.u32());
            break;
        case ValueTag::Extended:
            v.bytes = m_in.bytes(10);
            break;
        case ValueTag::String:
        case ValueTag::Ident:
            v.bytes = m_in.shortString();
            break;
        case ValueTag::False:
        case ValueTag::True:
        case ValueTag::Nil:
            break;
        case ValueTag::Binary:
        case ValueTag::LString:
            v.bytes = m_in.longBytes();
            break;
        case ValueTag::Utf8String:
            v.bytes = m_in.longBytes();
            v.utf8 = true;
            break;
        default:
            // Tag 0 ends lists only; anything else is no value this format knows.
            m_in.fail(kInvalidPropertyValue, at);
        }
        return v;
    }

    void elements(int depth)
    {
        while (m_in.peek() != 0)
            value(depth);
        m_in.u8();
    }

    // Per element an optional order index (an integer), then a List of
    // property names each followed by its value.
    void collection(int depth)
    {
        while (m_in.peek() != 0) {
            const auto next = static_cast<ValueTag>(m_in.peek());
            if (next == ValueTag::Int8 || next == ValueTag::Int16 || next == ValueTag::Int32)
                value(depth);
            const std::size_t at = m_in.pos();
            if (static_cast<ValueTag>(m_in.peek()) != ValueTag::List)
                m_in.fail(kInvalidStreamFormat, at);
            m_in.u8();
            m_visitor.begin(ValueTag::List, at);
            for (;;) {
                const std::size_t nameAt = m_in.pos();
                const std::string_view name = m_in.shortString();
                if (name.empty())
                    break;
                m_visitor.member(name, nameAt);
                value(depth);
            }
            m_visitor.end();
        }
        m_in.u8();
    }
};

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

} // namespace

// Names and identifiers are ASCII in practice; one that cannot be encoded goes
// out as its UTF-8 bytes rather than being lost, cut to the 255 a length byte allows.
void writeShortString(std::string_view utf8, std::vector<std::uint8_t>& out)
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
        writeShortString(v.text, out);
        break;
    case ValueTag::Binary:
        put32(out, std::uint32_t(v.bytes.size()));
        out.insert(out.end(), v.bytes.begin(), v.bytes.end());
        break;
    case ValueTag::Set:
        for (const auto& member : v.set) {
            if (!member.empty())
                writeShortString(member, out);
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
                writeShortString(element.items[i].text, out);
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

std::string ValueView::text() const
{
    std::string out;
    assignText(out);
    return out;
}

void ValueView::assignText(std::string& out) const
{
    if (utf8)
        out.assign(bytes);
    else
        cp1252ToUtf8(bytes, out);
}

Value ValueView::toValue() const
{
    Value v;
    assignTo(v);
    return v;
}

void ValueView::assignTo(Value& v) const
{
    v.tag = tag;
    v.integer = integer;
    switch (tag) {
    case ValueTag::String:
    case ValueTag::LString:
    case ValueTag::Utf8String:
    case ValueTag::Ident:
        assignText(v.text);
        break;
    case ValueTag::Binary:
    case ValueTag::Extended:
        v.bytes.assign(bytes.begin(), bytes.end());
        break;
    case ValueTag::Set:
        v.set.reserve(members.size());
        for (const auto member : members)
            v.set.push_back(utf8 ? std::string(member) : cp1252ToUtf8(member));
        break;
    default:
        break;
    }
}

ValueView viewOf(const Value& value, std::vector<std::string_view>& members)
{
    ValueView v;
    v.tag = value.tag;
    v.integer = value.integer;
    v.utf8 = true;
    switch (value.tag) {
    case ValueTag::String:
    case ValueTag::LString:
    case ValueTag::Utf8String:
    case ValueTag::Ident:
        v.bytes = value.text;
        break;
    case ValueTag::Binary:
    case ValueTag::Extended:
        v.bytes = std::string_view(reinterpret_cast<const char*>(value.bytes.data()), value.bytes.size());
        break;
    case ValueTag::Set:
        members.assign(value.set.begin(), value.set.end());
        v.members = members;
        break;
    default:
        break;
    }
    return v;
}

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

void writeRecordHead(std::string_view className, std::string_view name, std::vector<std::uint8_t>& out)
{
    out.insert(out.end(), std::begin(kSignature), std::end(kSignature));
    writeShortString(className, out);
    writeShortString(name, out);
}

void writeRecordEnd(std::vector<std::uint8_t>& out)
{
    out.push_back(0); // end of properties
    out.push_back(0); // end of children
}

void writeRecord(const Record& record, std::vector<std::uint8_t>& out)
{
    writeRecordHead(record.className, record.name, out);
    for (const auto& property : record.properties) {
        if (property.name.empty())
            continue; // an empty name would read as the end of the list
        writeShortString(property.name, out);
        writeValue(property.value, out);
    }
    writeRecordEnd(out);
}

void walkRecord(std::span<const std::uint8_t> data, std::size_t& pos, RecordVisitor& visitor)
{
    ByteReader in(data, pos);
    if (in.remaining() < 4 || std::memcmp(data.data() + pos, kSignature, 4) != 0)
        in.fail(kInvalidStreamFormat, pos);
    in.bytes(4);
    // A prefix byte (0xF0 | flags) only appears in records written against an
    // ancestor, which shelf files never are.
    if ((in.peek() & 0xF0) == 0xF0)
        in.fail(kInvalidStreamFormat, in.pos());
    const std::string_view className = in.shortString();
    const std::string_view name = in.shortString();
    visitor.head(className, name, pos);
    Walker walker(in, visitor);
    for (;;) {
        const std::size_t at = in.pos();
        const std::string_view property = in.shortString();
        if (property.empty())
            break;
        visitor.property(property, at);
        walker.value(0);
    }
    // Shelf components own no children: the child list must be empty.
    if (in.u8() != 0)
        in.fail(kInvalidStreamFormat, in.pos() - 1);
    pos = in.pos();
}

} // namespace tolm::store
