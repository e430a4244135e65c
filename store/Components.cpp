#include "store/Components.h"

#include "store/StreamError.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace tolm::store {

namespace {

struct NamedValue {
    const char* name;
    std::int32_t value;
};

constexpr std::int32_t sys(int n)
{
    return static_cast<std::int32_t>(0x80000000u + n);
}

constexpr NamedValue kColors[] = {
    { "clBlack", 0x000000 },
    { "clMaroon", 0x000080 },
    { "clGreen", 0x008000 },
    { "clOlive", 0x008080 },
    { "clNavy", 0x800000 },
    { "clPurple", 0x800080 },
    { "clTeal", 0x808000 },
    { "clGray", 0x808080 },
    { "clSilver", 0xC0C0C0 },
    { "clRed", 0x0000FF },
    { "clLime", 0x00FF00 },
    { "clYellow", 0x00FFFF },
    { "clBlue", 0xFF0000 },
    { "clFuchsia", 0xFF00FF },
    { "clAqua", 0xFFFF00 },
    { "clWhite", 0xFFFFFF },
    { "clScrollBar", sys(0) },
    { "clBackground", sys(1) },
    { "clActiveCaption", sys(2) },
    { "clInactiveCaption", sys(3) },
    { "clMenu", sys(4) },
    { "clWindow", sys(5) },
    { "clWindowFrame", sys(6) },
    { "clMenuText", sys(7) },
    { "clWindowText", sys(8) },
    { "clCaptionText", sys(9) },
    { "clActiveBorder", sys(10) },
    { "clInactiveBorder", sys(11) },
    { "clAppWorkSpace", sys(12) },
    { "clHighlight", sys(13) },
    { "clHighlightText", sys(14) },
    { "clBtnFace", sys(15) },
    { "clBtnShadow", sys(16) },
    { "clGrayText", sys(17) },
    { "clBtnText", sys(18) },
    { "clInactiveCaptionText", sys(19) },
    { "clBtnHighlight", sys(20) },
    { "cl3DDkShadow", sys(21) },
    { "cl3DLight", sys(22) },
    { "clInfoText", sys(23) },
    { "clInfoBk", sys(24) },
    { "clNone", 0x1FFFFFFF },
};

constexpr NamedValue kCharsets[] = {
    { "ANSI_CHARSET", 0 },
    { "DEFAULT_CHARSET", 1 },
    { "SYMBOL_CHARSET", 2 },
    { "MAC_CHARSET", 77 },
    { "SHIFTJIS_CHARSET", 128 },
    { "HANGEUL_CHARSET", 129 },
    { "JOHAB_CHARSET", 130 },
    { "GB2312_CHARSET", 134 },
    { "CHINESEBIG5_CHARSET", 136 },
    { "GREEK_CHARSET", 161 },
    { "TURKISH_CHARSET", 162 },
    { "HEBREW_CHARSET", 177 },
    { "ARABIC_CHARSET", 178 },
    { "BALTIC_CHARSET", 186 },
    { "RUSSIAN_CHARSET", 204 },
    { "THAI_CHARSET", 222 },
    { "EASTEUROPE_CHARSET", 238 },
    { "OEM_CHARSET", 255 },
};

constexpr NamedValue kCursors[] = {
    { "crDefault", 0 },
    { "crNone", -1 },
    { "crArrow", -2 },
    { "crCross", -3 },
    { "crIBeam", -4 },
    { "crSizeNESW", -6 },
    { "crSizeNS", -7 },
    { "crSizeNWSE", -8 },
    { "crSizeWE", -9 },
    { "crUpArrow", -10 },
    { "crHourGlass", -11 },
    { "crDrag", -12 },
    { "crNoDrop", -13 },
    { "crHSplit", -14 },
    { "crVSplit", -15 },
    { "crMultiDrag", -16 },
    { "crSQLWait", -17 },
    { "crNo", -18 },
    { "crAppStart", -19 },
    { "crHelp", -20 },
    { "crHandPoint", -21 },
    { "crSizeAll", -22 },
};

bool sameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    if (a == b)
        return true; // files written by us spell names exactly
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] + 32) : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

