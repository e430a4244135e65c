// Every change reaches its file as it is made, and only changes do: tiles
// refreshing their figures write nothing. Quitting stores open folders open
// at every depth; "Restaurar configuración" returns to the kept state.
#include "ShelfFixture.h"
#include "app/AutoSave.h"

#include <QTest>

using tolm::platform::Answer;

namespace {

int tagOfFirstItem(const tolm::store::ShelfFile& file)
{
    return file.items.empty() ? -1 : tolm::store::readSpButton(file.items[0]).tag;
}

} // namespace

TEST_F(ShelfTest, InputWritesAChangeSoonAndTickingTilesWriteNothing)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 1000 * 1024, 250 * 1024, "SISTEMA");
    TPrincipal* main = startMain();
    main->show();
    main->Reloj1Click();
    main->Memoria1Click();
    main->Disco1Click();
    // Any key or click may have changed a window; the pass a moment later finds what.
    QTest::keyClick(main, Qt::Key_Shift);
    QTRY_COMPARE_WITH_TIMEOUT(parse("tolm95.dat").items.size(), std::size_t(3), 5000);

    const QByteArray written = read("tolm95.dat");
    for (int second = 0; second < 90; ++second) {
        fake.clock.time = fake.clock.time.addSecs(1);
        fake.memory.figures.load = second % 100;
        fake.drives.drives[0].space.freeBytes += 4096 * 1024;
        main->Timer1Timer();
    }
    EXPECT_FALSE(main->hasUnwrittenChanges());
    main->autoSave()->saveNow();
    EXPECT_EQ(read("tolm95.dat"), written);
}

TEST_F(ShelfTest, QuittingStoresOpenFoldersOpenAtEveryDepthAndSavesEachWindowOnce)
{
    TPrincipal* main = startMain();
    main->NuevaCarpeta1Click()->SpButtonClick();
    TPrincipal* first = state().openFolderWindows.value(0);
    ASSERT_TRUE(first);
    first->NuevaCarpeta1Click()->SpButtonClick();
    TPrincipal* second = state().openFolderWindows.value(1);
    ASSERT_TRUE(second);
    // A window that cannot be written is said on standard error alone when
    // a signal ends the program, and closing the windows after the quit
    // says it no second time.
    QFile::remove("tolmc2.dat");
    ASSERT_TRUE(QDir().mkdir("tolmc2.dat"));
    second->Reloj1Click();
    main->setAskBeforeQuitting(false);
    main->close();
    // What Qt's quit does next: every window is asked to close, deepest first here.
    second->close();
    first->close();
    flushDeletes();
    EXPECT_EQ(tagOfFirstItem(parse("tolm95.dat")), 1);
    EXPECT_EQ(tagOfFirstItem(parse("tolmc1.dat")), 1);
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
}

TEST_F(ShelfTest, RestoreAsksThenReturnsToTheKeptStateOrTheStartOfTheRun)
{
    TPrincipal* main = startMain();
    main->Reloj1Click();
    ASSERT_TRUE(main->salvar());
    // Nothing kept yet: back to the empty shelf this run began with.
    main->Restaurarconfiguracin1Click();
    EXPECT_TRUE(main->items().isEmpty());
    EXPECT_TRUE(parse("tolm95.dat").items.empty());

    main->Reloj1Click();
    main->Guardarconfiguracin1Click();
    main->Memoria1Click();
    main->close();
    flushDeletes();
    ASSERT_EQ(parse("tolm95.dat").items.size(), 2u);

    // The kept state outlives the run.
    main = startMain();
    fake.messageBoxes.answer = Answer::Cancel;
    main->Restaurarconfiguracin1Click();
    EXPECT_EQ(main->items().size(), 2);
    fake.messageBoxes.answer = Answer::Ok;
    main->Restaurarconfiguracin1Click();
    EXPECT_EQ(main->items().size(), 1);
    EXPECT_EQ(parse("tolm95.dat").items.size(), 1u);
    EXPECT_EQ(messages().size(), 3);
}
