// Items coming onto a window and leaving it: the "Nuevo" commands, dropped
// files, deleting, the program's own clipboard, undo and arranging.
#include "app/AppState.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/TPrincipal.h"
#include "items/ChildAt.h"
#include "items/CoverIndex.h"
#include "items/TSpButton.h"
#include "platform/CommandLine.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "store/ShelfFile.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

using namespace tolm;
using store::Clase;

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
        BotonPropiedadesClick();
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
    if (folder->Tag() != 0) {
        if (TPrincipal* window = folderWindowOf(folder); state.isOpen(window)) {
            window->show();
            window->raise();
            window->activateWindow();
            return;
        }
        folder->setTag(0);
        folder->setFolderWindow(nullptr);
    }
    const QString file = folder->Comando();
    if (!store::isFollowableFolderFile(file.toStdString())) {
        // A folder's file must be a plain name beside the main shelf file;
        // anything else would read or write a file outside the shelf folder.
        app::showMessage(QStringLiteral("Tolm"),
            QStringLiteral(
                "La carpeta «%1» no se puede abrir:\n«%2» no es un fichero de carpeta de esta bandeja.")
                .arg(folder->Caption().isEmpty() ? folder->Hint() : folder->Caption(), file));
        return;
    }
    if (state.fileIsOpen(file)) {
        qCWarning(lcApp, "%s is already open; a folder cannot open inside itself", qPrintable(file));
        return;
    }
    state.currentItem = folder;
    state.filesBeingOpened.append(file);
    auto* window = new TPrincipal(folder);
    state.filesBeingOpened.removeOne(file);
    folder->setFolderWindow(window);
    state.openFolderWindows.append(window);
    window->show();
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

TSpButton* TPrincipal::createItem(Clase clase)
{
    AppState& state = AppState::get();
    auto* item = new TSpButton(this);
    item->setClase(clase);
    adoptItem(item);
    item->move(state.pressPoint);
    item->setTipo(0);
    return item;
}

static void finishNewItem(TPrincipal* window, TSpButton* item)
{
    item->show();
    window->appendToItemList(item);
    if (item->isTimerDriven())
        AppState::get().addTimerItem(item);
}

TSpButton* TPrincipal::Nuevoboton1Click()
{
    TSpButton* item = createItem(Clase::Normal);
    item->setTag(0);
    item->settag1(0);
    finishNewItem(this, item);
    return item;
}

TSpButton* TPrincipal::NuevaCarpeta1Click()
{
    TSpButton* item = createItem(Clase::Carpeta);
    item->setMargin(1);
    item->setCaption(QStringLiteral("Carpeta Nueva"));
    item->setHint(QStringLiteral("Carpeta"));
    item->setTag(0);
    item->settag1(1);
    item->setAutorun(false);
    item->refreshGlyph();
    finishNewItem(this, item);
    item->setComando(newFolderFile());
    return item;
}

TSpButton* TPrincipal::Reloj1Click()
{
    TSpButton* item = createItem(Clase::Reloj);
    item->setTag(0);
    item->runPicture();
    finishNewItem(this, item);
    return item;
}

TSpButton* TPrincipal::Disco1Click()
{
    TSpButton* item = createItem(Clase::Disco);
    item->createPictureCache();
    item->setTag(0);
    item->setDirectorio(QStringLiteral("c:\\"));
    item->settag2(2048);
    item->settag1(-2);
    item->runPicture();
    finishNewItem(this, item);
    return item;
}

TSpButton* TPrincipal::Memoria1Click()
{
    TSpButton* item = createItem(Clase::Memoria);
    item->setTag(0);
    item->settag2(512);
    item->settag1(-1);
    item->runPicture();
    finishNewItem(this, item);
    return item;
}

void TPrincipal::BotonEliminarClick()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (!item)
        return;
    removeFromItemList(item);
    m_undo.reset();
    state.removeTimerItem(item);
    item->hide();
    item->setParent(nullptr);
    m_undo.reset(item);
    m_deshacer->setEnabled(true);
}

