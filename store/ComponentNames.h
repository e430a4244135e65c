#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The identifiers that stored values may hold, shared by the readers and
// writers of component records. Each list is in the order of the values or
// bits its names stand for.
namespace tolm::store {

extern const std::vector<std::string> kWindowStates, kLayouts, kPitches, kDevices, kFontStyles,
    kDialogOptions, kTipos, kClases;
// The item's own published handlers: the only methods an event can name.
extern const std::vector<std::string> kOwnHandlers;

// Identifiers are matched without regard to ASCII case, as the framework did.
bool sameText(std::string_view a, std::string_view b);

const char* cursorName(std::int32_t cursor);
std::optional<std::int32_t> cursorFromName(std::string_view name);

} // namespace tolm::store
