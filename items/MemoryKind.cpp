#include "items/ItemKinds.h"
#include "items/MemoryPicture.h"
#include "items/TSpButton.h"

namespace tolm::items {

const MemoryKind& memoryKind()
{
    static const MemoryKind kind;
    return kind;
}

void MemoryKind::activate(TSpButton& item) const
{
    emit item.propertiesRequested(&item);
}

void MemoryKind::setUpNew(TSpButton& item) const
{
    item.setRefreshPeriod(2);
    item.markDrawWhole();
    item.runPicture();
}

void MemoryKind::drawPicture(TSpButton& item) const
{
    memoryPicture(item);
}

void MemoryKind::drawTile(TSpButton& item) const
{
    item.markDrawWhole();
    memoryPicture(item);
}

void MemoryKind::refreshOnTick(TSpButton& item, bool full) const
{
    refreshWhenDue(item, full);
}

void MemoryKind::clearTickFields(store::SpButtonState& state) const
{
    state.tag2 &= ~TSpButton::kCountdownMask;
    clearFigures(state);
}

} // namespace tolm::items
