// What tolm costs while nobody touches it, as whole processes: start-up to
// the first paint, resident memory, CPU and context switches while idle, for
// four shelves, each next to a bare Qt window whose label shows the time,
// changed once a second:
//
//   typical  12 launchers, a clock, a drive and a memory tile
//   stress   100 clocks, 20 drive and 20 memory tiles over the main window
//            and two open folder windows
//   quiet    8 launchers, a text clock showing H:mm without the date, a drive
//            and a memory tile refreshed once a minute: nothing on screen
//            changes for a minute at a time
//   busy     100 text clocks of 80 x 20 showing HH:mm:ss and the date, 20
//            drive and 20 memory tiles with a period of one second (so
//            refreshed every other tick), over the main window (1000 x 300)
//            and two open folder windows (1000 x 250 and 1000 x 190) stacked
//            at the top of the screen
//
// Idle CPU is read twice: from the clock ticks of /proc/<pid>/stat, and from
// the scheduler's nanoseconds of its threads (/proc/<pid>/task/*/schedstat),
// which tell apart figures below one tick a minute (0.017 %); a thread that
// ends during the idle time takes what it did along.
// Context switches are the process's voluntary and involuntary ones over the
// idle period: those of its main thread from /proc/<pid>/status, and those
// of all its threads from /proc/<pid>/task/*/status. It prints the figures
// and their ratios to the bare window; it is a measurement, not a test, and
// never fails on a figure.
//
//   bench_idle [--seconds=N] [--offscreen]
//
// Idle time defaults to 60 s (TOLM_IDLE_SECONDS or --seconds change it). The
// programs run on a private Xvfb server when one is installed (the display
// is the first free one from :150 up, or TOLM_BENCH_DISPLAY), else on Qt's
// offscreen platform; the shelves lie side by side on its screen, none
// covering another. TOLM_BENCH_PROGRAM runs another build of tolm. The idle
// processes run side by side, so the whole run takes one idle period plus a
// few seconds of start-ups.
#include "app/AppState.h"
#include "app/ShelfSession.h"
#include "app/TPrincipal.h"
#include "bench/support/BusyShelf.h"
#include "bench/support/FirstPaint.h"
#include "items/TSpButton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

QString s_binDir;

struct Program {
    QString name;
    QString path;
    QStringList arguments; // for the idle run
    QString workDir;
};

// ---------------------------------------------------------------- shelves

// Writes the shelf files of one scene into `dir` through the program's own
// windows, the way a user's session would leave them.
template <typename Fill> void writeShelf(const QString& dir, Fill fill)
{
    {
        AppState state(dir.toStdString());
        auto* main = new TPrincipal;
        fill(main);
        tolm::app::saveSettings();
        const auto folders = state.openFolderWindows;
        for (const auto& window : folders)
            delete window.data();
        delete main;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void typicalShelf(TPrincipal* main)
{
    main->setBounds(QRect(100, 100, 330, 140));
    for (int i = 0; i < 12; ++i) {
        AppState::get().pressPoint = QPoint((i % 8) * 40, (i / 8) * 40);
        TSpButton* item = main->commands().newLauncher();
        item->setComando(QStringLiteral("/usr/bin/programa-%1").arg(i));
        item->setCaption(QStringLiteral("P%1").arg(i));
    }
    AppState::get().pressPoint = QPoint(160, 40);
    main->commands().newClock();
    AppState::get().pressPoint = QPoint(200, 40);
    main->commands().newDrive();
    AppState::get().pressPoint = QPoint(240, 40);
    main->commands().newMemory();
}

// Where each shelf lies on the Xvfb screen, so that no shelf covers another.
constexpr int kStressLeft = 500;
constexpr int kBusyLeft = 1500;
constexpr int kScreenWidth = 2560;
constexpr int kScreenHeight = 1100;

// Qt's offscreen platform with a screen as large as the Xvfb one: a window
// is saved where some screen can show it, so the shelves are written on one
// where they all fit.
QByteArray offscreenPlatform(const QString& configDir)
{
    const QString path = configDir + QStringLiteral("/screens.json");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return "offscreen";
    file.write(QStringLiteral(R"({ "screens": [ { "name": "bench", "x": 0, "y": 0, "width": %1, )"
                              R"("height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] })")
                   .arg(kScreenWidth)
                   .arg(kScreenHeight)
                   .toUtf8());
    return "offscreen:configfile=" + QFile::encodeName(path);
}

