#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolm::store {

// The one UTF-8 codec of the store and the command-line tool. Both refuse
// what is not well-formed, so that a text read back is the text written.

inline std::size_t utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Writes `c` at `p`, returning the byte after it.
inline char* putUtf8(char* p, char32_t c)
{
    if (c < 0x80) {
        *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<char>(0xC0 | (c >> 6));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *p++ = static_cast<char>(0xE0 | (c >> 12));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *p++ = static_cast<char>(0xF0 | (c >> 18));
        *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return p;
}

inline void appendUtf8(std::string& out, char32_t c)
{
    char bytes[4];
    out.append(bytes, putUtf8(bytes, c));
}

// The length of the well-formed UTF-8 sequence at `i`, its character in `c`;
// 0 when it is malformed (overlong forms, surrogates and truncated sequences
// included).
inline std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& c)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    const std::size_t extra = b0 >= 0xC2 && b0 <= 0xDF ? 1
        : b0 >= 0xE0 && b0 <= 0xEF                     ? 2
        : b0 >= 0xF0 && b0 <= 0xF4                     ? 3
                                                       : 0;
    if (extra == 0 || i + extra >= s.size())
        return 0;
    c = b0 & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF))
        || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return extra + 1;
}

} // namespace tolm::store
