#pragma once

#include <QRgb>
#include <cstdint>

namespace tolm::gfx {

// Mixing modes of a pen with the pixels under it, numbered as the drawing modes
// stored by Windows programs (R2_COPYPEN is 13, R2_XORPEN 7, R2_NOT 6).
enum class PenMode : std::uint8_t {
    Black = 1,
    NotMergePen,
    MaskNotPen,
    NotCopyPen,
    MaskPenNot,
    Not,
    Xor,
    NotMaskPen,
    MaskPen,
    NotXorPen,
    Nop,
    MergeNotPen,
    Copy,
    MergePenNot,
    MergePen,
    White,
};

// Block transfer codes. Bits 16-23 hold the truth table over pattern (0xF0),
// source (0xCC) and destination (0xAA); the low word is only an encoding hint.
namespace rop {
inline constexpr std::uint32_t SrcCopy = 0x00CC0020;
inline constexpr std::uint32_t SrcPaint = 0x00EE0086;
inline constexpr std::uint32_t SrcAnd = 0x008800C6;
inline constexpr std::uint32_t SrcInvert = 0x00660046;
inline constexpr std::uint32_t SrcErase = 0x00440328;
inline constexpr std::uint32_t NotSrcCopy = 0x00330008;
inline constexpr std::uint32_t NotSrcErase = 0x001100A6;
inline constexpr std::uint32_t MergeCopy = 0x00C000CA;
inline constexpr std::uint32_t MergePaint = 0x00BB0226;
inline constexpr std::uint32_t PatCopy = 0x00F00021;
inline constexpr std::uint32_t PatPaint = 0x00FB0A09;
inline constexpr std::uint32_t PatInvert = 0x005A0049;
inline constexpr std::uint32_t DstInvert = 0x00550009;
inline constexpr std::uint32_t Blackness = 0x00000042;
inline constexpr std::uint32_t Whiteness = 0x00FF0062;
} // namespace rop

// The truth table byte of a block transfer code.
constexpr std::uint8_t ropTable(std::uint32_t code)
{
    return std::uint8_t((code >> 16) & 0xFF);
}

// The pen mode as a truth table over pen (pattern) and destination, so lines,
// fills and transfers all go through the same combination.
std::uint8_t penModeTable(PenMode mode);

constexpr bool ropUsesSource(std::uint8_t table)
{
    return (((table >> 2) ^ table) & 0x33) != 0;
}

constexpr bool ropUsesDestination(std::uint8_t table)
{
    return (((table >> 1) ^ table) & 0x55) != 0;
}

// Combines one pixel. Only the colour bits take part; the result is opaque.
QRgb combinePixel(std::uint8_t table, QRgb pattern, QRgb source, QRgb destination);

// Combines a run of n pixels in place. source may be null when the table does not
// read it; pattern is a solid colour.
void combineRun(std::uint8_t table, QRgb* destination, const QRgb* source, QRgb pattern, int n);

} // namespace tolm::gfx