void stressShelf(TPrincipal* main)
{
    const auto windows = threeWindows(main,
        { QRect(kStressLeft, 0, 960, 420), QRect(kStressLeft, 440, 960, 300),
            QRect(kStressLeft, 760, 960, 300) });
    for (int i = 0; i < 140; ++i) {
        TPrincipal* window = windows[i % 3];
        const int slot = i / 3;
        AppState::get().pressPoint = QPoint((slot % 20) * 45, 50 + (slot / 20) * 45);
        if (i < 100)
            window->commands().newClock();
        else if (i < 120)
            window->commands().newDrive();
        else
            window->commands().newMemory();
    }
}

// A clock showing "H:mm" as text without the date (`Tag` 10), and a drive
// and a memory tile refreshed once a minute (`tag2` 15360).
void quietShelf(TPrincipal* main)
{
    main->setBounds(QRect(100, 300, 330, 140));
    for (int i = 0; i < 8; ++i) {
        AppState::get().pressPoint = QPoint(i * 40, 0);
        TSpButton* item = main->commands().newLauncher();
        item->setComando(QStringLiteral("/usr/bin/programa-%1").arg(i));
        item->setCaption(QStringLiteral("P%1").arg(i));
    }
    AppState::get().pressPoint = QPoint(0, 50);
    TSpButton* clock = main->commands().newClock();
    clock->setTag(TSpButton::kTagTextClock | TSpButton::kTagNoDate);
    clock->setParam(QStringLiteral("H:mm"));
    AppState::get().pressPoint = QPoint(80, 50);
    main->commands().newDrive()->settag2(60 << TSpButton::kPeriodShift);
    AppState::get().pressPoint = QPoint(120, 50);
    main->commands().newMemory()->settag2(60 << TSpButton::kPeriodShift);
}

void busyShelfOnTheRight(TPrincipal* main)
{
    busyShelf(main, kBusyLeft);
}

// ---------------------------------------------------------------- processes

QProcessEnvironment childEnvironment(const QProcessEnvironment& base, const QString& workDir)
{
    QProcessEnvironment env = base;
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), workDir + QStringLiteral("/config"));
    return env;
}

