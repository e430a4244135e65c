#include "app/ItemCommands.h"

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/TPrincipal.h"
#include "app/WindowDocument.h"
#include "dialogs/ApplicationPicker.h"
#include "items/ChildAt.h"
#include "items/CoverIndex.h"
#include "items/ItemIcons.h"
#include "items/ItemKind.h"
#include "items/OpenFailure.h"
#include "items/TSpButton.h"
#include "platform/Applications.h"
#include "platform/CommandLine.h"
#include "platform/DesktopEntry.h"
#include "platform/OutsideFiles.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <algorithm>

namespace tolm::app {

using store::Clase;

ItemCommands::ItemCommands(TPrincipal& window)
    : m_window(window)
{ }

ItemCommands::~ItemCommands() = default;

TSpButton* ItemCommands::createItem(Clase clase)
{
    AppState& state = AppState::get();
    auto* item = new TSpButton(&m_window);
    item->setClase(clase);
    m_window.adoptItem(item);
    item->setTipo(0);
    item->kind().setUpNew(*item);
    placeAround(item, state.pressPoint);
    return item;
}

void ItemCommands::placeAround(TSpButton* item, const QPoint& centre)
{
    // Centred on the pointer, an item lands where the user pointed; kept
    // inside the window, none lands half out of sight near an edge.
    const QSize room = m_window.size();
    QPoint at = centre - QPoint(item->width() / 2, item->height() / 2);
    at.setX(std::max(0, std::min(at.x(), room.width() - item->width())));
    at.setY(std::max(0, std::min(at.y(), room.height() - item->height())));
    item->move(at);
}

void ItemCommands::finishNewItem(TSpButton* item)
{
    item->show();
    m_window.appendToItemList(item);
    if (item->isTimerDriven())
        AppState::get().addTimerItem(item);
}

TSpButton* ItemCommands::newLauncher()
{
    TSpButton* item = createItem(Clase::Normal);
    finishNewItem(item);
    return item;
}

TSpButton* ItemCommands::newFolder()
{
    TSpButton* item = createItem(Clase::Carpeta);
    finishNewItem(item);
    item->setComando(m_window.document().newFolderFile());
    return item;
}

TSpButton* ItemCommands::newClock()
{
    TSpButton* item = createItem(Clase::Reloj);
    finishNewItem(item);
    return item;
}

TSpButton* ItemCommands::newDrive()
{
    TSpButton* item = createItem(Clase::Disco);
    finishNewItem(item);
    return item;
}

void ItemCommands::pickApplication()
{
    // The launcher goes where the menu was opened, wherever the mouse has
    // gone by the time the user has chosen.
    const QPoint point = AppState::get().pressPoint;
    auto* picker = new ApplicationPicker(platform::installedApplications(), &m_window);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(picker, &ApplicationPicker::applicationChosen, &m_window,
        [this, point](const QString& file) { addFiles({ file }, point); });
    picker->open();
}

TSpButton* ItemCommands::newMemory()
{
    TSpButton* item = createItem(Clase::Memoria);
    finishNewItem(item);
    return item;
}

void ItemCommands::deleteItem()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (!item)
        return;
    m_window.removeFromItemList(item);
    m_undo.reset();
    state.removeTimerItem(item);
    item->hide();
    item->setParent(nullptr);
    m_undo.reset(item);
    m_window.undoAction()->setEnabled(true);
}

// The folder files named by the items of an open folder window and of the
// open windows below it. Folders made since the last save are named only
// here, not in the files on disk.
static void collectOpenTreeFiles(const TPrincipal* window, QStringList& files)
{
    const AppState& state = AppState::get();
    for (TSpButton* item : window->items()) {
        if (!item || !item->isFolder() || files.contains(item->Comando()))
            continue;
        files.append(item->Comando());
        if (item->folderOpen() && state.isOpen(item->folderWindow()))
            collectOpenTreeFiles(TPrincipal::folderWindowOf(item), files);
    }
}

// Deletes a folder item for good: its window tree closes unsaved and its
// file tree goes.
static void deleteFolderForGood(TSpButton* item)
{
    AppState& state = AppState::get();
    TPrincipal* holder = TPrincipal::windowOf(item);
    if (holder)
        holder->removeFromItemList(item);
    QStringList files { item->Comando() };
    if (item->folderOpen() && state.isOpen(item->folderWindow())) {
        TPrincipal* window = TPrincipal::folderWindowOf(item);
        collectOpenTreeFiles(window, files);
        window->setDiscard(true);
        window->close();
    }
    TPrincipal* remover = holder ? holder : state.mainWindow.data();
    if (remover) {
        for (const QString& file : files)
            remover->document().deleteFolderFile(file);
    }
    item->hide();
    item->setParent(nullptr);
    delete item;
}

void ItemCommands::deleteFolder()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (!item)
        return;
    if (item == state.cutBuffer())
        state.takeCutFolder();
    deleteFolderForGood(item);
}

void ItemCommands::open()
{
    if (TSpButton* item = AppState::get().currentItem)
        item->activate();
}

void ItemCommands::showProperties()
{
    if (TSpButton* item = AppState::get().currentItem)
        emit m_window.propertiesRequested(item);
}

bool ItemCommands::emptyCutBuffer()
{
    AppState& state = AppState::get();
    TSpButton* buffered = state.cutBuffer();
    if (!buffered)
        return true;
    if (!buffered->isFolder()) {
        state.clearCutBuffer();
        return true;
    }
    if (!app::askOkCancel(QCoreApplication::translate("ItemCommands", "Atención"),
            QCoreApplication::translate(
                "ItemCommands", "Hay una carpeta cortada en el buffer\n¿Borrar carpeta?")))
        return false;
    state.takeCutFolder();
    deleteFolderForGood(buffered);
    return true;
}

