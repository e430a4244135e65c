#include "store/Components.h"

#include "store/ComponentNames.h"
#include "store/StreamError.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <variant>

namespace tolm::store {

namespace {

[[noreturn]] void fail(const char* message)
{
    throw StreamError(message, 0);
}

std::int32_t integerOf(const ValueView& v)
{
    if (v.tag != ValueTag::Int8 && v.tag != ValueTag::Int16 && v.tag != ValueTag::Int32)
        fail(kInvalidPropertyValue);
    return static_cast<std::int32_t>(v.integer);
}

// Integers some of which have names: colours, charsets, cursors.
struct NameMap {
    const char* (*name)(std::int32_t value); // nullptr when the value has none
    std::optional<std::int32_t> (*value)(std::string_view name);
};

std::int32_t mappedIntegerOf(const ValueView& v, const NameMap& map)
{
    if (v.tag == ValueTag::Ident) {
        if (auto value = map.value(v.bytes))
            return *value;
        fail(kInvalidPropertyValue);
    }
    return integerOf(v);
}

// Identifiers are compared as bytes: the names they may hold are ASCII, which
// reads the same in Windows-1252 and UTF-8, and no other byte matches them.
bool booleanOf(const ValueView& v)
{
    if (v.tag == ValueTag::True)
        return true;
    if (v.tag == ValueTag::False)
        return false;
    if (v.tag == ValueTag::Ident && sameText(v.bytes, "True"))
        return true;
    if (v.tag == ValueTag::Ident && sameText(v.bytes, "False"))
        return false;
    fail(kInvalidPropertyValue);
}

void setText(std::string& out, const ValueView& v)
{
    if (!v.isText())
        fail(kInvalidPropertyValue);
    v.assignText(out);
}

// Component names are identifiers, as the framework's name setter insists.
// A byte past ASCII is no identifier character in either encoding.
void setComponentName(std::string& out, const ValueView& v)
{
    if (!v.isText())
        fail(kInvalidPropertyValue);
    const std::string_view name = v.bytes;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9'))
            fail(kInvalidPropertyValue);
    }
    out.assign(name);
}

std::uint8_t enumOf(const ValueView& v, const std::vector<std::string>& names)
{
    if (v.tag == ValueTag::Ident) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (sameText(names[i], v.bytes))
                return static_cast<std::uint8_t>(i);
        }
    }
    fail(kInvalidPropertyValue);
}

std::uint32_t setOf(const ValueView& v, const std::vector<std::string>& names)
{
    if (v.tag != ValueTag::Set)
        fail(kInvalidPropertyValue);
    std::uint32_t bits = 0;
    for (const auto member : v.members) {
        const auto it = std::find_if(
            names.begin(), names.end(), [&](const std::string& n) { return sameText(n, member); });
        if (it == names.end())
            fail(kInvalidPropertyValue);
        bits |= 1u << (it - names.begin());
    }
    return bits;
}

std::uint32_t le32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
        | std::uint32_t(p[3]) << 24;
}

// "Glyph.Data": a 32-bit size, then a BMP file image of exactly that size.
void setGlyph(std::vector<std::uint8_t>& out, const ValueView& v)
{
    if (v.tag != ValueTag::Binary || v.bytes.size() < 4)
        fail(kInvalidPropertyValue);
    const auto* data = reinterpret_cast<const std::uint8_t*>(v.bytes.data());
    const std::uint32_t inner = le32(data);
    if (inner != v.bytes.size() - 4)
        fail(kInvalidPropertyValue);
    if (inner != 0 && (inner < 14 || data[4] != 'B' || data[5] != 'M'))
        fail(kInvalidPropertyValue);
    out.assign(data + 4, data + v.bytes.size());
}

Value glyphValue(const std::vector<std::uint8_t>& bmp)
{
    std::vector<std::uint8_t> data;
    data.reserve(bmp.size() + 4);
    const auto size = static_cast<std::uint32_t>(bmp.size());
    for (int i = 0; i < 4; ++i)
        data.push_back(std::uint8_t(size >> (8 * i)));
    data.insert(data.end(), bmp.begin(), bmp.end());
    return Value::binary(std::move(data));
}

