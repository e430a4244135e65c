#include "TPropiedadesFixture.h"
#include "dialogs/ApplicationPicker.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/TCalendario.h"
#include "items/ItemFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTranslator>
#include <climits>
#include <tuple>

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

// The style of a desktop whose dialog buttons show icons (as KDE's do).
class ButtonIconsStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

// Every kind's dialog opens at the size it was laid out for, on a desktop
// whose dialog buttons show icons too.
TEST_F(PropiedadesTest, EveryKindOpensAtTheDesignedSize)
{
    const QString style = QApplication::style()->name();
    const auto restore = qScopeGuard([style] { QApplication::setStyle(style); });
    TPrincipal* main = startMain();
    const QList<TSpButton*> items { main->commands().newLauncher(), main->commands().newFolder(),
        main->commands().newClock(), main->commands().newDrive(), main->commands().newMemory() };
    for (const bool buttonIcons : { false, true }) {
        QApplication::setStyle(buttonIcons ? new ButtonIconsStyle(style) : QStyleFactory::create(style));
        for (TSpButton* item : items) {
            TPropiedades* dialog = openFromMenu(item);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->size(), QSize(360, 390))
                << item->claseValue() << (buttonIcons ? " with icons" : "");
            cancel(dialog);
        }
    }
}

TEST_F(PropiedadesTest, TheMenuCommandOpensTheDialogOnAWorkingCopy)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setCaption("Editor");
    item->setTipo(2);
    TPropiedades* dialog = openFromMenu(item);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Propiedades");
    EXPECT_EQ(dialog->size(), QSize(360, 390));
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->item(), item);

    TSpButton* copy = dialog->workingCopy();
    ASSERT_NE(copy, item);
    EXPECT_EQ(copy->parentWidget(), dialog->exampleBox());
    EXPECT_TRUE(copy->isVisible());
    EXPECT_EQ(state().workingCopy, copy);
    EXPECT_EQ(copy->Caption(), "Editor");
    EXPECT_EQ(copy->size(), QSize(100, 40));
    EXPECT_EQ(dialog->nameEdit()->text(), "Editor");
    EXPECT_EQ(dialog->formatIndex(), 2);
    EXPECT_EQ(dialog->pages()->currentWidget(), dialog->generalPage());
    EXPECT_TRUE(dialog->pages()->isTabVisible(1));
    EXPECT_TRUE(dialog->launcherArea()->isVisible());
    EXPECT_TRUE(dialog->iconBox()->isVisible());
    EXPECT_FALSE(dialog->folderBox()->isVisible());
    EXPECT_FALSE(dialog->clockBox()->isVisible());
    EXPECT_EQ(dialog->okButton()->text(), "Aceptar");
    EXPECT_EQ(dialog->cancelButton()->text(), "Cancelar");
    EXPECT_TRUE(dialog->okButton()->isDefault());

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
    TSpButton* folder = main->commands().newFolder();
    TSpButton* clock = main->commands().newClock();
    TSpButton* drive = main->commands().newDrive();
    TSpButton* memory = main->commands().newMemory();
    const Case cases[] = {
        { folder, &TPropiedades::folderBox, "Carpeta Nueva", true },
        { clock, &TPropiedades::clockBox, "Reloj", false },
        { drive, &TPropiedades::driveBox, "", false },
        { memory, &TPropiedades::memoryBox, "", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->claseValue());
        const auto timerItems = state().timerItems.size();
        TPropiedades* dialog = openFromMenu(c.item);
        ASSERT_NE(dialog, nullptr);
        QGroupBox* area = (dialog->*c.area)();
        EXPECT_TRUE(area->isVisible());
        for (QGroupBox* other : { dialog->iconBox(), dialog->folderBox(), dialog->clockBox(),
                 dialog->driveBox(), dialog->memoryBox() }) {
            if (other != area) {
                EXPECT_FALSE(other->isVisible()) << other->objectName().toStdString();
            }
        }
        EXPECT_EQ(dialog->launcherArea()->isVisible(), c.item == folder);
        EXPECT_FALSE(dialog->pages()->isTabVisible(1));
        EXPECT_EQ(dialog->nameEdit()->text(), c.name);
        EXPECT_EQ(dialog->nameEdit()->isEnabled(), c.nameEnabled);
        // Clocks, drives and memory tiles keep refreshing inside the dialog.
        QPointer<TSpButton> copy = dialog->workingCopy();
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
    TSpButton* item = main->commands().newLauncher();
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
        typeInto(dialog->nameEdit(), "Otro");
        typeInto(dialog->descriptionEdit(), "Otra cosa");
        QTest::mouseClick(dialog->formatButton(5), Qt::LeftButton);
        fake.choosers.font = tolm::items::qtFont(arial());
        QTest::mouseClick(dialog->fontButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->defaultFontButton(), Qt::LeftButton);
        typeInto(dialog->commandEdit(), "/bin/otro");
        typeInto(dialog->parametersEdit(), "-x");
        dialog->runCombo()->setCurrentIndex(2);
        clickBox(dialog->autoRunCheck());
        clickBox(dialog->useIconCheck());
        EXPECT_EQ(dialog->workingCopy()->Caption(), "Otro");
        EXPECT_EQ(dialog->workingCopy()->Run(), 2);

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
    TSpButton* item = main->commands().newLauncher();
    item->setCaption("Editor");
    TPropiedades* dialog = openFromMenu(item);
    ASSERT_NE(dialog, nullptr);
    typeInto(dialog->nameEdit(), "Navegador");
    typeInto(dialog->descriptionEdit(), "Abre la web");
    QTest::mouseClick(dialog->formatButton(1), Qt::LeftButton);
    // Nothing reaches the item before "Aceptar".
    EXPECT_EQ(item->Caption(), "Editor");
    EXPECT_EQ(item->size(), QSize(40, 40));
    accept(dialog);
    EXPECT_EQ(TPropiedades::Propiedades(), nullptr);
    EXPECT_EQ(item->Caption(), "Navegador");
    EXPECT_EQ(item->Hint(), "Abre la web");
    EXPECT_EQ(item->Tipo(), 1);
    EXPECT_EQ(item->size(), QSize(80, 40));

    ASSERT_TRUE(main->document().save());
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
    TSpButton* item = main->commands().newLauncher();
    TPropiedades* dialog = openFromMenu(item);
    typeInto(dialog->nameEdit(), "Uno");
    QTest::keyClick(dialog->nameEdit(), Qt::Key_Escape);
    flushDeletes();
    EXPECT_EQ(item->Caption(), "");

    dialog = openFromMenu(item);
    typeInto(dialog->nameEdit(), "Dos");
    QTest::keyClick(dialog->nameEdit(), Qt::Key_Return);
    flushDeletes();
    EXPECT_EQ(item->Caption(), "Dos");
}

