#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace tolm::app {

// Says when a shelf file may have changed on disk. Sync services and most
// programs replace a file by renaming a new one over it, which ends the
// watch on the old one; the folder is watched too, so the new file is
// watched again as soon as it is there. A burst of changes is said once,
// a moment after it settles. What changed is for the receiver to find out:
// the window's own saves are said as well. Every window's watch goes
// through the application's one file watcher.
class ShelfWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kSettleMs = 300;
    // Asked again after this while the window is busy (a dialog, a menu, a drag).
    static constexpr int kBusyMs = 1000;

    ShelfWatch(const QString& path, QObject* parent);
    ~ShelfWatch() override;

    // The change could not be taken now: say it again in a moment.
    void askAgainLater();

signals:
    void changed();

private:
    void noticed();

    QString m_path;
    QString m_folder;
    QPointer<QFileSystemWatcher> m_watcher;
    QTimer m_settle;
};

} // namespace tolm::app
