// Every change reaches its file as it is made, and only changes do: tiles
// refreshing their figures write nothing. "Restaurar configuración" returns
// to the kept state.
#include "ShelfFixture.h"
#include "app/AutoSave.h"

#include <QFileInfo>
#include <QTest>
#include <functional>

using tolm::platform::Answer;

TEST_F(ShelfTest, InputWritesAChangeSoonAndTickingTilesWriteNothing)
{
    fake.drives.add("c:\\", tolm::platform::DriveFixed, 1000 * 1024, 250 * 1024, "SISTEMA");
    TPrincipal* main = startMain();
    main->show();
    main->commands().newClock();
    main->commands().newMemory();
    main->commands().newDrive();
    // Any key or click may have changed a window; the pass a moment later finds what.
    QTest::keyClick(main, Qt::Key_Shift);
    ASSERT_TRUE(QTest::qWaitFor([&] { return parse("tolm95.dat").items.size() == 3; }, 5000));

    const QByteArray written = read("tolm95.dat");
    for (int second = 0; second < 90; ++second) {
        fake.clock.time = fake.clock.time.addSecs(1);
        fake.memory.figures.load = second % 100;
        fake.drives.drives[0].space.availableBytes += 4096 * 1024;
        main->refreshTimerItems();
    }
    EXPECT_FALSE(main->document().hasUnwrittenChanges());
    main->autoSave()->saveNow();
    EXPECT_EQ(read("tolm95.dat"), written);
    // Nor does quitting: in a synced folder each write is a new version.
    main->close();
    flushDeletes();
    EXPECT_EQ(read("tolm95.dat"), written);

    // A change the automatic save has not seen yet is written by quitting.
    state().quitting = false;
    main = startMain();
    main->commands().newClock();
    main->close();
    flushDeletes();
    EXPECT_NE(read("tolm95.dat"), written);
}

TEST_F(ShelfTest, RestoreAsksThenReturnsToTheKeptStateOrTheStartOfTheRun)
{
    TPrincipal* main = startMain();
    main->commands().newClock();
    ASSERT_TRUE(main->document().save());
    // Nothing kept yet: back to the empty shelf this run began with.
    tolm::app::restoreSettings();
    EXPECT_TRUE(main->items().isEmpty());
    EXPECT_TRUE(parse("tolm95.dat").items.empty());

    main->commands().newClock();
    tolm::app::saveSettings();
    main->commands().newMemory();
    main->close();
    flushDeletes();
    ASSERT_EQ(parse("tolm95.dat").items.size(), 2u);

    // The kept state outlives the run.
    main = startMain();
    fake.messageBoxes.answer = Answer::Cancel;
    tolm::app::restoreSettings();
    EXPECT_EQ(main->items().size(), 2);
    fake.messageBoxes.answer = Answer::Ok;
    tolm::app::restoreSettings();
    EXPECT_EQ(main->items().size(), 1);
    EXPECT_EQ(parse("tolm95.dat").items.size(), 1u);
}

namespace {

const QByteArray kForeign("\x01\x02\x03\x04 not a shelf at all, but the user's data", 44);
const QString kKeptMain = QStringLiteral(".tolm-guardado/tolm95.dat");

} // namespace

TEST_F(ShelfTest, KeepingNeverReplacesTheKeptCopyWithAnUnsoundOne)
{
    TPrincipal* main = startMain();
    main->commands().newClock();
    main->commands().newFolder();
    tolm::app::saveSettings();
    ASSERT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    const QByteArray kept = read(kKeptMain), mainFile = read("tolm95.dat"), folderFile = read("tolmc1.dat");
    const struct {
        const char* file;
        QByteArray bytes;
    } cases[]
        = { { "tolm95.dat", kForeign }, { "tolm95.dat", mainFile.chopped(5) }, { "tolmc1.dat", kForeign } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + std::to_string(c.bytes.size()));
        fake.messageBoxes.boxes.clear();
        write(c.file, c.bytes);
        tolm::app::saveSettings();
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(
            messages()[0].contains("No se puede guardar la configuración") && messages()[0].contains(c.file))
            << messages()[0].toStdString();
        EXPECT_EQ(read(kKeptMain), kept);
        EXPECT_TRUE(exists(".tolm-guardado/tolmc1.dat"));
        EXPECT_TRUE(
            QDir(shelfPath()).entryList({ ".tolm-guardado.*" }, QDir::AllEntries | QDir::Hidden).isEmpty());
        write("tolm95.dat", mainFile);
        write("tolmc1.dat", folderFile);
    }
    // Sound again: the next copy, the user's alone, replaces the old whole.
    fake.messageBoxes.boxes.clear();
    main->commands().newMemory();
    tolm::app::saveSettings();
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    EXPECT_EQ(parse(kKeptMain).items.size(), 3u);
    EXPECT_FALSE(QFileInfo(path(".tolm-guardado")).permissions() & (QFile::ReadGroup | QFile::ReadOther));
}

