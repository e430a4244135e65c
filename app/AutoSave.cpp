#include "app/AutoSave.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "app/SaveReport.h"
#include "app/TPrincipal.h"

#include <QCoreApplication>
#include <QEvent>

namespace tolm::app {

namespace {

QList<TPrincipal*> shelfWindows()
{
    AppState& state = AppState::get();
    QList<TPrincipal*> windows;
    if (state.mainWindow)
        windows.append(state.mainWindow);
    for (const auto& window : state.openFolderWindows) {
        if (window)
            windows.append(window);
    }
    return windows;
}

} // namespace

AutoSave::AutoSave(QObject* parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &AutoSave::saveNow);
    QCoreApplication::instance()->installEventFilter(this);
}

void AutoSave::schedule(int delayMs)
{
    // A pass already due is not put off: a user who keeps working still has
    // each change on disk within moments.
    if (!m_stopped && (!m_timer.isActive() || m_timer.remainingTime() > delayMs))
        m_timer.start(delayMs);
}

void AutoSave::saveNow()
{
    m_timer.stop();
    if (m_stopped || !AppState::exists())
        return;
    // A box says something about the windows; the pass comes after it, and
    // writes nothing the box has not been answered about.
    if (aBoxIsOpen()) {
        m_timer.start(kDelayMs);
        return;
    }
    // The user is back: a window whose file could not be loaded looks at
    // it again, in case the watch missed its mending.
    for (TPrincipal* window : shelfWindows()) {
        if (window->document().loadFailed())
            window->takeChangeOnDisk();
    }
    SaveReport unsaid;
    bool failed = false;
    for (TPrincipal* window : shelfWindows()) {
        if (window->isClosing() || !window->document().hasUnwrittenChanges())
            continue;
        const bool said = window->document().saveFailureSaid();
        SaveReport report;
        window->document().write(report);
        if (!report.any())
            continue;
        failed = true;
        if (!said)
            unsaid.add(report.text());
    }
    if (failed)
        m_timer.start(kRetryMs);
    unsaid.show();
}

void AutoSave::stop()
{
    m_stopped = true;
    m_timer.stop();
}

bool AutoSave::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
        // After the event has done its work: the pass runs as soon as the
        // program is back in its event loop.
        schedule(0);
        break;
    case QEvent::KeyPress:
    case QEvent::Wheel:
        schedule();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        // A shelf window's place and size are stored; a hint's are not.
        if (qobject_cast<TPrincipal*>(watched))
            schedule();
        break;
    default:
        break;
    }
    return false;
}

} // namespace tolm::app
