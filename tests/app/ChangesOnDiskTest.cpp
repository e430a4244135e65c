// Another machine's sync service, or another program, replaces shelf files
// the way sync services do: a new file written beside the old one and
// renamed over it, by another process.
#include "ShelfFixture.h"
#include "app/AutoSave.h"
#include "app/ShelfWatch.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sys/stat.h>

namespace {

class ChangesOnDiskTest : public ShelfTest {
protected:
    // The main file as the other machine has it: what is on disk, with one
    // item more (a copy of the window's first).
    QByteArray withOneMoreItem(TPrincipal* main) const
    {
        const TSpButton* first = main->items().first();
        std::vector<std::uint8_t> record;
        tolm::store::writeRecord(
            tolm::store::writeSpButton(first->toState(main->menuReference(first->claseValue()))), record);
        return read("tolm95.dat") + QByteArray(reinterpret_cast<const char*>(record.data()), record.size());
    }

    void replaceFromOutside(const QByteArray& bytes) const
    {
        write(".tolm95.dat.sync-tmp", bytes);
        ASSERT_EQ(QProcess::execute("mv", { path(".tolm95.dat.sync-tmp"), path("tolm95.dat") }), 0);
    }

    QStringList conflictCopies() const
    {
        return QDir(shelfPath()).entryList({ "tolm95-conflicto-*.dat" }, QDir::Files);
    }

    static bool makeFifo(const QString& path)
    {
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    }

    // Identity, kind, size and time of what stands at `path`, and of what a
    // link there leads to.
    static std::vector<std::int64_t> statusAt(const QString& path)
    {
        std::vector<std::int64_t> status;
        struct stat own {
        }, target {};
        ::lstat(QFile::encodeName(path).constData(), &own);
        ::stat(QFile::encodeName(path).constData(), &target);
        for (const struct stat& info : { own, target })
            status.insert(status.end(),
                { std::int64_t(info.st_ino), info.st_mode, info.st_size, info.st_mtim.tv_sec,
                    info.st_mtim.tv_nsec });
        return status;
    }

    // Empties the shelf folder between the rows of a table.
    void clearShelf()
    {
        closeAll();
        QDir folder(shelfPath());
        for (const QFileInfo& entry :
            folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (entry.isDir() && !entry.isSymLink())
                QDir(entry.filePath()).removeRecursively();
            else
                QFile::remove(entry.filePath());
        }
        fake.messageBoxes.boxes.clear();
    }
};

TEST_F(ChangesOnDiskTest, ReachTheWindowAndNeverGoUnderItsWork)
{
    TPrincipal* main = startMain();
    main->commands().newClock();
    ASSERT_TRUE(main->document().save());

    // A window holding nothing unwritten shows what came.
    replaceFromOutside(withOneMoreItem(main));
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->items().size() == 2; }, 10000));
    EXPECT_TRUE(conflictCopies().isEmpty());

    // The user's change is not written yet when the file changes again: the
    // write finds the change, keeps the file and puts the user's work beside it.
    main->commands().newMemory();
    const QByteArray theirs = withOneMoreItem(main);
    replaceFromOutside(theirs);
    EXPECT_TRUE(main->document().save());
    EXPECT_EQ(read("tolm95.dat"), theirs);
    ASSERT_EQ(conflictCopies().size(), 1);
    EXPECT_EQ(parse(conflictCopies().first()).items.size(), 3u);
    // Then the window shows the file, and one box says where its work went.
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages().size() == 1; }, 10000));
    EXPECT_TRUE(messages().first().contains(conflictCopies().first()));
    EXPECT_FALSE(main->document().hasUnwrittenChanges());
    EXPECT_EQ(read("tolm95.dat"), theirs);

    // What the user adds then is written with what came from outside.
    main->commands().newClock();
    ASSERT_TRUE(main->document().save());
    EXPECT_EQ(parse("tolm95.dat").items.size(), 4u);
    QTest::qWait(2 * tolm::app::ShelfWatch::kSettleMs);
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(conflictCopies().size(), 1);
}

