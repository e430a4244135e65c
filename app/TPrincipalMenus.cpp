// The window's menus, options, moving, size snapping and the refresh timer.
#include "app/AppState.h"
#include "app/Autostart.h"
#include "app/ItemCommands.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/ShelfSession.h"
#include "app/TPrincipal.h"
#include "app/WindowPlacement.h"
#include "app/X11Place.h"
#include "dialogs/HelpWindow.h"
#include "gfx/Color.h"
#include "items/ItemFont.h"
#include "items/ItemKind.h"
#include "items/ItemReports.h"
#include "items/OpenFailure.h"
#include "items/TSpButton.h"
#include "items/TickReadings.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QChildEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

using namespace tolm;

namespace {

// A menu command; an error it raises is shown, not let into the event loop.
QAction* addItem(QMenu* menu, const QString& text, QObject* context, std::function<void()> handler)
{
    QAction* action = menu->addAction(text);
    QObject::connect(action, &QAction::triggered, context, [handler = std::move(handler)] {
        try {
            handler();
        } catch (const std::exception& error) {
            app::showError(QString::fromUtf8(error.what()));
        }
    });
    return action;
}

void makeDefault(QAction* action)
{
    QFont font = action->font();
    font.setBold(true);
    action->setFont(font);
}

} // namespace

