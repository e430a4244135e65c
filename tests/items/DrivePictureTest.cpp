#include "items/DrivePicture.h"

#include "ItemsTestSupport.h"

using namespace tolm;
using tolm::items::drivePicture;
using tolm::items::readDrive;
using tolm::store::Clase;

namespace {

using DriveTest = tolm::test::ItemsTest;
constexpr quint64 KB = 1024;

// Kilobytes of 1000 bytes, as the digits count.
class DriveDigitsTest : public DriveTest {
protected:
    QImage pictureFor(quint64 freeKb, quint64 totalKb = 100000000)
    {
        fake.drives.drives.clear();
        fake.drives.add("c:\\", platform::DriveFixed, totalKb * 1000, freeKb * 1000, "SISTEMA");
        return drivePicture(readDrive("c:\\"), "c:\\", false);
    }
    bool big(const QImage& p, int x, int d) { return sameBlock(p, x, 4, digits, gfx::bigDigitRect(d)); }
    bool small(const QImage& p, int x, int d)
    {
        return sameBlock(p, x, 8, num, gfx::numDigitRect(gfx::NumRow::Seven, d));
    }
    bool untouched(const QImage& p, int x, int y, int w, int h)
    {
        return sameBlock(p, x, y, base, x, y, w, h);
    }

    QImage digits = gfx::bitmap("DIGITS_5");
    QImage num = gfx::bitmap("NUM_4");
    QImage base = gfx::bitmap("drive");
};

TEST_F(DriveDigitsTest, ThousandsOfKilobytesInBigDigits)
{
    const QImage p = pictureFor(1500000);
    EXPECT_TRUE(big(p, 7, 1));
    EXPECT_TRUE(big(p, 13, 5));
    EXPECT_TRUE(big(p, 19, 0));
    EXPECT_TRUE(big(p, 25, 0));
}

TEST_F(DriveDigitsTest, BigAndSmallDigitsBetweenTenThousandAndAHundredThousand)
{
    const QImage p = pictureFor(54321);
    EXPECT_TRUE(big(p, 5, 5));
    EXPECT_TRUE(big(p, 11, 4));
    EXPECT_TRUE(small(p, 17, 3));
    EXPECT_TRUE(small(p, 22, 2));
    EXPECT_TRUE(small(p, 27, 1));
}

TEST_F(DriveDigitsTest, FewKilobytesGiveThreeSmallDigitsAndNoBigOne)
{
    const QImage p = pictureFor(5);
    EXPECT_TRUE(small(p, 14, 0));
    EXPECT_TRUE(small(p, 19, 0));
    EXPECT_TRUE(small(p, 24, 5));
    EXPECT_TRUE(untouched(p, 8, 4, 5, 4)); // no big digit above the small ones

    const QImage q = pictureFor(2345);
    EXPECT_TRUE(big(q, 8, 2));
    EXPECT_TRUE(small(q, 14, 3));
}

TEST_F(DriveDigitsTest, TenMillionKilobytesAndMoreCountInThousands)
{
    const QImage p = pictureFor(12345678); // w = 12345
    EXPECT_TRUE(big(p, 5, 1));
    EXPECT_TRUE(big(p, 11, 2));
    EXPECT_TRUE(small(p, 17, 3));
    EXPECT_TRUE(small(p, 22, 4));
    EXPECT_TRUE(small(p, 27, 5));
}

// Five places of megabytes cannot hold today's free space: 232 GB once read
// "43584". From a hundred thousand megabytes up the figure is in gigabytes,
// then the G sign.
TEST_F(DriveDigitsTest, AHundredMillionKilobytesAndMoreCountInMillionsWithTheGSign)
{
    const gfx::Rect g = gfx::numGSignRect(gfx::NumRow::Seven);
    const struct {
        quint64 freeKb;
        int thousands; // -1: no digit there
        int hundreds, tens, ones;
    } cases[] = {
        { 99999999, -1, -1, -1, -1 }, // still the five places: 99999
        { 226562500, -1, 2, 2, 6 }, // 226 GB
        { 1953125000, 1, 9, 5, 3 }, // nearly 2 TB
    };
    for (const auto& c : cases) {
        const QImage p = pictureFor(c.freeKb, 4000000000);
        if (c.hundreds < 0) {
            EXPECT_TRUE(small(p, 27, 9)) << c.freeKb;
            continue;
        }
        EXPECT_TRUE(c.thousands < 0 ? untouched(p, 5, 4, 5, 4) : big(p, 5, c.thousands)) << c.freeKb;
        EXPECT_TRUE(big(p, 11, c.hundreds)) << c.freeKb;
        EXPECT_TRUE(small(p, 17, c.tens)) << c.freeKb;
        EXPECT_TRUE(small(p, 22, c.ones)) << c.freeKb;
        EXPECT_TRUE(sameBlock(p, 27, 8, num, g)) << c.freeKb;
    }
}

TEST_F(DriveDigitsTest, BarShowsTheUsedShareInRed)
{
    const QRgb red = rgb(gfx::clRed);
    EXPECT_EQ(countColour(pictureFor(1000, 1000), { 0, 29, 36, 34 }, red), 0);
    const QImage full = pictureFor(0, 1000);
    EXPECT_EQ(countColour(full, { 5, 29, 31, 34 }, red), 26 * 5);
    EXPECT_EQ(countColour(full, { 0, 29, 5, 34 }, red), 0);
    EXPECT_EQ(countColour(full, { 31, 29, 36, 34 }, red), 0);
    // Half free: k = 13, red from x = 18.
    const QImage half = pictureFor(500, 1000);
    EXPECT_EQ(countColour(half, { 18, 29, 31, 34 }, red), 13 * 5);
    EXPECT_EQ(countColour(half, { 5, 29, 18, 34 }, red), 0);
    // 400 used, 500 the user may write, 100 kept for root: the share is of
    // the 900 that are the user's, as df counts it; k = 14, red from x = 19.
    fake.drives.drives[0].space = { 1000000, 600000, 500000 };
    const QImage reserved = drivePicture(readDrive("c:\\"), "c:\\", false);
    EXPECT_EQ(countColour(reserved, { 19, 29, 31, 34 }, red), 12 * 5);
    EXPECT_EQ(countColour(reserved, { 5, 29, 19, 34 }, red), 0);
}

TEST_F(DriveDigitsTest, LetterIsAndedIntoItsPlace)
{
    const QImage p = pictureFor(5);
    const QImage letters = gfx::bitmap("LET_6");
    const gfx::Rect c = gfx::letterRect('c');
    int black = 0;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool ink = (letters.pixel(c.left + x, y) & 0xFFFFFF) == 0;
            const QRgb got = p.pixel(26 + x, 17 + y) & 0xFFFFFF;
            if (ink) {
                EXPECT_EQ(got, 0u);
                ++black;
            } else {
                EXPECT_EQ(got, base.pixel(26 + x, 17 + y) & 0xFFFFFF);
            }
        }
    }
    EXPECT_GT(black, 5);
}

