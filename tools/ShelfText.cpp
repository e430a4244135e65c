#include "tools/ShelfText.h"

#include "store/Components.h"
#include "store/ShelfFile.h"
#include "store/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <sstream>

namespace tolm::tools {

using store::Value;
using store::ValueTag;

namespace {

constexpr std::array<std::string_view, 17> kKeywords { "true", "false", "nil", "ident", "short", "long",
    "utf8", "int8", "int16", "int32", "ext", "binary", "list", "collection", "item", "end", "object" };

bool isKeyword(std::string_view word)
{
    for (const std::string_view k : kKeywords) {
        if (word.size() != k.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < word.size() && same; ++i)
            same = (word[i] | 0x20) == k[i];
        if (same)
            return true;
    }
    return false;
}

bool isWordStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isWordChar(char c)
{
    return isWordStart(c) || (c >= '0' && c <= '9') || c == '.';
}

// A word that reads back as itself: letters, digits, '_' and '.', not a keyword.
bool isBareWord(std::string_view s)
{
    if (s.empty() || !isWordStart(s[0]) || isKeyword(s))
        return false;
    for (char c : s) {
        if (!isWordChar(c))
            return false;
    }
    return true;
}

// ------------------------------------------------------------------ writing

std::string hexByte(std::uint8_t b)
{
    static const char digits[] = "0123456789ABCDEF";
    return { digits[b >> 4], digits[b & 15] };
}

// The length of the run at `i` of characters that stand for themselves
// between quotes: printable ASCII but the quote and the backslash, and
// well-formed characters from U+00A0 on.
std::size_t plainRun(std::string_view s, std::size_t i)
{
    const std::size_t start = i;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            ++i;
            continue;
        }
        char32_t c = 0;
        const std::size_t length = b >= 0x80 ? store::decodeUtf8(s, i, c) : 0;
        if (length == 0 || c < 0xA0)
            break;
        i += length;
    }
    return i - start;
}

// Appends `s` as it stands between the quotes of a text.
void appendQuoted(std::string& out, std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t run = plainRun(s, i);
        out.append(s.substr(i, run));
        i += run;
        if (i == s.size())
            break;
        const auto b = static_cast<unsigned char>(s[i]);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += char(b);
            ++i;
        } else if (b == '\n') {
            out += "\\n";
            ++i;
        } else if (b == '\r') {
            out += "\\r";
            ++i;
        } else if (b == '\t') {
            out += "\\t";
            ++i;
        } else {
            // Other controls and malformed bytes are shown byte by byte, C1
            // controls by number.
            char32_t c = 0;
            const std::size_t length = b >= 0x80 ? store::decodeUtf8(s, i, c) : 0;
            if (length == 0) {
                out += "\\x" + hexByte(b);
                ++i;
            } else {
                char buffer[16];
                std::snprintf(buffer, sizeof buffer, "\\u{%04X}", unsigned(c));
                out += buffer;
                i += length;
            }
        }
    }
}

std::string quoteText(std::string_view s)
{
    std::string out = "\"";
    appendQuoted(out, s);
    return out + "\"";
}

std::string nameText(std::string_view s)
{
    return isBareWord(s) ? std::string(s) : quoteText(s);
}

std::string identText(std::string_view s)
{
    return isBareWord(s) ? std::string(s) : "ident " + quoteText(s);
}

std::string integerText(const Value& v)
{
    std::string out;
    if (Value::integerValue(v.integer).tag != v.tag)
        out = v.tag == ValueTag::Int8 ? "int8 " : v.tag == ValueTag::Int16 ? "int16 " : "int32 ";
    return out + std::to_string(v.integer);
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16
        | std::uint32_t(b[at + 3]) << 24;
}

// Writes each part as the walker meets it, so that a record of any size is
// shown without being held; the text goes out in blocks.
class Dumper : public store::RecordVisitor {
public:
    explicit Dumper(std::ostream& out)
        : m_out(out)
    { }

    void line(int depth, std::string_view text)
    {
        m_text.append(std::size_t(depth) * 4, ' ');
        m_text += text;
        m_text += '\n';
        spill();
    }

    void flush()
    {
        m_out.write(m_text.data(), std::streamsize(m_text.size()));
        m_text.clear();
    }

    void head(std::string_view className, std::string_view name, std::size_t) override
    {
        line(0, "");
        line(0,
            "object " + nameText(store::cp1252ToUtf8(className)) + " "
                + quoteText(store::cp1252ToUtf8(name)));
    }

