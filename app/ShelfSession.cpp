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

// Every change is written as it is made; this also marks the shelf as it
// is now as the state "Restaurar configuración" returns to.
void saveSettings()
{
    AppState& state = AppState::get();
    SaveReport report;
    saveEveryWindow(report);
    TPrincipal* main = state.mainWindow;
    if (!report.any() && main && state.savePoint && state.savingOffReason.isEmpty()) {
        std::string error;
        if (!store::SavePoint::keep(state.shelfFolder, &error))
            report.add(
                QCoreApplication::translate("ShelfSession", "No se puede guardar la configuración en %1: %2")
                    .arg(QString::fromStdString(store::SavePoint::folder(state.shelfFolder).string()),
                        SaveReport::reason(error)));
    }
    report.show();
}

void restoreSettings()
{
    AppState& state = AppState::get();
    TPrincipal* main = state.mainWindow;
    if (!main)
        return;
    const bool kept = store::SavePoint::kept(state.shelfFolder);
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
    std::string error;
    if (state.savePoint && state.savingOffReason.isEmpty()
        && !state.savePoint->restore(state.shelfFolder, &error))
        showError(QCoreApplication::translate("ShelfSession",
            "No se puede restaurar la configuración: %1\n"
            "Las ventanas muestran lo que contienen ahora sus ficheros.")
                      .arg(SaveReport::reason(error)));
    main->document().reload();
}

} // namespace tolm::app
