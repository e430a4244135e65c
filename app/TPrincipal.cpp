#include "app/TPrincipal.h"

#include "app/AppState.h"
#include "app/AutoSave.h"
#include "app/ItemCommands.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/SaveReport.h"
#include "app/ShelfSession.h"
#include "app/ShelfWatch.h"
#include "app/WindowDocument.h"
#include "app/WindowPlacement.h"
#include "app/X11Place.h"
#include "gfx/Color.h"
#include "items/CoverIndex.h"
#include "items/ItemKind.h"
#include "items/TSpButton.h"
#include "platform/Clock.h"
#include "platform/ClockChanges.h"
#include "platform/Platform.h"
#include "store/SavePoint.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <algorithm>

using namespace tolm;

TPrincipal::TPrincipal(TSpButton* folderItem)
    : QWidget(nullptr, Qt::Tool)
{
    AppState& state = AppState::get();
    m_isMain = !folderItem && !state.mainWindow;
    m_folderItem = folderItem;
    setAttribute(Qt::WA_DeleteOnClose, false);
    setObjectName(m_isMain ? QStringLiteral("Principal") : QString());
    setAcceptDrops(true);
    setMouseTracking(true);
    // A tool window is rarely the active one; its items' hints must show anyway.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("Tolm 2000"));
    // The form's size before its file says otherwise.
    setGeometry(668, 170, 291, 139);
    m_color = gfx::clBtnFace;
    m_document = std::make_unique<app::WindowDocument>(*this);
    m_commands = std::make_unique<app::ItemCommands>(*this);
    m_keyboard = std::make_unique<app::ShelfKeyboard>(*this);
    buildMenus();
    if (!m_isMain && state.mainWindow) {
        TPrincipal* main = state.mainWindow;
        connect(this, &TPrincipal::propertiesRequested, main, &TPrincipal::propertiesRequested);
        connect(this, &TPrincipal::calendarRequested, main, &TPrincipal::calendarRequested);
        connect(this, &TPrincipal::aboutRequested, main, &TPrincipal::aboutRequested);
    }
    if (m_isMain) {
        state.mainWindow = this;
        m_autoSave = new app::AutoSave(this);
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        // A coarse timer may run early, before the second it waits for.
        m_timer->setTimerType(Qt::PreciseTimer);
        connect(m_timer, &QTimer::timeout, this, &TPrincipal::tickAfterSleep);
        platform::Clock& clock = *platform::services().clock;
        m_schedule.ticked(clock.now().toMSecsSinceEpoch(), clock.steadyMs(), 0);
        armTimer();
        state.tickWanted = [this] { tickNextSecond(); };
        state.ticksOwed = [this] { catchUpTicks(); };
        // After the date, the time or the zone is set, the clocks catch up at once.
        m_clockChanges
            = std::make_unique<platform::ClockChanges>(state.fileWatcher(), [this] { tickAfterSleep(); });
    }
    setUp();
}

TPrincipal::~TPrincipal()
{
    if (m_isMain && AppState::get().mainWindow == this) {
        AppState::get().tickWanted = nullptr;
        AppState::get().ticksOwed = nullptr;
    }
    if (m_menuHost && m_windowMenu)
        m_menuHost->removeAction(m_windowMenu->menuAction());
    AppState& state = AppState::get();
    state.openFolderWindows.removeAll(this);
}

const QString& TPrincipal::fileName() const
{
    return m_document->fileName();
}

TSpButton* TPrincipal::folderItem() const
{
    return m_folderItem.data();
}

TPrincipal* TPrincipal::windowOf(const TSpButton* item)
{
    return item ? qobject_cast<TPrincipal*>(item->parentWidget()) : nullptr;
}

TPrincipal* TPrincipal::folderWindowOf(const TSpButton* item)
{
    return item ? qobject_cast<TPrincipal*>(item->folderWindow()) : nullptr;
}

QList<TSpButton*> TPrincipal::items() const
{
    QList<TSpButton*> out;
    out.reserve(m_items.size());
    for (const auto& item : m_items)
        out.append(item.data());
    return out;
}

void TPrincipal::setUp()
{
    AppState& state = AppState::get();
    m_frameShown = true;
    m_closing = false;
    m_discard = false;
    m_undoAction->setEnabled(false);
    m_windowMenu->setTitle(tr("Ventana"));
    m_menuHost = nullptr;
    if (m_isMain) {
        m_document->openMain(state.shelfFolder);
        // Before anything is written: the state "Restaurar configuración"
        // returns to when no "Guardar configuración" has kept one.
        state.savePoint = std::make_unique<store::SavePoint>(state.shelfFolder);
        watchFile();
        return;
    }
    TSpButton* item = m_folderItem;
    if (!m_document->openFolder(state.shelfFolder, item->Comando()))
        return;
    setWindowTitle(item->Hint());
    item->setFolderOpen(true);
    item->refreshGlyph();
    m_document->load();
    cascadeFromParent();
    watchFile();
}