// The folder files named by the items of an open folder window and of the
// open windows below it. Folders made since the last save are named only
// here, not in the files on disk.
static void collectOpenTreeFiles(const TPrincipal* window, QStringList& files)
{
    const AppState& state = AppState::get();
    for (TSpButton* item : window->items()) {
        if (!item || item->clase() != Clase::Carpeta || files.contains(item->Comando()))
            continue;
        files.append(item->Comando());
        if (item->Tag() != 0 && state.isOpen(item->folderWindow()))
            collectOpenTreeFiles(TPrincipal::folderWindowOf(item), files);
    }
}

// Deletes a folder item for good: its window tree closes unsaved and its
// file tree goes.
static void deleteFolder(TSpButton* item)
{
    AppState& state = AppState::get();
    TPrincipal* holder = TPrincipal::windowOf(item);
    if (holder)
        holder->removeFromItemList(item);
    QStringList files { item->Comando() };
    if (item->Tag() != 0 && state.isOpen(item->folderWindow())) {
        TPrincipal* window = TPrincipal::folderWindowOf(item);
        collectOpenTreeFiles(window, files);
        window->setDiscard(true);
        window->close();
    }
    TPrincipal* remover = holder ? holder : state.mainWindow.data();
    if (remover) {
        for (const QString& file : files)
            remover->BorrarFichero(file);
    }
    item->hide();
    item->setParent(nullptr);
    delete item;
}

void TPrincipal::CarpetaEliminarClick()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (!item)
        return;
    if (item == state.cutBuffer())
        state.takeCutFolder();
    deleteFolder(item);
}

void TPrincipal::BotonAbrirClick()
{
    if (TSpButton* item = AppState::get().currentItem)
        item->SpButtonClick();
}

void TPrincipal::BotonPropiedadesClick()
{
    if (TSpButton* item = AppState::get().currentItem)
        emit propertiesRequested(item);
}

bool TPrincipal::EliminarPaste()
{
    AppState& state = AppState::get();
    TSpButton* buffered = state.cutBuffer();
    if (!buffered)
        return true;
    if (buffered->clase() != Clase::Carpeta) {
        state.clearCutBuffer();
        return true;
    }
    if (!app::askOkCancel(QStringLiteral("Atención"),
            QStringLiteral("Hay una carpeta cortada en el buffer\n¿Borrar carpeta?")))
        return false;
    state.takeCutFolder();
    deleteFolder(buffered);
    return true;
}

void TPrincipal::BotonCortarClick()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (!item || !EliminarPaste())
        return;
    if (item->clase() == Clase::Carpeta) {
        state.setCutFolder(item);
        if (item->Tag() != 0 && state.isOpen(item->folderWindow()))
            folderWindowOf(item)->close();
        item->setEnabled(false);
        return;
    }
    removeFromItemList(item);
    state.removeTimerItem(item);
    item->hide();
    item->setParent(nullptr);
    state.setCutItem(std::unique_ptr<TSpButton>(item));
}

void TPrincipal::BotonCopiarClick()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (!item || item->clase() == Clase::Carpeta || !EliminarPaste())
        return;
    auto copy = std::make_unique<TSpButton>();
    copy->hide();
    copy->Assign(*item);
    state.setCutItem(std::move(copy));
}

// Whether `window` is the folder window of `folder` or lies below it.
static bool windowIsInsideFolder(const TPrincipal* window, const TSpButton* folder)
{
    for (const TPrincipal* w = window; w && !w->isMainWindow();) {
        const TSpButton* owner = w->folderItem();
        if (!owner)
            return false;
        if (owner == folder)
            return true;
        w = TPrincipal::windowOf(owner);
    }
    return false;
}

