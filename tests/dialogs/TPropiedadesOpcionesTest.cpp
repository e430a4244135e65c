#include "TPropiedadesFixture.h"
#include "widgets/TCGauge.h"
#include "widgets/TCSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

using tolm::items::DriveReport;
using tolm::items::MemoryReport;

namespace {

constexpr quint64 kGB = 1024ull * 1024 * 1024;

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
    return report;
}

} // namespace

TEST_F(PropiedadesTest, ClockBoxesShowAndSetTheTagBits)
{
    TPrincipal* main = startMain();
    TSpButton* clock = main->Reloj1Click();
    clock->setParam("HH:mm");
    clock->setDirectorio("d/M");
    clock->setFichIcono(" - ");
    TPropiedades* dialog = openFromMenu(clock);
    EXPECT_EQ(dialog->EdFormatoHora()->text(), "HH:mm");
    EXPECT_EQ(dialog->EdFormatoFecha()->text(), "d/M");
    EXPECT_EQ(dialog->EdSeparador()->text(), " - ");
    TSpButton* copy = dialog->BotonEjemplo();
    const std::pair<QCheckBox*, int> boxes[] = {
        { dialog->CheckSeg(), 1 },
        { dialog->CheckRelojA(), 2 },
        { dialog->CheckHora(), 4 },
        { dialog->CheckFecha(), 8 },
    };
    for (const auto& [box, bit] : boxes) {
        SCOPED_TRACE(box->text().toStdString());
        EXPECT_TRUE(box->isChecked());
        clickBox(box);
        EXPECT_EQ(copy->Tag() & 15, bit);
        clickBox(box);
        EXPECT_EQ(copy->Tag() & 15, 0);
    }

    typeInto(dialog->EdFormatoHora(), "H");
    typeInto(dialog->EdFormatoFecha(), "");
    typeInto(dialog->EdSeparador(), "|");
    clickBox(dialog->CheckSeg());
    clickBox(dialog->CheckFecha());
    accept(dialog);
    EXPECT_EQ(clock->Param(), "H");
    EXPECT_EQ(clock->Directorio(), "");
    EXPECT_EQ(clock->FichIcono(), "|");
    EXPECT_EQ(clock->Tag() & 15, 1 | 8);

    // Opening again shows the cleared boxes.
    dialog = openFromMenu(clock);
    EXPECT_FALSE(dialog->CheckSeg()->isChecked());
    EXPECT_FALSE(dialog->CheckFecha()->isChecked());
    EXPECT_TRUE(dialog->CheckRelojA()->isChecked());
    EXPECT_TRUE(dialog->CheckHora()->isChecked());
}

TEST_F(PropiedadesTest, ClearingRelojAnalogicoTurnsTheExampleIntoATextClockAtOnce)
{
    TPrincipal* main = startMain();
    TSpButton* clock = main->Reloj1Click();
    clock->setTipo(1);
    TPropiedades* dialog = openFromMenu(clock);
    TSpButton* copy = dialog->BotonEjemplo();
    const QImage face = picture(copy);
    clickBox(dialog->CheckRelojA());
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
    TSpButton* drive = main->Disco1Click();
    drive->setDirectorio("D:\\");
    TPropiedades* dialog = openFromMenu(drive);
    QComboBox* combo = dialog->ComboDrives();
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "c:\\");
    EXPECT_EQ(combo->itemText(2), "e:\\");
    EXPECT_EQ(combo->currentIndex(), 1);
    // Filling the list is not a change of the drive.
    EXPECT_EQ(dialog->BotonEjemplo()->Directorio(), "D:\\");
    cancel(dialog);

    drive->setDirectorio("/media/usb");
    dialog = openFromMenu(drive);
    EXPECT_EQ(dialog->ComboDrives()->currentIndex(), -1);
    EXPECT_EQ(dialog->ComboDrives()->currentText(), "/media/usb");
    EXPECT_EQ(dialog->BotonEjemplo()->Directorio(), "/media/usb");
}

TEST_F(PropiedadesTest, TypingADriveMakesItTheDirectoryAndRefreshesAtOnce)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 10 * kGB, kGB);
    fake.drives.add("d:\\", tolm::platform::DriveFixed, 5 * kGB, kGB, "DATOS");
    TPrincipal* main = startMain();
    TSpButton* drive = main->Disco1Click();
    TPropiedades* dialog = openFromMenu(drive);
    TSpButton* copy = dialog->BotonEjemplo();
    QLineEdit* typed = dialog->ComboDrives()->lineEdit();
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
    dialog->ComboDrives()->setCurrentIndex(0);
    EXPECT_EQ(dialog->BotonEjemplo()->Directorio(), "c:\\");
}