    void property(std::string_view name, std::size_t) override
    {
        m_prefix = nameText(store::cp1252ToUtf8(name)) + " = ";
        m_glyph = name.size() == 10 && (name == "Glyph.Data" || name == "glyph.data");
    }

    void value(const store::ValueView& view, std::size_t) override
    {
        Value v = view.toValue();
        if (!m_open.empty() && m_open.back() == ValueTag::Collection) {
            // The order index of the element that follows.
            m_index = integerText(v) + " ";
            return;
        }
        scalar(std::move(v), m_glyph && m_open.empty());
        m_prefix.clear();
    }

    void begin(ValueTag tag, std::size_t) override
    {
        const int d = depth();
        if (tag == ValueTag::Set) {
            m_text.append(std::size_t(d) * 4, ' ');
            m_text += m_prefix;
            m_text += '[';
            m_firstMember = true;
        } else if (tag == ValueTag::Collection) {
            line(d, m_prefix + "collection (");
        } else if (!m_open.empty() && m_open.back() == ValueTag::Collection) {
            line(d, m_index + "item (");
            m_index.clear();
        } else {
            line(d, m_prefix + "list (");
        }
        m_prefix.clear();
        m_open.push_back(tag);
    }

    void member(std::string_view name, std::size_t) override
    {
        if (m_open.back() != ValueTag::Set) {
            m_prefix = nameText(store::cp1252ToUtf8(name)) + " = "; // a property of a collection element
            return;
        }
        if (!m_firstMember)
            m_text += ", ";
        m_text += nameText(store::cp1252ToUtf8(name));
        m_firstMember = false;
        spill();
    }

    void end() override
    {
        const ValueTag tag = m_open.back();
        m_open.pop_back();
        if (tag == ValueTag::Set) {
            m_text += "]\n";
            spill();
        } else {
            line(depth(), ")");
        }
    }

private:
    std::ostream& m_out;
    std::string m_text; // not yet written
    std::string m_prefix; // "Name = " in front of the next value
    std::string m_index; // "3 " in front of the next collection element
    bool m_glyph { false };
    bool m_firstMember { false };
    std::vector<ValueTag> m_open; // lists, collections, their elements, a set

    // Properties sit one level into their object, each open list one further.
    int depth() const { return 1 + int(m_open.size()); }

    void spill()
    {
        if (m_text.size() >= 65536)
            flush();
    }

    // A text of any length goes out in slices. A cut is moved past up to three
    // continuation bytes, so it never falls inside a character: each slice
    // quotes exactly as the whole text would.
    void quoted(std::string_view s)
    {
        m_text += '"';
        while (!s.empty()) {
            std::size_t cut = std::min<std::size_t>(s.size(), 65536);
            for (int k = 0; k < 3 && cut < s.size() && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80;
                 ++k)
                ++cut;
            appendQuoted(m_text, s.substr(0, cut));
            s.remove_prefix(cut);
            spill();
        }
        m_text += '"';
    }

    void scalar(Value v, bool glyph)
    {
        const int depth = this->depth();
        const std::string& prefix = m_prefix;
        switch (v.tag) {
        case ValueTag::Int8:
        case ValueTag::Int16:
        case ValueTag::Int32:
            line(depth, prefix + integerText(v));
            break;
        case ValueTag::Extended: {
            std::string hex;
            for (auto b : v.bytes)
                hex += hexByte(b);
            line(depth, prefix + "ext \"" + hex + "\"");
            break;
        }
        case ValueTag::String:
        case ValueTag::LString:
        case ValueTag::Utf8String: {
            // The tag is named when the writer would not choose it by itself;
            // the text goes through the choice and back rather than being copied.
            Value natural = Value::textValue(std::move(v.text));
            const char* tag = "";
            if (natural.tag != v.tag)
                tag = v.tag == ValueTag::String ? "short " : v.tag == ValueTag::LString ? "long " : "utf8 ";
            v.text = std::move(natural.text);
            m_text.append(std::size_t(depth) * 4, ' ');
            m_text += prefix;
            m_text += tag;
            quoted(v.text);
            m_text += '\n';
            spill();
            break;
        }
        case ValueTag::Ident:
            line(depth, prefix + identText(v.text));
            break;
        case ValueTag::False:
            line(depth, prefix + "False");
            break;
        case ValueTag::True:
            line(depth, prefix + "True");
            break;
        case ValueTag::Nil:
            line(depth, prefix + "nil");
            break;
        case ValueTag::Binary: {
            std::string head = prefix + "binary " + std::to_string(v.bytes.size()) + " {";
            if (glyph && v.bytes.size() >= 34 && v.bytes[4] == 'B' && v.bytes[5] == 'M') {
                const auto width = static_cast<std::int32_t>(le32(v.bytes, 22));
                const auto height = static_cast<std::int32_t>(le32(v.bytes, 26));
                const unsigned bits = v.bytes[32] | v.bytes[33] << 8;
                head += "  # bitmap " + std::to_string(width) + " x " + std::to_string(height) + ", "
                    + std::to_string(bits) + " bits per pixel";
            }
            line(depth, head);
            std::string row;
            for (std::size_t i = 0; i < v.bytes.size(); i += 32) {
                row.clear();
                for (std::size_t k = i; k < v.bytes.size() && k < i + 32; ++k) {
                    if (k != i)
                        row += ' ';
                    row += hexByte(v.bytes[k]);
                }
                line(depth + 1, row);
            }
            line(depth, "}");
            break;
        }
        default:
            break;
        }
    }
};