const std::string& handlerOf(const ValueView& v)
{
    static const std::string none;
    if (v.tag == ValueTag::Nil)
        return none;
    if (v.tag == ValueTag::Ident) {
        for (const auto& own : kOwnHandlers) {
            if (sameText(own, v.bytes))
                return own;
        }
    }
    fail(kInvalidPropertyValue);
}

bool isOwnHandler(const std::string& name)
{
    return std::find(kOwnHandlers.begin(), kOwnHandlers.end(), name) != kOwnHandlers.end();
}

// Property names are matched without regard to case, as the framework did.
// Names are short; a longer one matches nothing and is cut only for the lookup.
class LoweredName {
public:
    explicit LoweredName(std::string_view name)
    {
        m_size = std::min(name.size(), sizeof m_buffer);
        for (std::size_t i = 0; i < m_size; ++i) {
            const char c = name[i];
            m_buffer[i] = c >= 'A' && c <= 'Z' ? char(c + 32) : c;
        }
        if (name.size() > sizeof m_buffer)
            m_size = 0; // no property has so long a name
    }
    std::string_view view() const { return { m_buffer, m_size }; }
    // The first sixteen bytes, zero past the name.
    const char* padded() const { return m_buffer; }

private:
    char m_buffer[40] {};
    std::size_t m_size { 0 };
};

// Splits "Object.Rest"; `rest` is empty when the name has no dot.
struct Path {
    LoweredName head;
    std::string_view rest;
};

Path splitPath(std::string_view name)
{
    // Names are short: a plain loop beats a library search call.
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '.')
            return { LoweredName(name.substr(0, i)), name.substr(i + 1) };
    }
    return { LoweredName(name), {} };
}

// How a stored value is read and written. Each kind takes the tags its
// reader names and nothing else.
enum class Kind : std::uint8_t {
    Integer, // Int8, Int16 or Int32
    Mapped, // an integer, or an identifier of `map` standing for one
    Boolean, // False or True, or those words as identifiers
    Enum, // an identifier of `names`, kept as its index
    Set, // identifiers of `names`, kept as bits
    Text, // String, LString or Utf8String
    Name, // a text that is an identifier: the component's name
    Handler, // Nil, or the name of one of the item's own handlers
    Reference, // Nil, or an identifier naming a component elsewhere, kept as stored
    Event, // Nil, or an identifier naming a method of the window: accepted, not kept
    Glyph, // an object whose one property, Data, holds a picture
    Font, // an object holding the properties of kFontProperties
};

// Whether a property is written: Never for those only ever read.
enum class When : std::uint8_t { Always, UnlessDefault, Never };

// Where a property keeps its value in the state S.
template <typename S>
using Field = std::variant<std::monostate, std::int32_t S::*, bool S::*, std::uint8_t S::*,
    std::uint32_t S::*, ButtonLayout S::*, WindowState S::*, FontPitch S::*, std::string S::*,
    std::vector<std::uint8_t> S::*, FontState S::*>;

// Integers, truth values, indexes and set bits all pass as one number.
template <typename S> std::int64_t numberIn(const Field<S>& field, const S& s)
{
    return std::visit(
        [&]<typename M>(M member) -> std::int64_t {
            if constexpr (std::is_member_object_pointer_v<M>) {
                using T = std::remove_cvref_t<decltype(s.*member)>;
                if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>)
                    return static_cast<std::int64_t>(s.*member);
            }
            return 0;
        },
        field);
}

template <typename S> void setNumber(const Field<S>& field, S& s, std::int64_t n)
{
    std::visit(
        [&]<typename M>(M member) {
            if constexpr (std::is_member_object_pointer_v<M>) {
                using T = std::remove_cvref_t<decltype(s.*member)>;
                if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>)
                    s.*member = static_cast<T>(n);
            }
        },
        field);
}

