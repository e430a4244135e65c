// The drive and memory groups filled by the working copy's own refresh, from
// the platform's figures, with no report made up by the test.
#include "TPropiedadesFixture.h"
#include "gfx/Bitmaps.h"
#include "widgets/TCGauge.h"

#include <QLabel>
#include <vector>

namespace {

// Sizes are shown in decimal units.
constexpr quint64 kGB = 1000ull * 1000 * 1000;

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
    EXPECT_EQ(labelText(dialog, "capacityBytes"), "2.500.000.000 bytes");
    EXPECT_EQ(labelText(dialog, "typeLabel"), "Tipo: Disco fijo (FAT32)");
    EXPECT_EQ(gaugeValue(dialog, "freeGauge"), 40);
    EXPECT_EQ(dialog->nameEdit()->text(), "SISTEMA (c:\\)");
}

// Free space is what the user can write (statvfs's f_bavail, as df counts
// it), never the blocks kept for root: the tile's digits, its hint and the
// dialog show that one figure, in binary units, with the locale's marks.
TEST_F(PropiedadesTest, TheTileItsHintAndTheDialogShowTheSpaceTheUserCanWrite)
{
    constexpr quint64 kMB = 1000ull * 1000, kDecimalGB = 1000 * kMB;
    struct Digit {
        bool big;
        int x;
        int value; // -1: the G sign
    };
    const struct {
        const char* what;
        const char* thousands;
        const char* decimal;
        quint64 total, freeBlocks, available;
        std::vector<Digit> tile;
        const char* free; // the hint's and the dialog's
        const char* freeBytes;
        const char* used;
        int freeShare; // of used and free, as df's Use% counts: root's reserve is in neither
    } cases[] = {
        { "gigabytes, es", ".", ",", 500 * kDecimalGB, 260 * kDecimalGB, 242567 * kMB,
            { { true, 11, 2 }, { false, 17, 4 }, { false, 22, 2 }, { false, 27, -1 } }, "242,56GB",
            "242.567.000.000 bytes", "240,00GB", 50 },
        { "gigabytes, en", ",", ".", 500 * kDecimalGB, 260 * kDecimalGB, 242567 * kMB,
            { { true, 11, 2 }, { false, 17, 4 }, { false, 22, 2 }, { false, 27, -1 } }, "242.56GB",
            "242,567,000,000 bytes", "240.00GB", 50 },
        { "tens of gigabytes, es", ".", ",", 250 * kDecimalGB, 80 * kDecimalGB, 71893 * kMB,
            { { true, 5, 7 }, { true, 11, 1 }, { false, 17, 8 }, { false, 22, 9 }, { false, 27, 3 } },
            "71,89GB", "71.893.000.000 bytes", "170,00GB", 29 },
        { "megabytes, en", ",", ".", 8 * kDecimalGB, 3 * kDecimalGB, 2600 * kMB,
            { { true, 7, 2 }, { true, 13, 6 }, { true, 19, 0 }, { true, 25, 0 } }, "2.60GB",
            "2,600,000,000 bytes", "5.00GB", 34 },
        { "terabytes, es", ".", ",", 16000 * kDecimalGB, 3100 * kDecimalGB, 3000 * kDecimalGB,
            { { true, 5, 3 }, { true, 11, 0 }, { false, 17, 0 }, { false, 22, 0 }, { false, 27, -1 } },
            "3000,00GB", "3.000.000.000.000 bytes", "12900,00GB", 18 },
    };
    const QImage big = tolm::gfx::bitmap("DIGITS_5");
    const QImage small = tolm::gfx::bitmap("NUM_4");
    const auto shows = [&](const QImage& tile, const Digit& d) {
        const tolm::gfx::Rect r = d.big ? tolm::gfx::bigDigitRect(d.value)
            : d.value < 0               ? tolm::gfx::numGSignRect(tolm::gfx::NumRow::Seven)
                                        : tolm::gfx::numDigitRect(tolm::gfx::NumRow::Seven, d.value);
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x)
                if ((tile.pixel(d.x + x, (d.big ? 4 : 8) + y) & 0xFFFFFF)
                    != ((d.big ? big : small).pixel(r.left + x, r.top + y) & 0xFFFFFF))
                    return false;
        return true;
    };
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 0, 0, "SISTEMA", "ext4");
    TPrincipal* main = startMain();
    TSpButton* tile = main->commands().newDrive();
    TPropiedades* dialog = openFromMenu(tile);
    ASSERT_NE(dialog, nullptr);
    for (const auto& c : cases) {
        fake.locale.thousands = c.thousands;
        fake.locale.decimal = c.decimal;
        fake.drives.drives[0].space = { c.total, c.freeBlocks, c.available };
        tile->markSourceChanged();
        tile->runPicture();
        ASSERT_NE(tile->pictureCache(), nullptr);
        for (const Digit& d : c.tile)
            EXPECT_TRUE(shows(*tile->pictureCache(), d)) << c.what << ": " << d.value << " at " << d.x;
        EXPECT_TRUE(tile->Hint().simplified().contains(QStringLiteral("Espacio Libre: ") + c.free))
            << c.what << ": " << tile->Hint().toStdString();
        dialog->workingCopy()->markSourceChanged();
        dialog->workingCopy()->runPicture();
        EXPECT_EQ(labelText(dialog, "freeShort"), c.free) << c.what;
        EXPECT_EQ(labelText(dialog, "freeBytes"), c.freeBytes) << c.what;
        EXPECT_EQ(labelText(dialog, "usedShort"), c.used) << c.what;
        EXPECT_EQ(gaugeValue(dialog, "freeGauge"), c.freeShare) << c.what;
    }
}

TEST_F(PropiedadesTest, TheMemoryRefreshOfTheWorkingCopyFillsTheMemoryGroup)
{
    // 8 GB of memory with 3 GB available, 10 GB of commit space with 4 GB available.
    fake.memory.figures = { 63, 8 * kGB, 3 * kGB, 10 * kGB, 4 * kGB };
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->commands().newMemory());
    ASSERT_NE(dialog, nullptr);
    dialog->workingCopy()->runPicture();
    EXPECT_EQ(labelText(dialog, "physicalTotalBytes"), "8.000.000.000 bytes");
    EXPECT_EQ(labelText(dialog, "physicalUsedShort"), "5,00GB");
    EXPECT_EQ(labelText(dialog, "pageFileTotalShort"), "10,00GB");
    EXPECT_EQ(gaugeValue(dialog, "pageFileGauge"), 40);
    EXPECT_EQ(gaugeValue(dialog, "loadGauge"), 63);
}
