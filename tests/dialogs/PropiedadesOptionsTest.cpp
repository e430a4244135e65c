#include "TPropiedadesFixture.h"
#include "widgets/TCGauge.h"
#include "widgets/TCSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

using tolm::items::DriveReport;
using tolm::items::MemoryReport;

namespace {

// Sizes are shown in decimal units.
constexpr quint64 kGB = 1000ull * 1000 * 1000;

QString text(TPropiedades* dialog, const char* name)
{
    const auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

int gauge(TPropiedades* dialog, const char* name)
{
    const auto* g = dialog->findChild<TCGauge*>(QString::fromLatin1(name));
    return g ? g->Progress() : -1;
}

DriveReport fixedDrive(quint64 total, quint64 free)
{
    DriveReport report;
    report.caption = "SISTEMA (c:\\)";
    report.type = tolm::platform::DriveFixed;
    report.fileSystem = "FAT32";
    report.volumeRead = true;
    report.sizesRead = true;
    report.totalBytes = total;
    report.freeBytes = free;
    report.usedBytes = total - free;
    return report;
}

} // namespace

TEST_F(PropiedadesTest, ClockBoxesShowAndSetTheTagBits)
{
    TPrincipal* main = startMain();
    TSpButton* clock = main->commands().newClock();
    clock->setParam("HH:mm");
    clock->setDirectorio("d/M");
    clock->setFichIcono(" - ");
    TPropiedades* dialog = openFromMenu(clock);
    EXPECT_EQ(dialog->timeFormatEdit()->text(), "HH:mm");
    EXPECT_EQ(dialog->dateFormatEdit()->text(), "d/M");
    EXPECT_EQ(dialog->separatorEdit()->text(), " - ");
    TSpButton* copy = dialog->workingCopy();
    const std::pair<QCheckBox*, int> boxes[] = {
        { dialog->secondHandCheck(), 1 },
        { dialog->analogueCheck(), 2 },
        { dialog->showTimeCheck(), 4 },
        { dialog->showDateCheck(), 8 },
    };
    for (const auto& [box, bit] : boxes) {
        SCOPED_TRACE(box->text().toStdString());
        EXPECT_TRUE(box->isChecked());
        clickBox(box);
        EXPECT_EQ(copy->Tag() & 15, bit);
        clickBox(box);
        EXPECT_EQ(copy->Tag() & 15, 0);
    }

    typeInto(dialog->timeFormatEdit(), "H");
    typeInto(dialog->dateFormatEdit(), "");
    typeInto(dialog->separatorEdit(), "|");
    clickBox(dialog->secondHandCheck());
    clickBox(dialog->showDateCheck());
    accept(dialog);
    EXPECT_EQ(clock->Param(), "H");
    EXPECT_EQ(clock->Directorio(), "");
    EXPECT_EQ(clock->FichIcono(), "|");
    EXPECT_EQ(clock->Tag() & 15, 1 | 8);

    // Opening again shows the cleared boxes.
    dialog = openFromMenu(clock);
    EXPECT_FALSE(dialog->secondHandCheck()->isChecked());
    EXPECT_FALSE(dialog->showDateCheck()->isChecked());
    EXPECT_TRUE(dialog->analogueCheck()->isChecked());
    EXPECT_TRUE(dialog->showTimeCheck()->isChecked());
}

TEST_F(PropiedadesTest, ClearingRelojAnalogicoTurnsTheExampleIntoATextClockAtOnce)
{
    TPrincipal* main = startMain();
    TSpButton* clock = main->commands().newClock();
    clock->setTipo(1);
    TPropiedades* dialog = openFromMenu(clock);
    TSpButton* copy = dialog->workingCopy();
    const QImage face = picture(copy);
    clickBox(dialog->analogueCheck());
    EXPECT_TRUE(copy->Tag() & TSpButton::kTagTextClock);
    EXPECT_EQ(copy->tag1(), -2);
    // The next paint draws the text clock: the face at the left is gone.
    const QImage text = picture(copy);
    EXPECT_NE(face.copy(0, 0, 40, 40), text.copy(0, 0, 40, 40));
    EXPECT_FALSE(clock->Tag() & TSpButton::kTagTextClock);
}

TEST_F(PropiedadesTest, TheDriveListComesFromTheDrivesAndSelectsTheItemsDrive)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 10 * kGB, kGB);
    fake.drives.add("d:\\", tolm::platform::DriveCdRom, 0, 0);
    fake.drives.add("e:\\", tolm::platform::DriveRemovable, kGB, kGB);
    TPrincipal* main = startMain();
    TSpButton* drive = main->commands().newDrive();
    drive->setDirectorio("D:\\");
    TPropiedades* dialog = openFromMenu(drive);
    QComboBox* combo = dialog->driveCombo();
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "c:\\");
    EXPECT_EQ(combo->itemText(2), "e:\\");
    EXPECT_EQ(combo->currentIndex(), 1);
    // Filling the list is not a change of the drive.
    EXPECT_EQ(dialog->workingCopy()->Directorio(), "D:\\");
    cancel(dialog);

    drive->setDirectorio("/media/usb");
    dialog = openFromMenu(drive);
    EXPECT_EQ(dialog->driveCombo()->currentIndex(), -1);
    EXPECT_EQ(dialog->driveCombo()->currentText(), "/media/usb");
    EXPECT_EQ(dialog->workingCopy()->Directorio(), "/media/usb");
}

