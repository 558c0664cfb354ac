#pragma once

// The switchable parts of the LCD preview, named as the window names them.

namespace orvane {

enum class PreviewItem {
    // Icon words and arrows, one icon bit each.
    lblSpeedU,
    LblDepthU,
    lblRpmU,
    LblDegU,
    lblNmea1,
    lblNmea2,
    lblNmea3,
    PicNmea1LArrow,
    PicNmea2UArrow,
    PicNmea2DArrow,
    PicNmea3RArrow,
    PicUpLeftArrow,
    PicUpRightArrow,
    LblOil,
    LblSpeedLower,
    LblVdc,
    LblDepthLower,
    LblRpmLower,
    LblFuel,
    LblTemp,
    // Bar-graph pointer marks, shown in pointer mode.
    PicDisplay4PointerU,
    PicDisplay4PointerD,
    PicDisplay5PointerU,
    PicDisplay5PointerD,
    // Blank patches over one field at a time.
    PicDisplay1Blank,
    PicDisplay2Blank,
    PicDisplay3Blank,
    PicDisplay4Blank,
    PicDisplay5Blank,
    PicDisplayBarLimitBlank,
    Count
};

constexpr int kPreviewItemCount = int(PreviewItem::Count);
constexpr int kIconItemCount = 20;

} // namespace orvane