TEST_F(PropiedadesTest, TheRefreshPeriodGoesToTheUpperByteOfTag2)
{
    TPrincipal* main = startMain();
    TSpButton* drive = main->Disco1Click();
    TSpButton* memory = main->Memoria1Click();
    drive->settag2(5 * 256 + 3);
    memory->settag2(7 * 256 + 1);
    TPropiedades* dialog = openFromMenu(drive);
    TCSpinEdit* spin = dialog->SpinTimeOut();
    EXPECT_EQ(spin->text(), "5");
    EXPECT_EQ(dialog->BotonEjemplo()->tag2(), 5 * 256 + 3);
    typeInto(spin, "12");
    EXPECT_EQ(dialog->BotonEjemplo()->tag2(), 12 * 256);
    typeInto(spin, "0");
    EXPECT_EQ(dialog->BotonEjemplo()->tag2(), 0);
    accept(dialog);
    EXPECT_EQ(drive->tag2(), 0);

    dialog = openFromMenu(memory);
    EXPECT_EQ(dialog->SpinTimeOutM()->text(), "7");
    QTest::mouseClick(dialog->SpinTimeOutM(), Qt::LeftButton);
    dialog->SpinTimeOutM()->UpClick();
    EXPECT_EQ(dialog->BotonEjemplo()->tag2(), 8 * 256);
    // A period never spills out of its eight bits.
    dialog->SpinTimeOutM()->setText("999");
    EXPECT_EQ(dialog->BotonEjemplo()->tag2(), 255 * 256);
    accept(dialog);
    EXPECT_EQ(memory->tag2(), 255 * 256);
}

TEST_F(PropiedadesTest, ADriveWithItsSizesReadShowsBytesShortSizesAndTheFreeShare)
{
    TPrincipal* main = startMain();
    TSpButton* drive = main->Disco1Click();
    TPropiedades* dialog = openFromMenu(drive);
    const quint64 total = 5 * kGB / 2;
    emit dialog->BotonEjemplo()->driveRefreshed(fixedDrive(total, kGB));
    EXPECT_EQ(text(dialog, "LCapacidad2"), "2,50GB");
    EXPECT_EQ(text(dialog, "LDisponible2"), "1,00GB");
    EXPECT_EQ(text(dialog, "LUtilizado2"), "1,50GB");
    EXPECT_EQ(gauge(dialog, "Gauge1"), 40);
    EXPECT_EQ(text(dialog, "LCapacidad"), "2.684.354.560 bytes");
    EXPECT_EQ(text(dialog, "LDisponible"), "1.073.741.824 bytes");
    EXPECT_EQ(text(dialog, "LUtilizado"), "1.610.612.736 bytes");
    EXPECT_EQ(text(dialog, "LTipo"), "Tipo: Disco fijo (FAT32)");
    // The caption goes into the name box but never into the copy.
    EXPECT_EQ(dialog->EdNombre()->text(), "SISTEMA (c:\\)");
    EXPECT_EQ(dialog->BotonEjemplo()->Caption(), "");

    fake.locale.thousands = ",";
    DriveReport compressed = fixedDrive(total, kGB);
    compressed.compressed = true;
    emit dialog->BotonEjemplo()->driveRefreshed(compressed);
    EXPECT_EQ(text(dialog, "LCapacidad"), "2,684,354,560 bytes");
    EXPECT_EQ(text(dialog, "LTipo"), "Tipo: Disco fijo (FAT32), Comprimido");

    // An empty drive keeps the bar where it was.
    emit dialog->BotonEjemplo()->driveRefreshed(fixedDrive(0, 0));
    EXPECT_EQ(gauge(dialog, "Gauge1"), 40);
    EXPECT_EQ(text(dialog, "LCapacidad"), "0 bytes");
    accept(dialog);
    EXPECT_EQ(drive->Caption(), "");
}

