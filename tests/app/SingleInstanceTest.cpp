// One Tolm per shelf folder, checked with the real program: each case starts
// `tolm` processes on the offscreen platform with their own settings and
// runtime folders, and reads what they leave in the shelf folder.
#include "ShelfFixture.h"
#include "app/InstanceLock.h"
#include "app/TolmApplication.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHostInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSet>
#include <QSysInfo>
#include <QThread>
#include <QWidget>
#include <csignal>
#include <cstring>
#include <functional>
#include <linux/capability.h>
#include <memory>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using tolm::app::InstanceLock;

namespace {

// Generous: the machine may be busy with other tests; every wait polls and
// ends as soon as its condition holds.
constexpr int kPatienceMs = 20000;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename Condition> bool eventually(Condition condition)
{
    const QDeadlineTimer deadline(kPatienceMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

tolm::store::Value property(const tolm::store::Record& record, const std::string& name)
{
    for (const auto& p : record.properties)
        if (p.name == name)
            return p.value;
    ADD_FAILURE() << "no property " << name;
    return {};
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

// Run as root, the program a child starts keeps the user id but cannot
// override file permissions: read-only files and folders are so to it too.
void heedPermissions()
{
    if (::geteuid() != 0)
        return;
    for (const int power : { CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER })
        ::prctl(PR_CAPBSET_DROP, power, 0, 0, 0);
}

} // namespace

class SingleInstanceTest : public ShelfTest {
protected:
    void SetUp() override
    {
        ShelfTest::SetUp();
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath(QStringLiteral("run"));
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.remove(QStringLiteral("TOLM_EXIT_AFTER_FIRST_PAINT"));
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("config")));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), envRuntimeFolder());
    }

    void TearDown() override
    {
        // Nothing outlives the case, stopped or not.
        for (auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(kPatienceMs);
            }
        }
        m_processes.clear();
        // Nor what a killed one left, or a case planted, in the user's runtime folder.
        for (const QString& folder : std::as_const(m_folders)) {
            QLocalServer::removeServer(serverFile(folder));
            QFile::remove(lockFile(folder));
            QDir(lockFile(folder)).removeRecursively();
        }
        ShelfTest::TearDown();
    }

    // The runtime folder the environment names; the lock's place does not follow it.
    QString envRuntimeFolder() const { return m_root.filePath(QStringLiteral("run")); }
    QString settingsFile() const { return m_root.filePath(QStringLiteral("config/Tolm/tolm.ini")); }

    QString newFolder(const QString& name) const
    {
        QDir(m_root.path()).mkpath(name);
        return QDir(m_root.filePath(name)).canonicalPath();
    }

    // Where the lock and the socket lie: the same for every start.
    static QString lockFile(const QString& folder)
    {
        return InstanceLock::lockFileFor(QDir(folder).canonicalPath(), InstanceLock::runtimeFolder());
    }
    static QString serverFile(const QString& folder)
    {
        return InstanceLock::serverNameFor(QDir(folder).canonicalPath(), InstanceLock::runtimeFolder());
    }

    QProcess* start(const QString& folder, const QProcessEnvironment& env)
    {
        auto process = std::make_unique<QProcess>();
        process->setProgram(QStringLiteral(TOLM_PROGRAM));
        process->setWorkingDirectory(folder);
        m_folders.insert(folder);
        process->setProcessEnvironment(env);
        process->setChildProcessModifier([] {
            heedPermissions();
            // As a terminal starts a program, whatever this test was started with.
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGHUP, SIG_DFL);
        });
        process->start();
        EXPECT_TRUE(process->waitForStarted(kPatienceMs)) << qPrintable(process->errorString());
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }
    QProcess* start(const QString& folder) { return start(folder, m_env); }

    qint64 lockHolder(const QString& folder) const
    {
        return readAll(lockFile(folder)).split('\n').value(0).toLongLong();
    }

    // Asks the Tolm serving `folder` to come forward, as a second start
    // would; true once it says it did. Until then it is still starting.
    bool answers(const QString& folder) const
    {
        const QDeadlineTimer deadline(kPatienceMs);
        while (!deadline.hasExpired()) {
            QLocalSocket socket;
            socket.connectToServer(serverFile(folder));
            if (socket.waitForConnected(1000)) {
                socket.write("raise\n");
                QByteArray reply;
                while (!reply.contains('\n') && socket.waitForReadyRead(int(deadline.remainingTime())))
                    reply += socket.readAll();
                return reply == "ok\n";
            }
            QThread::msleep(20);
        }
        return false;
    }

    // Starts a Tolm in `folder` and waits until it holds the folder and
    // answers later starts.
    QProcess* startHolder(const QString& folder)
    {
        QProcess* process = start(folder);
        EXPECT_TRUE(eventually([&] { return lockHolder(folder) == process->processId(); }))
            << "the lock in " << qPrintable(folder) << " never named process " << process->processId()
            << "; stderr: " << process->readAllStandardError().constData();
        EXPECT_TRUE(answers(folder));
        return process;
    }

    // Waits until `process` has said `text` on standard error; all it said.
    static QByteArray said(QProcess* process, const char* text)
    {
        QByteArray errors;
        eventually([&] {
            process->waitForReadyRead(20);
            return (errors += process->readAllStandardError()).contains(text);
        });
        return errors;
    }

    static void finish(QProcess* process, int expectedCode)
    {
        ASSERT_TRUE(process->waitForFinished(kPatienceMs)) << "still running";
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), expectedCode) << process->readAllStandardError().constData();
    }

    static void terminate(QProcess* process, int which = SIGTERM)
    {
        ASSERT_EQ(::kill(pid_t(process->processId()), which), 0);
        finish(process, 0);
    }

    QProcessEnvironment m_env;

