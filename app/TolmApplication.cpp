#include "app/TolmApplication.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "app/TPrincipal.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TCalendario.h"
#include "dialogs/TPropiedades.h"

#include <QApplication>
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
void exitAfterFirstPaintIfAsked(QWidget* window)
{
    if (qEnvironmentVariableIntValue("TOLM_EXIT_AFTER_FIRST_PAINT") != 1)
        return;
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                QMetaObject::invokeMethod(
                    qApp, [] { std::_Exit(0); }, Qt::QueuedConnection);
            return false;
        }
    };
    window->installEventFilter(new FirstPaint);
}

} // namespace

void connectDialogs(TPrincipal* mainWindow)
{
    QObject::connect(mainWindow, &TPrincipal::propertiesRequested, mainWindow,
        [](TSpButton* item) { TPropiedades::execute(item); });
    // A clock opens the one calendar window of the program at today's date.
    QObject::connect(
        mainWindow, &TPrincipal::calendarRequested, mainWindow, [] { TCalendario::instance()->showToday(); });
    QObject::connect(mainWindow, &TPrincipal::aboutRequested, mainWindow,
        [](QWidget* parent) { TAboutBox::execute(parent); });
}

int runTolm(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolm"));
    QApplication::setQuitOnLastWindowClosed(false);
    AppState state;
    // The start counter lives in the settings file; a counter that cannot be
    // written is no reason to keep the user from the launcher.

    TPrincipal* mainWindow = nullptr;
    try {
        mainWindow = new TPrincipal;
    } catch (const std::exception& error) {
        showError(nullptr, QString::fromUtf8(error.what()));
        return 1;
    }
    connectDialogs(mainWindow);
    mainWindow->show();
    exitAfterFirstPaintIfAsked(mainWindow);
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
