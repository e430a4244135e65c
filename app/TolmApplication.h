#pragma once

class QWidget;
class TPrincipal;

namespace tolm::app {

// Starts the launcher: the main shelf window from "tolm95.dat" in the current
// directory, the start counter, the calendar window; runs until the main
// window closes, the session ends or SIGTERM, SIGHUP or SIGINT arrives (each
// saves every window).
// A start in a folder that a running Tolm holds brings that Tolm's main window
// forward and returns 0 without touching the shelf.
int runTolm(int argc, char** argv);

// Connects the main window's requests to the dialogs that answer them:
// properties, calendar, about box.
void connectDialogs(TPrincipal* mainWindow);

// Shows a window, un-minimised, above the others and with the focus.
void bringForward(QWidget* window);

} // namespace tolm::app
