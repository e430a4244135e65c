#include "store/Components.h"
#include "store/ShelfFile.h"
#include "store/Utf8.h"
#include "tools/ShelfText.h"
#include "tools/ShelfTextWords.h"

namespace tolm::tools {

using store::Value;
using store::ValueTag;

namespace {

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

std::vector<std::uint8_t> buildShelfText(std::string_view text, BuildCheck check)
{
    Parser parser(text);
    return parser.shelf(check);
}

} // namespace tolm::tools