template <std::size_t N> const char* nameOf(const NamedValue (&map)[N], std::int32_t value)
{
    for (const auto& entry : map) {
        if (entry.value == value)
            return entry.name;
    }
    return nullptr;
}

template <std::size_t N>
std::optional<std::int32_t> valueOf(const NamedValue (&map)[N], std::string_view name)
{
    for (const auto& entry : map) {
        if (sameText(entry.name, name))
            return entry.value;
    }
    return std::nullopt;
}

const std::vector<std::string> kWindowStates { "wsNormal", "wsMinimized", "wsMaximized" };
const std::vector<std::string> kLayouts { "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom" };
const std::vector<std::string> kPitches { "fpDefault", "fpVariable", "fpFixed" };
const std::vector<std::string> kDevices { "fdScreen", "fdPrinter", "fdBoth" };
const std::vector<std::string> kFontStyles { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" };
const std::vector<std::string> kDialogOptions { "fdAnsiOnly", "fdTrueTypeOnly", "fdEffects",
    "fdFixedPitchOnly", "fdForceFontExist", "fdNoFaceSel", "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel",
    "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp", "fdWysiwyg", "fdLimitSize", "fdScalableOnly",
    "fdApplyButton" };

// The item's own published handlers: the only methods an event can name.
const std::vector<std::string> kOwnHandlers { "SpButtonClick", "SpButtonMouseDown", "SpButtonMouseMove",
    "SpButtonMouseUp" };

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

template <std::size_t N> std::int32_t mappedIntegerOf(const ValueView& v, const NamedValue (&map)[N])
{
    if (v.tag == ValueTag::Ident) {
        if (auto value = valueOf(map, v.bytes))
            return *value;
        fail(kInvalidPropertyValue);
    }
    return integerOf(v);
}

template <std::size_t N> Value mappedValue(std::int32_t value, const NamedValue (&map)[N])
{
    if (const char* name = nameOf(map, value))
        return Value::ident(name);
    return Value::integerValue(value);
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

Value setValueOf(std::uint32_t bits, const std::vector<std::string>& names)
{
    std::vector<std::string> members;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (bits & (1u << i))
            members.push_back(names[i]);
    }
    return Value::setValue(std::move(members));
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
    bool operator==(std::string_view other) const { return view() == other; }
    // The first sixteen bytes, zero past the name.
    const char* padded() const { return m_buffer; }

private:
    char m_buffer[40] {};
    std::size_t m_size { 0 };
};

enum class FontProp { Charset, Color, Height, Name, Pitch, Size, Style };

// Applies "Font.<rest>"; false when `rest` names no font property.
bool applyFontProperty(FontState& font, std::string_view rest, const ValueView& v)
{
    static const std::unordered_map<std::string_view, FontProp> props {
        { "charset", FontProp::Charset },
        { "color", FontProp::Color },
        { "height", FontProp::Height },
        { "name", FontProp::Name },
        { "pitch", FontProp::Pitch },
        { "size", FontProp::Size },
        { "style", FontProp::Style },
    };
    const auto it = props.find(LoweredName(rest).view());
    if (it == props.end())
        return false;
    switch (it->second) {
    case FontProp::Charset:
        font.charset = mappedIntegerOf(v, kCharsets) & 0xFF;
        break;
    case FontProp::Color:
        font.color = mappedIntegerOf(v, kColors);
        break;
    case FontProp::Height:
        font.height = integerOf(v);
        break;
    case FontProp::Name:
        setText(font.name, v);
        break;
    case FontProp::Pitch:
        font.pitch = static_cast<FontPitch>(enumOf(v, kPitches));
        break;
    case FontProp::Size:
        // Points at the 96 pixels per inch the heights are kept in.
        // A huge size would overflow the negation; the height is kept in range.
        font.height = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(-((std::int64_t(integerOf(v)) * 96 + 36) / 72), INT32_MIN, INT32_MAX));
        break;
    case FontProp::Style:
        font.style = static_cast<std::uint8_t>(setOf(v, kFontStyles));
        break;
    }
    return true;
}