private:
    QTemporaryDir m_root;
    std::vector<std::unique_ptr<QProcess>> m_processes;
    QSet<QString> m_folders;
};

TEST_F(SingleInstanceTest, ASecondStartHandsOverAndLeavesTheShelfAlone)
{
    // The shelf the first Tolm will hold: one clock.
    TPrincipal* main = startMain();
    state().pressPoint = QPoint(40, 20);
    main->commands().newClock();
    ASSERT_TRUE(main->document().save());
    closeAll();
    const auto seeded = parse(QStringLiteral("tolm95.dat"));
    ASSERT_EQ(seeded.items.size(), 1u);
    const QString folder = QDir(shelfPath()).canonicalPath();
    const QString shelf = folder + QStringLiteral("/tolm95.dat");
    QProcess* first = startHolder(folder);
    const QByteArray shelfBefore = readAll(shelf);
    const QDateTime modifiedBefore = QFileInfo(shelf).lastModified();
    const QByteArray settingsBefore = readAll(settingsFile());
    ASSERT_TRUE(settingsBefore.contains("tolml=1")) << settingsBefore.constData();

    QProcess* second = start(folder);
    finish(second, 0);
    EXPECT_EQ(readAll(shelf), shelfBefore);
    EXPECT_EQ(QFileInfo(shelf).lastModified(), modifiedBefore);
    EXPECT_EQ(readAll(settingsFile()), settingsBefore) << "the second start counted itself";
    // The lock lies in the runtime folder, not in a shelf folder a sync service may carry.
    EXPECT_EQ(
        QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({ QStringLiteral("tolm95.dat") }));
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(lockHolder(folder), first->processId());

    terminate(first);
    EXPECT_FALSE(QFile::exists(lockFile(folder)));
    EXPECT_FALSE(QFile::exists(serverFile(folder)));
    // The clock's hint and caption follow the locale, which differs between
    // this process's fake platform and the real one: compare what the user placed.
    const auto saved = parse(shelf);
    ASSERT_EQ(saved.items.size(), 1u);
    for (const char* name : { "Clase", "Left", "Top", "Width", "Height" })
        EXPECT_EQ(property(saved.items[0], name), property(seeded.items[0], name)) << name;
}

