#include "items/ClockPicture.h"

#include "ItemsTestSupport.h"

using namespace tolm;
using tolm::items::clockFace;
using tolm::items::hourHandEnd;
using tolm::items::minuteHandEnd;
using tolm::store::Clase;

namespace {

using ClockTest = tolm::test::ItemsTest;

TEST_F(ClockTest, HandEndsAtKnownTimes)
{
    EXPECT_EQ(hourHandEnd(3, 0), QPoint(29, 18));
    EXPECT_EQ(minuteHandEnd(0), QPoint(18, 3));
    EXPECT_EQ(hourHandEnd(9, 30), QPoint(6, 16));
    EXPECT_EQ(minuteHandEnd(30), QPoint(18, 32));
    EXPECT_EQ(hourHandEnd(12, 59), QPoint(22, 7));
    EXPECT_EQ(hourHandEnd(0, 59), QPoint(22, 7));
    EXPECT_EQ(minuteHandEnd(45), QPoint(3, 18));
    EXPECT_EQ(minuteHandEnd(59), QPoint(16, 4));
}

TEST_F(ClockTest, FaceHasBlackHandsToTheirEndsAndXoredSecondsHand)
{
    // 6:00:15: hour hand down, minute hand up, seconds hand to the right.
    const QImage face = clockFace(6, 0, 15, true);
    const QImage dial = gfx::bitmap("bclock");
    EXPECT_EQ(face.pixel(18, 29) & 0xFFFFFF, 0u); // the wide pen covers the end point
    EXPECT_EQ(face.pixel(18, 3) & 0xFFFFFF, 0u);
    EXPECT_EQ(face.pixel(18, 10) & 0xFFFFFF, 0u);
    // White under the seconds hand becomes white XOR 0xC0C000 (blue and green bits).
    ASSERT_EQ(dial.pixel(25, 18) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(face.pixel(25, 18) & 0xFFFFFF, 0xFF3F3Fu);
    // The one-pixel line leaves out its end point.
    EXPECT_EQ(face.pixel(32, 18), dial.pixel(32, 18));

    const QImage still = clockFace(6, 0, 15, false);
    EXPECT_EQ(still.pixel(25, 18), dial.pixel(25, 18));
}

TEST_F(ClockTest, HintAndTextFromPicturesAndTagBits)
{
    const auto& locale = fake.locale;
    EXPECT_EQ(items::clockHint(now, locale), QStringLiteral("10:15\nmiércoles, 24 de septiembre de 2025"));
    EXPECT_EQ(items::clockText(now, 0, {}, {}, {}, locale), QStringLiteral("10:15:07, 24/09/2025"));
    EXPECT_EQ(items::clockText(now, 8, {}, {}, {}, locale), QStringLiteral("10:15:07"));
    EXPECT_EQ(items::clockText(now, 4, {}, {}, {}, locale), QStringLiteral("24/09/2025"));
    EXPECT_EQ(items::clockText(now, 12, {}, {}, {}, locale), QString());
    EXPECT_EQ(
        items::clockText(now, 0, "hh:mm tt", "d MMM", " - ", locale), QStringLiteral("10:15 a.m. - 24 sep"));
    // A piece longer than 49 characters is left out, not cut.
    EXPECT_EQ(items::clockText(now, 8, QString(60, u'x'), {}, {}, locale), QString());
}

TEST_F(ClockTest, PaintRewritesHintTextAndRecordedTime)
{
    auto item = makeItem(Clase::Reloj, 1); // T80x40
    const QImage& surface = paintWhole(*item);
    EXPECT_EQ(item->Hint(), QStringLiteral("10:15\nmiércoles, 24 de septiembre de 2025"));
    EXPECT_EQ(item->Comando(), QStringLiteral("10:15:07, 24/09/2025"));
    EXPECT_EQ(item->tag1(), 10);
    EXPECT_EQ(item->tag2(), 15);
    // The face at (2, 2) with the recorded time's hands, the text beside it.
    EXPECT_TRUE(sameBlock(surface, 2, 2, clockFace(10, 15, 7, true), 0, 0, 36, 36));
    EXPECT_GT(countColour(surface, { 41, 2, 77, 37 }, rgb(gfx::clBlack)), 0);
}

TEST_F(ClockTest, SquareClockShowsOnlyTheFace)
{
    auto item = makeItem(Clase::Reloj, 0);
    const QImage& surface = paintWhole(*item);
    EXPECT_EQ(item->Comando(), QStringLiteral("10:15:07, 24/09/2025"));
    EXPECT_FALSE(item->Hint().isEmpty());
    EXPECT_TRUE(sameBlock(surface, 2, 2, clockFace(10, 15, 7, true), 0, 0, 36, 36));
    EXPECT_EQ(surface.pixel(38, 20), rgb(gfx::clBtnShadow));
}

TEST_F(ClockTest, SmallClockScalesTheFaceAndWritesFromX21)
{
    auto item = makeItem(Clase::Reloj, 7); // T40x20
    const QImage& surface = paintWhole(*item);
    // Nothing of the face past (17, 17); the text rectangle starts at x = 21.
    for (int y = 1; y < 18; ++y) {
        EXPECT_EQ(surface.pixel(17, y), rgb(gfx::clBtnFace)) << y;
        EXPECT_EQ(surface.pixel(20, y), rgb(gfx::clBtnFace)) << y;
    }
    EXPECT_GT(countColour(surface, { 1, 1, 17, 17 }, rgb(gfx::clBlack)), 0);
    EXPECT_GT(countColour(surface, { 21, 2, 37, 17 }, rgb(gfx::clBlack)), 0);
}

TEST_F(ClockTest, FaceOnTopIsCentred)
{
    auto item = makeItem(Clase::Reloj, 5); // T60x60
    const QImage& surface = paintWhole(*item);
    EXPECT_TRUE(sameBlock(surface, 12, 2, clockFace(10, 15, 7, true), 0, 0, 36, 36));
}

TEST_F(ClockTest, WithoutSecondsHandTheFaceWaitsForTheNextMinute)
{
    auto item = makeItem(Clase::Reloj, 1);
    item->setTag(TSpButton::kTagNoSeconds);
    paintWhole(*item);
    const QRgb mark = qRgb(1, 2, 3);
    item->surface().setPixel(18, 10, mark); // inside the face
    state.second = 59;
    now = now.addSecs(52);
    paintInPlace(*item);
    EXPECT_EQ(item->surface().pixel(18, 10), mark);
    EXPECT_EQ(item->Comando(), QStringLiteral("10:15:59, 24/09/2025")); // the text still follows

    state.minute = 16;
    state.second = 0;
    paintInPlace(*item);
    EXPECT_NE(item->surface().pixel(18, 10), mark);
    EXPECT_EQ(item->tag2(), 16);
}

TEST_F(ClockTest, InPlaceRepaintDrawsOnlyTheInnerFace)
{
    auto item = makeItem(Clase::Reloj, 1);
    paintWhole(*item);
    const QRgb mark = qRgb(1, 2, 3);
    item->surface().setPixel(0, 0, mark); // the bevel
    item->surface().setPixel(2, 2, mark); // the face's own rim, left alone in place
    item->surface().setPixel(10, 10, mark);
    state.second = 8;
    paintInPlace(*item);
    EXPECT_EQ(item->surface().pixel(0, 0), mark);
    EXPECT_EQ(item->surface().pixel(2, 2), mark);
    EXPECT_NE(item->surface().pixel(10, 10), mark);
    EXPECT_TRUE(sameBlock(item->surface(), 3, 3, clockFace(10, 15, 8, true), 1, 1, 33, 33));
}

TEST_F(ClockTest, TextClockIsAButtonWithTheTimeAsCaption)
{
    auto item = makeItem(Clase::Reloj, 1);
    item->setTag(TSpButton::kTagTextClock);
    const QImage& surface = paintWhole(*item);
    EXPECT_EQ(item->Caption(), QStringLiteral("10:15:07, 24/09/2025"));
    EXPECT_EQ(item->tag1(), -1); // no face was drawn
    EXPECT_EQ(surface.pixel(0, 0), rgb(gfx::clWhite));
    // No dial: its twelve o'clock dot would be at (20, 5).
    EXPECT_EQ(surface.pixel(20, 5), rgb(gfx::clBtnFace));
}

} // namespace