// ------------------------------------------------------------------ reading

enum class Tok { End, Word, Number, String, Punct };

struct Token {
    Tok kind { Tok::End };
    std::string text; // word, string contents, punctuation
    std::int64_t number { 0 };
    int line { 1 };
    std::size_t start { 0 }; // where it begins in the text
};

class Parser {
public:
    explicit Parser(std::string_view text)
        : m_text(text)
    {
        advance();
    }

    // The bytes are written as the text is read: nothing but the value at
    // hand is held, however long a list or set runs. When `check` is Sound,
    // each record is read back as `tolm-shelf check` reads it as soon as it is
    // written, and a refusal is put on the line of the property refused.
    std::vector<std::uint8_t> shelf(BuildCheck check)
    {
        std::vector<std::uint8_t> out;
        expectWord("header");
        const store::ShelfHeader h = header();
        if (check == BuildCheck::Sound && h.magic != store::kShelfMagic)
            throw ShelfTextError(m_magicLine,
                "magic: " + std::to_string(h.magic) + " is not the shelf magic "
                    + std::to_string(store::kShelfMagic));
        store::writeHeader(h, out);
        int records = 0;
        while (m_tok.kind != Tok::End) {
            const int objectLine = m_tok.line;
            const std::size_t recordStart = out.size();
            m_properties.clear();
            expectWord("object");
            const std::string className = name();
            if (m_tok.kind != Tok::String)
                fail("expected the component name in quotes");
            store::writeRecordHead(className, m_tok.text, out);
            advance();
            while (!isWord("end")) {
                const int line = m_tok.line;
                const std::string property = name();
                m_property = property;
                expectPunct('=');
                const std::size_t valueStart = m_tok.start;
                if (property.empty()) {
                    // An empty name would read as the end of the properties;
                    // the property is left out, as the record writer does.
                    std::vector<std::uint8_t> dropped;
                    value(0, dropped);
                    continue;
                }
                if (check == BuildCheck::Sound)
                    m_properties.push_back({ out.size(), line, property, valueStart });
                store::writeShortString(property, out);
                value(0, out);
                m_property.clear();
                if (check == BuildCheck::Sound)
                    m_properties.back().valueEnd = m_previousEnd;
            }
            advance();
            store::writeRecordEnd(out);
            if (check == BuildCheck::Sound)
                readBack(out, recordStart, records == 0, objectLine);
            ++records;
        }
        if (check == BuildCheck::Sound && records == 0)
            throw ShelfTextError(m_line, "a shelf file holds the font dialog's object after its header");
        return out;
    }

private:
    std::string_view m_text;
    std::size_t m_pos { 0 };
    int m_line { 1 };
    Token m_tok;
    int m_magicLine { 0 }; // of the header's magic, the only field that can be wrong
    std::string m_property; // whose value is being read, to name it in a refusal
    std::size_t m_previousEnd { 0 }; // where the token before the current one ends

    // The properties of the record being read: where each is written, and
    // where it stands in the text.
    struct PropertyAt {
        std::size_t offset; // of its name in the bytes
        int line;
        std::string name;
        std::size_t valueStart, valueEnd { 0 }; // its value in the text
    };
    std::vector<PropertyAt> m_properties;

