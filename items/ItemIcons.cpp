#include "items/ItemIcons.h"

#include "gfx/Bitmaps.h"
#include "gfx/Canvas.h"
#include "platform/Platform.h"

#include <QPainter>

namespace tolm::items {

namespace {

QImage findIcon(const QString& iconFile, int index, const QString& command)
{
    platform::Icons& icons = *platform::services().icons;
    QImage icon;
    if (!iconFile.isEmpty())
        icon = icons.extractIcon(iconFile, index);
    if (icon.isNull() && !command.isEmpty())
        icon = icons.associatedIcon(command).image;
    if (icon.isNull())
        icon = gfx::iconImage("NO_ICON");
    return icon;
}

int lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

} // namespace

QImage launcherGlyph(const QString& iconFile, int index, const QString& command, bool small)
{
    QImage picture = gfx::bitmap("boton_b").copy();
    {
        // Icons carry an alpha channel; the button background shows through.
        const QImage icon = findIcon(iconFile, index, command);
        QPainter painter(&picture);
        painter.drawImage(QRect(2, 2, platform::Icons::iconSize, platform::Icons::iconSize), icon);
    }
    if (!small)
        return picture;
    // The small picture keeps its 18th column from the large one, as resizing
    // a bitmap keeps what lies at its top left.
    QImage glyph = picture.copy(0, 0, 18, 17);
    gfx::Canvas canvas(glyph);
    canvas.stretchBlt({ 0, 0, 17, 17 }, picture, { 0, 0, picture.width(), picture.height() });
    return glyph;
}

QImage folderGlyph(bool open, bool small)
{
    if (small)
        return gfx::bitmap(open ? "carpeta2_a" : "carpeta2").copy();
    return gfx::bitmap(open ? "carpeta_a" : "carpeta").copy();
}

QString fileNamePart(const QString& path)
{
    const int cut = std::max(lastSeparator(path), int(path.lastIndexOf(u':')));
    return path.mid(cut + 1);
}

QString folderPart(const QString& path)
{
    int cut = lastSeparator(path);
    if (cut < 0) {
        // "C:carta.txt": the folder is the drive itself.
        const int colon = path.lastIndexOf(u':');
        return colon < 0 ? QString() : path.left(colon + 1);
    }
    // Doubled separators before the name ("/tmp//a") go with it.
    while (cut > 0 && (path.at(cut - 1) == u'\\' || path.at(cut - 1) == u'/'))
        --cut;
    QString folder = path.left(cut);
    // A root keeps its separator: "/" and "C:\".
    if (folder.isEmpty() || folder.endsWith(u':'))
        folder = path.left(cut + 1);
    return folder;
}

} // namespace tolm::items
