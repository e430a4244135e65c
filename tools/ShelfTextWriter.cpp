#include "store/Components.h"
#include "store/ShelfFile.h"
#include "store/Utf8.h"
#include "tools/ShelfText.h"
#include "tools/ShelfTextWords.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tolm::tools {

using store::Value;
using store::ValueTag;

namespace {

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

} // namespace tolm::tools
