#include "app/TPrincipal.h"

#include "app/AppState.h"
#include "app/AutoSave.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/SaveReport.h"
#include "app/WindowPlacement.h"
#include "gfx/Color.h"
#include "items/CoverIndex.h"
#include "items/ItemReports.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "store/SavePoint.h"
#include "store/ShelfFile.h"
#include "store/StreamError.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

using namespace tolm;
using store::Clase;

namespace {

bool folderWritable(const std::filesystem::path& folder, QString* reason)
{
    if (::access(folder.c_str(), W_OK) == 0)
        return true;
    *reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

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
        m_timer->setInterval(1000);
        connect(m_timer, &QTimer::timeout, this, &TPrincipal::Timer1Timer);
        m_timer->start();
    }
    FormCreate();
}

TPrincipal::~TPrincipal()
{
    if (m_menuHost && m_menuVentana)
        m_menuHost->removeAction(m_menuVentana->menuAction());
    AppState& state = AppState::get();
    state.openFolderWindows.removeAll(this);
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

// Said once per start, whether the folder refuses writing outright or only
// when the first file is made in it.
void TPrincipal::sayFolderUnwritable(const QString& reason)
{
    if (m_folderUnwritableSaid)
        return;
    m_folderUnwritableSaid = true;
    app::showError(QStringLiteral("No se puede escribir en la carpeta %1 (%2).\n"
                                  "Lo que ponga en Tolm no se podrá guardar aquí. Para guardar "
                                  "las estanterías en otra carpeta, inicie Tolm con la opción "
                                  "--dir CARPETA (o --user, la carpeta del usuario).")
                       .arg(QString::fromStdString(m_document.folder().string()), reason));
}

void TPrincipal::FormCreate()
{
    AppState& state = AppState::get();
    m_frameShown = true;
    m_closing = false;
    m_discard = false;
    m_deshacer->setEnabled(false);
    m_menuVentana->setTitle(QStringLiteral("Ventana"));
    m_menuHost = nullptr;
    if (m_isMain) {
        m_document = app::ShelfDocument(state.shelfFolder, QString::fromLatin1(kMainFileName));
        // The start counter is only counted. One that cannot be stored is
        // reported and the shelf still loads: nothing depends on it.
        if (!platform::services().settings->countStart())
            qCWarning(lcApp, "the start counter could not be stored");
        // Saves cut short by a killed process leave their temporary files.
        for (const std::string& name : store::removeStaleTempFiles(state.shelfFolder))
            qCWarning(lcApp, "removed %s, left by an interrupted save", name.c_str());
        // A shelf that loads fine from a folder that cannot be written would
        // otherwise lose every change silently until the first save.
        // A start that could not lock the folder has said so already.
        if (QString reason; state.savingOffReason.isEmpty() && !folderWritable(state.shelfFolder, &reason))
            sayFolderUnwritable(reason);
    } else {
        TSpButton* item = m_folderItem;
        m_document = app::ShelfDocument(state.shelfFolder, item->Comando());
        if (!store::isFollowableFolderFile(fileName().toStdString())) {
            // Items refuse to open such a folder; a window made for one anyway
            // never reads or writes it.
            m_loadFailed = true;
            app::showError(QStringLiteral("No es un fichero de carpeta: %1").arg(fileName()));
            return;
        }
        setWindowTitle(item->Hint());
        item->setTag(1);
        item->refreshGlyph();
    }
    load();
    // Before anything is written: the state "Restaurar configuración"
    // returns to when no "Guardar configuración" has kept one.
    if (m_isMain)
        m_savePoint = std::make_unique<store::SavePoint>(state.shelfFolder);
}

void TPrincipal::load()
{
    // A message box shown while the items come in runs the event loop, and
    // with it the automatic save; a window half loaded is never written.
    m_loading = true;
    try {
        cargar();
    } catch (const std::exception& error) {
        m_loadFailed = true;
        m_loading = false;
        app::showError(QString::fromUtf8(error.what()));
    }
    m_loading = false;
    // What the window holds now is what its file holds, or, for a window
    // that could not be loaded, what it holds without the user's work.
    if (m_loadFailed)
        m_document.rememberStable(stableBytes());
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

// ---------------------------------------------------------------- files

// The header and the font dialog record: a whole shelf file with no items.
std::vector<std::uint8_t> TPrincipal::fileHead(const QRect& outer, std::uint32_t color) const
{
    store::ShelfHeader header;
    header.left = outer.left();
    header.top = outer.top();
    header.right = outer.left() + outer.width();
    header.bottom = outer.top() + outer.height();
    header.frameShown = m_frameShown ? 1 : 0;
    header.alwaysButtons = m_alwaysButtons ? 1 : 0;
    header.color = color;
    std::vector<std::uint8_t> bytes;
    store::writeHeader(header, bytes);
    store::writeRecord(store::writeFontDialog(m_fontDialog), bytes);
    return bytes;
}

void TPrincipal::writeFreshFile(const QString& name, const QRect& outer, std::uint32_t color)
{
    std::string error;
    if (!m_document.writeNew(name, fileHead(outer, color), &error))
        throw std::runtime_error("No se puede crear el fichero " + name.toStdString() + ": " + error);
}

std::size_t TPrincipal::maxItems()
{
    static const std::size_t limit = [] {
        constexpr std::size_t kMost = 20000;
        constexpr rlim_t kBytesPerSibling = 320;
        constexpr rlim_t kReserve = 1 << 20; // for everything else on the stack
        rlimit stack {};
        if (::getrlimit(RLIMIT_STACK, &stack) != 0 || stack.rlim_cur == RLIM_INFINITY)
            return kMost;
        const rlim_t fits = stack.rlim_cur > kReserve ? (stack.rlim_cur - kReserve) / kBytesPerSibling : 0;
        return std::min<std::size_t>(kMost, std::max<rlim_t>(fits, 100));
    }();
    return limit;
}

namespace {

// Stored bounds may hold any 32-bit values; a window is kept to a range that
// no later arithmetic on its geometry can overflow.
QRect boundsFromHeader(const store::ShelfHeader& header)
{
    constexpr std::int64_t kReach = 1'000'000;
    constexpr std::int64_t kMaxSize = 100'000;
    const std::int64_t left = std::clamp<std::int64_t>(header.left, -kReach, kReach);
    const std::int64_t top = std::clamp<std::int64_t>(header.top, -kReach, kReach);
    const std::int64_t width
        = std::clamp<std::int64_t>(std::int64_t(header.right) - header.left, 0, kMaxSize);
    const std::int64_t height
        = std::clamp<std::int64_t>(std::int64_t(header.bottom) - header.top, 0, kMaxSize);
    return QRect(int(left), int(top), int(width), int(height));
}

} // namespace

void TPrincipal::cargar()
{
    AppState& state = AppState::get();
    if (!m_document.exists()) {
        const std::uint32_t mainColor = state.mainWindow ? state.mainWindow->color() : m_color;
        m_color = mainColor;
        // A file that cannot be made is no reason to treat the window as one
        // that failed to load: it starts empty, and a later save, once the
        // folder is writable, stores it.
        std::string error;
        std::vector<std::uint8_t> fresh = fileHead(bounds(), mainColor);
        if (!state.savingOffReason.isEmpty()) {
            m_document.rememberStable(stableBytes());
        } else if (m_document.writeNew(fileName(), fresh, &error)) {
            m_document.remember(std::move(fresh), stableBytes());
        } else {
            m_document.rememberStable(stableBytes());
            if (m_isMain)
                sayFolderUnwritable(app::SaveReport::reason(error));
            else
                app::showError(QStringLiteral("No se puede crear el fichero %1: %2")
                                   .arg(fileName(), app::SaveReport::reason(error)));
        }
        update();
        return;
    }

    std::string readError;
    auto bytes = m_document.read(&readError);
    if (!bytes) {
        m_loadFailed = true;
        throw std::runtime_error(
            "No se puede leer el fichero " + fileName().toStdString() + ": " + readError);
    }
    state.currentItem = nullptr;

    auto fail = [this](const store::StreamError& error) {
        m_loadFailed = true;
        return std::runtime_error(fileName().toStdString() + ": " + error.what() + " (byte "
            + std::to_string(error.offset()) + ")");
    };

    std::optional<store::ShelfReader> reader;
    try {
        reader.emplace(*bytes);
    } catch (const store::StreamError& error) {
        throw fail(error);
    }
    if (!reader->magicMatches()) {
        m_loadFailed = true;
        app::showMessage(QStringLiteral("Error caragando datos"),
            QStringLiteral("El fichero %1\nno es compatible con esta versión del programa").arg(fileName()));
        return;
    }

    // Every record is read before anything changes, so that a file holding
    // more items than a window can show is refused whole.
    std::optional<store::FontDialogState> fontDialog;
    std::vector<store::SpButtonState> states;
    std::size_t itemCount = 0;
    std::optional<std::runtime_error> broken;
    try {
        fontDialog = reader->nextFontDialog();
        while (!reader->atEnd()) {
            store::SpButtonState itemState = reader->nextItem();
            if (++itemCount <= maxItems())
                states.push_back(std::move(itemState));
        }
    } catch (const store::StreamError& error) {
        broken.emplace(fail(error));
    }
    if (itemCount > maxItems()) {
        m_loadFailed = true;
        app::showMessage(QStringLiteral("Error caragando datos"),
            QStringLiteral("El fichero %1\ntiene %2 elementos; una ventana admite como mucho %3.\n"
                           "El fichero no se ha modificado.")
                .arg(fileName())
                .arg(itemCount)
                .arg(maxItems()));
        return;
    }

    const store::ShelfHeader& header = reader->header();
    m_frameShown = header.frameShown != 0;
    applyFrame();
    QRect outer = boundsFromHeader(header);
    // A window saved where no screen is now (a monitor since unplugged, a
    // smaller screen) comes back where the user can reach it.
    if (!app::nativeWayland())
        outer = app::reachableOnScreens(outer);
    setBounds(outer);
    m_alwaysButtons = header.alwaysButtons != 0;
    m_color = header.color;
    if (!fontDialog)
        throw *broken;
    m_fontDialog = *fontDialog;
    setDefaultFont(m_fontDialog.font);

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
        switch (item->clase()) {
        case Clase::Normal:
            if (item->Autorun())
                item->SpButtonClick();
            break;
        case Clase::Carpeta:
            // A folder cut and not pasted when the file was written comes back usable.
            item->setEnabled(true);
            if (item->Tag() != 0 || item->Autorun())
                item->SpButtonClick();
            break;
        case Clase::Reloj:
            state.addTimerItem(item);
            break;
        case Clase::Disco:
            item->createPictureCache();
            item->settag1(-2);
            state.addTimerItem(item);
            break;
        case Clase::Memoria:
            state.addTimerItem(item);
            break;
        default:
            break;
        }
    }
    for (auto& item : old)
        delete item.data();
    old.clear();
    if (broken)
        throw *broken;
    m_document.remember(std::move(*bytes), stableBytes());

    const items::CoverIndex cover(this);
    for (TSpButton* item : items()) {
        if (item && item->isTimerDriven())
            item->updateCoveredFlag(cover);
    }
    update();
}

std::vector<std::uint8_t> TPrincipal::shelfBytes()
{
    std::vector<std::uint8_t> bytes = fileHead(bounds(), m_color);
    m_items.removeAll(QPointer<TSpButton>());
    for (TSpButton* item : items())
        store::writeRecord(store::writeSpButton(item->toState(menuReference(item->claseValue()))), bytes);
    return bytes;
}

// The file as it would be written, without what tiles rewrite on their own.
// A window that could not be loaded leaves out where it stands too: moving
// it is not worth a recovery file.
std::vector<std::uint8_t> TPrincipal::stableBytes()
{
    std::vector<std::uint8_t> bytes = fileHead(m_loadFailed ? QRect() : bounds(), m_color);
    m_items.removeAll(QPointer<TSpButton>());
    for (TSpButton* item : items()) {
        store::SpButtonState state = item->toState(menuReference(item->claseValue()));
        items::clearTickFields(state);
        store::writeRecord(store::writeSpButton(state), bytes);
    }
    return bytes;
}

bool TPrincipal::hasUnwrittenChanges()
{
    return !m_loading && !m_document.holds(stableBytes());
}

// A window whose file could not be loaded never writes over that file. What
// the user puts on it goes to one recovery file beside it instead, named
// when it is first needed, and the user is told where once.
bool TPrincipal::writeRecovery(app::SaveReport& report)
{
    if (!hasUnwrittenChanges()) {
        qCInfo(lcApp, "%s was not loaded; it is left as it is", qPrintable(fileName()));
        return false;
    }
    bool named = false;
    if (m_document.writeRecovery(shelfBytes(), stableBytes(), report, &named) && named)
        app::showMessage(QStringLiteral("Tolm"),
            QStringLiteral("El fichero %1 no se pudo cargar y no se ha modificado.\n"
                           "Lo que contiene esta ventana se guarda en %2;\n"
                           "para usarlo, cambie su nombre a %1.")
                .arg(fileName(), recoveryFileName()));
    return false;
}

bool TPrincipal::writeFile(app::SaveReport& report)
{
    if (m_loading || !AppState::get().savingOffReason.isEmpty())
        return false;
    if (m_loadFailed)
        return writeRecovery(report);
    return m_document.write(shelfBytes(), stableBytes(), report);
}

bool TPrincipal::salvar()
{
    app::SaveReport report;
    const bool written = writeFile(report);
    report.show();
    return written;
}

void TPrincipal::saveEveryWindow(app::SaveReport& report)
{
    AppState& state = AppState::get();
    if (state.mainWindow)
        state.mainWindow->writeFile(report);
    state.openFolderWindows.removeAll(QPointer<TPrincipal>());
    const auto windows = state.openFolderWindows;
    for (const auto& window : windows) {
        if (window)
            window->writeFile(report);
    }
}

QString TPrincipal::newFolderFile()
{
    const QString name = m_document.firstFreeFolderFileName();
    writeFreshFile(name, QRect(50, 50, 100, 100), m_color);
    return name;
}

void TPrincipal::BorrarFichero(const QString& name)
{
    m_document.deleteTree(name);
}

std::string TPrincipal::menuReference(int clase) const
{
    const char* menu = nullptr;
    switch (static_cast<Clase>(clase)) {
    case Clase::Normal:
        menu = "MenuBoton";
        break;
    case Clase::Carpeta:
        menu = "MenuCarpeta";
        break;
    case Clase::Reloj:
        menu = "MenuReloj";
        break;
    case Clase::Disco:
        menu = "MenuDisco";
        break;
    case Clase::Memoria:
        menu = "MenuMemoria";
        break;
    default:
        return {};
    }
    // Every window is an instance of the main window's form, so the names
    // read the same in the main file and in folder files.
    return std::string("Principal.") + menu;
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
        if (!quitSavingEveryWindow()) {
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
        cerrarVentanas();
    } else {
        writeFile(report);
        bool belowClosed = !saveFailed();
        if (belowClosed) {
            for (TSpButton* item : items()) {
                TPrincipal* below = folderWindowOf(item);
                if (item && item->clase() == Clase::Carpeta && item->Tag() != 0 && state.isOpen(below))
                    belowClosed = below->closeFolderWindow(report) && belowClosed;
            }
        }
        if (!belowClosed) {
            m_closing = false;
            return false;
        }
    }
    if (TSpButton* item = m_folderItem) {
        item->setTag(0);
        item->setFolderWindow(nullptr);
        item->refreshGlyph();
    }
    state.openFolderWindows.removeAll(this);
    startDeferredDelete();
    return true;
}

bool TPrincipal::quitSavingEveryWindow()
{
    AppState& state = AppState::get();
    app::SaveReport report;
    saveEveryWindow(report);
    if (report.any()) {
        if (!m_askBeforeQuitting) {
            // A signal or the session ends the program: no one is there to
            // answer, and the files that could not be written are whole.
            qCWarning(lcApp, "%s", qPrintable(report.text()));
        } else if (!app::askOkCancel(QStringLiteral("Tolm"),
                       report.text()
                           + QStringLiteral("\n\n¿Salir de Tolm sin guardar? Con Cancelar, Tolm sigue "
                                            "abierto con todo lo que contiene."))) {
            return false;
        }
    }
    state.quitting = true;
    if (m_autoSave)
        m_autoSave->stop();
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
        if (item && item->clase() == Clase::Carpeta && item->Tag() != 0 && state.isOpen(item->folderWindow()))
            return true;
    }
    return false;
}