void TPrincipal::buildMenus()
{
    app::ItemCommands& commands = *m_commands;
    auto window = [this](void (TPrincipal::*handler)()) { return [this, handler] { (this->*handler)(); }; };
    auto command = [&commands](auto handler) { return [c = &commands, handler] { (c->*handler)(); }; };

    m_windowMenu = new QMenu(tr("Ventana"), this);
    m_windowMenu->setObjectName(QStringLiteral("MenuVentana"));
    QMenu* opciones = m_windowMenu->addMenu(tr("Opciones"));
    addItem(opciones, tr("Marco de ventana"), this, window(&TPrincipal::toggleFrame));
    addItem(opciones, tr("Siempre botones"), this, window(&TPrincipal::toggleAlwaysButtons));
    addItem(opciones, tr("Color de fondo"), this, window(&TPrincipal::chooseColor));
    addItem(opciones, tr("Fuente por defecto"), this, window(&TPrincipal::chooseDefaultFont));
    opciones->addSeparator();
    m_keepAboveAction = addItem(opciones, tr("Siempre visible"), this, window(&TPrincipal::toggleKeepAbove));
    m_everyDesktopAction
        = addItem(opciones, tr("En todos los escritorios"), this, window(&TPrincipal::toggleEveryDesktop));
    m_keepAboveAction->setCheckable(true);
    m_everyDesktopAction->setCheckable(true);
    // Not the window's but the program's: whether the session starts it.
    opciones->addSeparator();
    m_startWithSessionAction
        = addItem(opciones, tr("Iniciar con la sesión"), this, window(&TPrincipal::toggleStartWithSession));
    m_startWithSessionAction->setCheckable(true);
    connect(opciones, &QMenu::aboutToShow, this, [this] {
        m_keepAboveAction->setChecked(m_stay.keepAbove);
        m_everyDesktopAction->setChecked(m_stay.everyDesktop);
        // Another Tolm, or --autostart, may have changed it since.
        m_startWithSessionAction->setChecked(app::startsWithSession(platform::processEnvironment()));
    });
    m_windowMenu->addSeparator();
    QMenu* nuevo = m_windowMenu->addMenu(tr("Nuevo"));
    addItem(nuevo, tr("Botón"), this, command(&app::ItemCommands::newLauncher));
    addItem(nuevo, tr("Carpeta"), this, command(&app::ItemCommands::newFolder));
    nuevo->addSeparator();
    addItem(nuevo, tr("Reloj"), this, command(&app::ItemCommands::newClock));
    addItem(nuevo, tr("Memoria"), this, command(&app::ItemCommands::newMemory));
    addItem(nuevo, tr("Disco"), this, command(&app::ItemCommands::newDrive));
    addItem(nuevo, tr("Aplicación..."), this, command(&app::ItemCommands::pickApplication));
    m_windowMenu->addSeparator();
    m_undoAction = addItem(m_windowMenu, tr("Deshacer"), this, command(&app::ItemCommands::undo));
    m_pasteAction = addItem(m_windowMenu, tr("Pegar"), this, command(&app::ItemCommands::paste));
    m_windowMenu->addSeparator();
    addItem(m_windowMenu, tr("Guardar configuración"), this, app::saveSettings);
    addItem(m_windowMenu, tr("Restaurar configuración"), this, app::restoreSettings);
    m_windowMenu->addSeparator();
    addItem(m_windowMenu, tr("Organizar botones"), this, command(&app::ItemCommands::arrange));
    m_windowMenu->addSeparator();
    addItem(m_windowMenu, tr("Cerrar"), this, window(&TPrincipal::closeWindow));
    m_windowMenu->addSeparator();
    // F1 answers on the window too, where the menu is not open.
    QAction* help = addItem(m_windowMenu, tr("Ayuda"), this, window(&TPrincipal::showHelp));
    help->setShortcut(QKeySequence::HelpContents);
    addAction(help);
    addItem(m_windowMenu, tr("Acerca de .."), this, window(&TPrincipal::showAbout));
    connect(m_windowMenu, &QMenu::aboutToShow, this,
        [this] { m_pasteAction->setEnabled(AppState::get().cutBuffer() != nullptr); });

    // The five item menus; entries marked as default are drawn bold. Each
    // ends with a separator, below which the window menu is hung while it is open.
    struct Entry {
        const char* text; // untranslated; nullptr: a separator
        std::function<void()> handler {};
        bool isDefault { false };
    };
    const Entry separator { nullptr };
    const Entry abrir { QT_TRANSLATE_NOOP("TPrincipal", "&Abrir"), command(&app::ItemCommands::open), true };
    const Entry cortar { QT_TRANSLATE_NOOP("TPrincipal", "C&ortar"), command(&app::ItemCommands::cut) };
    const Entry copiar { QT_TRANSLATE_NOOP("TPrincipal", "&Copiar"), command(&app::ItemCommands::copy) };
    const Entry eliminar { QT_TRANSLATE_NOOP("TPrincipal", "E&liminar"),
        command(&app::ItemCommands::deleteItem) };
    const Entry propiedades { QT_TRANSLATE_NOOP("TPrincipal", "P&ropiedades"),
        command(&app::ItemCommands::showProperties) };
    auto itemMenu = [this](const char* name, std::initializer_list<Entry> entries) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(name));
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { attachWindowMenu(menu); });
        for (const Entry& entry : entries) {
            if (!entry.text) {
                menu->addSeparator();
                continue;
            }
            QAction* action = addItem(menu, tr(entry.text), this, entry.handler);
            if (entry.isDefault)
                makeDefault(action);
        }
        return menu;
    };
    m_launcherMenu = itemMenu("MenuBoton",
        { abrir, separator, cortar, copiar, separator, eliminar, separator, propiedades, separator });
    m_folderMenu = itemMenu("MenuCarpeta",
        { abrir, { QT_TRANSLATE_NOOP("TPrincipal", "&Cerrar"), window(&TPrincipal::closeFolder) }, separator,
            cortar, separator,
            { QT_TRANSLATE_NOOP("TPrincipal", "E&liminar"), command(&app::ItemCommands::deleteFolder) },
            separator, propiedades, separator });
    m_clockMenu = itemMenu("MenuReloj",
        { abrir, separator, cortar, copiar, separator, eliminar, separator,
            { QT_TRANSLATE_NOOP("TPrincipal", "Fecha y Hora"), window(&TPrincipal::openDateTimeSettings) },
            { QT_TRANSLATE_NOOP("TPrincipal", "Configuración Regional"),
                window(&TPrincipal::openRegionalSettings) },
            separator, propiedades, separator });
    m_driveMenu = itemMenu("MenuDisco",
        { abrir, { QT_TRANSLATE_NOOP("TPrincipal", "E&xplorar"), window(&TPrincipal::exploreDrive) },
            separator, cortar, copiar, separator, eliminar, separator, propiedades, separator });
    m_memoryMenu = itemMenu("MenuMemoria",
        { cortar, copiar, separator, eliminar, separator,
            { QT_TRANSLATE_NOOP("TPrincipal", "P&ropiedades"), command(&app::ItemCommands::showProperties),
                true },
            separator });
}

QMenu* TPrincipal::menuForClase(int clase) const
{
    const QString name = items::kindOf(clase).menuName();
    for (QMenu* menu : { m_launcherMenu, m_folderMenu, m_clockMenu, m_driveMenu, m_memoryMenu }) {
        if (!name.isEmpty() && menu && menu->objectName() == name)
            return menu;
    }
    return nullptr;
}

