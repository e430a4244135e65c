// Saves that fail are said in one message box naming the file and the
// reason, and nothing on the windows is lost: a later save can still store it.
#include "ShelfFixture.h"
#include "app/AutoSave.h"

#include <QPointer>
#include <cstring>

using tolm::platform::Answer;

namespace {

// In the language the messages use, known once the application has started.
QString inTheWay()
{
    return QString::fromLocal8Bit(std::strerror(EEXIST));
}

} // namespace

class SaveFailureTest : public ShelfTest {
protected:
    // The main window with a memory tile and an open folder holding a clock.
    TPrincipal* startWithAnOpenFolder()
    {
        TPrincipal* main = startMain();
        state().pressPoint = QPoint(0, 0);
        TSpButton* folder = main->commands().newFolder();
        state().pressPoint = QPoint(40, 0);
        main->commands().newMemory();
        folder->activate();
        EXPECT_EQ(state().openFolderWindows.size(), 1);
        m_folderWindow = state().openFolderWindows.value(0);
        if (m_folderWindow)
            m_folderWindow->commands().newClock();
        return main;
    }

    // Folders in the way of every temporary file a save of a shelf file
    // tries make each save of that file fail, whoever runs the test (root
    // writes into read-only folders); the file itself stays as it was read.
    void block(const QString& name)
    {
        for (const QString& temp : temporaryNames(name))
            ASSERT_TRUE(QDir().mkdir(path(temp)));
    }
    void unblock(const QString& name)
    {
        for (const QString& temp : temporaryNames(name))
            ASSERT_TRUE(QDir().rmdir(path(temp)));
    }
    static QStringList temporaryNames(const QString& name)
    {
        QStringList names;
        for (int attempt = 0; attempt < 100; ++attempt)
            names.append(QString::fromStdString(tolm::store::tempFileNameFor(
                name.toStdString(), QCoreApplication::applicationPid(), attempt)));
        return names;
    }

    qsizetype boxesShown() const { return fake.messageBoxes.boxes.size(); }
    QString lastBox() const
    {
        return fake.messageBoxes.boxes.isEmpty() ? QString() : fake.messageBoxes.boxes.last().text;
    }

    QPointer<TPrincipal> m_folderWindow;
};

