#include "app/TPrincipal.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "gfx/Color.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "store/ShelfFile.h"
#include "store/StreamError.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <cstdio>

using namespace tolm;
using store::Clase;

namespace {

std::filesystem::path currentDir()
{
    return std::filesystem::path(QDir::currentPath().toStdString());
}

std::filesystem::path pathOf(const QString& name)
{
    return currentDir() / name.toStdString();
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
    if (m_isMain) {
        state.mainWindow = this;
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
    delete m_undo;
    AppState& state = AppState::get();
    state.openFolderWindows.removeAll(this);
}

TSpButton* TPrincipal::folderItem() const
{
    return m_folderItem.data();
}

QList<TSpButton*> TPrincipal::items() const
{
    QList<TSpButton*> out;
    out.reserve(m_items.size());
    for (const auto& item : m_items)
        out.append(item.data());
    return out;
}

void TPrincipal::FormCreate()
{
    m_frameShown = true;
    m_closing = false;
    m_discard = false;
    m_deshacer->setEnabled(false);
    m_menuVentana->setTitle(QStringLiteral("Ventana"));
    m_menuHost = nullptr;
    if (m_isMain) {
        m_fileName = QString::fromLatin1(kMainFileName);
        // The start counter is only counted. One that cannot be stored is
        // reported and the shelf still loads: nothing depends on it.
        if (!platform::services().settings->countStart())
            std::fprintf(stderr, "tolm: the start counter could not be stored\n");
    } else {
        TSpButton* item = m_folderItem;
        m_fileName = item->Comando();
        setWindowTitle(item->Hint());
        item->setTag(1);
        item->refreshGlyph();
    }
    try {
        cargar();
    } catch (const std::exception& error) {
        m_loadFailed = true;
        app::showError(this, QString::fromUtf8(error.what()));
    }
}

QRect TPrincipal::bounds() const
{
    const AppState& state = AppState::get();
    if (m_frameShown)
        return QRect(x(), y(), width() + state.frameNw, height() + state.frameNh);
    return QRect(x(), y(), width(), height());
}

void TPrincipal::setBounds(const QRect& outer)
{
    const AppState& state = AppState::get();
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
    if (windowFlags() != flags) {
        setWindowFlags(flags);
        if (visible)
            show();
    }
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
    if (!store::writeFileAtomically(pathOf(name), fileHead(outer, color), &error))
        throw std::runtime_error("No se puede crear el fichero " + name.toStdString() + ": " + error);
}

void TPrincipal::cargar()
{
    AppState& state = AppState::get();
    const std::filesystem::path path = pathOf(m_fileName);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        const std::uint32_t mainColor = state.mainWindow ? state.mainWindow->color() : m_color;
        m_color = mainColor;
        writeFreshFile(m_fileName, bounds(), mainColor);
        update();
        return;
    }

    std::string readError;
    const auto bytes = store::readFileBytes(path, &readError);
    if (!bytes) {
        m_loadFailed = true;
        throw std::runtime_error(
            "No se puede leer el fichero " + m_fileName.toStdString() + ": " + readError);
    }
    state.currentItem = nullptr;

    auto fail = [this](const store::StreamError& error) {
        m_loadFailed = true;
        return std::runtime_error(m_fileName.toStdString() + ": " + error.what() + " (byte "
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
        app::showMessage(this, QStringLiteral("Error caragando datos"),
            QStringLiteral("El fichero %1\nno es compatible con esta versión del programa").arg(m_fileName));
        return;
    }

    const store::ShelfHeader& header = reader->header();
    m_frameShown = header.frameShown != 0;
    applyFrame();
    setBounds(QRect(header.left, header.top, header.right - header.left, header.bottom - header.top));
    m_alwaysButtons = header.alwaysButtons != 0;
    m_color = header.color;

    try {
        m_fontDialog = store::readFontDialog(reader->nextRecord());
    } catch (const store::StreamError& error) {
        throw fail(error);
    }
    setDefaultFont(m_fontDialog.font);

    // Set the old items aside; they are destroyed once the new ones are in.
    QList<QPointer<TSpButton>> old = m_items;
    for (const auto& item : old) {
        if (!item)
            continue;
        item->hide();
        item->setParent(nullptr);
        state.removeTimerItem(item);
    }
    m_items.clear();
    m_hasItemList = true;

    auto destroyOld = [&old]() {
        for (auto& item : old)
            delete item.data();
        old.clear();
    };

    try {
        while (!reader->atEnd()) {
            const store::Record record = reader->nextRecord();
            const store::SpButtonState itemState = store::readSpButton(record);
            auto* item = new TSpButton(this);
            item->fromState(itemState);
            m_items.append(item);
            item->setPopupMenu(menuForClase(item->claseValue()));
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
    } catch (const store::StreamError& error) {
        destroyOld();
        throw fail(error);
    }
    destroyOld();

    for (TSpButton* item : items()) {
        if (item && item->isTimerDriven())
            item->updateCoveredFlag();
    }
    update();
}

bool TPrincipal::salvar()
{
    if (m_loadFailed) {
        std::fprintf(stderr, "tolm: %s was not loaded; it is left as it is\n", qPrintable(m_fileName));
        return false;
    }
    std::vector<std::uint8_t> bytes = fileHead(bounds(), m_color);
    m_items.removeAll(QPointer<TSpButton>());
    for (TSpButton* item : items())
        store::writeRecord(store::writeSpButton(item->toState(menuReference(item->claseValue()))), bytes);

    std::string error;
    const bool written = store::writeFileAtomically(pathOf(m_fileName), bytes, &error);
    if (!written)
        app::showError(this,
            QStringLiteral("No se puede guardar el fichero %1: %2")
                .arg(m_fileName, QString::fromStdString(error)));

    if (m_closing) {
        AppState& state = AppState::get();
        for (TSpButton* item : items()) {
            if (item->clase() == Clase::Carpeta && item->Tag() != 0 && state.isOpen(item->folderWindow()))
                item->folderWindow()->close();
        }
    }
    return written;
}

QString TPrincipal::newFolderFile()
{
    const QString name = QString::fromStdString(store::firstFreeFolderFileName(currentDir()));
    writeFreshFile(name, QRect(50, 50, 100, 100), m_color);
    return name;
}

void TPrincipal::BorrarFichero(const QString& name)
{
    std::vector<std::string> broken;
    store::deleteShelfTree(currentDir(), name.toStdString(), &broken);
    // Folder files named after a broken record could not be found; say which.
    for (const std::string& complaint : broken)
        std::fprintf(stderr, "tolm: while deleting %s: %s\n", qPrintable(name), complaint.c_str());
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
    if (m_isMain) {
        Guardarconfiguracin1Click();
        event->accept();
        startDeferredDelete();
        QCoreApplication::quit();
        return;
    }
    m_closing = true;
    if (m_discard)
        cerrarVentanas();
    else
        salvar();
    if (TSpButton* item = m_folderItem) {
        item->setTag(0);
        item->setFolderWindow(nullptr);
        item->refreshGlyph();
    }
    state.openFolderWindows.removeAll(this);
    event->accept();
    startDeferredDelete();
}

void TPrincipal::startDeferredDelete()
{
    hide();
    deleteLater();
}

void TPrincipal::cerrarVentanas()
{
    AppState& state = AppState::get();
    for (TSpButton* item : items()) {
        if (!item || !m_closing || item->clase() != Clase::Carpeta || item->Tag() == 0)
            continue;
        TPrincipal* window = item->folderWindow();
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

void TPrincipal::Guardarconfiguracin1Click()
{
    AppState& state = AppState::get();
    if (state.mainWindow)
        state.mainWindow->salvar();
    state.openFolderWindows.removeAll(QPointer<TPrincipal>());
    const auto windows = state.openFolderWindows;
    for (const auto& window : windows) {
        if (window)
            window->salvar();
    }
}

void TPrincipal::Restaurarconfiguracin1Click()
{
    AppState& state = AppState::get();
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
    if (TPrincipal* main = state.mainWindow) {
        try {
            main->m_loadFailed = false;
            main->cargar();
        } catch (const std::exception& error) {
            app::showError(main, QString::fromUtf8(error.what()));
        }
    }
}

void TPrincipal::CarpetaCerrarClick()
{
    AppState& state = AppState::get();
    TSpButton* item = state.currentItem;
    if (item && item->Tag() != 0 && state.isOpen(item->folderWindow()))
        item->folderWindow()->close();
}
