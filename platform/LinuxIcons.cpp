#include "platform/LinuxIcons.h"

#include "platform/DesktopEntry.h"
#include "platform/Drives.h"
#include "platform/IcoFile.h"
#include "platform/Log.h"
#include "platform/OutsideFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>

namespace tolm::platform {

namespace {

QImage fitted(const QImage& source)
{
    if (source.isNull())
        return {};
    if (source.size() == QSize(Icons::iconSize, Icons::iconSize))
        return source.convertToFormat(QImage::Format_ARGB32);
    QImage out(Icons::iconSize, Icons::iconSize, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const QImage scaled
        = source.scaled(Icons::iconSize, Icons::iconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter p(&out);
    p.drawImage((Icons::iconSize - scaled.width()) / 2, (Icons::iconSize - scaled.height()) / 2, scaled);
    return out;
}

QByteArray readIconFile(const QString& path)
{
    FileBytes file = readOutsideFile(path, kIconFileKind);
    // A missing file is an icon gone, said enough by the icon it falls back to.
    using Reason = files::Refusal::Reason;
    if (file.refusal
        && (file.refusal->reason == Reason::NotRegular || file.refusal->reason == Reason::TooLarge))
        qCWarning(lcPlatform, "icon: %s", file.refusal->text.c_str());
    return std::move(file.bytes);
}

// An image file decoded at most `maxSide` pixels wide and high. Its bytes
// are read first, as any icon file's: Qt's reader, handed the path, would
// open a FIFO and wait for a writer.
QImage readBoundedImage(const QString& path, int maxSide)
{
    QByteArray bytes = readIconFile(path);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // Known by its content, as the name's suffix may lie.
    QImageReader reader(&buffer);
    if (!reader.canRead())
        return {};
    const QSize size = reader.size();
    // Refuse huge pictures before decoding them; an icon needs few pixels.
    if (size.isValid() && qint64(size.width()) * size.height() > 4096 * 4096)
        return {};
    if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
        reader.setScaledSize(size.scaled(maxSide, maxSide, Qt::KeepAspectRatio));
    return reader.read();
}

QImage readImageFile(const QString& path)
{
    return fitted(readBoundedImage(path, Icons::iconSize));
}

bool isIcoFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"ico" || suffix == u"cur";
}

// A theme icon is named without a folder; a name with one would have the
// theme look outside its own folders.
bool isThemeName(const QString& name)
{
    return !name.contains(u'/');
}

// The largest picture a source keeps: 32 logical pixels drawn at a pixel
// ratio of 8 is sharper than any screen needs.
constexpr int maxSourceSize = 256;

bool hasGui()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// The theme is chosen once, before the first icon is looked up in it.
void chooseThemeOnce()
{
    static bool chosen = false;
    if (chosen || !hasGui())
        return;
    chosen = true;
    LinuxIcons::useFallbackThemeIfNone(LinuxIcons::iconFolders());
}

QIcon imageSource(const QString& path)
{
    const QImage image = readBoundedImage(path, maxSourceSize);
    if (image.isNull())
        return {};
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

QIcon icoSource(const QString& path)
{
    const QByteArray data = readIconFile(path);
    QIcon icon;
    for (int i = 0; i < IcoFile::entries(data).size(); ++i) {
        const QImage image = IcoFile::image(data, i);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

// The [Default Applications] (or other group's) entries for a type across
// the mimeapps.list files, most important file first.
QStringList mimeappsEntries(const QString& group, const QString& mimeType)
{
    QStringList files;
    const QStringList desktops
        = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        for (const QString& desktop : desktops)
            files << dir + u'/' + desktop + QStringLiteral("-mimeapps.list");
        files << dir + QStringLiteral("/mimeapps.list");
    }
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        for (const QString& desktop : desktops)
            files << dir + u'/' + desktop + QStringLiteral("-mimeapps.list");
        files << dir + QStringLiteral("/mimeapps.list");
    }
    QStringList out;
    for (const QString& file : files) {
        if (!QFileInfo::exists(file))
            continue;
        const DesktopEntry groupLines = DesktopEntry::parse([&] {
            // Re-use the key=value reader by presenting the wanted group as
            // the entry group.
            QByteArray text = readOutsideFile(file, kApplicationListKind).bytes;
            text.replace("[Desktop Entry]", "[Ignored Entry]");
            text.replace("[" + group.toUtf8() + "]", "[Desktop Entry]");
            return text;
        }());
        out << groupLines.value(mimeType).split(u';', Qt::SkipEmptyParts);
    }
    return out;
}

QString desktopFileForId(const QString& id)
{
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QString direct = dir + u'/' + id;
        if (QFileInfo::exists(direct))
            return direct;
        // "kde-foo.desktop" may live in applications/kde/foo.desktop.
        QString nested = id;
        nested.replace(u'-', u'/');
        if (QFileInfo::exists(dir + u'/' + nested))
            return dir + u'/' + nested;
    }
    return {};
}

} // namespace

LinuxIcons::LinuxIcons(Drives* drives)
    : m_drives(drives)
{ }

QString LinuxIcons::localPath(const QString& file) const
{
    if (file.isEmpty())
        return {};
    if (m_drives)
        return m_drives->localPath(file);
    return file;
}

QStringList LinuxIcons::fallbackThemes()
{
    return { QStringLiteral("Adwaita"), QStringLiteral("breeze"), QStringLiteral("Papirus"),
        QStringLiteral("elementary"), QStringLiteral("oxygen"), QStringLiteral("gnome"),
        QStringLiteral("Tango") };
}

QString LinuxIcons::firstInstalledTheme(const QStringList& iconDirs)
{
    for (const QString& theme : fallbackThemes()) {
        for (const QString& dir : iconDirs) {
            if (QFileInfo::exists(dir + u'/' + theme + QStringLiteral("/index.theme")))
                return theme;
        }
    }
    return {};
}

QString LinuxIcons::useFallbackThemeIfNone(const QStringList& iconDirs)
{
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != u"hicolor")
        return current;
    const QString theme = firstInstalledTheme(iconDirs);
    if (theme.isEmpty())
        return current;
    // Qt looks for themes in its own search path; make sure it holds the
    // folder the theme was found in.
    QStringList searchPaths = QIcon::themeSearchPaths();
    for (const QString& dir : iconDirs) {
        if (!searchPaths.contains(dir))
            searchPaths << dir;
    }
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(theme);
    QIcon::setFallbackThemeName(theme);
    return theme;
}

QStringList LinuxIcons::iconFolders()
{
    QStringList dirs { QDir::homePath() + QStringLiteral("/.icons") };
    dirs << QStandardPaths::locateAll(
        QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory);
    return dirs;
}

// An icon the theme lacks may still lie, by its bare name, in a pixmaps
// folder, where older programs put theirs.
static QString pixmapsFile(const QString& name)
{
    for (const QString& dir : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
             QStringLiteral("pixmaps"), QStandardPaths::LocateDirectory)) {
        for (const char* ext : { ".png", ".xpm", ".svg" }) {
            const QString path = dir + u'/' + name + QLatin1String(ext);
            if (QFileInfo::exists(path))
                return path;
        }
    }
    return {};
}

