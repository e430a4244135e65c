#include "items/ItemKinds.h"

namespace tolm::items {

const ResourcesKind& resourcesKind()
{
    static const ResourcesKind kind;
    return kind;
}

} // namespace tolm::items
