#include "items/ItemIcons.h"

#include "gfx/Bitmaps.h"
#include "gfx/Canvas.h"
#include "platform/DesktopEntry.h"
#include "platform/Platform.h"

#include <QFileInfo>
#include <QPainter>
#include <string>

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

namespace {

// The button picture is drawn in the classic greys; where it is drawn anew
// they become the palette's button face, light and shadow.
void mapClassicGreys(QImage& picture)
{
    const std::pair<QRgb, QRgb> greys[] = {
        { qRgb(0xC0, 0xC0, 0xC0), gfx::toQRgb(gfx::clBtnFace) },
        { qRgb(0xFF, 0xFF, 0xFF), gfx::toQRgb(gfx::clBtnHighlight) },
        { qRgb(0x80, 0x80, 0x80), gfx::toQRgb(gfx::clBtnShadow) },
    };
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            for (const auto& [classic, current] : greys) {
                if ((line[x] | 0xFF000000u) == classic) {
                    line[x] = current;
                    break;
                }
            }
        }
    }
}

QImage composeGlyph(const QImage& icon, bool small, bool followPalette = false)
{
    QImage picture = gfx::bitmap("boton_b").copy();
    if (followPalette)
        mapClassicGreys(picture);
    if (!icon.isNull()) {
        // Icons carry an alpha channel; the button background shows through.
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

} // namespace

QImage launcherGlyph(const QString& iconFile, int index, const QString& command, bool small)
{
    return composeGlyph(findIcon(iconFile, index, command), small);
}

QImage launcherBackground(bool small)
{
    return composeGlyph({}, small, true);
}

QRect launcherIconRect(bool small)
{
    // The 32 x 32 icon at (2, 2) of 36 x 36, scaled by 17/36 on small items.
    return small ? QRect(1, 1, 15, 15) : QRect(2, 2, platform::Icons::iconSize, platform::Icons::iconSize);
}

QIcon launcherIconSource(const QString& iconFile, int index, const QString& command)
{
    platform::Icons& icons = *platform::services().icons;
    QIcon icon;
    if (!iconFile.isEmpty())
        icon = icons.iconSource(iconFile, index);
    if (icon.isNull() && !command.isEmpty())
        icon = icons.associatedIconSource(command);
    return icon;
}

namespace {

bool isDesktopEntryName(const QString& path)
{
    return QFileInfo(path).suffix().compare(u"desktop", Qt::CaseInsensitive) == 0;
}

platform::DesktopEntry desktopEntryAt(const QString& path)
{
    if (!isDesktopEntryName(path))
        return {};
    return platform::DesktopEntry::load(path);
}

} // namespace

QString captionForFile(const QString& path)
{
    const QString name = desktopEntryAt(path).localizedName().trimmed();
    return name.isEmpty() ? fileNamePart(path) : name;
}

QString hintForFile(const QString& path)
{
    // A launcher at the default size shows no caption: its hint names the
    // program before saying what it does.
    const platform::DesktopEntry entry = desktopEntryAt(path);
    const QString name = entry.localizedName().trimmed();
    const QString comment = entry.localizedComment().trimmed();
    if (name.isEmpty())
        return comment.isEmpty() ? path : comment;
    if (comment.isEmpty() || comment == name)
        return name;
    return name + QStringLiteral(" \u2014 ") + comment;
}

QString startFolderForFile(const QString& path)
{
    return isDesktopEntryName(path) ? QString() : folderPart(path);
}

QImage folderGlyph(bool open, bool small)
{
    if (small)
        return gfx::bitmap(open ? "carpeta2_a" : "carpeta2").copy();
    return gfx::bitmap(open ? "carpeta_a" : "carpeta").copy();
}

QImage folderPicture(bool open, bool small, qreal ratio)
{
    const int scale = ratio > 2 ? 3 : 2;
    const std::string name
        = std::string(small ? "carpeta2" : "carpeta") + (open ? "_a_" : "_") + std::to_string(scale) + 'x';
    QImage picture = gfx::iconImage(name);
    picture.setDevicePixelRatio(scale);
    return picture;
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