TEST_F(PropiedadesTest, TypingADriveMakesItTheDirectoryAndRefreshesAtOnce)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 10 * kGB, kGB);
    fake.drives.add("d:\\", tolm::platform::DriveFixed, 5 * kGB, kGB, "DATOS");
    TPrincipal* main = startMain();
    TSpButton* drive = main->commands().newDrive();
    TPropiedades* dialog = openFromMenu(drive);
    TSpButton* copy = dialog->workingCopy();
    QLineEdit* typed = dialog->driveCombo()->lineEdit();
    ASSERT_NE(typed, nullptr);
    typed->selectAll();
    QTest::keyClicks(typed, "D:");
    EXPECT_EQ(copy->Directorio(), "D:");
    EXPECT_EQ(typed->text(), "D:");
    // The refresh ran on the copy: it asked the drive and drew again.
    EXPECT_NE(copy->tag1(), -2);
    EXPECT_TRUE(copy->Hint().startsWith("DATOS (D:)")) << copy->Hint().toStdString();
    accept(dialog);
    EXPECT_EQ(drive->Directorio(), "D:");

    // Choosing an entry of the list does the same.
    dialog = openFromMenu(drive);
    dialog->driveCombo()->setCurrentIndex(0);
    EXPECT_EQ(dialog->workingCopy()->Directorio(), "c:\\");
}

TEST_F(PropiedadesTest, TheRefreshPeriodGoesToTheUpperByteOfTag2)
{
    TPrincipal* main = startMain();
    TSpButton* drive = main->commands().newDrive();
    TSpButton* memory = main->commands().newMemory();
    drive->settag2(5 * 256 + 3);
    memory->settag2(7 * 256 + 1);
    TPropiedades* dialog = openFromMenu(drive);
    TCSpinEdit* spin = dialog->driveRefreshSpin();
    EXPECT_EQ(spin->text(), "5");
    EXPECT_EQ(dialog->workingCopy()->tag2(), 5 * 256 + 3);
    typeInto(spin, "12");
    EXPECT_EQ(dialog->workingCopy()->tag2(), 12 * 256);
    typeInto(spin, "0");
    EXPECT_EQ(dialog->workingCopy()->tag2(), 0);
    accept(dialog);
    EXPECT_EQ(drive->tag2(), 0);

    dialog = openFromMenu(memory);
    EXPECT_EQ(dialog->memoryRefreshSpin()->text(), "7");
    QTest::mouseClick(dialog->memoryRefreshSpin(), Qt::LeftButton);
    dialog->memoryRefreshSpin()->UpClick();
    EXPECT_EQ(dialog->workingCopy()->tag2(), 8 * 256);
    // A period never spills out of its eight bits.
    dialog->memoryRefreshSpin()->setText("999");
    EXPECT_EQ(dialog->workingCopy()->tag2(), 255 * 256);
    accept(dialog);
    EXPECT_EQ(memory->tag2(), 255 * 256);
}