template <typename S> struct Rules {
    When when { When::UnlessDefault };
    // The value left out of a record. Texts and pictures are left out when empty.
    std::int64_t byDefault { 0 };
    const std::vector<std::string>* names { nullptr }; // for Enum and Set
    NameMap map {}; // for Mapped
    // While this is true the property follows its parent's: it is written only
    // when this is false, and setting the property makes it false.
    bool S::*parent { nullptr };
    void (*then)(S&) { nullptr }; // what the property's setter does after storing
};

// One stored property of a class. A class's table lists its properties in
// the order they are written.
template <typename S> struct Descriptor {
    std::string_view name; // as written; read without regard to case
    Kind kind;
    Field<S> field;
    Rules<S> rules {};
};

void toLowByte(FontState& f)
{
    f.charset &= 0xFF;
}

// Points at the 96 pixels per inch the heights are kept in. A huge size
// would overflow the negation; the height is kept in range.
void pointsToHeight(FontState& f)
{
    f.height = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(-((std::int64_t(f.height) * 96 + 36) / 72), INT32_MIN, INT32_MAX));
}

using F = FontState;
constexpr Descriptor<FontState> kFontProperties[] = {
    { "Charset", Kind::Mapped, &F::charset,
        { .when = When::Always, .map = { charsetName, charsetFromName }, .then = toLowByte } },
    { "Color", Kind::Mapped, &F::color, { .when = When::Always, .map = { colorName, colorFromName } } },
    { "Height", Kind::Integer, &F::height, { .when = When::Always } },
    { "Name", Kind::Text, &F::name },
    { "Pitch", Kind::Enum, &F::pitch, { .names = &kPitches } },
    { "Size", Kind::Integer, &F::height, { .when = When::Never, .then = pointsToHeight } },
    { "Style", Kind::Set, &F::style, { .when = When::Always, .names = &kFontStyles } },
};

// The button keeps one to four glyph images; its setter clamps.
void clampGlyphCount(SpButtonState& s)
{
    s.numGlyphs = s.numGlyphs < 0 ? 1 : std::min(s.numGlyphs, 4);
}

// A size format resizes the item exactly like a user's change.
void resizeToTipo(SpButtonState& s)
{
    const TipoSize size = tipoSize(s.tipo);
    s.layout = size.layout;
    s.width = size.width;
    s.height = size.height;
}

// Canvas is read-only, never stored: it is refused like a name the item does
// not have.
using B = SpButtonState;
constexpr Descriptor<SpButtonState> kSpButtonProperties[] = {
    { "Name", Kind::Name, &B::name, { .when = When::Never } },
    { "Tag", Kind::Integer, &B::tag },
    { "Left", Kind::Integer, &B::left, { .when = When::Always } },
    { "Top", Kind::Integer, &B::top, { .when = When::Always } },
    { "Width", Kind::Integer, &B::width, { .when = When::Always } },
    { "Height", Kind::Integer, &B::height, { .when = When::Always } },
    { "Cursor", Kind::Mapped, &B::cursor, { .map = { cursorName, cursorFromName } } },
    { "Hint", Kind::Text, &B::hint },
    { "AllowAllUp", Kind::Boolean, &B::allowAllUp },
    { "GroupIndex", Kind::Integer, &B::groupIndex },
    { "Down", Kind::Boolean, &B::down },
    { "Caption", Kind::Text, &B::caption },
    { "Enabled", Kind::Boolean, &B::enabled, { .byDefault = 1 } },
    { "Flat", Kind::Boolean, &B::flat },
    { "Font", Kind::Font, &B::font, { .when = When::Always, .parent = &B::parentFont } },
    { "Glyph", Kind::Glyph, &B::glyphBmp },
    { "Layout", Kind::Enum, &B::layout, { .names = &kLayouts } },
    { "Margin", Kind::Integer, &B::margin, { .byDefault = -1 } },
    { "NumGlyphs", Kind::Integer, &B::numGlyphs, { .byDefault = 1, .then = clampGlyphCount } },
    { "ParentFont", Kind::Boolean, &B::parentFont, { .byDefault = 1 } },
    // True by the framework's default, although the item's constructor clears it.
    { "ParentShowHint", Kind::Boolean, &B::parentShowHint, { .byDefault = 1 } },
    { "ShowHint", Kind::Boolean, &B::showHint, { .when = When::Always, .parent = &B::parentShowHint } },
    { "Spacing", Kind::Integer, &B::spacing, { .byDefault = 4 } },
    { "Visible", Kind::Boolean, &B::visible, { .byDefault = 1 } },
    { "OnClick", Kind::Handler, &B::onClick },
    { "OnDblClick", Kind::Handler, &B::onDblClick },
    { "OnMouseDown", Kind::Handler, &B::onMouseDown },
    { "OnMouseMove", Kind::Handler, &B::onMouseMove },
    { "OnMouseUp", Kind::Handler, &B::onMouseUp },
    // Kept as stored; the window gives the item its menu by kind after loading.
    { "PopupMenu", Kind::Reference, &B::popupMenu },
    { "Tipo", Kind::Enum, &B::tipo, { .names = &kTipos, .then = resizeToTipo } },
    { "Clase", Kind::Enum, &B::clase, { .names = &kClases } },
    { "Comando", Kind::Text, &B::comando },
    { "Directorio", Kind::Text, &B::directorio },
    { "FichIcono", Kind::Text, &B::fichIcono },
    { "Param", Kind::Text, &B::param },
    { "Run", Kind::Enum, &B::run, { .names = &kWindowStates } },
    { "Autorun", Kind::Boolean, &B::autorun },
    { "tag1", Kind::Integer, &B::tag1 },
    { "tag2", Kind::Integer, &B::tag2 },
};

