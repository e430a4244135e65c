#include "widgets/TCGauge.h"

#include "gfx/Color.h"

#include <QImage>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

using tolm::gfx::toQRgb;

namespace {

constexpr tolm::gfx::Color kRed = 0x0000FF;
constexpr tolm::gfx::Color kBlue = 0xFF0000;
const QRgb kRedRgb = qRgb(255, 0, 0);
const QRgb kBlueRgb = qRgb(0, 0, 255);
const QRgb kBlackRgb = qRgb(0, 0, 0);

class CountingGauge : public TCGauge {
public:
    int paints { 0 };

protected:
    void paintEvent(QPaintEvent* e) override
    {
        ++paints;
        TCGauge::paintEvent(e);
    }
};

// A gauge drawing red on blue without its text, so that pixels tell the parts apart.
struct Gauge : ::testing::Test {
    Gauge()
    {
        g.SetForeColor(kRed);
        g.SetBackColor(kBlue);
        g.SetShowText(false);
    }
    // The pixels of colour c inside r, and all of r.
    static int count(const QImage& img, QRect r, QRgb c)
    {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
        return n;
    }
    static bool all(const QImage& img, QRect r, QRgb c) { return count(img, r, c) == r.width() * r.height(); }
    TCGauge g;
};

} // namespace

TEST(GaugeArithmetic, PercentageIsFlooredAndNeverOverflows)
{
    EXPECT_EQ(TCGauge::percentDone(0, 3, 2), 66);
    EXPECT_EQ(TCGauge::percentDone(0, 2000000000, 1500000000), 75);
    EXPECT_EQ(TCGauge::percentDone(INT_MIN, INT_MAX, INT_MAX), 100);
    EXPECT_EQ(TCGauge::percentDone(INT_MIN, INT_MAX, 0), 50);
    EXPECT_EQ(TCGauge::percentDone(5, 5, 5), 0);
    EXPECT_EQ(TCGauge::percentDone(-10, 10, -5), 25);
    EXPECT_EQ(TCGauge::percentDone(0, 100, 0), 0);
    EXPECT_EQ(TCGauge::percentDone(0, 100, 100), 100);
}

TEST(GaugeArithmetic, ScaleIsExact)
{
    EXPECT_EQ(TCGauge::ScaleFromPercent(29, 100), 29);
    EXPECT_EQ(TCGauge::ScaleFromPercent(50, 302), 151);
    EXPECT_EQ(TCGauge::ScaleFromPercent(57, 100), 57);
    EXPECT_EQ(TCGauge::ScaleFromPercent(33, 10), 3);
    EXPECT_EQ(TCGauge::ScaleFromPercent(100, INT_MAX), INT_MAX);
}

TEST_F(Gauge, SettersClampAndKeepTheRangeOrdered)
{
    EXPECT_EQ(g.size(), QSize(100, 100));
    g.SetProgress(1000);
    EXPECT_EQ(g.Progress(), 100);
    g.SetProgress(-5);
    EXPECT_EQ(g.Progress(), 0);
    g.SetProgress(10);
    g.SetMinValue(50);
    EXPECT_EQ(g.Progress(), 50);
    g.SetProgress(80);
    g.SetMaxValue(60);
    EXPECT_EQ(g.Progress(), 60);
    g.SetMinValue(-20);
    g.SetMaxValue(0); // refused without a word
    EXPECT_EQ(g.MaxValue(), 60);
    g.AddProgress(-1000);
    EXPECT_EQ(g.Progress(), -20);
    g.AddProgress(INT_MIN); // no wrap-around past the 32-bit range
    EXPECT_EQ(g.Progress(), -20);
}

TEST_F(Gauge, BoundsOutsideTheOtherBoundRaiseTheRangeError)
{
    g.SetProgress(40);
    try {
        g.SetMinValue(150);
        FAIL() << "no error";
    } catch (const TCGauge::RangeError& e) {
        EXPECT_STREQ(e.what(), "Value must be between -2147483648 and 100");
    }
    try {
        g.SetMaxValue(-3);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Value must be between 0 and 2147483647");
    }
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(g.Progress(), 40);
}

