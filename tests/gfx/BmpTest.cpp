#include "gfx/Bmp.h"

#include <gtest/gtest.h>

using namespace tolm::gfx;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::uint32_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

void put32(Bytes& b, std::uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A file with a 40-byte info header; the caller appends the colour table and rows.
Bytes infoFile(
    std::int32_t w, std::int32_t h, int bits, std::uint32_t paletteEntries, std::uint32_t compression = 0)
{
    Bytes b { 'B', 'M' };
    put32(b, 0); // file size: readers do not rely on it
    put32(b, 0);
    put32(b, 14 + 40 + paletteEntries * 4);
    put32(b, 40);
    put32(b, std::uint32_t(w));
    put32(b, std::uint32_t(h));
    put16(b, 1);
    put16(b, std::uint32_t(bits));
    put32(b, compression);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, paletteEntries);
    put32(b, 0);
    return b;
}

void putColour(Bytes& b, int r, int g, int bl)
{
    b.push_back(std::uint8_t(bl));
    b.push_back(std::uint8_t(g));
    b.push_back(std::uint8_t(r));
    b.push_back(0);
}

} // namespace

TEST(Bmp, RoundTripKeepsEveryPixel)
{
    for (int w : { 1, 2, 3, 7, 36 }) {
        QImage img(w, 5, QImage::Format_RGB32);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, qRgb(x * 7, y * 50, (x + y) * 3));
        const Bytes bytes = encodeBmp(img);
        const std::size_t stride = ((std::size_t(w) * 3 + 3) / 4) * 4;
        ASSERT_EQ(bytes.size(), 54 + stride * 5);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(bytes[2] | (bytes[3] << 8), int(bytes.size()));
        EXPECT_EQ(bytes[10], 54);
        EXPECT_EQ(bytes[28], 24);
        // Bottom-up: the first row stored is the last one of the picture.
        EXPECT_EQ(bytes[54 + 2], qRed(img.pixel(0, 4)));
        EXPECT_EQ(decodeBmp(bytes), img) << "width " << w;
    }
    EXPECT_TRUE(encodeBmp(QImage()).empty());
}

