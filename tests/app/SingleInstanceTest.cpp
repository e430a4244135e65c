// One Tolm per shelf folder, checked with the real program: each case starts
// `tolm` processes on the offscreen platform with their own settings and
// runtime folders, and reads what they leave in the shelf folder.
#include "ShelfFixture.h"
#include "app/InstanceLock.h"
#include "app/TolmApplication.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHostInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSysInfo>
#include <QThread>
#include <QWidget>
#include <csignal>
#include <memory>
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
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder());
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
        ShelfTest::TearDown();
    }

    QString runtimeFolder() const { return m_root.filePath(QStringLiteral("run")); }
    QString settingsFile() const { return m_root.filePath(QStringLiteral("config/Tolm/tolm.ini")); }

    QString newFolder(const QString& name) const
    {
        QDir(m_root.path()).mkpath(name);
        return QDir(m_root.filePath(name)).canonicalPath();
    }

    static QString lockFile(const QString& folder) { return folder + u'/' + InstanceLock::kLockFileName; }

    QString serverFile(const QString& folder) const
    {
        return InstanceLock::serverNameFor(QDir(folder).canonicalPath(), runtimeFolder());
    }

    QProcess* start(const QString& folder, const QProcessEnvironment& env)
    {
        auto process = std::make_unique<QProcess>();
        process->setProgram(QStringLiteral(TOLM_PROGRAM));
        process->setWorkingDirectory(folder);
        process->setProcessEnvironment(env);
        process->start();
        EXPECT_TRUE(process->waitForStarted(kPatienceMs)) << qPrintable(process->errorString());
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }
    QProcess* start(const QString& folder) { return start(folder, m_env); }

    static qint64 lockHolder(const QString& folder)
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

    static void finish(QProcess* process, int expectedCode)
    {
        ASSERT_TRUE(process->waitForFinished(kPatienceMs)) << "still running";
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), expectedCode) << process->readAllStandardError().constData();
    }

    static void terminate(QProcess* process)
    {
        ASSERT_EQ(::kill(pid_t(process->processId()), SIGTERM), 0);
        finish(process, 0);
    }

    QProcessEnvironment m_env;

private:
    QTemporaryDir m_root;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(SingleInstanceTest, ASecondStartHandsOverAndLeavesTheShelfAlone)
{
    // The shelf the first Tolm will hold: one clock.
    TPrincipal* main = startMain();
    state().pressPoint = QPoint(40, 20);
    main->Reloj1Click();
    ASSERT_TRUE(main->salvar());
    closeAll();
    const auto seeded = parse(QStringLiteral("tolm95.dat"));
    ASSERT_EQ(seeded.items.size(), 1u);
    const QString folder = QDir::current().canonicalPath();
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
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
        QStringList({ QStringLiteral(".tolm.lock"), QStringLiteral("tolm95.dat") }));
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
    finish(second, 1);
    EXPECT_TRUE(second->readAllStandardError().contains("another Tolm holds this folder"));
    EXPECT_EQ(readAll(shelf), shelfBefore);
    EXPECT_EQ(readAll(settingsFile()), settingsBefore);
    EXPECT_EQ(lockHolder(folder), first->processId());

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

TEST_F(SingleInstanceTest, LockFilesThatNameNoLiveTolmAreCleared)
{
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const struct {
        const char* what;
        QByteArray contents;
        int ageSeconds;
    } cases[] = {
        { "an empty file its writer never filled", "", 60 },
        { "a process id now used by another program",
            QByteArray::number(QCoreApplication::applicationPid()) + "\ntolm\n" + host + '\n', 0 },
        { "a process id no process has", "2147483646\ntolm\n" + host + '\n', 0 },
    };
    for (const auto& leftover : cases) {
        SCOPED_TRACE(leftover.what);
        const QString folder = newFolder(QString::fromLatin1(leftover.what).replace(u' ', u'-'));
        write(lockFile(folder), leftover.contents);
        setModified(lockFile(folder), QDateTime::currentDateTime().addSecs(-leftover.ageSeconds));
        QProcess* tolm = startHolder(folder);
        EXPECT_EQ(lockHolder(folder), tolm->processId());
        terminate(tolm);
        EXPECT_FALSE(QFile::exists(lockFile(folder)));
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
    EXPECT_EQ(second->state(), QProcess::Running);
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
        main->Nuevoboton1Click();
    }
    main->resize(400, 200);
    ASSERT_TRUE(main->salvar());
    closeAll();
    const QString covered = QDir::current().canonicalPath();
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