void TPrincipal::cerrarVentanas()
{
    AppState& state = AppState::get();
    for (TSpButton* item : items()) {
        if (!item || !m_closing || item->clase() != Clase::Carpeta || item->Tag() == 0)
            continue;
        TPrincipal* window = folderWindowOf(item);
        if (state.isOpen(window)) {
            window->setDiscard(m_discard);
            window->close();
        }
    }
}

void TPrincipal::Exit1Click()
{
    close();
}

// Every change is written as it is made; this also marks the shelf as it
// is now as the state "Restaurar configuración" returns to.
void TPrincipal::Guardarconfiguracin1Click()
{
    AppState& state = AppState::get();
    app::SaveReport report;
    saveEveryWindow(report);
    TPrincipal* main = state.mainWindow;
    if (!report.any() && main && main->m_savePoint && state.savingOffReason.isEmpty()) {
        std::string error;
        if (!store::SavePoint::keep(state.shelfFolder, &error))
            report.add(QStringLiteral("No se puede guardar la configuración en %1: %2")
                           .arg(QString::fromStdString(store::SavePoint::folder(state.shelfFolder).string()),
                               app::SaveReport::reason(error)));
    }
    report.show();
}

void TPrincipal::Restaurarconfiguracin1Click()
{
    AppState& state = AppState::get();
    TPrincipal* main = state.mainWindow;
    if (!main)
        return;
    const bool kept = store::SavePoint::kept(state.shelfFolder);
    const QString question = kept
        ? QStringLiteral("¿Volver a la configuración guardada con «Guardar configuración»?\n"
                         "Se perderán los cambios hechos desde entonces en todas las ventanas.")
        : QStringLiteral("¿Volver a la configuración que tenía Tolm al iniciarse?\n"
                         "Se perderán los cambios hechos desde entonces en todas las ventanas.");
    if (!app::askOkCancel(QStringLiteral("Restaurar configuración"), question))
        return;

    const auto windows = state.openFolderWindows;
    state.openFolderWindows.clear();
    for (const auto& window : windows) {
        if (!window)
            continue;
        // Discarded unsaved: the folder items of the reloaded main window are
        // new objects, so nothing points back at these windows.
        window->hide();
        window->deleteLater();
    }
    // With saving off nothing was written this run: the files are the state
    // of its start already.
    std::string error;
    if (main->m_savePoint && state.savingOffReason.isEmpty()
        && !main->m_savePoint->restore(state.shelfFolder, &error))
        app::showError(QStringLiteral("No se puede restaurar la configuración: %1\n"
                                      "Las ventanas muestran lo que contienen ahora sus ficheros.")
                           .arg(app::SaveReport::reason(error)));
    main->m_loadFailed = false;
    main->m_document.forgetRecovery();
    main->load();
}

void TPrincipal::CarpetaCerrarClick()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (item && item->Tag() != 0 && state.isOpen(item->folderWindow()))
        folderWindowOf(item)->close();
}