// Splits "Object.Rest" and raises what the framework raises for a path that
// does not lead through an object: the first part names no property, or names
// one that holds no object.
struct Path {
    LoweredName head;
    std::string_view rest; // empty when the name has no dot
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

void appendFont(Record& record, const FontState& font)
{
    auto& p = record.properties;
    p.push_back({ "Font.Charset", mappedValue(font.charset, kCharsets) });
    p.push_back({ "Font.Color", mappedValue(font.color, kColors) });
    p.push_back({ "Font.Height", Value::integerValue(font.height) });
    if (!font.name.empty())
        p.push_back({ "Font.Name", Value::textValue(font.name) });
    if (font.pitch != FontPitch::Default)
        p.push_back({ "Font.Pitch", Value::ident(kPitches.at(static_cast<std::size_t>(font.pitch))) });
    p.push_back({ "Font.Style", setValueOf(font.style, kFontStyles) });
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

enum class Sp {
    Name,
    Tag,
    Left,
    Top,
    Width,
    Height,
    Cursor,
    Hint,
    AllowAllUp,
    GroupIndex,
    Down,
    Caption,
    Enabled,
    Flat,
    Font,
    Glyph,
    Layout,
    Margin,
    NumGlyphs,
    ParentFont,
    ParentShowHint,
    ShowHint,
    Spacing,
    Visible,
    OnClick,
    OnDblClick,
    OnMouseDown,
    OnMouseMove,
    OnMouseUp,
    PopupMenu,
    Canvas,
    Tipo,
    Clase,
    Comando,
    Directorio,
    FichIcono,
    Param,
    Run,
    Autorun,
    Tag1,
    Tag2,
};

struct SpName {
    std::string_view name; // lower case
    Sp property;
};

constexpr SpName kSpNames[] = {
    { "name", Sp::Name },
    { "tag", Sp::Tag },
    { "left", Sp::Left },
    { "top", Sp::Top },
    { "width", Sp::Width },
    { "height", Sp::Height },
    { "cursor", Sp::Cursor },
    { "hint", Sp::Hint },
    { "allowallup", Sp::AllowAllUp },
    { "groupindex", Sp::GroupIndex },
    { "down", Sp::Down },
    { "caption", Sp::Caption },
    { "enabled", Sp::Enabled },
    { "flat", Sp::Flat },
    { "font", Sp::Font },
    { "glyph", Sp::Glyph },
    { "layout", Sp::Layout },
    { "margin", Sp::Margin },
    { "numglyphs", Sp::NumGlyphs },
    { "parentfont", Sp::ParentFont },
    { "parentshowhint", Sp::ParentShowHint },
    { "showhint", Sp::ShowHint },
    { "spacing", Sp::Spacing },
    { "visible", Sp::Visible },
    { "onclick", Sp::OnClick },
    { "ondblclick", Sp::OnDblClick },
    { "onmousedown", Sp::OnMouseDown },
    { "onmousemove", Sp::OnMouseMove },
    { "onmouseup", Sp::OnMouseUp },
    { "popupmenu", Sp::PopupMenu },
    { "canvas", Sp::Canvas },
    { "tipo", Sp::Tipo },
    { "clase", Sp::Clase },
    { "comando", Sp::Comando },
    { "directorio", Sp::Directorio },
    { "fichicono", Sp::FichIcono },
    { "param", Sp::Param },
    { "run", Sp::Run },
    { "autorun", Sp::Autorun },
    { "tag1", Sp::Tag1 },
    { "tag2", Sp::Tag2 },
};

// Property lookup by lowered name. Every name fits in sixteen bytes, so a
// name is compared as two words, zero-padded, against the few of its length:
// a record names some twenty properties, and a hash of each name or a byte
// compare per candidate costs more.
class SpPropertyIndex {
public:
    SpPropertyIndex()
    {
        for (const auto& entry : kSpNames)
            m_byLength[entry.name.size()].push_back({ keyOf(entry.name), &entry });
    }
    const SpName* find(const LoweredName& name) const
    {
        const std::size_t size = name.view().size();
        if (size >= m_byLength.size())
            return nullptr;
        Key key;
        std::memcpy(&key.low, name.padded(), 8);
        std::memcpy(&key.high, name.padded() + 8, 8);
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
    static Key keyOf(std::string_view name)
    {
        char padded[16] {};
        std::memcpy(padded, name.data(), std::min(name.size(), sizeof padded));
        Key key;
        std::memcpy(&key.low, padded, 8);
        std::memcpy(&key.high, padded + 8, 8);
        return key;
    }
    std::array<std::vector<std::pair<Key, const SpName*>>, 16> m_byLength;
};

const SpPropertyIndex& spProperties()
{
    static const SpPropertyIndex index;
    return index;
}

} // namespace

const char* colorName(std::int32_t color)
{
    return nameOf(kColors, color);
}
std::optional<std::int32_t> colorFromName(std::string_view name)
{
    return valueOf(kColors, name);
}
const char* charsetName(std::int32_t charset)
{
    return nameOf(kCharsets, charset);
}
std::optional<std::int32_t> charsetFromName(std::string_view name)
{
    return valueOf(kCharsets, name);
}

TipoSize tipoSize(int tipo)
{
    static constexpr TipoSize sizes[] = {
        { 40, 40, ButtonLayout::GlyphLeft },
        { 80, 40, ButtonLayout::GlyphLeft },
        { 100, 40, ButtonLayout::GlyphLeft },
        { 120, 40, ButtonLayout::GlyphLeft },
        { 40, 60, ButtonLayout::GlyphTop },
        { 60, 60, ButtonLayout::GlyphTop },
        { 80, 60, ButtonLayout::GlyphTop },
        { 40, 20, ButtonLayout::GlyphLeft },
        { 80, 20, ButtonLayout::GlyphLeft },
        { 120, 20, ButtonLayout::GlyphLeft },
    };
    if (tipo < 0 || tipo > 9)
        return sizes[0];
    return sizes[tipo];
}

const std::vector<std::string>& tipoNames()
{
    static const std::vector<std::string> names { "T40x40", "T80x40", "T100x40", "T120x40", "T40x60",
        "T60x60", "T80x60", "T40x20", "T80x20", "T120x20" };
    return names;
}

const std::vector<std::string>& claseNames()
{
    static const std::vector<std::string> names { "Normal", "Carpeta", "Reloj", "Disco", "Memoria",
        "Recursos" };
    return names;
}

const std::vector<std::string>& ownHandlerNames()
{
    return kOwnHandlers;
}

void applySpButtonProperty(SpButtonState& s, const Property& property)
{
    std::vector<std::string_view> members;
    applySpButtonProperty(s, property.name, viewOf(property.value, members));
}

void applySpButtonProperty(SpButtonState& s, std::string_view name, const ValueView& v)
{
    const Path path = splitPath(name);
    const SpName* it = spProperties().find(path.head);
    if (!it)
        fail(kPropertyDoesNotExist);
    if (!path.rest.empty()) {
        if (it->property == Sp::Font) {
            if (!applyFontProperty(s.font, path.rest, v)) {
                if (path.rest.find('.') != std::string_view::npos)
                    fail(kInvalidPropertyPath);
                fail(kPropertyDoesNotExist);
            }
            // Any change to the item's own font detaches it from its parent's.
            s.parentFont = false;
            return;
        }
        if (it->property == Sp::Glyph) {
            if (!sameText(path.rest, "Data"))
                fail(path.rest.find('.') != std::string_view::npos ? kInvalidPropertyPath
                                                                   : kPropertyDoesNotExist);
            setGlyph(s.glyphBmp, v);
            return;
        }
        if (it->property == Sp::Canvas)
            fail(kPropertyDoesNotExist);
        fail(kInvalidPropertyPath);
    }
    switch (it->property) {
    case Sp::Name:
        setComponentName(s.name, v);
        break;
    case Sp::Tag:
        s.tag = integerOf(v);
        break;
    case Sp::Left:
        s.left = integerOf(v);
        break;
    case Sp::Top:
        s.top = integerOf(v);
        break;
    case Sp::Width:
        s.width = integerOf(v);
        break;
    case Sp::Height:
        s.height = integerOf(v);
        break;
    case Sp::Cursor:
        s.cursor = mappedIntegerOf(v, kCursors);
        break;
    case Sp::Hint:
        setText(s.hint, v);
        break;
    case Sp::AllowAllUp:
        s.allowAllUp = booleanOf(v);
        break;
    case Sp::GroupIndex:
        s.groupIndex = integerOf(v);
        break;
    case Sp::Down:
        s.down = booleanOf(v);
        break;
    case Sp::Caption:
        setText(s.caption, v);
        break;
    case Sp::Enabled:
        s.enabled = booleanOf(v);
        break;
    case Sp::Flat:
        s.flat = booleanOf(v);
        break;
    case Sp::Font:
    case Sp::Glyph:
        // Nested objects carry no value of their own.
        fail(kInvalidPropertyValue);
    case Sp::Canvas:
        fail(kPropertyDoesNotExist); // read-only: never stored, never set
    case Sp::Layout:
        s.layout = static_cast<ButtonLayout>(enumOf(v, kLayouts));
        break;
    case Sp::Margin:
        s.margin = integerOf(v);
        break;
    case Sp::NumGlyphs: {
        // The button keeps one to four glyph images; its setter clamps.
        const std::int32_t n = integerOf(v);
        s.numGlyphs = n < 0 ? 1 : (n > 4 ? 4 : n);
        break;
    }
    case Sp::ParentFont:
        s.parentFont = booleanOf(v);
        break;
    case Sp::ParentShowHint:
        s.parentShowHint = booleanOf(v);
        break;
    case Sp::ShowHint:
        s.showHint = booleanOf(v);
        s.parentShowHint = false;
        break;
    case Sp::Spacing:
        s.spacing = integerOf(v);
        break;
    case Sp::Visible:
        s.visible = booleanOf(v);
        break;
    case Sp::OnClick:
        s.onClick = handlerOf(v);
        break;
    case Sp::OnDblClick:
        s.onDblClick = handlerOf(v);
        break;
    case Sp::OnMouseDown:
        s.onMouseDown = handlerOf(v);
        break;
    case Sp::OnMouseMove:
        s.onMouseMove = handlerOf(v);
        break;
    case Sp::OnMouseUp:
        s.onMouseUp = handlerOf(v);
        break;
    case Sp::PopupMenu:
        // Kept as stored; the window gives the item its menu by kind after loading.
        if (v.tag == ValueTag::Nil)
            s.popupMenu.clear();
        else if (v.tag == ValueTag::Ident)
            v.assignText(s.popupMenu);
        else
            fail(kInvalidPropertyValue);
        break;
    case Sp::Tipo: {
        s.tipo = enumOf(v, tipoNames());
        const TipoSize size = tipoSize(s.tipo);
        s.layout = size.layout;
        s.width = size.width;
        s.height = size.height;
        break;
    }
    case Sp::Clase:
        s.clase = enumOf(v, claseNames());
        break;
    case Sp::Comando:
        setText(s.comando, v);
        break;
    case Sp::Directorio:
        setText(s.directorio, v);
        break;
    case Sp::FichIcono:
        setText(s.fichIcono, v);
        break;
    case Sp::Param:
        setText(s.param, v);
        break;
    case Sp::Run:
        s.run = static_cast<WindowState>(enumOf(v, kWindowStates));
        break;
    case Sp::Autorun:
        s.autorun = booleanOf(v);
        break;
    case Sp::Tag1:
        s.tag1 = integerOf(v);
        break;
    case Sp::Tag2:
        s.tag2 = integerOf(v);
        break;
    }
}

SpButtonState readSpButton(const Record& record)
{
    SpButtonState state;
    state.name = record.name;
    for (const auto& property : record.properties)
        applySpButtonProperty(state, property);
    return state;
}

SpButtonState readSpButton(const Record& record, std::span<const std::size_t> propertyOffsets)
{
    SpButtonState state;
    state.name = record.name;
    for (std::size_t i = 0; i < record.properties.size(); ++i) {
        try {
            applySpButtonProperty(state, record.properties[i]);
        } catch (const StreamError& e) {
            throw StreamError(e.what(), i < propertyOffsets.size() ? propertyOffsets[i] : 0);
        }
    }
    return state;
}

Record writeSpButton(const SpButtonState& s)
{
    Record r;
    r.className = "TSpButton";
    r.name = s.name;
    auto& p = r.properties;
    p.reserve(32);
    auto integer = [&](const char* name, std::int32_t v) { p.push_back({ name, Value::integerValue(v) }); };
    auto text = [&](const char* name, const std::string& v) {
        if (!v.empty())
            p.push_back({ name, Value::textValue(v) });
    };
    auto boolean = [&](const char* name, bool v) { p.push_back({ name, Value::boolean(v) }); };
    auto handler = [&](const char* name, const std::string& v) {
        if (isOwnHandler(v))
            p.push_back({ name, Value::ident(v) });
    };

    if (s.tag != 0)
        integer("Tag", s.tag);
    integer("Left", s.left);
    integer("Top", s.top);
    integer("Width", s.width);
    integer("Height", s.height);
    if (s.cursor != 0)
        p.push_back({ "Cursor", mappedValue(s.cursor, kCursors) });
    text("Hint", s.hint);
    if (s.allowAllUp)
        boolean("AllowAllUp", true);
    if (s.groupIndex != 0)
        integer("GroupIndex", s.groupIndex);
    if (s.down)
        boolean("Down", true);
    text("Caption", s.caption);
    if (!s.enabled)
        boolean("Enabled", false);
    if (s.flat)
        boolean("Flat", true);
    if (!s.parentFont)
        appendFont(r, s.font);
    if (!s.glyphBmp.empty())
        p.push_back({ "Glyph.Data", glyphValue(s.glyphBmp) });
    if (s.layout != ButtonLayout::GlyphLeft)
        p.push_back({ "Layout", Value::ident(kLayouts.at(static_cast<std::size_t>(s.layout))) });
    if (s.margin != -1)
        integer("Margin", s.margin);
    if (s.numGlyphs != 1)
        integer("NumGlyphs", s.numGlyphs);
    if (!s.parentFont)
        boolean("ParentFont", false);
    if (!s.parentShowHint)
        boolean("ParentShowHint", false);
    if (!s.parentShowHint)
        boolean("ShowHint", s.showHint);
    if (s.spacing != 4)
        integer("Spacing", s.spacing);
    if (!s.visible)
        boolean("Visible", false);
    handler("OnClick", s.onClick);
    handler("OnDblClick", s.onDblClick);
    handler("OnMouseDown", s.onMouseDown);
    handler("OnMouseMove", s.onMouseMove);
    handler("OnMouseUp", s.onMouseUp);
    if (!s.popupMenu.empty())
        p.push_back({ "PopupMenu", Value::ident(s.popupMenu) });
    if (s.tipo != 0)
        p.push_back({ "Tipo",
            s.tipo < tipoNames().size() ? Value::ident(tipoNames()[s.tipo]) : Value::integerValue(s.tipo) });
    if (s.clase != 0)
        p.push_back({ "Clase",
            s.clase < claseNames().size() ? Value::ident(claseNames()[s.clase])
                                          : Value::integerValue(s.clase) });
    text("Comando", s.comando);
    text("Directorio", s.directorio);
    text("FichIcono", s.fichIcono);
    text("Param", s.param);
    if (s.run != WindowState::Normal)
        p.push_back({ "Run", Value::ident(kWindowStates.at(static_cast<std::size_t>(s.run))) });
    if (s.autorun)
        boolean("Autorun", true);
    if (s.tag1 != 0)
        integer("tag1", s.tag1);
    if (s.tag2 != 0)
        integer("tag2", s.tag2);
    return r;
}

void applyFontDialogProperty(FontDialogState& s, const Property& property)
{
    std::vector<std::string_view> members;
    applyFontDialogProperty(s, property.name, viewOf(property.value, members));
}

void applyFontDialogProperty(FontDialogState& s, std::string_view name, const ValueView& v)
{
    const Path path = splitPath(name);
    if (path.head == "font") {
        if (path.rest.empty())
            fail(kInvalidPropertyValue);
        if (!applyFontProperty(s.font, path.rest, v))
            fail(
                path.rest.find('.') != std::string_view::npos ? kInvalidPropertyPath : kPropertyDoesNotExist);
        return;
    }
    static const char* const known[] = { "name", "tag", "ctl3d", "helpcontext", "onclose", "onshow", "device",
        "minfontsize", "maxfontsize", "options", "onapply" };
    const bool exists = std::any_of(
        std::begin(known), std::end(known), [&](const char* k) { return path.head.view() == k; });
    if (!exists)
        fail(kPropertyDoesNotExist);
    if (!path.rest.empty())
        fail(kInvalidPropertyPath);
    const std::string_view h = path.head.view();
    if (h == "name")
        setComponentName(s.name, v);
    else if (h == "tag")
        s.tag = integerOf(v);
    else if (h == "ctl3d")
        s.ctl3D = booleanOf(v);
    else if (h == "helpcontext")
        s.helpContext = integerOf(v);
    else if (h == "device")
        s.device = enumOf(v, kDevices);
    else if (h == "minfontsize")
        s.minFontSize = integerOf(v);
    else if (h == "maxfontsize")
        s.maxFontSize = integerOf(v);
    else if (h == "options")
        s.options = setOf(v, kDialogOptions);
    else if (v.tag != ValueTag::Nil && v.tag != ValueTag::Ident)
        fail(kInvalidPropertyValue);
    // The dialog's events would name methods of its window, which is not
    // what this state models: they are accepted and not kept.
}

FontDialogState readFontDialog(const Record& record)
{
    FontDialogState state;
    state.name = record.name;
    for (const auto& property : record.properties)
        applyFontDialogProperty(state, property);
    return state;
}

FontDialogState readFontDialog(const Record& record, std::span<const std::size_t> propertyOffsets)
{
    FontDialogState state;
    state.name = record.name;
    for (std::size_t i = 0; i < record.properties.size(); ++i) {
        try {
            applyFontDialogProperty(state, record.properties[i]);
        } catch (const StreamError& e) {
            throw StreamError(e.what(), i < propertyOffsets.size() ? propertyOffsets[i] : 0);
        }
    }
    return state;
}

Record writeFontDialog(const FontDialogState& s)
{
    Record r;
    r.className = "TFontDialog";
    r.name = s.name;
    auto& p = r.properties;
    if (s.tag != 0)
        p.push_back({ "Tag", Value::integerValue(s.tag) });
    if (!s.ctl3D)
        p.push_back({ "Ctl3D", Value::boolean(false) });
    if (s.helpContext != 0)
        p.push_back({ "HelpContext", Value::integerValue(s.helpContext) });
    appendFont(r, s.font);
    if (s.device != 0)
        p.push_back({ "Device",
            s.device < kDevices.size() ? Value::ident(kDevices[s.device]) : Value::integerValue(s.device) });
    p.push_back({ "MinFontSize", Value::integerValue(s.minFontSize) });
    p.push_back({ "MaxFontSize", Value::integerValue(s.maxFontSize) });
    if (s.options != kFdEffects)
        p.push_back({ "Options", setValueOf(s.options, kDialogOptions) });
    return r;
}

} // namespace tolm::store
