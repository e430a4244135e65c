#pragma once

// The busy shelf that the idle and the tick benchmarks share.

#include "app/AppState.h"
#include "app/TPrincipal.h"
#include "items/TSpButton.h"
#include "store/Components.h"

#include <QRect>
#include <array>

// The main window at `outer[0]` with two folders at its top left, opened in
// windows at `outer[1]` and `outer[2]`: the three windows a big shelf spreads over.
inline std::array<TPrincipal*, 3> threeWindows(TPrincipal* main, const std::array<QRect, 3>& outer)
{
    main->setBounds(outer[0]);
    AppState::get().pressPoint = QPoint(0, 0);
    TSpButton* a = main->commands().newFolder();
    AppState::get().pressPoint = QPoint(40, 0);
    TSpButton* b = main->commands().newFolder();
    a->activate();
    b->activate();
    const std::array<TPrincipal*, 3> windows { main, TPrincipal::folderWindowOf(a),
        TPrincipal::folderWindowOf(b) };
    windows[1]->setBounds(outer[1]);
    windows[2]->setBounds(outer[2]);
    return windows;
}

// 100 text clocks of 80 x 20 showing "HH:mm:ss" and the date (`Tag` 2), 20
// drive and 20 memory tiles with a period of one second (`tag2` 256: a
// refresh, then a tick of countdown), dealt in turn to the main window and
// two folder windows stacked from the top of the screen at `left`.
inline void busyShelf(TPrincipal* main, int left)
{
    const auto windows = threeWindows(
        main, { QRect(left, 0, 1000, 300), QRect(left, 300, 1000, 250), QRect(left, 550, 1000, 190) });
    for (int i = 0; i < 140; ++i) {
        TPrincipal* window = windows[i % 3];
        if (i < 100) {
            // 34 clocks to a window at most: three rows of twelve below the folders.
            const int slot = i / 3;
            AppState::get().pressPoint = QPoint((slot % 12) * 80, 45 + (slot / 12) * 20);
            TSpButton* clock = window->commands().newClock();
            clock->setTipo(int(tolm::store::Tipo::T80x20));
            clock->setTag(TSpButton::kTagTextClock);
            clock->setParam(QStringLiteral("HH:mm:ss"));
            clock->markDrawWhole();
            clock->runPicture();
        } else {
            // 14 tiles to a window at most, in one row below the clocks.
            const int slot = (i - 100) / 3;
            AppState::get().pressPoint = QPoint(slot * 45, 115);
            TSpButton* tile = i < 120 ? window->commands().newDrive() : window->commands().newMemory();
            tile->settag2(1 << TSpButton::kPeriodShift);
        }
    }
}
