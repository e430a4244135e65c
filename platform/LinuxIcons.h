#pragma once

#include "platform/Icons.h"

#include <QHash>

namespace tolm::platform {

class Drives;

// Icons of .ico/.cur files (one icon each, drawn from the best of its
// sizes), of image files, of .desktop files (their Icon= through the icon
// theme) and, for a document, of the application that opens it or of its
// MIME type.
class LinuxIcons : public Icons {
public:
    // `drives` maps Windows drive roots in file names; may be null.
    explicit LinuxIcons(Drives* drives = nullptr);

    int iconCount(const QString& file) override;
    QImage extractIcon(const QString& file, int index) override;
    AssociatedIcon associatedIcon(const QString& file) override;
    QIcon iconSource(const QString& file, int index) override;
    QIcon associatedIconSource(const QString& file) override;

    // The .desktop file of the application that opens `mimeType` by default,
    // from the mimeapps.list files and the desktop database; empty when none.
    static QString defaultApplicationFor(const QString& mimeType);
    // An icon name of the theme, an absolute image path, or a pixmaps name,
    // drawn at 32 x 32; null when nothing draws.
    static QImage themeIcon(const QString& name);
    // The same name as a source that draws at any size; null when nothing draws.
    static QIcon themeIconSource(const QString& name);

    // Icon themes tried, in order, when the platform names none: the default
    // themes of the common desktops, then older ones that are still packaged.
    static QStringList fallbackThemes();
    // The first of fallbackThemes() with an index.theme in one of `iconDirs`;
    // empty when none is installed.
    static QString firstInstalledTheme(const QStringList& iconDirs);
    // Without a desktop environment Qt only knows "hicolor", which holds few
    // icons; then the first installed fallback theme becomes the theme.
    // Returns the theme in use afterwards.
    static QString useFallbackThemeIfNone(const QStringList& iconDirs);
    // ~/.icons and the icons folders of the XDG data folders.
    static QStringList iconFolders();

private:
    QString localPath(const QString& file) const;
    QImage iconOf(const QString& localFile) const;
    QIcon sourceOf(const QString& localFile) const;
    // The .desktop file of the application for a document's type, if any.
    QString applicationFor(const QString& localFile, const QString& mimeType);

    Drives* m_drives { nullptr };
    QHash<QString, QString> m_applicationByMime; // looked up once per type
};

} // namespace tolm::platform
