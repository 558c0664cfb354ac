#pragma once

#include "transfer/TransferCategories.h"

#include <QString>

namespace orvane {

// One sentence for each category box of the warning dialog: what a tick
// lets the transfer overwrite.
QString categoryTip(Category category);

} // namespace orvane