TEST_F(SaveFailureTest, SavingEveryWindowSaysAllFailuresInOneBoxAndALaterSaveStoresThem)
{
    TPrincipal* main = startWithAnOpenFolder();
    ASSERT_TRUE(m_folderWindow);
    block("tolm95.dat");
    block("tolmc1.dat");
    const qsizetype before = boxesShown();

    tolm::app::saveSettings();
    ASSERT_EQ(boxesShown(), before + 1);
    EXPECT_TRUE(lastBox().contains("No se puede guardar el fichero tolm95.dat")) << lastBox().toStdString();
    EXPECT_TRUE(lastBox().contains("No se puede guardar el fichero tolmc1.dat")) << lastBox().toStdString();
    EXPECT_TRUE(lastBox().contains("No se puede guardar el fichero tolm95.dat: " + inTheWay()))
        << lastBox().toStdString();
    EXPECT_TRUE(lastBox().contains("No se puede guardar el fichero tolmc1.dat: " + inTheWay()))
        << lastBox().toStdString();
    // The temporary file a save writes first is no concern of the user's.
    EXPECT_FALSE(lastBox().contains(".tmp")) << lastBox().toStdString();
    EXPECT_TRUE(main->document().saveFailed());
    EXPECT_EQ(main->items().size(), 2);
    EXPECT_EQ(m_folderWindow->items().size(), 1);

    // Once the files can be written, the same windows are saved whole, silently.
    unblock("tolm95.dat");
    unblock("tolmc1.dat");
    tolm::app::saveSettings();
    EXPECT_EQ(boxesShown(), before + 1) << lastBox().toStdString();
    EXPECT_FALSE(main->document().saveFailed());
    EXPECT_EQ(parse("tolm95.dat").items.size(), 2);
    EXPECT_EQ(parse("tolmc1.dat").items.size(), 1);
    // No temporary file of the failed attempts is left behind.
    EXPECT_EQ(
        QDir(shelfPath()).entryList(QStringList({ ".*tmp*" }), QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(SaveFailureTest, AFolderWindowThatCannotBeSavedStaysOpenWithItsItems)
{
    TPrincipal* main = startWithAnOpenFolder();
    ASSERT_TRUE(m_folderWindow);
    // A second folder inside the first, open too; its file is the one in the way.
    state().pressPoint = QPoint(40, 0);
    TSpButton* inner = m_folderWindow->commands().newFolder();
    inner->activate();
    ASSERT_EQ(state().openFolderWindows.size(), 2);
    QPointer<TPrincipal> innerWindow = state().openFolderWindows.value(1);
    ASSERT_TRUE(innerWindow);
    innerWindow->commands().newClock();
    block("tolmc2.dat");
    const qsizetype before = boxesShown();

    m_folderWindow->close();
    flushDeletes();
    ASSERT_EQ(boxesShown(), before + 1);
    EXPECT_TRUE(lastBox().contains("tolmc2.dat")) << lastBox().toStdString();
    EXPECT_TRUE(lastBox().contains(inTheWay()));
    // The outer window saved itself but stays, since a window below it could not close.
    ASSERT_TRUE(m_folderWindow);
    ASSERT_TRUE(innerWindow);
    EXPECT_TRUE(state().isOpen(m_folderWindow));
    EXPECT_TRUE(state().isOpen(innerWindow));
    EXPECT_EQ(innerWindow->items().size(), 1);
    EXPECT_EQ(parse("tolmc1.dat").items.size(), 2);

    unblock("tolmc2.dat");
    m_folderWindow->close();
    flushDeletes();
    EXPECT_EQ(boxesShown(), before + 1) << lastBox().toStdString();
    EXPECT_FALSE(m_folderWindow);
    EXPECT_FALSE(innerWindow);
    EXPECT_EQ(parse("tolmc2.dat").items.size(), 1);
    EXPECT_EQ(main->items().value(0)->Tag(), 0);
}

TEST_F(SaveFailureTest, QuittingWithAFileThatCannotBeSavedAsksFirst)
{
    QPointer<TPrincipal> main = startWithAnOpenFolder();
    block("tolmc1.dat");
    const qsizetype before = boxesShown();

    // Cancel: Tolm stays with everything on it.
    fake.messageBoxes.answer = Answer::Cancel;
    main->close();
    flushDeletes();
    ASSERT_EQ(boxesShown(), before + 1);
    EXPECT_TRUE(fake.messageBoxes.boxes.last().question);
    EXPECT_TRUE(lastBox().contains("tolmc1.dat")) << lastBox().toStdString();
    ASSERT_TRUE(main);
    EXPECT_EQ(main->items().size(), 2);
    ASSERT_TRUE(m_folderWindow);
    EXPECT_EQ(m_folderWindow->items().size(), 1);

    // Ended by a signal or the session, no one answers: it says nothing and ends.
    main->setAskBeforeQuitting(false);
    main->close();
    flushDeletes();
    EXPECT_EQ(boxesShown(), before + 1);
    EXPECT_FALSE(main);
    unblock("tolmc1.dat");
}

TEST_F(SaveFailureTest, TheAutomaticSaveSaysAFailureOncePerEpisode)
{
    TPrincipal* main = startMain();
    block("tolm95.dat");
    main->commands().newClock();
    main->autoSave()->saveNow();
    main->autoSave()->saveNow();
    ASSERT_EQ(boxesShown(), 1);
    EXPECT_TRUE(lastBox().contains("tolm95.dat: " + inTheWay())) << lastBox().toStdString();
    unblock("tolm95.dat");
    main->autoSave()->saveNow();
    EXPECT_EQ(parse("tolm95.dat").items.size(), 1u);

    block("tolm95.dat");
    main->commands().newMemory();
    main->autoSave()->saveNow();
    EXPECT_EQ(boxesShown(), 2);
    unblock("tolm95.dat");
}

// A box runs the event loop, and with it the automatic save; after the box
// the automatic save comes again. Neither says a failure a box has said.
TEST_F(SaveFailureTest, AFailureIsSaidInOneBox)
{
    TPrincipal* main = startWithAnOpenFolder();
    block("tolmc1.dat");
    fake.messageBoxes.whileOpen = [main] { main->autoSave()->saveNow(); };

    tolm::app::saveSettings();
    main->autoSave()->saveNow();
    ASSERT_EQ(boxesShown(), 1);
    EXPECT_TRUE(lastBox().contains("tolmc1.dat: " + inTheWay())) << lastBox().toStdString();

    m_folderWindow->commands().newMemory();
    EXPECT_FALSE(m_folderWindow->close());
    main->autoSave()->saveNow();
    EXPECT_EQ(boxesShown(), 2);
    unblock("tolmc1.dat");
}

TEST_F(SaveFailureTest, StartingInAnUnwritableFolderSaysSoOnce)
{
    // A read-only folder stops an ordinary user; root writes anywhere on a
    // normal file system, but not in /proc.
    QString unwritable = path("solo-lectura");
    ASSERT_TRUE(QDir().mkdir(unwritable));
    QFile::setPermissions(unwritable, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFile probe(unwritable + "/probe"); probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        unwritable = QStringLiteral("/proc");
        if (!QFileInfo::exists("/proc/self"))
            GTEST_SKIP() << "no folder here that this user cannot write";
    }
    state().shelfFolder = unwritable.toStdString();

    TPrincipal* main = startMain();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains(unwritable)) << messages()[0].toStdString();
    EXPECT_TRUE(messages()[0].contains("--dir")) << messages()[0].toStdString();
    // An empty shelf, not a broken file: its later contents go to tolm95.dat.
    EXPECT_FALSE(main->document().loadFailed());

    state().pressPoint = QPoint(10, 10);
    main->commands().newClock();
    tolm::app::saveSettings();
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages()[1].contains("No se puede guardar el fichero tolm95.dat"))
        << messages()[1].toStdString();
    QFile::setPermissions(
        path("solo-lectura"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
