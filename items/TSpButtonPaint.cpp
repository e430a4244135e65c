// How an item looks. Launchers and folders are speed buttons with a picture
// and a caption; timer-driven kinds have a flat bevelled face.
#include "app/AppState.h"
#include "app/TPrincipal.h"
#include "gfx/Color.h"
#include "items/TSpButton.h"

#include <QFileInfo>
#include <QPainter>

using tolm::store::ButtonLayout;
using tolm::store::Clase;

namespace {

QFont qtFont(const tolm::store::FontState& font)
{
    QFont f(QString::fromStdString(font.name));
    // A negative height is the character height in pixels, a positive one the cell height.
    f.setPixelSize(std::max(1, font.height < 0 ? -font.height : font.height * 4 / 5));
    f.setBold(font.style & 1);
    f.setItalic(font.style & 2);
    f.setUnderline(font.style & 4);
    f.setStrikeOut(font.style & 8);
    return f;
}

} // namespace

void TSpButton::paintEvent(QPaintEvent*)
{
    using namespace tolm::gfx;
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const bool pressed = isDown();
    painter.fillRect(rect(), toQColor(clBtnFace));

    const TPrincipal* window = shelfWindow();
    const AppState& state = AppState::get();
    const bool hovered = state.hoveredItem == this;
    const bool framed = !window || window->alwaysButtons() || hovered || clase() >= Clase::Reloj;
    if (framed) {
        const QColor light = toQColor(pressed ? clBlack : clWhite);
        const QColor dark = toQColor(pressed ? clWhite : clBlack);
        painter.setPen(light);
        painter.drawLine(0, h - 2, 0, 0);
        painter.drawLine(0, 0, w - 2, 0);
        painter.setPen(dark);
        painter.drawLine(w - 1, 0, w - 1, h - 1);
        painter.drawLine(0, h - 1, w - 1, h - 1);
        painter.setPen(toQColor(clBtnShadow));
        painter.drawLine(1, h - 2, w - 2, h - 2);
        painter.drawLine(w - 2, h - 2, w - 2, 1);
    }

    const tolm::store::FontState font = effectiveFont();
    painter.setFont(qtFont(font));
    painter.setPen(toQColor(static_cast<Color>(font.color)));
    const int shift = pressed ? 1 : 0;
    QRect textRect = rect().adjusted(2, 2, -2, -2).translated(shift, shift);
    if (!m_glyph.isNull()) {
        const int margin = std::max(0, m_d.margin);
        if (m_d.layout == ButtonLayout::GlyphTop) {
            const QPoint at((w - m_glyph.width()) / 2 + shift, margin + shift);
            painter.drawImage(at, m_glyph);
            textRect.setTop(at.y() + m_glyph.height() + m_d.spacing);
        } else {
            const QPoint at(margin + shift, (h - m_glyph.height()) / 2 + shift);
            painter.drawImage(at, m_glyph);
            textRect.setLeft(at.x() + m_glyph.width() + m_d.spacing);
        }
    }
    const QString caption = clase() >= Clase::Reloj && !(m_d.tag & kTagTextClock) ? Comando() : text();
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, caption);

    if (window && window->alwaysButtons() && hovered) {
        painter.setPen(toQColor(clHighlight));
        painter.drawRect(QRect(1, 1, w - 3, h - 3));
    }
}

void TSpButton::refreshGlyph()
{
    if (clase() >= Clase::Reloj) {
        m_d.tag1 = -2;
        update();
        return;
    }
    if (m_d.tag1 == 0) {
        if (!m_glyph.isNull()) {
            m_glyph = QImage();
            m_d.margin = -1;
        }
        update();
        return;
    }
    if (m_glyph.isNull())
        m_d.margin = 1;
    update();
}

void TSpButton::setFromFile(const QString& path)
{
    const QFileInfo info(path);
    setComando(path);
    setParam(QString());
    setCaption(info.fileName());
    // The folder without its trailing separator, except the root, which keeps it.
    QString folder = info.path();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    setDirectorio(folder);
    setFichIcono(path);
    setTag(0);
    refreshGlyph();
}
