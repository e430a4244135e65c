#include "app/ShelfWatch.h"

#include "app/AppState.h"

#include <QDir>
#include <QFileInfo>

namespace tolm::app {

ShelfWatch::ShelfWatch(const QString& path, QObject* parent)
    : QObject(parent)
    , m_path(path)
    , m_folder(QDir(QFileInfo(path).absolutePath()).absolutePath())
    , m_watcher(AppState::get().fileWatcher())
{
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &ShelfWatch::changed);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString& changed) {
        if (changed == m_path)
            noticed();
    });
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& changed) {
        if (QDir(changed).absolutePath() == m_folder)
            noticed();
    });
    if (!m_watcher->directories().contains(m_folder))
        m_watcher->addPath(m_folder);
    if (QFileInfo::exists(path))
        m_watcher->addPath(path);
}

ShelfWatch::~ShelfWatch()
{
    // One window has a file open at a time; the folder stays watched.
    if (m_watcher)
        m_watcher->removePath(m_path);
}

void ShelfWatch::noticed()
{
    // A file renamed over ours is a new file: its watch starts here.
    if (m_watcher && !m_watcher->files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher->addPath(m_path);
    m_settle.start(kSettleMs);
}

void ShelfWatch::askAgainLater()
{
    m_settle.start(kBusyMs);
}

} // namespace tolm::app
