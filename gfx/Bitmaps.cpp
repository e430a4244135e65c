#include "gfx/Bitmaps.h"

#include <QDir>
#include <QHash>
#include <QString>

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

} // namespace

QImage bitmap(std::string_view name)
{
    static QHash<QString, QImage> cache;
    const QString key = QString::fromLatin1(name.data(), qsizetype(name.size())).toLower();
    const auto cached = cache.constFind(key);
    if (cached != cache.constEnd())
        return *cached;
    QImage image;
    const auto found = resourceIndex().constFind(key);
    if (found != resourceIndex().constEnd()) {
        image = QImage(*found);
        if (!image.isNull())
            image = image.convertToFormat(QImage::Format_RGB32);
    }
    cache.insert(key, image);
    return image;
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