TEST_F(SingleInstanceTest, AHolderRunningForHoursKeepsTheFolder)
{
    // A lock file's age says nothing about its holder.
    const QString folder = newFolder(QStringLiteral("shelf"));
    QProcess* first = startHolder(folder);
    setModified(lockFile(folder), QDateTime::currentDateTime().addSecs(-3 * 3600));

    QProcess* second = start(folder);
    finish(second, 0);
    EXPECT_EQ(lockHolder(folder), first->processId());
    EXPECT_EQ(first->state(), QProcess::Running);
    terminate(first);
}

TEST_F(SingleInstanceTest, AHolderThatDoesNotAnswerStillKeepsTheFolder)
{
    const QString folder = newFolder(QStringLiteral("shelf"));
    QProcess* first = startHolder(folder);
    const QString shelf = folder + QStringLiteral("/tolm95.dat");
    const QByteArray shelfBefore = readAll(shelf);
    const QByteArray settingsBefore = readAll(settingsFile());

    ASSERT_EQ(::kill(pid_t(first->processId()), SIGSTOP), 0);
    QProcess* second = start(folder);
    // It says so in a box, which no one here closes, and loads nothing.
    EXPECT_TRUE(said(second, "another Tolm holds this folder").contains("did not answer"));
    EXPECT_EQ(readAll(shelf), shelfBefore);
    EXPECT_EQ(readAll(settingsFile()), settingsBefore);
    EXPECT_EQ(lockHolder(folder), first->processId());
    second->kill();

    ASSERT_EQ(::kill(pid_t(first->processId()), SIGCONT), 0);
    terminate(first);
}

TEST_F(SingleInstanceTest, ALockLeftByAKilledTolmDoesNotStopTheNextStart)
{
    const QString folder = newFolder(QStringLiteral("shelf"));
    QProcess* killed = startHolder(folder);
    const qint64 killedPid = killed->processId();
    killed->kill();
    ASSERT_TRUE(killed->waitForFinished(kPatienceMs));
    ASSERT_EQ(lockHolder(folder), killedPid);

    QProcess* next = startHolder(folder);
    EXPECT_EQ(lockHolder(folder), next->processId());
    EXPECT_TRUE(readAll(settingsFile()).contains("tolml=2"));
    terminate(next);
    EXPECT_FALSE(QFile::exists(lockFile(folder)));
    EXPECT_FALSE(QFile::exists(serverFile(folder)));
}