QIcon LinuxIcons::themeIconSource(const QString& name)
{
    if (name.isEmpty() || !hasGui())
        return {};
    if (QDir::isAbsolutePath(name))
        return isIcoFile(name) ? icoSource(name) : imageSource(name);
    if (!isThemeName(name))
        return {};
    chooseThemeOnce();
    const QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull())
        return icon;
    const QString path = pixmapsFile(name);
    return path.isEmpty() ? QIcon() : imageSource(path);
}

QImage LinuxIcons::themeIcon(const QString& name)
{
    if (name.isEmpty())
        return {};
    if (QDir::isAbsolutePath(name))
        return isIcoFile(name) ? IcoFile::bestImage(readIconFile(name), iconSize) : readImageFile(name);
    if (!isThemeName(name))
        return {};
    if (hasGui()) {
        chooseThemeOnce();
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull()) {
            const QPixmap pixmap = icon.pixmap(QSize(iconSize, iconSize));
            if (!pixmap.isNull())
                return fitted(pixmap.toImage());
        }
    }
    const QString path = pixmapsFile(name);
    return path.isEmpty() ? QImage() : readImageFile(path);
}

QImage LinuxIcons::iconOf(const QString& local) const
{
    const QFileInfo info(local);
    if (local.isEmpty() || !info.isFile())
        return {};
    if (isIcoFile(local))
        return IcoFile::bestImage(readIconFile(local), iconSize);
    if (info.suffix().compare(u"desktop", Qt::CaseInsensitive) == 0)
        return themeIcon(DesktopEntry::load(local).icon());
    return readImageFile(local);
}

QIcon LinuxIcons::sourceOf(const QString& local) const
{
    const QFileInfo info(local);
    if (local.isEmpty() || !info.isFile() || !hasGui())
        return {};
    if (isIcoFile(local))
        return icoSource(local);
    if (info.suffix().compare(u"desktop", Qt::CaseInsensitive) == 0)
        return themeIconSource(DesktopEntry::load(local).icon());
    return imageSource(local);
}

