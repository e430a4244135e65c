#include "widgets/TTimerSpeedButton.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <qdrawutil.h>

TTimerSpeedButton::TTimerSpeedButton(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTimerSpeedButton::setGlyph(const QImage& glyph)
{
    m_glyph = glyph;
    update();
}

void TTimerSpeedButton::setFocusFrame(bool on)
{
    if (m_focusFrame == on)
        return;
    m_focusFrame = on;
    update();
}

void TTimerSpeedButton::raiseClick()
{
    emit Click();
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent* event)
{
    // Only the left button presses the face; any button starts the timer.
    if (event->button() == Qt::LeftButton && isEnabled()) {
        m_held = true;
        m_pointerInside = true;
        update();
    }
    emit mouseDown(event->button());
    if (m_autoRepeat) {
        if (!m_timer) {
            m_timer = new QTimer(this);
            m_timer->setTimerType(Qt::PreciseTimer);
            connect(m_timer, &QTimer::timeout, this, &TTimerSpeedButton::TimerExpired);
        }
        m_timer->setInterval(kFirstDelay);
        m_timer->start();
    }
}

void TTimerSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_held)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_pointerInside) {
        m_pointerInside = inside;
        update();
    }
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = event->button() == Qt::LeftButton && isShownPressed();
    if (event->button() == Qt::LeftButton) {
        m_held = false;
        m_pointerInside = false;
        update();
    }
    if (m_timer)
        m_timer->stop();
    if (click)
        raiseClick();
}

void TTimerSpeedButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_held = false;
        if (m_timer)
            m_timer->stop();
    }
    QWidget::changeEvent(event);
}

void TTimerSpeedButton::TimerExpired()
{
    m_timer->setInterval(kRepeatInterval);
    // Qt grabs the mouse for the widget that took the press until its release,
    // so being held means holding the capture.
    if (!isShownPressed())
        return;
    try {
        raiseClick();
    } catch (...) {
        m_timer->stop();
        throw;
    }
}

void TTimerSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const bool down = isShownPressed();
    p.fillRect(r, palette().color(QPalette::Button));
    qDrawWinButton(&p, r, palette(), down);
    if (!m_glyph.isNull()) {
        QPixmap pm = QPixmap::fromImage(m_glyph);
        const QRgb transparent = m_glyph.pixel(0, m_glyph.height() - 1);
        pm.setMask(QBitmap::fromImage(m_glyph.createMaskFromColor(transparent, Qt::MaskInColor)));
        int x = (r.width() - m_glyph.width()) / 2;
        int y = (r.height() - m_glyph.height()) / 2;
        if (down) {
            ++x;
            ++y;
        }
        if (!isEnabled()) {
            // A disabled glyph is drawn embossed in the shadow colours.
            QPixmap shade(pm.size());
            shade.fill(palette().color(QPalette::Light));
            shade.setMask(pm.mask());
            p.drawPixmap(x + 1, y + 1, shade);
            shade.fill(palette().color(QPalette::Mid));
            shade.setMask(pm.mask());
            p.drawPixmap(x, y, shade);
        } else {
            p.drawPixmap(x, y, pm);
        }
    }
    if (m_focusFrame) {
        QRect f = r.adjusted(3, 3, -3, -3);
        if (down)
            f.translate(1, 1);
        p.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        p.drawRect(f.adjusted(0, 0, -1, -1));
    }
}