// A write goes to the file the window read, or beside it: whatever another
// program leaves at the file's name after the read is its own, however it
// got there, and is never written into or through.
TEST_F(ChangesOnDiskTest, AWriteGoesOnlyToTheFileReadOrBesideIt)
{
    QTemporaryDir outside;
    const QString fifo = outside.filePath("tuberia");
    const QString large = outside.filePath("grande.iso");
    // Root reads any file; one over the size a shelf file may have is
    // refused to everyone.
    auto makeLarge = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize(qint64(tolm::store::kMaxShelfFileBytes) + 1);
    };
    const std::vector<std::pair<const char*, std::function<void()>>> cases {
        { "a link to a FIFO", [&] { ASSERT_TRUE(makeFifo(fifo) && QFile::link(fifo, path("otro"))); } },
        { "a link to a large file elsewhere",
            [&] { ASSERT_TRUE(makeLarge(large) && QFile::link(large, path("otro"))); } },
        { "a directory", [&] { ASSERT_TRUE(QDir().mkdir(path("otro"))); } },
        { "a FIFO", [&] { ASSERT_TRUE(makeFifo(path("otro"))); } },
        { "a file that cannot be read", [&] { ASSERT_TRUE(makeLarge(path("otro"))); } },
        { "another shelf file", [&] { write("otro", shelfOf({})); } },
    };
    for (const auto& [what, put] : cases) {
        SCOPED_TRACE(what);
        clearShelf();
        TPrincipal* main = startMain();
        main->commands().newClock();
        ASSERT_TRUE(main->document().save());
        main->commands().newMemory();
        put();
        ASSERT_TRUE(QFile::remove(path("tolm95.dat")) && QFile::rename(path("otro"), path("tolm95.dat")));
        const auto before = statusAt(path("tolm95.dat"));
        main->document().save();
        QCoreApplication::processEvents();
        EXPECT_EQ(statusAt(path("tolm95.dat")), before);
        // The user's work is kept beside the file, and one box says where.
        ASSERT_EQ(conflictCopies().size(), 1);
        EXPECT_EQ(parse(conflictCopies().first()).items.size(), 2u);
        ASSERT_TRUE(QTest::qWaitFor([&] { return messages().size() == 1; }, 5000));
        EXPECT_TRUE(messages().first().contains(conflictCopies().first()))
            << messages().first().toStdString();
    }

    // The user's own link, there when the file was first read, is written
    // through and stays.
    clearShelf();
    const QString own = outside.filePath("propio.dat");
    write(own, shelfOf({}));
    ASSERT_TRUE(QFile::link(own, path("tolm95.dat")));
    startMain()->commands().newClock();
    ASSERT_TRUE(state().mainWindow->document().save());
    EXPECT_TRUE(QFileInfo(path("tolm95.dat")).isSymLink());
    EXPECT_EQ(parse(own).items.size(), 1u);
    EXPECT_TRUE(conflictCopies().isEmpty());
}

// A file another program is rewriting in place, read half written, fails
// to load; its window shows the file again once it is whole, and writes
// nothing of its own until the user changes something.
TEST_F(ChangesOnDiskTest, AWindowWhoseFileFailedToLoadShowsItOnceItIsWhole)
{
    TPrincipal* main = startMain();
    main->commands().newClock();
    main->commands().newMemory();
    ASSERT_TRUE(main->document().save());
    const QByteArray whole = withOneMoreItem(main);
    const qsizetype halfway = read("tolm95.dat").size() + 10;
    // Every box runs the event loop, and with it the automatic save.
    fake.messageBoxes.whileOpen = [this] { state().mainWindow->autoSave()->saveNow(); };

    QFile inPlace(path("tolm95.dat"));
    ASSERT_TRUE(inPlace.open(QIODevice::WriteOnly));
    inPlace.write(whole.left(halfway));
    inPlace.flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->document().loadFailed(); }, 10000));
    ASSERT_EQ(messages().size(), 1);
    main->autoSave()->saveNow();
    EXPECT_EQ(messages().size(), 1) << messages().join('\n').toStdString();
    EXPECT_FALSE(exists("tolm95-recuperado.dat"));
    // A change of the user's is kept beside the file, and said.
    main->commands().newClock();
    main->autoSave()->saveNow();
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages()[1].contains("tolm95-recuperado.dat"));
    EXPECT_EQ(parse("tolm95-recuperado.dat").items.size(), 3u);

    // The writer ends with a whole file in its place.
    inPlace.close();
    replaceFromOutside(whole);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main->document().loadFailed(); }, 10000));
    EXPECT_EQ(main->items().size(), 3);
    main->commands().newMemory();
    ASSERT_TRUE(main->document().save());
    EXPECT_EQ(parse("tolm95.dat").items.size(), 4u);
    EXPECT_EQ(parse("tolm95-recuperado.dat").items.size(), 3u);
}

} // namespace
