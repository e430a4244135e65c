#include "TPropiedadesFixture.h"
#include "dialogs/TPropiedadesIconGrid.h"
#include "gfx/Bitmaps.h"
#include "support/TemporaryDesktop.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QScrollBar>

using tolm::platform::AssociatedIcon;
using tolm::test::FakeIcons;

namespace {

QList<QImage> solidIcons(int count)
{
    QList<QImage> icons;
    for (int i = 0; i < count; ++i)
        icons << FakeIcons::solid(qRgb(10 * i, 200, 255 - 10 * i));
    return icons;
}

} // namespace

TEST_F(PropiedadesTest, TheShortcutTabEditsHowTheLauncherStarts)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setComando("/usr/bin/editor");
    item->setParam("--nuevo");
    item->setDirectorio("/home/ana");
    item->setRun(1);
    item->setAutorun(true);
    TPropiedades* dialog = openFromMenu(item);
    EXPECT_EQ(dialog->commandEdit()->text(), "/usr/bin/editor");
    EXPECT_EQ(dialog->parametersEdit()->text(), "--nuevo");
    EXPECT_EQ(dialog->directoryEdit()->text(), "/home/ana");
    EXPECT_EQ(dialog->runCombo()->currentText(), "Minimizada");
    EXPECT_TRUE(dialog->autoRunCheck()->isChecked());

    dialog->pages()->setCurrentWidget(dialog->shortcutPage());
    typeInto(dialog->commandEdit(), "/usr/bin/visor");
    typeInto(dialog->parametersEdit(), "");
    typeInto(dialog->directoryEdit(), "/tmp");
    dialog->runCombo()->setCurrentIndex(2);
    clickBox(dialog->autoRunCheck());
    // A new command does not bring a new icon with it.
    EXPECT_EQ(dialog->workingCopy()->FichIcono(), item->FichIcono());
    accept(dialog);
    EXPECT_EQ(item->Comando(), "/usr/bin/visor");
    EXPECT_EQ(item->Param(), "");
    EXPECT_EQ(item->Directorio(), "/tmp");
    EXPECT_EQ(item->Run(), 2);
    EXPECT_FALSE(item->Autorun());
}

TEST_F(PropiedadesTest, BuscarDestinoShowsTheEditedTargetSelected)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    TPropiedades* dialog = openFromMenu(item);
    QTest::mouseClick(dialog->findTargetButton(), Qt::LeftButton);
    typeInto(dialog->commandEdit(), "/home/ana/Mis documentos/carta 1.txt");
    typeInto(dialog->directoryEdit(), "/home/ana");
    QTest::mouseClick(dialog->findTargetButton(), Qt::LeftButton);
    EXPECT_EQ(fake.shell.intents,
        QStringList({ "showInFileManager  | ",
            "showInFileManager /home/ana/Mis documentos/carta 1.txt | /home/ana" }));
    EXPECT_EQ(dialog->findTargetButton()->text(), "Buscar destino ...");
}

TEST_F(PropiedadesTest, ExaminarReplacesTheCommandOnly)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setComando("/usr/bin/editor");
    item->setParam("-a");
    item->setFichIcono("/icons/editor.ico");
    item->setTag(3);
    TPropiedades* dialog = openFromMenu(item);
    fake.choosers.file.reset();
    QTest::mouseClick(dialog->browseCommandButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->workingCopy()->Comando(), "/usr/bin/editor");

    fake.choosers.file = "/opt/visor/visor";
    QTest::mouseClick(dialog->browseCommandButton(), Qt::LeftButton);
    ASSERT_EQ(fileDialogs().size(), 2);
    EXPECT_EQ(fileDialogs()[1], "|"); // the platform's own title, no filter
    EXPECT_EQ(dialog->workingCopy()->Comando(), "/opt/visor/visor");
    EXPECT_EQ(dialog->commandEdit()->text(), "/opt/visor/visor");
    EXPECT_EQ(dialog->workingCopy()->Param(), "-a");
    EXPECT_EQ(dialog->workingCopy()->FichIcono(), "/icons/editor.ico");
    cancel(dialog);
    EXPECT_EQ(item->Comando(), "/usr/bin/editor");
}

