#include "app/ShelfSession.h"

#include "app/AppState.h"
#include "app/AutoSave.h"
#include "app/Log.h"
#include "app/Messages.h"
#include "app/SaveReport.h"
#include "app/TPrincipal.h"
#include "app/WindowDocument.h"
#include "store/SavePoint.h"

#include <QCoreApplication>
#include <filesystem>
#include <optional>

namespace tolm::app {

void saveEveryWindow(SaveReport& report)
{
    AppState& state = AppState::get();
    if (state.mainWindow)
        state.mainWindow->document().write(report);
    state.openFolderWindows.removeAll(QPointer<TPrincipal>());
    const auto windows = state.openFolderWindows;
    for (const auto& window : windows) {
        if (window)
            window->document().write(report);
    }
}

bool quitSavingEveryWindow(TPrincipal& main)
{
    AppState& state = AppState::get();
    SaveReport report;
    saveEveryWindow(report);
    if (report.any()) {
        if (!main.askBeforeQuitting()) {
            // A signal or the session ends the program: no one is there to
            // answer, and the files that could not be written are whole.
            qCWarning(lcApp, "%s", qPrintable(report.text()));
        } else if (!askOkCancel(QStringLiteral("Tolm"),
                       report.text()
                           + QCoreApplication::translate("ShelfSession",
                               "\n\n¿Salir de Tolm sin guardar? Con Cancelar, Tolm sigue "
                               "abierto con todo lo que contiene."))) {
            return false;
        }
    }
    state.quitting = true;
    if (main.autoSave())
        main.autoSave()->stop();
    return true;
}

namespace {

// Why the state could not be kept or restored. Files of the kept copy are
// named with their folder, as the shelf folder holds files of the same
// names: those a restore reads, and those keeping could not write.
QString faultText(
    const store::SavePoint::Fault& fault, const std::filesystem::path& shelfFolder, bool restoring)
{
    using Kind = store::SavePoint::Fault::Kind;
    const std::filesystem::path copy = store::SavePoint::folder(shelfFolder);
    const QString folder = QString::fromStdString(copy.string());
    const bool inCopy = restoring || fault.kind == Kind::CannotWrite;
    const QString file = fault.file == store::SavePoint::kFolderName
        ? folder
        : QString::fromStdString(inCopy ? (copy / fault.file).string() : fault.file);
    const QString reason = SaveReport::reason(fault.reason);
    switch (fault.kind) {
    case Kind::None:
        break;
    case Kind::FolderIsLink:
        return QCoreApplication::translate("ShelfSession",
            "%1 es un enlace simbólico, y Tolm no sigue enlaces en la carpeta donde guarda la configuración.")
            .arg(folder);
    case Kind::FolderNotAFolder:
        return QCoreApplication::translate("ShelfSession", "%1 no es una carpeta.").arg(folder);
    case Kind::MainMissing:
        return QCoreApplication::translate("ShelfSession", "Falta el fichero %1.").arg(file);
    case Kind::NotAShelf:
        return QCoreApplication::translate("ShelfSession", "El fichero %1 no es un fichero de estanterías.")
            .arg(file);
    case Kind::Unsound:
        return QCoreApplication::translate(
            "ShelfSession", "El fichero %1 no se puede leer como estantería: %2.")
            .arg(file, reason);
    case Kind::CannotWrite:
        return QCoreApplication::translate("ShelfSession", "No se puede escribir %1: %2.").arg(file, reason);
    }
    return {};
}

} // namespace

// Every change is written as it is made; this also marks the shelf as it
// is now as the state "Restaurar configuración" returns to.
void saveSettings()
{
    AppState& state = AppState::get();
    SaveReport report;
    saveEveryWindow(report);
    TPrincipal* main = state.mainWindow;
    if (report.any() || !main || !state.savePoint || !state.savingOffReason.isEmpty()) {
        report.show();
        return;
    }
    using Kind = store::SavePoint::Fault::Kind;
    const bool keptBefore = store::SavePoint::kept(state.shelfFolder);
    if (const store::SavePoint::Fault fault = store::SavePoint::keep(state.shelfFolder))
        showError(QCoreApplication::translate("ShelfSession", "No se puede guardar la configuración.\n\n")
            + faultText(fault, state.shelfFolder, false)
            // Something in the copy's place is no copy to return to.
            + (keptBefore && fault.kind != Kind::FolderIsLink && fault.kind != Kind::FolderNotAFolder
                    ? QCoreApplication::translate("ShelfSession",
                        "\n\nLa configuración guardada antes sigue igual; «Restaurar configuración» vuelve a "
                        "ella.")
                    : QString()));
}

void restoreSettings()
{
    AppState& state = AppState::get();
    TPrincipal* main = state.mainWindow;
    if (!main)
        return;
    const bool kept = store::SavePoint::kept(state.shelfFolder);
    // A kept copy that cannot be put back is said before anything is asked
    // or changed.
    store::SavePoint::Fault fault;
    const std::optional<store::ShelfTree> back
        = state.savePoint ? state.savePoint->stateToRestore(state.shelfFolder, &fault) : std::nullopt;
    if (fault) {
        showError(QCoreApplication::translate("ShelfSession", "No se puede restaurar la configuración.\n\n")
            + faultText(fault, state.shelfFolder, true)
            + QCoreApplication::translate("ShelfSession", "\n\nNo se ha cambiado nada."));
        return;
    }
    const QString question = kept ? QCoreApplication::translate("ShelfSession",
                                 "¿Volver a la configuración guardada con «Guardar configuración»?\n"
                                 "Se perderán los cambios hechos desde entonces en todas las ventanas.")
                                  : QCoreApplication::translate("ShelfSession",
                                      "¿Volver a la configuración que tenía Tolm al iniciarse?\n"
                                      "Se perderán los cambios hechos desde entonces en todas las ventanas.");
    if (!askOkCancel(QCoreApplication::translate("ShelfSession", "Restaurar configuración"), question))
        return;

    const auto windows = state.openFolderWindows;
    state.openFolderWindows.clear();
    for (const auto& window : windows) {
        if (!window)
            continue;
        // Discarded unsaved: the folder items of the reloaded main window are
        // new objects, so nothing points back at these windows.
        window->hide();
        window->deleteLater();
    }
    // With saving off nothing was written this run: the files are the state
    // of its start already.
    if (back && state.savingOffReason.isEmpty()) {
        if (const store::SavePoint::Fault failed = store::SavePoint::writeBack(state.shelfFolder, *back))
            showError(QCoreApplication::translate("ShelfSession",
                "No se puede restaurar la configuración: %1\n"
                "Las ventanas muestran lo que contienen ahora sus ficheros.")
                          .arg(SaveReport::reason(failed.reason)));
    }
    main->document().reload();
}

} // namespace tolm::app
