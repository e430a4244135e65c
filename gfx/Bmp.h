#pragma once

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolm::gfx {

// Windows BMP files as whole byte images: "BM", the 14-byte file header, the
// bitmap header, the colour table and the rows.
//
// Reading takes the 12-byte core header and the 40-byte info header with its
// later extensions (108, 124 bytes); 1, 4 and 8 bits per pixel through the colour
// table, 16 bits (5-5-5 or bit fields), 24 bits, and 32 bits (BI_RGB or bit
// fields); rows bottom-up or top-down (negative height). Run-length compressed
// files are refused. Every size is checked against the bytes present before
// anything is allocated; a file that fails any check gives a null image, never a
// partial one. The result is RGB32.
QImage decodeBmp(const std::uint8_t* data, std::size_t size);
QImage decodeBmp(const std::vector<std::uint8_t>& bytes);
QImage decodeBmp(const QByteArray& bytes);

// Writes 24 bits per pixel, bottom-up, with a 40-byte info header. A null image
// gives no bytes.
std::vector<std::uint8_t> encodeBmp(const QImage& image);

// The largest picture decodeBmp accepts, in pixels, whatever the file claims.
inline constexpr std::int64_t maxBmpPixels = std::int64_t(1) << 26;

} // namespace tolm::gfx
