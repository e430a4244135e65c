#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace tolm::platform {

// A Windows icon (.ico) or cursor (.cur) file: one icon drawn at several sizes
// and colour depths. Images are stored as PNG or as a bottom-up DIB (colour
// bits followed by a 1-bit transparency mask). Every size and offset is
// checked against the data before anything is read or allocated.
class IcoFile {
public:
    struct Entry {
        int width { 0 }; // from the directory; 0 there means 256
        int height { 0 };
        int bitCount { 0 };
        quint32 size { 0 };
        quint32 offset { 0 };
    };

    // An empty list for data that is not an icon file.
    static QList<Entry> entries(const QByteArray& data);
    // Image `index` of the directory in ARGB32; null when it cannot be decoded.
    static QImage image(const QByteArray& data, int index);
    // The image that looks best at size x size: that size exactly with the most
    // colours, else the smallest larger one, else the largest; scaled to size.
    static QImage bestImage(const QByteArray& data, int size);

    // Decodes a DIB as stored in icon files (height counts colour and mask).
    static QImage decodeDib(const QByteArray& dib);
};

} // namespace tolm::platform
