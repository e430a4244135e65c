// Shelf content never reaches outside the shelf folder, and what the user
// puts on a window is never dropped without a word.
#include "ShelfFixture.h"
#include "app/AutoSave.h"

#include <QTemporaryDir>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using tolm::store::Clase;
using tolm::store::SpButtonState;

namespace {

// Names a hostile file could give a folder, each pointing at a file the test
// watches: outside the shelf folder, the main file, a folder in a sub-folder.
struct HostileNames {
    explicit HostileNames(const QString& folder)
        : shelf(folder)
    { }
    QDir shelf;
    QTemporaryDir outside;
    QString parentName = QStringLiteral("tolm-trust-%1.dat").arg(QCoreApplication::applicationPid());

    QStringList names() const
    {
        return { QStringLiteral("../") + parentName, outside.filePath(QStringLiteral("abs.dat")),
            QStringLiteral("tolm95.dat"), QStringLiteral("sub/tolmc1.dat"), QStringLiteral("..") };
    }
    // Every file those names reach, other than the main file.
    QStringList watched() const
    {
        return { shelf.absoluteFilePath(QStringLiteral("../") + parentName),
            outside.filePath(QStringLiteral("abs.dat")), shelf.filePath(QStringLiteral("sub/tolmc1.dat")) };
    }
    ~HostileNames() { QFile::remove(shelf.absoluteFilePath(QStringLiteral("../") + parentName)); }
};

} // namespace

TEST_F(ShelfTest, FoldersStoredOpenWithHostileNamesOpenAndWriteNothing)
{
    HostileNames hostile { shelfPath() };
    std::vector<SpButtonState> folders;
    for (const QString& name : hostile.names())
        folders.push_back(folderState(name.toStdString(), true));
    const QByteArray original = shelfOf(folders);
    write("tolm95.dat", original);
    QDir().mkdir(path("sub"));

    TPrincipal* main = startMain();
    EXPECT_TRUE(state().openFolderWindows.isEmpty());
    ASSERT_EQ(messages().size(), hostile.names().size());
    EXPECT_TRUE(messages()[0].contains("Peligro")) << messages()[0].toStdString();
    EXPECT_TRUE(messages()[0].contains("../" + hostile.parentName)) << messages()[0].toStdString();
    // Refused folders are stored closed; nothing else about them changes.
    for (TSpButton* item : main->items())
        EXPECT_EQ(item->Tag(), 0);

    tolm::app::restoreSettings();
    flushDeletes();
    EXPECT_TRUE(state().openFolderWindows.isEmpty());
    main->close();
    flushDeletes();
    for (const QString& file : hostile.watched())
        EXPECT_FALSE(QFile::exists(file)) << file.toStdString();
    const auto saved = parse("tolm95.dat");
    ASSERT_EQ(saved.items.size(), folders.size());
}

TEST_F(ShelfTest, DeletingAHostileFolderRemovesOnlyTheItem)
{
    HostileNames hostile { shelfPath() };
    const QByteArray victim = shelfOf({});
    QDir().mkdir(path("sub"));
    for (const QString& file : hostile.watched())
        write(file, victim);
    const QByteArray notes("apuntes del usuario, no una bandeja");
    write("notes.txt", notes);
    QStringList names = hostile.names();
    names.append(QStringLiteral("notes.txt"));

    TPrincipal* main = startMain();
    const QByteArray mainBytes = read("tolm95.dat");
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        TSpButton* folder = main->commands().newFolder();
        QFile::remove(path(folder->Comando()));
        folder->setComando(name);
        state().currentItem = folder;
        main->commands().deleteFolder();
        flushDeletes();
        EXPECT_FALSE(main->items().contains(folder));
    }
    for (const QString& file : hostile.watched())
        EXPECT_EQ(read(file), victim) << file.toStdString();
    EXPECT_EQ(read("notes.txt"), notes);
    EXPECT_EQ(read("tolm95.dat"), mainBytes);
}

TEST_F(ShelfTest, AFolderTreeKeepsFilesThatAreNotShelves)
{
    const QByteArray foreign("otro programa escribió esto aquí, con bastantes bytes");
    write("tolmc2.dat", foreign);
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    folder->activate();
    TSpButton* inner = TPrincipal::folderWindowOf(folder)->commands().newFolder();
    ASSERT_EQ(inner->Comando(), "tolmc3.dat");
    inner->setComando("tolmc2.dat");
    QFile::remove(path("tolmc3.dat"));
    tolm::app::saveSettings();

    state().currentItem = folder;
    main->commands().deleteFolder();
    flushDeletes();
    EXPECT_FALSE(exists("tolmc1.dat"));
    EXPECT_EQ(read("tolmc2.dat"), foreign);
}

TEST_F(ShelfTest, AHostileCutFolderClearedFromTheBufferDeletesNothing)
{
    HostileNames hostile { shelfPath() };
    QDir().mkdir(path("sub"));
    for (const QString& file : hostile.watched())
        write(file, shelfOf({}));
    TPrincipal* main = startMain();
    TSpButton* folder = main->commands().newFolder();
    QFile::remove(path(folder->Comando()));
    folder->setComando(QStringLiteral("../") + hostile.parentName);
    state().currentItem = folder;
    main->commands().cut();
    ASSERT_EQ(state().cutBuffer(), folder);

    // Pasting it elsewhere moves the item and touches no file.
    TSpButton* other = main->commands().newFolder();
    other->activate();
    TPrincipal* window = TPrincipal::folderWindowOf(other);
    state().pressPoint = QPoint(5, 5);
    window->commands().paste();
    EXPECT_EQ(TPrincipal::windowOf(folder), window);
    state().currentItem = folder;
    window->commands().cut();

    // Cutting something else asks to clear the buffered folder: answered OK.
    state().currentItem = window->commands().newClock();
    window->commands().cut();
    EXPECT_FALSE(window->items().contains(folder));
    for (const QString& file : hostile.watched())
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
}