TEST_F(PropiedadesTest, TextPutInABoxByTheProgramDoesNotWriteIntoTheCopy)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setCaption("Editor");
    item->setComando("/usr/bin/editor");
    TPropiedades* dialog = openFromMenu(item);
    dialog->nameEdit()->setText("puesto por el programa");
    dialog->commandEdit()->setText("/otro");
    EXPECT_EQ(dialog->workingCopy()->Caption(), "Editor");
    EXPECT_EQ(dialog->workingCopy()->Comando(), "/usr/bin/editor");
    // The user's own typing, even to an empty text, goes through.
    typeInto(dialog->nameEdit(), "");
    EXPECT_EQ(dialog->workingCopy()->Caption(), "");
    accept(dialog);
    EXPECT_EQ(item->Caption(), "");
    EXPECT_EQ(item->Comando(), "/usr/bin/editor");
}

TEST_F(PropiedadesTest, DefectoMakesTheItemFollowItsWindowFontAfterAccept)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setOwnFont(arial());
    TPropiedades* dialog = openFromMenu(item);
    EXPECT_EQ(dialog->workingCopy()->ownFont(), arial());
    QTest::mouseClick(dialog->defaultFontButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->defaultFontChosen());
    EXPECT_EQ(dialog->workingCopy()->ownFont(), main->defaultFont());
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
    TSpButton* item = main->commands().newLauncher();
    TPropiedades* dialog = openFromMenu(item);
    QTest::mouseClick(dialog->defaultFontButton(), Qt::LeftButton);
    fake.choosers.font = tolm::items::qtFont(arial(-15));
    QTest::mouseClick(dialog->fontButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->defaultFontChosen());
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
    TSpButton* item = main->commands().newLauncher();
    item->setOwnFont(arial(-18));
    TPropiedades* dialog = openFromMenu(item);
    QTest::mouseClick(dialog->defaultFontButton(), Qt::LeftButton);
    fake.choosers.font.reset();
    QTest::mouseClick(dialog->fontButton(), Qt::LeftButton);
    // The font dialog started from the example's font.
    ASSERT_EQ(fake.choosers.fontRequests.size(), 1);
    EXPECT_EQ(fake.choosers.fontRequests[0], tolm::items::qtFont(arial(-12)));
    EXPECT_TRUE(dialog->defaultFontChosen());
    EXPECT_EQ(dialog->workingCopy()->ownFont(), arial(-12));
    accept(dialog);
    EXPECT_TRUE(item->ParentFont());
}