void TPrincipal::attachWindowMenu(QMenu* itemMenu)
{
    if (m_menuHost == itemMenu)
        return;
    if (m_menuHost)
        m_menuHost->removeAction(m_windowMenu->menuAction());
    itemMenu->addAction(m_windowMenu->menuAction());
    m_menuHost = itemMenu;
}

// ---------------------------------------------------------------- options

void TPrincipal::toggleFrame()
{
    // The client area keeps its place and size on the screen; the frame
    // grows or shrinks around it.
    const QRect client = geometry();
    const QPoint origin = clientOrigin();
    m_frameShown = !m_frameShown;
    applyFrame();
    setGeometry(client);
    holdClientAt(origin);
}

void TPrincipal::holdClientAt(const QPoint& origin)
{
    const std::optional<app::X11Place> start = app::x11Place(this);
    if (!isVisible() || !start)
        return;
    // The window manager redraws the frame when it gets to it, keeping the
    // frame's corner where it was, so the client area shifts by the change
    // in the frame's size. Until the manager has answered, the client area
    // is put back where it stood. Past this time the user may be moving the
    // window by its new frame, and that move is theirs.
    constexpr int kTickMs = 40;
    constexpr int kSettleTicks = 40;
    const QMargins before = start->frame;
    if (!m_holdTimer) {
        m_holdTimer = new QTimer(this);
        m_holdTimer->setInterval(kTickMs);
    }
    m_holdTimer->stop();
    m_holdTimer->disconnect();
    auto ticks = std::make_shared<int>(0);
    connect(m_holdTimer, &QTimer::timeout, this, [this, origin, before, ticks] {
        const std::optional<app::X11Place> now = app::x11Place(this);
        if (!now || ++*ticks > kSettleTicks) {
            m_holdTimer->stop();
            return;
        }
        if (now->client != origin) {
            app::x11MoveFrame(this, origin - QPoint(now->frame.left(), now->frame.top()));
            return;
        }
        // In place under the new frame: the manager has answered.
        if (now->frame != before)
            m_holdTimer->stop();
    });
    m_holdTimer->start();
}

QPoint TPrincipal::clientOrigin() const
{
    if (const auto place = app::x11Place(this))
        return place->client;
    return geometry().topLeft();
}

QPoint TPrincipal::frameOrigin() const
{
    if (const auto place = app::x11Place(this))
        return place->frameTopLeft();
    return pos();
}

void TPrincipal::toggleAlwaysButtons()
{
    setAlwaysButtons(!m_alwaysButtons);
}

void TPrincipal::chooseColor()
{
    if (const auto chosen = platform::services().choosers->chooseColor(gfx::toQColor(m_color)))
        setColor(gfx::fromQColor(*chosen));
}

void TPrincipal::chooseDefaultFont()
{
    const store::FontState before = m_fontDialog.font;
    // Apply sets the window's font at once while the dialog stays open.
    const QPointer<TPrincipal> self(this);
    const auto chosen
        = platform::services().choosers->chooseFont(items::qtFont(before), [self, before](const QFont& font) {
              if (self)
                  self->setDefaultFont(items::fontStateFrom(font, before));
          });
    if (chosen)
        setDefaultFont(items::fontStateFrom(*chosen, before));
}

void TPrincipal::openDateTimeSettings()
{
    items::reportOpenFailure(platform::services().shell->openDateTimeSettings(),
        tr("No se puede abrir la configuración de fecha y hora."));
}

void TPrincipal::openRegionalSettings()
{
    items::reportOpenFailure(platform::services().shell->openRegionalSettings(),
        tr("No se puede abrir la configuración regional."));
}

void TPrincipal::exploreDrive()
{
    TSpButton* item = AppState::get().currentItem;
    if (!item)
        return;
    items::reportOpenFailure(
        platform::services().shell->openFolder(item->Directorio()), items::itemNotOpened(*item));
}

void TPrincipal::showAbout()
{
    emit aboutRequested(this);
}

void TPrincipal::showHelp()
{
    HelpWindow::showManual(this, HelpWindow::itemSection(m_keyboard->markedItem()));
}