TEST_F(PropiedadesTest, ExaminarOpensInTheFolderOfTheFileElseInHome)
{
    tolm::test::TemporaryDesktop desktop;
    const QString bin = QFileInfo(desktop.write("bin/editor", "#!/bin/sh\n", true)).path();
    const QString home = QFileInfo(desktop.write("home/.profile", "")).path();
    desktop.set("HOME", home);
    desktop.set("PATH", bin);
    write("carta.txt", "");
    TSpButton* item = startMain()->commands().newLauncher();
    TPropiedades* dialog = openFromMenu(item);
    const struct {
        QString command;
        QString folder;
    } cases[] = {
        { "", home }, { bin + "/editor", bin }, { bin + "/gone/editor", home },
        { "editor", bin }, // found on PATH
        { "carta.txt", home }, // never the shelf folder, where this one is
    };
    for (const auto& c : cases) {
        typeInto(dialog->commandEdit(), c.command);
        QTest::mouseClick(dialog->browseCommandButton(), Qt::LeftButton);
        EXPECT_EQ(fake.choosers.fileRequests.last().folder, c.folder) << qPrintable(c.command);
    }
    typeInto(dialog->iconFileEdit(), bin + "/editor.ico");
    QTest::mouseClick(dialog->browseIconButton(), Qt::LeftButton);
    EXPECT_EQ(fake.choosers.fileRequests.last().folder, bin);
}

TEST_F(PropiedadesTest, TheIconGridHasACellPerIconAndTheChosenCellIsTheIndex)
{
    fake.icons.files["/apps/suite.exe"] = solidIcons(12);
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->settag1(1);
    item->setFichIcono("/apps/suite.exe");
    item->setTag(1);
    TPropiedades* dialog = openFromMenu(item);
    TPropiedadesIconGrid* grid = dialog->iconGrid();
    EXPECT_EQ(grid->size(), QSize(284, 57));
    EXPECT_EQ(grid->ColCount(), 12);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->visibleColCount(), 7);

    // Each cell shows its own icon at (4, 4); the selected one on the highlight.
    QImage cells = grid->viewport()->grab().toImage();
    const QColor highlight = dialog->palette().color(QPalette::Highlight);
    const QColor base = dialog->palette().color(QPalette::Base);
    EXPECT_EQ(QColor(cells.pixel(3, 3)), base);
    EXPECT_EQ(cells.pixel(4, 4), solidIcons(12)[0].pixel(0, 0));
    EXPECT_EQ(cells.pixel(35, 35), solidIcons(12)[0].pixel(0, 0));
    EXPECT_EQ(QColor(cells.pixel(36, 36)), base);
    EXPECT_EQ(QColor(cells.pixel(42, 2)), highlight);
    EXPECT_EQ(cells.pixel(44, 4), solidIcons(12)[1].pixel(0, 0));
    EXPECT_EQ(cells.pixel(75, 30), solidIcons(12)[1].pixel(0, 0));

    // The icons are asked for again at every paint, never kept.
    fake.icons.requests.clear();
    grid->viewport()->grab();
    EXPECT_GE(fake.icons.requests.count("/apps/suite.exe"), 7);

    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    EXPECT_EQ(grid->LeftCol(), 5);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(4 * 40 + 20, 20));
    EXPECT_EQ(grid->Col(), 9);
    EXPECT_EQ(dialog->workingCopy()->Tag(), 9);
    accept(dialog);
    EXPECT_EQ(item->Tag(), 9);
    EXPECT_EQ(item->Glyph().pixel(20, 20), solidIcons(12)[9].pixel(0, 0));
}

TEST_F(PropiedadesTest, AStoredIndexBeyondTheFilesIconsSelectsTheFirst)
{
    fake.icons.files["/apps/tres.exe"] = solidIcons(3);
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->settag1(1);
    item->setFichIcono("/apps/tres.exe");
    item->setTag(7);
    TPropiedades* dialog = openFromMenu(item);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 3);
    EXPECT_EQ(dialog->iconGrid()->Col(), 0);
    EXPECT_EQ(dialog->workingCopy()->Tag(), 0);
    cancel(dialog);
    EXPECT_EQ(item->Tag(), 7);
}

TEST_F(PropiedadesTest, WithoutAnIconFileTheOneCellFallsBack)
{
    const QImage associated = FakeIcons::solid(qRgb(1, 2, 3));
    fake.icons.associations["/docs/carta.txt"] = AssociatedIcon { associated, "/apps/editor.desktop", 0 };
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setComando("/docs/carta.txt");
    TPropiedades* dialog = openFromMenu(item);
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 1);
    QImage cells = dialog->iconGrid()->viewport()->grab().toImage();
    EXPECT_EQ(cells.pixel(20, 20), associated.pixel(0, 0));

    // No association either: our own "NO_ICON".
    typeInto(dialog->commandEdit(), "/docs/nada");
    cells = dialog->iconGrid()->viewport()->grab().toImage();
    const QImage noIcon = tolm::gfx::iconImage("NO_ICON");
    ASSERT_FALSE(noIcon.isNull());
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(noIcon.pixel(x, y)) == 255 && y + 4 < cells.height()) {
                EXPECT_EQ(cells.pixel(x + 4, y + 4) & 0xFFFFFF, noIcon.pixel(x, y) & 0xFFFFFF)
                    << x << "," << y;
                ++opaque;
            }
        }
    }
    EXPECT_GT(opaque, 100);
}

