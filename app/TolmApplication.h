#pragma once

#include <functional>
#include <memory>

class QWidget;
class TPrincipal;

namespace tolm::app {

class NoticesAfterWindows;

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

// Makes and shows the main window, which opens the folder windows stored
// open; once it has been painted, runs `afterWindows` and then says in one
// box the notices `notices` held while the windows were made (a new holder
// when none is given). Null, said in a box, when the window cannot be made.
TPrincipal* showShelfWindows(
    std::shared_ptr<NoticesAfterWindows> notices, std::function<void()> afterWindows);

// Shows a window, un-minimised, above the others and with the focus.
void bringForward(QWidget* window);

} // namespace tolm::app
