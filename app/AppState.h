#pragma once

#include "items/ShelfState.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <filesystem>
#include <memory>

class QFileSystemWatcher;
class QWidget;
class TCalendario;
class TPrincipal;
class TSpButton;

namespace tolm::store {
class SavePoint;
}

// The application's state: what items share (ShelfState) and the windows.
// One instance lives as long as the application (main() or a test fixture
// creates it); `get()` finds it and stops the program when there is none.
class AppState : public ShelfState {
public:
    // `shelfFolder` is where the shelf files are; start-up finds it.
    explicit AppState(std::filesystem::path shelfFolder = {});
    ~AppState() override;

    static AppState& get();
    static bool exists();

    // The folder every shelf file lives in.
    std::filesystem::path shelfFolder;
    QPointer<TPrincipal> mainWindow;
    // Null entries are windows destroyed behind our back; every use tests
    // membership first (`isOpen`).
    QList<QPointer<TPrincipal>> openFolderWindows;
    // Folder files being loaded right now, so that folder files that name
    // each other in a cycle stop instead of opening windows without end.
    QStringList filesBeingOpened;
    // Client origin offset from the window origin, and the non-client size;
    // captured once when the main window is created.
    int frameDx { 0 }, frameDy { 0 }, frameNw { 0 }, frameNh { 0 };
    // Set once the quit has saved every window: Qt then closes them all,
    // and none may save again (an open folder would be stored closed).
    bool quitting { false };
    // Why nothing may be saved in the shelf folder (its lock could not be
    // had), as a sentence for the user; empty when saving is allowed.
    QString savingOffReason;
    // Conflict copies this run wrote itself, said in the box that told
    // why; the box that names conflict copies leaves them out.
    QSet<QString> conflictCopiesWritten;
    // The shelf as it was when this run started, which "Restaurar
    // configuración" returns to when no state was kept; made by the main
    // window once its file is read.
    std::unique_ptr<tolm::store::SavePoint> savePoint;

    // The item waiting to be pasted. An ordinary item here is detached and
    // owned by the buffer; a cut folder stays a (disabled) child of its window.
    TSpButton* cutBuffer() const;
    void setCutItem(std::unique_ptr<TSpButton> item);
    void setCutFolder(TSpButton* folder);
    // Empties the buffer; a cut folder is handed back, an owned item destroyed.
    TSpButton* takeCutFolder();
    void clearCutBuffer();

    // The program's one calendar window, made hidden on first use.
    TCalendario* calendar();
    // The one watch on the shelf folder and the shelf files open, made on
    // first use: every watcher costs the user one of a limited number of
    // kernel watch instances.
    QFileSystemWatcher* fileWatcher();

    bool isOpen(const QWidget* window) const;
    // Whether a window has `fileName` open or is loading it.
    bool fileIsOpen(const QString& fileName) const;

private:
    std::unique_ptr<TCalendario> m_calendar;
    std::unique_ptr<QFileSystemWatcher> m_fileWatcher;
    std::unique_ptr<TSpButton> m_cutItem;
    QPointer<TSpButton> m_cutFolder;
};