TEST_F(PropiedadesTest, TypingAnIconFileFollowsItsIconsOnceTheTypingPauses)
{
    fake.icons.files["/apps/suite.exe"] = solidIcons(12);
    fake.icons.files["/apps/suite"] = solidIcons(2);
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setFichIcono("/apps/suite");
    item->setTag(1);
    TPropiedades* dialog = openFromMenu(item);
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 2);
    EXPECT_EQ(dialog->workingCopy()->Tag(), 1);
    QLineEdit* box = dialog->iconFileEdit();
    box->setCursorPosition(box->text().size());
    auto settled = [dialog] { return QTest::qWaitFor([dialog] { return !dialog->iconRecountPending(); }); };
    QTest::keyClick(box, Qt::Key_Period);
    // The name and the first icon are taken at once; the icons are counted after the pause.
    EXPECT_EQ(dialog->workingCopy()->FichIcono(), "/apps/suite.");
    EXPECT_EQ(dialog->workingCopy()->Tag(), 0);
    EXPECT_TRUE(dialog->iconRecountPending());
    ASSERT_TRUE(settled());
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 1);
    QTest::keyClicks(box, "exe");
    ASSERT_TRUE(settled());
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 12);
    QTest::mouseClick(dialog->iconGrid()->viewport(), Qt::LeftButton, {}, QPoint(100, 20));
    EXPECT_EQ(dialog->workingCopy()->Tag(), 2);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(dialog->workingCopy()->Tag(), 0);
    ASSERT_TRUE(settled());
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 1);
}

// A fast typist's keystrokes never make the dialog read the half-typed
// names; what shows once the typing stops is what counting at every key showed.
TEST_F(PropiedadesTest, FastTypingInTheIconFileReadsOnlyTheFinalName)
{
    fake.icons.files["/apps/suite.exe"] = solidIcons(12);
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    TPropiedades* dialog = openFromMenu(item);
    fake.icons.requests.clear();
    const QString typed = "/apps/suite.exe";
    typeInto(dialog->iconFileEdit(), typed);
    EXPECT_TRUE(fake.icons.requests.isEmpty()) << fake.icons.requests.join(", ").toStdString();
    ASSERT_TRUE(QTest::qWaitFor([dialog] { return !dialog->iconRecountPending(); }));
    for (const QString& asked : fake.icons.requests)
        EXPECT_EQ(asked, typed);
    EXPECT_FALSE(fake.icons.requests.isEmpty());
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 12);
    EXPECT_EQ(dialog->iconGrid()->Col(), 0);
    EXPECT_EQ(dialog->workingCopy()->FichIcono(), typed);
}

// "Aceptar" pressed, or Enter typed, before the pause takes the final text.
TEST_F(PropiedadesTest, AcceptingWhileTheRecountWaitsKeepsTheTypedIconFile)
{
    fake.icons.files["/apps/suite.exe"] = solidIcons(12);
    for (const bool byEnter : { false, true }) {
        SCOPED_TRACE(byEnter ? "Enter" : "Aceptar");
        TPrincipal* main = startMain();
        TSpButton* item = main->commands().newLauncher();
        item->setFichIcono("/apps/old.ico");
        item->setTag(3);
        TPropiedades* dialog = openFromMenu(item);
        typeInto(dialog->iconFileEdit(), "/apps/suite.exe");
        ASSERT_TRUE(dialog->iconRecountPending());
        if (byEnter) {
            QTest::keyClick(dialog->iconFileEdit(), Qt::Key_Return);
            flushDeletes();
        } else {
            accept(dialog);
        }
        EXPECT_EQ(item->FichIcono(), "/apps/suite.exe");
        EXPECT_EQ(item->Tag(), 0);
        EXPECT_EQ(TPropiedades::Propiedades(), nullptr);
        closeAll();
    }
}

