#include "items/ItemHooks.h"

namespace tolm::items {

ItemHooks& hooks()
{
    static ItemHooks instance {
        [] {},
        [](TSpButton*) {},
        [](QWidget*) {},
        [](TSpButton*, const DriveReport&) {},
        [](TSpButton*, const MemoryReport&) {},
    };
    return instance;
}

} // namespace tolm::items
