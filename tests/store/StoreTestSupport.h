#pragma once

#include "store/Record.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Builds expected byte strings the way a reader of a hex dump thinks of them.
class Bytes {
public:
    Bytes& raw(std::initializer_list<int> bytes)
    {
        for (int b : bytes)
            m_bytes.push_back(static_cast<std::uint8_t>(b));
        return *this;
    }
    Bytes& text(std::string_view s)
    {
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& shortString(std::string_view s)
    {
        m_bytes.push_back(static_cast<std::uint8_t>(s.size()));
        return text(s);
    }
    Bytes& u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    Bytes& head(std::string_view className, std::string_view name = "")
    {
        text("TPF0");
        shortString(className);
        return shortString(name);
    }
    Bytes& ident(std::string_view property, std::string_view value)
    {
        shortString(property);
        raw({ 7 });
        return shortString(value);
    }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    operator const std::vector<std::uint8_t>&() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// One record written to bytes and read back; reading must use every byte.
inline std::vector<std::uint8_t> encode(const tolm::store::Record& record)
{
    std::vector<std::uint8_t> out;
    tolm::store::writeRecord(record, out);
    return out;
}

inline tolm::store::Record decode(const std::vector<std::uint8_t>& bytes)
{
    std::size_t pos = 0;
    tolm::store::Record record = tolm::store::readRecord(bytes, pos);
    EXPECT_EQ(pos, bytes.size());
    return record;
}
