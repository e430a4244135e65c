// Items coming onto a window and leaving it, opening folder windows, and
// files dropped on the window.
#include "app/AppState.h"
#include "app/ItemCommands.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/TPrincipal.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "store/ShelfFile.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <filesystem>

using namespace tolm;

void TPrincipal::adoptItem(TSpButton* item)
{
    item->setParent(this);
    item->setPopupMenu(menuForClase(item->claseValue()));
    // An item moved here from another window answers to this one only.
    disconnect(item, &TSpButton::folderOpenRequested, nullptr, nullptr);
    disconnect(item, &TSpButton::calendarRequested, nullptr, nullptr);
    disconnect(item, &TSpButton::propertiesRequested, nullptr, nullptr);
    connect(item, &TSpButton::folderOpenRequested, this, &TPrincipal::openFolder);
    connect(item, &TSpButton::calendarRequested, this, &TPrincipal::calendarRequested);
    connect(item, &TSpButton::propertiesRequested, this, [this](TSpButton* requester) {
        AppState::get().currentItem = requester;
        m_commands->showProperties();
    });
}

void TPrincipal::moveToEndOfItemList(TSpButton* item)
{
    removeFromItemList(item);
    appendToItemList(item);
}

void TPrincipal::openFolder(TSpButton* folder)
{
    AppState& state = AppState::get();
    if (folder->folderOpen()) {
        if (TPrincipal* window = folderWindowOf(folder); state.isOpen(window)) {
            window->show();
            window->raise();
            window->activateWindow();
            return;
        }
        folder->setFolderOpen(false);
        folder->setFolderWindow(nullptr);
    }
    const QString file = folder->Comando();
    if (!store::isFollowableFolderFile(file.toStdString())) {
        // A folder's file must be a plain name beside the main shelf file;
        // anything else would read or write a file outside the shelf folder.
        app::showMessage(QStringLiteral("Tolm"),
            tr("La carpeta «%1» no se puede abrir:\n«%2» no es un fichero de carpeta de esta bandeja.")
                .arg(folder->Caption().isEmpty() ? folder->Hint() : folder->Caption(), file));
        return;
    }
    if (state.fileIsOpen(file)) {
        qCWarning(lcApp, "%s is already open; a folder cannot open inside itself", qPrintable(file));
        return;
    }
    if (!folderFileFound(folder))
        return;
    state.currentItem = folder;
    state.filesBeingOpened.append(file);
    auto* window = new TPrincipal(folder);
    state.filesBeingOpened.removeOne(file);
    folder->setFolderWindow(window);
    state.openFolderWindows.append(window);
    window->show();
}

bool TPrincipal::folderFileFound(TSpButton* folder)
{
    const std::filesystem::path path = AppState::get().shelfFolder / folder->Comando().toStdString();
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error)))
        return true;
    // A folder stored open opens while its window loads; the question waits
    // until the windows are up.
    if (m_document->loading()) {
        QTimer::singleShot(0, this, [this, item = QPointer<TSpButton>(folder)] {
            if (item && windowOf(item) == this && !item->folderOpen())
                openFolder(item);
        });
        return false;
    }
    const QString name = folder->Caption().isEmpty() ? folder->Hint() : folder->Caption();
    return platform::services().messageBoxes->choice(QStringLiteral("Tolm"),
               tr("No se encuentra el fichero de la carpeta «%1»:\n%2\n\n"
                  "Puede crear una carpeta vacía con ese fichero, o dejar el elemento como está "
                  "(por ejemplo, para devolver el fichero a su sitio).")
                   .arg(name, QString::fromStdString(path.string())),
               tr("Crear carpeta vacía"), tr("Dejar como está"))
        == platform::Answer::Ok;
}

void TPrincipal::removeFromItemList(TSpButton* item)
{
    m_items.removeAll(item);
}

void TPrincipal::appendToItemList(TSpButton* item)
{
    m_hasItemList = true;
    m_items.append(item);
}

// ---------------------------------------------------------------- dropping files

void TPrincipal::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TPrincipal::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    try {
        m_commands->dropFiles(paths, event->position().toPoint());
    } catch (const std::exception& error) {
        app::showError(QString::fromUtf8(error.what()));
    }
}