    // Reads the record just written at `start` as check reads it: the first
    // as the font dialog, every other as an item, each property through the
    // typed reader. A refusal names the property at fault and its line.
    void readBack(const std::vector<std::uint8_t>& out, std::size_t start, bool dialog, int objectLine) const
    {
        if (out.size() > store::kMaxShelfFileBytes)
            throw ShelfTextError(objectLine,
                "the shelf file grows to " + std::to_string(out.size())
                    + " bytes here, more than a shelf file may hold ("
                    + std::to_string(store::kMaxShelfFileBytes) + ")");
        std::size_t pos = start;
        try {
            if (dialog)
                store::readFontDialog(out, pos);
            else
                store::readSpButton(out, pos);
        } catch (const store::StreamError& e) {
            const PropertyAt* at = nullptr;
            for (const auto& p : m_properties) {
                if (p.offset <= e.offset())
                    at = &p;
            }
            if (!at)
                throw ShelfTextError(objectLine, std::string(e.what()) + " (the object's head)");
            throw ShelfTextError(at->line, at->name + ": " + refusal(*at, e.what(), dialog));
        }
    }

    // Why a reader refused a property, in words, with the reader's own.
    std::string refusal(const PropertyAt& p, const std::string& complaint, bool dialog) const
    {
        const std::string what = dialog ? "the font dialog" : "an item";
        if (complaint == store::kPropertyDoesNotExist)
            return what + " has no such property (" + complaint + ")";
        if (complaint == store::kInvalidPropertyPath)
            return "no property of " + what + " lies on this path (" + complaint + ")";
        if (complaint != store::kInvalidPropertyValue)
            return "the record cannot be read back here (" + complaint + ")";
        std::string_view value = m_text.substr(p.valueStart, p.valueEnd - p.valueStart);
        if (const auto newline = value.find('\n'); newline != std::string_view::npos)
            value = value.substr(0, newline);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
            value.remove_suffix(1);
        if (const auto brace = value.find('{');
            value.starts_with("binary") && brace != std::string_view::npos)
            value = value.substr(0, brace + 1); // no comment behind it
        std::string shown(value.substr(0, 60));
        if (value.size() > 60 || shown.ends_with('{'))
            shown += "...";
        const bool handler
            = !dialog && p.name.size() > 2 && (p.name[0] | 0x20) == 'o' && (p.name[1] | 0x20) == 'n';
        if (handler && isBareWord(value)) {
            std::string known;
            for (const auto& own : store::ownHandlerNames())
                known += own + ", ";
            return shown + " is not a known handler (" + known + "or nil)";
        }
        return shown + " is not a value " + p.name + " can take (" + complaint + ")";
    }

    // A fault within a value names its property, as the readers' refusals do.
    [[noreturn]] void fail(const std::string& message) const
    {
        throw ShelfTextError(m_tok.line, m_property.empty() ? message : m_property + ": " + message);
    }

    bool isWord(std::string_view w) const { return m_tok.kind == Tok::Word && m_tok.text == w; }
    bool isPunct(char c) const { return m_tok.kind == Tok::Punct && m_tok.text[0] == c; }

    void expectWord(std::string_view w)
    {
        if (!isWord(w))
            fail("expected '" + std::string(w) + "'");
        advance();
    }
    void expectPunct(char c)
    {
        if (!isPunct(c))
            fail(std::string("expected '") + c + "'");
        advance();
    }

    std::string name()
    {
        if (m_tok.kind == Tok::String || (m_tok.kind == Tok::Word && !isKeyword(m_tok.text))) {
            std::string n = m_tok.text;
            advance();
            return n;
        }
        fail("expected a name");
    }

    std::int64_t number()
    {
        if (m_tok.kind != Tok::Number)
            fail("expected a number");
        const std::int64_t n = m_tok.number;
        advance();
        return n;
    }

