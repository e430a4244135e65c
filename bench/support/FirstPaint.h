#pragma once

#include <QProcess>
#include <ctime>

// Both tolm and bare_label, under TOLM_EXIT_AFTER_FIRST_PAINT=1, say when
// their first paint was done ("painted NS", on the monotonic clock) and end.
// Ending a process with a file watch open takes the kernel longer than
// starting one, so the start-up figure stops at that line, not at the exit.

inline long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Starts `process` and waits for its end. Milliseconds from the start to its
// first paint; negative when it said nothing.
inline double msToFirstPaint(QProcess& process, int timeoutMs = 60000)
{
    const long long started = monotonicNs();
    process.start();
    process.waitForFinished(timeoutMs);
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("painted "))
            return (line.mid(8).toLongLong() - started) / 1e6;
    }
    return -1;
}