TEST_F(PropiedadesTest, IconoAsociadoTakesTheIconOfTheDocumentsProgram)
{
    fake.icons.files["/apps/editor.desktop"] = solidIcons(3);
    fake.icons.associations["/docs/carta.txt"]
        = AssociatedIcon { FakeIcons::solid(qRgb(1, 2, 3)), "/apps/editor.desktop", 2 };
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setComando("/docs/carta.txt");
    TPropiedades* dialog = openFromMenu(item);
    QTest::mouseClick(dialog->associatedIconButton(), Qt::LeftButton);
    TSpButton* copy = dialog->workingCopy();
    EXPECT_EQ(copy->FichIcono(), "/apps/editor.desktop");
    EXPECT_EQ(copy->Tag(), 2);
    EXPECT_EQ(dialog->iconFileEdit()->text(), "/apps/editor.desktop");
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 3);
    EXPECT_EQ(dialog->iconGrid()->Col(), 2);

    // The same from the shortcut tab; a command without an answer stands for itself.
    typeInto(dialog->commandEdit(), "/docs/rara.xyz");
    QTest::mouseClick(dialog->shortcutIconButton(), Qt::LeftButton);
    EXPECT_EQ(copy->FichIcono(), "/docs/rara.xyz");
    EXPECT_EQ(copy->Tag(), 0);
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 1);
    accept(dialog);
    EXPECT_EQ(item->FichIcono(), "/docs/rara.xyz");
}

TEST_F(PropiedadesTest, ExaminarForAnIconOffersIconFilesAndResetsTheIndex)
{
    fake.icons.files["/apps/a.exe"] = solidIcons(4);
    fake.icons.files["/icons/b.ico"] = solidIcons(2);
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setFichIcono("/apps/a.exe");
    item->setTag(3);
    TPropiedades* dialog = openFromMenu(item);

    fake.choosers.file.reset();
    QTest::mouseClick(dialog->browseIconButton(), Qt::LeftButton);
    ASSERT_EQ(fileDialogs().size(), 1);
    EXPECT_EQ(fileDialogs()[0],
        "Seleccionar Icono|Archivos de iconos (*.ico *.exe *.dll *.lnk);;Programas (*.exe);;"
        "Bibliotecas (*.dll);;Iconos (*.ico);;Todos los archivos (*)");
    EXPECT_EQ(dialog->workingCopy()->FichIcono(), "/apps/a.exe");
    EXPECT_EQ(dialog->workingCopy()->Tag(), 3);
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 4);

    fake.choosers.file = "/icons/b.ico";
    QTest::mouseClick(dialog->browseIconButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->workingCopy()->FichIcono(), "/icons/b.ico");
    EXPECT_EQ(dialog->workingCopy()->Tag(), 0);
    EXPECT_EQ(dialog->iconFileEdit()->text(), "/icons/b.ico");
    EXPECT_EQ(dialog->iconGrid()->ColCount(), 2);
}

TEST_F(PropiedadesTest, ClearingUsarIconoKeepsTheIconChoice)
{
    fake.icons.files["/apps/a.exe"] = solidIcons(4);
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->settag1(1);
    item->setFichIcono("/apps/a.exe");
    item->setTag(2);
    item->refreshGlyph();
    TPropiedades* dialog = openFromMenu(item);
    TSpButton* copy = dialog->workingCopy();
    EXPECT_TRUE(dialog->useIconCheck()->isChecked());
    clickBox(dialog->useIconCheck());
    EXPECT_EQ(copy->tag1(), 0);
    EXPECT_TRUE(copy->Glyph().isNull());
    EXPECT_EQ(copy->Margin(), -1);
    EXPECT_EQ(copy->FichIcono(), "/apps/a.exe");
    EXPECT_EQ(copy->Tag(), 2);
    clickBox(dialog->useIconCheck());
    EXPECT_EQ(copy->tag1(), 1);
    EXPECT_EQ(copy->Glyph().pixel(20, 20), solidIcons(4)[2].pixel(0, 0));
}

TEST_F(PropiedadesTest, TheFolderOptionsSetThePictureAndTheAutomaticOpening)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    TPropiedades* dialog = openFromMenu(folder);
    EXPECT_TRUE(dialog->folderUseIconCheck()->isChecked());
    EXPECT_FALSE(dialog->folderAutoOpenCheck()->isChecked());
    EXPECT_EQ(dialog->folderBox()->title(), " Varios ");
    clickBox(dialog->folderUseIconCheck());
    EXPECT_TRUE(dialog->workingCopy()->Glyph().isNull());
    clickBox(dialog->folderAutoOpenCheck());
    accept(dialog);
    EXPECT_EQ(folder->tag1(), 0);
    EXPECT_TRUE(folder->Glyph().isNull());
    EXPECT_TRUE(folder->Autorun());
}
