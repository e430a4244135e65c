// What an item does when it is activated, and how it follows the mouse.
#include "app/AppState.h"
#include "app/Messages.h"
#include "app/TPrincipal.h"
#include "items/ItemHooks.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "store/ShelfFile.h"

#include <QMenu>
#include <QMouseEvent>
#include <cstdio>

using tolm::store::Clase;

namespace {

// Folder files being loaded right now, so that folder files that name each
// other in a cycle stop instead of opening windows without end.
QStringList& filesBeingOpened()
{
    static QStringList files;
    return files;
}

bool fileIsOpenSomewhere(const QString& fileName)
{
    const AppState& state = AppState::get();
    if (state.mainWindow && state.mainWindow->fileName() == fileName)
        return true;
    for (const auto& window : state.openFolderWindows) {
        if (window && window->fileName() == fileName)
            return true;
    }
    return filesBeingOpened().contains(fileName);
}

void reportLaunch(const tolm::platform::ShellResult& result, const QString& command)
{
    if (!result.ok)
        std::fprintf(stderr, "tolm: cannot open %s: %s\n", qPrintable(command), qPrintable(result.error));
}

} // namespace

void TSpButton::SpButtonClick()
{
    AppState& state = AppState::get();
    switch (clase()) {
    case Clase::Normal: {
        auto* shell = tolm::platform::services().shell;
        reportLaunch(
            shell->open(Comando(), Param(), Directorio(), static_cast<tolm::platform::ShowState>(Run())),
            Comando());
        break;
    }
    case Clase::Carpeta: {
        if (Tag() != 0) {
            if (state.isOpen(m_folderWindow)) {
                m_folderWindow->show();
                m_folderWindow->raise();
                m_folderWindow->activateWindow();
                return;
            }
            setTag(0);
            m_folderWindow = nullptr;
        }
        if (!tolm::store::isFollowableFolderFile(Comando().toStdString())) {
            // A folder's file must be a plain name beside the main shelf file;
            // anything else would read or write a file outside the shelf folder.
            setTag(0);
            tolm::app::showMessage(QStringLiteral("Tolm"),
                QStringLiteral(
                    "La carpeta «%1» no se puede abrir:\n«%2» no es un fichero de carpeta de esta bandeja.")
                    .arg(Caption().isEmpty() ? Hint() : Caption(), Comando()));
            return;
        }
        if (fileIsOpenSomewhere(Comando())) {
            std::fprintf(stderr, "tolm: %s is already open; a folder cannot open inside itself\n",
                qPrintable(Comando()));
            return;
        }
        state.currentItem = this;
        filesBeingOpened().append(Comando());
        auto* window = new TPrincipal(this);
        filesBeingOpened().removeOne(Comando());
        m_folderWindow = window;
        state.openFolderWindows.append(window);
        window->show();
        break;
    }
    case Clase::Reloj:
        tolm::items::hooks().openCalendar();
        break;
    case Clase::Disco: {
        auto* shell = tolm::platform::services().shell;
        reportLaunch(shell->open(QStringLiteral("explorer"), Directorio(), Directorio()), Directorio());
        break;
    }
    case Clase::Memoria:
        state.currentItem = this;
        if (TPrincipal* window = shelfWindow())
            window->BotonPropiedadesClick();
        break;
    default:
        break;
    }
}

void TSpButton::mousePressEvent(QMouseEvent* event)
{
    AppState& state = AppState::get();
    const QPoint local = event->position().toPoint();
    state.pressPoint = mapToParent(local);
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        // A Shift or Ctrl press moves things; it never presses the button.
        state.grabPoint = local;
        event->accept();
        return;
    }
    state.grabPoint = local;
    if (event->button() == Qt::LeftButton)
        QAbstractButton::mousePressEvent(event);
    else
        event->accept();
}

void TSpButton::mouseMoveEvent(QMouseEvent* event)
{
    AppState& state = AppState::get();
    if (state.hoveredItem != this) {
        if (TSpButton* previous = state.hoveredItem)
            previous->update();
        state.hoveredItem = this;
        update();
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        QAbstractButton::mouseMoveEvent(event);
        return;
    }
    const QPoint local = event->position().toPoint();
    QPoint p = mapToParent(local);
    TPrincipal* window = shelfWindow();
    if (event->modifiers() & Qt::ShiftModifier) {
        if (!state.dragging) {
            if (std::abs(state.grabPoint.x() - local.x()) < 3
                && std::abs(state.grabPoint.y() - local.y()) < 3)
                return;
            state.dragging = true;
            if (window) {
                state.dragClientSize = window->size();
                window->removeFromItemList(this);
                window->appendToItemList(this);
            }
            raise();
        }
        p.setX(std::max(p.x(), state.grabPoint.x()));
        p.setY(std::max(p.y(), state.grabPoint.y()));
        // Items sit on a 10-pixel grid.
        move((p.x() - state.grabPoint.x()) / 10 * 10, (p.y() - state.grabPoint.y()) / 10 * 10);
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        if (window)
            window->windowMouseMove(p, event->buttons());
        return;
    }
    QAbstractButton::mouseMoveEvent(event);
}

void TSpButton::mouseReleaseEvent(QMouseEvent* event)
{
    AppState& state = AppState::get();
    const bool wasDragging = state.dragging;
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (wasDragging) {
        if (TPrincipal* window = shelfWindow()) {
            for (TSpButton* item : window->items()) {
                if (item && item->isTimerDriven())
                    item->updateCoveredFlag();
            }
        }
    }
    state.dragging = false;
    if (event->button() == Qt::RightButton) {
        state.currentItem = this;
        event->accept();
        if (m_popupMenu)
            m_popupMenu->popup(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton && plain && !wasDragging && isDown())
        QAbstractButton::mouseReleaseEvent(event);
    else {
        setDown(false);
        event->accept();
    }
}