    store::ShelfHeader header()
    {
        store::ShelfHeader h;
        while (!isWord("end")) {
            if (m_tok.kind != Tok::Word)
                fail("expected a header field");
            const int line = m_tok.line;
            const std::string field = m_tok.text;
            advance();
            m_property = field;
            expectPunct('=');
            if (field == "color" && m_tok.kind == Tok::Word) {
                const auto c = store::colorFromName(m_tok.text);
                if (!c)
                    fail("unknown colour " + m_tok.text);
                h.color = static_cast<std::uint32_t>(*c);
                advance();
                m_property.clear();
                continue;
            }
            if (field == "magic")
                m_magicLine = m_tok.line;
            const std::int64_t n = number();
            if (field == "magic")
                h.magic = static_cast<std::int32_t>(n);
            else if (field == "left")
                h.left = static_cast<std::int32_t>(n);
            else if (field == "top")
                h.top = static_cast<std::int32_t>(n);
            else if (field == "right")
                h.right = static_cast<std::int32_t>(n);
            else if (field == "bottom")
                h.bottom = static_cast<std::int32_t>(n);
            else if (field == "frameShown")
                h.frameShown = static_cast<std::uint8_t>(n);
            else if (field == "alwaysButtons")
                h.alwaysButtons = static_cast<std::uint8_t>(n);
            else if (field == "padding") {
                h.padding[0] = static_cast<std::uint8_t>(n);
                h.padding[1] = static_cast<std::uint8_t>(number());
            } else if (field == "color")
                h.color = static_cast<std::uint32_t>(n);
            else
                throw ShelfTextError(line, "unknown header field " + field);
            m_property.clear();
        }
        advance();
        return h;
    }

    Value integer(ValueTag tag)
    {
        Value v = Value::integerValue(number());
        if (tag != ValueTag::Null)
            v.tag = tag;
        const std::int64_t lo = tag == ValueTag::Int8 ? -128 : tag == ValueTag::Int16 ? -32768 : INT32_MIN;
        const std::int64_t hi = tag == ValueTag::Int8 ? 127 : tag == ValueTag::Int16 ? 32767 : INT32_MAX;
        if (v.integer < lo || v.integer > hi)
            fail("integer out of range");
        return v;
    }

    Value text(ValueTag tag)
    {
        if (m_tok.kind != Tok::String)
            fail("expected a quoted text");
        Value v = Value::textValue(m_tok.text);
        if (tag != ValueTag::Null)
            v.tag = tag;
        advance();
        return v;
    }

    void value(int depth, std::vector<std::uint8_t>& out)
    {
        if (depth > store::kMaxValueDepth)
            fail("lists nest too deeply");
        if (m_tok.kind == Tok::Number)
            return store::writeValue(integer(ValueTag::Null), out);
        if (m_tok.kind == Tok::String)
            return store::writeValue(text(ValueTag::Null), out);
        if (isPunct('[')) {
            advance();
            out.push_back(static_cast<std::uint8_t>(ValueTag::Set));
            for (bool first = true; !isPunct(']'); first = false) {
                if (!first)
                    expectPunct(',');
                const std::string member = name();
                if (!member.empty()) // an empty member would end the set
                    store::writeShortString(member, out);
            }
            advance();
            out.push_back(0);
            return;
        }
        if (m_tok.kind != Tok::Word)
            fail("expected a value");
        const std::string word = m_tok.text;
        if (!isKeyword(word)) {
            advance();
            return store::writeValue(Value::ident(word), out);
        }
        advance();
        if (word == "True" || word == "False")
            return store::writeValue(Value::boolean(word == "True"), out);
        if (word == "nil") {
            Value v;
            v.tag = ValueTag::Nil;
            return store::writeValue(v, out);
        }
        if (word == "int8")
            return store::writeValue(integer(ValueTag::Int8), out);
        if (word == "int16")
            return store::writeValue(integer(ValueTag::Int16), out);
        if (word == "int32")
            return store::writeValue(integer(ValueTag::Int32), out);
        if (word == "short")
            return store::writeValue(text(ValueTag::String), out);
        if (word == "long")
            return store::writeValue(text(ValueTag::LString), out);
        if (word == "utf8")
            return store::writeValue(text(ValueTag::Utf8String), out);
        if (word == "ident")
            return store::writeValue(text(ValueTag::Ident), out);
        if (word == "ext") {
            const Value hex = text(ValueTag::String);
            Value v;
            v.tag = ValueTag::Extended;
            v.bytes = hexBytes(hex.text);
            if (v.bytes.size() != 10)
                fail("an extended value takes ten bytes");
            return store::writeValue(v, out);
        }
        if (word == "binary") {
            const std::int64_t size = number();
            if (!isPunct('{'))
                fail("expected '{'");
            const Value v = Value::binary(hexBlock());
            if (std::int64_t(v.bytes.size()) != size)
                fail(
                    "binary holds " + std::to_string(v.bytes.size()) + " bytes, not " + std::to_string(size));
            return store::writeValue(v, out);
        }
        if (word == "list") {
            expectPunct('(');
            out.push_back(static_cast<std::uint8_t>(ValueTag::List));
            while (!isPunct(')'))
                value(depth + 1, out);
            advance();
            out.push_back(0);
            return;
        }
        if (word == "collection") {
            expectPunct('(');
            out.push_back(static_cast<std::uint8_t>(ValueTag::Collection));
            while (!isPunct(')')) {
                if (!isWord("item")) {
                    // The order index of the element that follows.
                    std::vector<std::uint8_t> index;
                    value(depth + 1, index);
                    const auto t = static_cast<ValueTag>(index[0]);
                    if (t != ValueTag::Int8 && t != ValueTag::Int16 && t != ValueTag::Int32)
                        fail("expected 'item'");
                    out.insert(out.end(), index.begin(), index.end());
                }
                expectWord("item");
                expectPunct('(');
                out.push_back(static_cast<std::uint8_t>(ValueTag::List));
                while (!isPunct(')')) {
                    store::writeShortString(name(), out);
                    expectPunct('=');
                    value(depth + 1, out);
                }
                advance();
                out.push_back(0);
            }
            advance();
            out.push_back(0);
            return;
        }
        fail("unexpected '" + word + "'");
    }

