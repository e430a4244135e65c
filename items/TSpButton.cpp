#include "items/TSpButton.h"

#include "items/CoverIndex.h"
#include "items/HintWindow.h"
#include "items/ItemAccessible.h"
#include "items/ItemHost.h"
#include "items/ItemKind.h"
#include "items/ShelfState.h"

#include <QAccessible>
#include <QBuffer>
#include <QCursor>
#include <QEvent>
#include <QVarLengthArray>
#include <algorithm>

using namespace tolm::store;

namespace {

// A glyph is stored as a whole BMP file image.
std::vector<std::uint8_t> encodeGlyph(const QImage& glyph)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    glyph.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return { bytes.begin(), bytes.end() };
}

QImage decodeGlyph(const std::vector<std::uint8_t>& bmp)
{
    QImage image = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

// A shelf file can hold any 32-bit figure for an item's bounds. The widget is
// placed within reach of any screen and no larger than a picture anyone
// draws, so that nothing computed from its bounds can overflow and its
// surface stays a few megabytes; the stored figures themselves are kept.
constexpr int kMaxItemPosition = 1'000'000;
constexpr int kMaxItemSide = 2048;

int shownPosition(std::int32_t stored)
{
    return std::clamp<int>(stored, -kMaxItemPosition, kMaxItemPosition);
}

int shownSide(std::int32_t stored)
{
    return std::clamp<int>(stored, 1, kMaxItemSide);
}

// The stored figure while the widget still shows it, else what the widget holds now.
std::int32_t keptFigure(std::int32_t stored, int shown, int (*show)(std::int32_t))
{
    return show(stored) == shown ? stored : shown;
}

} // namespace

TSpButton::TSpButton(QWidget* parent)
    : QAbstractButton(parent)
{
    // A fresh item has the framework's button size until `Tipo` or a record sets it.
    resize(m_d.width, m_d.height);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    // The right button's release opens the item's menu; Qt's context menu
    // event must not hand the click to the window's own menu.
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(this, &QAbstractButton::clicked, this, [this] { activate(); });
    tolm::items::installItemAccessibility();
}

TSpButton::~TSpButton()
{
    if (ShelfState::exists()) {
        ShelfState& state = ShelfState::get();
        if (state.hoveredItem == this)
            state.hoveredItem = nullptr;
        state.removeTimerItem(this);
    }
}

void TSpButton::setTipo(int tipo)
{
    m_d.tipo = static_cast<std::uint8_t>(tipo);
    const TipoSize size = tipoSize(tipo);
    m_d.layout = size.layout;
    const bool smallChanges = (size.height > 20 && height() == 20) || (size.height == 20 && height() > 20);
    setGeometry(x(), y(), size.width, size.height);
    if (smallChanges)
        refreshGlyph();
}

void TSpButton::setCaption(const QString& caption)
{
    setText(caption);
}

void TSpButton::setHint(const QString& hint)
{
    // A tick sets the same hint again and again.
    storeText(m_d.hint, hint);
}

void TSpButton::setMargin(int margin)
{
    if (m_d.margin == margin)
        return;
    m_d.margin = margin;
    update();
}

void TSpButton::setOwnFont(const FontState& font)
{
    m_d.font = font;
    m_d.parentFont = false;
    update();
}

void TSpButton::setParentFont(bool follow)
{
    if (m_d.parentFont == follow)
        return;
    m_d.parentFont = follow;
    if (follow) {
        if (const tolm::items::ItemHost* window = host())
            m_d.font = window->defaultFont();
    }
    update();
}

FontState TSpButton::effectiveFont() const
{
    if (m_d.parentFont) {
        if (const tolm::items::ItemHost* window = host())
            return window->defaultFont();
    }
    return m_d.font;
}

void TSpButton::setGlyph(const QImage& glyph)
{
    m_glyph = glyph;
    update();
}

void TSpButton::createPictureCache()
{
    m_pictureCache = std::make_unique<QImage>();
}

const tolm::items::ItemKind& TSpButton::kind() const
{
    return tolm::items::kindOf(m_d.clase);
}

bool TSpButton::isTimerDriven() const
{
    return kind().isTimerDriven();
}

tolm::items::ItemHost* TSpButton::host() const
{
    return tolm::items::ItemHost::of(this);
}

tolm::items::ItemHost* tolm::items::ItemHost::of(const TSpButton* item)
{
    return dynamic_cast<ItemHost*>(item->parentWidget());
}

void TSpButton::Assign(const TSpButton& source)
{
    if (source.isTimerDriven() && ShelfState::exists())
        ShelfState::get().catchUpTicks();
    m_glyph = source.m_glyph;
    m_d.font = source.m_d.font;
    m_d.parentFont = source.m_d.parentFont;
    m_d.comando = source.m_d.comando;
    m_d.hint = source.m_d.hint;
    m_d.param = source.m_d.param;
    setText(source.text());
    m_d.directorio = source.m_d.directorio;
    m_d.fichIcono = source.m_d.fichIcono;
    m_d.run = source.m_d.run;
    m_d.autorun = source.m_d.autorun;
    m_d.tag = source.m_d.tag;
    m_covered = source.m_covered;
    m_timerRepaint = source.m_timerRepaint;
    m_d.tag1 = source.m_d.tag1;
    m_d.tag2 = source.m_d.tag2;
    m_d.margin = source.m_d.margin;
    m_d.clase = source.m_d.clase;
    setTipo(source.m_d.tipo);
    update();
}

