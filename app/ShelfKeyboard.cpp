// The window by keyboard: the arrow keys and Tab move the mark between the
// items, Return and space activate the marked item, the menu key opens its
// menu and typed letters find an item by its name.
#include "app/ShelfKeyboard.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "app/TPrincipal.h"
#include "items/ItemAccessible.h"
#include "items/TSpButton.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace tolm::app {

ShelfKeyboard::ShelfKeyboard(TPrincipal& window)
    : m_window(window)
{ }

QList<TSpButton*> ShelfKeyboard::readingOrder() const
{
    QList<TSpButton*> order;
    for (TSpButton* item : m_window.items()) {
        // A cut folder waits disabled for its paste and is passed over.
        if (item && !item->isHidden() && item->isEnabled())
            order.append(item);
    }
    std::stable_sort(order.begin(), order.end(), [](const TSpButton* a, const TSpButton* b) {
        if (a->y() != b->y())
            return a->y() < b->y();
        return a->x() < b->x();
    });
    return order;
}

TSpButton* ShelfKeyboard::markedItem() const
{
    TSpButton* item = AppState::get().hoveredItem;
    return item && item->parentWidget() == &m_window ? item : nullptr;
}

void ShelfKeyboard::markItem(TSpButton* item)
{
    AppState& state = AppState::get();
    TSpButton* previous = state.hoveredItem;
    if (previous == item)
        return;
    state.hoveredItem = item;
    if (previous)
        previous->update();
    if (!item)
        return;
    item->update();
    QAccessibleEvent focus(item, QAccessible::Focus);
    items::announce(focus);
}

void ShelfKeyboard::activateByKey(TSpButton* item)
{
    AppState& state = AppState::get();
    // A cut folder waits disabled for its paste; opening its window now
    // would let the folder be pasted inside itself.
    if (item->isFolder() && item == state.cutBuffer()) {
        showMessage(QStringLiteral("Tolm"),
            QCoreApplication::translate(
                "ShelfKeyboard", "La carpeta está cortada; péguela antes de abrirla."));
        return;
    }
    state.currentItem = item;
    item->activate();
}

namespace {

// How far `to` lies from `from` in the direction of an arrow key, or -1 when
// it does not lie that way. Across the direction counts double, so that an
// item straight ahead wins over a nearer one off to the side.
qint64 distanceToward(int key, const QRect& from, const QRect& to)
{
    const QPoint a = from.center();
    const QPoint b = to.center();
    qint64 ahead = 0;
    qint64 aside = 0;
    switch (key) {
    case Qt::Key_Left:
        ahead = qint64(a.x()) - b.x();
        aside = qint64(b.y()) - a.y();
        break;
    case Qt::Key_Right:
        ahead = qint64(b.x()) - a.x();
        aside = qint64(b.y()) - a.y();
        break;
    case Qt::Key_Up:
        ahead = qint64(a.y()) - b.y();
        aside = qint64(b.x()) - a.x();
        break;
    case Qt::Key_Down:
        ahead = qint64(b.y()) - a.y();
        aside = qint64(b.x()) - a.x();
        break;
    default:
        return -1;
    }
    if (ahead <= 0)
        return -1;
    return ahead + 2 * std::abs(aside);
}

} // namespace

void ShelfKeyboard::moveMark(int key)
{
    const QList<TSpButton*> order = readingOrder();
    if (order.isEmpty())
        return;
    TSpButton* from = markedItem();
    if (!from || !order.contains(from)) {
        // With no mark the first key puts it on an item at the edge it points away from.
        markItem(key == Qt::Key_Left || key == Qt::Key_Up ? order.last() : order.first());
        return;
    }
    TSpButton* best = nullptr;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (TSpButton* item : order) {
        if (item == from)
            continue;
        const qint64 d = distanceToward(key, from->geometry(), item->geometry());
        if (d >= 0 && d < bestDistance) {
            best = item;
            bestDistance = d;
        }
    }
    if (best)
        markItem(best);
}

void ShelfKeyboard::focusNext(bool next)
{
    // Tab walks the items in reading order, round the end; the window keeps
    // the keyboard focus.
    const QList<TSpButton*> order = readingOrder();
    if (order.isEmpty())
        return;
    const qsizetype at = order.indexOf(markedItem());
    qsizetype to = 0;
    if (at < 0)
        to = next ? 0 : order.size() - 1;
    else
        to = (at + (next ? 1 : order.size() - 1)) % order.size();
    markItem(order.at(to));
}

void ShelfKeyboard::openMenuByKey()
{
    AppState& state = AppState::get();
    if (TSpButton* item = markedItem()) {
        QMenu* menu = item->popupMenu();
        if (!menu)
            return;
        state.currentItem = item;
        state.pressPoint = item->pos();
        menu->popup(item->mapToGlobal(QPoint(0, item->height())));
        return;
    }
    // The window menu opens where the pointer is when it lies on the window,
    // else at the window's corner; new items are placed there.
    QPoint at = m_window.mapFromGlobal(QCursor::pos());
    if (!m_window.rect().contains(at))
        at = QPoint(0, 0);
    state.pressPoint = at;
    m_window.windowMenu()->popup(m_window.mapToGlobal(at));
}

void ShelfKeyboard::typeAhead(const QString& text)
{
    if (!m_typeAheadReset) {
        m_typeAheadReset = new QTimer(&m_window);
        m_typeAheadReset->setSingleShot(true);
        m_typeAheadReset->setInterval(kTypeAheadPauseMs);
        QObject::connect(m_typeAheadReset, &QTimer::timeout, &m_window, [this] { m_typed.clear(); });
    }
    m_typed += text;
    m_typeAheadReset->start();
    const QList<TSpButton*> order = readingOrder();
    if (order.isEmpty())
        return;
    // A first letter looks from the item after the marked one, so that
    // typing it again steps through the items it begins; a longer prefix
    // may still match the marked item itself.
    const qsizetype at = order.indexOf(markedItem());
    const qsizetype start = at < 0 ? 0 : (m_typed.size() == 1 ? at + 1 : at);
    for (qsizetype i = 0; i < order.size(); ++i) {
        TSpButton* item = order.at((start + i) % order.size());
        if (item->accessibleLabel().startsWith(m_typed, Qt::CaseInsensitive)) {
            markItem(item);
            return;
        }
    }
}

bool ShelfKeyboard::handleKey(QKeyEvent* event)
{
    AppState& state = AppState::get();
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // Return acts on the hovered item wherever it stands, as it always has.
    // Space does the same for the marked item, but inside a typed name it
    // is one more letter.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && state.hoveredItem) {
        activateByKey(state.hoveredItem);
        return true;
    }
    if (key == Qt::Key_Space && modifiers == Qt::NoModifier && markedItem() && m_typed.isEmpty()) {
        activateByKey(markedItem());
        return true;
    }
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        openMenuByKey();
        return true;
    }
    if (modifiers == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            moveMark(key);
            return true;
        case Qt::Key_Escape:
            m_typed.clear();
            markItem(nullptr);
            return true;
        default:
            break;
        }
    }
    const QString text = event->text();
    if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && !text.isEmpty()
        && text.at(0).isPrint() && !(text.at(0).isSpace() && m_typed.isEmpty())) {
        typeAhead(text);
        return true;
    }
    return false;
}

} // namespace tolm::app
