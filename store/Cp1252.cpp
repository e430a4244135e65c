#include "store/Record.h"
#include "store/Utf8.h"

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
        const std::size_t length = decodeUtf8(utf8, i, c);
        if (length == 0)
            return false;
        i += length;
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
