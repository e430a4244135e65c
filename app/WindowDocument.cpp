#include "app/WindowDocument.h"

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/SaveReport.h"
#include "app/TPrincipal.h"
#include "app/WindowPlacement.h"
#include "items/ItemReports.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "store/ShelfFile.h"
#include "store/StreamError.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace tolm::app {

namespace {

bool folderWritable(const std::filesystem::path& folder, QString* reason)
{
    if (::access(folder.c_str(), W_OK) == 0)
        return true;
    *reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

WindowDocument::WindowDocument(TPrincipal& window)
    : m_window(window)
{ }

void WindowDocument::openMain(const std::filesystem::path& folder)
{
    const AppState& state = AppState::get();
    m_file = ShelfDocument(folder, QString::fromLatin1(TPrincipal::kMainFileName));
    // Saves cut short by a killed process leave their temporary files.
    for (const std::string& name : store::removeStaleTempFiles(folder))
        qCWarning(lcApp, "removed %s, left by an interrupted save", name.c_str());
    // A shelf that loads fine from a folder that cannot be written would
    // otherwise lose every change silently until the first save.
    // A start that could not lock the folder has said so already.
    if (QString reason; state.savingOffReason.isEmpty() && !folderWritable(folder, &reason))
        sayFolderUnwritable(reason);
    load();
}

bool WindowDocument::openFolder(const std::filesystem::path& folder, const QString& fileName)
{
    m_file = ShelfDocument(folder, fileName);
    if (!store::isFollowableFolderFile(fileName.toStdString())) {
        // Items refuse to open such a folder; a window made for one anyway
        // never reads or writes it.
        m_state = State::Refused;
        showError(
            QCoreApplication::translate("WindowDocument", "No es un fichero de carpeta: %1").arg(fileName));
        return false;
    }
    return true;
}

void WindowDocument::reload(Failures failures)
{
    load(failures);
}

// Said once per start, whether the folder refuses writing outright or only
// when the first file is made in it.
void WindowDocument::sayFolderUnwritable(const QString& reason)
{
    if (m_folderUnwritableSaid)
        return;
    m_folderUnwritableSaid = true;
    showError(QCoreApplication::translate("WindowDocument",
        "No se puede escribir en la carpeta %1 (%2).\n"
        "Lo que ponga en Tolm no se podrá guardar aquí. Para guardar "
        "las estanterías en otra carpeta, inicie Tolm con la opción "
        "--dir CARPETA (o --user, la carpeta del usuario).")
                  .arg(QString::fromStdString(m_file.folder().string()), reason));
}

void WindowDocument::load(Failures failures)
{
    if (m_state == State::Refused)
        return;
    // A message box shown while the items come in runs the event loop, and
    // with it the automatic save; a window half loaded is never written.
    m_state = State::Loading;
    std::optional<Failure> failure;
    try {
        failure = read();
    } catch (const std::exception& error) {
        failure = Failure { QStringLiteral("Tolm"), QString::fromUtf8(error.what()) };
    }
    if (!failure) {
        m_state = State::Loaded;
        m_file.forgetRecovery();
        return;
    }
    // What the window holds now is, for a window that could not be loaded,
    // what it holds without the user's work: the box comes after, so that
    // nothing that runs while it is open finds anything to write.
    m_state = State::Failed;
    m_file.markFailed();
    m_file.rememberStable(stableBytes());
    if (failures == Failures::Said)
        showMessage(failure->caption, failure->text);
    else
        qCInfo(lcApp, "%s", qPrintable(failure->text));
}

// The file failed to load and what stands at its name has changed since:
// a sound version, or nothing, ends the window's failure. What the user
// put on the window meanwhile is written beside the file first.
void WindowDocument::retryLoad()
{
    if (!m_file.changedSinceFailure())
        return;
    if (hasUnwrittenChanges()) {
        SaveReport report;
        writeRecovery(report);
        if (report.any()) {
            report.show();
            return;
        }
    }
    const QString kept = m_file.recoveryFileName();
    if (!m_file.exists()) {
        // Nothing stands in the way of the window's own file any more.
        m_state = State::Loaded;
        m_file.forget();
        save();
        return;
    }
    // Another failure was said when the window first failed to load.
    m_window.reloadFromDisk(Failures::Logged);
    if (m_state == State::Loaded && !kept.isEmpty())
        showMessage(QStringLiteral("Tolm"),
            QCoreApplication::translate("WindowDocument",
                "El fichero %1 se ha podido cargar de nuevo: la ventana lo muestra tal como está "
                "en el disco.\nLo que contenía la ventana antes sigue en %2.")
                .arg(m_file.fileName(), kept));
}

// ---------------------------------------------------------------- files

// The header and the font dialog record: a whole shelf file with no items.
std::vector<std::uint8_t> WindowDocument::fileHead(const QRect& outer, std::uint32_t color) const
{
    store::ShelfHeader header;
    header.left = outer.left();
    header.top = outer.top();
    header.right = outer.left() + outer.width();
    header.bottom = outer.top() + outer.height();
    header.frameShown = m_window.frameShown() ? 1 : 0;
    header.alwaysButtons = m_window.alwaysButtons() ? 1 : 0;
    header.color = color;
    std::vector<std::uint8_t> bytes;
    store::writeHeader(header, bytes);
    store::writeRecord(store::writeFontDialog(m_window.fontDialog()), bytes);
    return bytes;
}

void WindowDocument::writeFreshFile(const QString& name, const QRect& outer, std::uint32_t color)
{
    std::string error;
    if (!m_file.writeNew(name, fileHead(outer, color), &error))
        throw std::runtime_error(
            QCoreApplication::translate("WindowDocument", "No se puede crear el fichero %1: %2")
                .arg(name, QString::fromStdString(error))
                .toStdString());
}

std::size_t WindowDocument::maxItems()
{
    static const std::size_t limit = [] {
        constexpr std::size_t kMost = 20000;
        constexpr rlim_t kBytesPerSibling = 320;
        constexpr rlim_t kReserve = 1 << 20; // for everything else on the stack
        rlimit stack {};
        if (::getrlimit(RLIMIT_STACK, &stack) != 0 || stack.rlim_cur == RLIM_INFINITY)
            return kMost;
        const rlim_t fits = stack.rlim_cur > kReserve ? (stack.rlim_cur - kReserve) / kBytesPerSibling : 0;
        return std::min<std::size_t>(kMost, std::max<rlim_t>(fits, 100));
    }();
    return limit;
}

namespace {

// Stored bounds may hold any 32-bit values; a window is kept to a range that
// no later arithmetic on its geometry can overflow.
QRect boundsFromHeader(const store::ShelfHeader& header)
{
    constexpr std::int64_t kReach = 1'000'000;
    constexpr std::int64_t kMaxSize = 100'000;
    const std::int64_t left = std::clamp<std::int64_t>(header.left, -kReach, kReach);
    const std::int64_t top = std::clamp<std::int64_t>(header.top, -kReach, kReach);
    const std::int64_t width
        = std::clamp<std::int64_t>(std::int64_t(header.right) - header.left, 0, kMaxSize);
    const std::int64_t height
        = std::clamp<std::int64_t>(std::int64_t(header.bottom) - header.top, 0, kMaxSize);
    return QRect(int(left), int(top), int(width), int(height));
}

} // namespace

std::optional<WindowDocument::Failure> WindowDocument::read()
{
    AppState& state = AppState::get();
    if (!m_file.exists()) {
        const std::uint32_t mainColor = state.mainWindow ? state.mainWindow->color() : m_window.color();
        m_window.setColor(mainColor);
        // A folder whose file is made afresh opens as a new folder does.
        if (!m_window.isMainWindow())
            m_window.setBounds(kNewFolderBounds);
        // A file that cannot be made is no reason to treat the window as one
        // that failed to load: it starts empty, and a later save, once the
        // folder is writable, stores it.
        std::string error;
        std::vector<std::uint8_t> fresh = fileHead(m_window.bounds(), mainColor);
        if (!state.savingOffReason.isEmpty()) {
            m_file.rememberStable(stableBytes());
        } else if (m_file.writeNew(m_file.fileName(), fresh, &error)) {
            m_file.remember(std::move(fresh), stableBytes());
        } else {
            m_file.rememberStable(stableBytes());
            if (m_window.isMainWindow())
                sayFolderUnwritable(SaveReport::reason(error));
            else
                showError(QCoreApplication::translate("WindowDocument", "No se puede crear el fichero %1: %2")
                              .arg(m_file.fileName(), SaveReport::reason(error)));
        }
        return std::nullopt;
    }

    std::string readError;
    auto bytes = m_file.read(&readError);
    if (!bytes)
        return Failure { QStringLiteral("Tolm"),
            QCoreApplication::translate("WindowDocument", "No se puede leer el fichero %1: %2")
                .arg(m_file.fileName(), QString::fromStdString(readError)) };
    state.currentItem = nullptr;

    auto fail = [this](const store::StreamError& error) {
        return Failure { QStringLiteral("Tolm"),
            QString::fromStdString(m_file.fileName().toStdString() + ": " + error.what() + " (byte "
                + std::to_string(error.offset()) + ")") };
    };

    std::optional<store::ShelfReader> reader;
    try {
        reader.emplace(*bytes);
    } catch (const store::StreamError& error) {
        return fail(error);
    }
    const QString unloadable = QCoreApplication::translate("WindowDocument", "Error caragando datos");
    if (!reader->magicMatches())
        return Failure { unloadable,
            QCoreApplication::translate(
                "WindowDocument", "El fichero %1\nno es compatible con esta versión del programa")
                .arg(m_file.fileName()) };

    // Every record is read before anything changes, so that a file holding
    // more items than a window can show is refused whole.
    std::optional<store::FontDialogState> fontDialog;
    std::vector<store::SpButtonState> states;
    std::size_t itemCount = 0;
    std::optional<Failure> broken;
    try {
        fontDialog = reader->nextFontDialog();
        while (!reader->atEnd()) {
            store::SpButtonState itemState = reader->nextItem();
            if (++itemCount <= maxItems())
                states.push_back(std::move(itemState));
        }
    } catch (const store::StreamError& error) {
        broken.emplace(fail(error));
    }
    if (itemCount > maxItems())
        return Failure { unloadable,
            QCoreApplication::translate("WindowDocument",
                "El fichero %1\ntiene %2 elementos; una ventana admite como mucho %3.\n"
                "El fichero no se ha modificado.")
                .arg(m_file.fileName())
                .arg(itemCount)
                .arg(maxItems()) };

    const store::ShelfHeader& header = reader->header();
    QRect outer = boundsFromHeader(header);
    // A window saved where no screen is now (a monitor since unplugged, a
    // smaller screen) comes back where the user can reach it.
    if (!nativeWayland())
        outer = reachableOnScreens(outer);
    m_window.applyStoredOptions(header.frameShown != 0, outer, header.alwaysButtons != 0, header.color);
    if (!fontDialog)
        return broken;
    m_window.setFontDialog(*fontDialog);

    m_window.replaceItems(states);
    if (broken)
        return broken;
    // Which items cover others is worked out anew, not taken from the file:
    // a file that stored it otherwise holds no change of the user's.
    m_window.itemsLoaded();
    m_file.remember(std::move(*bytes), stableBytes());
    return std::nullopt;
}

std::vector<std::uint8_t> WindowDocument::shelfBytes()
{
    std::vector<std::uint8_t> bytes = fileHead(m_window.bounds(), m_window.color());
    for (TSpButton* item : m_window.items()) {
        if (!item)
            continue;
        store::writeRecord(
            store::writeSpButton(item->toState(m_window.menuReference(item->claseValue()))), bytes);
    }
    return bytes;
}

// The file as it would be written, without what tiles rewrite on their own.
// A window that could not be loaded leaves out where it stands too: moving
// it is not worth a recovery file.
std::vector<std::uint8_t> WindowDocument::stableBytes()
{
    std::vector<std::uint8_t> bytes
        = fileHead(m_state == State::Failed ? QRect() : m_window.bounds(), m_window.color());
    for (TSpButton* item : m_window.items()) {
        if (!item)
            continue;
        store::SpButtonState state = item->toState(m_window.menuReference(item->claseValue()));
        items::clearTickFields(state);
        store::writeRecord(store::writeSpButton(state), bytes);
    }
    return bytes;
}

bool WindowDocument::hasUnwrittenChanges()
{
    return (m_state == State::Loaded || m_state == State::Failed) && !m_file.holds(stableBytes());
}

// A window whose file could not be loaded never writes over that file. What
// the user puts on it goes to one recovery file beside it instead, named
// when it is first needed, and the user is told where once.
bool WindowDocument::writeRecovery(SaveReport& report)
{
    if (!hasUnwrittenChanges()) {
        qCInfo(lcApp, "%s was not loaded; it is left as it is", qPrintable(m_file.fileName()));
        return false;
    }
    bool named = false;
    if (m_file.writeRecovery(shelfBytes(), stableBytes(), report, &named) && named)
        showMessage(QStringLiteral("Tolm"),
            QCoreApplication::translate("WindowDocument",
                "El fichero %1 no se pudo cargar y no se ha modificado.\n"
                "Lo que contiene esta ventana se guarda en %2;\n"
                "para usarlo, cambie su nombre a %1.")
                .arg(m_file.fileName(), m_file.recoveryFileName()));
    return false;
}

bool WindowDocument::write(SaveReport& report)
{
    if (!AppState::get().savingOffReason.isEmpty())
        return false;
    switch (m_state) {
    case State::Loading:
    case State::Refused:
        return false;
    case State::Failed:
        return writeRecovery(report);
    case State::Loaded:
        break;
    }
    QString what;
    switch (m_file.write(shelfBytes(), stableBytes(), report, &what)) {
    case ShelfDocument::Written::Yes:
        return true;
    case ShelfDocument::Written::Failed:
        return false;
    case ShelfDocument::Written::ChangedOnDisk:
        return keepBoth(report, ShelfDocument::Disk::Changed, what);
    case ShelfDocument::Written::Foreign:
        return keepBoth(report, ShelfDocument::Disk::Foreign, what);
    }
    return false;
}

void WindowDocument::takeChangeOnDisk()
{
    if (m_state == State::Failed) {
        retryLoad();
        return;
    }
    if (m_state != State::Loaded)
        return;
    QString what;
    const ShelfDocument::Disk disk = m_file.onDisk(&what);
    if (disk == ShelfDocument::Disk::AsKnown || disk == ShelfDocument::Disk::Missing)
        return;
    if (disk == ShelfDocument::Disk::Changed && !hasUnwrittenChanges()) {
        m_window.reloadFromDisk();
        return;
    }
    SaveReport report;
    keepBoth(report, disk, what);
    report.show();
}

// The file on disk is someone else's newer work and the window holds the
// user's: neither is written over. The window's goes to a conflict copy and
// the window then shows the file. What cannot be shown, and what a write
// may not go into or through (`what`), is someone else's too; the window
// then keeps what it holds, as a window whose file could not be loaded, and
// its later changes go to the copy. A copy that cannot be written leaves
// the window as it is, to be tried again.
bool WindowDocument::keepBoth(SaveReport& report, ShelfDocument::Disk disk, const QString& what)
{
    std::string error;
    QString copy;
    if (!m_file.writeConflictCopy(shelfBytes(), &copy, &error)) {
        m_file.setSaveFailed();
        report.add(QCoreApplication::translate("WindowDocument",
            "El fichero %1 cambió en el disco y Tolm no lo ha sobrescrito, pero no pudo guardar "
            "lo que contiene esta ventana en %2: %3")
                       .arg(m_file.fileName(), copy, SaveReport::reason(error)));
        return false;
    }
    AppState::get().conflictCopiesWritten.insert(copy);
    qCWarning(lcApp, "%s changed on disk; what its window holds is kept in %s", qPrintable(m_file.fileName()),
        qPrintable(copy));
    if (disk == ShelfDocument::Disk::Foreign) {
        m_state = State::Failed;
        m_file.markFailed();
        m_file.setRecoveryFileName(copy);
        m_file.rememberStable(stableBytes());
        m_window.sayLater(QCoreApplication::translate("WindowDocument",
            "En el lugar del fichero %1 hay ahora %3: otro programa lo ha cambiado, y Tolm no lo toca.\n\n"
            "Lo que contiene esta ventana se ha guardado en %2, y allí se guardará lo que cambie en ella. "
            "Cuando %1 vuelva a ser un fichero de Tolm, la ventana lo mostrará.")
                              .arg(m_file.fileName(), copy, what));
        return true;
    }
    m_window.reloadLater(QCoreApplication::translate("WindowDocument",
        "El fichero %1 cambió en el disco (lo escribió otro equipo u otro programa) "
        "cuando esta ventana tenía cambios sin guardar.\n\n"
        "Tolm no lo ha sobrescrito: la ventana muestra ahora %1 tal como está en el disco. "
        "Lo que contenía la ventana, sin los cambios que llegaron, se ha guardado en %2.\n"
        "Puede verlo con «tolm-shelf dump %2» y volver a poner en la ventana lo que falte; "
        "si cambia su nombre a %1, se pierden los cambios que llegaron.")
                             .arg(m_file.fileName(), copy));
    return true;
}

bool WindowDocument::save()
{
    SaveReport report;
    const bool written = write(report);
    report.show();
    return written;
}

QString WindowDocument::newFolderFile()
{
    const QString name = m_file.firstFreeFolderFileName();
    writeFreshFile(name, kNewFolderBounds, m_window.color());
    return name;
}

void WindowDocument::deleteFolderFile(const QString& name)
{
    m_file.deleteTree(name);
}

} // namespace tolm::app
