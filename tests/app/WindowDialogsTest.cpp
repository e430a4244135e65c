#include "ShelfFixture.h"
#include "gfx/Color.h"

// The window's own options that ask the desktop: the background colour and
// the default font, answered by the fake choosers; and the timer's time,
// taken from the fake clock.

TEST_F(ShelfTest, TheBackgroundColourDialogStartsFromTheWindowsColour)
{
    TPrincipal* main = startMain();
    main->setColor(0x00FF8040);
    fake.choosers.color.reset();
    main->chooseColor();
    EXPECT_EQ(main->color(), 0x00FF8040u); // cancelled

    fake.choosers.color = QColor(0x12, 0x34, 0x56);
    main->chooseColor();
    EXPECT_EQ(main->color(), tolm::gfx::fromQColor(QColor(0x12, 0x34, 0x56)));
    ASSERT_EQ(fake.choosers.colorRequests.size(), 2);
    EXPECT_EQ(fake.choosers.colorRequests[0], tolm::gfx::toQColor(0x00FF8040));
    EXPECT_EQ(fake.choosers.colorRequests[1], tolm::gfx::toQColor(0x00FF8040));
}

TEST_F(ShelfTest, TheWindowFontDialogChangesTheNameHeightAndStyleOnly)
{
    tolm::store::FontState before;
    before.name = "Arial";
    before.height = -15;
    before.style = 1; // bold
    before.color = 0x000000FF;
    before.pitch = tolm::store::FontPitch::Variable;

    QFont courier("Courier");
    courier.setPixelSize(20);
    courier.setItalic(true);
    tolm::store::FontState chosen = before;
    chosen.name = "Courier";
    chosen.height = -20;
    chosen.style = 2; // italic

    QFont verdana("Verdana");
    verdana.setPixelSize(12);
    tolm::store::FontState applied = before;
    applied.name = "Verdana";
    applied.height = -12;
    applied.style = 0;

    const struct {
        const char* what;
        std::optional<QFont> answer;
        std::optional<QFont> apply;
        tolm::store::FontState expected;
    } cases[] = {
        { "cancelled", std::nullopt, std::nullopt, before },
        { "chosen", courier, std::nullopt, chosen },
        // Apply sets the font at once; cancelling afterwards keeps it.
        { "applied, then cancelled", std::nullopt, verdana, applied },
        { "applied, then another chosen", courier, verdana, chosen },
    };
    TPrincipal* main = startMain();
    for (const auto& c : cases) {
        main->setDefaultFont(before);
        fake.choosers.fontRequests.clear();
        fake.choosers.font = c.answer;
        fake.choosers.applied = c.apply;
        main->chooseDefaultFont();
        EXPECT_EQ(main->defaultFont(), c.expected) << c.what;
        ASSERT_EQ(fake.choosers.fontRequests.size(), 1) << c.what;
        const QFont& start = fake.choosers.fontRequests[0];
        EXPECT_EQ(start.family(), "Arial") << c.what;
        EXPECT_EQ(start.pixelSize(), 15) << c.what;
        EXPECT_TRUE(start.bold()) << c.what;
        EXPECT_FALSE(start.italic()) << c.what;
    }
}

TEST_F(ShelfTest, TheTimerTakesTheTimeFromTheClock)
{
    TPrincipal* main = startMain();
    fake.clock.time = QDateTime(QDate(2000, 2, 29), QTime(23, 59, 58));
    main->refreshTimerItems();
    EXPECT_EQ(state().hour, 23);
    EXPECT_EQ(state().minute, 59);
    EXPECT_EQ(state().second, 58);
}