TEST_F(PropiedadesTest, AnUnchangedFontKeepsHowTheItemGetsItsFont)
{
    TPrincipal* main = startMain();
    TSpButton* follower = main->commands().newLauncher();
    TSpButton* own = main->commands().newLauncher();
    own->setOwnFont(arial());
    for (TSpButton* item : { follower, own }) {
        TPropiedades* dialog = openFromMenu(item);
        typeInto(dialog->nameEdit(), "x");
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
    TSpButton* item = main->commands().newLauncher();
    TPropiedades* dialog = openFromMenu(item);
    TSpButton* copy = dialog->workingCopy();
    EXPECT_EQ(copy->pos(), QPoint(58, 28)); // 40 x 40
    QTest::mouseClick(dialog->formatButton(9), Qt::LeftButton);
    EXPECT_EQ(dialog->formatButton(9)->text(), "120x20");
    EXPECT_EQ(copy->Tipo(), 9);
    EXPECT_EQ(copy->geometry(), QRect(18, 38, 120, 20));
    QTest::mouseClick(dialog->formatButton(4), Qt::LeftButton);
    EXPECT_EQ(dialog->formatButton(4)->text(), "40x60");
    EXPECT_EQ(copy->geometry(), QRect(58, 18, 40, 60));
    // The picture follows between small and large.
    clickBox(dialog->useIconCheck());
    EXPECT_EQ(copy->Glyph().size(), QSize(36, 36));
    QTest::mouseClick(dialog->formatButton(7), Qt::LeftButton);
    EXPECT_EQ(copy->Glyph().size(), QSize(18, 17));
}

TEST_F(PropiedadesTest, AFolderDescriptionRenamesItsOpenWindowOnAccept)
{
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    TPrincipal* window = TPrincipal::folderWindowOf(folder);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(folder->Tag(), 0);
    TPropiedades* dialog = openFromMenu(folder);
    typeInto(dialog->descriptionEdit(), "Mis juegos");
    EXPECT_NE(window->windowTitle(), "Mis juegos");
    accept(dialog);
    EXPECT_EQ(window->windowTitle(), "Mis juegos");

    // With the window closed only the description changes.
    delete window;
    flushDeletes();
    dialog = openFromMenu(folder);
    typeInto(dialog->descriptionEdit(), "Otros");
    accept(dialog);
    EXPECT_EQ(folder->Hint(), "Otros");
}

TEST_F(PropiedadesTest, TwoOpeningsInARowShowTheFirstAcceptedValues)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    TPropiedades* dialog = openFromMenu(item);
    typeInto(dialog->nameEdit(), "Primero");
    QTest::mouseClick(dialog->formatButton(8), Qt::LeftButton);
    QTest::mouseClick(dialog->defaultFontButton(), Qt::LeftButton);
    accept(dialog);

    dialog = openFromMenu(item);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->nameEdit()->text(), "Primero");
    EXPECT_EQ(dialog->formatIndex(), 8);
    EXPECT_EQ(dialog->workingCopy()->size(), QSize(80, 20));
    EXPECT_FALSE(dialog->defaultFontChosen());
}

TEST_F(PropiedadesTest, TheTopPanelFollowsTheActiveTab)
{
    TPrincipal* main = startMain();
    TPropiedades* dialog = openFromMenu(main->commands().newLauncher());
    dialog->pages()->setCurrentWidget(dialog->shortcutPage());
    EXPECT_EQ(dialog->header()->parentWidget(), dialog->shortcutPage());
    EXPECT_TRUE(dialog->header()->isVisible());
    EXPECT_TRUE(dialog->workingCopy()->isVisible());
    EXPECT_TRUE(dialog->programBox()->isVisible());
    EXPECT_FALSE(dialog->header()->geometry().intersects(dialog->programBox()->geometry()));
    dialog->pages()->setCurrentWidget(dialog->generalPage());
    EXPECT_EQ(dialog->header()->parentWidget(), dialog->generalPage());
    EXPECT_TRUE(dialog->nameEdit()->isVisible());
}

