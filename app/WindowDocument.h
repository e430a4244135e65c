#pragma once

#include "app/ShelfDocument.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

class TPrincipal;

namespace tolm::app {

class SaveReport;

// What a shelf window holds, kept in its file: reading the file onto the
// window, writing the window back, the recovery file of a window whose file
// could not be read, and the folder files its folder items name. The shelf
// folder is given; nothing here depends on the process's directory.
class WindowDocument {
public:
    explicit WindowDocument(TPrincipal& window);
    WindowDocument(const WindowDocument&) = delete;
    WindowDocument& operator=(const WindowDocument&) = delete;

    // Qt paints overlapping sibling widgets recursively, about 300 bytes of
    // stack per sibling; with the usual 8 MB stack some 29,000 overlapping
    // items overflow it. A file holding more than a window can safely paint
    // is refused whole and left as it is. 20,000 at most; fewer when the
    // stack limit is smaller.
    static std::size_t maxItems();

    // The main window's file, loaded; what interrupted saves left behind is
    // cleared first, and a folder that cannot be written is said once.
    void openMain(const std::filesystem::path& folder);
    // A folder window's file, not loaded yet. A name that is not a folder
    // file of this folder is said and never read or written: false.
    bool openFolder(const std::filesystem::path& folder, const QString& fileName);
    // Reads the file onto the window and says what failed, or with
    // Failures::Logged only logs it. A missing file is made; a file that
    // failed to load (broken or foreign) is never written over, so nothing
    // the user had is lost.
    enum class Failures { Said, Logged };
    void load(Failures failures = Failures::Said);
    // Loads again, as a window whose file is whole once more.
    void reload(Failures failures = Failures::Said);

    // Writes the file now and says a failure in a message box. True when the
    // file holds what the window holds.
    bool save();
    // The same, with a failure added to `report` instead. A file that
    // already holds what the user arranged is left alone; a window that
    // failed to load writes to a recovery file beside its own.
    bool write(SaveReport& report);
    // Whether the window holds work of the user that its file does not:
    // what tiles rewrite on their own every second does not count.
    bool hasUnwrittenChanges();

    // The file changed on disk: another machine's sync service or another
    // program wrote it. A window with nothing unwritten shows the file as it
    // is now; one holding work of the user keeps that work in a conflict
    // copy beside the file, says so, and then shows the file. What cannot be
    // shown (a link put in its place, a FIFO, a folder) gets the copy in any
    // case, and the window keeps what it holds as one that failed to load.
    // A window that failed to load tries again, once the file is another.
    // Writing finds such changes too and does the same instead of writing.
    void takeChangeOnDisk();
    QString filePath() const { return QString::fromStdString(m_file.pathOf(m_file.fileName()).string()); }

    const QString& fileName() const { return m_file.fileName(); }
    bool loadFailed() const { return m_state == State::Failed || m_state == State::Refused; }
    // While the file's items come in (a folder stored open opens then).
    bool loading() const { return m_state == State::Loading; }
    // Whether the last write met an error (a window that failed to load and
    // is left alone on purpose is not one).
    bool saveFailed() const { return m_file.saveFailed(); }
    // The automatic save says a window's failure once, until it is written:
    // whether a report has held it since.
    bool saveFailureSaid() const { return m_file.failureSaid(); }
    const QString& recoveryFileName() const { return m_file.recoveryFileName(); }

    // Where a new folder's window stands, and its size, until the user moves it.
    static constexpr QRect kNewFolderBounds { 50, 50, 100, 100 };
    // Creates the file of a new folder made on the window and returns its name.
    QString newFolderFile();
    // Deletes a folder file and the folder files it names.
    void deleteFolderFile(const QString& name);

private:
    enum class State {
        Loading, // until its file has been read, a window holds nothing to write
        Loaded,
        Failed, // its file is never written; the user's changes go beside it
        Refused, // a name that is no folder file here: never read or written
    };
    // Why a file could not be loaded, as the box says it.
    struct Failure {
        QString caption;
        QString text;
    };
    std::optional<Failure> read();
    void retryLoad();
    std::vector<std::uint8_t> fileHead(const QRect& outer, std::uint32_t color) const;
    void writeFreshFile(const QString& name, const QRect& outer, std::uint32_t color);
    std::vector<std::uint8_t> shelfBytes();
    std::vector<std::uint8_t> stableBytes();
    bool writeRecovery(SaveReport& report);
    bool keepBoth(SaveReport& report, ShelfDocument::Disk disk, const QString& what);
    void sayFolderUnwritable(const QString& reason);

    TPrincipal& m_window;
    ShelfDocument m_file { {}, {} };
    State m_state { State::Loading };
    bool m_folderUnwritableSaid { false };
};

} // namespace tolm::app
