// How an item looks. Launchers and folders are speed buttons with a picture
// and a caption; timer-driven kinds have a flat bevelled face with their own
// picture. Everything is drawn on the item's surface, which keeps the last
// full picture so that a timer refresh redraws only what changed.
#include "gfx/Canvas.h"
#include "items/ItemFont.h"
#include "items/ItemHost.h"
#include "items/ItemIcons.h"
#include "items/ItemKind.h"
#include "items/Log.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

using tolm::gfx::Canvas;
using tolm::gfx::Color;
using tolm::gfx::Rect;
using tolm::store::ButtonLayout;
using namespace tolm::gfx;

namespace {

constexpr int kMaxLayoutPart = 1'000'000;

// The raised frame: white outer top and left, black outer bottom and right,
// button shadow inside the bottom and right. Lines leave out their end point.
void raisedBevel(Canvas& c, int w, int h)
{
    c.setPen(clWhite);
    c.moveTo(0, h - 2);
    c.lineTo(0, 0);
    c.lineTo(w - 1, 0);
    c.setPen(clBlack);
    c.lineTo(w - 1, h - 1);
    c.lineTo(-1, h - 1);
    c.setPen(clBtnShadow);
    c.moveTo(1, h - 2);
    c.lineTo(w - 2, h - 2);
    c.lineTo(w - 2, 0);
}

void pressedBevel(Canvas& c, int w, int h)
{
    c.setPen(clBlack);
    c.moveTo(0, h - 1);
    c.lineTo(0, 0);
    c.lineTo(w, 0);
    c.setPen(clBtnShadow);
    c.moveTo(1, h - 2);
    c.lineTo(1, 1);
    c.lineTo(w - 1, 1);
    c.setPen(clWhite);
    c.moveTo(w - 1, 1);
    c.lineTo(w - 1, h - 1);
    c.lineTo(-1, h - 1);
}

// A disabled item's picture: every colour turned to its grey, lightened
// towards the face so that it reads as unavailable; the transparent colour
// (the bottom-left pixel, or no alpha in a picture that has it) stays as it is.
QImage greyed(const QImage& glyph)
{
    const bool alpha = glyph.hasAlphaChannel();
    QImage out = glyph.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const QRgb key = out.pixel(0, out.height() - 1) & 0x00FFFFFFu;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (alpha ? qAlpha(line[x]) == 0 : (line[x] & 0x00FFFFFFu) == key)
                continue;
            const int grey = 96 + qGray(line[x]) * 144 / 255;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return out;
}

Color fontColor(const tolm::store::FontState& font)
{
    return static_cast<Color>(static_cast<std::uint32_t>(font.color));
}

} // namespace

namespace {

// What the timer's in-place refresh may change: everything inside the outer
// bevel line. A paint asked for by anything else covers the whole item.
QRect insideBevel(const QSize& size)
{
    return QRect(1, 1, size.width() - 2, size.height() - 2);
}

// The device painted on knows the pixel ratio: the screen's, or that of an
// image the item is rendered into.
qreal paintRatio(QPainter& painter, const QWidget& widget)
{
    const QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    return device ? device->devicePixelRatioF() : widget.devicePixelRatioF();
}

// The tiles of a shelf shown as text only (a row of text clocks) mostly look
// alike: a tick gives them all the same caption. Such a face is drawn once
// and copied to the others; everything it is drawn from is its key.
struct TextFaceKey {
    QSize size;
    tolm::store::FontState font;
    QString caption;
    int margin { 0 };
    ButtonLayout layout { ButtonLayout::GlyphLeft };
    bool pressed { false };
    bool enabled { true };
    // No window; flat; flat under the pointer; buttons; buttons under the pointer.
    int overlay { 0 };
    qint64 palette { 0 };
    bool operator==(const TextFaceKey&) const = default;
};

struct TextFace {
    TextFaceKey key;
    QImage image;
};

// A few, for the captions of the last ticks and of tiles in other fonts.
std::array<TextFace, 4> s_textFaces;
std::size_t s_nextTextFace = 0;

} // namespace

void TSpButton::refreshInPlace()
{
    if (!isVisible() || !updatesEnabled())
        return;
    if (!kind().isTile() || !pictureCurrent() || m_surface.size() != size()) {
        m_timerRepaint = true;
        repaint();
        m_timerRepaint = false;
        return;
    }
    // Writing to the surface changes its key: a picture that did not change
    // is not painted again.
    const qint64 shown = m_surface.cacheKey();
    try {
        kind().drawPicture(*this);
    } catch (const std::exception& error) {
        markDrawWhole();
        qCWarning(lcItems, "an item could not be drawn: %s", error.what());
    }
    // (A screen of a finer density shows the picture drawn again from the
    // reading, which may have changed all the same.)
    if (m_surface.cacheKey() == shown && pictureCurrent() && devicePixelRatioF() <= 1)
        return;
    // Only the surface needs to reach the screen; asking for a paint rather
    // than painting now lets all items of a tick go out in one flush.
    m_pictureWaits = true;
    update(insideBevel(size()));
}