void TPrincipal::Pegar1Click()
{
    AppState& state = AppState::get();
    TSpButton* buffered = state.cutBuffer();
    if (!buffered)
        return;
    if (buffered->clase() == Clase::Carpeta) {
        // A folder pasted into its own window tree would contain itself.
        if (windowIsInsideFolder(this, buffered)) {
            app::showMessage(
                QStringLiteral("Tolm"), QStringLiteral("Una carpeta no se puede pegar dentro de sí misma."));
            return;
        }
        buffered->move(state.pressPoint);
        TPrincipal* holder = windowOf(buffered);
        if (holder != this) {
            if (holder)
                holder->removeFromItemList(buffered);
            appendToItemList(buffered);
            adoptItem(buffered);
            buffered->show();
        }
        buffered->setEnabled(true);
        state.takeCutFolder();
        return;
    }
    auto* item = new TSpButton(this);
    item->Assign(*buffered);
    item->move(state.pressPoint);
    appendToItemList(item);
    switch (item->clase()) {
    case Clase::Disco:
        item->createPictureCache();
        [[fallthrough]];
    case Clase::Reloj:
    case Clase::Memoria:
        state.addTimerItem(item);
        break;
    default:
        break;
    }
    adoptItem(item);
    item->show();
}

void TPrincipal::Deshacer1Click()
{
    if (m_undo) {
        TSpButton* item = m_undo.release();
        adoptItem(item);
        appendToItemList(item);
        item->show();
        if (item->isTimerDriven())
            AppState::get().addTimerItem(item);
    }
    m_deshacer->setEnabled(false);
}

void TPrincipal::Organizarbotones1Click()
{
    if (!m_hasItemList)
        return;
    m_items.removeAll(QPointer<TSpButton>());
    std::sort(m_items.begin(), m_items.end(), [](const QPointer<TSpButton>& a, const QPointer<TSpButton>& b) {
        if (a->y() != b->y())
            return a->y() < b->y();
        return a->x() < b->x();
    });
    for (TSpButton* item : items())
        item->hide();
    // Each item is tried below everything shown, so what covers it is
    // whatever was shown before: the window's other controls and the items
    // placed. The items stay hidden until all are placed and stacked, so
    // that moving and restacking them costs no repaints.
    items::CoverIndex placed(this);
    const int clientWidth = width();
    int x = 0;
    int y = 0;
    for (TSpButton* item : items()) {
        QRect area(QPoint(x, y), item->size());
        while (placed.covered(area)) {
            x += 20;
            if (x >= clientWidth) {
                x = 0;
                y += 20;
            }
            area.moveTo(x, y);
        }
        item->move(x, y);
        placed.add(area);
        if (item->clase() == Clase::Reloj)
            item->setCoveredFlag(false);
        x += item->width();
        if (x >= clientWidth) {
            x = 0;
            y += 20;
        }
    }
    // Each item above those placed before it.
    for (TSpButton* item : items())
        item->raise();
    for (TSpButton* item : items())
        item->show();
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
        dropFiles(paths, event->position().toPoint());
    } catch (const std::exception& error) {
        app::showError(QString::fromUtf8(error.what()));
    }
}

void TPrincipal::dropFiles(const QStringList& paths, const QPoint& point)
{
    // The control under the point among visible, enabled controls: a cut
    // folder waiting disabled is not found.
    auto* target = qobject_cast<TSpButton*>(items::topChildAt(this, point, true));
    if (target && target->clase() == Clase::Normal) {
        // The paths, joined by single spaces, stand in for the item's own
        // parameters. A path holding a blank or a quote is quoted, so that it
        // still reaches the program as one argument.
        QStringList quoted;
        for (const QString& path : paths)
            quoted.append(platform::quoteArgument(path));
        const auto result = platform::services().shell->open(target->Comando(), quoted.join(QLatin1Char(' ')),
            target->Directorio(), static_cast<platform::ShowState>(target->Run()));
        if (!result.ok)
            qCWarning(lcApp, "cannot open %s: %s", qPrintable(target->Comando()), qPrintable(result.error));
        return;
    }
    int x = point.x();
    for (const QString& path : paths) {
        auto* item = new TSpButton(this);
        item->settag1(1);
        item->setFromFile(path);
        item->setHint(path);
        adoptItem(item);
        item->move(x, point.y());
        item->setTipo(0);
        item->show();
        appendToItemList(item);
        x += 40;
    }
}
