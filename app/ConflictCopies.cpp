#include "app/ConflictCopies.h"

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "store/ConflictCopies.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QStringList>

namespace tolm::app {

namespace {

constexpr int kSettleMs = 500;

} // namespace

ConflictCopies::ConflictCopies(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_folder(folder)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &ConflictCopies::sayNew);
    // The application's one watcher; the shelf windows watch the folder too.
    QFileSystemWatcher* watcher = AppState::get().fileWatcher();
    const QString watched = QDir(folder).absolutePath();
    if (!watcher->directories().contains(watched) && !watcher->addPath(watched))
        qCWarning(lcApp, "copies that a sync service makes in %s later are not noticed", qPrintable(folder));
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, [this, watched](const QString& changed) {
        if (QDir(changed).absolutePath() == watched)
            m_settle.start();
    });
}

void ConflictCopies::sayNew()
{
    // The box runs an event loop, in which the folder may change again: what
    // appears meanwhile is said once this box is closed.
    if (m_saying) {
        m_settle.start();
        return;
    }
    QStringList lines;
    for (const auto& copy : store::conflictCopies(QFile::encodeName(m_folder).toStdString())) {
        const QString name = QFile::decodeName(QByteArray::fromStdString(copy.name));
        if (m_said.contains(name)
            || (AppState::exists() && AppState::get().conflictCopiesWritten.contains(name)))
            continue;
        m_said.insert(name);
        lines.append(QCoreApplication::translate("ConflictCopies", "%1 (copia de %2)")
                         .arg(name, QString::fromStdString(copy.shelfFile)));
        qCWarning(lcApp, "%s is a conflict copy of %s", qPrintable(name), copy.shelfFile.c_str());
    }
    if (lines.isEmpty())
        return;
    m_saying = true;
    showError(QCoreApplication::translate("ConflictCopies",
        "En la carpeta %1 hay copias en conflicto de ficheros de estanterías, hechas cuando dos equipos "
        "cambiaron el mismo fichero (por un servicio de sincronización o por Tolm):\n\n%2\n\n"
        "Tolm no las lee. Para ver lo que guarda una, use «tolm-shelf dump FICHERO»; para usarla en "
        "lugar del fichero que copia, cierre Tolm y cámbiele el nombre por el de ese fichero.")
                  .arg(QDir::toNativeSeparators(m_folder), lines.join(u'\n')));
    m_saying = false;
}

} // namespace tolm::app