TEST(Bmp, ReadsPalettedDepthsBothWaysUp)
{
    // 1 bit, 3 x 2, top-down: rows 101 / 010.
    Bytes one = infoFile(3, -2, 1, 2);
    putColour(one, 0, 0, 0);
    putColour(one, 255, 255, 255);
    for (std::uint8_t row : { 0xA0, 0x40 }) {
        one.push_back(row);
        one.insert(one.end(), 3, 0);
    }
    const QImage a = decodeBmp(one);
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a.size(), QSize(3, 2));
    EXPECT_EQ(a.format(), QImage::Format_RGB32);
    EXPECT_EQ(a.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(a.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(a.pixel(1, 1), qRgb(255, 255, 255));

    // 4 bits, 3 x 2, bottom-up with a 16-entry table (colour table size left 0).
    Bytes four = infoFile(3, 2, 4, 0);
    for (int i = 0; i < 16; ++i)
        putColour(four, i * 16, 0, 255 - i * 16);
    // The first stored row is the bottom one.
    for (Bytes row : { Bytes { 0x12, 0x30, 0, 0 }, Bytes { 0xF0, 0x50, 0, 0 } })
        four.insert(four.end(), row.begin(), row.end());
    four[10] = 14 + 40 + 64;
    const QImage b = decodeBmp(four);
    ASSERT_FALSE(b.isNull());
    EXPECT_EQ(b.pixel(0, 1), qRgb(16, 0, 239));
    EXPECT_EQ(b.pixel(1, 1), qRgb(32, 0, 223));
    EXPECT_EQ(b.pixel(2, 1), qRgb(48, 0, 207));
    EXPECT_EQ(b.pixel(0, 0), qRgb(240, 0, 15));
    EXPECT_EQ(b.pixel(2, 0), qRgb(80, 0, 175));

    // 8 bits with a short table: an index past it reads as black.
    Bytes eight = infoFile(2, 1, 8, 1);
    putColour(eight, 1, 2, 3);
    eight.insert(eight.end(), { 0, 9, 0, 0 });
    const QImage c = decodeBmp(eight);
    ASSERT_FALSE(c.isNull());
    EXPECT_EQ(c.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(c.pixel(1, 0), qRgb(0, 0, 0));
}

TEST(Bmp, ReadsDirectColourAndCoreHeaders)
{
    Bytes b32 = infoFile(1, 1, 32, 0);
    b32.insert(b32.end(), { 0x30, 0x20, 0x10, 0x99 });
    EXPECT_EQ(decodeBmp(b32).pixel(0, 0), qRgb(0x10, 0x20, 0x30));

    Bytes b16 = infoFile(2, 1, 16, 0);
    put16(b16, 0x7C00); // 5-5-5: pure red
    put16(b16, 0x001F); // pure blue
    const QImage i16 = decodeBmp(b16);
    ASSERT_FALSE(i16.isNull());
    EXPECT_EQ(i16.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(i16.pixel(1, 0), qRgb(0, 0, 255));

    // Bit fields after a 40-byte header: 5-6-5.
    Bytes f16 = infoFile(1, 1, 16, 0, 3);
    put32(f16, 0xF800);
    put32(f16, 0x07E0);
    put32(f16, 0x001F);
    f16[10] = 14 + 40 + 12;
    put16(f16, 0x07E0);
    EXPECT_EQ(decodeBmp(f16).pixel(0, 0), qRgb(0, 255, 0));

    // 12-byte core header, 24 bits, rows padded to 4 bytes.
    Bytes core { 'B', 'M' };
    put32(core, 0);
    put32(core, 0);
    put32(core, 26);
    put32(core, 12);
    put16(core, 1);
    put16(core, 2);
    put16(core, 1);
    put16(core, 24);
    core.insert(core.end(), { 3, 2, 1, 0 }); // bottom row
    core.insert(core.end(), { 6, 5, 4, 0 });
    const QImage ci = decodeBmp(core);
    ASSERT_FALSE(ci.isNull());
    EXPECT_EQ(ci.pixel(0, 1), qRgb(1, 2, 3));
    EXPECT_EQ(ci.pixel(0, 0), qRgb(4, 5, 6));
}

TEST(Bmp, MalformedFilesGiveANullImage)
{
    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(qRgb(1, 2, 3));
    const Bytes good = encodeBmp(img);
    ASSERT_FALSE(decodeBmp(good).isNull());
    // Every truncation fails cleanly, except that the last row may lack its padding.
    for (std::size_t n = 0; n + 1 < good.size(); ++n)
        EXPECT_TRUE(decodeBmp(Bytes(good.begin(), good.begin() + std::ptrdiff_t(n))).isNull()) << n;
    EXPECT_EQ(decodeBmp(Bytes(good.begin(), good.end() - 1)), img);

    auto patched = [&](std::size_t at, std::uint32_t v) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i)
            b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
        return b;
    };
    EXPECT_TRUE(decodeBmp(patched(18, 0x7FFFFFFF)).isNull()); // width
    EXPECT_TRUE(decodeBmp(patched(22, 0x80000000)).isNull()); // height INT_MIN
    EXPECT_TRUE(decodeBmp(patched(18, 0)).isNull());
    EXPECT_TRUE(decodeBmp(patched(18, 20000)).isNull()); // claims far more rows than present
    EXPECT_TRUE(decodeBmp(patched(10, 0xFFFFFFF0)).isNull()); // rows beyond the file
    EXPECT_TRUE(decodeBmp(patched(14, 0xFFFFFFFF)).isNull()); // header size
    EXPECT_TRUE(decodeBmp(patched(14, 39)).isNull());
    EXPECT_TRUE(decodeBmp(patched(30, 1)).isNull()); // run-length compressed
    Bytes depth = good;
    depth[28] = 7;
    EXPECT_TRUE(decodeBmp(depth).isNull());
    Bytes magic = good;
    magic[0] = 'X';
    EXPECT_TRUE(decodeBmp(magic).isNull());
    EXPECT_TRUE(decodeBmp(nullptr, 100).isNull());

    // A colour table that runs past the end of the file.
    Bytes pal = infoFile(1, 1, 8, 200);
    putColour(pal, 1, 1, 1);
    EXPECT_TRUE(decodeBmp(pal).isNull());
    // Bit fields announced but the masks missing.
    Bytes fields = infoFile(1, 1, 32, 0, 3);
    fields.insert(fields.end(), 4, 0);
    EXPECT_TRUE(decodeBmp(fields).isNull());
}

TEST(Bmp, ZeroOffsetMeansRowsFollowTheTable)
{
    Bytes b = infoFile(1, 1, 8, 2);
    b[10] = 0;
    putColour(b, 0, 0, 0);
    putColour(b, 9, 8, 7);
    b.insert(b.end(), { 1, 0, 0, 0 });
    EXPECT_EQ(decodeBmp(b).pixel(0, 0), qRgb(9, 8, 7));
}