bool TSpButton::isCovered() const
{
    QWidget* window = parentWidget();
    if (!window || isHidden())
        return true;
    const QRect area = geometry();
    // Only visible children overlapping the item can be found at its grid
    // points; gather them once, in z-order from the top, instead of walking
    // every child of the window at every point.
    QVarLengthArray<const QWidget*, 16> candidates;
    const QObjectList& children = window->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        const auto* child = qobject_cast<const QWidget*>(*it);
        if (child && !child->isHidden() && !child->isWindow() && child->geometry().intersects(area))
            candidates.append(child);
    }
    // Wide counters: the last step may pass the largest int.
    for (qint64 y = area.top(); y <= area.bottom(); y += 10) {
        for (qint64 x = area.left(); x <= area.right(); x += 10) {
            const QPoint point { int(x), int(y) };
            // The topmost visible child at the point, enabled or not.
            const QWidget* found = nullptr;
            for (const QWidget* child : candidates) {
                if (child->geometry().contains(point)) {
                    found = child;
                    break;
                }
            }
            if (found != this)
                return true;
        }
    }
    return false;
}

void TSpButton::updateCoveredFlag()
{
    m_covered = isCovered();
}

void TSpButton::updateCoveredFlag(const tolm::items::CoverIndex& index)
{
    m_covered = !parentWidget() || index.covered(this);
}

SpButtonState TSpButton::toState(const std::string& menuReference) const
{
    // Countdowns the sleeping timer owes are stored as a tick every second
    // would have left them.
    if (isTimerDriven() && ShelfState::exists())
        ShelfState::get().catchUpTicks();
    SpButtonState s = m_d;
    // An item read and saved again keeps its bytes, even where its stored
    // bounds lay outside what the widget can show.
    s.left = keptFigure(m_d.left, x(), shownPosition);
    s.top = keptFigure(m_d.top, y(), shownPosition);
    s.width = keptFigure(m_d.width, width(), shownSide);
    s.height = keptFigure(m_d.height, height(), shownSide);
    s.caption = text().toStdString();
    s.enabled = isEnabled();
    s.visible = !isHidden();
    // The covered flag is stored with a timer-driven item's options; the
    // timer repaint mark only lives while a repaint runs.
    if (m_covered)
        s.tag |= kTagCovered;
    s.tag &= ~kTagTimerRepaint;
    s.popupMenu = menuReference;
    if (s.parentFont)
        s.font = FontState {};
    s.glyphBmp.clear();
    if (!m_glyph.isNull())
        s.glyphBmp = encodeGlyph(m_glyph);
    return s;
}

void TSpButton::fromState(const SpButtonState& state)
{
    m_d = state;
    m_d.glyphBmp.clear();
    // Where these bits are runtime state, a file may still hold them as they
    // were when it was written.
    const tolm::items::ItemKind& itemKind = kind();
    m_covered = itemKind.isTimerDriven() && (m_d.tag & kTagCovered);
    m_timerRepaint = itemKind.isTile() && (m_d.tag & kTagTimerRepaint);
    if (m_covered)
        m_d.tag &= ~kTagCovered;
    if (m_timerRepaint)
        m_d.tag &= ~kTagTimerRepaint;
    setText(QString::fromStdString(state.caption));
    setGeometry(
        shownPosition(state.left), shownPosition(state.top), shownSide(state.width), shownSide(state.height));
    setEnabled(state.enabled);
    setVisible(state.visible);
    m_glyph = state.glyphBmp.empty() ? QImage() : decodeGlyph(state.glyphBmp);
    update();
}

bool TSpButton::event(QEvent* event)
{
    if (event->type() == QEvent::Polish) {
        const bool handled = QAbstractButton::event(event);
        // The item draws every pixel itself. Without this a repaint of the
        // item would paint the window under it first, and the window's paint
        // asks every timer-driven item for a full redraw. The style's polish
        // clears the attribute for buttons, so it is set after it.
        setAttribute(Qt::WA_OpaquePaintEvent);
        return handled;
    }
    // Hints are shown by the program's own hint window, not Qt's tooltip,
    // and stay up while the pointer rests on the item.
    if (event->type() == QEvent::ToolTip) {
        if (!m_d.hint.empty() && m_d.showHint && ShelfState::exists()) {
            const QPoint at = QCursor::pos() + QPoint(0, 20);
            ShelfState::get().hintWindow().activateHint(QRect(at, QSize(1, 1)), Hint());
        }
        return true;
    }
    // A caption made for a paint that never came is made again when shown.
    if (event->type() == QEvent::Hide)
        m_textFresh = false;
    if (event->type() == QEvent::Leave || event->type() == QEvent::Hide)
        if (ShelfState::exists())
            ShelfState::get().hideHint();
    return QAbstractButton::event(event);
}

void TSpButton::changeEvent(QEvent* event)
{
    // A cut folder turns grey and back; its surface is drawn anew.
    if (event->type() == QEvent::EnabledChange)
        update();
    // A tile's picture is drawn on the palette's button face: a new palette
    // draws it anew rather than from the last one kept.
    if (event->type() == QEvent::PaletteChange && kind().isTile()) {
        markDrawWhole();
        update();
    }
    if (event->type() == QEvent::LanguageChange)
        m_labelMayChange = true;
    QAbstractButton::changeEvent(event);
}

QString TSpButton::accessibleLabel() const
{
    return kind().accessibleLabel(*this);
}

void TSpButton::setLiveFigure(const QString& figure)
{
    if (figure == m_liveFigure)
        return;
    m_liveFigure = figure;
    m_labelMayChange = true;
}

void TSpButton::announceLabelChange()
{
    // The label is made of the kind's name and the live figure; it is made
    // again only when one of them changed.
    if (!m_labelMayChange)
        return;
    m_labelMayChange = false;
    const QString label = accessibleLabel();
    if (label == m_announcedLabel)
        return;
    m_announcedLabel = label;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    tolm::items::announce(event);
}
