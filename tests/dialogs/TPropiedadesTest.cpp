#include "TPropiedadesFixture.h"
#include "items/ItemFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

using tolm::store::Clase;
using tolm::store::FontState;

namespace {

FontState arial(int height = -13)
{
    FontState font;
    font.name = "Arial";
    font.height = height;
    return font;
}

} // namespace

TEST_F(PropiedadesTest, TheMenuCommandOpensTheDialogOnAWorkingCopy)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    item->setCaption("Editor");
    item->setTipo(2);
    TPropiedades* dialog = openFromMenu(item);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Propiedades");
    EXPECT_EQ(dialog->size(), QSize(360, 390));
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->item(), item);

    TSpButton* copy = dialog->BotonEjemplo();
    ASSERT_NE(copy, item);
    EXPECT_EQ(copy->parentWidget(), dialog->Seleccionado());
    EXPECT_TRUE(copy->isVisible());
    EXPECT_EQ(state().workingCopy, copy);
    EXPECT_EQ(copy->Caption(), "Editor");
    EXPECT_EQ(copy->size(), QSize(100, 40));
    EXPECT_EQ(dialog->EdNombre()->text(), "Editor");
    EXPECT_EQ(dialog->FormatoIndex(), 2);
    EXPECT_EQ(dialog->PageControl1()->currentWidget(), dialog->TabGeneral());
    EXPECT_TRUE(dialog->PageControl1()->isTabVisible(1));
    EXPECT_TRUE(dialog->PanelNormal()->isVisible());
    EXPECT_TRUE(dialog->GroupIcono()->isVisible());
    EXPECT_FALSE(dialog->GroupCarpeta()->isVisible());
    EXPECT_FALSE(dialog->GroupOpciones()->isVisible());
    EXPECT_EQ(dialog->Button1()->text(), "Aceptar");
    EXPECT_EQ(dialog->Button2()->text(), "Cancelar");
    EXPECT_TRUE(dialog->Button1()->isDefault());

    // Only one dialog at a time.
    EXPECT_EQ(TPropiedades::open(item), nullptr);
    EXPECT_EQ(TPropiedades::Propiedades(), dialog);
}

TEST_F(PropiedadesTest, EachKindShowsItsOwnArea)
{
    TPrincipal* main = startMain();
    struct Case {
        TSpButton* item;
        QGroupBox* (TPropiedades::*area)() const;
        QString name;
        bool nameEnabled;
    };
    TSpButton* folder = main->NuevaCarpeta1Click();
    TSpButton* clock = main->Reloj1Click();
    TSpButton* drive = main->Disco1Click();
    TSpButton* memory = main->Memoria1Click();
    const Case cases[] = {
        { folder, &TPropiedades::GroupCarpeta, "Carpeta Nueva", true },
        { clock, &TPropiedades::GroupOpciones, "Reloj", false },
        { drive, &TPropiedades::GroupDisco, "", false },
        { memory, &TPropiedades::GroupMemoria, "", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->claseValue());
        const auto timerItems = state().timerItems.size();
        TPropiedades* dialog = openFromMenu(c.item);
        ASSERT_NE(dialog, nullptr);
        QGroupBox* area = (dialog->*c.area)();
        EXPECT_TRUE(area->isVisible());
        for (QGroupBox* other : { dialog->GroupIcono(), dialog->GroupCarpeta(), dialog->GroupOpciones(),
                 dialog->GroupDisco(), dialog->GroupMemoria() }) {
            if (other != area) {
                EXPECT_FALSE(other->isVisible()) << other->objectName().toStdString();
            }
        }
        EXPECT_EQ(dialog->PanelNormal()->isVisible(), c.item == folder);
        EXPECT_FALSE(dialog->PageControl1()->isTabVisible(1));
        EXPECT_EQ(dialog->EdNombre()->text(), c.name);
        EXPECT_EQ(dialog->EdNombre()->isEnabled(), c.nameEnabled);
        // Clocks, drives and memory tiles keep refreshing inside the dialog.
        QPointer<TSpButton> copy = dialog->BotonEjemplo();
        EXPECT_EQ(state().timerItems.contains(copy), c.item != folder);
        if (c.item == drive) {
            EXPECT_NE(copy->pictureCache(), nullptr);
        }
        cancel(dialog);
        EXPECT_TRUE(copy.isNull());
        EXPECT_EQ(state().timerItems.size(), timerItems);
        EXPECT_EQ(state().workingCopy, nullptr);
    }
}

