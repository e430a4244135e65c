#pragma once

#include "app/ShelfDocument.h"
#include "items/ItemHost.h"
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

namespace tolm::app {
class AutoSave;
class SaveReport;
} // namespace tolm::app
namespace tolm::store {
class SavePoint;
}

// A shelf window: the main window, loaded from "tolm95.dat", or the window of
// a folder item, loaded from the folder's own file. Every window keeps its
// options and items in its shelf file in the current directory.
class TPrincipal : public QWidget, public tolm::items::ItemHost {
    Q_OBJECT
public:
    static constexpr const char* kMainFileName = "tolm95.dat";
    // Qt paints overlapping sibling widgets recursively, about 300 bytes of
    // stack per sibling; with the usual 8 MB stack some 29,000 overlapping
    // items overflow it. A file holding more than a window can safely paint
    // is refused whole and left as it is. 20,000 at most; fewer when the
    // stack limit is smaller.
    static std::size_t maxItems();

    // With no folder item this becomes the main window (there is one).
    explicit TPrincipal(TSpButton* folderItem = nullptr);
    ~TPrincipal() override;

    bool isMainWindow() const { return m_isMain; }
    const QString& fileName() const { return m_document.fileName(); }
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
    // The window's bounds with its frame, as the shelf file stores them:
    // always reachable on some screen, and on native Wayland, where the
    // compositor tells no position, at the position the file gave.
    QRect bounds() const;
    void setBounds(const QRect& outer);

    // Loading and saving. `cargar` creates the file when it is missing;
    // a load that failed (broken or foreign file) keeps the window from ever
    // writing over that file, so nothing the user had is lost.
    void cargar();
    // Writes the window's file now and says a failure in a message box.
    // True when the file holds what the window holds.
    bool salvar();
    // The same, with a failure added to `report` instead. A file that
    // already holds these bytes is left alone; a window that failed to load
    // writes to a recovery file beside its own.
    bool writeFile(tolm::app::SaveReport& report);
    // Whether the window holds work of the user that its file does not:
    // what tiles rewrite on their own every second does not count.
    bool hasUnwrittenChanges();
    bool loadFailed() const { return m_loadFailed; }
    // Whether the last write met an error (a window that failed to load and
    // is left alone on purpose is not one).
    bool saveFailed() const { return m_document.saveFailed(); }
    // The automatic save says a window's failure once, until it is written.
    bool saveFailureSaid() const { return m_document.failureSaid(); }
    void setSaveFailureSaid(bool said) { m_document.setFailureSaid(said); }
    // Saves the main window and every open folder window, each once.
    static void saveEveryWindow(tolm::app::SaveReport& report);
    // Quitting with windows that could not be saved asks first, unless the
    // session or a signal ends the program, when no one is there to answer.
    void setAskBeforeQuitting(bool ask) { m_askBeforeQuitting = ask; }
    const QString& recoveryFileName() const { return m_document.recoveryFileName(); }
    // The main window's automatic save; null on folder windows.
    tolm::app::AutoSave* autoSave() const { return m_autoSave; }
    // Creates the file of a new folder made on this window and returns its name.
    QString newFolderFile();
    void BorrarFichero(const QString& name);

    // Lifecycle.
    void cerrarVentanas();
    void Exit1Click();
    void Guardarconfiguracin1Click();
    void Restaurarconfiguracin1Click();
    void CarpetaCerrarClick();

    // Item commands (the current item and the press point are process-wide).
    TSpButton* Nuevoboton1Click();
    TSpButton* NuevaCarpeta1Click();
    TSpButton* Reloj1Click();
    TSpButton* Memoria1Click();
    TSpButton* Disco1Click();
    void BotonEliminarClick();
    void CarpetaEliminarClick();
    void BotonAbrirClick();
    void BotonPropiedadesClick();
    void BotonCortarClick();
    void BotonCopiarClick();
    void Pegar1Click();
    void Deshacer1Click();
    bool EliminarPaste();
    void Organizarbotones1Click();
    // Files dropped at `point` (client coordinates), in drop order.
    void dropFiles(const QStringList& paths, const QPoint& point);

    // Options.
    void Marcodeventana1Click();
    void Siemprebotones1Click();
    void Colordefondo1Click();
    void Fuente1Click();
    void FechayHora1Click();
    void ConfiguracinRegional1Click();
    void Explorar1Click();
    void Acercade1Click();

