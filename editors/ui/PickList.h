#pragma once

#include <span>
#include <string_view>

class QWidget;

namespace orvane {

// Appends `items` to the pick list named `list` in `window`, then selects
// `initialSelection` (-1 selects nothing, leaving the choice to the list's
// owner). Each window fills its own lists this way, once, at start-up.
void fillPickList(QWidget &window,
                  std::string_view list,
                  std::span<const std::string_view> items,
                  int initialSelection);

} // namespace orvane
