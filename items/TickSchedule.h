#pragma once

#include <QtGlobal>

namespace tolm::items {

// When the refresh timer ticks next. Each tick stands for one second of the
// date and time; the ticks that would change nothing are skipped, and the
// one after them runs just after its second begins. Times come in pairs: the
// date and time in milliseconds since the epoch, and the steady clock's
// milliseconds, which setting the date and time does not move.
class TickSchedule {
public:
    // A tick ran at `wall` (read at `steady`), and the `quiet` ticks after it
    // may be skipped.
    void ticked(qint64 wall, qint64 steady, int quiet);
    // Milliseconds from `steady` until the next tick is due.
    qint64 delayMs(qint64 steady) const;
    // For a tick that runs at `steady`: how many of the skipped ticks fell
    // before it, whose work it does first. Counted on the steady clock, so
    // that setting the date and time neither adds nor loses any.
    int skippedBy(qint64 steady) const;
    // The skipped ticks whose seconds have begun by `steady`, taken off the
    // sleep: their work is done now, before anyone reads what they change.
    int catchUp(qint64 steady);
    // Something may change at the next second: a tick planned later moves
    // there. Whether it moved.
    bool tickNextSecond(qint64 steady);
    // The ticks the next one comes after.
    int skipping() const { return m_skip; }

    // Longer sleeps gain nothing; the limit bounds what a missed change costs.
    static constexpr int kMaxSkip = 3599;
    // How long after its second begins a tick runs, so that a late timer
    // still finds the second turned.
    static constexpr qint64 kAfterTurnMs = 20;

private:
    // The second that `steady` falls in, on the date and time of the last tick.
    qint64 secondAt(qint64 steady) const;

    qint64 m_wall { 0 };
    qint64 m_steady { 0 };
    int m_skip { 0 };
};

} // namespace tolm::items