void TSpButton::refreshText()
{
    if (!isVisible() || !updatesEnabled())
        return;
    // A caption that changed asks for its paint itself; one that did not
    // leaves the screen as it is.
    const QString shown = text();
    kind().drawText(*this);
    if (text() != shown)
        m_textFresh = true;
}

void TSpButton::paintEvent(QPaintEvent* event)
{
    // The surface already holds what the timer drew; any other paint that
    // joined it makes the region larger and the item is painted whole.
    const bool drawn = m_pictureWaits && m_surface.size() == size()
        && insideBevel(size()).contains(event->region().boundingRect());
    m_pictureWaits = false;
    if (drawn) {
        QPainter painter(this);
        painter.drawImage(event->rect(), m_surface, event->rect());
        paintSharpPicture(painter);
        return;
    }
    const bool inPlace = kind().isTile() && m_timerRepaint && pictureCurrent() && m_surface.size() == size();
    // Nothing may escape a paint into Qt's event loop: a drive or a memory
    // figure that cannot be read this time leaves the picture as it was,
    // and the next refresh tries again.
    try {
        if (inPlace) {
            m_timerRepaint = false;
            kind().drawPicture(*this);
        } else {
            paintWhole();
        }
    } catch (const std::exception& error) {
        markDrawWhole();
        qCWarning(lcItems, "an item could not be drawn: %s", error.what());
    }
    if (m_surface.size() != size()) {
        m_surface = QImage(size(), QImage::Format_RGB32);
        m_surface.fill(toQRgb(clBtnFace));
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_surface);
    paintIconFromSource(painter);
    paintSharpPicture(painter);
}

bool TSpButton::drawsIconFromSource()
{
    // Only a launcher's standard picture has the icon where the source goes;
    // any other stored glyph is shown as it is.
    const QSize standard = isSmall() ? QSize(18, 17) : QSize(36, 36);
    if (!isLauncher() || m_glyph.isNull() || m_glyph.size() != standard)
        return false;
    IconSource& s = m_iconSource;
    const QString theme = QIcon::themeName();
    if (!s.resolved || s.file != m_d.fichIcono || s.index != iconIndex() || s.command != m_d.comando
        || s.theme != theme) {
        s.file = m_d.fichIcono;
        s.index = iconIndex();
        s.command = m_d.comando;
        s.theme = theme;
        s.resolved = true;
        s.icon = tolm::items::launcherIconSource(FichIcono(), iconIndex(), Comando());
        s.pixmap = QPixmap();
    }
    return !s.icon.isNull();
}

void TSpButton::paintIconFromSource(QPainter& painter)
{
    if (m_sourceIconRect.isEmpty() || m_iconSource.icon.isNull())
        return;
    const qreal ratio = paintRatio(painter, *this);
    IconSource& s = m_iconSource;
    if (s.pixmap.isNull() || s.pixmapSize != m_sourceIconRect.size()
        || !qFuzzyCompare(s.pixmapRatio, ratio)) {
        s.pixmap = s.icon.pixmap(m_sourceIconRect.size(), ratio);
        s.pixmap.setDevicePixelRatio(ratio);
        s.pixmapSize = m_sourceIconRect.size();
        s.pixmapRatio = ratio;
    }
    // A source without a picture this large gives a smaller one.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(m_sourceIconRect, s.pixmap);
}

void TSpButton::paintSharpPicture(QPainter& painter)
{
    const qreal ratio = paintRatio(painter, *this);
    if (m_sharpPictureRect.isEmpty() || ratio <= 1)
        return;
    QImage picture = kind().sharpPicture(*this, ratio);
    if (picture.isNull())
        return;
    if (!isEnabled())
        picture = greyed(picture);
    // A picture made for another density is brought to its size smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(m_sharpPictureRect.topLeft(), picture.deviceIndependentSize()), picture);
}

void TSpButton::runPicture()
{
    if (m_surface.size() != size()) {
        m_surface = QImage(size(), QImage::Format_RGB32);
        m_surface.fill(toQRgb(clBtnFace));
    }
    try {
        kind().drawPicture(*this);
    } catch (const std::exception& error) {
        markDrawWhole();
        qCWarning(lcItems, "an item could not be drawn: %s", error.what());
    }
    update();
}