TEST_F(PropiedadesTest, CdRomAndMissingMediaShowWordsInsteadOfFigures)
{
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->Disco1Click());
    TSpButton* copy = dialog->BotonEjemplo();

    DriveReport cd;
    cd.caption = "DISCO1 (d:\\)";
    cd.type = tolm::platform::DriveCdRom;
    cd.fileSystem = "iso9660";
    cd.volumeRead = true;
    emit copy->driveRefreshed(cd);
    for (const char* name : { "LCapacidad", "LDisponible", "LUtilizado" })
        EXPECT_EQ(text(dialog, name), "CD-ROM") << name;
    for (const char* name : { "LCapacidad2", "LDisponible2", "LUtilizado2" })
        EXPECT_EQ(text(dialog, name), "") << name;
    EXPECT_EQ(gauge(dialog, "Gauge1"), 0);
    EXPECT_EQ(text(dialog, "LTipo"), "Tipo: CD-ROM (iso9660)");

    DriveReport empty;
    empty.caption = " (a:\\)";
    empty.type = tolm::platform::DriveRemovable;
    emit copy->driveRefreshed(empty);
    for (const char* name : { "LCapacidad", "LDisponible", "LUtilizado" })
        EXPECT_EQ(text(dialog, name), "Sin disco") << name;
    for (const char* name : { "LCapacidad2", "LDisponible2", "LUtilizado2" })
        EXPECT_EQ(text(dialog, name), "") << name;
    EXPECT_EQ(gauge(dialog, "Gauge1"), 100);
    EXPECT_EQ(text(dialog, "LTipo"), "Tipo: Disco removible ()");
    EXPECT_EQ(dialog->EdNombre()->text(), " (a:\\)");

    // A CD-ROM drive without a disc is a missing medium too.
    cd.volumeRead = false;
    emit copy->driveRefreshed(cd);
    EXPECT_EQ(text(dialog, "LCapacidad"), "Sin disco");
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
    TPropiedades* dialog = openFromMenu(main->Memoria1Click());
    EXPECT_EQ(text(dialog, "LPCapacidad"), "99.999.999.999 bytes"); // until the first refresh
    MemoryReport report;
    report.load = 63;
    report.totalPhysical = 8 * kGB;
    report.availablePhysical = 3 * kGB;
    report.totalPageFile = 10 * kGB;
    report.availablePageFile = 4 * kGB;
    emit dialog->BotonEjemplo()->memoryRefreshed(report);
    EXPECT_EQ(text(dialog, "LPCapacidad"), "10.737.418.240 bytes");
    EXPECT_EQ(text(dialog, "LPCapacidad2"), "10,00GB");
    EXPECT_EQ(text(dialog, "LPUtilizado"), "6.442.450.944 bytes");
    EXPECT_EQ(text(dialog, "LPUtilizado2"), "6,00GB");
    EXPECT_EQ(text(dialog, "LMCapacidad"), "8.589.934.592 bytes");
    EXPECT_EQ(text(dialog, "LMCapacidad2"), "8,00GB");
    EXPECT_EQ(text(dialog, "LMUtilizado"), "5.368.709.120 bytes");
    EXPECT_EQ(text(dialog, "LMUtilizado2"), "5,00GB");
    EXPECT_EQ(gauge(dialog, "Gauge3"), 40);
    EXPECT_EQ(gauge(dialog, "Gauge2"), 63);

    // Small and missing paging files.
    report.totalPageFile = 50;
    report.availablePageFile = 20;
    emit dialog->BotonEjemplo()->memoryRefreshed(report);
    EXPECT_EQ(gauge(dialog, "Gauge3"), 40);
    report.totalPageFile = 0;
    report.availablePageFile = 0;
    emit dialog->BotonEjemplo()->memoryRefreshed(report);
    EXPECT_EQ(gauge(dialog, "Gauge3"), 40);
    EXPECT_EQ(text(dialog, "LPCapacidad"), "0 bytes");
}

TEST_F(PropiedadesTest, OnlyTheWorkingCopysReportsReachTheDialog)
{
    TPrincipal* main = startMain();
    TSpButton* drive = main->Disco1Click();
    TSpButton* other = main->Disco1Click();
    TPropiedades* dialog = openFromMenu(drive);
    emit other->driveRefreshed(fixedDrive(kGB, kGB));
    emit drive->driveRefreshed(fixedDrive(kGB, kGB));
    EXPECT_NE(dialog->EdNombre()->text(), "SISTEMA (c:\\)");
    emit dialog->BotonEjemplo()->driveRefreshed(fixedDrive(kGB, kGB));
    EXPECT_EQ(dialog->EdNombre()->text(), "SISTEMA (c:\\)");
    cancel(dialog);
}