TEST_F(DriveTest, HintLinesUpTheSizes)
{
    fake.drives.add("c:\\", platform::DriveFixed, 2000000000, 250000, "SISTEMA");
    const items::DriveReading r = readDrive("c:\\");
    EXPECT_EQ(r.hint, QStringLiteral("SISTEMA (c:\\)\nEspacio Libre:  250kB\nEspacio Total: 2,00GB"));
    EXPECT_EQ(r.value, 244);
    fake.locale.decimal = ".";
    EXPECT_EQ(readDrive("c:\\").hint,
        QStringLiteral("SISTEMA (c:\\)\nEspacio Libre:  250kB\nEspacio Total: 2.00GB"));
}

TEST_F(DriveTest, DrivesWithoutMediumOrAnswer)
{
    fake.drives.add("a:\\", platform::DriveRemovable, 0, 0).answers = false;
    fake.drives.add("n:\\", platform::DriveRemote, 0, 0, "RED").answers = false;
    const items::DriveReading floppy = readDrive("a:");
    EXPECT_EQ(floppy.value, -1);
    EXPECT_EQ(floppy.hint, QStringLiteral(" (a:)\nSin disco"));
    const QImage p = drivePicture(floppy, "a:", false);
    EXPECT_TRUE(sameBlock(p, 9, 4, gfx::bitmap("DIGITS_5"), gfx::noDiskSignRect));
    EXPECT_EQ(countColour(p, { 0, 29, 36, 34 }, rgb(gfx::clRed)), 0);

    const items::DriveReading net = readDrive("n:\\");
    EXPECT_EQ(net.hint, QStringLiteral(" (n:\\)\nNo accesible"));
    const QImage nonet = drivePicture(net, "n:\\", false);
    EXPECT_TRUE(sameBlock(nonet, 0, 0, gfx::bitmap("nonet"), 0, 0, 26, 36)); // left of the letter: untouched

    EXPECT_EQ(readDrive("").caption, QStringLiteral(" ()"));
}

TEST_F(DriveTest, CdRomShowsItsLetterButNoDigitsOrBar)
{
    fake.drives.add("e:\\", platform::DriveCdRom, 700000000, 0, "DISCO");
    const items::DriveReading r = readDrive("e:\\");
    EXPECT_EQ(r.value, 1);
    EXPECT_EQ(r.hint, QStringLiteral("DISCO (e:\\)"));
    const QImage p = drivePicture(r, "e:\\", false);
    const QImage cdrom = gfx::bitmap("cdrom");
    EXPECT_TRUE(sameBlock(p, 0, 0, cdrom, 0, 0, 26, 36));
    EXPECT_TRUE(sameBlock(p, 0, 26, cdrom, 0, 26, 36, 10));
    EXPECT_FALSE(sameBlock(p, 26, 17, cdrom, 26, 17, 6, 9));
}