TEST_F(PropiedadesTest, CancelAfterManyChangesLeavesTheItemAndItsWindowUntouched)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    item->setCaption("Editor");
    item->setComando("/usr/bin/editor");
    item->setHint("Mi editor");
    item->settag1(1);
    item->refreshGlyph();
    const auto before = item->toState("x");
    const QImage glyph = item->Glyph();
    const QRect geometry = item->geometry();
    const FontState windowFont = main->defaultFont();

    for (bool closeBox : { false, true }) {
        TPropiedades* dialog = openFromMenu(item);
        ASSERT_NE(dialog, nullptr);
        QPointer<TPropiedades> watch = dialog;
        typeInto(dialog->EdNombre(), "Otro");
        typeInto(dialog->EdHint(), "Otra cosa");
        QTest::mouseClick(dialog->FormatoItem(5), Qt::LeftButton);
        fake.choosers.font = tolm::items::qtFont(arial());
        QTest::mouseClick(dialog->BFuente(), Qt::LeftButton);
        QTest::mouseClick(dialog->BDefecto(), Qt::LeftButton);
        typeInto(dialog->EdComando(), "/bin/otro");
        typeInto(dialog->EdParam(), "-x");
        dialog->ComboEjecutar()->setCurrentIndex(2);
        clickBox(dialog->CheckAutoRun());
        clickBox(dialog->CheckUsarIcono());
        EXPECT_EQ(dialog->BotonEjemplo()->Caption(), "Otro");
        EXPECT_EQ(dialog->BotonEjemplo()->Run(), 2);

        if (closeBox) {
            dialog->close();
            flushDeletes();
        } else {
            cancel(dialog);
        }
        EXPECT_TRUE(watch.isNull());
        EXPECT_EQ(TPropiedades::Propiedades(), nullptr);
        EXPECT_EQ(item->toState("x"), before);
        EXPECT_EQ(item->Glyph(), glyph);
        EXPECT_EQ(item->geometry(), geometry);
        EXPECT_TRUE(item->ParentFont());
        EXPECT_EQ(main->defaultFont(), windowFont);
        EXPECT_EQ(main->items(), QList<TSpButton*>({ item }));
    }
}

TEST_F(PropiedadesTest, AcceptWritesTheCopyBackAndTheShelfFileKeepsIt)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    item->setCaption("Editor");
    TPropiedades* dialog = openFromMenu(item);
    ASSERT_NE(dialog, nullptr);
    typeInto(dialog->EdNombre(), "Navegador");
    typeInto(dialog->EdHint(), "Abre la web");
    QTest::mouseClick(dialog->FormatoItem(1), Qt::LeftButton);
    // Nothing reaches the item before "Aceptar".
    EXPECT_EQ(item->Caption(), "Editor");
    EXPECT_EQ(item->size(), QSize(40, 40));
    accept(dialog);
    EXPECT_EQ(TPropiedades::Propiedades(), nullptr);
    EXPECT_EQ(item->Caption(), "Navegador");
    EXPECT_EQ(item->Hint(), "Abre la web");
    EXPECT_EQ(item->Tipo(), 1);
    EXPECT_EQ(item->size(), QSize(80, 40));

    ASSERT_TRUE(main->salvar());
    const auto shelf = parse("tolm95.dat");
    ASSERT_EQ(shelf.items.size(), 1u);
    const auto saved = tolm::store::readSpButton(shelf.items[0]);
    EXPECT_EQ(saved.caption, "Navegador");
    EXPECT_EQ(saved.tipo, 1);
    EXPECT_EQ(saved.width, 80);
    EXPECT_EQ(saved.height, 40);
}

TEST_F(PropiedadesTest, EnterAcceptsAndEscapeCancels)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    TPropiedades* dialog = openFromMenu(item);
    typeInto(dialog->EdNombre(), "Uno");
    QTest::keyClick(dialog->EdNombre(), Qt::Key_Escape);
    flushDeletes();
    EXPECT_EQ(item->Caption(), "");

    dialog = openFromMenu(item);
    typeInto(dialog->EdNombre(), "Dos");
    QTest::keyClick(dialog->EdNombre(), Qt::Key_Return);
    flushDeletes();
    EXPECT_EQ(item->Caption(), "Dos");
}

