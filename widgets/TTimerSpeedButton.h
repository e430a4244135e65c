#pragma once

#include <QImage>
#include <QWidget>

class QTimer;

// A flat push button that repeats its click while it is held: one click 400 ms
// after the press, then one every 100 ms while the pointer stays on it, and
// the ordinary click when the mouse is released over it.
class TTimerSpeedButton : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFirstDelay = 400;
    static constexpr int kRepeatInterval = 100;

    explicit TTimerSpeedButton(QWidget* parent = nullptr);

    // The glyph's bottom-left pixel gives its transparent colour.
    void setGlyph(const QImage& glyph);
    QImage glyph() const { return m_glyph; }

    bool autoRepeat() const { return m_autoRepeat; }
    void setAutoRepeat(bool on) { m_autoRepeat = on; }
    bool focusFrame() const { return m_focusFrame; }
    void setFocusFrame(bool on);

    // Shown pressed: the mouse is held on the button and the pointer is over it.
    bool isShownPressed() const { return m_held && m_pointerInside; }
    QTimer* repeatTimer() const { return m_timer; }

signals:
    void Click();
    void mouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TimerExpired();
    void raiseClick();

    QImage m_glyph;
    QTimer* m_timer { nullptr };
    bool m_focusFrame { false };
    bool m_autoRepeat { false };
    bool m_held { false };
    bool m_pointerInside { false };
};
