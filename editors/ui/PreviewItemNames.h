#pragma once

#include "editors/PreviewItems.h"

#include <array>
#include <string_view>

// The names of the preview's parts as the window's picture names them.

namespace orvane {

inline constexpr std::array<std::string_view, kPreviewItemCount> kPreviewItemNames
    = {"lblSpeedU",
       "LblDepthU",
       "lblRpmU",
       "LblDegU",
       "lblNmea1",
       "lblNmea2",
       "lblNmea3",
       "PicNmea1LArrow",
       "PicNmea2UArrow",
       "PicNmea2DArrow",
       "PicNmea3RArrow",
       "PicUpLeftArrow",
       "PicUpRightArrow",
       "LblOil",
       "LblSpeedLower",
       "LblVdc",
       "LblDepthLower",
       "LblRpmLower",
       "LblFuel",
       "LblTemp",
       "PicDisplay4PointerU",
       "PicDisplay4PointerD",
       "PicDisplay5PointerU",
       "PicDisplay5PointerD",
       "PicDisplay1Blank",
       "PicDisplay2Blank",
       "PicDisplay3Blank",
       "PicDisplay4Blank",
       "PicDisplay5Blank",
       "PicDisplayBarLimitBlank"};

} // namespace orvane