// The dialog's events would name methods of its window, which is not what
// its state models.
using D = FontDialogState;
constexpr Descriptor<FontDialogState> kFontDialogProperties[] = {
    { "Name", Kind::Name, &D::name, { .when = When::Never } },
    { "Tag", Kind::Integer, &D::tag },
    { "Ctl3D", Kind::Boolean, &D::ctl3D, { .byDefault = 1 } },
    { "HelpContext", Kind::Integer, &D::helpContext },
    { "Font", Kind::Font, &D::font, { .when = When::Always } },
    { "OnClose", Kind::Event, {}, { .when = When::Never } },
    { "OnShow", Kind::Event, {}, { .when = When::Never } },
    { "Device", Kind::Enum, &D::device, { .names = &kDevices } },
    { "MinFontSize", Kind::Integer, &D::minFontSize, { .when = When::Always } },
    { "MaxFontSize", Kind::Integer, &D::maxFontSize, { .when = When::Always } },
    { "Options", Kind::Set, &D::options, { .byDefault = kFdEffects, .names = &kDialogOptions } },
    { "OnApply", Kind::Event, {}, { .when = When::Never } },
};

// Property lookup by lowered name. Every name fits in sixteen bytes, so a
// name is compared as two words, zero-padded, against the few of its length:
// a record names some twenty properties, and a hash of each name or a byte
// compare per candidate costs more.
template <typename S> class PropertyIndex {
public:
    explicit PropertyIndex(std::span<const Descriptor<S>> table)
    {
        for (const auto& entry : table)
            m_byLength[entry.name.size()].push_back({ keyOf(LoweredName(entry.name)), &entry });
    }
    const Descriptor<S>* find(const LoweredName& name) const
    {
        const std::size_t size = name.view().size();
        if (size >= m_byLength.size())
            return nullptr;
        const Key key = keyOf(name);
        for (const auto& [candidate, entry] : m_byLength[size]) {
            if (candidate == key)
                return entry;
        }
        return nullptr;
    }

private:
    struct Key {
        std::uint64_t low { 0 }, high { 0 };
        bool operator==(const Key&) const = default;
    };
    static Key keyOf(const LoweredName& name)
    {
        Key key;
        std::memcpy(&key.low, name.padded(), 8);
        std::memcpy(&key.high, name.padded() + 8, 8);
        return key;
    }
    std::array<std::vector<std::pair<Key, const Descriptor<S>*>>, 16> m_byLength;
};

// Each state type has one table.
template <typename S, std::size_t N> const PropertyIndex<S>& indexOf(const Descriptor<S> (&table)[N])
{
    static const PropertyIndex<S> index(table);
    return index;
}

