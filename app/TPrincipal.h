#pragma once

#include "app/ItemCommands.h"
#include "app/ShelfKeyboard.h"
#include "app/WindowDocument.h"
#include "app/WindowStay.h"
#include "items/ItemHost.h"
#include "items/TickSchedule.h"
#include "store/Components.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QAction;
class QMenu;
class QTimer;
class TSpButton;

namespace tolm::platform {
class ClockChanges;
}

namespace tolm::app {
class AutoSave;
class SaveReport;
class ShelfWatch;
} // namespace tolm::app

// A shelf window: the main window, loaded from "tolm95.dat", or the window of
// a folder item, loaded from the folder's own file. The window shows its
// items and answers the mouse, the keys and its menus; its document keeps
// its options and items in its shelf file, and its item commands change them.
class TPrincipal : public QWidget, public tolm::items::ItemHost {
    Q_OBJECT
public:
    static constexpr const char* kMainFileName = "tolm95.dat";

    // With no folder item this becomes the main window (there is one).
    explicit TPrincipal(TSpButton* folderItem = nullptr);
    ~TPrincipal() override;

    bool isMainWindow() const { return m_isMain; }
    tolm::app::WindowDocument& document() const { return *m_document; }
    tolm::app::ItemCommands& commands() const { return *m_commands; }
    const QString& fileName() const;
    TSpButton* folderItem() const;
    // The window `item` stands on, and the folder window it opened.
    static TPrincipal* windowOf(const TSpButton* item);
    static TPrincipal* folderWindowOf(const TSpButton* item);
    // The items in saved order; destroyed items show up as null entries.
    QList<TSpButton*> items() const override;
    bool hasItemList() const { return m_hasItemList; }

    // Window options, stored in the shelf file.
    bool frameShown() const { return m_frameShown; }
    bool alwaysButtons() const override { return m_alwaysButtons; }
    void setAlwaysButtons(bool on);
    std::uint32_t color() const { return m_color; }
    void setColor(std::uint32_t color);
    const tolm::store::FontState& defaultFont() const override { return m_fontDialog.font; }
    void setDefaultFont(const tolm::store::FontState& font);
    const tolm::store::FontDialogState& fontDialog() const { return m_fontDialog; }
    void setFontDialog(const tolm::store::FontDialogState& fontDialog);
    // The window's bounds with its frame, as the shelf file stores them:
    // always reachable on some screen, and on native Wayland, where the
    // compositor tells no position, at the position the file gave.
    QRect bounds() const;
    void setBounds(const QRect& outer);

    // What the document read from the file: the window's options, then its
    // items, which replace those it had; `itemsLoaded` once both are in.
    void applyStoredOptions(bool frameShown, const QRect& outer, bool alwaysButtons, std::uint32_t color);
    void replaceItems(const std::vector<tolm::store::SpButtonState>& states);
    void itemsLoaded();
    // Quitting with windows that could not be saved asks first, unless the
    // session or a signal ends the program, when no one is there to answer.
    bool askBeforeQuitting() const { return m_askBeforeQuitting; }
    void setAskBeforeQuitting(bool ask) { m_askBeforeQuitting = ask; }
    // The main window's automatic save; null on folder windows.
    tolm::app::AutoSave* autoSave() const { return m_autoSave; }
    // Shows the shelf file as it is on disk now. The open folder windows
    // below are written and closed first; those the file keeps open open
    // again with it. `reloadLater` does it once the current event is done,
    // unless the window is closing or the program quitting by then, and
    // then says `notice`, as `sayLater` does.
    void reloadFromDisk(
        tolm::app::WindowDocument::Failures failures = tolm::app::WindowDocument::Failures::Said);
    void reloadLater(const QString& notice);
    void sayLater(const QString& notice);
    // Takes what changed on the window's file on disk, unless a dialog,
    // menu, box or drag holds the window: then a moment later.
    void takeChangeOnDisk();

    // Closing: the window itself ("Cerrar"), the open folder windows below
    // a window being closed, and the current folder item's window.
    void closeWindow();
    void closeFolderWindowsBelow();
    void closeFolder();

    // Options.
    void toggleFrame();
    void toggleAlwaysButtons();
    void chooseColor();
    void chooseDefaultFont();
    // "Siempre visible" and "En todos los escritorios", remembered for the
    // window's shelf file.
    void toggleKeepAbove();
    void toggleEveryDesktop();
    const tolm::app::WindowStay& stay() const { return m_stay; }
    void openDateTimeSettings();
    void openRegionalSettings();
    void exploreDrive();
    void showAbout();
    // The manual at the section on the marked item, or on the shelf.
    void showHelp();
    // "Iniciar con la sesión": the per-user autostart entry written or removed.
    void toggleStartWithSession();

    // The once-a-second refresh of every timer-driven item (main window only).
    // The timer then sleeps through the ticks that would change nothing.
    void refreshTimerItems();
    // The timer's tick after such a sleep: what the skipped ticks would have
    // done first, then the tick.
    void tickAfterSleep();
    // Does now what the skipped ticks whose seconds have begun would have done.
    void catchUpTicks();
    const tolm::items::TickSchedule& tickSchedule() const { return m_schedule; }