    // The once-a-second refresh of every timer-driven item (main window only).
    void Timer1Timer();

    // Menus.
    QMenu* MenuVentana() const { return m_menuVentana; }
    QMenu* menuForClase(int clase) const;
    QMenu* menuHost() const { return m_menuHost; }
    void attachWindowMenu(QMenu* itemMenu);
    QAction* deshacerAction() const { return m_deshacer; }
    QAction* pegarAction() const { return m_pegar; }
    // The identifier a saved item uses for its menu: "Principal.MenuBoton".
    std::string menuReference(int clase) const;

    TSpButton* undoSlot() const { return m_undo.get(); }
    bool isClosing() const { return m_closing; }
    void setDiscard(bool discard) { m_discard = discard; }
    QTimer* timer() const { return m_timer; }

    // Makes `item` a child of this window with the menu of its kind, and
    // this window the one that answers its requests.
    void adoptItem(TSpButton* item);
    void removeFromItemList(TSpButton* item);
    void appendToItemList(TSpButton* item);
    void moveToEndOfItemList(TSpButton* item) override;

    // Item mouse handling routes window moves here (screen coordinates).
    void windowMouseMove(const QPoint& global, Qt::MouseButtons buttons) override;

    // Opens the folder window of `folder`, or brings it forward.
    void openFolder(TSpButton* folder);

    // Keyboard use. The item with the keyboard mark is the hovered item: the
    // mouse and the keys move the same mark. These are the window's
    // visible, enabled items in reading order (rows top to bottom, each left
    // to right).
    QList<TSpButton*> readingOrder() const;
    // The item on this window that carries the mark, if any.
    TSpButton* markedItem() const;
    // Puts the mark on `item` (null clears it) and tells screen readers.
    void markItem(TSpButton* item);
    // The typed prefix is forgotten after this pause.
    static constexpr int kTypeAheadPauseMs = 1000;

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

private:
    void FormCreate();
    // Loads the window from its file and says what failed.
    void load();
    void buildMenus();
    void applyFrame();
    std::vector<std::uint8_t> fileHead(const QRect& outer, std::uint32_t color) const;
    std::vector<std::uint8_t> shelfBytes();
    std::vector<std::uint8_t> stableBytes();
    bool writeRecovery(tolm::app::SaveReport& report);
    bool closeFolderWindow(tolm::app::SaveReport& report);
    bool quitSavingEveryWindow();
    void writeFreshFile(const QString& name, const QRect& outer, std::uint32_t color);
    TSpButton* createItem(tolm::store::Clase clase);
    void snapSize();
    void holdClientAt(const QPoint& origin);
    // Where the window stands on the screen: its client area's origin and
    // its frame's corner, from the X server when there is one.
    QPoint clientOrigin() const;
    QPoint frameOrigin() const;
    void startDeferredDelete();
    bool hasOpenFolderWindow() const;
    void sayFolderUnwritable(const QString& reason);
    void activateByKey(TSpButton* item);
    void moveMark(int key);
    void openMenuByKey();
    void typeAhead(const QString& text);

    bool m_isMain { false };
    tolm::app::ShelfDocument m_document { {}, {} };
    QPointer<TSpButton> m_folderItem;
    QList<QPointer<TSpButton>> m_items;
    bool m_hasItemList { false };
    std::unique_ptr<TSpButton> m_undo;
    bool m_closing { false };
    bool m_discard { false };
    bool m_alwaysButtons { false };
    bool m_frameShown { true };
    bool m_loadFailed { false };
    bool m_askBeforeQuitting { true };
    bool m_folderUnwritableSaid { false };
    // Until its file has been read, a window holds nothing to write.
    bool m_loading { true };
    tolm::app::AutoSave* m_autoSave { nullptr };
    std::unique_ptr<tolm::store::SavePoint> m_savePoint;
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

    QMenu* m_menuVentana { nullptr };
    QMenu* m_menuBoton { nullptr };
    QMenu* m_menuCarpeta { nullptr };
    QMenu* m_menuReloj { nullptr };
    QMenu* m_menuDisco { nullptr };
    QMenu* m_menuMemoria { nullptr };
    QMenu* m_menuHost { nullptr };
    QAction* m_deshacer { nullptr };
    QAction* m_pegar { nullptr };
    QTimer* m_timer { nullptr };
    QString m_typed;
    QTimer* m_typeAheadReset { nullptr };
};