    std::vector<std::uint8_t> hexBytes(std::string_view s)
    {
        std::vector<std::uint8_t> out;
        int pending = -1;
        for (char c : s) {
            int d = c >= '0' && c <= '9'                 ? c - '0'
                : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                         : -1;
            if (d < 0) {
                if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
                    continue;
                fail(std::string("not a hex digit: ") + c);
            }
            if (pending < 0) {
                pending = d;
            } else {
                out.push_back(std::uint8_t(pending << 4 | d));
                pending = -1;
            }
        }
        if (pending >= 0)
            fail("odd number of hex digits");
        return out;
    }

    // The text from after the current '{' to the matching '}', as bytes.
    std::vector<std::uint8_t> hexBlock()
    {
        std::string digits;
        while (m_pos < m_text.size() && m_text[m_pos] != '}') {
            const char c = m_text[m_pos++];
            if (c == '#') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                    ++m_pos;
                continue;
            }
            if (c == '\n')
                ++m_line;
            digits += c;
        }
        if (m_pos >= m_text.size())
            fail("binary block without '}'");
        ++m_pos;
        auto bytes = hexBytes(digits);
        advance();
        return bytes;
    }

    void advance()
    {
        m_previousEnd = m_pos;
        // Skip blanks and comments.
        for (;;) {
            while (m_pos < m_text.size()
                && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r'
                    || m_text[m_pos] == '\n')) {
                if (m_text[m_pos] == '\n')
                    ++m_line;
                ++m_pos;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '#') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                    ++m_pos;
                continue;
            }
            break;
        }
        m_tok = Token {};
        m_tok.line = m_line;
        m_tok.start = m_pos;
        if (m_pos >= m_text.size())
            return;
        const char c = m_text[m_pos];
        if (c == '"') {
            m_tok.kind = Tok::String;
            m_tok.text = stringLiteral();
            return;
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            const std::size_t start = m_pos++;
            while (m_pos < m_text.size() && (isWordChar(m_text[m_pos])))
                ++m_pos;
            m_tok.kind = Tok::Number;
            m_tok.number = parseNumber(m_text.substr(start, m_pos - start));
            return;
        }
        if (isWordStart(c)) {
            const std::size_t start = m_pos;
            while (m_pos < m_text.size() && isWordChar(m_text[m_pos]))
                ++m_pos;
            m_tok.kind = Tok::Word;
            m_tok.text = std::string(m_text.substr(start, m_pos - start));
            return;
        }
        if (std::string_view("=()[]{},").find(c) != std::string_view::npos) {
            m_tok.kind = Tok::Punct;
            m_tok.text = std::string(1, c);
            // A '{' opens raw hex that the caller reads itself.
            ++m_pos;
            return;
        }
        fail(std::string("unexpected character '") + c + "'");
    }

    std::int64_t parseNumber(std::string_view s)
    {
        bool negative = false;
        if (!s.empty() && s[0] == '-') {
            negative = true;
            s.remove_prefix(1);
        }
        int base = 10;
        if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
            base = 16;
            s.remove_prefix(2);
        }
        if (s.empty())
            fail("expected a number");
        std::int64_t n = 0;
        for (char c : s) {
            int d = c >= '0' && c <= '9'                               ? c - '0'
                : base == 16 && (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                                       : -1;
            if (d < 0)
                fail("bad number");
            n = n * base + d;
            if (n > 0xFFFFFFFFll)
                fail("number out of range");
        }
        return negative ? -n : n;
    }

    std::string stringLiteral()
    {
        std::string out;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size() || m_text[m_pos] == '\n')
                fail("text without its closing quote");
            const char c = m_text[m_pos++];
            if (c == '"')
                return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size())
                fail("text without its closing quote");
            const char e = m_text[m_pos++];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case '"':
            case '\\':
                out += e;
                break;
            case 'x': {
                if (m_pos + 2 > m_text.size())
                    fail("\\x needs two hex digits");
                const auto b = hexBytes(m_text.substr(m_pos, 2));
                if (b.size() != 1 || m_text[m_pos] == ' ' || m_text[m_pos + 1] == ' ')
                    fail("\\x needs two hex digits");
                out += char(b[0]);
                m_pos += 2;
                break;
            }
            case 'u': {
                const std::size_t close = m_text.find('}', m_pos);
                if (m_pos >= m_text.size() || m_text[m_pos] != '{' || close == std::string_view::npos
                    || close - m_pos > 7)
                    fail("\\u needs {hex digits}");
                char32_t cp = 0;
                for (std::size_t k = m_pos + 1; k < close; ++k) {
                    const char h = m_text[k];
                    const int d = h >= '0' && h <= '9'           ? h - '0'
                        : (h | 0x20) >= 'a' && (h | 0x20) <= 'f' ? (h | 0x20) - 'a' + 10
                                                                 : -1;
                    if (d < 0)
                        fail("\\u needs {hex digits}");
                    cp = cp * 16 + d;
                }
                if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                    fail("\\u names no character");
                store::appendUtf8(out, cp);
                m_pos = close + 1;
                break;
            }
            default:
                fail(std::string("unknown escape \\") + e);
            }
        }
    }
};

} // namespace

