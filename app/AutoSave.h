#pragma once

#include <QObject>
#include <QTimer>

namespace tolm::app {

// Writes what the user changes on any shelf window. A change can only come
// from the user, so every input event and every move or resize of a window
// starts a pass (unless one is due sooner); the pass writes each window
// whose stored state differs from its file. A released button or a drop
// ends a click, a drag or a move of an item or a window: what it changed is
// written at once, before anything can end the program. Keys, the wheel and
// moves the window manager makes (whose end is never seen) are written
// within kDelayMs. Tiles rewriting their figures every second are not
// changes, so a shelf nobody touches is never written and never woken.
class AutoSave : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 400;
    // After a failed write: how long until the next try.
    static constexpr int kRetryMs = 10000;

    explicit AutoSave(QObject* parent = nullptr);

    // A window may have changed without input reaching us (the window
    // manager closed a folder window).
    void schedule(int delayMs = kDelayMs);
    // Writes every changed window now. Failures not yet said are said in one
    // box; a window that keeps failing is said again only after it has
    // been written once.
    void saveNow();
    // While the program quits, nothing more is written from here.
    void stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer m_timer;
    bool m_stopped { false };
};

} // namespace tolm::app