// Milliseconds from start to the first paint of one start.
double startupMs(const Program& program, const QProcessEnvironment& base)
{
    QProcess process;
    process.setProgram(program.path);
    process.setWorkingDirectory(program.workDir);
    QProcessEnvironment env = childEnvironment(base, program.workDir);
    env.insert(QStringLiteral("TOLM_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    return msToFirstPaint(process);
}

// User plus system CPU ticks of a process, from /proc/<pid>/stat.
long long cpuTicks(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.readAll();
    // The command name may hold blanks; the fields after it are counted from its ')'.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the whole line, 12 and 13 here.
    if (fields.size() < 13)
        return -1;
    return fields[11].toLongLong() + fields[12].toLongLong();
}

// The number of a "Name:   value [kB]" line of a status file.
long long statusNumber(const QString& path, const QByteArray& name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// A "Name:   value kB" line of /proc/<pid>/status.
long long statusKb(qint64 pid, const QByteArray& name)
{
    return statusNumber(QStringLiteral("/proc/%1/status").arg(pid), name);
}

// Voluntary and involuntary context switches of one task's status file.
long long switchesIn(const QString& statusPath)
{
    const long long voluntary = statusNumber(statusPath, "voluntary_ctxt_switches");
    const long long involuntary = statusNumber(statusPath, "nonvoluntary_ctxt_switches");
    return voluntary < 0 || involuntary < 0 ? -1 : voluntary + involuntary;
}

// Those of the main thread, which /proc/<pid>/status counts.
long long mainThreadSwitches(qint64 pid)
{
    return switchesIn(QStringLiteral("/proc/%1/status").arg(pid));
}

// What each thread alive now has done: nanoseconds on a CPU, from the first
// field of /proc/<pid>/task/*/schedstat (finer than the clock ticks of
// cpuTicks, which over a minute cannot tell 0.017 % from nothing), and
// context switches, by thread id.
struct ThreadCounts {
    long long cpuNs { 0 };
    long long switches { 0 };
};
using ThreadTable = QHash<QString, ThreadCounts>;

ThreadTable threadCounts(qint64 pid)
{
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    ThreadTable table;
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks + u'/' + task + QStringLiteral("/schedstat"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        bool ok = false;
        const long long ns = file.readAll().split(' ').value(0).toLongLong(&ok);
        const long long switches = switchesIn(tasks + u'/' + task + QStringLiteral("/status"));
        if (ok && switches >= 0)
            table.insert(task, { ns, switches });
    }
    return table;
}

// What the threads alive at the end did since `before`. A thread that began
// meanwhile counts from nothing; one that ended (Qt's pooled threads end
// after 30 s idle) takes its count along, so the sum is never less than
// what the living threads did.
ThreadCounts sinceThen(const ThreadTable& before, const ThreadTable& after)
{
    ThreadCounts done;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const ThreadCounts then = before.value(it.key());
        done.cpuNs += it->cpuNs - then.cpuNs;
        done.switches += it->switches - then.switches;
    }
    return done;
}

int openFiles(qint64 pid)
{
    return int(
        QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

struct IdleFigures {
    double cpuPercent { -1 };
    // The same from the scheduler's nanoseconds, of the threads alive at the end.
    double schedCpuPercent { -1 };
    // Context switches a second, of the main thread and of all threads.
    double switchesPerSecond { -1 };
    double threadSwitchesPerSecond { -1 };
    long long rssKb { -1 };
    long long rssGrowthKb { 0 };
    int filesBefore { 0 };
    int filesAfter { 0 };
};

struct Running {
    Program program;
    std::unique_ptr<QProcess> process;
    long long ticks0 { 0 };
    ThreadTable threads0;
    long long switches0 { 0 };
    long long rss0 { 0 };
    int files0 { 0 };
};

void startIdle(Running& run, const QProcessEnvironment& base)
{
    run.process = std::make_unique<QProcess>();
    run.process->setProgram(run.program.path);
    run.process->setArguments(run.program.arguments);
    run.process->setWorkingDirectory(run.program.workDir);
    run.process->setProcessEnvironment(childEnvironment(base, run.program.workDir));
    run.process->start();
    run.process->waitForStarted(10000);
}

void markIdle(Running& run)
{
    const qint64 pid = run.process->processId();
    run.ticks0 = cpuTicks(pid);
    run.threads0 = threadCounts(pid);
    run.switches0 = mainThreadSwitches(pid);
    run.rss0 = statusKb(pid, "VmRSS");
    run.files0 = openFiles(pid);
}

IdleFigures finishIdle(Running& run, double seconds)
{
    IdleFigures f;
    const qint64 pid = run.process->processId();
    const long long ticks = cpuTicks(pid);
    const ThreadTable threads = threadCounts(pid);
    const ThreadCounts done = sinceThen(run.threads0, threads);
    if (!threads.isEmpty())
        f.schedCpuPercent = 100.0 * double(done.cpuNs) / 1e9 / seconds;
    const long long switches = mainThreadSwitches(pid);
    if (switches >= 0 && run.switches0 >= 0)
        f.switchesPerSecond = double(switches - run.switches0) / seconds;
    if (!threads.isEmpty())
        f.threadSwitchesPerSecond = double(done.switches) / seconds;
    if (ticks >= 0 && run.ticks0 >= 0)
        f.cpuPercent = 100.0 * double(ticks - run.ticks0) / double(::sysconf(_SC_CLK_TCK)) / seconds;
    f.rssKb = statusKb(pid, "VmRSS");
    f.rssGrowthKb = f.rssKb - run.rss0;
    f.filesBefore = run.files0;
    f.filesAfter = openFiles(pid);
    run.process->terminate();
    if (!run.process->waitForFinished(10000)) {
        run.process->kill();
        run.process->waitForFinished(5000);
    }
    return f;
}

// ---------------------------------------------------------------- display

struct XServer {
    std::unique_ptr<QProcess> server;
    QString name; // ":150", or empty for offscreen
};

XServer startDisplay(bool offscreen)
{
    XServer display;
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (offscreen || xvfb.isEmpty())
        return display;
    int number = -1;
    if (const QByteArray chosen = qgetenv("TOLM_BENCH_DISPLAY"); !chosen.isEmpty()) {
        number = chosen.mid(chosen.startsWith(':') ? 1 : 0).toInt();
    } else {
        for (int n = 150; n < 200 && number < 0; ++n) {
            if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))
                && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                number = n;
        }
    }
    if (number < 0)
        return display;
    display.server = std::make_unique<QProcess>();
    display.server->setProgram(xvfb);
    display.server->setArguments({ QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
        QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(kScreenWidth).arg(kScreenHeight),
        QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset") });
    display.server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    display.server->start();
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
    for (int i = 0; i < 100 && !QFile::exists(socket); ++i)
        QThread::msleep(50);
    if (!QFile::exists(socket)) {
        display.server->kill();
        display.server->waitForFinished(5000);
        display.server.reset();
        return display;
    }
    display.name = QStringLiteral(":%1").arg(number);
    return display;
}

QString ratio(double value, double floor)
{
    if (value < 0 || floor <= 0)
        return QStringLiteral("-");
    return QString::number(value / floor, 'f', 2) + u'x';
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir screens;
    const QByteArray offscreenPlatformName = offscreenPlatform(screens.path());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", offscreenPlatformName);
    const QProcessEnvironment inherited = QProcessEnvironment::systemEnvironment();
    QApplication app(argc, argv);
    s_binDir = QCoreApplication::applicationDirPath();

    double seconds = qEnvironmentVariableIsSet("TOLM_IDLE_SECONDS")
        ? qEnvironmentVariable("TOLM_IDLE_SECONDS").toDouble()
        : 60.0;
    bool offscreen = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QStringLiteral("--seconds=")))
            seconds = arg.mid(10).toDouble();
        else if (arg == QStringLiteral("--offscreen"))
            offscreen = true;
        else {
            std::fprintf(stderr, "usage: bench_idle [--seconds=N] [--offscreen]\n");
            return 2;
        }
    }
    seconds = std::max(seconds, 1.0);

    QTemporaryDir root;
    // TOLM_BENCH_KEEP=1 leaves the shelves behind for a look.
    if (qEnvironmentVariableIntValue("TOLM_BENCH_KEEP") == 1) {
        root.setAutoRemove(false);
        std::printf("shelves in %s\n", qPrintable(root.path()));
    }
    const QString typicalDir = root.path() + QStringLiteral("/typical");
    const QString stressDir = root.path() + QStringLiteral("/stress");
    const QString quietDir = root.path() + QStringLiteral("/quiet");
    const QString busyDir = root.path() + QStringLiteral("/busy");
    const QString bareDir = root.path() + QStringLiteral("/bare");
    for (const QString& dir : { typicalDir, stressDir, quietDir, busyDir, bareDir })
        QDir().mkpath(dir);
    writeShelf(typicalDir, typicalShelf);
    writeShelf(stressDir, stressShelf);
    writeShelf(quietDir, quietShelf);
    writeShelf(busyDir, busyShelfOnTheRight);

    XServer display = startDisplay(offscreen);
    QProcessEnvironment base = inherited;
    if (display.name.isEmpty()) {
        base.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLocal8Bit(offscreenPlatformName));
    } else {
        base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        base.insert(QStringLiteral("DISPLAY"), display.name);
    }
    // TOLM_BENCH_PROGRAM names another build of tolm to compare with.
    const QString tolm = qEnvironmentVariableIsSet("TOLM_BENCH_PROGRAM")
        ? qEnvironmentVariable("TOLM_BENCH_PROGRAM")
        : s_binDir + QStringLiteral("/../app/tolm");
    const QString bare = s_binDir + QStringLiteral("/bare_label");
    std::vector<Running> runs(5);
    runs[0].program = { QStringLiteral("bare label (floor)"), bare, { QStringLiteral("--tick") }, bareDir };
    runs[1].program = { QStringLiteral("typical shelf"), tolm, {}, typicalDir };
    runs[2].program = { QStringLiteral("stress shelf"), tolm, {}, stressDir };
    runs[3].program = { QStringLiteral("quiet shelf"), tolm, {}, quietDir };
    runs[4].program = { QStringLiteral("busy shelf"), tolm, {}, busyDir };

    std::printf("platform: %s; idle %.0f s\n",
        display.name.isEmpty() ? "offscreen" : qPrintable(QStringLiteral("Xvfb ") + display.name), seconds);
    std::fflush(stdout);

    // The median of 15 starts each, taken in turns, so that whatever else
    // the machine does meanwhile falls on every program alike.
    constexpr int kStarts = 15;
    std::vector<std::vector<double>> starts(runs.size());
    for (int i = 0; i < kStarts; ++i) {
        for (std::size_t r = 0; r < runs.size(); ++r)
            starts[r].push_back(startupMs(runs[r].program, base));
    }
    std::vector<double> startups;
    for (std::vector<double>& times : starts) {
        std::sort(times.begin(), times.end());
        startups.push_back(times[times.size() / 2]);
    }

    for (Running& run : runs)
        startIdle(run, base);
    // Start-up work (loading, first paints, the first refresh of every tile) is left out.
    QThread::sleep(3);
    for (Running& run : runs)
        markIdle(run);
    QThread::usleep(static_cast<unsigned long>(seconds * 1e6));
    std::vector<IdleFigures> idle;
    for (Running& run : runs)
        idle.push_back(finishIdle(run, seconds));

    // "sched CPU %" is idle CPU from the scheduler's nanoseconds; context
    // switches a second: "cs/s" of the main thread, "all cs/s" of every thread.
    std::printf("%-20s %12s %10s %12s %12s %8s %12s %9s %9s\n", "", "start-up ms", "RSS kB", "RSS growth kB",
        "idle CPU %", "fds", "sched CPU %", "cs/s", "all cs/s");
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const QString files = QStringLiteral("%1->%2").arg(idle[i].filesBefore).arg(idle[i].filesAfter);
        std::printf("%-20s %12.1f %10lld %12lld %12.3f %8s %12.4f %9.2f %9.2f\n",
            qPrintable(runs[i].program.name), startups[i], idle[i].rssKb, idle[i].rssGrowthKb,
            idle[i].cpuPercent, qPrintable(files), idle[i].schedCpuPercent, idle[i].switchesPerSecond,
            idle[i].threadSwitchesPerSecond);
    }
    std::printf("\nratio to the floor    start-up      RSS   idle CPU  sched CPU      cs/s  all cs/s\n");
    for (std::size_t i = 1; i < runs.size(); ++i) {
        std::printf("%-20s %9s %8s %10s %10s %9s %9s\n", qPrintable(runs[i].program.name),
            qPrintable(ratio(startups[i], startups[0])), qPrintable(ratio(idle[i].rssKb, idle[0].rssKb)),
            qPrintable(ratio(idle[i].cpuPercent, idle[0].cpuPercent)),
            qPrintable(ratio(idle[i].schedCpuPercent, idle[0].schedCpuPercent)),
            qPrintable(ratio(idle[i].switchesPerSecond, idle[0].switchesPerSecond)),
            qPrintable(ratio(idle[i].threadSwitchesPerSecond, idle[0].threadSwitchesPerSecond)));
    }

    if (display.server) {
        display.server->terminate();
        display.server->waitForFinished(5000);
    }
    return 0;
}
