#pragma once

#include <QWidget>

namespace tolm::items {

// The program's one hint window: light yellow, "Courier New", shown without
// taking the focus for as long as the pointer rests on the item.
class HintWindow : public QWidget {
    Q_OBJECT
public:
    // Made once, on first use, by ShelfState::hintWindow().
    HintWindow();

    // Places the hint for rectangle `r` (screen coordinates), keeping it on
    // a screen of `screen` size; `pointerY` is where the mouse is.
    static QRect placement(const QRect& r, const QSize& hintSize, const QSize& screen, int pointerY);
    void activateHint(const QRect& r, const QString& text);
    const QString& text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace tolm::items