// Sets a property from its value, as its setter would.
template <typename S> void read(const Descriptor<S>& d, S& s, const ValueView& v)
{
    const auto text = [&]() -> std::string& { return s.*std::get<std::string S::*>(d.field); };
    switch (d.kind) {
    case Kind::Integer:
        setNumber(d.field, s, integerOf(v));
        break;
    case Kind::Mapped:
        setNumber(d.field, s, mappedIntegerOf(v, d.rules.map));
        break;
    case Kind::Boolean:
        setNumber(d.field, s, booleanOf(v));
        break;
    case Kind::Enum:
        setNumber(d.field, s, enumOf(v, *d.rules.names));
        break;
    case Kind::Set:
        setNumber(d.field, s, setOf(v, *d.rules.names));
        break;
    case Kind::Text:
        setText(text(), v);
        break;
    case Kind::Name:
        setComponentName(text(), v);
        break;
    case Kind::Handler:
        text() = handlerOf(v);
        break;
    case Kind::Reference:
        if (v.tag == ValueTag::Nil)
            (text()).clear();
        else if (v.tag == ValueTag::Ident)
            v.assignText(text());
        else
            fail(kInvalidPropertyValue);
        break;
    case Kind::Event:
        if (v.tag != ValueTag::Nil && v.tag != ValueTag::Ident)
            fail(kInvalidPropertyValue);
        break;
    case Kind::Glyph:
    case Kind::Font:
        fail(kInvalidPropertyValue); // nested objects carry no value of their own
    }
    if (d.rules.parent)
        s.*d.rules.parent = false;
    if (d.rules.then)
        d.rules.then(s);
}

// Sets "Object.Rest", raising what the framework raises for a path that does
// not lead through an object: the first part names no property, or names one
// that holds no object, or the rest names nothing in the object.
template <typename S, std::size_t N>
void applyProperty(const Descriptor<S> (&table)[N], S& s, std::string_view name, const ValueView& v)
{
    const Path path = splitPath(name);
    const Descriptor<S>* d = indexOf(table).find(path.head);
    if (!d)
        fail(kPropertyDoesNotExist);
    if (path.rest.empty())
        return read(*d, s, v);
    if (d->kind != Kind::Font && d->kind != Kind::Glyph)
        fail(kInvalidPropertyPath);
    const Descriptor<FontState>* part
        = d->kind == Kind::Font ? indexOf(kFontProperties).find(LoweredName(path.rest)) : nullptr;
    if (part)
        read(*part, s.*std::get<FontState S::*>(d->field), v);
    else if (d->kind == Kind::Glyph && sameText(path.rest, "Data"))
        setGlyph(s.*std::get<std::vector<std::uint8_t> S::*>(d->field), v);
    else
        fail(path.rest.find('.') != std::string_view::npos ? kInvalidPropertyPath : kPropertyDoesNotExist);
    // Any change to the item's own font detaches it from its parent's.
    if (d->rules.parent)
        s.*d->rules.parent = false;
}

template <typename S, std::size_t N>
S readState(
    const Descriptor<S> (&table)[N], const Record& record, std::span<const std::size_t> propertyOffsets)
{
    S state;
    state.name = record.name;
    for (std::size_t i = 0; i < record.properties.size(); ++i) {
        try {
            std::vector<std::string_view> members;
            const Property& property = record.properties[i];
            applyProperty(table, state, property.name, viewOf(property.value, members));
        } catch (const StreamError& e) {
            throw StreamError(e.what(), i < propertyOffsets.size() ? propertyOffsets[i] : 0);
        }
    }
    return state;
}

// Whether a property stays out of the record: it is never written, follows
// its parent, holds its default, or names a handler a file cannot name.
template <typename S> bool leftOut(const Descriptor<S>& d, const S& s)
{
    const Rules<S>& rules = d.rules;
    if (rules.when == When::Never || (rules.parent && s.*rules.parent))
        return true;
    if (const auto* text = std::get_if<std::string S::*>(&d.field))
        return (s.**text).empty() || (d.kind == Kind::Handler && !isOwnHandler(s.**text));
    if (const auto* bytes = std::get_if<std::vector<std::uint8_t> S::*>(&d.field))
        return (s.**bytes).empty();
    return rules.when == When::UnlessDefault && numberIn(d.field, s) == rules.byDefault;
}