TEST(GaugePaint, RepaintsOnlyForVisibleChanges)
{
    CountingGauge g;
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.SetMaxValue(1000);
    g.paints = 0;
    g.SetProgress(100); // 10 %
    EXPECT_EQ(g.paints, 1);
    g.SetProgress(105); // still 10 %
    g.SetProgress(105);
    g.SeTCGaugeKind(TCGauge::gkHorizontalBar);
    g.SetShowText(true);
    g.SetBorderStyle(TCGauge::bsSingle);
    g.SetForeColor(tolm::gfx::clBlack);
    g.SetBackColor(tolm::gfx::clWhite);
    EXPECT_EQ(g.paints, 1);
    g.AddProgress(0);
    EXPECT_EQ(g.paints, 2);
    g.SeTCGaugeKind(TCGauge::gkPie);
    g.SetBorderStyle(TCGauge::bsDialog);
    EXPECT_EQ(g.paints, 4);
    // What is painted is the composed image.
    EXPECT_EQ(g.grab().toImage().convertToFormat(QImage::Format_RGB32), g.renderImage());
}

TEST_F(Gauge, HorizontalBarFillsFromTheLeft)
{
    g.resize(303, 15);
    g.SetProgress(50);
    QImage img = g.renderImage();
    // The frame stays black.
    EXPECT_TRUE(all(img, QRect(0, 0, 303, 1), kBlackRgb));
    EXPECT_TRUE(all(img, QRect(302, 0, 1, 15), kBlackRgb));
    EXPECT_TRUE(all(img, QRect(0, 14, 303, 1), kBlackRgb));
    // The filled rectangle is (1, 1, 151, 14).
    EXPECT_TRUE(all(img, QRect(1, 1, 150, 13), kRedRgb));
    EXPECT_TRUE(all(img, QRect(151, 1, 151, 13), kBlueRgb));

    g.SetProgress(0);
    img = g.renderImage();
    EXPECT_TRUE(all(img, QRect(1, 1, 301, 13), kBlueRgb));
    g.SetProgress(100);
    img = g.renderImage();
    EXPECT_TRUE(all(img, QRect(1, 1, 301, 13), kRedRgb));

    // Without a frame and with W = 100, 29 % is 29 pixels, not 28.
    g.SetBorderStyle(TCGauge::bsNone);
    g.resize(99, 10);
    g.SetProgress(29);
    img = g.renderImage();
    EXPECT_EQ(count(img, QRect(0, 0, 99, 1), kRedRgb), 29);
    EXPECT_EQ(img.pixel(28, 0), kRedRgb);
}

TEST_F(Gauge, VerticalBarKeepsItsTopRow)
{
    g.SeTCGaugeKind(TCGauge::gkVerticalBar);
    g.SetBorderStyle(TCGauge::bsNone);
    g.resize(10, 50);
    g.SetProgress(100);
    QImage img = g.renderImage();
    EXPECT_TRUE(all(img, QRect(0, 0, 10, 1), kBlueRgb));
    EXPECT_TRUE(all(img, QRect(0, 1, 10, 49), kRedRgb));
    g.SetProgress(0);
    img = g.renderImage();
    EXPECT_TRUE(all(img, QRect(0, 0, 10, 50), kBlueRgb));
    g.SetProgress(50); // H = 51, n = 25: the rectangle (0, 26, 11, 51) ends below the image
    img = g.renderImage();
    EXPECT_EQ(count(img, QRect(0, 0, 1, 50), kRedRgb), 24);
    EXPECT_EQ(img.pixel(0, 26), kRedRgb);
    EXPECT_EQ(img.pixel(0, 25), kBlueRgb);
}