TEST_F(PropiedadesTest, ADriveWithItsSizesReadShowsBytesShortSizesAndTheFreeShare)
{
    TPrincipal* main = startMain();
    TSpButton* drive = main->commands().newDrive();
    TPropiedades* dialog = openFromMenu(drive);
    const quint64 total = 5 * kGB / 2;
    emit dialog->workingCopy()->driveRefreshed(fixedDrive(total, kGB));
    EXPECT_EQ(text(dialog, "capacityShort"), "2,50GB");
    EXPECT_EQ(text(dialog, "freeShort"), "1,00GB");
    EXPECT_EQ(text(dialog, "usedShort"), "1,50GB");
    EXPECT_EQ(gauge(dialog, "freeGauge"), 40);
    EXPECT_EQ(text(dialog, "capacityBytes"), "2.500.000.000 bytes");
    EXPECT_EQ(text(dialog, "freeBytes"), "1.000.000.000 bytes");
    EXPECT_EQ(text(dialog, "usedBytes"), "1.500.000.000 bytes");
    EXPECT_EQ(text(dialog, "typeLabel"), "Tipo: Disco fijo (FAT32)");
    // The caption goes into the name box but never into the copy.
    EXPECT_EQ(dialog->nameEdit()->text(), "SISTEMA (c:\\)");
    EXPECT_EQ(dialog->workingCopy()->Caption(), "");

    fake.locale.thousands = ",";
    DriveReport compressed = fixedDrive(total, kGB);
    compressed.compressed = true;
    emit dialog->workingCopy()->driveRefreshed(compressed);
    EXPECT_EQ(text(dialog, "capacityBytes"), "2,500,000,000 bytes");
    EXPECT_EQ(text(dialog, "typeLabel"), "Tipo: Disco fijo (FAT32), Comprimido");

    // An empty drive keeps the bar where it was.
    emit dialog->workingCopy()->driveRefreshed(fixedDrive(0, 0));
    EXPECT_EQ(gauge(dialog, "freeGauge"), 40);
    EXPECT_EQ(text(dialog, "capacityBytes"), "0 bytes");
    accept(dialog);
    EXPECT_EQ(drive->Caption(), "");
}

TEST_F(PropiedadesTest, CdRomAndMissingMediaShowWordsInsteadOfFigures)
{
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->commands().newDrive());
    TSpButton* copy = dialog->workingCopy();

    DriveReport cd;
    cd.caption = "DISCO1 (d:\\)";
    cd.type = tolm::platform::DriveCdRom;
    cd.fileSystem = "iso9660";
    cd.volumeRead = true;
    emit copy->driveRefreshed(cd);
    for (const char* name : { "capacityBytes", "freeBytes", "usedBytes" })
        EXPECT_EQ(text(dialog, name), "CD-ROM") << name;
    for (const char* name : { "capacityShort", "freeShort", "usedShort" })
        EXPECT_EQ(text(dialog, name), "") << name;
    EXPECT_EQ(gauge(dialog, "freeGauge"), 0);
    EXPECT_EQ(text(dialog, "typeLabel"), "Tipo: CD-ROM (iso9660)");

    DriveReport empty;
    empty.caption = " (a:\\)";
    empty.type = tolm::platform::DriveRemovable;
    emit copy->driveRefreshed(empty);
    for (const char* name : { "capacityBytes", "freeBytes", "usedBytes" })
        EXPECT_EQ(text(dialog, name), "Sin disco") << name;
    for (const char* name : { "capacityShort", "freeShort", "usedShort" })
        EXPECT_EQ(text(dialog, name), "") << name;
    EXPECT_EQ(gauge(dialog, "freeGauge"), 100);
    EXPECT_EQ(text(dialog, "typeLabel"), "Tipo: Disco removible ()");
    EXPECT_EQ(dialog->nameEdit()->text(), " (a:\\)");

    // A CD-ROM drive without a disc is a missing medium too.
    cd.volumeRead = false;
    emit copy->driveRefreshed(cd);
    EXPECT_EQ(text(dialog, "capacityBytes"), "Sin disco");
}