TEST_F(PropiedadesTest, TextPutInABoxByTheProgramDoesNotWriteIntoTheCopy)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    item->setCaption("Editor");
    item->setComando("/usr/bin/editor");
    TPropiedades* dialog = openFromMenu(item);
    dialog->EdNombre()->setText("puesto por el programa");
    dialog->EdComando()->setText("/otro");
    EXPECT_EQ(dialog->BotonEjemplo()->Caption(), "Editor");
    EXPECT_EQ(dialog->BotonEjemplo()->Comando(), "/usr/bin/editor");
    // The user's own typing, even to an empty text, goes through.
    typeInto(dialog->EdNombre(), "");
    EXPECT_EQ(dialog->BotonEjemplo()->Caption(), "");
    accept(dialog);
    EXPECT_EQ(item->Caption(), "");
    EXPECT_EQ(item->Comando(), "/usr/bin/editor");
}

TEST_F(PropiedadesTest, DefectoMakesTheItemFollowItsWindowFontAfterAccept)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    item->setOwnFont(arial());
    TPropiedades* dialog = openFromMenu(item);
    EXPECT_EQ(dialog->BotonEjemplo()->ownFont(), arial());
    QTest::mouseClick(dialog->BDefecto(), Qt::LeftButton);
    EXPECT_TRUE(dialog->FuenteDefecto());
    EXPECT_EQ(dialog->BotonEjemplo()->ownFont(), main->defaultFont());
    accept(dialog);
    EXPECT_TRUE(item->ParentFont());
    EXPECT_EQ(item->effectiveFont(), main->defaultFont());

    // A later change of the window's font reaches the item.
    main->setDefaultFont(arial(-20));
    EXPECT_EQ(item->effectiveFont(), arial(-20));
}

TEST_F(PropiedadesTest, AConfirmedFontAfterDefectoIsTheItemsOwn)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    TPropiedades* dialog = openFromMenu(item);
    QTest::mouseClick(dialog->BDefecto(), Qt::LeftButton);
    fake.choosers.font = tolm::items::qtFont(arial(-15));
    QTest::mouseClick(dialog->BFuente(), Qt::LeftButton);
    EXPECT_FALSE(dialog->FuenteDefecto());
    accept(dialog);
    EXPECT_FALSE(item->ParentFont());
    EXPECT_EQ(item->effectiveFont(), arial(-15));
    main->setDefaultFont(arial(-20));
    EXPECT_EQ(item->effectiveFont(), arial(-15));
}

TEST_F(PropiedadesTest, ACancelledFontDialogChangesNothing)
{
    TPrincipal* main = startMain();
    main->setDefaultFont(arial(-12));
    TSpButton* item = main->Nuevoboton1Click();
    item->setOwnFont(arial(-18));
    TPropiedades* dialog = openFromMenu(item);
    QTest::mouseClick(dialog->BDefecto(), Qt::LeftButton);
    fake.choosers.font.reset();
    QTest::mouseClick(dialog->BFuente(), Qt::LeftButton);
    // The font dialog started from the example's font.
    ASSERT_EQ(fake.choosers.fontRequests.size(), 1);
    EXPECT_EQ(fake.choosers.fontRequests[0], tolm::items::qtFont(arial(-12)));
    EXPECT_TRUE(dialog->FuenteDefecto());
    EXPECT_EQ(dialog->BotonEjemplo()->ownFont(), arial(-12));
    accept(dialog);
    EXPECT_TRUE(item->ParentFont());
}

TEST_F(PropiedadesTest, AnUnchangedFontKeepsHowTheItemGetsItsFont)
{
    TPrincipal* main = startMain();
    TSpButton* follower = main->Nuevoboton1Click();
    TSpButton* own = main->Nuevoboton1Click();
    own->setOwnFont(arial());
    for (TSpButton* item : { follower, own }) {
        TPropiedades* dialog = openFromMenu(item);
        typeInto(dialog->EdNombre(), "x");
        accept(dialog);
    }
    EXPECT_TRUE(follower->ParentFont());
    EXPECT_FALSE(own->ParentFont());
    EXPECT_EQ(own->effectiveFont(), arial());
    main->setDefaultFont(arial(-20));
    EXPECT_EQ(follower->effectiveFont(), arial(-20));
}