void TSpButton::paintWhole()
{
    m_sourceIconRect = QRect();
    m_sharpPictureRect = QRect();
    if (m_surface.size() != size())
        m_surface = QImage(size(), QImage::Format_RGB32);
    const int w = width();
    const int h = height();

    const tolm::items::ItemKind& itemKind = kind();
    if (!itemKind.isTile()) {
        paintButtonFace();
    } else if (showsTextOnly()) {
        markDrawWhole();
        // The tick that changed the caption made its texts a moment ago.
        if (!std::exchange(m_textFresh, false))
            itemKind.drawText(*this);
        if (m_glyph.isNull()) {
            paintTextFace();
            return;
        }
        paintButtonFace();
    } else {
        {
            Canvas c(m_surface);
            raisedBevel(c, w, h);
            c.fillRect({ 1, 1, w - 2, h - 2 }, clBtnFace);
        }
        itemKind.drawTile(*this);
        const int x = isSmall() ? 1 : Layout() == ButtonLayout::GlyphTop ? (w - 36) / 2 : 2;
        m_sharpPictureRect = isSmall() ? QRect(x, 1, 17, 17) : QRect(x, 2, 36, 36);
    }
    paintOverlay();
}

void TSpButton::paintTextFace()
{
    const tolm::items::ItemHost* window = host();
    const bool hovered = ShelfState::exists() && ShelfState::get().hoveredItem == this;
    const int overlay = !window ? 0 : (window->alwaysButtons() ? 3 : 1) + (hovered ? 1 : 0);
    TextFaceKey key { size(), effectiveFont(), text(), m_d.margin, m_d.layout, isDown(), isEnabled(), overlay,
        QGuiApplication::palette().cacheKey() };
    const auto copyFace = [](const QImage& from, QImage& to) {
        std::memcpy(to.bits(), from.constBits(), std::size_t(from.sizeInBytes()));
    };
    for (const TextFace& face : s_textFaces) {
        if (face.key == key && face.image.size() == m_surface.size()
            && face.image.format() == m_surface.format()) {
            copyFace(face.image, m_surface);
            return;
        }
    }
    paintButtonFace();
    paintOverlay();
    TextFace& face = s_textFaces[s_nextTextFace];
    s_nextTextFace = (s_nextTextFace + 1) % s_textFaces.size();
    if (face.image.size() != m_surface.size() || face.image.format() != m_surface.format())
        face.image = QImage(m_surface.size(), m_surface.format());
    copyFace(m_surface, face.image);
    face.key = std::move(key);
}

void TSpButton::paintButtonFace()
{
    Canvas c(m_surface);
    const int w = width();
    const int h = height();
    const bool pressed = isDown();
    c.fillRect({ 0, 0, w, h }, clBtnFace);
    if (pressed)
        pressedBevel(c, w, h);
    else
        raisedBevel(c, w, h);

    const tolm::store::FontState fontState = effectiveFont();
    const QFont font = tolm::items::qtFont(fontState);
    const QString caption = text();
    // Stored margins and spacings can be any 32-bit figure, and a long caption
    // or a wide glyph is wide too. Each part of the layout is brought within a
    // million pixels, so the sums below cannot overflow and every position
    // stays far beyond any item, where nothing is drawn.
    auto bounded = [](int v) { return std::clamp(v, -kMaxLayoutPart, kMaxLayoutPart); };
    const int tw = caption.isEmpty() ? 0 : bounded(Canvas::textWidth(font, caption));
    const int th = bounded(Canvas::textHeight(font));
    const int gw = m_glyph.isNull() ? 0 : bounded(m_glyph.width());
    const int gh = m_glyph.isNull() ? 0 : bounded(m_glyph.height());
    const int spacing = gw > 0 && tw > 0 ? bounded(m_d.spacing) : 0;
    const int margin = m_d.margin == -1 ? -1 : bounded(m_d.margin);
    const int shift = pressed ? 1 : 0;

    int gx = 0, gy = 0, tx = 0, ty = 0;
    if (m_d.layout == ButtonLayout::GlyphTop) {
        gy = margin == -1 ? (h - (gh + spacing + th) + 1) / 2 : margin;
        gx = (w - gw + 1) / 2;
        ty = gy + gh + spacing;
        tx = (w - tw + 1) / 2;
    } else {
        gx = margin == -1 ? (w - (gw + spacing + tw) + 1) / 2 : margin;
        gy = (h - gh + 1) / 2;
        tx = gx + gw + spacing;
        ty = (h - th + 1) / 2;
    }
    if (gw > 0 && drawsIconFromSource()) {
        c.drawTransparent(gx + shift, gy + shift, tolm::items::launcherBackground(isSmall()));
        m_sourceIconRect = tolm::items::launcherIconRect(isSmall()).translated(gx + shift, gy + shift);
    } else if (gw > 0) {
        // The key colour is taken from the glyph itself, so a greyed copy
        // keeps the same transparent pixels.
        const QRgb key = m_glyph.pixel(0, m_glyph.height() - 1);
        c.drawTransparent(gx + shift, gy + shift, isEnabled() ? m_glyph : greyed(m_glyph), key);
        m_sharpPictureRect = QRect(gx + shift, gy + shift, gw, gh);
    }
    if (tw > 0) {
        c.setFont(font);
        c.setTextColor(isEnabled() ? fontColor(fontState) : clGrayText);
        c.setBrushClear();
        c.textRect({ 2, 2, w - 2, h - 2 }, tx + shift, ty + shift, caption);
        c.setBrush(clBtnFace);
    }
}

