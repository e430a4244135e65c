#include "store/Record.h"

#include <array>
#include <cstring>

namespace tolm::store {

namespace {

// Length of the leading run of ASCII bytes, eight at a time where it can.
std::size_t asciiPrefix(std::string_view s)
{
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80)
        ++i;
    return i;
}

// Code points of bytes 0x80..0x9F. The five bytes Windows-1252 leaves
// undefined keep the C1 control of the same value.
constexpr std::array<char32_t, 32> kHighControls {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

std::size_t utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
}

// Writes `c` at `p`, returning the byte after it.
char* putUtf8(char* p, char32_t c)
{
    if (c < 0x80) {
        *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<char>(0xC0 | (c >> 6));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *p++ = static_cast<char>(0xE0 | (c >> 12));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return p;
}

// Decodes one UTF-8 sequence at `i`; false for malformed input (overlong
// forms, surrogates and truncated sequences included).
bool nextCodePoint(std::string_view s, std::size_t& i, char32_t& c)
{
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    int extra = 0;
    if (b0 < 0x80) {
        c = b0;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        c = b0 & 0x1F;
        extra = 1;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        c = b0 & 0x0F;
        extra = 2;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        c = b0 & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (i + extra >= s.size())
        return false;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (b & 0x3F);
    }
    if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF))
        || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    i += extra + 1;
    return true;
}

} // namespace

void cp1252ToUtf8(std::string_view bytes, std::string& out)
{
    // Most names and texts are plain ASCII, which reads as it is.
    const std::size_t ascii = asciiPrefix(bytes);
    if (ascii == bytes.size()) {
        out.assign(bytes);
        return;
    }
    // Sized first, so that a long text is never copied while it grows.
    std::size_t size = ascii;
    for (const char ch : bytes.substr(ascii)) {
        const auto b = static_cast<unsigned char>(ch);
        size += b < 0x80 ? 1 : b < 0xA0 ? utf8Length(kHighControls[b - 0x80]) : 2;
    }
    out.resize(size);
    char* p = out.data();
    std::memcpy(p, bytes.data(), ascii);
    p += ascii;
    for (const char ch : bytes.substr(ascii)) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            *p++ = ch;
        else
            p = putUtf8(p, b < 0xA0 ? kHighControls[b - 0x80] : char32_t(b));
    }
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    cp1252ToUtf8(bytes, out);
    return out;
}

bool utf8ToCp1252(std::string_view utf8, std::string& bytes)
{
    if (asciiPrefix(utf8) == utf8.size()) {
        bytes.assign(utf8);
        return true;
    }
    bytes.clear();
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            bytes += static_cast<char>(b);
            ++i;
            continue;
        }
        char32_t c = 0;
        if (!nextCodePoint(utf8, i, c))
            return false;
        if (c >= 0xA0 && c <= 0xFF) {
            bytes += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < kHighControls.size(); ++k) {
            if (kHighControls[k] == c) {
                bytes += static_cast<char>(0x80 + k);
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

} // namespace tolm::store
