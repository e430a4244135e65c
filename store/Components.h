#pragma once

#include "store/Record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolm::store {

// Colours are 0x00BBGGRR, or 0x80000000 + n for the n-th system colour.
inline constexpr std::int32_t kClWindowText = static_cast<std::int32_t>(0x80000008u);
inline constexpr std::int32_t kClBtnFace = static_cast<std::int32_t>(0x8000000Fu);
inline constexpr std::int32_t kDefaultCharset = 1;

// Identifier maps: name for a value, or nullptr when the value has none.
const char* colorName(std::int32_t color);
std::optional<std::int32_t> colorFromName(std::string_view name);
const char* charsetName(std::int32_t charset);
std::optional<std::int32_t> charsetFromName(std::string_view name);

enum class Tipo : std::uint8_t {
    T40x40,
    T80x40,
    T100x40,
    T120x40,
    T40x60,
    T60x60,
    T80x60,
    T40x20,
    T80x20,
    T120x20
};
enum class Clase : std::uint8_t { Normal, Carpeta, Reloj, Disco, Memoria, Recursos };
enum class WindowState : std::uint8_t { Normal, Minimized, Maximized };
enum class ButtonLayout : std::uint8_t { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };
enum class FontPitch : std::uint8_t { Default, Variable, Fixed };

struct TipoSize {
    int width;
    int height;
    ButtonLayout layout;
};
// The pixel size and picture placement of a size format; values outside the
// ten formats give 40 x 40, picture left.
TipoSize tipoSize(int tipo);

const std::vector<std::string>& tipoNames();
const std::vector<std::string>& claseNames();
// The item's own event handlers: the only methods an item's event may name.
const std::vector<std::string>& ownHandlerNames();

// Font style bits: fsBold 1, fsItalic 2, fsUnderline 4, fsStrikeOut 8.
struct FontState {
    std::int32_t charset { kDefaultCharset };
    std::int32_t color { kClWindowText };
    std::int32_t height { -11 };
    std::string name { "MS Sans Serif" };
    FontPitch pitch { FontPitch::Default };
    std::uint8_t style { 0 };
    bool operator==(const FontState&) const = default;
};

// Everything a shelf item's record can carry, with the values a newly
// constructed item has before a record is read into it.
struct SpButtonState {
    std::string name;
    std::int32_t tag { 0 };
    std::int32_t left { 0 }, top { 0 }, width { 23 }, height { 22 };
    std::int32_t cursor { 0 };
    std::string hint;
    bool allowAllUp { false };
    std::int32_t groupIndex { 0 };
    bool down { false };
    std::string caption;
    bool enabled { true };
    bool flat { false };
    FontState font; // meaningful only when parentFont is false
    std::vector<std::uint8_t> glyphBmp; // a whole BMP file image, "BM..."; empty: no glyph
    ButtonLayout layout { ButtonLayout::GlyphLeft };
    std::int32_t margin { -1 };
    std::int32_t numGlyphs { 1 };
    bool parentFont { true };
    bool parentShowHint { false }; // the item's constructor sets ShowHint, which clears this
    bool showHint { true };
    std::int32_t spacing { 4 };
    bool visible { true };
    // Handler method names; the item's constructor attaches its own four.
    std::string onClick { "SpButtonClick" };
    std::string onDblClick;
    std::string onMouseDown { "SpButtonMouseDown" };
    std::string onMouseMove { "SpButtonMouseMove" };
    std::string onMouseUp { "SpButtonMouseUp" };
    std::string popupMenu; // "Principal.MenuBoton"; empty: none
    std::uint8_t tipo { 0 }; // Tipo, kept as stored
    std::uint8_t clase { 0 }; // Clase, kept as stored
    std::string comando, directorio, fichIcono, param;
    WindowState run { WindowState::Normal };
    bool autorun { false };
    std::int32_t tag1 { 0 }, tag2 { 0 };

    bool operator==(const SpButtonState&) const = default;
};

// Sets one property as the item's own setter would. Reading "Tipo" resizes
// (width, height, layout from tipoSize) exactly like a user's change, so a
// later "Width" in the same record wins. Throws StreamError with offset 0
// ("Property does not exist", "Invalid property path", "Invalid property value").
void applySpButtonProperty(SpButtonState& state, const Property& property);
// The same for a value where it lies; texts are converted as they are kept.
void applySpButtonProperty(SpButtonState& state, std::string_view name, const ValueView& value);
// Reads a whole record into a freshly constructed item's state.
SpButtonState readSpButton(const Record& record);
// The same, pointing an error at the offset of the property that caused it
// (offsets as given by readRecord).
SpButtonState readSpButton(const Record& record, std::span<const std::size_t> propertyOffsets);
// Reads the record at `pos` straight from the bytes and advances `pos` past
// it, building no Record: the state and the errors are those of
// readSpButton(readRecord(data, pos, &offsets), offsets), every bound of
// readRecord included. On an error `pos` is left where it was.
SpButtonState readSpButton(std::span<const std::uint8_t> data, std::size_t& pos);
// Builds the record in writing order, leaving out what holds its default.
Record writeSpButton(const SpButtonState& state);

// Font dialog option bits, fdAnsiOnly = bit 0 ... fdApplyButton = bit 15.
inline constexpr std::uint32_t kFdEffects = 1u << 2;
inline constexpr std::uint32_t kFdApplyButton = 1u << 15;

struct FontDialogState {
    std::string name { "FontDialog1" };
    std::int32_t tag { 0 };
    bool ctl3D { true };
    std::int32_t helpContext { 0 };
    FontState font;
    std::uint8_t device { 0 }; // fdScreen, fdPrinter, fdBoth
    std::int32_t minFontSize { 0 }, maxFontSize { 0 };
    std::uint32_t options { kFdEffects | kFdApplyButton };
    bool operator==(const FontDialogState&) const = default;
};

void applyFontDialogProperty(FontDialogState& state, const Property& property);
void applyFontDialogProperty(FontDialogState& state, std::string_view name, const ValueView& value);
FontDialogState readFontDialog(const Record& record);
FontDialogState readFontDialog(const Record& record, std::span<const std::size_t> propertyOffsets);
FontDialogState readFontDialog(std::span<const std::uint8_t> data, std::size_t& pos);
Record writeFontDialog(const FontDialogState& state);

} // namespace tolm::store