TEST_F(PropiedadesTest, TheExampleIsNeitherActivatedNorDragged)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    item->setComando("/usr/bin/editor");
    TSpButton* memory = main->commands().newMemory();
    for (TSpButton* source : { item, memory }) {
        TPropiedades* dialog = openFromMenu(source);
        TSpButton* copy = dialog->workingCopy();
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
    TSpButton* clock = main->commands().newClock();
    state().pressPoint = QPoint(100, 0);
    TSpButton* drive = main->commands().newDrive();
    state().pressPoint = QPoint(0, 0);
    TSpButton* launcher = main->commands().newLauncher();
    launcher->move(20, 20);
    launcher->raise();
    clock->setCoveredFlag(false);
    drive->setCoveredFlag(true);

    TPropiedades* dialog = openFromMenu(launcher);
    accept(dialog);
    EXPECT_TRUE(clock->coveredFlag());
    EXPECT_FALSE(drive->coveredFlag());
}

// "Ayuda" shows the manual of the language in use, scrolled to the dialog's
// section, in a window that takes input while the dialog is modal.
TEST_F(PropiedadesTest, HelpShowsTheManualAtTheDialogsSection)
{
    const struct {
        const char* catalogue; // null: the Spanish the texts are written in
        const char* title;
        const char* help;
    } languages[] = {
        { nullptr, "Manual de Tolm", "Ay&uda" },
        { ":/i18n/tolm_en.qm", "Tolm manual", "&Help" },
    };
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    for (const auto& language : languages) {
        QTranslator translator;
        if (language.catalogue) {
            ASSERT_TRUE(translator.load(QString::fromLatin1(language.catalogue)));
            QCoreApplication::installTranslator(&translator);
        }
        TPropiedades* dialog = openFromMenu(item);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->helpButton()->text(), language.help);
        QTest::mouseClick(dialog->helpButton(), Qt::LeftButton);
        EXPECT_EQ(TPropiedades::Propiedades(), dialog);
        auto* help = dialog->findChild<HelpWindow*>();
        ASSERT_NE(help, nullptr) << language.title;
        EXPECT_TRUE(help->isVisible());
        QTextBrowser* browser = help->browser();
        EXPECT_EQ(browser->documentTitle(), language.title);
        // The part on the "General" tab, which begins with its name in both languages.
        QTextBlock heading = browser->document()->begin();
        while (heading.isValid() && !heading.text().startsWith("General:"))
            heading = heading.next();
        ASSERT_TRUE(heading.isValid()) << language.title;
        EXPECT_GT(browser->verticalScrollBar()->value(), 0);
        EXPECT_TRUE(browser->viewport()->rect().contains(browser->cursorRect(QTextCursor(heading))))
            << language.title;
        // A key through the window system, which drops input to windows a
        // modal dialog blocks.
        QTest::keyClick(help->windowHandle(), Qt::Key_Home);
        EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
        cancel(dialog);
    }
}

// F1 shows the manual at the section on what has the focus, as "Ayuda"
// does in the properties dialog; each section is in both manuals.
TEST_F(PropiedadesTest, F1ShowsTheManualAtTheSectionOnWhatHasTheFocus)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 64ull << 30, 23ull << 30);
    TPrincipal* main = startMain();
    main->show();
    ApplicationPicker picker({});
    QStringList anchors[2];
    for (int i : { 0, 1 }) {
        QTextBrowser manual;
        manual.setSource(QUrl(i ? "qrc:/help/manual-en.html" : "qrc:/help/manual-es.html"));
        for (QTextBlock block = manual.document()->begin(); block.isValid(); block = block.next())
            for (auto part = block.begin(); !part.atEnd(); ++part)
                anchors[i] += part.fragment().charFormat().anchorNames();
    }
    // F1 in `window`, whose focus is set: the section shown.
    auto pressF1 = [&](QWidget* window, const QString& section) {
        SCOPED_TRACE(section.toStdString());
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        // The help window goes with a dialog that closes.
        QPointer<HelpWindow> help = window->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_FALSE(help.isNull());
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->browser()->source().fragment(), section);
        EXPECT_TRUE(anchors[0].contains(section) && anchors[1].contains(section));
        if (auto* dialog = qobject_cast<TPropiedades*>(window)) {
            help->browser()->setSource(QUrl());
            QTest::mouseClick(dialog->helpButton(), Qt::LeftButton);
            EXPECT_EQ(help->browser()->source().fragment(), section);
            cancel(dialog);
        }
        delete help.data();
    };
    pressF1(main, "shelf");
    auto& c = main->commands();
    using Kind = std::tuple<TSpButton*, const char*, const char*>;
    for (const auto& [item, kind, page] :
        std::initializer_list<Kind> { { c.newLauncher(), "launcher", "general" },
            { c.newFolder(), "folder", "general" }, { c.newClock(), "clock", "clock" },
            { c.newDrive(), "drive", "tiles" }, { c.newMemory(), "memory", "tiles" } }) {
        main->keyboard().markItem(item);
        pressF1(main, QString("item-") + kind);
        main->keyboard().markItem(nullptr);
        pressF1(openFromMenu(item), QString("properties-") + page);
    }
    openFromMenu(main->items()[0])->pages()->setCurrentIndex(1);
    pressF1(TPropiedades::Propiedades(), "properties-shortcut");
    state().calendar()->showToday();
    pressF1(state().calendar(), "calendar");
    picker.show();
    pressF1(&picker, "new-application");
}