void TPrincipal::cascadeFromParent()
{
    const TPrincipal* parent = windowOf(m_folderItem);
    if (!parent || m_document->loadFailed())
        return;
    const QRect outer = bounds();
    if (outer.topLeft() != parent->bounds().topLeft())
        return;
    const QWindow* handle = parent->windowHandle();
    int step = handle ? handle->frameMargins().top() : 0;
    if (step <= 0)
        step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    setBounds(outer.translated(step, step));
}

void TPrincipal::watchFile()
{
    m_watch = new app::ShelfWatch(m_document->filePath(), this);
    connect(m_watch, &app::ShelfWatch::changed, this, &TPrincipal::takeChangeOnDisk);
}

void TPrincipal::takeChangeOnDisk()
{
    // An open dialog, menu, box or drag holds items of the window: not now.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || app::aBoxIsOpen()
        || QGuiApplication::mouseButtons() != Qt::NoButton) {
        if (m_watch)
            m_watch->askAgainLater();
        return;
    }
    if (!m_closing && !AppState::get().quitting)
        m_document->takeChangeOnDisk();
}

void TPrincipal::reloadFromDisk(app::WindowDocument::Failures failures)
{
    AppState& state = AppState::get();
    app::SaveReport report;
    for (TSpButton* item : items()) {
        TPrincipal* below = folderWindowOf(item);
        if (item && item->isFolder() && item->folderOpen() && state.isOpen(below))
            below->closeFolderWindow(report);
    }
    report.show();
    m_document->reload(failures);
}

void TPrincipal::reloadLater(const QString& notice)
{
    QTimer::singleShot(0, this, [this] {
        if (!m_closing && !AppState::get().quitting)
            reloadFromDisk();
    });
    sayLater(notice);
}

void TPrincipal::sayLater(const QString& notice)
{
    // Said also when the window is closing by then; when the program is
    // quitting, the next start names the copy.
    if (!notice.isEmpty())
        QTimer::singleShot(0, qApp, [notice] {
            if (AppState::exists() && !AppState::get().quitting)
                app::showMessage(QStringLiteral("Tolm"), notice);
        });
}

QRect TPrincipal::bounds() const
{
    const AppState& state = AppState::get();
    QRect outer(frameOrigin(), size());
    if (m_frameShown)
        outer.setSize(QSize(width() + state.frameNw, height() + state.frameNh));
    if (app::nativeWayland()) {
        // What a Wayland client is told of its position is no position at
        // all; the one the file gave stays for the next start under X.
        outer.moveTopLeft(m_storedTopLeft);
        return outer;
    }
    return app::reachableOnScreens(outer);
}

void TPrincipal::setBounds(const QRect& outer)
{
    const AppState& state = AppState::get();
    m_storedTopLeft = outer.topLeft();
    move(outer.topLeft());
    if (m_frameShown)
        resize(std::max(1, outer.width() - state.frameNw), std::max(1, outer.height() - state.frameNh));
    else
        resize(std::max(1, outer.width()), std::max(1, outer.height()));
}

void TPrincipal::setAlwaysButtons(bool on)
{
    m_alwaysButtons = on;
    update();
    for (TSpButton* item : items()) {
        if (item)
            item->update();
    }
}

void TPrincipal::setColor(std::uint32_t color)
{
    m_color = color;
    update();
}

void TPrincipal::setDefaultFont(const store::FontState& font)
{
    m_fontDialog.font = font;
    for (TSpButton* item : items()) {
        if (item && item->ParentFont())
            item->update();
    }
}

void TPrincipal::applyFrame()
{
    const bool visible = isVisible();
    Qt::WindowFlags flags = Qt::Tool;
    if (!m_frameShown)
        flags |= Qt::FramelessWindowHint;
    if (m_stay.keepAbove)
        flags |= Qt::WindowStaysOnTopHint;
    if (windowFlags() == flags)
        return;
    if (QWindow* handle = windowHandle(); handle && visible) {
        // Only the decoration changes. Setting the widget's flags would
        // take the window down and map it again at (0, 0) on its way back,
        // and a window manager may place the new one where it likes.
        overrideWindowFlags(flags);
        handle->setFlags(flags);
        return;
    }
    setWindowFlags(flags);
    if (visible)
        show();
}

QString TPrincipal::stayKey() const
{
    return QDir(QString::fromStdString(AppState::get().shelfFolder.string())).absoluteFilePath(fileName());
}

void TPrincipal::keepStay()
{
    if (!app::writeWindowStay(stayKey(), m_stay))
        qCWarning(
            lcApp, "cannot keep where the window %s stays in the settings file", qPrintable(fileName()));
}

void TPrincipal::toggleKeepAbove()
{
    m_stay.keepAbove = !m_stay.keepAbove;
    applyFrame();
    keepStay();
}

void TPrincipal::toggleEveryDesktop()
{
    m_stay.everyDesktop = !m_stay.everyDesktop;
    app::x11SetOnEveryDesktop(this, m_stay.everyDesktop);
    keepStay();
}

// ---------------------------------------------------------------- file contents

