#include "gfx/Bitmaps.h"

#include "gfx/Color.h"

#include <QDir>
#include <QHash>
#include <QImageReader>
#include <QList>
#include <QPainter>
#include <QString>
#include <algorithm>

namespace tolm::gfx {

namespace {

// Lower-case name -> resource path, read once from the resource directory.
const QHash<QString, QString>& resourceIndex()
{
    static const QHash<QString, QString> index = [] {
        QHash<QString, QString> result;
        const QDir dir(QStringLiteral(":/bitmaps"));
        for (const QString& file : dir.entryList(QDir::Files)) {
            const QString base = file.left(file.lastIndexOf(QLatin1Char('.')));
            result.insert(base.toLower(), dir.filePath(file));
        }
        return result;
    }();
    return index;
}

// The pictures are all XPM, which Qt reads itself: told so, it does not load
// every image plugin to ask each whether it knows the file.
QImage loadPicture(const QString& path)
{
    QImageReader reader(path, "xpm");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// Pictures drawn on the button face of the palette in use, by name; one is
// made again when the palette has changed the face.
using FaceCache = QHash<QString, std::pair<QRgb, QImage>>;

template <typename Make> QImage onButtonFace(FaceCache& cache, std::string_view name, Make make)
{
    const QString key = QString::fromLatin1(name.data(), qsizetype(name.size())).toLower();
    const QRgb face = toQRgb(clBtnFace);
    const auto cached = cache.constFind(key);
    if (cached != cache.constEnd() && cached->first == face)
        return cached->second;
    QImage image = make(key, face);
    cache.insert(key, { face, image });
    return image;
}

} // namespace

QImage bitmap(std::string_view name)
{
    static FaceCache cache;
    return onButtonFace(cache, name, [](const QString& key, QRgb face) {
        QImage image;
        const auto found = resourceIndex().constFind(key);
        if (found != resourceIndex().constEnd()) {
            const QImage loaded = loadPicture(*found);
            if (!loaded.isNull()) {
                // Transparent pixels (the icons have some) show the button face.
                image = QImage(loaded.size(), QImage::Format_RGB32);
                image.fill(face);
                QPainter painter(&image);
                painter.drawImage(0, 0, loaded);
            }
        }
        return image;
    });
}

std::string scaledName(std::string_view name, int scale)
{
    std::string result(name);
    if (scale != 1)
        result += '_' + std::to_string(scale) + 'x';
    return result;
}

QImage tileBitmap(std::string_view name)
{
    static FaceCache cache;
    return onButtonFace(cache, name, [name](const QString&, QRgb face) {
        QImage image = bitmap(name);
        const QRgb classic = qRgb(0xC0, 0xC0, 0xC0);
        if (face != classic && !image.isNull()) {
            // A fill from every edge pixel of the classic grey, four ways.
            QList<QPoint> todo;
            for (int x = 0; x < image.width(); ++x)
                todo << QPoint(x, 0) << QPoint(x, image.height() - 1);
            for (int y = 0; y < image.height(); ++y)
                todo << QPoint(0, y) << QPoint(image.width() - 1, y);
            while (!todo.isEmpty()) {
                const QPoint p = todo.takeLast();
                if (!image.rect().contains(p) || image.pixel(p) != classic)
                    continue;
                image.setPixel(p, face);
                todo << p + QPoint(1, 0) << p - QPoint(1, 0) << p + QPoint(0, 1) << p - QPoint(0, 1);
            }
        }
        return image;
    });
}

void inkLettersOnFace(QImage& picture, const Rect& place, int scale)
{
    const QRgb face = toQRgb(clBtnFace);
    const QRgb classic = qRgb(0xC0, 0xC0, 0xC0);
    const Rect r = scaled(place, scale);
    for (int y = std::max(0, r.top); y < std::min(r.bottom, picture.height()); ++y) {
        for (int x = std::max(0, r.left); x < std::min(r.right, picture.width()); ++x) {
            const QRgb pixel = picture.pixel(x, y) | 0xFF000000u;
            picture.setPixel(x, y, pixel == face || pixel == classic ? face : readableInk(pixel, face));
        }
    }
}

QImage iconImage(std::string_view name)
{
    const auto found
        = resourceIndex().constFind(QString::fromLatin1(name.data(), qsizetype(name.size())).toLower());
    if (found == resourceIndex().constEnd())
        return {};
    return loadPicture(*found).convertToFormat(QImage::Format_ARGB32);
}

Rect letterRect(char c)
{
    int n = -1;
    if (c >= 'A' && c <= 'Z')
        n = c - 'A';
    else if (c >= 'a' && c <= 'z')
        n = c - 'a';
    if (n < 0)
        return {};
    return { 6 * n, 0, 6 * n + 6, 9 };
}

Rect bigDigitRect(int digit)
{
    if (digit < 0 || digit > 9)
        return {};
    return { 5 * digit, 0, 5 * digit + 5, 11 };
}

namespace {

Rect numRowSpan(NumRow row)
{
    switch (row) {
    case NumRow::Six:
        return { 0, 0, 0, 6 };
    case NumRow::Seven:
        return { 0, 6, 0, 13 };
    case NumRow::Nine:
        break;
    }
    return { 0, 13, 0, 22 };
}

} // namespace

Rect numDigitRect(NumRow row, int digit)
{
    if (digit < 0 || digit > 9)
        return {};
    const Rect span = numRowSpan(row);
    return { 4 * digit, span.top, 4 * digit + 4, span.bottom };
}

Rect numGSignRect(NumRow row)
{
    const Rect span = numRowSpan(row);
    return { 40, span.top, 44, span.bottom };
}

} // namespace tolm::gfx