TEST_F(PropiedadesTest, DriveTypeNames)
{
    const char* const names[] = { "Desconocido", "Disco no accesible", "Disco removible", "Disco fijo",
        "Unidad de red", "CD-ROM", "Disco RAM" };
    for (int type = 0; type < 7; ++type)
        EXPECT_EQ(TPropiedades::driveTypeName(type), QString::fromUtf8(names[type]));
    EXPECT_EQ(TPropiedades::driveTypeName(7), "");
}

TEST_F(PropiedadesTest, MemoryFiguresFillTheMemoryGroup)
{
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->commands().newMemory());
    EXPECT_EQ(text(dialog, "pageFileTotalBytes"), "99.999.999.999 bytes"); // until the first refresh
    MemoryReport report;
    report.load = 63;
    report.totalPhysical = 8 * kGB;
    report.availablePhysical = 3 * kGB;
    report.totalPageFile = 10 * kGB;
    report.availablePageFile = 4 * kGB;
    emit dialog->workingCopy()->memoryRefreshed(report);
    EXPECT_EQ(text(dialog, "pageFileTotalBytes"), "10.000.000.000 bytes");
    EXPECT_EQ(text(dialog, "pageFileTotalShort"), "10,00GB");
    EXPECT_EQ(text(dialog, "pageFileUsedBytes"), "6.000.000.000 bytes");
    EXPECT_EQ(text(dialog, "pageFileUsedShort"), "6,00GB");
    EXPECT_EQ(text(dialog, "physicalTotalBytes"), "8.000.000.000 bytes");
    EXPECT_EQ(text(dialog, "physicalTotalShort"), "8,00GB");
    EXPECT_EQ(text(dialog, "physicalUsedBytes"), "5.000.000.000 bytes");
    EXPECT_EQ(text(dialog, "physicalUsedShort"), "5,00GB");
    EXPECT_EQ(gauge(dialog, "pageFileGauge"), 40);
    EXPECT_EQ(gauge(dialog, "loadGauge"), 63);

    // Small and missing paging files.
    report.totalPageFile = 50;
    report.availablePageFile = 20;
    emit dialog->workingCopy()->memoryRefreshed(report);
    EXPECT_EQ(gauge(dialog, "pageFileGauge"), 40);
    report.totalPageFile = 0;
    report.availablePageFile = 0;
    emit dialog->workingCopy()->memoryRefreshed(report);
    EXPECT_EQ(gauge(dialog, "pageFileGauge"), 40);
    EXPECT_EQ(text(dialog, "pageFileTotalBytes"), "0 bytes");
}

TEST_F(PropiedadesTest, OnlyTheWorkingCopysReportsReachTheDialog)
{
    TPrincipal* main = startMain();
    TSpButton* drive = main->commands().newDrive();
    TSpButton* other = main->commands().newDrive();
    TPropiedades* dialog = openFromMenu(drive);
    emit other->driveRefreshed(fixedDrive(kGB, kGB));
    emit drive->driveRefreshed(fixedDrive(kGB, kGB));
    EXPECT_NE(dialog->nameEdit()->text(), "SISTEMA (c:\\)");
    emit dialog->workingCopy()->driveRefreshed(fixedDrive(kGB, kGB));
    EXPECT_EQ(dialog->nameEdit()->text(), "SISTEMA (c:\\)");
    cancel(dialog);
}
