#include "app/TolmApplication.h"

#include "app/AppState.h"
#include "app/Autostart.h"
#include "app/ConflictCopies.h"
#include "app/InstanceLock.h"
#include "app/Language.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/NoticesAfterWindows.h"
#include "app/SaveReport.h"
#include "app/ShelfSession.h"
#include "app/StartOptions.h"
#include "app/TPrincipal.h"
#include "app/WindowPlacement.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TCalendario.h"
#include "dialogs/TPropiedades.h"
#include "gfx/ProgramIcon.h"
#include "platform/Platform.h"
#include "platform/Settings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace tolm::app {

namespace {

// How long a second start waits for the Tolm that holds its folder to say it
// came forward. The holder answers from its event loop, so this also covers
// a holder that is still loading a large shelf.
constexpr std::chrono::milliseconds kAnswerTimeout { 3000 };
// How long the work left until after the first paint waits for one.
constexpr std::chrono::milliseconds kFirstPaintWait { 1000 };

int s_signalPipe[2] = { -1, -1 };

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(s_signalPipe[1], &byte, 1);
}

// SIGTERM (a logout, `kill`), SIGHUP (a closed terminal or session) and
// SIGINT (Ctrl+C in the terminal that started Tolm) close the main window as
// the user would, which saves every window; the handler itself only wakes
// the event loop. A hangup or an interrupt that Tolm was started ignoring
// stays ignored: `nohup tolm` and a shell's background job ask for that.
// SIGQUIT keeps its own meaning: it asks for a core dump of a program that
// has stopped answering, whose event loop would never get to it.
void watchTermination(TPrincipal* mainWindow)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(s_signalPipe[0], QSocketNotifier::Read, mainWindow);
    QObject::connect(notifier, &QSocketNotifier::activated, mainWindow, [mainWindow] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(s_signalPipe[0], &byte, 1);
        // No one may be there to answer a question about unsaved windows.
        mainWindow->setAskBeforeQuitting(false);
        mainWindow->close();
    });
    struct sigaction action { };
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    for (const int which : { SIGHUP, SIGINT }) {
        struct sigaction inherited { };
        if (sigaction(which, nullptr, &inherited) == 0 && inherited.sa_handler != SIG_IGN)
            sigaction(which, &action, nullptr);
    }
}

// Runs `work` once, just after the first paint of anything in `window` (a
// shelf full of items hides the window itself behind its opaque children,
// and Qt then paints only those), or after `latest` if no paint comes first:
// a window that starts minimised is not painted. Without `latest` it waits
// for the paint alone.
void afterFirstPaint(
    QWidget* window, std::optional<std::chrono::milliseconds> latest, std::function<void()> work)
{
    struct FirstPaint : QObject {
        FirstPaint(QWidget* window, std::function<void()> work)
            : QObject(window)
            , m_window(window)
            , m_work(std::move(work))
        { }
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint && watched->isWidgetType()
                && static_cast<QWidget*>(watched)->window() == m_window) {
                // The rest of the paint goes first.
                QTimer::singleShot(0, this, &FirstPaint::run);
            }
            return false;
        }
        void run()
        {
            if (!m_work)
                return;
            qApp->removeEventFilter(this);
            const std::function<void()> work = std::exchange(m_work, nullptr);
            work();
        }
        QWidget* m_window;
        std::function<void()> m_work;
    };
    auto* watch = new FirstPaint(window, std::move(work));
    qApp->installEventFilter(watch);
    if (latest)
        QTimer::singleShot(*latest, watch, &FirstPaint::run);
}

