#pragma once

class TPrincipal;

namespace tolm::app {

class SaveReport;

// What concerns every window of the shelf at once.

// Writes the main window and every open folder window, each once.
void saveEveryWindow(SaveReport& report);
// Saves every window before the program ends. Windows that could not be
// saved make it ask first (Cancelar keeps Tolm open), unless `main` is told
// no one is there to answer. True when the program may end.
bool quitSavingEveryWindow(TPrincipal& main);
// "Guardar configuración": every window written, and the shelf as it is now
// kept as the state "Restaurar configuración" returns to.
void saveSettings();
// "Restaurar configuración": asks, then puts back the kept state (or the
// state of this run's start) and reloads every window.
void restoreSettings();

} // namespace tolm::app