void TPrincipal::toggleStartWithSession()
{
    using Problem = app::AutostartChange::Problem;
    const platform::Environment env = platform::processEnvironment();
    // The entry checked is what the user asked for.
    const app::AutostartChange change
        = app::setStartWithSession(m_startWithSessionAction->isChecked(), app::runningProgram(), env);
    m_startWithSessionAction->setChecked(app::startsWithSession(env));
    switch (change.problem) {
    case Problem::None:
        break;
    case Problem::NoConfigFolder:
        app::showError(tr("No se sabe dónde está la carpeta de configuración del usuario: "
                          "ni HOME ni XDG_CONFIG_HOME lo dicen."));
        break;
    case Problem::CannotRemove:
        app::showError(tr("No se puede borrar %1.\n\n%2").arg(change.file, change.detail));
        break;
    case Problem::CannotWrite:
        app::showError(tr("No se puede escribir %1.\n\n%2").arg(change.file, change.detail));
        break;
    case Problem::UnwritableProgram:
        app::showError(tr("La ruta de este programa no se puede escribir en una entrada de inicio "
                          "automático, que solo admite texto UTF-8."));
        break;
    }
}

// ---------------------------------------------------------------- mouse, keys, size

void TPrincipal::mousePressEvent(QMouseEvent* event)
{
    AppState& state = AppState::get();
    state.pressPoint = event->position().toPoint();
    state.pressGlobal = event->globalPosition().toPoint();
    state.dragging = false;
    m_systemMove = false;
    if (m_holdTimer)
        m_holdTimer->stop();
}

void TPrincipal::windowMouseMove(const QPoint& global, Qt::MouseButtons buttons)
{
    if (!(buttons & Qt::LeftButton) || m_systemMove)
        return;
    AppState& state = AppState::get();
    if (!state.dragging) {
        // A 3-pixel dead zone keeps a click from moving the window. The window
        // has not moved since the press, so the pointer's movement on the
        // screen is its movement over the window.
        const QPoint moved = global - state.pressGlobal;
        if (std::abs(moved.x()) < 3 && std::abs(moved.y()) < 3)
            return;
        if (app::nativeWayland()) {
            // Only the compositor can move a Wayland window. It follows the
            // pointer itself and keeps the button's release.
            QWindow* handle = windowHandle();
            m_systemMove = handle && handle->startSystemMove();
            return;
        }
        state.dragging = true;
        state.dragClientSize = size();
        m_dragOrigin = frameOrigin();
    }
    // The pointer's own screen positions, not the client point mapped
    // through where the window was last reported: while moves are on their
    // way to the window manager that report lags behind, and the window
    // would lag with it.
    const QPoint target = m_dragOrigin + global - state.pressGlobal;
    if (!app::x11MoveFrame(this, target))
        move(target);
}

void TPrincipal::mouseMoveEvent(QMouseEvent* event)
{
    windowMouseMove(event->globalPosition().toPoint(), event->buttons());
}

void TPrincipal::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        AppState::get().dragging = false;
        m_systemMove = false;
    } else if (event->button() == Qt::RightButton) {
        m_windowMenu->popup(event->globalPosition().toPoint());
    }
}

void TPrincipal::contextMenuEvent(QContextMenuEvent* event)
{
    // The window menu opens on the right button's release, like an item's.
    // The menu key and Shift+F10 are answered as keys; a context menu event
    // they still bring finds the menu already open.
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard && !QApplication::activePopupWidget())
        m_keyboard->openMenuByKey();
}

void TPrincipal::keyPressEvent(QKeyEvent* event)
{
    if (!m_keyboard->handleKey(event))
        QWidget::keyPressEvent(event);
}

bool TPrincipal::focusNextPrevChild(bool next)
{
    // Tab walks the items; the window keeps the keyboard focus.
    m_keyboard->focusNext(next);
    return true;
}

void TPrincipal::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    snapSize();
}

void TPrincipal::snapSize()
{
    if (m_snapping)
        return;
    const AppState& state = AppState::get();
    QSize wanted = size();
    if (state.dragging && state.dragClientSize.isValid())
        wanted = state.dragClientSize;
    else
        wanted = QSize(width() - width() % 10, height() - height() % 10);
    if (wanted != size() && wanted.width() > 0 && wanted.height() > 0) {
        m_snapping = true;
        resize(wanted);
        m_snapping = false;
    }
}

void TPrincipal::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), gfx::toQColor(m_color));
    if (!findChild<TSpButton*>(QString(), Qt::FindDirectChildrenOnly))
        paintGuidance(painter);
    // Any paint may have covered the timer-driven items' last pictures: their
    // next refresh draws them whole.
    AppState& state = AppState::get();
    for (const auto& item : state.timerItems) {
        if (!item)
            continue;
        item->setTimerRepaint(false);
        item->markDrawWhole();
    }
    // A dial stores the time it shows again at the next tick, which must not
    // wait for the minute.
    if (!state.timerItems.isEmpty())
        state.wantTick();
}