QIcon LinuxIcons::iconSource(const QString& file, int index)
{
    if (index != 0)
        return {};
    return sourceOf(localPath(file));
}

int LinuxIcons::iconCount(const QString& file)
{
    return iconOf(localPath(file)).isNull() ? 0 : 1;
}

QImage LinuxIcons::extractIcon(const QString& file, int index)
{
    if (index != 0)
        return {};
    return iconOf(localPath(file));
}

QString LinuxIcons::defaultApplicationFor(const QString& mimeType)
{
    const QMimeDatabase db;
    QStringList types { mimeType };
    types << db.mimeTypeForName(mimeType).allAncestors();
    // A default the user chose for a parent type ("text/plain" for C
    // sources) outranks a program that merely registered itself for the
    // subtype, so every chosen default is tried before any registration.
    for (const QString& type : types) {
        for (const QString& id : mimeappsEntries(QStringLiteral("Default Applications"), type)) {
            const QString path = desktopFileForId(id);
            if (!path.isEmpty())
                return path;
        }
    }
    for (const QString& type : types) {
        for (const QString& id : mimeappsEntries(QStringLiteral("Added Associations"), type)) {
            const QString path = desktopFileForId(id);
            if (!path.isEmpty())
                return path;
        }
        for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
            const DesktopEntry cache = DesktopEntry::parse(
                readOutsideFile(dir + QStringLiteral("/mimeinfo.cache"), kApplicationListKind)
                    .bytes.replace("[MIME Cache]", "[Desktop Entry]"));
            for (const QString& id : cache.value(type).split(u';', Qt::SkipEmptyParts)) {
                const QString path = desktopFileForId(id);
                if (!path.isEmpty())
                    return path;
            }
        }
    }
    return {};
}

QString LinuxIcons::applicationFor(const QString& local, const QString& mimeType)
{
    if (QFileInfo(local).isDir())
        return {};
    const QMimeDatabase db;
    const QMimeType type = db.mimeTypeForName(mimeType);
    const bool program = type.inherits(QStringLiteral("application/x-executable"))
        || type.inherits(QStringLiteral("application/x-sharedlib"))
        || type.inherits(QStringLiteral("application/x-shellscript"));
    if (program)
        return {};
    auto cached = m_applicationByMime.constFind(mimeType);
    if (cached == m_applicationByMime.constEnd())
        cached = m_applicationByMime.insert(mimeType, defaultApplicationFor(mimeType));
    return cached.value();
}

namespace {

QMimeType typeOf(const QString& local)
{
    const QMimeDatabase db;
    return QFileInfo::exists(local) ? db.mimeTypeForFile(local)
                                    : db.mimeTypeForFile(local, QMimeDatabase::MatchExtension);
}

} // namespace

namespace {

// A desktop entry is an application, not a document: its icon is its own
// Icon= or none. The icon of the program that opens .desktop files, or of
// their MIME type, would show another program's face on its launcher.
bool isDesktopEntry(const QString& local)
{
    return QFileInfo(local).suffix().compare(u"desktop", Qt::CaseInsensitive) == 0;
}

} // namespace

AssociatedIcon LinuxIcons::associatedIcon(const QString& file)
{
    AssociatedIcon result { {}, file, 0 };
    const QString local = localPath(file);
    if (local.isEmpty())
        return result;
    // A file with icons of its own is its own answer.
    result.image = iconOf(local);
    if (!result.image.isNull() || isDesktopEntry(local))
        return result;

    const QMimeType type = typeOf(local);
    if (!type.isValid())
        return result;
    const QString application = applicationFor(local, type.name());
    if (!application.isEmpty()) {
        const QImage image = iconOf(application);
        if (!image.isNull())
            return { image, application, 0 };
    }
    result.image = themeIcon(type.iconName());
    if (result.image.isNull())
        result.image = themeIcon(type.genericIconName());
    return result;
}

QIcon LinuxIcons::associatedIconSource(const QString& file)
{
    const QString local = localPath(file);
    if (local.isEmpty())
        return {};
    QIcon icon = sourceOf(local);
    if (!icon.isNull() || isDesktopEntry(local))
        return icon;
    const QMimeType type = typeOf(local);
    if (!type.isValid())
        return {};
    const QString application = applicationFor(local, type.name());
    if (!application.isEmpty()) {
        icon = sourceOf(application);
        if (!icon.isNull())
            return icon;
    }
    icon = themeIconSource(type.iconName());
    return icon.isNull() ? themeIconSource(type.genericIconName()) : icon;
}

} // namespace tolm::platform
