#include "app/PickLists.h"

#include <algorithm>

namespace orvane::picklists {

const PickListFill *fillFor(std::string_view control)
{
    const auto found = std::find_if(kFillOrder.begin(), kFillOrder.end(), [&](const auto &fill) {
        return fill.control == control;
    });
    return found == kFillOrder.end() ? nullptr : &*found;
}

std::optional<std::string_view> itemAt(Items items, int position)
{
    if (position < 0 || size_t(position) >= items.size())
        return std::nullopt;
    return items[size_t(position)];
}

int positionForStoredValue(Items items, int storedValue)
{
    const int position = storedValue - 1;
    return itemAt(items, position) ? position : -1;
}

std::optional<std::string_view> textForStoredValue(Items items, int storedValue)
{
    return itemAt(items, storedValue - 1);
}

} // namespace orvane::picklists