TEST_F(SingleInstanceTest, WhatLiesAtTheLocksNameNeverStopsAStart)
{
    enum class Outcome { Holds, HoldsUnnamed, SavesNothing };
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray mine = QByteArray::number(QCoreApplication::applicationPid()) + "\ntolm\n" + host;
    QString shelf;
    const struct {
        const char* what;
        std::function<void(const QString& lock)> make;
        Outcome outcome;
    } cases[] = {
        { "an empty file its writer never filled", [&](const QString& lock) { write(lock, ""); },
            Outcome::Holds },
        { "a process id now used by another program", [&](const QString& lock) { write(lock, mine); },
            Outcome::Holds },
        { "a process id no process has",
            [&](const QString& lock) { write(lock, "2147483646\ntolm\n" + host); }, Outcome::Holds },
        { "a read-only file",
            [&](const QString& lock) {
                write(lock, "");
                QFile::setPermissions(lock, QFileDevice::ReadOwner);
            },
            Outcome::HoldsUnnamed },
        { "a dangling link", [](const QString& lock) { QFile::link(lock + ".gone", lock); }, Outcome::Holds },
        { "a pipe", [](const QString& lock) { ::mkfifo(QFile::encodeName(lock).constData(), 0644); },
            Outcome::Holds },
        { "an old lock a sync service copied from another host",
            [&](const QString&) { write(shelf + "/.tolm.lock", "4242\ntolm\notra\n"); }, Outcome::Holds },
        { "an old lock of this host", [&](const QString&) { write(shelf + "/.tolm.lock", mine); },
            Outcome::Holds },
        { "a folder", [](const QString& lock) { QDir().mkdir(lock); }, Outcome::SavesNothing },
        // The lock never lies there while the user has a runtime folder.
        { "nothing, and a shelf folder that cannot be written",
            [&](const QString&) {
                QFile::setPermissions(shelf, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            },
            Outcome::Holds },
    };
    for (const auto& leftover : cases) {
        SCOPED_TRACE(leftover.what);
        const QString folder = newFolder(QString::fromLatin1(leftover.what).replace(u' ', u'-'));
        shelf = folder;
        const QString lock = lockFile(folder);
        leftover.make(lock);
        QProcess* tolm = start(folder);
        // One that cannot lock says why in a box, and answers later starts.
        EXPECT_TRUE(leftover.outcome != Outcome::SavesNothing
            || said(tolm, "nothing is saved").contains(QFileInfo(lock).fileName().toUtf8()));
        ASSERT_TRUE(answers(folder));
        // Whatever the first one holds, a second start writes nothing.
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        const QByteArray settings = readAll(settingsFile());
        finish(start(folder), 0);
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), entries);
        EXPECT_EQ(readAll(settingsFile()), settings);
        if (leftover.outcome == Outcome::SavesNothing)
            continue;
        EXPECT_TRUE(QFileInfo(lock).isFile() && !QFileInfo(lock).isSymLink());
        EXPECT_FALSE(QFile::exists(lock + ".gone"));
        EXPECT_TRUE(leftover.outcome != Outcome::Holds || lockHolder(folder) == tolm->processId());
        EXPECT_FALSE(QFile::exists(folder + "/.tolm.lock"));
        terminate(tolm);
        EXPECT_FALSE(QFile::exists(lock));
    }
}

TEST_F(SingleInstanceTest, AnOlderTolmOfThisHostHoldingTheOldLockIsAskedToComeForward)
{
    // This process stands for it: it holds ".tolm.lock" and answers on the socket.
    const QString folder = newFolder(QStringLiteral("shelf"));
    write(folder + "/.tolm.lock",
        QByteArray::number(QCoreApplication::applicationPid()) + "\ntolm\n"
            + QSysInfo::machineHostName().toUtf8() + '\n');
    QFile held(folder + "/.tolm.lock");
    ASSERT_TRUE(held.open(QIODevice::ReadOnly) && ::flock(held.handle(), LOCK_EX | LOCK_NB) == 0);
    QLocalServer older;
    ASSERT_TRUE(older.listen(serverFile(folder)));
    QObject::connect(
        &older, &QLocalServer::newConnection, [&] { older.nextPendingConnection()->write("ok\n"); });
    QProcess* second = start(folder);
    ASSERT_TRUE(eventually([&] {
        QCoreApplication::processEvents();
        return second->state() == QProcess::NotRunning;
    }));
    EXPECT_EQ(second->exitCode(), 0) << second->readAllStandardError().constData();
    EXPECT_EQ(
        QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({ QStringLiteral(".tolm.lock") }));
}

TEST_F(SingleInstanceTest, OneFolderOneTolmWhateverTheEnvironmentSays)
{
    const QString folder = newFolder(QStringLiteral("shelf"));
    QProcess* first = startHolder(folder);
    const QString other = newFolder(QStringLiteral("other"));
    const struct {
        const char* what;
        const char* variable;
        QString value;
    } starts[] = {
        { "no runtime folder", "XDG_RUNTIME_DIR", QString() },
        { "another runtime folder", "XDG_RUNTIME_DIR", other },
        { "another temporary folder", "TMPDIR", other },
    };
    for (const auto& later : starts) {
        SCOPED_TRACE(later.what);
        QProcessEnvironment env = m_env;
        if (later.value.isNull())
            env.remove(QString::fromLatin1(later.variable));
        else
            env.insert(QString::fromLatin1(later.variable), later.value);
        finish(start(folder, env), 0);
        EXPECT_EQ(lockHolder(folder), first->processId());
    }
    EXPECT_EQ(
        QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({ QStringLiteral("tolm95.dat") }));
    terminate(first);
}

