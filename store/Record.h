#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolm::store {

// Tag byte in front of every value of a component record.
enum class ValueTag : std::uint8_t {
    Null = 0, // end of a list
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5, // 80-bit float, kept as its ten bytes
    String = 6, // short string, Windows-1252
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12, // 32-bit length, Windows-1252
    Nil = 13,
    Collection = 14,
    Utf8String = 20, // 32-bit length; only for text Windows-1252 cannot hold
};

// One typed value. Texts are held as UTF-8 in memory whatever tag they came
// with; `tag` remembers the tag read (or to be written) so that a file can be
// reproduced byte for byte.
struct Value {
    ValueTag tag { ValueTag::Null };
    std::int64_t integer { 0 }; // Int8/Int16/Int32
    std::string text; // String/LString/Utf8String (UTF-8), Ident (ASCII)
    std::vector<std::string> set; // Set members, in stored order
    std::vector<std::uint8_t> bytes; // Binary payload; Extended's ten bytes
    // List: the elements. Collection: per element an optional order index
    // (an integer value) and then a List whose items are the element's
    // properties as pairs: an Ident holding the property name, then its value.
    std::vector<Value> items;

    static Value integerValue(std::int64_t v); // narrowest of Int8/Int16/Int32
    static Value ident(std::string name);
    static Value boolean(bool v);
    static Value textValue(std::string utf8); // String, LString or Utf8String by content and length
    static Value setValue(std::vector<std::string> members);
    static Value binary(std::vector<std::uint8_t> data);

    bool operator==(const Value&) const = default;
};

// A value where it lies: in a record's bytes, or borrowed from a Value.
// Nothing is copied or converted until a reader keeps the value.
struct ValueView {
    ValueTag tag { ValueTag::Null };
    std::int64_t integer { 0 }; // Int8/Int16/Int32
    // String/LString/Ident: Windows-1252 as stored, or UTF-8 when `utf8` is
    // set; Utf8String: UTF-8; Binary and Extended: their bytes.
    std::string_view bytes;
    bool utf8 { false };
    // A Set's members, as bytes to compare; empty for a set offered before
    // its members are read.
    std::span<const std::string_view> members;

    bool isText() const
    {
        return tag == ValueTag::String || tag == ValueTag::LString || tag == ValueTag::Utf8String;
    }
    // The text or identifier in UTF-8, converted here and only here.
    std::string text() const;
    void assignText(std::string& out) const;
    // A List, Set or Collection comes out empty: its parts are not in a view.
    Value toValue() const;
    void assignTo(Value& value) const; // the same into a fresh Value, in place
};

// A view of a scalar or Set value; `members` must outlive the view.
ValueView viewOf(const Value& value, std::vector<std::string_view>& members);

struct Property {
    std::string name; // dotted path for nested objects: "Font.Name", "Glyph.Data"
    Value value;
    bool operator==(const Property&) const = default;
};

// A component record: the class it fills, the component's name and the
// properties in stored order.
struct Record {
    std::string className;
    std::string name;
    std::vector<Property> properties;
    bool operator==(const Record&) const = default;
};

// Appends one record ("TPF0", head, properties, two end bytes) to `out`.
void writeRecord(const Record& record, std::vector<std::uint8_t>& out);

// The same in pieces, for a writer that never holds a whole record: the head,
// then per property its name and its value, then the end. Names, identifiers
// and set members are short strings.
void writeRecordHead(std::string_view className, std::string_view name, std::vector<std::uint8_t>& out);
void writeShortString(std::string_view utf8, std::vector<std::uint8_t>& out);
void writeValue(const Value& value, std::vector<std::uint8_t>& out);
void writeRecordEnd(std::vector<std::uint8_t>& out);

// Reads one record starting at `pos` and advances `pos` past it. Throws
// StreamError (offsets relative to `data`) for anything malformed; `pos` is
// left where it was.
//
// A record of a class read in this store (TSpButton, TFontDialog) has each
// property checked by that class's reader as soon as it is read, and a List,
// Collection or Set is offered to it empty (a set's members one by one)
// before its elements are read: a value the property cannot hold is refused
// at the property's name without being built. (A property the other of the
// two readers takes is let through: files are read by position, not by the
// class a record names.) Records of other classes are read as they are,
// within kMaxProperties and kMaxElements, so that reading any record costs
// memory in proportion to its bytes.
Record readRecord(std::span<const std::uint8_t> data, std::size_t& pos);
// The same, also giving the byte offset at which each property's name starts,
// so that a schema error found later can be pointed at.
Record readRecord(
    std::span<const std::uint8_t> data, std::size_t& pos, std::vector<std::size_t>* propertyOffsets);

// Lists and collections nest; deeper input is rejected rather than recursed into.
inline constexpr int kMaxValueDepth = 32;
// What readRecord holds of one record at most. Our items are written with
// fewer than sixty properties and no lists; sets have at most sixteen members.
inline constexpr std::size_t kMaxProperties = 1024;
inline constexpr std::size_t kMaxElements = 4096; // list items, collection entries and set members together

// What walkRecord meets in a record's bytes, in order. A List, Set or
// Collection arrives as begin, its parts, end; so does each element of a
// Collection, a List of property names each followed by its value, after its
// optional order index. Every other value arrives whole. `at` is the offset of
// the part in the data. Names, members and values are views into the data,
// texts still in the file's Windows-1252: they last as long as the data.
class RecordVisitor {
public:
    virtual ~RecordVisitor() = default;
    virtual void head(std::string_view className, std::string_view name, std::size_t at) = 0;
    virtual void property(std::string_view name, std::size_t at) = 0; // its value follows
    virtual void value(const ValueView& value, std::size_t at) = 0;
    virtual void begin(ValueTag tag, std::size_t at) = 0;
    // A member of a Set, or the name of a property of a Collection element.
    virtual void member(std::string_view name, std::size_t at) = 0;
    virtual void end() = 0;
};

// Takes every part and keeps nothing: walking with it only checks the bytes.
class RecordSkimmer : public RecordVisitor {
public:
    void head(std::string_view, std::string_view, std::size_t) override { }
    void property(std::string_view, std::size_t) override { }
    void value(const ValueView&, std::size_t) override { }
    void begin(ValueTag, std::size_t) override { }
    void member(std::string_view, std::size_t) override { }
    void end() override { }
};

// Walks the record at `pos` and advances `pos` past it, building nothing but
// the part it hands to `visitor`. Throws StreamError for malformed bytes (and
// lets through what the visitor throws), leaving `pos` where it was.
void walkRecord(std::span<const std::uint8_t> data, std::size_t& pos, RecordVisitor& visitor);

// Windows-1252 <-> UTF-8. The five bytes Windows-1252 leaves undefined map to
// the C1 controls of the same value so that every byte string round-trips.
std::string cp1252ToUtf8(std::string_view bytes);
void cp1252ToUtf8(std::string_view bytes, std::string& out); // into `out`, reusing its storage
bool utf8ToCp1252(std::string_view utf8, std::string& bytes); // false when a character has no byte

} // namespace tolm::store
