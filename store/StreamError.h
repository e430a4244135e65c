#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace tolm::store {

// The reader's four complaints. Their texts are what the user sees in the
// error box, so they are kept exactly as the framework has always worded them.
inline constexpr const char* kInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* kPropertyDoesNotExist = "Property does not exist";
inline constexpr const char* kInvalidPropertyPath = "Invalid property path";
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";

// Raised by every reader in store/; `offset` is the byte where reading stopped,
// counted from the start of the buffer given to the reader.
class StreamError : public std::runtime_error {
public:
    StreamError(const std::string& message, std::size_t offset)
        : std::runtime_error(message)
        , m_offset(offset)
    { }
    std::size_t offset() const { return m_offset; }

private:
    std::size_t m_offset { 0 };
};

} // namespace tolm::store
