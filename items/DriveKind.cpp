#include "gfx/Canvas.h"
#include "items/DrivePicture.h"
#include "items/ItemKinds.h"
#include "items/OpenFailure.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

namespace tolm::items {

const DriveKind& driveKind()
{
    static const DriveKind kind;
    return kind;
}

void DriveKind::activate(TSpButton& item) const
{
    auto* shell = platform::services().shell;
    reportOpenFailure(shell->openFolder(item.Directorio()), itemNotOpened(item));
}

void DriveKind::setUpNew(TSpButton& item) const
{
    item.createPictureCache();
    item.setDirectorio(QStringLiteral("c:\\"));
    item.setRefreshPeriod(8);
    item.markSourceChanged();
    item.runPicture();
}

void DriveKind::arrive(TSpButton& item, Arrival how) const
{
    item.createPictureCache();
    // A loaded tile reads its drive before it draws anything.
    if (how == Arrival::Loaded)
        item.markSourceChanged();
    TimerTile::arrive(item, how);
}

void DriveKind::drawPicture(TSpButton& item) const
{
    diskPicture(item);
}

void DriveKind::drawTile(TSpButton& item) const
{
    if (!item.pictureCurrent()) {
        diskPicture(item);
        return;
    }
    // The last picture is still right; the drive is asked again by the next
    // timer refresh, not by every paint.
    if (item.Tipo() != 0)
        item.drawItemText();
    const QImage* cache = item.pictureCache();
    if (!cache || cache->isNull())
        return;
    gfx::Canvas c(item.surface());
    if (item.isSmall())
        c.draw(1, 1, *cache);
    else if (item.Layout() == store::ButtonLayout::GlyphTop)
        c.draw((item.width() - 36) / 2, 2, *cache);
    else
        c.draw(2, 2, *cache);
}

void DriveKind::drawText(TSpButton& item) const
{
    diskPicture(item);
}

void DriveKind::refreshOnTick(TSpButton& item, bool full) const
{
    refreshWhenDue(item, full);
}

void DriveKind::clearTickFields(store::SpButtonState& state) const
{
    state.tag &= ~TSpButton::kTagDriveTypeMask;
    state.tag2 &= ~TSpButton::kCountdownMask;
    clearFigures(state);
}

} // namespace tolm::items
