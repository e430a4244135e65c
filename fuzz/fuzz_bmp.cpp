// Feeds arbitrary bytes to the BMP reader. Whatever it decodes must be a
// whole picture within its bound, and its own writer's output must read
// back as the same picture.
#include "gfx/Bmp.h"

#include <QImage>
#include <cstdint>
#include <cstdlib>

using namespace tolm::gfx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QImage image = decodeBmp(data, size);
    if (image.isNull())
        return 0;
    if (std::int64_t(image.width()) * image.height() > maxBmpPixels || image.format() != QImage::Format_RGB32)
        std::abort();
    // Small pictures only: writing a large one again teaches the fuzzer nothing.
    if (std::int64_t(image.width()) * image.height() <= 4096 && decodeBmp(encodeBmp(image)) != image)
        std::abort();
    return 0;
}