TEST_F(PropiedadesTest, TheFormatResizesAndCentresTheExample)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    TPropiedades* dialog = openFromMenu(item);
    TSpButton* copy = dialog->BotonEjemplo();
    EXPECT_EQ(copy->pos(), QPoint(58, 28)); // 40 x 40
    QTest::mouseClick(dialog->FormatoItem(9), Qt::LeftButton);
    EXPECT_EQ(dialog->FormatoItem(9)->text(), "120x20");
    EXPECT_EQ(copy->Tipo(), 9);
    EXPECT_EQ(copy->geometry(), QRect(18, 38, 120, 20));
    QTest::mouseClick(dialog->FormatoItem(4), Qt::LeftButton);
    EXPECT_EQ(dialog->FormatoItem(4)->text(), "40x60");
    EXPECT_EQ(copy->geometry(), QRect(58, 18, 40, 60));
    // The picture follows between small and large.
    clickBox(dialog->CheckUsarIcono());
    EXPECT_EQ(copy->Glyph().size(), QSize(36, 36));
    QTest::mouseClick(dialog->FormatoItem(7), Qt::LeftButton);
    EXPECT_EQ(copy->Glyph().size(), QSize(18, 17));
}

TEST_F(PropiedadesTest, AFolderDescriptionRenamesItsOpenWindowOnAccept)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->NuevaCarpeta1Click();
    folder->SpButtonClick();
    TPrincipal* window = TPrincipal::folderWindowOf(folder);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(folder->Tag(), 0);
    TPropiedades* dialog = openFromMenu(folder);
    typeInto(dialog->EdHint(), "Mis juegos");
    EXPECT_NE(window->windowTitle(), "Mis juegos");
    accept(dialog);
    EXPECT_EQ(window->windowTitle(), "Mis juegos");

    // With the window closed only the description changes.
    delete window;
    flushDeletes();
    dialog = openFromMenu(folder);
    typeInto(dialog->EdHint(), "Otros");
    accept(dialog);
    EXPECT_EQ(folder->Hint(), "Otros");
}

TEST_F(PropiedadesTest, TwoOpeningsInARowShowTheFirstAcceptedValues)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    TPropiedades* dialog = openFromMenu(item);
    typeInto(dialog->EdNombre(), "Primero");
    QTest::mouseClick(dialog->FormatoItem(8), Qt::LeftButton);
    QTest::mouseClick(dialog->BDefecto(), Qt::LeftButton);
    accept(dialog);

    dialog = openFromMenu(item);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->EdNombre()->text(), "Primero");
    EXPECT_EQ(dialog->FormatoIndex(), 8);
    EXPECT_EQ(dialog->BotonEjemplo()->size(), QSize(80, 20));
    EXPECT_FALSE(dialog->FuenteDefecto());
}

TEST_F(PropiedadesTest, TheTopPanelFollowsTheActiveTab)
{
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->Nuevoboton1Click());
    dialog->PageControl1()->setCurrentWidget(dialog->TabAccDir());
    EXPECT_EQ(dialog->Panel1()->parentWidget(), dialog->TabAccDir());
    EXPECT_TRUE(dialog->Panel1()->isVisible());
    EXPECT_TRUE(dialog->BotonEjemplo()->isVisible());
    EXPECT_TRUE(dialog->GroupBox2()->isVisible());
    EXPECT_FALSE(dialog->Panel1()->geometry().intersects(dialog->GroupBox2()->geometry()));
    dialog->PageControl1()->setCurrentWidget(dialog->TabGeneral());
    EXPECT_EQ(dialog->Panel1()->parentWidget(), dialog->TabGeneral());
    EXPECT_TRUE(dialog->EdNombre()->isVisible());
}

TEST_F(PropiedadesTest, TheExampleIsNeitherActivatedNorDragged)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->Nuevoboton1Click();
    item->setComando("/usr/bin/editor");
    TSpButton* memory = main->Memoria1Click();
    for (TSpButton* source : { item, memory }) {
        TPropiedades* dialog = openFromMenu(source);
        TSpButton* copy = dialog->BotonEjemplo();
        const QPoint at = copy->pos();
        QTest::mouseClick(copy, Qt::LeftButton);
        copy->click();
        QTest::mousePress(copy, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
        QTest::mouseMove(copy, QPoint(35, 30));
        QTest::mouseRelease(copy, Qt::LeftButton, Qt::ShiftModifier, QPoint(35, 30));
        EXPECT_EQ(copy->pos(), at);
        EXPECT_TRUE(fake.shell.launches.isEmpty());
        EXPECT_EQ(TPropiedades::Propiedades(), dialog);
        EXPECT_FALSE(state().dragging);
        cancel(dialog);
    }
}