// For the start-up benchmark: TOLM_EXIT_AFTER_FIRST_PAINT=1 ends the process
// at once, saving nothing, as soon as the main window has been painted once,
// and first says on standard output when that was, on the monotonic clock in
// nanoseconds: ending a process takes longer than starting one. The folder is
// given up first, so that the next start finds no lock to clear.
void exitAfterFirstPaintIfAsked(QWidget* window, InstanceLock* lock)
{
    if (qEnvironmentVariableIntValue("TOLM_EXIT_AFTER_FIRST_PAINT") != 1)
        return;
    afterFirstPaint(window, std::nullopt, [lock] {
        timespec now {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("painted %lld\n", static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
        std::fflush(stdout);
        lock->release();
        std::_Exit(0);
    });
}

// Writes every window that holds unwritten work, with no one there to
// read a message: failures go to standard error and leave the files whole.
void saveQuietly()
{
    if (!AppState::exists() || AppState::get().quitting)
        return;
    SaveReport report;
    app::saveEveryWindow(report);
    if (report.any())
        qCWarning(lcApp, "%s", qPrintable(report.text()));
}

QString noAnswerText(const QString& folder, qint64 pid)
{
    const QString holder = pid > 0
        ? QCoreApplication::translate("TolmApplication", "Otro Tolm (proceso %1)").arg(pid)
        : QCoreApplication::translate("TolmApplication", "Otro Tolm");
    return QCoreApplication::translate("TolmApplication",
        "%1 tiene abierta la carpeta %2, pero no responde.\n\n"
        "Este Tolm se cierra sin abrirla. Cierre el otro, o espere a que responda, "
        "y vuelva a iniciar Tolm.")
        .arg(holder, folder);
}

// Why the folder's lock could not be had, and what the user can do about it.
struct LockTrouble {
    QString why;
    QString remedy;
    QString englishWhy;
};

LockTrouble lockTrouble(const InstanceLock& lock, const QString& shelfFolder)
{
    // The lock lies in the shelf folder only where there is no runtime folder.
    const QFileInfo lockFile(lock.lockFilePath());
    const bool inShelfFolder = lockFile.absolutePath() == QDir(shelfFolder).canonicalPath();
    const QString name = inShelfFolder ? lockFile.fileName() : QDir::toNativeSeparators(lockFile.filePath());
    const QString elsewhere = QCoreApplication::translate(
        "TolmApplication", "o inicie Tolm en otra carpeta con --dir CARPETA o --user.");
    if (lock.obstacle() == InstanceLock::Obstacle::NotAFile)
        return { inShelfFolder ? QCoreApplication::translate(
                     "TolmApplication", "en ella hay una carpeta u otra cosa llamada %1 que no es un fichero")
                                     .arg(name)
                               : QCoreApplication::translate("TolmApplication",
                                   "donde va su fichero de bloqueo, %1, hay una carpeta u otra cosa")
                                     .arg(name),
            QCoreApplication::translate("TolmApplication", "Borre o cambie de nombre %1, ").arg(name)
                + elsewhere,
            QStringLiteral("%1 is not a regular file").arg(name) };
    const QString english = QString::fromLocal8Bit(std::strerror(lock.errorNumber()));
    switch (lock.errorNumber()) {
    case EACCES:
    case EPERM:
        return { QCoreApplication::translate("TolmApplication", "no hay permiso para escribir en ella"),
            QCoreApplication::translate("TolmApplication", "Dé permiso de escritura en la carpeta, ")
                + elsewhere,
            english };
    case EROFS:
        return { QCoreApplication::translate("TolmApplication", "está en un disco de solo lectura"),
            QCoreApplication::translate("TolmApplication", "Monte el disco con escritura, ") + elsewhere,
            english };
    case ENOSPC:
    case EDQUOT:
        return { QCoreApplication::translate("TolmApplication", "el disco está lleno"),
            QCoreApplication::translate("TolmApplication", "Libere espacio en el disco, ") + elsewhere,
            english };
    default:
        return { english,
            QCoreApplication::translate("TolmApplication", "Haga que se pueda escribir en la carpeta, ")
                + elsewhere,
            english };
    }
}

void sayError(const QString& text)
{
    std::fprintf(stderr, "tolm: %s\n", qPrintable(text));
}

int setAutostart(bool on, const Environment& env)
{
    using Problem = AutostartChange::Problem;
    const AutostartChange change = setStartWithSession(on, runningProgram(), env);
    switch (change.problem) {
    case Problem::None:
        return 0;
    case Problem::NoConfigFolder:
        sayError(QStringLiteral("--autostart needs HOME or XDG_CONFIG_HOME to find the autostart folder"));
        break;
    case Problem::CannotRemove:
        sayError(QStringLiteral("cannot remove %1: %2").arg(change.file, change.detail));
        break;
    case Problem::CannotWrite:
        sayError(QStringLiteral("cannot write %1: %2").arg(change.file, change.detail));
        break;
    case Problem::UnwritableProgram:
        sayError(change.detail);
        break;
    }
    return 1;
}

// Moves the process into the folder the shelves live in, making it when it
// is missing, and says which folder that is (as the system names it, links
// followed); nothing when it cannot. The per-user folder is the user's
// alone, as data folders are.
std::optional<std::filesystem::path> enterShelfFolder(const StartOptions& options, const Environment& env)
{
    if (options.folder != StartOptions::Folder::Current) {
        QString error;
        const QString folder = shelfFolder(options, QDir::currentPath(), env, &error);
        if (folder.isEmpty()) {
            sayError(error);
            return std::nullopt;
        }
        const bool existed = QFileInfo(folder).isDir();
        if (!existed && !QDir().mkpath(folder)) {
            sayError(QStringLiteral("cannot create the shelf folder %1").arg(folder));
            return std::nullopt;
        }
        if (!existed && options.folder == StartOptions::Folder::User)
            QFile::setPermissions(
                folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!QDir::setCurrent(folder)) {
            sayError(QStringLiteral("cannot enter the shelf folder %1").arg(folder));
            return std::nullopt;
        }
    }
    // The one reading of the current folder: from here on the shelf folder
    // is this value, handed to whatever needs it.
    std::error_code ec;
    return std::filesystem::current_path(ec);
}

} // namespace

void connectDialogs(TPrincipal* mainWindow)
{
    QObject::connect(mainWindow, &TPrincipal::propertiesRequested, mainWindow,
        [](TSpButton* item) { TPropiedades::execute(item); });
    // A clock opens the one calendar window of the program at today's date.
    QObject::connect(mainWindow, &TPrincipal::calendarRequested, mainWindow,
        [] { AppState::get().calendar()->showToday(); });
    QObject::connect(mainWindow, &TPrincipal::aboutRequested, mainWindow,
        [](QWidget* parent) { TAboutBox::execute(parent); });
}

TPrincipal* showShelfWindows(std::shared_ptr<NoticesAfterWindows> notices, std::function<void()> afterWindows)
{
    if (!notices)
        notices = std::make_shared<NoticesAfterWindows>();
    TPrincipal* mainWindow = nullptr;
    try {
        mainWindow = new TPrincipal;
    } catch (const std::exception& error) {
        notices->release();
        showError(QString::fromUtf8(error.what()));
        return nullptr;
    }
    connectDialogs(mainWindow);
    mainWindow->show();
    afterFirstPaint(mainWindow, kFirstPaintWait, [notices, afterWindows = std::move(afterWindows)] {
        if (afterWindows)
            afterWindows();
        notices->release();
    });
    return mainWindow;
}

void bringForward(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

int runTolm(int argc, char** argv)
{
    // The command line is read before Qt starts: --help, --version and
    // --autostart need no display, and none of them touches a shelf.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const StartOptions options = parseStartOptions(arguments);
    const Environment env = processEnvironment();
    switch (options.action) {
    case StartOptions::Action::Help:
        std::fputs(qPrintable(usageText()), stdout);
        return 0;
    case StartOptions::Action::Version:
        std::fputs(qPrintable(versionText()), stdout);
        return 0;
    case StartOptions::Action::Error:
        sayError(options.error + QStringLiteral(" (tolm --help lists the options)"));
        return 2;
    case StartOptions::Action::Autostart:
        return setAutostart(options.autostartOn, env);
    case StartOptions::Action::Run:
        break;
    }
    // Qt itself would abort here without a word the user can act on.
    if (const QString why = missingDisplay(options, env); !why.isEmpty()) {
        sayError(why);
        return 1;
    }
    const std::optional<std::filesystem::path> shelf = enterShelfFolder(options, env);
    if (!shelf)
        return 1;
    const QString shelfPath = QFile::decodeName(shelf->c_str());

    chooseDisplayPlatform(argc, argv);
    // Qt takes its own options out and leaves ours: a session manager that
    // restarts Tolm then starts it with --user or --dir again, on the same shelves.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolm"));
    // Before the first window: every text is translated as it is made.
    useLanguage(chooseLanguage(QLocale::system().uiLanguages()));
    // The desktop entry's name lets the desktop match the windows to the
    // menu entry and its icon; the window icon is the same drawing.
    QGuiApplication::setDesktopFileName(QStringLiteral("tolm"));
    QApplication::setQuitOnLastWindowClosed(false);
    // After the application's name: the real services find their files by it.
    platform::setShelfFolder(shelfPath);

    // Before anything reads the shelf or counts the start: a Tolm that already
    // holds this folder keeps it, and this start only brings its window forward.
    InstanceLock lock(shelfPath);
    const QString folder = QDir::toNativeSeparators(shelfPath);
    const InstanceLock::Outcome outcome = lock.acquire(kAnswerTimeout);
    switch (outcome) {
    case InstanceLock::Outcome::Owner:
    case InstanceLock::Outcome::Unlockable:
        break;
    case InstanceLock::Outcome::HandedOver:
        return 0;
    case InstanceLock::Outcome::NoAnswer:
        qCWarning(lcApp,
            "another Tolm holds this folder (%s) and did not answer; "
            "this one ends without loading the shelf",
            qPrintable(folder));
        showError(noAnswerText(folder, lock.holderPid()));
        return 1;
    }

    AppState state(*shelf);
    // From here the boxes wait for the shelf windows.
    auto notices = std::make_shared<NoticesAfterWindows>();
    if (outcome == InstanceLock::Outcome::Unlockable) {
        // Without the lock a second Tolm here would not be noticed, and the
        // last of the two to save would undo the other's changes.
        const LockTrouble trouble = lockTrouble(lock, shelfPath);
        qCWarning(lcApp, "cannot lock %s (%s); the shelves open but nothing is saved in this folder",
            qPrintable(lock.lockFilePath()), qPrintable(trouble.englishWhy));
        state.savingOffReason
            = QCoreApplication::translate("TolmApplication", "Tolm no puede bloquear la carpeta %1: %2.")
                  .arg(folder, trouble.why);
        showError(state.savingOffReason
            + QCoreApplication::translate("TolmApplication",
                "\n\nTolm abre las estanterías, pero no guardará cambios en esta carpeta. ")
            + trouble.remedy);
    }

    // What the first paint does not need waits for it: the window icon is
    // drawn at seven sizes, and the start counter is written to disk. Then
    // conflict copies a sync service left in the folder, and later those it
    // leaves while Tolm runs.
    QPointer<ConflictCopies> conflictCopies;
    TPrincipal* mainWindow = showShelfWindows(std::move(notices), [&conflictCopies] {
        QApplication::setWindowIcon(gfx::programIcon());
        // One that cannot be stored is reported; nothing depends on it.
        if (!platform::services().settings->countStart())
            qCWarning(lcApp, "the start counter could not be stored");
        if (conflictCopies)
            conflictCopies->sayNew();
    });
    if (!mainWindow)
        return 1;
    conflictCopies = new ConflictCopies(shelfPath, mainWindow);
    exitAfterFirstPaintIfAsked(mainWindow, &lock);
    QObject::connect(
        &lock, &InstanceLock::activationRequested, mainWindow, [mainWindow] { bringForward(mainWindow); });
    // The calendar window is made hidden the first time a clock opens it,
    // not here: it would only slow down the start.
    watchTermination(mainWindow);
    // Ending the desktop session saves every window, as closing the main window does.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, mainWindow,
        [](QSessionManager&) { saveQuietly(); });
    // Qt ends the process with exit() when the display goes away ("The X11
    // connection broke"); what changed in the last moment is written then.
    std::atexit(saveQuietly);
    QPointer<TPrincipal> guard(mainWindow);
    const int result = application.exec();
    delete guard.data();
    return result;
}

} // namespace tolm::app
