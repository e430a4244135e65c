#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <functional>
#include <memory>

class QFileSystemWatcher;
class QSocketNotifier;

namespace tolm::platform {

// Tells when the date and time are set (by hand, by a time service, or on
// waking from suspend) or the time zone changes, while the program sleeps:
// what shows the time must be brought up to date at once. Where the system
// cannot tell, it never calls.
class ClockChanges {
public:
    // The zone folder is watched with `watcher`, which others may share.
    ClockChanges(QFileSystemWatcher* watcher, std::function<void()> changed);
    ~ClockChanges();
    ClockChanges(const ClockChanges&) = delete;
    ClockChanges& operator=(const ClockChanges&) = delete;

private:
    void armTimeSet();
    void timeSet();
    void zoneMayHaveChanged();

    std::function<void()> m_changed;
    // A timer on the date and time, armed far ahead, that the system cancels
    // whenever the date and time are set.
    int m_timerFd { -1 };
    std::unique_ptr<QSocketNotifier> m_timerNotifier;
    // The folder of the zone file: the file is replaced, not written.
    QFileSystemWatcher* m_zoneWatcher;
    QMetaObject::Connection m_zoneConnection;
    QByteArray m_zone;
};

} // namespace tolm::platform