void TSpButton::paintOverlay()
{
    // The properties dialog's sample item is drawn without any of this.
    const tolm::items::ItemHost* window = host();
    if (!window)
        return;
    const int w = width();
    const int h = height();
    const bool hovered = ShelfState::exists() && ShelfState::get().hoveredItem == this;
    Canvas c(m_surface);
    if (window->alwaysButtons()) {
        if (hovered) {
            // The mark goes around the text, leaving the picture out.
            Rect r { 1, 1, w - 2, h - 2 };
            const bool picture = kind().isTile() ? !showsTextOnly() : showsIcon();
            if (picture) {
                if (h > 40)
                    r.top = 40;
                else if (h == 20)
                    r.left = 20;
                else if (w > 40)
                    r.left = 40;
            }
            c.frameRect(r, clHighlight);
        }
    } else if (!hovered) {
        // Flat look: the frame is traced over with a wide pen in the face colour.
        c.setPen(clBtnFace, 3);
        c.moveTo(0, h - 2);
        c.lineTo(0, 0);
        c.lineTo(w - 1, 0);
        c.lineTo(w - 1, h - 1);
        c.lineTo(-1, h - 1);
        c.moveTo(1, h - 2);
        c.lineTo(w - 2, h - 2);
        c.lineTo(w - 2, 0);
    }
    c.setBrush(clBtnFace);
}

void TSpButton::drawItemText()
{
    // Nothing is on the screen yet; the first full paint writes the text.
    if (m_surface.size() != size())
        return;
    Canvas c(m_surface);
    const tolm::store::FontState fontState = effectiveFont();
    c.setFont(tolm::items::qtFont(fontState));
    c.setTextColor(fontColor(fontState));
    c.setBrush(clBtnFace);
    const QString text = Comando();
    const int w = width();
    const int h = height();
    const int tw = c.textWidth(text);
    const int th = c.textHeight(text);
    if (m_d.layout == ButtonLayout::GlyphTop) {
        const int x = tw > w - 4 ? 2 : (w - tw) / 2;
        const int y = th > 16 ? 41 : 41 + (16 - th) / 2;
        c.textRect({ 2, 41, w - 3, h - 3 }, x, y, text);
    } else {
        const int y = th > h - 4 ? 2 : (h - th) / 2;
        c.textRect({ h + 1, 2, w - 3, h - 3 }, h + 1, y, text);
    }
}

void TSpButton::refreshGlyph()
{
    const tolm::items::ItemKind& itemKind = kind();
    if (itemKind.isTile()) {
        markSourceChanged();
        update();
        return;
    }
    if (!showsIcon()) {
        if (!m_glyph.isNull()) {
            m_glyph = QImage();
            m_d.margin = -1;
        }
        update();
        return;
    }
    if (m_glyph.isNull())
        m_d.margin = 1;
    m_glyph = itemKind.buttonGlyph(*this);
    update();
}

void TSpButton::setFromFile(const QString& path)
{
    setComando(path);
    setParam(QString());
    setCaption(tolm::items::captionForFile(path));
    setDirectorio(tolm::items::startFolderForFile(path));
    const tolm::platform::AssociatedIcon found = tolm::platform::services().icons->associatedIcon(path);
    setIconIndex(found.index);
    setFichIcono(found.file.isEmpty() ? path : found.file);
    refreshGlyph();
}

void TSpButton::placePicture(const QImage& picture)
{
    Canvas canvas(m_surface);
    const bool onTop = Layout() == ButtonLayout::GlyphTop;
    if (isSmall())
        canvas.draw(1, 1, picture);
    else if (!pictureCurrent() || onTop)
        canvas.draw(onTop ? (width() - 36) / 2 : 2, 2, picture);
    else
        // The bevel around the picture is already on the surface.
        canvas.bitBlt(3, 3, 33, 33, picture, 1, 1);
}
