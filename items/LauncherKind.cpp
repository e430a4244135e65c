#include "items/ItemIcons.h"
#include "items/ItemKinds.h"
#include "items/OpenFailure.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

namespace tolm::items {

const LauncherKind& launcherKind()
{
    static const LauncherKind kind;
    return kind;
}

void LauncherKind::activate(TSpButton& item) const
{
    auto* shell = platform::services().shell;
    reportOpenFailure(shell->open(item.Comando(), item.Param(), item.Directorio(),
                          static_cast<platform::ShowState>(item.Run())),
        itemNotOpened(item));
}

void LauncherKind::setUpNew(TSpButton& item) const
{
    item.setIconIndex(0);
    item.setShowsIcon(false);
}

void LauncherKind::arrive(TSpButton& item, Arrival how) const
{
    if (how == Arrival::Loaded && item.Autorun())
        item.activate();
}

QImage LauncherKind::buttonGlyph(const TSpButton& item) const
{
    return launcherGlyph(item.FichIcono(), item.iconIndex(), item.Comando(), item.isSmall());
}

} // namespace tolm::items