TEST_F(ShelfTest, ItemsAddedToAWindowThatCouldNotLoadAreKeptBesideIt)
{
    const QByteArray foreign("\x01\x02\x03\x04 not a shelf at all, but the user's data", 44);
    write("tolm95.dat", foreign);
    write("tolm95-recuperado.dat", "ocupado");
    TPrincipal* main = startMain();
    fake.messageBoxes.boxes.clear();

    // Nothing added: nothing written; only that the state cannot be kept is said.
    tolm::app::saveSettings();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("No se puede guardar la configuración"))
        << messages()[0].toStdString();
    EXPECT_FALSE(exists("tolm95-recuperado2.dat"));
    fake.messageBoxes.boxes.clear();

    TSpButton* clock = main->commands().newClock();
    tolm::app::saveSettings();
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages()[0].contains("tolm95-recuperado2.dat")) << messages()[0].toStdString();
    // A ticking clock is no change of the user's; a change goes to the same
    // file, said once, and never through a link planted at its name.
    for (int second = 0; second < 5; ++second) {
        fake.clock.time = fake.clock.time.addSecs(61);
        main->refreshTimerItems();
        EXPECT_FALSE(main->document().hasUnwrittenChanges());
    }
    write("outside.dat", "del usuario");
    QFile::remove(path("tolm95-recuperado2.dat"));
    ASSERT_TRUE(QFile::link(path("outside.dat"), path("tolm95-recuperado2.dat")));
    clock->move(30, 40);
    main->close();
    flushDeletes();
    EXPECT_EQ(read("tolm95.dat"), foreign);
    EXPECT_EQ(read("outside.dat"), "del usuario");
    EXPECT_FALSE(exists("tolm95-recuperado3.dat"));
    EXPECT_EQ(messages().size(), 2);
    const auto kept = parse("tolm95-recuperado2.dat");
    ASSERT_EQ(kept.items.size(), 1);
    EXPECT_EQ(kept.items[0].className, "TSpButton");

    // Renamed as the message says, the kept items load.
    QFile::remove(path("tolm95.dat"));
    QFile::rename(path("tolm95-recuperado2.dat"), path("tolm95.dat"));
    TPrincipal* again = startMain();
    ASSERT_EQ(again->items().size(), 1);
    EXPECT_EQ(again->items()[0]->clase(), Clase::Reloj);
    EXPECT_EQ(again->items()[0]->pos(), QPoint(30, 40));
}

TEST_F(ShelfTest, AWindowIsNeverWrittenHalfLoaded)
{
    // A folder stored open whose file is no shelf says so while the main
    // window is still loading; the automatic save may run meanwhile.
    SpButtonState clock;
    clock.clase = static_cast<std::uint8_t>(Clase::Reloj);
    const QByteArray original = shelfOf({ folderState("tolmc1.dat", true), clock });
    write("tolm95.dat", original);
    write("tolmc1.dat", "no es una bandeja");
    fake.messageBoxes.whileOpen = [this] { state().mainWindow->autoSave()->saveNow(); };
    EXPECT_EQ(startMain()->items().size(), 2);
    EXPECT_EQ(read("tolm95.dat"), original);
}

TEST_F(ShelfTest, AFifoAsTheShelfFileIsRefusedWithoutWaitingForAWriter)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("tolm95.dat")).constData(), 0600), 0);
    TPrincipal* main = startMain();
    EXPECT_TRUE(main->document().loadFailed());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("tolm95.dat")) << messages()[0].toStdString();
    main->commands().newClock();
    main->close();
    flushDeletes();
    EXPECT_TRUE(QFileInfo(path("tolm95.dat")).isFile() == false && QFileInfo::exists(path("tolm95.dat")));
}

TEST_F(ShelfTest, AFileWithMoreItemsThanAWindowHoldsIsRefusedWhole)
{
    std::vector<SpButtonState> many(tolm::app::WindowDocument::maxItems() + 1);
    const QByteArray original = shelfOf(many);
    write("tolm95.dat", original);
    TPrincipal* main = startMain();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("tolm95.dat")) << messages()[0].toStdString();
    EXPECT_TRUE(messages()[0].contains(QString::number(tolm::app::WindowDocument::maxItems() + 1)))
        << messages()[0].toStdString();
    EXPECT_TRUE(main->items().isEmpty());
    EXPECT_TRUE(main->document().loadFailed());
    main->close();
    flushDeletes();
    EXPECT_EQ(read("tolm95.dat"), original);
}

TEST_F(ShelfTest, StartRemovesTemporaryFilesOfInterruptedSaves)
{
    // A child that has exited stands for a process killed mid-save.
    const pid_t child = ::fork();
    if (child == 0)
        std::_Exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    const QString stale = QStringLiteral(".tolm95.dat.tmp%1-0").arg(child);
    const QString live = QStringLiteral(".tolmc1.dat.tmp%1-0").arg(::getpid());
    write(stale, "a medio escribir");
    write(live, "escribiéndose");
    write(".notas.txt.tmp1-0", "no es nuestro");
    startMain();
    EXPECT_FALSE(exists(stale));
    EXPECT_TRUE(exists(live));
    EXPECT_TRUE(exists(".notas.txt.tmp1-0"));
}
