#pragma once

class QWidget;

namespace orvane {

// Gives each "Change" button of the display panel in `window` a one-sentence
// tooltip saying which limit it sets.
void setChangeButtonTips(QWidget &window);

} // namespace orvane
