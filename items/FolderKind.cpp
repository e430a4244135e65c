#include "items/ItemIcons.h"
#include "items/ItemKinds.h"
#include "items/TSpButton.h"

#include <QCoreApplication>

namespace tolm::items {

const FolderKind& folderKind()
{
    static const FolderKind kind;
    return kind;
}

void FolderKind::activate(TSpButton& item) const
{
    emit item.folderOpenRequested(&item);
}

void FolderKind::setUpNew(TSpButton& item) const
{
    item.setMargin(1);
    item.setCaption(QCoreApplication::translate("FolderKind", "Carpeta Nueva"));
    item.setHint(QCoreApplication::translate("FolderKind", "Carpeta"));
    item.setFolderOpen(false);
    item.setShowsIcon(true);
    item.setAutorun(false);
    item.refreshGlyph();
}

void FolderKind::arrive(TSpButton& item, Arrival how) const
{
    if (how != Arrival::Loaded)
        return;
    // A folder cut and not pasted when the file was written comes back usable.
    item.setEnabled(true);
    // A folder stored open opens again with its window.
    if (item.folderOpen() || item.Autorun())
        item.activate();
}

QImage FolderKind::buttonGlyph(const TSpButton& item) const
{
    return folderGlyph(item.folderOpen(), item.isSmall());
}

QImage FolderKind::sharpPicture(const TSpButton& item, qreal ratio) const
{
    // A folder keeps any picture its file brought; only ours has finer copies.
    const bool small = item.isSmall();
    if (item.Glyph() != folderGlyph(item.folderOpen(), small))
        return {};
    return folderPicture(item.folderOpen(), small, ratio);
}

QString FolderKind::accessibleLabel(const TSpButton& item) const
{
    if (item.Caption().isEmpty() && item.Hint().isEmpty())
        return QCoreApplication::translate("FolderKind", "Carpeta");
    return ItemKind::accessibleLabel(item);
}

} // namespace tolm::items
