#include "platform/IcoFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace tolm::platform {

namespace {

constexpr int maxDimension = 1024; // icons are at most 256; leave room, refuse nonsense

quint16 u16(const QByteArray& d, qsizetype at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}

quint32 u32(const QByteArray& d, qsizetype at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

} // namespace

QList<IcoFile::Entry> IcoFile::entries(const QByteArray& data)
{
    if (data.size() < 6 || u16(data, 0) != 0 || (u16(data, 2) != 1 && u16(data, 2) != 2))
        return {};
    const int count = u16(data, 4);
    if (count == 0 || 6 + qint64(count) * 16 > data.size())
        return {};
    QList<Entry> out;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = 6 + qsizetype(i) * 16;
        Entry e;
        e.width = quint8(data.at(at)) ? quint8(data.at(at)) : 256;
        e.height = quint8(data.at(at + 1)) ? quint8(data.at(at + 1)) : 256;
        e.bitCount = u16(data, at + 6);
        e.size = u32(data, at + 8);
        e.offset = u32(data, at + 12);
        out << e;
    }
    return out;
}

QImage IcoFile::decodeDib(const QByteArray& dib)
{
    if (dib.size() < 40)
        return {};
    const quint32 headerSize = u32(dib, 0);
    const qint32 width = qint32(u32(dib, 4));
    const qint32 doubledHeight = qint32(u32(dib, 8));
    const int bitCount = u16(dib, 14);
    const quint32 compression = u32(dib, 16);
    const quint32 colorsUsed = u32(dib, 32);
    if (headerSize < 40 || headerSize > quint32(dib.size()) || width <= 0 || width > maxDimension
        || doubledHeight <= 0 || doubledHeight > 2 * maxDimension)
        return {};
    if (compression != 0 && !(compression == 3 && bitCount == 32))
        return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return {};
    // Some writers store the real height instead of the doubled one.
    const int height = doubledHeight >= 2 ? doubledHeight / 2 : doubledHeight;

    qint64 at = headerSize;
    // Three colour masks follow the short header only; larger headers hold
    // them. Either way we take the usual BGRA layout.
    if (compression == 3 && headerSize == 40)
        at += 12;
    QList<QRgb> palette;
    if (bitCount <= 8) {
        qint64 colors = colorsUsed ? colorsUsed : (1 << bitCount);
        if (colors > 256 || at + colors * 4 > dib.size())
            return {};
        for (qint64 i = 0; i < colors; ++i, at += 4)
            palette << qRgb(quint8(dib.at(at + 2)), quint8(dib.at(at + 1)), quint8(dib.at(at)));
    }
    const qint64 stride = ((qint64(width) * bitCount + 31) / 32) * 4;
    const qint64 maskStride = ((qint64(width) + 31) / 32) * 4;
    if (at + stride * height > dib.size())
        return {};
    const bool hasMask = at + stride * height + maskStride * height <= dib.size();

    QImage img(width, height, QImage::Format_ARGB32);
    if (img.isNull())
        return {};
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const char* row = dib.constData() + at + stride * (height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb px = 0;
            if (bitCount == 32) {
                const auto* p = reinterpret_cast<const quint8*>(row + x * 4);
                px = qRgba(p[2], p[1], p[0], p[3]);
                anyAlpha = anyAlpha || p[3] != 0;
            } else if (bitCount == 24) {
                const auto* p = reinterpret_cast<const quint8*>(row + x * 3);
                px = qRgb(p[2], p[1], p[0]);
            } else {
                const int perByte = 8 / bitCount;
                const quint8 byte = quint8(row[x / perByte]);
                const int shift = (perByte - 1 - x % perByte) * bitCount;
                const int index = (byte >> shift) & ((1 << bitCount) - 1);
                px = index < palette.size() ? palette.at(index) : qRgb(0, 0, 0);
            }
            out[x] = px;
        }
    }
    // 32-bit images carry their own alpha; the mask only matters when the
    // alpha channel is empty (older 32-bit icons) or for fewer colours.
    const bool useMask = hasMask && !(bitCount == 32 && anyAlpha);
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        const char* mask
            = hasMask ? dib.constData() + at + stride * height + maskStride * (height - 1 - y) : nullptr;
        for (int x = 0; x < width; ++x) {
            if (bitCount == 32 && anyAlpha)
                continue;
            const bool transparent = useMask && (quint8(mask[x / 8]) >> (7 - x % 8)) & 1;
            out[x] = transparent ? qRgba(0, 0, 0, 0) : (out[x] | 0xff000000u);
        }
    }
    return img;
}

QImage IcoFile::image(const QByteArray& data, int index)
{
    const QList<Entry> list = entries(data);
    if (index < 0 || index >= list.size())
        return {};
    const Entry& e = list.at(index);
    if (e.size == 0 || qint64(e.offset) + qint64(e.size) > data.size())
        return {};
    QByteArray bytes = data.mid(e.offset, e.size);
    // Qt's own icon reader draws DIBs otherwise than Windows does: it drops the
    // mask of 24- and 32-bit images, reads colour masks as pixels, premultiplies
    // alpha and trusts the directory's size over the image's. So DIBs stay ours.
    // A PNG entry goes to Qt's PNG reader, which tells the size the PNG states
    // before decoding; the icon reader would tell the directory's.
    if (!bytes.startsWith("\x89PNG"))
        return decodeDib(bytes);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader png(&buffer, "png");
    // A few kilobytes can state a picture of many megabytes; refuse it unread.
    const QSize size = png.size();
    if (!size.isValid() || size.width() > maxDimension || size.height() > maxDimension)
        return {};
    const QImage image = png.read();
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_ARGB32);
}

QImage IcoFile::bestImage(const QByteArray& data, int size)
{
    const QList<Entry> list = entries(data);
    int best = -1;
    auto score = [&](const Entry& e) {
        // Exact size first, then the smallest larger, then the largest smaller;
        // among equals the most colours.
        const int w = e.width;
        qint64 rank = w == size ? 3000000 : (w > size ? 2000000 - w * 100 : 1000000 + w * 100);
        return rank + qMin(e.bitCount, 32);
    };
    QImage chosen;
    QList<int> order;
    for (int i = 0; i < list.size(); ++i)
        order << i;
    std::stable_sort(
        order.begin(), order.end(), [&](int a, int b) { return score(list.at(a)) > score(list.at(b)); });
    // A damaged image falls back to the next best one.
    for (int i : order) {
        chosen = image(data, i);
        if (!chosen.isNull()) {
            best = i;
            break;
        }
    }
    if (best < 0)
        return {};
    if (chosen.size() != QSize(size, size))
        chosen = chosen.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return chosen;
}

} // namespace tolm::platform
