#include "items/ItemHooks.h"

namespace tolm::items {

ItemHooks& hooks()
{
    static ItemHooks instance {
        [] {},
        [](TSpButton*) {},
        [](QWidget*) {},
    };
    return instance;
}

} // namespace tolm::items
