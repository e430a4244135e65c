#include "app/TolmApplication.h"

#include "app/AppState.h"
#include "app/InstanceLock.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/TPrincipal.h"
#include "app/WindowPlacement.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TCalendario.h"
#include "dialogs/TPropiedades.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace tolm::app {

namespace {

// How long a second start waits for the Tolm that holds its folder to say it
// came forward. The holder answers from its event loop, so this also covers
// a holder that is still loading a large shelf.
constexpr std::chrono::milliseconds kAnswerTimeout { 3000 };

int s_signalPipe[2] = { -1, -1 };

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(s_signalPipe[1], &byte, 1);
}

// SIGTERM (a logout, `kill`) closes the main window as the user would, which
// saves every window; the handler itself only wakes the event loop.
void watchTermination(TPrincipal* mainWindow)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(s_signalPipe[0], QSocketNotifier::Read, mainWindow);
    QObject::connect(notifier, &QSocketNotifier::activated, mainWindow, [mainWindow, notifier] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(s_signalPipe[0], &byte, 1);
        notifier->setEnabled(false);
        mainWindow->close();
    });
    struct sigaction action { };
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

// For the start-up benchmark: TOLM_EXIT_AFTER_FIRST_PAINT=1 ends the process
// at once, saving nothing, as soon as the main window has been painted once.
// A shelf full of items hides the window itself behind its opaque children,
// and Qt then paints only those; so the first paint of anything in the window
// counts. The folder is given up first, so that the next start finds no lock
// to clear.
void exitAfterFirstPaintIfAsked(QWidget* window, InstanceLock* lock)
{
    if (qEnvironmentVariableIntValue("TOLM_EXIT_AFTER_FIRST_PAINT") != 1)
        return;
    struct FirstPaint : QObject {
        FirstPaint(QWidget* window, InstanceLock* lock)
            : QObject(window)
            , m_window(window)
            , m_lock(lock)
        { }
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint && watched->isWidgetType()
                && static_cast<QWidget*>(watched)->window() == m_window) {
                QMetaObject::invokeMethod(
                    qApp,
                    [lock = m_lock] {
                        lock->release();
                        std::_Exit(0);
                    },
                    Qt::QueuedConnection);
            }
            return false;
        }
        QWidget* m_window;
        InstanceLock* m_lock;
    };
    qApp->installEventFilter(new FirstPaint(window, lock));
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

void bringForward(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

int runTolm(int argc, char** argv)
{
    chooseDisplayPlatform(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolm"));
    QApplication::setQuitOnLastWindowClosed(false);

    // Before anything reads the shelf or counts the start: a Tolm that already
    // holds this folder keeps it, and this start only brings its window forward.
    InstanceLock lock(QDir::currentPath());
    switch (lock.acquire(kAnswerTimeout)) {
    case InstanceLock::Outcome::Owner:
        break;
    case InstanceLock::Outcome::HandedOver:
        return 0;
    case InstanceLock::Outcome::NoAnswer:
        qCWarning(lcApp,
            "another Tolm holds this folder (%s) and did not answer; "
            "this one ends without loading the shelf",
            qPrintable(QDir::currentPath()));
        return 1;
    case InstanceLock::Outcome::Unlockable:
        // A folder where no lock can be made is one where no shelf can be
        // saved either, so two Tolms here cannot undo each other's work.
        qCWarning(lcApp, "no lock can be made in %s; a second Tolm here would not be noticed",
            qPrintable(QDir::currentPath()));
        break;
    }

    AppState state;
    // The start counter lives in the settings file; a counter that cannot be
    // written is no reason to keep the user from the launcher.

    TPrincipal* mainWindow = nullptr;
    try {
        mainWindow = new TPrincipal;
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
        return 1;
    }
    connectDialogs(mainWindow);
    mainWindow->show();
    exitAfterFirstPaintIfAsked(mainWindow, &lock);
    QObject::connect(
        &lock, &InstanceLock::activationRequested, mainWindow, [mainWindow] { bringForward(mainWindow); });
    // The calendar window is made hidden the first time a clock opens it,
    // not here: it would only slow down the start.
    watchTermination(mainWindow);
    // Ending the desktop session saves every window, as closing the main window does.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, mainWindow,
        [mainWindow](QSessionManager&) { mainWindow->Guardarconfiguracin1Click(); });
    QPointer<TPrincipal> guard(mainWindow);
    const int result = application.exec();
    delete guard.data();
    return result;
}

} // namespace tolm::app
