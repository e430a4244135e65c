#pragma once

#include "items/DrivePicture.h"
#include "platform/MemoryStatus.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>
#include <optional>

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

    std::optional<QDateTime> now;
    std::optional<QString> clockHint;
    // Clock texts by the fields that shape them.
    QHash<QString, QString> clockTexts;
    // Faces by seconds hand (1) or none (0), with the time they show.
    struct Face {
        int hour { -1 }, minute { -1 }, second { -1 };
        QImage image;
    };
    Face faces[2];
    // Drive readings by the item's `Directorio`.
    QHash<QString, DriveReading> drives;
    std::optional<platform::MemoryStatus> memory;
    // Memory pictures, large (0) and small (1), for `memory`.
    QImage memoryPictures[2];

private:
    TickReadings* m_outer { nullptr };
};

} // namespace tolm::items