template <typename S> Value valueOf(const Descriptor<S>& d, const S& s)
{
    if (const auto* text = std::get_if<std::string S::*>(&d.field))
        return d.kind == Kind::Text ? Value::textValue(s.**text) : Value::ident(s.**text);
    if (const auto* bytes = std::get_if<std::vector<std::uint8_t> S::*>(&d.field))
        return glyphValue(s.**bytes);
    const std::int64_t n = numberIn(d.field, s);
    const std::vector<std::string>* names = d.rules.names;
    switch (d.kind) {
    case Kind::Mapped:
        if (const char* name = d.rules.map.name(static_cast<std::int32_t>(n)))
            return Value::ident(name);
        return Value::integerValue(n);
    case Kind::Boolean:
        return Value::boolean(n != 0);
    case Kind::Enum:
        // A byte kept as stored may hold a number that has no name; a member
        // of an enumerated type may not.
        if (static_cast<std::size_t>(n) < names->size()
            || !std::holds_alternative<std::uint8_t S::*>(d.field))
            return Value::ident(names->at(static_cast<std::size_t>(n)));
        return Value::integerValue(n);
    case Kind::Set: {
        std::vector<std::string> members;
        for (std::size_t i = 0; i < names->size(); ++i) {
            if (n & (std::int64_t(1) << i))
                members.push_back((*names)[i]);
        }
        return Value::setValue(std::move(members));
    }
    default:
        return Value::integerValue(n);
    }
}

template <typename S>
void writeProperties(
    std::span<const Descriptor<S>> table, const S& s, std::string_view prefix, Record& record)
{
    for (const auto& d : table) {
        if (leftOut(d, s))
            continue;
        if (d.kind == Kind::Font) {
            writeProperties<FontState>(
                kFontProperties, s.*std::get<FontState S::*>(d.field), "Font.", record);
            continue;
        }
        std::string name(prefix);
        name += d.name;
        if (d.kind == Kind::Glyph)
            name += ".Data";
        record.properties.push_back({ std::move(name), valueOf(d, s) });
    }
}

} // namespace

void applySpButtonProperty(SpButtonState& s, const Property& property)
{
    std::vector<std::string_view> members;
    applySpButtonProperty(s, property.name, viewOf(property.value, members));
}

void applySpButtonProperty(SpButtonState& s, std::string_view name, const ValueView& v)
{
    applyProperty(kSpButtonProperties, s, name, v);
}

SpButtonState readSpButton(const Record& record)
{
    return readSpButton(record, {});
}

SpButtonState readSpButton(const Record& record, std::span<const std::size_t> propertyOffsets)
{
    return readState(kSpButtonProperties, record, propertyOffsets);
}

Record writeSpButton(const SpButtonState& s)
{
    Record record { "TSpButton", s.name, {} };
    record.properties.reserve(32);
    writeProperties<SpButtonState>(kSpButtonProperties, s, {}, record);
    return record;
}

void applyFontDialogProperty(FontDialogState& s, const Property& property)
{
    std::vector<std::string_view> members;
    applyFontDialogProperty(s, property.name, viewOf(property.value, members));
}

void applyFontDialogProperty(FontDialogState& s, std::string_view name, const ValueView& v)
{
    applyProperty(kFontDialogProperties, s, name, v);
}

FontDialogState readFontDialog(const Record& record)
{
    return readFontDialog(record, {});
}

FontDialogState readFontDialog(const Record& record, std::span<const std::size_t> propertyOffsets)
{
    return readState(kFontDialogProperties, record, propertyOffsets);
}

Record writeFontDialog(const FontDialogState& s)
{
    Record record { "TFontDialog", s.name, {} };
    writeProperties<FontDialogState>(kFontDialogProperties, s, {}, record);
    return record;
}

} // namespace tolm::store
