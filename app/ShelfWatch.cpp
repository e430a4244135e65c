#include "app/ShelfWatch.h"

#include <QFileInfo>

namespace tolm::app {

ShelfWatch::ShelfWatch(const QString& path, QObject* parent)
    : QObject(parent)
    , m_path(path)
{
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &ShelfWatch::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &ShelfWatch::noticed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &ShelfWatch::noticed);
    m_watcher.addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path))
        m_watcher.addPath(path);
}

void ShelfWatch::noticed()
{
    // A file renamed over ours is a new file: its watch starts here.
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    m_settle.start(kSettleMs);
}

void ShelfWatch::askAgainLater()
{
    m_settle.start(kBusyMs);
}

} // namespace tolm::app
