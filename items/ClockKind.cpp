#include "items/ClockPicture.h"
#include "items/ItemKinds.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"
#include "platform/DatePicture.h"
#include "platform/LocaleInfo.h"
#include "platform/Platform.h"

namespace tolm::items {

const ClockKind& clockKind()
{
    static const ClockKind kind;
    return kind;
}

void ClockKind::activate(TSpButton& item) const
{
    emit item.calendarRequested();
}

void ClockKind::setUpNew(TSpButton& item) const
{
    // Every option off: a dial with its second hand, the time and the date.
    item.setClockOptions(0);
    item.runPicture();
}

void ClockKind::drawPicture(TSpButton& item) const
{
    clockPicture(item);
}

void ClockKind::drawTile(TSpButton& item) const
{
    item.markDrawWhole();
    clockPicture(item);
}

void ClockKind::drawText(TSpButton& item) const
{
    clockPicture(item);
}

QImage ClockKind::sharpPicture(const TSpButton& item, qreal ratio) const
{
    // The face shows the time of the last tick, as the bitmap does; a small
    // clock squeezes it into 16 x 16.
    const ShelfState& state = ShelfState::get();
    const bool secondsHand = !(item.clockOptions() & TSpButton::kTagNoSeconds);
    const QSize size = item.isSmall() ? QSize(16, 16) : QSize(36, 36);
    return clockFace(state.hour, state.minute, state.second, secondsHand, size, ratio);
}

void ClockKind::refreshOnTick(TSpButton& item, bool full) const
{
    // A text clock is a caption: only a new text is painted.
    if (item.showsTextOnly() && !full)
        item.refreshText();
    else
        repaint(item, full);
    item.announceLabelChange();
}

namespace {

// Whether the clock shows the seconds anywhere: a seconds hand on its face,
// or seconds in its text (which a clock without text still keeps).
bool showsSeconds(const TSpButton& item)
{
    const int options = item.clockOptions();
    if (!(options & TSpButton::kTagTextClock) && !(options & TSpButton::kTagNoSeconds))
        return true;
    if (options & TSpButton::kTagNoTime)
        return false;
    // Every clock of a shelf usually has the same picture; it is compared
    // as it is stored.
    static QString lastPicture;
    static bool lastShows = false;
    const std::string& param = item.storedFields().param;
    const bool same = param.empty() ? platform::services().locale->timeFormat() == lastPicture
                                    : TSpButton::holds(param, lastPicture);
    if (!same || lastPicture.isNull()) {
        lastPicture = param.empty() ? platform::services().locale->timeFormat() : item.Param();
        lastShows = platform::picture::showsSeconds(lastPicture);
    }
    return lastShows;
}

} // namespace

int ClockKind::quietTicks(const TSpButton& item, const QDateTime& now) const
{
    // A dial to be drawn whole, or a clock showing seconds, changes at the
    // next tick. (A text clock draws its text whole whenever it changes.)
    const bool dial = !(item.clockOptions() & TSpButton::kTagTextClock);
    if ((dial && !item.pictureCurrent()) || showsSeconds(item))
        return 0;
    // Everything else it shows (hands, text, hint, date) turns with the minute.
    return 59 - now.time().second();
}

void ClockKind::clearTickFields(store::SpButtonState& state) const
{
    // A text clock's caption is its time; the last minute drawn is in `tag2`.
    if (state.tag & TSpButton::kTagTextClock)
        state.caption.clear();
    state.tag2 = 0;
    clearFigures(state);
}

} // namespace tolm::items