TEST_F(PropiedadesTest, EveryControlFitsInsideItsParentForEachKind)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 5 * 1024ull * 1024 * 1024 / 2, 1024ull * 1024 * 1024,
        "SISTEMA", "ext4");
    TPrincipal* main = startMain();
    TSpButton* launcher = main->commands().newLauncher();
    launcher->setCaption("Editor");
    launcher->setComando("/usr/bin/editor");
    launcher->settag1(1);
    const QList<TSpButton*> items { launcher, main->commands().newFolder(), main->commands().newClock(),
        main->commands().newDrive(), main->commands().newMemory() };
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
        drive.usedBytes = drive.totalBytes - drive.freeBytes;
        if (item->clase() == Clase::Disco)
            emit dialog->workingCopy()->driveRefreshed(drive);
        if (item->clase() == Clase::Memoria)
            emit dialog->workingCopy()->memoryRefreshed(
                { 63, 16ull << 30, 5ull << 30, 20ull << 30, 9ull << 30 });
        for (int tab = 0; tab < 2; ++tab) {
            if (!dialog->pages()->isTabVisible(tab))
                continue;
            dialog->pages()->setCurrentIndex(tab);
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

TEST_F(PropiedadesTest, EveryStoredFontHeightGoesThroughEveryFontDialogInRange)
{
    TPrincipal* main = startMain();
    TSpButton* item = main->commands().newLauncher();
    // "Fuente por defecto" of the window and the properties dialog's font
    // button: the height each stores when the font dialog answers `chosen`.
    auto chooseBoth = [&](const std::optional<QFont>& chosen, const FontState& stored) {
        fake.choosers.font = chosen;
        main->setDefaultFont(stored);
        main->chooseDefaultFont();
        item->setOwnFont(stored);
        TPropiedades* dialog = openFromMenu(item);
        QTest::mouseClick(dialog->fontButton(), Qt::LeftButton);
        const auto heights
            = std::pair { main->defaultFont().height, dialog->workingCopy()->ownFont().height };
        dialog->reject();
        flushDeletes();
        return heights;
    };
    // Stored heights are any 32-bit figure; the dialogs start from, and
    // keep, the size items are drawn at.
    const std::pair<std::int32_t, int> cases[]
        = { { INT_MIN, tolm::items::kMaxFontPixels }, { INT_MIN + 1, tolm::items::kMaxFontPixels }, { -1, 1 },
              { 0, 1 }, { 1, 1 }, { INT_MAX, tolm::items::kMaxFontPixels } };
    for (const auto& [height, pixels] : cases) {
        SCOPED_TRACE(height);
        fake.choosers.fontRequests.clear();
        chooseBoth(std::nullopt, arial(height));
        ASSERT_EQ(fake.choosers.fontRequests.size(), 2);
        EXPECT_EQ(fake.choosers.fontRequests[0].pixelSize(), pixels);
        EXPECT_EQ(fake.choosers.fontRequests[1].pixelSize(), pixels);
        EXPECT_EQ(chooseBoth(fake.choosers.fontRequests[0], arial(height)), std::pair(-pixels, -pixels));
    }
    // A font dialog may answer in points, of any size.
    QFont huge(QStringLiteral("Arial"));
    huge.setPointSizeF(1e7);
    const int most = tolm::items::kMaxFontPixels;
    EXPECT_EQ(chooseBoth(huge, arial()), std::pair(-most, -most));
}
