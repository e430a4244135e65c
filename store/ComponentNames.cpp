#include "store/ComponentNames.h"

#include "store/Components.h"

#include <span>

namespace tolm::store {

namespace {

struct NamedValue {
    const char* name;
    std::int32_t value;
};

constexpr std::int32_t sys(int n)
{
    return static_cast<std::int32_t>(0x80000000u + n);
}

constexpr NamedValue kColors[] = { { "clBlack", 0x000000 }, { "clMaroon", 0x000080 }, { "clGreen", 0x008000 },
    { "clOlive", 0x008080 }, { "clNavy", 0x800000 }, { "clPurple", 0x800080 }, { "clTeal", 0x808000 },
    { "clGray", 0x808080 }, { "clSilver", 0xC0C0C0 }, { "clRed", 0x0000FF }, { "clLime", 0x00FF00 },
    { "clYellow", 0x00FFFF }, { "clBlue", 0xFF0000 }, { "clFuchsia", 0xFF00FF }, { "clAqua", 0xFFFF00 },
    { "clWhite", 0xFFFFFF }, { "clScrollBar", sys(0) }, { "clBackground", sys(1) },
    { "clActiveCaption", sys(2) }, { "clInactiveCaption", sys(3) }, { "clMenu", sys(4) },
    { "clWindow", sys(5) }, { "clWindowFrame", sys(6) }, { "clMenuText", sys(7) }, { "clWindowText", sys(8) },
    { "clCaptionText", sys(9) }, { "clActiveBorder", sys(10) }, { "clInactiveBorder", sys(11) },
    { "clAppWorkSpace", sys(12) }, { "clHighlight", sys(13) }, { "clHighlightText", sys(14) },
    { "clBtnFace", sys(15) }, { "clBtnShadow", sys(16) }, { "clGrayText", sys(17) }, { "clBtnText", sys(18) },
    { "clInactiveCaptionText", sys(19) }, { "clBtnHighlight", sys(20) }, { "cl3DDkShadow", sys(21) },
    { "cl3DLight", sys(22) }, { "clInfoText", sys(23) }, { "clInfoBk", sys(24) }, { "clNone", 0x1FFFFFFF } };

constexpr NamedValue kCharsets[] = { { "ANSI_CHARSET", 0 }, { "DEFAULT_CHARSET", 1 }, { "SYMBOL_CHARSET", 2 },
    { "MAC_CHARSET", 77 }, { "SHIFTJIS_CHARSET", 128 }, { "HANGEUL_CHARSET", 129 }, { "JOHAB_CHARSET", 130 },
    { "GB2312_CHARSET", 134 }, { "CHINESEBIG5_CHARSET", 136 }, { "GREEK_CHARSET", 161 },
    { "TURKISH_CHARSET", 162 }, { "HEBREW_CHARSET", 177 }, { "ARABIC_CHARSET", 178 },
    { "BALTIC_CHARSET", 186 }, { "RUSSIAN_CHARSET", 204 }, { "THAI_CHARSET", 222 },
    { "EASTEUROPE_CHARSET", 238 }, { "OEM_CHARSET", 255 } };

constexpr NamedValue kCursors[] = { { "crDefault", 0 }, { "crNone", -1 }, { "crArrow", -2 },
    { "crCross", -3 }, { "crIBeam", -4 }, { "crSizeNESW", -6 }, { "crSizeNS", -7 }, { "crSizeNWSE", -8 },
    { "crSizeWE", -9 }, { "crUpArrow", -10 }, { "crHourGlass", -11 }, { "crDrag", -12 }, { "crNoDrop", -13 },
    { "crHSplit", -14 }, { "crVSplit", -15 }, { "crMultiDrag", -16 }, { "crSQLWait", -17 }, { "crNo", -18 },
    { "crAppStart", -19 }, { "crHelp", -20 }, { "crHandPoint", -21 }, { "crSizeAll", -22 } };

const char* nameOf(std::span<const NamedValue> map, std::int32_t value)
{
    for (const auto& entry : map) {
        if (entry.value == value)
            return entry.name;
    }
    return nullptr;
}

std::optional<std::int32_t> valueOf(std::span<const NamedValue> map, std::string_view name)
{
    for (const auto& entry : map) {
        if (sameText(entry.name, name))
            return entry.value;
    }
    return std::nullopt;
}

} // namespace

const std::vector<std::string> kWindowStates { "wsNormal", "wsMinimized", "wsMaximized" };
const std::vector<std::string> kLayouts { "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom" };
const std::vector<std::string> kPitches { "fpDefault", "fpVariable", "fpFixed" };
const std::vector<std::string> kDevices { "fdScreen", "fdPrinter", "fdBoth" };
const std::vector<std::string> kFontStyles { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" };
const std::vector<std::string> kDialogOptions { "fdAnsiOnly", "fdTrueTypeOnly", "fdEffects",
    "fdFixedPitchOnly", "fdForceFontExist", "fdNoFaceSel", "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel",
    "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp", "fdWysiwyg", "fdLimitSize", "fdScalableOnly",
    "fdApplyButton" };

const std::vector<std::string> kTipos { "T40x40", "T80x40", "T100x40", "T120x40", "T40x60", "T60x60",
    "T80x60", "T40x20", "T80x20", "T120x20" };
const std::vector<std::string> kClases { "Normal", "Carpeta", "Reloj", "Disco", "Memoria", "Recursos" };

const std::vector<std::string> kOwnHandlers { "SpButtonClick", "SpButtonMouseDown", "SpButtonMouseMove",
    "SpButtonMouseUp" };

bool sameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    if (a == b)
        return true; // files written by us spell names exactly
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] + 32) : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

const char* colorName(std::int32_t color)
{
    return nameOf(kColors, color);
}
std::optional<std::int32_t> colorFromName(std::string_view name)
{
    return valueOf(kColors, name);
}
const char* charsetName(std::int32_t charset)
{
    return nameOf(kCharsets, charset);
}
std::optional<std::int32_t> charsetFromName(std::string_view name)
{
    return valueOf(kCharsets, name);
}

TipoSize tipoSize(int tipo)
{
    static constexpr TipoSize sizes[] = {
        { 40, 40, ButtonLayout::GlyphLeft },
        { 80, 40, ButtonLayout::GlyphLeft },
        { 100, 40, ButtonLayout::GlyphLeft },
        { 120, 40, ButtonLayout::GlyphLeft },
        { 40, 60, ButtonLayout::GlyphTop },
        { 60, 60, ButtonLayout::GlyphTop },
        { 80, 60, ButtonLayout::GlyphTop },
        { 40, 20, ButtonLayout::GlyphLeft },
        { 80, 20, ButtonLayout::GlyphLeft },
        { 120, 20, ButtonLayout::GlyphLeft },
    };
    if (tipo < 0 || tipo > 9)
        return sizes[0];
    return sizes[tipo];
}

const std::vector<std::string>& tipoNames()
{
    return kTipos;
}

const std::vector<std::string>& claseNames()
{
    return kClases;
}

const std::vector<std::string>& ownHandlerNames()
{
    return kOwnHandlers;
}

const char* cursorName(std::int32_t cursor)
{
    return nameOf(kCursors, cursor);
}
std::optional<std::int32_t> cursorFromName(std::string_view name)
{
    return valueOf(kCursors, name);
}

} // namespace tolm::store