void ItemCommands::cut()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (!item || !emptyCutBuffer())
        return;
    if (item->isFolder()) {
        state.setCutFolder(item);
        if (item->folderOpen() && state.isOpen(item->folderWindow()))
            TPrincipal::folderWindowOf(item)->close();
        item->setEnabled(false);
        return;
    }
    m_window.removeFromItemList(item);
    state.removeTimerItem(item);
    item->hide();
    item->setParent(nullptr);
    state.setCutItem(std::unique_ptr<TSpButton>(item));
}

void ItemCommands::copy()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (!item || item->isFolder() || !emptyCutBuffer())
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

void ItemCommands::paste()
{
    AppState& state = AppState::get();
    TSpButton* buffered = state.cutBuffer();
    if (!buffered)
        return;
    if (buffered->isFolder()) {
        // A folder pasted into its own window tree would contain itself.
        if (windowIsInsideFolder(&m_window, buffered)) {
            app::showMessage(QStringLiteral("Tolm"),
                QCoreApplication::translate(
                    "ItemCommands", "Una carpeta no se puede pegar dentro de sí misma."));
            return;
        }
        buffered->move(state.pressPoint);
        TPrincipal* holder = TPrincipal::windowOf(buffered);
        if (holder != &m_window) {
            if (holder)
                holder->removeFromItemList(buffered);
            m_window.appendToItemList(buffered);
            m_window.adoptItem(buffered);
            buffered->show();
        }
        buffered->setEnabled(true);
        state.takeCutFolder();
        return;
    }
    auto* item = new TSpButton(&m_window);
    item->Assign(*buffered);
    item->move(state.pressPoint);
    m_window.appendToItemList(item);
    item->kind().arrive(*item, items::ItemKind::Arrival::Pasted);
    m_window.adoptItem(item);
    item->show();
}

void ItemCommands::undo()
{
    if (m_undo) {
        TSpButton* item = m_undo.release();
        m_window.adoptItem(item);
        m_window.appendToItemList(item);
        item->show();
        if (item->isTimerDriven())
            AppState::get().addTimerItem(item);
    }
    m_window.undoAction()->setEnabled(false);
}

void ItemCommands::arrange()
{
    if (!m_window.hasItemList())
        return;
    QList<TSpButton*> order = m_window.items();
    order.removeAll(nullptr);
    std::sort(order.begin(), order.end(), [](const TSpButton* a, const TSpButton* b) {
        if (a->y() != b->y())
            return a->y() < b->y();
        return a->x() < b->x();
    });
    m_window.setItemOrder(order);
    for (TSpButton* item : order)
        item->hide();
    // Each item is tried below everything shown, so what covers it is
    // whatever was shown before: the window's other controls and the items
    // placed. The items stay hidden until all are placed and stacked, so
    // that moving and restacking them costs no repaints.
    items::CoverIndex placed(&m_window);
    const int clientWidth = m_window.width();
    int x = 0;
    int y = 0;
    for (TSpButton* item : order) {
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
    for (TSpButton* item : order)
        item->raise();
    for (TSpButton* item : order)
        item->show();
}

void ItemCommands::dropFiles(const QStringList& paths, const QPoint& point)
{
    // The control under the point among visible, enabled controls: a cut
    // folder waiting disabled is not found.
    auto* target = qobject_cast<TSpButton*>(items::topChildAt(&m_window, point, true));
    if (target && target->isLauncher()) {
        // The paths, joined by single spaces, stand in for the item's own
        // parameters. A path holding a blank or a quote is quoted, so that it
        // still reaches the program as one argument.
        QStringList quoted;
        for (const QString& path : paths)
            quoted.append(platform::quoteArgument(path));
        const auto result = platform::services().shell->open(target->Comando(), quoted.join(QLatin1Char(' ')),
            target->Directorio(), static_cast<platform::ShowState>(target->Run()));
        items::reportOpenFailure(result, items::itemNotOpened(*target));
        return;
    }
    addFiles(paths, point);
}

// A desktop entry gives a launcher its caption, hint and icon, so one that
// cannot be read (a FIFO, a device, a huge file in its place) makes none:
// the person who dropped or chose it is told why.
static bool entryReadable(const QString& path)
{
    if (!path.endsWith(QStringLiteral(".desktop"), Qt::CaseInsensitive))
        return true;
    tolm::files::Refusal refusal;
    platform::DesktopEntry::load(path, &refusal);
    // A folder, whatever its name, is dropped as a folder.
    if (refusal.text.empty() || refusal.type == tolm::files::FileType::Directory)
        return true;
    items::reportOpenFailure(platform::ShellResult::failure(platform::ShellFailure::UnreadableEntry, path,
                                 QString::fromStdString(refusal.text), platform::refusalReason(refusal)),
        QCoreApplication::translate("ItemCommands", "No se puede añadir «%1».")
            .arg(items::fileNamePart(path)));
    return false;
}

void ItemCommands::addFiles(const QStringList& paths, const QPoint& point)
{
    QPoint centre = point;
    for (const QString& path : paths) {
        if (!entryReadable(path))
            continue;
        auto* item = new TSpButton(&m_window);
        item->setShowsIcon(true);
        item->setFromFile(path);
        item->setHint(items::hintForFile(path));
        m_window.adoptItem(item);
        item->setTipo(0);
        placeAround(item, centre);
        item->show();
        m_window.appendToItemList(item);
        centre.rx() += item->width();
    }
}

} // namespace tolm::app
