#include "widgets/TCSpinButton.h"

#include "gfx/Bitmaps.h"
#include "widgets/TTimerSpeedButton.h"

#include <QKeyEvent>

TCSpinButton::TCSpinButton(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setMinimumWidth(kMinWidth);
    m_upButton = new TTimerSpeedButton(this);
    m_downButton = new TTimerSpeedButton(this);
    for (TTimerSpeedButton* b : { m_upButton, m_downButton }) {
        b->setAutoRepeat(true);
        connect(
            b, &TTimerSpeedButton::mouseDown, this, [this, b](Qt::MouseButton mb) { BtnMouseDown(b, mb); });
        connect(b, &TTimerSpeedButton::Click, this, [this, b] { BtnClick(b); });
    }
    SetUpGlyph({});
    SetDownGlyph({});
    m_focusedButton = m_upButton;
    resize(20, 25);
    AdjustSize(size());
}

QImage TCSpinButton::builtInGlyph(bool up)
{
    const QImage stored = tolm::gfx::bitmap(up ? "SpinUp" : "SpinDown");
    if (!stored.isNull())
        return stored;
    // Drawn here while the resources do not carry the arrows.
    QImage img(9, 6, QImage::Format_RGB32);
    img.fill(qRgb(128, 128, 0));
    // A triangle with a 7-pixel base and 4 rows, on rows 1..4.
    for (int i = 0; i < 4; ++i) {
        const int y = up ? 1 + i : 4 - i;
        for (int x = 4 - i; x <= 4 + i; ++x)
            img.setPixel(x, y, qRgb(0, 0, 0));
    }
    return img;
}

QImage TCSpinButton::UpGlyph() const
{
    return m_upButton->glyph();
}

void TCSpinButton::SetUpGlyph(const QImage& glyph)
{
    m_upButton->setGlyph(glyph.isNull() ? builtInGlyph(true) : glyph);
}

QImage TCSpinButton::DownGlyph() const
{
    return m_downButton->glyph();
}

void TCSpinButton::SetDownGlyph(const QImage& glyph)
{
    m_downButton->setGlyph(glyph.isNull() ? builtInGlyph(false) : glyph);
}

void TCSpinButton::SetTabStop(bool on)
{
    m_tabStop = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

QSize TCSpinButton::AdjustSize(QSize size)
{
    if (!m_upButton)
        return size;
    if (size.width() < kMinWidth)
        size.setWidth(kMinWidth);
    const int upHeight = size.height() / 2;
    m_upButton->setGeometry(0, 0, size.width(), upHeight);
    // The down button starts on the up button's last row so that the two
    // share one line of their frames.
    m_downButton->setGeometry(0, upHeight - 1, size.width(), size.height() - upHeight + 1);
    return size;
}

void TCSpinButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize adjusted = AdjustSize(size());
    if (adjusted != size())
        resize(adjusted);
}

bool TCSpinButton::canTakeFocus() const
{
    return isEnabled() && isVisible();
}

void TCSpinButton::SetFocusBtn(TTimerSpeedButton* button)
{
    if (!m_tabStop || !canTakeFocus() || button == m_focusedButton)
        return;
    m_focusedButton->setFocusFrame(false);
    m_focusedButton = button;
    if (hasFocus()) {
        m_focusedButton->setFocusFrame(true);
        update();
    }
}

void TCSpinButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        emit m_focusedButton->Click();
        break;
    case Qt::Key_Up:
        SetFocusBtn(m_upButton);
        emit m_upButton->Click();
        break;
    case Qt::Key_Down:
        SetFocusBtn(m_downButton);
        emit m_downButton->Click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TCSpinButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    m_focusedButton->setFocusFrame(true);
}

void TCSpinButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_focusedButton->setFocusFrame(false);
}

void TCSpinButton::BtnMouseDown(TTimerSpeedButton* sender, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    SetFocusBtn(sender);
    QWidget* fc = m_focusControl;
    if (fc && (fc->focusPolicy() & Qt::TabFocus) && fc->isEnabled() && fc->isVisible() && !fc->hasFocus())
        fc->setFocus(Qt::MouseFocusReason);
    else if (m_tabStop && !hasFocus() && canTakeFocus())
        setFocus(Qt::MouseFocusReason);
}

void TCSpinButton::BtnClick(TTimerSpeedButton* sender)
{
    if (sender == m_upButton)
        emit OnUpClick();
    else
        emit OnDownClick();
}