TEST_F(SingleInstanceTest, EverySignalThatEndsASessionSavesAndGivesTheFolderUp)
{
    // Ctrl+C in the terminal that started Tolm ends it as a logout does.
    for (const int which : { SIGTERM, SIGHUP, SIGINT }) {
        SCOPED_TRACE(strsignal(which));
        const QString folder = newFolder(QStringLiteral("shelf-%1").arg(which));
        QProcess* tolm = startHolder(folder);
        terminate(tolm, which);
        EXPECT_FALSE(QFile::exists(lockFile(folder)));
        EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/tolm95.dat")));
    }
}

TEST_F(SingleInstanceTest, TwoFoldersRunTwoTolms)
{
    const QString one = newFolder(QStringLiteral("one"));
    const QString two = newFolder(QStringLiteral("two"));
    ASSERT_NE(serverFile(one), serverFile(two));
    QProcess* first = startHolder(one);
    QProcess* second = startHolder(two);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(lockHolder(one), first->processId());
    EXPECT_EQ(lockHolder(two), second->processId());
    terminate(first);
    terminate(second);
    EXPECT_TRUE(QFile::exists(one + QStringLiteral("/tolm95.dat")));
    EXPECT_TRUE(QFile::exists(two + QStringLiteral("/tolm95.dat")));
}

TEST_F(SingleInstanceTest, ExitingAfterTheFirstPaintGivesTheFolderUp)
{
    // A new shelf, and one whose items hide the whole window, so that only
    // the items are painted.
    TPrincipal* main = startMain();
    for (int i = 0; i < 50; ++i) {
        state().pressPoint = QPoint((i % 10) * 40, (i / 10) * 40);
        main->commands().newLauncher();
    }
    main->resize(400, 200);
    ASSERT_TRUE(main->document().save());
    closeAll();
    const QString covered = QDir(shelfPath()).canonicalPath();
    const QString empty = newFolder(QStringLiteral("shelf"));

    QProcessEnvironment env = m_env;
    env.insert(QStringLiteral("TOLM_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    for (const QString& folder : { empty, empty, covered }) {
        SCOPED_TRACE(qPrintable(folder));
        QProcess* tolm = start(folder, env);
        finish(tolm, 0);
        EXPECT_FALSE(QFile::exists(lockFile(folder)));
        EXPECT_FALSE(QFile::exists(serverFile(folder)));
    }
}

TEST(InstanceLockName, FollowsTheFolderAndTheRuntimeFolder)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString a = InstanceLock::serverNameFor(QStringLiteral("/home/ana/tolm"), runtime.path());
    EXPECT_EQ(a, InstanceLock::serverNameFor(QStringLiteral("/home/ana/tolm"), runtime.path()));
    EXPECT_NE(a, InstanceLock::serverNameFor(QStringLiteral("/home/ana/tolm2"), runtime.path()));
    EXPECT_TRUE(a.startsWith(runtime.path() + QStringLiteral("/tolm-")));

    // Without a usable runtime folder the name is bare, so the socket lands in
    // the temporary folder; a socket address holds little more than 100 bytes.
    const QString deep = runtime.path() + u'/' + QString(120, u'd');
    ASSERT_TRUE(QDir().mkpath(deep));
    for (const QString& unusable : { QString(), runtime.filePath(QStringLiteral("missing")), deep }) {
        const QString name = InstanceLock::serverNameFor(QStringLiteral("/home/ana/tolm"), unusable);
        EXPECT_FALSE(name.contains(u'/')) << qPrintable(unusable);
        EXPECT_TRUE(a.endsWith(u'/' + name));
    }
}

TEST(BringForward, ShowsAMinimisedWindowAgain)
{
    QWidget window;
    window.showMinimized();
    ASSERT_TRUE(window.windowState() & Qt::WindowMinimized);
    tolm::app::bringForward(&window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);

    QWidget hidden;
    tolm::app::bringForward(&hidden);
    EXPECT_TRUE(hidden.isVisible());
}
