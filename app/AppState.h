#pragma once

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QTime>
#include <memory>

class TPrincipal;
class TSpButton;

// The state every shelf window and item shares. One instance lives as long
// as the application (main() or a test fixture creates it); `state()` finds it.
class AppState {
public:
    AppState();
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    static AppState& get(); // asserts that an instance exists
    static bool exists();

    QPointer<TPrincipal> mainWindow;
    // Null entries are windows destroyed behind our back; every use tests
    // membership first (`isOpen`).
    QList<QPointer<TPrincipal>> openFolderWindows;
    // Every clock, drive and memory item of every window, plus the working
    // copy of the properties dialog while it is open.
    QList<QPointer<TSpButton>> timerItems;
    QPointer<TSpButton> currentItem;
    // The properties dialog's live copy of the item it edits, while it is open.
    QPointer<TSpButton> workingCopy;
    QPointer<TSpButton> hoveredItem;
    QPoint pressPoint;
    QPoint grabPoint;
    bool dragging { false };
    QSize dragClientSize;
    // Client origin offset from the window origin, and the non-client size;
    // captured once when the main window is created.
    int frameDx { 0 }, frameDy { 0 }, frameNw { 0 }, frameNh { 0 };
    int hour { 0 }, minute { 0 }, second { 0 };

    // The item waiting to be pasted. An ordinary item here is detached and
    // owned by the buffer; a cut folder stays a (disabled) child of its window.
    TSpButton* cutBuffer() const;
    void setCutBuffer(TSpButton* item, bool owned);
    TSpButton* takeCutBuffer();
    bool cutBufferOwned() const { return m_cutOwned; }

    bool isOpen(const TPrincipal* window) const;
    void addTimerItem(TSpButton* item);
    void removeTimerItem(TSpButton* item);

private:
    QPointer<TSpButton> m_cut;
    bool m_cutOwned { false };
};
