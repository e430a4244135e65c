#include "platform/ClockChanges.h"

#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <QTimeZone>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace tolm::platform {

namespace {
const char* const kZoneFolder = "/etc";
}

ClockChanges::ClockChanges(QFileSystemWatcher* watcher, std::function<void()> changed)
    : m_changed(std::move(changed))
    , m_zoneWatcher(watcher)
    , m_zone(QTimeZone::systemTimeZoneId())
{
    m_timerFd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timerFd >= 0) {
        m_timerNotifier = std::make_unique<QSocketNotifier>(m_timerFd, QSocketNotifier::Read);
        QObject::connect(m_timerNotifier.get(), &QSocketNotifier::activated, [this] { timeSet(); });
        armTimeSet();
    }
    const QString zoneFolder = QString::fromLatin1(kZoneFolder);
    if (!m_zoneWatcher->directories().contains(zoneFolder))
        m_zoneWatcher->addPath(zoneFolder);
    m_zoneConnection = QObject::connect(
        m_zoneWatcher, &QFileSystemWatcher::directoryChanged, [this, zoneFolder](const QString& changed) {
            if (changed == zoneFolder)
                zoneMayHaveChanged();
        });
}

ClockChanges::~ClockChanges()
{
    QObject::disconnect(m_zoneConnection);
    m_timerNotifier.reset();
    if (m_timerFd >= 0)
        close(m_timerFd);
}

void ClockChanges::armTimeSet()
{
    // Far enough ahead never to run out, near enough for any time_t.
    itimerspec when {};
    when.it_value.tv_sec = std::time(nullptr) + std::time_t(10) * 366 * 24 * 3600;
    timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr);
}

void ClockChanges::timeSet()
{
    std::uint64_t expirations = 0;
    const ssize_t got = read(m_timerFd, &expirations, sizeof expirations);
    const bool cancelled = got < 0 && errno == ECANCELED;
    // A cancelled timer stays cancelled until it is armed again.
    armTimeSet();
    if (cancelled)
        m_changed();
}

void ClockChanges::zoneMayHaveChanged()
{
    // Anything in the folder may have changed; only a new zone is told.
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    if (zone == m_zone)
        return;
    m_zone = zone;
    m_changed();
}

} // namespace tolm::platform
