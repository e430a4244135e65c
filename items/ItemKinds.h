#pragma once

#include "items/ItemKind.h"

namespace tolm::platform {
struct ShellResult;
}

namespace tolm::items {

// Opens its command with its parameters in its start folder.
class LauncherKind : public ItemKind {
public:
    QString menuName() const override { return QStringLiteral("MenuBoton"); }
    bool isTile() const override { return false; }
    void activate(TSpButton& item) const override;
    void setUpNew(TSpButton& item) const override;
    void arrive(TSpButton& item, Arrival how) const override;
    QImage buttonGlyph(const TSpButton& item) const override;
};

// Opens a window of its own, stored in the folder file its command names.
class FolderKind : public ItemKind {
public:
    QString menuName() const override { return QStringLiteral("MenuCarpeta"); }
    bool isTile() const override { return false; }
    void activate(TSpButton& item) const override;
    void setUpNew(TSpButton& item) const override;
    void arrive(TSpButton& item, Arrival how) const override;
    QImage buttonGlyph(const TSpButton& item) const override;
    QImage sharpPicture(const TSpButton& item, qreal ratio) const override;
    QString accessibleLabel(const TSpButton& item) const override;
};

// What clocks, drive and memory tiles share: the timer refreshes them and a
// screen reader names them by their kind and figure.
class TimerTile : public ItemKind {
public:
    bool isTimerDriven() const override { return true; }
    QString accessibleLabel(const TSpButton& item) const override;
    // The drive or memory picture of the last reading at the screen's density.
    QImage sharpPicture(const TSpButton& item, qreal ratio) const override;

protected:
    // The kind's name, as a text to translate in the context "TimerTile".
    explicit TimerTile(const char* name)
        : m_name(name)
    { }
    // The picture drawn again: whole, or only where it changed.
    static void repaint(TSpButton& item, bool full);
    // What all three leave out of a stored item besides their own fields.
    static void clearFigures(store::SpButtonState& state);
    // Drives and memory tiles count down from their refresh period and are
    // refreshed when it runs out, or at every tick while the pointer rests
    // on them.
    void refreshWhenDue(TSpButton& item, bool full) const;
    // The same schedule: the ticks before the countdown runs out are quiet,
    // unless the pointer rests on the tile or the dialog shows it.
    static int ticksUntilDue(const TSpButton& item);
    static void countDown(TSpButton& item, int ticks);

private:
    const char* m_name;
};

// The time as a dial or as text; a click shows the calendar.
class ClockKind : public TimerTile {
public:
    ClockKind()
        : TimerTile(QT_TRANSLATE_NOOP("TimerTile", "Reloj"))
    { }
    QString menuName() const override { return QStringLiteral("MenuReloj"); }
    void activate(TSpButton& item) const override;
    void setUpNew(TSpButton& item) const override;
    void drawPicture(TSpButton& item) const override;
    void drawTile(TSpButton& item) const override;
    void drawText(TSpButton& item) const override;
    QImage sharpPicture(const TSpButton& item, qreal ratio) const override;
    void refreshOnTick(TSpButton& item, bool full) const override;
    int quietTicks(const TSpButton& item, const QDateTime& now) const override;
    void clearTickFields(store::SpButtonState& state) const override;
};

// The free space of a drive; a click opens the drive in the file manager.
class DriveKind : public TimerTile {
public:
    DriveKind()
        : TimerTile(QT_TRANSLATE_NOOP("TimerTile", "Disco"))
    { }
    QString menuName() const override { return QStringLiteral("MenuDisco"); }
    void activate(TSpButton& item) const override;
    void setUpNew(TSpButton& item) const override;
    void arrive(TSpButton& item, Arrival how) const override;
    void drawPicture(TSpButton& item) const override;
    void drawTile(TSpButton& item) const override;
    void drawText(TSpButton& item) const override;
    void refreshOnTick(TSpButton& item, bool full) const override;
    int quietTicks(const TSpButton& item, const QDateTime&) const override { return ticksUntilDue(item); }
    void skipTicks(TSpButton& item, int ticks) const override { countDown(item, ticks); }
    void clearTickFields(store::SpButtonState& state) const override;
};

// The memory load; a click opens the item's properties.
class MemoryKind : public TimerTile {
public:
    MemoryKind()
        : TimerTile(QT_TRANSLATE_NOOP("TimerTile", "Memoria"))
    { }
    QString menuName() const override { return QStringLiteral("MenuMemoria"); }
    void activate(TSpButton& item) const override;
    void setUpNew(TSpButton& item) const override;
    void drawPicture(TSpButton& item) const override;
    void drawTile(TSpButton& item) const override;
    void refreshOnTick(TSpButton& item, bool full) const override;
    int quietTicks(const TSpButton& item, const QDateTime&) const override { return ticksUntilDue(item); }
    void skipTicks(TSpButton& item, int ticks) const override { countDown(item, ticks); }
    void clearTickFields(store::SpButtonState& state) const override;
};

// A tile kept as it was stored: it has no menu, picture or action of its own.
class ResourcesKind : public ItemKind { };

// The one object of each kind.
const LauncherKind& launcherKind();
const FolderKind& folderKind();
const ClockKind& clockKind();
const DriveKind& driveKind();
const MemoryKind& memoryKind();
const ResourcesKind& resourcesKind();

} // namespace tolm::items
