#pragma once

#include "store/Components.h"

#include <QPoint>
#include <QStringList>
#include <memory>

class TPrincipal;
class TSpButton;

namespace tolm::app {

// What a shelf window's menus do to its items: the "Nuevo" commands, deleting
// with one undo, the program's own cut buffer, arranging, and files dropped on
// the window. The current item and the point where the menu was opened are
// the application's (AppState).
class ItemCommands {
public:
    explicit ItemCommands(TPrincipal& window);
    ~ItemCommands();
    ItemCommands(const ItemCommands&) = delete;
    ItemCommands& operator=(const ItemCommands&) = delete;

    // "Nuevo": each returns the item it made, centred on the press point.
    TSpButton* newLauncher();
    TSpButton* newFolder();
    TSpButton* newClock();
    TSpButton* newDrive();
    TSpButton* newMemory();

    // On the current item.
    void open();
    void showProperties();
    void deleteItem();
    void deleteFolder();
    void cut();
    void copy();

    void paste();
    void undo();
    // Empties the cut buffer before something else goes in; a cut folder is
    // deleted for good only if the user agrees. False when the user refused.
    bool emptyCutBuffer();
    // Rows from the top left, each item where nothing placed before covers it.
    void arrange();
    // Files dropped at `point` (client coordinates), in drop order.
    void dropFiles(const QStringList& paths, const QPoint& point);
    // A launcher for each file, in a row from the first centred on `point`,
    // as a drop on the background makes them.
    void addFiles(const QStringList& paths, const QPoint& point);
    // "Aplicación...": the installed application the user picks becomes a
    // launcher at the press point, as its dropped desktop entry would.
    void pickApplication();

    // The item the last deletion took, which undo puts back.
    TSpButton* undoSlot() const { return m_undo.get(); }

private:
    TSpButton* createItem(store::Clase clase);
    // Puts the item's centre at `centre`, as near as keeps it wholly inside
    // the window (the top left when the window is smaller than the item).
    void placeAround(TSpButton* item, const QPoint& centre);
    void finishNewItem(TSpButton* item);

    TPrincipal& m_window;
    std::unique_ptr<TSpButton> m_undo;
};

} // namespace tolm::app
