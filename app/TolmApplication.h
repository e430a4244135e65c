#pragma once

class TPrincipal;

namespace tolm::app {

// Starts the launcher: the main shelf window from "tolm95.dat" in the current
// directory, the start counter, the calendar window; runs until the main
// window closes, the session ends or SIGTERM arrives (each saves every window).
int runTolm(int argc, char** argv);

// Connects the main window's requests to the dialogs that answer them:
// properties, calendar, about box.
void connectDialogs(TPrincipal* mainWindow);

} // namespace tolm::app