void TPrincipal::paintGuidance(QPainter& painter)
{
    const QColor background = gfx::toQColor(m_color);
    // The palette's text, unless the chosen background leaves it unreadable.
    QColor ink = palette().color(QPalette::WindowText);
    if (std::abs(ink.lightness() - background.lightness()) < 96)
        ink = background.lightness() < 128 ? Qt::white : Qt::black;
    painter.setPen(ink);
    painter.setFont(font());
    // A new folder's window is small: the first wording that fits whole is
    // shown, and in the smallest windows the shortest, cut to one line.
    const QRect room = rect().adjusted(6, 4, -6, -4);
    const QStringList wordings { tr("Suelte aquí programas y documentos para tenerlos a mano.\n"
                                    "El botón derecho del ratón abre el menú."),
        tr("Suelte aquí programas.\nBotón derecho: menú."), tr("Botón derecho: menú") };
    constexpr int kFlags = Qt::AlignCenter | Qt::TextWordWrap;
    const QFontMetrics metrics(font());
    for (const QString& wording : wordings) {
        const QRect needed = metrics.boundingRect(room, kFlags, wording);
        if (room.contains(needed)) {
            painter.drawText(room, kFlags, wording);
            return;
        }
    }
    if (room.height() >= metrics.height())
        painter.drawText(
            room, Qt::AlignCenter, metrics.elidedText(wordings.last(), Qt::ElideRight, room.width()));
}

void TPrincipal::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->added() || event->removed())
        update();
}

void TPrincipal::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Before the window is mapped: the window manager reads where it wants to be.
    if (m_stay.everyDesktop)
        app::x11SetOnEveryDesktop(this, true);
    // Keep the window reachable when the screen has shrunk since it was saved.
    if (QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        int left = x();
        int top = y();
        if (left > area.width() - 5)
            left = area.width() - frameGeometry().width();
        if (top > area.height() - 5)
            top = area.height() - frameGeometry().height();
        if (left != x() || top != y())
            move(left, top);
    }
}

// ---------------------------------------------------------------- timer

void TPrincipal::refreshTimerItems()
{
    AppState& state = AppState::get();
    // Tiles showing the same time, drive or memory share one reading; the
    // clocks' texts come from the instant the hands do.
    items::TickReadings readings;
    platform::Clock& clock = *platform::services().clock;
    readings.now = clock.now();
    // Read together: the next tick is timed from this instant.
    const qint64 steady = clock.steadyMs();
    const QTime now = readings.now->time();
    state.hour = now.hour();
    state.minute = now.minute();
    state.second = now.second();
    state.timerItems.removeAll(QPointer<TSpButton>());
    const auto timerItems = state.timerItems;
    for (const auto& pointer : timerItems) {
        TSpButton* item = pointer;
        if (!item)
            continue;
        try {
            items::refreshOnTick(*item);
        } catch (...) {
            // A drive that cannot be read this second is tried again the next.
        }
    }
    if (!m_timer)
        return;
    // Sleep through the ticks that would change nothing.
    int quiet = items::ItemKind::kQuietForever;
    for (const auto& item : std::as_const(state.timerItems)) {
        if (item)
            quiet = std::min(quiet, items::quietTicks(*item, *readings.now));
    }
    m_schedule.ticked(readings.now->toMSecsSinceEpoch(), steady, quiet);
    armTimer();
}

void TPrincipal::tickAfterSleep()
{
    skipTicks(m_schedule.skippedBy(platform::services().clock->steadyMs()));
    refreshTimerItems();
}

void TPrincipal::catchUpTicks()
{
    if (m_timer)
        skipTicks(m_schedule.catchUp(platform::services().clock->steadyMs()));
}

void TPrincipal::skipTicks(int ticks)
{
    if (ticks <= 0)
        return;
    for (const auto& item : std::as_const(AppState::get().timerItems)) {
        if (item)
            items::skipTicks(*item, ticks);
    }
}

void TPrincipal::armTimer()
{
    m_timer->start(static_cast<int>(m_schedule.delayMs(platform::services().clock->steadyMs())));
}

void TPrincipal::tickNextSecond()
{
    if (m_timer && m_schedule.tickNextSecond(platform::services().clock->steadyMs()))
        armTimer();
}
