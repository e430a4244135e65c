// Feeds arbitrary bytes to the record reader and both typed readers. Anything
// the reader accepts must come back byte for byte from the writer, and the
// bare walk that dumps use must accept it too, ending at the same byte.
// Reading straight into a state must judge every input as reading through
// the record does: the same state and end, or the same complaint at the same byte.
#include "store/Components.h"
#include "store/Record.h"
#include "store/StreamError.h"

#include <cstdlib>
#include <cstring>

using namespace tolm::store;

namespace {

template <typename State> struct Outcome {
    bool read { false };
    std::string message;
    std::size_t at { 0 };
    State state;
    bool operator==(const Outcome&) const = default;
};

template <typename State, typename Straight, typename Later>
void compareWays(std::span<const std::uint8_t> bytes, Straight straight, Later later)
{
    Outcome<State> a, b;
    try {
        a.state = straight(bytes, a.at);
        a.read = true;
    } catch (const StreamError& e) {
        a.message = e.what();
        if (a.at != 0)
            std::abort(); // a refused record leaves the position alone
        a.at = e.offset();
    }
    try {
        std::vector<std::size_t> offsets;
        const Record record = readRecord(bytes, b.at, &offsets);
        b.state = later(record, offsets);
        b.read = true;
    } catch (const StreamError& e) {
        b.message = e.what();
        b.at = e.offset();
    }
    if (!(a == b))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    compareWays<SpButtonState>(
        bytes, [](auto in, std::size_t& at) { return readSpButton(in, at); },
        [](const Record& r, std::span<const std::size_t> offsets) { return readSpButton(r, offsets); });
    compareWays<FontDialogState>(
        bytes, [](auto in, std::size_t& at) { return readFontDialog(in, at); },
        [](const Record& r, std::span<const std::size_t> offsets) { return readFontDialog(r, offsets); });

    std::size_t pos = 0;
    Record record;
    try {
        record = readRecord(bytes, pos);
    } catch (const StreamError&) {
        return 0;
    }
    std::vector<std::uint8_t> again;
    writeRecord(record, again);
    if (again.size() != pos || std::memcmp(again.data(), data, pos) != 0)
        std::abort();
    RecordSkimmer walk;
    std::size_t walked = 0;
    try {
        walkRecord(bytes, walked, walk);
    } catch (const StreamError&) {
        std::abort();
    }
    if (walked != pos)
        std::abort();

    try {
        const SpButtonState item = readSpButton(record);
        // What the typed reader accepted, the typed writer must reproduce.
        std::vector<std::uint8_t> written;
        writeRecord(writeSpButton(item), written);
        std::size_t at = 0;
        SpButtonState back = readSpButton(readRecord(written, at));
        // Left out when it matches a default, so not expected back: a font
        // the item does not use, a hint setting taken from the parent, an
        // empty font name, bounds that Tipo (written after them) resets, a
        // cleared handler (the new item's own comes back).
        SpButtonState expected = item;
        if (expected.parentFont)
            back.font = expected.font;
        else if (expected.font.name.empty())
            back.font.name.clear();
        if (expected.parentShowHint) {
            back.parentShowHint = true;
            back.showHint = expected.showHint;
        }
        for (auto member : { &SpButtonState::onClick, &SpButtonState::onDblClick, &SpButtonState::onMouseDown,
                 &SpButtonState::onMouseMove, &SpButtonState::onMouseUp }) {
            if ((expected.*member).empty())
                back.*member = "";
        }
        if (expected.tipo != 0) {
            back.width = expected.width;
            back.height = expected.height;
            back.layout = expected.layout;
        }
        if (!(back == expected))
            std::abort();
    } catch (const StreamError&) { }
    try {
        readFontDialog(record);
    } catch (const StreamError&) { }
    return 0;
}
