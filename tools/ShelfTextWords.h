#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tolm::tools {

// The words of the text form, which the writer must quote and the parser
// reads as keywords.

inline constexpr std::array<std::string_view, 17> kKeywords { "true", "false", "nil", "ident", "short",
    "long", "utf8", "int8", "int16", "int32", "ext", "binary", "list", "collection", "item", "end",
    "object" };

inline bool isKeyword(std::string_view word)
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

inline bool isWordStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
inline bool isWordChar(char c)
{
    return isWordStart(c) || (c >= '0' && c <= '9') || c == '.';
}

// A word that reads back as itself: letters, digits, '_' and '.', not a keyword.
inline bool isBareWord(std::string_view s)
{
    if (s.empty() || !isWordStart(s[0]) || isKeyword(s))
        return false;
    for (char c : s) {
        if (!isWordChar(c))
            return false;
    }
    return true;
}

} // namespace tolm::tools
