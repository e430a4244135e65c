#include "items/ItemKind.h"

#include "items/ItemKinds.h"
#include "items/ShelfState.h"
#include "items/TSpButton.h"

#include <QFileInfo>

namespace tolm::items {

namespace {

// A `Clase` value written by a later version, or damaged: the item stays on
// its window as it was stored and does nothing.
class UnknownKind final : public ItemKind { };

} // namespace

const ItemKind& kindOf(int clase)
{
    static const UnknownKind unknown;
    switch (static_cast<store::Clase>(clase)) {
    case store::Clase::Normal:
        return launcherKind();
    case store::Clase::Carpeta:
        return folderKind();
    case store::Clase::Reloj:
        return clockKind();
    case store::Clase::Disco:
        return driveKind();
    case store::Clase::Memoria:
        return memoryKind();
    case store::Clase::Recursos:
        return resourcesKind();
    }
    return unknown;
}

void ItemKind::arrive(TSpButton& item, Arrival) const
{
    if (isTimerDriven() && ShelfState::exists())
        ShelfState::get().addTimerItem(&item);
}

QString ItemKind::accessibleLabel(const TSpButton& item) const
{
    // An item showing only its picture still has a caption; one without any
    // is named by its hint, then by what it opens.
    if (!item.Caption().isEmpty())
        return item.Caption();
    if (!item.Hint().isEmpty())
        return item.Hint();
    return QFileInfo(item.Comando()).fileName();
}

} // namespace tolm::items
