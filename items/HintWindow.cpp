#include "items/HintWindow.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace tolm::items {

HintWindow::HintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    setFont(font);
}

QRect HintWindow::placement(const QRect& r, const QSize& hintSize, const QSize& screen, int pointerY)
{
    int left = r.left();
    int top = r.top();
    if (screen.height() < r.top() + hintSize.height())
        top = pointerY - hintSize.height() - 4;
    if (screen.width() < r.left() + hintSize.width())
        left = screen.width() - hintSize.width();
    if (r.left() < 0)
        left = 0;
    if (r.top() < 0)
        top = 0;
    return QRect(QPoint(left, top), hintSize);
}

void HintWindow::activateHint(const QRect& r, const QString& text)
{
    m_text = text;
    const QFontMetrics metrics(font());
    const QSize size = metrics.size(0, text) + QSize(8, 4);
    QSize screen(1024, 768);
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screen = primary->geometry().size();
    setGeometry(placement(r, size, screen, QCursor::pos().y()));
    show();
}

void HintWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // 0x80FFFF is a light yellow in the stored blue-green-red order.
    painter.fillRect(rect(), QColor(0xFF, 0xFF, 0x80));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

} // namespace tolm::items