TEST_F(DriveTest, PathsWithoutLetterUseTheirOwnPictures)
{
    fake.drives.add("/mnt/ram", platform::DriveRamDisk, 1000, 1000);
    const QImage p = drivePicture(readDrive("/mnt/ram"), "/mnt/ram", false);
    EXPECT_TRUE(sameBlock(p, 0, 16, gfx::bitmap("net2"), 0, 16, 36, 13));
}

TEST_F(DriveTest, MoreThanTwoTerabytesFreeStaysPositive)
{
    const quint64 tb = 1ull << 40;
    fake.drives.add("d:\\", platform::DriveFixed, 8 * tb, 3 * tb);
    const items::DriveReading r = readDrive("d:\\");
    EXPECT_EQ(r.value, 2147483647);
    const QImage p = drivePicture(r, "d:\\", false);
    // 3 of 8 free: k = 9, so red from x = 14 on.
    EXPECT_EQ(countColour(p, { 14, 29, 31, 34 }, rgb(gfx::clRed)), 17 * 5);
}

TEST_F(DriveTest, ItemStoresTypeHintCaptionAndFreeKilobytes)
{
    fake.drives.add("c:\\", platform::DriveFixed, 2000 * KB, 1500 * KB, "SISTEMA");
    auto item = makeItem(Clase::Disco, 1);
    item->setDirectorio("c:\\");
    item->setCoveredFlag(true);
    item->settag1(-2);
    const QImage& surface = paintWhole(*item);
    EXPECT_EQ(item->toState({}).tag, TSpButton::kTagCovered | (platform::DriveFixed << 5));
    EXPECT_EQ(item->Comando(), QStringLiteral("SISTEMA (c:\\)"));
    EXPECT_EQ(item->tag1(), 1500);
    EXPECT_TRUE(item->Hint().startsWith(QStringLiteral("SISTEMA (c:\\)\nEspacio Libre: ")));
    const QImage picture = drivePicture(readDrive("c:\\"), "c:\\", false);
    EXPECT_TRUE(sameBlock(surface, 2, 2, picture, 0, 0, 36, 36));
    EXPECT_EQ(*item->pictureCache(), picture);
    EXPECT_GT(countColour(surface, { 41, 2, 77, 37 }, rgb(gfx::clBlack)), 0); // the caption
}

TEST_F(DriveTest, UnchangedFreeSpaceKeepsThePictureButNotAnOldCaption)
{
    auto& drive = fake.drives.add("c:\\", platform::DriveFixed, 2000 * KB, 1500 * KB, "SISTEMA");
    auto item = makeItem(Clase::Disco, 1);
    item->setDirectorio("c:\\");
    item->settag1(-2);
    paintWhole(*item);
    const QRgb mark = qRgb(1, 2, 3);
    item->surface().setPixel(20, 20, mark);
    item->surface().setPixel(60, 20, mark);
    drive.label = "OTRO";
    paintInPlace(*item);
    EXPECT_EQ(item->surface().pixel(20, 20), mark);
    EXPECT_NE(item->surface().pixel(60, 20), mark); // the text was rewritten
    EXPECT_EQ(item->Comando(), QStringLiteral("OTRO (c:\\)"));

    drive.space.availableBytes = 1400 * KB;
    paintInPlace(*item);
    EXPECT_NE(item->surface().pixel(20, 20), mark);
    EXPECT_EQ(item->tag1(), 1400);
}

TEST_F(DriveTest, FullPaintWithAKnownValueShowsTheCacheWithoutAsking)
{
    auto item = makeItem(Clase::Disco, 0);
    item->setDirectorio("c:\\"); // no such drive in the fakes: asking would say "No accesible"
    item->setHint("antes");
    item->settag1(5000);
    QImage cached(36, 36, QImage::Format_RGB32);
    cached.fill(qRgb(0, 0, 200));
    *item->pictureCache() = cached;
    const QImage& surface = paintWhole(*item);
    EXPECT_EQ(surface.pixel(2, 2), qRgb(0, 0, 200));
    EXPECT_EQ(surface.pixel(37, 37), qRgb(0, 0, 200));
    EXPECT_EQ(item->Hint(), QStringLiteral("antes"));
    EXPECT_EQ(item->tag1(), 5000);
}

TEST_F(DriveTest, SmallDriveUsesMinidriveWithBarAndLetter)
{
    fake.drives.add("c:\\", platform::DriveFixed, 1500 * KB, 0);
    auto item = makeItem(Clase::Disco, 8); // T80x20
    item->setDirectorio("c:\\");
    item->settag1(-2);
    const QImage& surface = paintWhole(*item);
    const QImage mini = gfx::bitmap("minidrive");
    EXPECT_TRUE(sameBlock(surface, 1, 1, mini, 0, 0, 10, 11));
    EXPECT_EQ(countColour(surface, { 2, 13, 17, 17 }, rgb(gfx::clRed)), 15 * 4);
    EXPECT_EQ(item->tag1(), 0); // nothing free
}

} // namespace