void dumpShelfText(std::span<const std::uint8_t> bytes, const std::string& source, std::ostream& out)
{
    const store::ShelfHeader h = store::readHeader(bytes);
    // A dump first makes sure the whole file reads, so that a broken one shows nothing.
    store::RecordSkimmer skimmer;
    for (std::size_t pos = store::kShelfHeaderSize; pos < bytes.size();)
        store::walkRecord(bytes, pos, skimmer);

    Dumper d(out);
    d.line(0,
        "# tolm-shelf dump" + (source.empty() ? std::string() : " of " + source) + ", "
            + std::to_string(bytes.size()) + " bytes");
    d.line(0, "header");
    d.line(1, "magic = " + std::to_string(h.magic));
    d.line(1, "left = " + std::to_string(h.left));
    d.line(1, "top = " + std::to_string(h.top));
    d.line(1, "right = " + std::to_string(h.right));
    d.line(1, "bottom = " + std::to_string(h.bottom));
    d.line(1, "frameShown = " + std::to_string(h.frameShown));
    d.line(1, "alwaysButtons = " + std::to_string(h.alwaysButtons));
    d.line(1, "padding = " + std::to_string(h.padding[0]) + " " + std::to_string(h.padding[1]));
    if (const char* name = store::colorName(static_cast<std::int32_t>(h.color))) {
        d.line(1, std::string("color = ") + name);
    } else {
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "color = 0x%08X", unsigned(h.color));
        d.line(1, buffer);
    }
    d.line(0, "end");
    for (std::size_t pos = store::kShelfHeaderSize; pos < bytes.size();) {
        store::walkRecord(bytes, pos, d);
        d.line(0, "end");
    }
    d.flush();
}

std::string dumpShelfText(std::span<const std::uint8_t> bytes, const std::string& source)
{
    std::ostringstream out;
    dumpShelfText(bytes, source, out);
    return out.str();
}

std::vector<std::uint8_t> buildShelfText(std::string_view text, BuildCheck check)
{
    Parser parser(text);
    return parser.shelf(check);
}

} // namespace tolm::tools
