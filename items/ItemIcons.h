#pragma once

#include <QIcon>
#include <QImage>
#include <QRect>
#include <QString>

namespace tolm::items {

// The picture of a launcher: its icon at (2, 2) on the "boton_b" background,
// 36 x 36; on small items the whole of it scaled into the 17 x 17 square of an
// 18 x 17 picture. The icon is icon number `index` of `iconFile`, else the
// icon associated with `command`, else our own "NO_ICON".
QImage launcherGlyph(const QString& iconFile, int index, const QString& command, bool small);

// The same picture without its icon, in the palette's button colours, and
// where the icon lies in it: a launcher whose icon source still resolves is
// drawn from that source, at the screen's pixel density, over this background.
QImage launcherBackground(bool small);
QRect launcherIconRect(bool small);
// Where a launcher's icon comes from, in the order launcherGlyph() looks;
// null when nothing resolves any more.
QIcon launcherIconSource(const QString& iconFile, int index, const QString& command);

// The caption and hint of a launcher made for a dropped file: a desktop
// entry's Name, and its Name and Comment ("Editor — Edits text"), in the
// program's language; else the file's name and its path.
QString captionForFile(const QString& path);
QString hintForFile(const QString& path);
// The start folder kept by a launcher made for a dropped file: the file's
// folder, and none for a desktop entry, whose program then starts where
// the entry says or in the user's home.
QString startFolderForFile(const QString& path);

// The picture of a folder: closed or open, 36 x 36 or 18 x 17.
QImage folderGlyph(bool open, bool small);
// The same folder drawn at twice or three times the size (the nearest one
// above `ratio`, down to twice), transparent around it, with its ratio set.
QImage folderPicture(bool open, bool small, qreal ratio);

// The parts of a dropped path as a launcher keeps them. The name is what
// follows the last "\", "/" or ":"; the folder loses its trailing separator
// except at a root ("C:\", "/"), which keeps it.
QString fileNamePart(const QString& path);
QString folderPart(const QString& path);

} // namespace tolm::items
