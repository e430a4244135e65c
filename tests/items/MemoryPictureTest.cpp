#include "items/MemoryPicture.h"

#include "ItemsTestSupport.h"

using namespace tolm;
using tolm::items::memoryPicture;
using tolm::platform::MemoryStatus;
using tolm::store::Clase;

namespace {

using MemoryTest = tolm::test::ItemsTest;
constexpr quint64 MB = 1024 * 1024;

MemoryStatus status(
    quint32 load, quint64 totalPhysMb, quint64 availPhysMb, quint64 totalPageMb, quint64 availPageMb)
{
    return { load, totalPhysMb * MB, availPhysMb * MB, totalPageMb * MB, availPageMb * MB };
}

bool figure(const QImage& p, int x, int y, gfx::NumRow row, std::initializer_list<int> glyphs)
{
    const QImage num = gfx::bitmap("NUM_4");
    int at = x;
    for (int g : glyphs) {
        const gfx::Rect r = g < 0 ? gfx::numGSignRect(row) : gfx::numDigitRect(row, g);
        if (!tolm::test::ItemsTest::sameBlock(p, at, y, num, r))
            return false;
        at += 5;
    }
    return true;
}

TEST_F(MemoryTest, LoadFillsThePhysicalBar)
{
    const QRgb red = rgb(gfx::clRed);
    EXPECT_EQ(countColour(memoryPicture(status(0, 64, 64, 128, 128), false), { 2, 29, 28, 34 }, red), 0);
    EXPECT_EQ(
        countColour(memoryPicture(status(100, 64, 0, 128, 128), false), { 2, 29, 28, 34 }, red), 26 * 5);
    // 50 %: d = 13, red from x = 15.
    const QImage half = memoryPicture(status(50, 64, 32, 128, 128), false);
    EXPECT_EQ(countColour(half, { 15, 29, 28, 34 }, red), 13 * 5);
    EXPECT_EQ(countColour(half, { 2, 29, 15, 34 }, red), 0);
    const QImage small = memoryPicture(status(100, 64, 0, 128, 128), true);
    EXPECT_EQ(countColour(small, { 1, 12, 16, 16 }, red), 15 * 4);
}

TEST_F(MemoryTest, PagingBarFromAvailableShare)
{
    const QRgb red = rgb(gfx::clRed);
    // A quarter available: k = 6, red from x = 8 to 27.
    const QImage p = memoryPicture(status(0, 64, 64, 128, 32), false);
    EXPECT_EQ(countColour(p, { 8, 12, 28, 17 }, red), 20 * 5);
    EXPECT_EQ(countColour(p, { 2, 12, 8, 17 }, red), 0);
    // A paging file of 1024 bytes or less leaves its bar as drawn.
    MemoryStatus tiny = status(0, 64, 64, 0, 0);
    tiny.totalPageFile = 1024;
    EXPECT_EQ(countColour(memoryPicture(tiny, false), { 0, 12, 36, 17 }, red), 0);
}

TEST_F(MemoryTest, FiguresInMegabytesWithTheGSign)
{
    const QImage p = memoryPicture(status(50, 64, 32, 1536, 512), false);
    EXPECT_TRUE(figure(p, 20, 22, gfx::NumRow::Six, { 0, 6, 4 })); // total physical
    EXPECT_TRUE(figure(p, 2, 19, gfx::NumRow::Nine, { 0, 3, 2 })); // used physical
    EXPECT_TRUE(figure(p, 20, 5, gfx::NumRow::Six, { 0, 1, -1 })); // 1536 MB paging
    EXPECT_TRUE(figure(p, 2, 2, gfx::NumRow::Nine, { 0, 1, -1 })); // 1024 MB used
}

TEST_F(MemoryTest, CountsBeyondFourGigabytes)
{
    // 16 GB of memory, 12 GB available, 24 GB of commit space with 20 available.
    const QImage p = memoryPicture(status(25, 16384, 12288, 24576, 20480), false);
    EXPECT_TRUE(figure(p, 20, 22, gfx::NumRow::Six, { 1, 6, -1 }));
    EXPECT_TRUE(figure(p, 2, 19, gfx::NumRow::Nine, { 0, 4, -1 }));
    EXPECT_TRUE(figure(p, 20, 5, gfx::NumRow::Six, { 2, 4, -1 }));
    // Past what two places hold the figure stays at 99G.
    const QImage huge = memoryPicture(status(25, 262144, 0, 262144, 0), false);
    EXPECT_TRUE(figure(huge, 20, 22, gfx::NumRow::Six, { 9, 9, -1 }));
}

TEST_F(MemoryTest, ItemHintLoadTextAndTag1)
{
    fake.memory.figures = status(37, 8192, 4096, 16384, 8192);
    auto item = makeItem(Clase::Memoria, 1);
    item->settag1(-1);
    const QImage& surface = paintWhole(*item);
    EXPECT_EQ(item->Hint(), QStringLiteral("Carga de memoria: 37 %"));
    EXPECT_EQ(item->Comando(), QStringLiteral("37%"));
    EXPECT_EQ(item->tag1(), 0);
    EXPECT_TRUE(sameBlock(surface, 2, 2, memoryPicture(fake.memory.figures, false), 0, 0, 36, 36));

    // A square item keeps no load text.
    auto square = makeItem(Clase::Memoria, 0);
    paintWhole(*square);
    EXPECT_EQ(square->Comando(), QString());
    EXPECT_EQ(square->Hint(), QStringLiteral("Carga de memoria: 37 %"));
}

TEST_F(MemoryTest, FailedReadingShowsZeroes)
{
    fake.memory.available = false;
    auto item = makeItem(Clase::Memoria, 1);
    paintWhole(*item);
    EXPECT_EQ(item->Hint(), QStringLiteral("Carga de memoria: 0 %"));
}

} // namespace
