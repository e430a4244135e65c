#pragma once

#include <QList>
#include <QString>

class QKeyEvent;
class QTimer;
class TPrincipal;
class TSpButton;

namespace tolm::app {

// A shelf window used from the keyboard. The item with the keyboard mark is
// the hovered item: the mouse and the keys move the same mark.
class ShelfKeyboard {
public:
    explicit ShelfKeyboard(TPrincipal& window);

    // The window's visible, enabled items in reading order (rows top to
    // bottom, each left to right).
    QList<TSpButton*> readingOrder() const;
    // The item on the window that carries the mark, if any.
    TSpButton* markedItem() const;
    // Puts the mark on `item` (null clears it) and tells screen readers.
    void markItem(TSpButton* item);

    // A key pressed on the window; false when it means nothing here.
    bool handleKey(QKeyEvent* event);
    // Tab and Shift+Tab: the next or previous item, round the end.
    void focusNext(bool next);
    // The menu key: the marked item's menu, else the window menu.
    void openMenuByKey();

    // The typed prefix is forgotten after this pause.
    static constexpr int kTypeAheadPauseMs = 1000;

private:
    void activateByKey(TSpButton* item);
    void moveMark(int key);
    void typeAhead(const QString& text);

    TPrincipal& m_window;
    QString m_typed;
    QTimer* m_typeAheadReset { nullptr };
};

} // namespace tolm::app
