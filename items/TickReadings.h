#pragma once

#include "items/DrivePicture.h"
#include "items/TSpButton.h"
#include "platform/MemoryStatus.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <optional>
#include <vector>

namespace tolm::items {

// What the tiles refreshed by one timer tick share. A tick refreshes every
// clock, drive and memory tile of every window; left alone, each tile would
// ask the clock, the mount table, statvfs and /proc/meminfo for itself and
// format the same texts and draw the same faces again. While an instance
// lives (the timer makes one around each tick) the pictures read each source
// once and reuse what they made; with none they read afresh every time.
class TickReadings {
public:
    TickReadings();
    ~TickReadings();
    TickReadings(const TickReadings&) = delete;
    TickReadings& operator=(const TickReadings&) = delete;

    // The innermost live instance, or null outside a tick.
    static TickReadings* current();
    // The readings of the tick under way; outside a tick, `alone`, made for
    // one drawing, whose readings are taken afresh.
    static TickReadings& currentOr(std::optional<TickReadings>& alone);

    std::optional<QDateTime> now;
    std::optional<QString> clockHint;
    // The time without seconds, which screen readers are told.
    std::optional<QString> clockFigure;
    // Clock texts with the option bits and stored pictures that shape them;
    // a shelf has few shapes, so a list is searched.
    struct ClockText {
        int shape { 0 };
        QString param, directorio, fichIcono;
        QString text;
    };
    std::vector<ClockText> clockTexts;
    // Faces by seconds hand (1) or none (0), with the time they show.
    struct Face {
        int hour { -1 }, minute { -1 }, second { -1 };
        QImage image;
    };
    Face faces[2];
    // Drive readings by the item's `Directorio`, with what is made of them:
    // the figure in words, and pictures and finer drawings, large (0) and small (1).
    struct Drive {
        QString directorio;
        DriveReading reading;
        QString figure;
        QImage pictures[2];
        TSpButton::FinePicture fine[2];
    };
    std::vector<Drive> drives;
    std::optional<platform::MemoryStatus> memory;
    // The same for `memory`; its texts are made once.
    QString memoryHint, memoryFigure, memoryText;
    QImage memoryPictures[2];
    TSpButton::FinePicture memoryFine[2];

private:
    TickReadings* m_outer { nullptr };
};

} // namespace tolm::items