TEST_F(PropiedadesTest, AcceptUpdatesTheCoveredFlagsOfTheWindowsTimerItems)
{
    TPrincipal* main = startMain();
    state().pressPoint = QPoint(0, 0);
    TSpButton* clock = main->Reloj1Click();
    state().pressPoint = QPoint(100, 0);
    TSpButton* drive = main->Disco1Click();
    state().pressPoint = QPoint(0, 0);
    TSpButton* launcher = main->Nuevoboton1Click();
    launcher->move(20, 20);
    launcher->raise();
    clock->setTag(clock->Tag() & ~TSpButton::kTagCovered);
    drive->setTag(drive->Tag() | TSpButton::kTagCovered);

    TPropiedades* dialog = openFromMenu(launcher);
    accept(dialog);
    EXPECT_TRUE(clock->Tag() & TSpButton::kTagCovered);
    EXPECT_FALSE(drive->Tag() & TSpButton::kTagCovered);
}

TEST_F(PropiedadesTest, HelpOpensTheReadmeAtTheDialogsSection)
{
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->Nuevoboton1Click());
    EXPECT_EQ(dialog->Button3()->text(), "&Help");
    QTest::mouseClick(dialog->Button3(), Qt::LeftButton);
    ASSERT_EQ(fake.urlOpener.opened.size(), 1);
    EXPECT_TRUE(fake.urlOpener.opened[0].isLocalFile());
    EXPECT_TRUE(fake.urlOpener.opened[0].toLocalFile().endsWith("/README.md"));
    EXPECT_EQ(fake.urlOpener.opened[0].fragment(), "properties-dialog");
    EXPECT_EQ(TPropiedades::Propiedades(), dialog);
}

TEST_F(PropiedadesTest, EveryControlFitsInsideItsParentForEachKind)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 5 * 1024ull * 1024 * 1024 / 2, 1024ull * 1024 * 1024,
        "SISTEMA", "ext4");
    TPrincipal* main = startMain();
    TSpButton* launcher = main->Nuevoboton1Click();
    launcher->setCaption("Editor");
    launcher->setComando("/usr/bin/editor");
    launcher->settag1(1);
    const QList<TSpButton*> items { launcher, main->NuevaCarpeta1Click(), main->Reloj1Click(),
        main->Disco1Click(), main->Memoria1Click() };
    // TOLM_SCREENSHOTS names a folder that receives a picture of each dialog.
    const QString shots = qEnvironmentVariable("TOLM_SCREENSHOTS");
    for (TSpButton* item : items) {
        TPropiedades* dialog = openFromMenu(item);
        ASSERT_NE(dialog, nullptr);
        // The longest figures a refresh writes must fit as well.
        tolm::items::DriveReport drive;
        drive.caption = "SISTEMA (c:\\)";
        drive.type = tolm::platform::DriveFixed;
        drive.fileSystem = "ext4";
        drive.volumeRead = drive.sizesRead = true;
        drive.totalBytes = 4'000'787'030'016ull; // a 4 TB disk
        drive.freeBytes = 1'000'000'000'000ull;
        if (item->clase() == Clase::Disco)
            emit dialog->BotonEjemplo()->driveRefreshed(drive);
        if (item->clase() == Clase::Memoria)
            emit dialog->BotonEjemplo()->memoryRefreshed(
                { 63, 16ull << 30, 5ull << 30, 20ull << 30, 9ull << 30 });
        for (int tab = 0; tab < 2; ++tab) {
            if (!dialog->PageControl1()->isTabVisible(tab))
                continue;
            dialog->PageControl1()->setCurrentIndex(tab);
            QApplication::processEvents();
            for (QWidget* w : dialog->findChildren<QWidget*>()) {
                QWidget* parent = w->parentWidget();
                if (!w->isVisible() || w->isWindow() || !parent || w->objectName().isEmpty())
                    continue;
                EXPECT_TRUE(parent->rect().contains(w->geometry()))
                    << w->objectName().toStdString() << " in " << parent->objectName().toStdString();
                if (auto* label = qobject_cast<QLabel*>(w)) {
                    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                        << label->objectName().toStdString() << ": " << label->text().toStdString();
                }
            }
            if (!shots.isEmpty())
                dialog->grab().save(
                    QStringLiteral("%1/propiedades-%2-%3.png").arg(shots).arg(item->claseValue()).arg(tab));
        }
        cancel(dialog);
    }
}