TEST_F(Gauge, PieGrowsClockwiseFromTwelve)
{
    g.SeTCGaugeKind(TCGauge::gkPie);
    g.resize(101, 101);
    QImage img = g.renderImage();
    // At 0 % only the dial: outline in the fore colour, inside in the back colour.
    EXPECT_EQ(count(img, QRect(2, 2, 97, 97), kRedRgb) > 0, true);
    EXPECT_EQ(img.pixel(50, 50), kBlueRgb);
    EXPECT_EQ(img.pixel(75, 25), kBlueRgb);
    EXPECT_EQ(img.pixel(2, 2) & 0xFFFFFF, toQRgb(g.Color()) & 0xFFFFFF); // corner outside the dial

    g.SetProgress(25);
    img = g.renderImage();
    EXPECT_EQ(img.pixel(70, 30), kRedRgb);
    EXPECT_EQ(img.pixel(70, 70), kBlueRgb);
    EXPECT_EQ(img.pixel(30, 30), kBlueRgb);

    g.SetProgress(50);
    img = g.renderImage();
    EXPECT_EQ(img.pixel(70, 70), kRedRgb);
    EXPECT_EQ(img.pixel(30, 70), kBlueRgb);

    g.SetProgress(100);
    img = g.renderImage();
    EXPECT_EQ(img.pixel(30, 30), kRedRgb);
    EXPECT_EQ(img.pixel(30, 70), kRedRgb);
}

TEST_F(Gauge, NeedleSwingsFromLeftOverTheTop)
{
    g.SeTCGaugeKind(TCGauge::gkNeedle);
    g.resize(101, 51);
    QImage img = g.renderImage();
    EXPECT_EQ(img.pixel(50, 30), kBlueRgb); // no needle at 0 %
    EXPECT_EQ(img.pixel(50, 48), kBlueRgb);

    g.SetProgress(50);
    img = g.renderImage();
    // B = 50: the needle rises from (50, 49) straight up.
    EXPECT_EQ(img.pixel(50, 30), kRedRgb);
    EXPECT_EQ(img.pixel(50, 48), kRedRgb);
    EXPECT_EQ(img.pixel(30, 40), kBlueRgb);

    g.SetProgress(100);
    img = g.renderImage();
    EXPECT_EQ(img.pixel(50, 30), kBlueRgb);
    EXPECT_EQ(img.pixel(80, 49), kRedRgb);
}

TEST_F(Gauge, TextInvertsTheColoursBeneathIt)
{
    g.resize(200, 40);
    g.SetProgress(100);
    g.SetForeColor(kBlue);
    QFont f = g.font();
    f.setPixelSize(30);
    g.setFont(f);
    const QImage plain = g.renderImage();
    g.SetShowText(true);
    const QImage text = g.renderImage();
    // White glyph pixels over a blue bar read yellow; elsewhere nothing changes.
    EXPECT_GT(count(text, QRect(1, 1, 198, 38), qRgb(255, 255, 0)), 20);
    QRect changed;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (plain.pixel(x, y) != text.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    ASSERT_FALSE(changed.isEmpty());
    const int tw = QFontMetrics(f).horizontalAdvance("100%");
    EXPECT_GE(changed.left(), (199 - tw) / 2);
    EXPECT_LE(changed.right(), (199 - tw) / 2 + tw);

    // Too wide for the gauge: clipped to the drawing rectangle, the frame untouched.
    g.resize(30, 40);
    const QImage clipped = g.renderImage();
    EXPECT_TRUE(all(clipped, QRect(0, 0, 30, 1), kBlackRgb));
    EXPECT_TRUE(all(clipped, QRect(0, 0, 1, 40), kBlackRgb));
    EXPECT_TRUE(all(clipped, QRect(29, 0, 1, 40), kBlackRgb));
    EXPECT_GT(count(clipped, QRect(1, 1, 28, 38), qRgb(255, 255, 0)), 0);
}

TEST_F(Gauge, EmptyRangeShowsZero)
{
    g.SetMinValue(-100);
    g.SetMaxValue(-100);
    EXPECT_EQ(g.GetPercentDone(), 0);
    g.resize(50, 10);
    EXPECT_TRUE(all(g.renderImage(), QRect(1, 1, 48, 8), kBlueRgb));
}