    // Menus.
    QMenu* windowMenu() const { return m_windowMenu; }
    QMenu* menuForClase(int clase) const;
    QMenu* menuHost() const { return m_menuHost; }
    void attachWindowMenu(QMenu* itemMenu);
    QAction* undoAction() const { return m_undoAction; }
    QAction* pasteAction() const { return m_pasteAction; }
    // The identifier a saved item uses for its menu: "Principal.MenuBoton".
    std::string menuReference(int clase) const;

    bool isClosing() const { return m_closing; }
    void setDiscard(bool discard) { m_discard = discard; }
    QTimer* timer() const { return m_timer; }

    // Makes `item` a child of this window with the menu of its kind, and
    // this window the one that answers its requests.
    void adoptItem(TSpButton* item);
    void removeFromItemList(TSpButton* item);
    void appendToItemList(TSpButton* item);
    void setItemOrder(const QList<TSpButton*>& order);
    void moveToEndOfItemList(TSpButton* item) override;

    // Item mouse handling routes window moves here (screen coordinates).
    void windowMouseMove(const QPoint& global, Qt::MouseButtons buttons) override;

    // Opens the folder window of `folder`, or brings it forward.
    void openFolder(TSpButton* folder);

    // Keyboard use; the mark is the hovered item.
    tolm::app::ShelfKeyboard& keyboard() const { return *m_keyboard; }

signals:
    // What a window asks of the application: the dialogs it shows. A folder
    // window passes its requests on to the main window, so connecting the
    // main window's is enough.
    void propertiesRequested(TSpButton* item);
    void calendarRequested();
    void aboutRequested(QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Items coming and going may show or hide the empty window's guidance.
    void childEvent(QChildEvent* event) override;

private:
    // What a window with no item says to do, drawn over its background.
    void paintGuidance(QPainter& painter);
    void setUp();
    // Whether the file of `folder` is there to open, or the user chose to
    // make it afresh; a missing file is said, never made silently.
    bool folderFileFound(TSpButton* folder);
    // A folder window standing exactly over its parent moves a title bar
    // down and to the right, so that both are seen.
    void cascadeFromParent();
    void buildMenus();
    void applyFrame();
    // The window's shelf file as the settings know it.
    QString stayKey() const;
    void keepStay();
    bool closeFolderWindow(tolm::app::SaveReport& report);
    void snapSize();
    void holdClientAt(const QPoint& origin);
    // Where the window stands on the screen: its client area's origin and
    // its frame's corner, from the X server when there is one.
    QPoint clientOrigin() const;
    QPoint frameOrigin() const;
    void startDeferredDelete();
    bool hasOpenFolderWindow() const;
    void watchFile();
    void armTimer();
    void skipTicks(int ticks);
    // Ticks at the next second if the timer sleeps longer.
    void tickNextSecond();

    bool m_isMain { false };
    std::unique_ptr<tolm::app::WindowDocument> m_document;
    std::unique_ptr<tolm::app::ItemCommands> m_commands;
    std::unique_ptr<tolm::app::ShelfKeyboard> m_keyboard;
    QPointer<TSpButton> m_folderItem;
    QList<QPointer<TSpButton>> m_items;
    bool m_hasItemList { false };
    bool m_closing { false };
    bool m_discard { false };
    bool m_alwaysButtons { false };
    bool m_frameShown { true };
    tolm::app::WindowStay m_stay;
    bool m_askBeforeQuitting { true };
    tolm::app::AutoSave* m_autoSave { nullptr };
    tolm::app::ShelfWatch* m_watch { nullptr };
    bool m_snapping { false };
    // A drag moves the window from where it stood when the drag began.
    QPoint m_dragOrigin;
    // The compositor moves the window until the button is released.
    bool m_systemMove { false };
    // Holds the client area in place while the window manager redraws a
    // frame that was switched on or off.
    QTimer* m_holdTimer { nullptr };
    // On native Wayland: the position the file gave, which is saved again.
    QPoint m_storedTopLeft { 668, 170 };
    std::uint32_t m_color { 0x8000000F };
    tolm::store::FontDialogState m_fontDialog;

    QMenu* m_windowMenu { nullptr };
    QMenu* m_launcherMenu { nullptr };
    QMenu* m_folderMenu { nullptr };
    QMenu* m_clockMenu { nullptr };
    QMenu* m_driveMenu { nullptr };
    QMenu* m_memoryMenu { nullptr };
    QMenu* m_menuHost { nullptr };
    QAction* m_keepAboveAction { nullptr };
    QAction* m_everyDesktopAction { nullptr };
    QAction* m_startWithSessionAction { nullptr };
    QAction* m_undoAction { nullptr };
    QAction* m_pasteAction { nullptr };
    QTimer* m_timer { nullptr };
    tolm::items::TickSchedule m_schedule;
    std::unique_ptr<tolm::platform::ClockChanges> m_clockChanges;
};
