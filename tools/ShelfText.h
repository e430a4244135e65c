#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tolm::tools {

// The text form of a shelf file: readable, and complete enough that
// buildShelfText(dumpShelfText(bytes)) gives back the same bytes.
//
//   header
//       magic = 991091
//       ...
//   end
//   object TSpButton ""
//       Caption = "Editor"
//       Width = int16 40              # an integer stored wider than it needs
//       Glyph.Data = binary 1082 {    # bitmap 36 x 36, 8 bits per pixel
//           3A 04 00 00 42 4D ...
//       }
//   end
//
// Texts are quoted (\" \\ \n \r \t, \xHH for a raw byte, \u{H...} for a
// character), identifiers bare, sets in brackets. A tag the writer would not
// choose by itself is named in front of the value: int8/int16/int32 for
// integers, short/long/utf8 for texts. `#` starts a comment.

// Throws tolm::store::StreamError when the bytes are not a sequence of records
// behind a 28-byte header, before writing anything. `source` names the file in
// the first comment line. The text is written as it is made: a record of any
// size costs no more memory than its largest single value.
void dumpShelfText(std::span<const std::uint8_t> bytes, const std::string& source, std::ostream& out);
std::string dumpShelfText(std::span<const std::uint8_t> bytes, const std::string& source = {});

class ShelfTextError : public std::runtime_error {
public:
    ShelfTextError(int line, const std::string& message)
        : std::runtime_error(message)
        , m_line(line)
    { }
    int line() const { return m_line; }

private:
    int m_line { 0 };
};

// What a text is held to. Sound: the file built is one `tolm-shelf check`
// accepts (the shelf magic, the font dialog's object first, every property
// one its reader takes, within the bound of a shelf file's size); a refusal
// names the line and the property, as "OnMouseDown: SpButtonMouseDo is not a
// known handler (...)". FormOnly: any text of the form above, whatever the
// file it makes, as a dump of any bytes gives back those bytes.
enum class BuildCheck { Sound, FormOnly };

// Throws ShelfTextError for text that does not follow the form above, or
// that makes an unsound file when `check` is Sound.
std::vector<std::uint8_t> buildShelfText(std::string_view text, BuildCheck check = BuildCheck::Sound);

} // namespace tolm::tools
