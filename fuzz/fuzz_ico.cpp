// Feeds arbitrary bytes to the .ico reader, as an icon file named by a
// launcher or by a desktop entry's Icon= would reach it: the directory,
// every image in it, the best one for a launcher, and each directory entry
// taken as a bare DIB.
#include "platform/IcoFile.h"

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <cstdlib>

using tolm::platform::IcoFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<IcoFile::Entry> entries = IcoFile::entries(bytes);
    for (int i = 0; i < entries.size() && i < 16; ++i) {
        const QImage image = IcoFile::image(bytes, i);
        if (!image.isNull() && (image.width() > 1024 || image.height() > 1024))
            std::abort(); // no picture larger than an icon is ever made
    }
    const QImage best = IcoFile::bestImage(bytes, 32);
    if (!best.isNull() && best.size() != QSize(32, 32))
        std::abort();
    (void)IcoFile::decodeDib(bytes);
    return 0;
}