TEST_F(ShelfTest, RestoreSaysWhyItCannotPutTheKeptCopyBackAndChangesNothing)
{
    TPrincipal* main = startMain();
    main->commands().newClock();
    tolm::app::saveSettings();
    main->commands().newMemory();
    ASSERT_TRUE(main->document().save());
    const QByteArray now = read("tolm95.dat"), kept = read(kKeptMain);
    QTemporaryDir elsewhere;
    // A sound copy moved out of the way, and a link to it in its place.
    auto linkInPlace = [&](const QString& name) {
        const QString aside = elsewhere.filePath(QFileInfo(name).fileName());
        ASSERT_TRUE(QFile::rename(path(name), aside) && QFile::link(aside, path(name)));
    };
    const struct {
        const char* what;
        std::function<void()> spoil;
    } cases[] = {
        { "not a shelf file", [&] { write(kKeptMain, kForeign); } },
        { "cut short", [&] { write(kKeptMain, kept.chopped(5)); } },
        { "missing", [&] { QFile::remove(path(kKeptMain)); } },
        { "its folder a link", [&] { linkInPlace(".tolm-guardado"); } },
        { "a link", [&] { linkInPlace(kKeptMain); } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.messageBoxes.boxes.clear();
        c.spoil();
        tolm::app::restoreSettings();
        ASSERT_EQ(messages().size(), 1);
        EXPECT_FALSE(fake.messageBoxes.boxes[0].question);
        EXPECT_TRUE(messages()[0].contains("No se puede restaurar")) << messages()[0].toStdString();
        EXPECT_EQ(read("tolm95.dat"), now);
        EXPECT_EQ(main->items().size(), 2);
        QFile::remove(path(".tolm-guardado"));
        QDir(path(".tolm-guardado")).removeRecursively();
        QDir().mkdir(path(".tolm-guardado"));
        write(kKeptMain, kept);
    }
    // A sound copy comes back, after the question.
    fake.messageBoxes.boxes.clear();
    tolm::app::restoreSettings();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(fake.messageBoxes.boxes[0].question);
    EXPECT_EQ(read("tolm95.dat"), kept);
    EXPECT_EQ(main->items().size(), 1);
}

// A folder file may have any name a directory entry may have; what is kept
// beside it has a name that fits too.
TEST_F(ShelfTest, WhatIsKeptBesideAFileOfTheLongestNameFits)
{
    const QString name = QString(246, QLatin1Char('c')) + ".dat";
    for (const bool foreign : { false, true }) {
        SCOPED_TRACE(foreign ? "a recovery file" : "a conflict copy");
        closeAll();
        for (const QString& file : QDir(shelfPath()).entryList(QDir::Files))
            QFile::remove(path(file));
        fake.messageBoxes.boxes.clear();
        write("tolm95.dat", shelfOf({ folderState(name.toStdString(), true) }));
        write(name, foreign ? QByteArray("no es una bandeja") : shelfOf({}));
        startMain();
        ASSERT_EQ(state().openFolderWindows.size(), 1);
        TPrincipal* folder = state().openFolderWindows.first();
        const qsizetype loadBoxes = messages().size();
        folder->commands().newClock();
        if (!foreign)
            write(name, shelfOf({ folderState("tolmc9.dat", false) }));
        folder->document().save();
        QCoreApplication::processEvents();

        QStringList beside = QDir(shelfPath()).entryList({ name.left(100) + "*" }, QDir::Files);
        beside.removeAll(name);
        ASSERT_EQ(beside.size(), 1) << beside.join(' ').toStdString();
        EXPECT_EQ(parse(beside.first()).items.size(), 1u);
        ASSERT_EQ(messages().size(), loadBoxes + 1);
        EXPECT_TRUE(messages().last().contains(beside.first())) << messages().last().toStdString();
        EXPECT_FALSE(messages().last().contains("No se puede guardar")) << messages().last().toStdString();
    }
}
