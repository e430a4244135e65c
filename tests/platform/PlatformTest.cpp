#include "platform/Platform.h"

#include "QtPrinters.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace tolm::platform;

TEST(Services, RealOnesByDefaultFakesForAScope)
{
    const Services real = services();
    ASSERT_NE(real.shell, nullptr);
    ASSERT_NE(real.drives, nullptr);
    ASSERT_NE(real.memory, nullptr);
    ASSERT_NE(real.settings, nullptr);
    ASSERT_NE(real.locale, nullptr);
    ASSERT_NE(real.icons, nullptr);
    ASSERT_NE(real.choosers, nullptr);
    ASSERT_NE(real.messageBoxes, nullptr);
    ASSERT_NE(real.urlOpener, nullptr);
    ASSERT_NE(real.clock, nullptr);
    {
        tolm::test::FakePlatform fake;
        fake.drives.add("c:\\", DriveFixed, 1000, 250, "SISTEMA");
        ScopedServices use(fake.services());
        EXPECT_EQ(services().drives->driveType("C:"), DriveFixed);
        EXPECT_EQ(services().drives->driveType("d:\\"), DriveNoRootDir);
        EXPECT_EQ(services().drives->volumeInformation("c:\\")->label, "SISTEMA");
        EXPECT_EQ(services().drives->diskFreeSpace("c:\\")->freeBytes, 250u);
        services().shell->openFolder("c:\\");
        EXPECT_EQ(fake.shell.intents, QStringList({ "openFolder c:\\" }));
        EXPECT_EQ(services().locale->formatDate(QDate(2000, 9, 3)), "03/09/2000");
        EXPECT_EQ(services().settings->countStart(), 1);
        fake.choosers.color = QColor(1, 2, 3);
        EXPECT_EQ(services().choosers->chooseColor(Qt::white), QColor(1, 2, 3));
        EXPECT_EQ(services().choosers->chooseFile("Examinar", {}, {}), std::nullopt);
        EXPECT_EQ(services().messageBoxes->question("Atención", "¿Borrar?"), Answer::Ok);
        ASSERT_EQ(fake.messageBoxes.boxes.size(), 1);
        EXPECT_TRUE(fake.messageBoxes.boxes[0].question);
        EXPECT_TRUE(services().urlOpener->openUrl(QUrl("file:///usr/share/doc/tolm/README.md")));
        EXPECT_EQ(fake.urlOpener.opened.size(), 1);
        EXPECT_EQ(services().clock->now(), fake.clock.time);
    }
    EXPECT_EQ(services().shell, real.shell);
    EXPECT_EQ(services().settings, real.settings);
    EXPECT_EQ(services().choosers, real.choosers);
    EXPECT_EQ(services().messageBoxes, real.messageBoxes);
    EXPECT_EQ(services().urlOpener, real.urlOpener);
    EXPECT_EQ(services().clock, real.clock);
}

TEST(Services, PartialOverrideKeepsTheOthers)
{
    const Services before = services();
    tolm::test::FakeMemory memory;
    memory.figures.load = 77;
    {
        ScopedServices use(Services { nullptr, nullptr, &memory, nullptr, nullptr, nullptr });
        EXPECT_EQ(services().memory->status()->load, 77u);
        EXPECT_EQ(services().drives, before.drives);
    }
    EXPECT_EQ(services().memory, before.memory);
}