void TPrincipal::applyStoredOptions(
    bool frameShown, const QRect& outer, bool alwaysButtons, std::uint32_t color)
{
    m_frameShown = frameShown;
    m_stay = app::readWindowStay(stayKey());
    applyFrame();
    if (m_stay.everyDesktop)
        app::x11SetOnEveryDesktop(this, true);
    setBounds(outer);
    m_alwaysButtons = alwaysButtons;
    m_color = color;
}

void TPrincipal::setFontDialog(const store::FontDialogState& fontDialog)
{
    m_fontDialog = fontDialog;
    setDefaultFont(m_fontDialog.font);
}

void TPrincipal::replaceItems(const std::vector<store::SpButtonState>& states)
{
    AppState& state = AppState::get();
    // Set the old items aside; they are destroyed once the new ones are in.
    QList<QPointer<TSpButton>> old = m_items;
    QList<TSpButton*> leaving;
    for (const auto& item : old) {
        if (!item)
            continue;
        item->hide();
        item->setParent(nullptr);
        leaving.append(item);
    }
    state.removeTimerItems(leaving);
    m_items.clear();
    m_hasItemList = true;

    for (const store::SpButtonState& itemState : states) {
        auto* item = new TSpButton(this);
        item->fromState(itemState);
        m_items.append(item);
        adoptItem(item);
        item->kind().arrive(*item, items::ItemKind::Arrival::Loaded);
    }
    for (auto& item : old)
        delete item.data();
    old.clear();
}

void TPrincipal::itemsLoaded()
{
    const items::CoverIndex cover(this);
    for (TSpButton* item : items()) {
        if (item && item->isTimerDriven())
            item->updateCoveredFlag(cover);
    }
    update();
}

void TPrincipal::setItemOrder(const QList<TSpButton*>& order)
{
    m_items.clear();
    for (TSpButton* item : order)
        m_items.append(item);
}

std::string TPrincipal::menuReference(int clase) const
{
    const QString menu = items::kindOf(clase).menuName();
    if (menu.isEmpty())
        return {};
    // Every window is an instance of the main window's form, so the names
    // read the same in the main file and in folder files.
    return "Principal." + menu.toStdString();
}

// ---------------------------------------------------------------- lifecycle

void TPrincipal::closeEvent(QCloseEvent* event)
{
    AppState& state = AppState::get();
    // Qt closes every window once the quit has saved them all; saving them
    // again now would store their open folders as closed.
    if (state.quitting) {
        event->accept();
        return;
    }
    if (m_isMain) {
        if (!app::quitSavingEveryWindow(*this)) {
            event->ignore();
            return;
        }
        event->accept();
        startDeferredDelete();
        QCoreApplication::quit();
        return;
    }
    app::SaveReport report;
    const bool closed = closeFolderWindow(report);
    report.show();
    if (!closed) {
        event->ignore();
        return;
    }
    event->accept();
    // The folder's item now shows it closed; its window's file says so soon.
    if (state.mainWindow && state.mainWindow->autoSave())
        state.mainWindow->autoSave()->schedule();
}

// Saves the window and closes it, and then the open folder windows below it,
// which are stored open in this window's file and come back with it. A
// window that could not be saved stays open with everything on it, and so
// does every window above it.
bool TPrincipal::closeFolderWindow(app::SaveReport& report)
{
    AppState& state = AppState::get();
    m_closing = true;
    if (m_discard) {
        closeFolderWindowsBelow();
    } else {
        m_document->write(report);
        bool belowClosed = !m_document->saveFailed();
        if (belowClosed) {
            for (TSpButton* item : items()) {
                TPrincipal* below = folderWindowOf(item);
                if (item && item->isFolder() && item->folderOpen() && state.isOpen(below))
                    belowClosed = below->closeFolderWindow(report) && belowClosed;
            }
        }
        if (!belowClosed) {
            m_closing = false;
            return false;
        }
    }
    if (TSpButton* item = m_folderItem) {
        item->setFolderOpen(false);
        item->setFolderWindow(nullptr);
        item->refreshGlyph();
    }
    state.openFolderWindows.removeAll(this);
    startDeferredDelete();
    return true;
}

void TPrincipal::startDeferredDelete()
{
    hide();
    deleteLater();
}

bool TPrincipal::hasOpenFolderWindow() const
{
    const AppState& state = AppState::get();
    for (TSpButton* item : items()) {
        if (item && item->isFolder() && item->folderOpen() && state.isOpen(item->folderWindow()))
            return true;
    }
    return false;
}

void TPrincipal::closeFolderWindowsBelow()
{
    AppState& state = AppState::get();
    for (TSpButton* item : items()) {
        if (!item || !m_closing || !item->isFolder() || !item->folderOpen())
            continue;
        TPrincipal* window = folderWindowOf(item);
        if (state.isOpen(window)) {
            window->setDiscard(m_discard);
            window->close();
        }
    }
}

void TPrincipal::closeWindow()
{
    close();
}

void TPrincipal::closeFolder()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (item && item->folderOpen() && state.isOpen(item->folderWindow()))
        folderWindowOf(item)->close();
}
