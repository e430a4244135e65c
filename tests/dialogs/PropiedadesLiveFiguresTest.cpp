// The drive and memory groups filled by the working copy's own refresh, from
// the platform's figures, with no report made up by the test.
#include "TPropiedadesFixture.h"
#include "widgets/TCGauge.h"

#include <QLabel>

namespace {

constexpr quint64 kGB = 1024ull * 1024 * 1024;

QString labelText(TPropiedades* dialog, const char* name)
{
    auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

int gaugeValue(TPropiedades* dialog, const char* name)
{
    auto* gauge = dialog->findChild<TCGauge*>(QString::fromLatin1(name));
    return gauge ? gauge->Progress() : -1;
}

} // namespace

TEST_F(PropiedadesTest, TheDriveRefreshOfTheWorkingCopyFillsTheDriveGroup)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 5 * kGB / 2, kGB, "SISTEMA", "FAT32");
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->commands().newDrive());
    ASSERT_NE(dialog, nullptr);
    dialog->workingCopy()->runPicture();
    EXPECT_EQ(labelText(dialog, "capacityShort"), "2,50GB");
    EXPECT_EQ(labelText(dialog, "freeShort"), "1,00GB");
    EXPECT_EQ(labelText(dialog, "usedShort"), "1,50GB");
    EXPECT_EQ(labelText(dialog, "capacityBytes"), "2.684.354.560 bytes");
    EXPECT_EQ(labelText(dialog, "typeLabel"), "Tipo: Disco fijo (FAT32)");
    EXPECT_EQ(gaugeValue(dialog, "freeGauge"), 40);
    EXPECT_EQ(dialog->nameEdit()->text(), "SISTEMA (c:\\)");
}

TEST_F(PropiedadesTest, TheMemoryRefreshOfTheWorkingCopyFillsTheMemoryGroup)
{
    // 8 GB of memory with 3 GB available, 10 GB of commit space with 4 GB available.
    fake.memory.figures = { 63, 8 * kGB, 3 * kGB, 10 * kGB, 4 * kGB };
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->commands().newMemory());
    ASSERT_NE(dialog, nullptr);
    dialog->workingCopy()->runPicture();
    EXPECT_EQ(labelText(dialog, "physicalTotalBytes"), "8.589.934.592 bytes");
    EXPECT_EQ(labelText(dialog, "physicalUsedShort"), "5,00GB");
    EXPECT_EQ(labelText(dialog, "pageFileTotalShort"), "10,00GB");
    EXPECT_EQ(gaugeValue(dialog, "pageFileGauge"), 40);
    EXPECT_EQ(gaugeValue(dialog, "loadGauge"), 63);
}
