// Feeds arbitrary text to `tolm-shelf build`'s reader, held to both checks.
// A file built from any text must dump to a text that builds the same bytes
// again, and a text the sound check accepts must make a file that the shelf
// reader takes whole.
#include "store/ShelfFile.h"
#include "tools/ShelfText.h"

#include <cstdint>
#include <cstdlib>

using namespace tolm;

namespace {

std::optional<std::vector<std::uint8_t>> build(std::string_view text, tools::BuildCheck check)
{
    try {
        return tools::buildShelfText(text, check);
    } catch (const tools::ShelfTextError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto bytes = build(text, tools::BuildCheck::FormOnly)) {
        std::string dumped;
        try {
            dumped = tools::dumpShelfText(*bytes);
        } catch (const store::StreamError&) {
            return 0;
        }
        if (build(dumped, tools::BuildCheck::FormOnly) != bytes)
            std::abort();
    }
    if (const auto bytes = build(text, tools::BuildCheck::Sound)) {
        try {
            store::parseShelf(*bytes);
        } catch (const store::StreamError&) {
            std::abort();
        }
    }
    return 0;
}
