// Feeds arbitrary bytes to the whole-file readers the window loader and the
// folder deletion use.
#include "store/ShelfFile.h"

#include <cstdlib>

using namespace tolm::store;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    std::size_t whole = 0;
    try {
        const ShelfFile file = parseShelf(bytes);
        if (serializeShelf(file) != std::vector<std::uint8_t>(data, data + size))
            std::abort();
        whole = file.items.size();
    } catch (const StreamError&) { }
    try {
        ShelfReader reader(bytes);
        if (reader.magicMatches()) {
            readFontDialog(reader.nextRecord());
            std::size_t items = 0;
            while (!reader.atEnd()) {
                const std::size_t before = reader.position();
                Record record;
                try {
                    record = reader.nextRecord();
                } catch (const StreamError& e) {
                    if (reader.position() != before)
                        std::abort(); // a failed record must not move the reader
                    if (e.offset() < before || e.offset() > size)
                        std::abort();
                    // Items are checked as they are read, so any of the four.
                    const std::string message = e.what();
                    if (message != kInvalidStreamFormat && message != kInvalidPropertyValue
                        && message != kPropertyDoesNotExist && message != kInvalidPropertyPath)
                        std::abort();
                    break;
                }
                try {
                    readSpButton(record);
                } catch (const StreamError&) { }
                ++items;
            }
            (void)items;
        }
    } catch (const StreamError&) { }
    const FolderScan scan = scanFolderFiles(bytes);
    if (scan.error && scan.error->offset() > size)
        std::abort();
    (void)whole;
    return 0;
}
