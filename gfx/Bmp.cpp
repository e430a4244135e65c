#include "gfx/Bmp.h"

#include <bit>

namespace tolm::gfx {

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::uint32_t biRgb = 0;
constexpr std::uint32_t biBitfields = 3;

std::uint16_t u16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}

std::uint32_t u32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
        | (std::uint32_t(p[3]) << 24);
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Scales the bits of one channel mask to 0..255.
struct Channel {
    std::uint32_t mask { 0 };
    int shift { 0 };
    std::uint64_t max { 0 };

    explicit Channel(std::uint32_t m)
        : mask(m)
    {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = (std::uint64_t(1) << std::popcount(m)) - 1;
        }
    }
    int value(std::uint32_t pixel) const
    {
        if (max == 0)
            return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        return int(v * 255 / max);
    }
};

} // namespace

QImage decodeBmp(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < fileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M')
        return {};
    const std::uint32_t offBits = u32(data + 10);
    const std::uint8_t* info = data + fileHeaderSize;
    const std::uint32_t headerSize = u32(info);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || headerSize > size - fileHeaderSize))
        return {};

    std::int64_t width = 0;
    std::int64_t height = 0;
    unsigned bits = 0;
    std::uint32_t compression = biRgb;
    std::uint32_t colorsUsed = 0;
    if (core) {
        width = u16(info + 4);
        height = u16(info + 6);
        bits = u16(info + 10);
    } else {
        width = std::int32_t(u32(info + 4));
        height = std::int32_t(u32(info + 8));
        bits = u16(info + 14);
        compression = u32(info + 16);
        colorsUsed = u32(info + 32);
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767 || width * height > maxBmpPixels)
        return {};

    std::size_t pos = fileHeaderSize + headerSize;
    std::uint32_t masks[3] = { 0x7C00, 0x03E0, 0x001F };
    if (bits == 32)
        masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF;
    if (compression == biBitfields) {
        if ((bits != 16 && bits != 32) || (headerSize != 40 && headerSize < 52))
            return {};
        // An info header of 40 bytes is followed by the three masks; longer headers hold them.
        const std::uint8_t* m = headerSize == 40 ? data + pos : info + 40;
        if (headerSize == 40) {
            if (size - pos < 12)
                return {};
            pos += 12;
        }
        for (int i = 0; i < 3; ++i)
            masks[i] = u32(m + 4 * i);
    } else if (compression != biRgb) {
        return {};
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return {};

    // Colour table: entries of 3 bytes after a core header, 4 after the others.
    std::vector<QRgb> palette;
    if (bits <= 8) {
        const std::size_t full = std::size_t(1) << bits;
        const std::size_t count = colorsUsed == 0 ? full : std::min<std::size_t>(colorsUsed, full);
        const std::size_t entry = core ? 3 : 4;
        if (size - pos < count * entry)
            return {};
        palette.resize(full, qRgb(0, 0, 0));
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = data + pos + i * entry;
            palette[i] = qRgb(e[2], e[1], e[0]);
        }
        // Entries that the file lists beyond those it can index are skipped over.
        const std::size_t listed = colorsUsed > full && !core ? std::size_t(colorsUsed) : count;
        pos += std::min<std::size_t>(listed * entry, size - pos);
    }

    // Rows start at offBits; a writer that left it 0 or pointing into the headers
    // means "right after the colour table".
    std::size_t rowsAt = pos;
    if (offBits >= pos) {
        if (offBits > size)
            return {};
        rowsAt = offBits;
    }
    const std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    const std::uint64_t lastRow = (std::uint64_t(width) * bits + 7) / 8;
    // The last row may lack its padding; everything else must be present.
    if (std::uint64_t(size - rowsAt) < stride * std::uint64_t(height - 1) + lastRow)
        return {};

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int row = 0; row < int(height); ++row) {
        const std::uint8_t* src = data + rowsAt + stride * std::uint64_t(row);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(topDown ? row : int(height) - 1 - row));
        for (int x = 0; x < int(width); ++x) {
            switch (bits) {
            case 1:
                dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                dst[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
                break;
            case 8:
                dst[x] = palette[src[x]];
                break;
            case 16: {
                const std::uint32_t v = u16(src + 2 * x);
                dst[x] = qRgb(red.value(v), green.value(v), blue.value(v));
                break;
            }
            case 24:
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            default: {
                const std::uint32_t v = u32(src + 4 * x);
                dst[x] = qRgb(red.value(v), green.value(v), blue.value(v));
                break;
            }
            }
        }
    }
    return image;
}

QImage decodeBmp(const std::vector<std::uint8_t>& bytes)
{
    return decodeBmp(bytes.data(), bytes.size());
}

QImage decodeBmp(const QByteArray& bytes)
{
    return decodeBmp(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

std::vector<std::uint8_t> encodeBmp(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage src
        = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    const std::uint32_t w = std::uint32_t(src.width());
    const std::uint32_t h = std::uint32_t(src.height());
    const std::uint32_t stride = ((w * 24 + 31) / 32) * 4;
    const std::uint32_t pixelBytes = stride * h;
    const std::uint32_t offset = 14 + 40;

    std::vector<std::uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + pixelBytes);
    put32(out, 0); // two reserved words
    put32(out, offset);
    put32(out, 40);
    put32(out, w);
    put32(out, h);
    put16(out, 1); // planes
    put16(out, 24);
    put32(out, biRgb);
    put32(out, pixelBytes);
    put32(out, 0); // no stated resolution
    put32(out, 0);
    put32(out, 0); // no colour table
    put32(out, 0);
    for (int row = int(h) - 1; row >= 0; --row) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(row));
        for (std::uint32_t x = 0; x < w; ++x) {
            out.push_back(std::uint8_t(qBlue(line[x])));
            out.push_back(std::uint8_t(qGreen(line[x])));
            out.push_back(std::uint8_t(qRed(line[x])));
        }
        for (std::uint32_t pad = w * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

} // namespace tolm::gfx
