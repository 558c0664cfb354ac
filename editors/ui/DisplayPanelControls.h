#pragma once

#include "editors/ConfigPanel.h"

#include <array>
#include <string_view>

// The display panel's controls as the main window's form names them, and
// where the NMEA windows open beside each chooser.

namespace orvane {

// A window position in twips from the main window's corner.
struct TwipPosition
{
    int top = 0;
    int left = 0;
};

// Bar fields are empty for the digital displays.
struct DisplayControls
{
    std::string_view description; // names the display in an edit's name
    std::string_view chooser;
    std::string_view lowAlarmLabel;
    std::string_view highAlarmLabel;
    std::string_view lowAlarmButton;
    std::string_view highAlarmButton;
    std::string_view lowerBarLabel;
    std::string_view upperBarLabel;
    TwipPosition nmeaSelector; // frmNmea
    TwipPosition nmeaData;     // frmNmeaData
};

inline constexpr std::array<DisplayControls, kDisplayCount> kDisplayControls = {{
    {"digital display 1",
     "ComboDisplay1",
     "LblDisplay1LowAlarm",
     "LblDisplay1HighAlarm",
     "cmdDD1LoAlarm",
     "cmdDD1HiAlarm",
     "",
     "",
     {1100, 6260},
     {2455, 45}},
    {"digital display 2",
     "ComboDisplay2",
     "LblDisplay2LowAlarm",
     "LblDisplay2HighAlarm",
     "cmdDD2LoAlarm",
     "cmdDD2HiAlarm",
     "",
     "",
     {2615, 6260},
     {3970, 45}},
    {"digital display 3",
     "ComboDisplay3",
     "LblDisplay3LowAlarm",
     "LblDisplay3HighAlarm",
     "cmdDD3LoAlarm",
     "cmdDD3HiAlarm",
     "",
     "",
     {4165, 6260},
     {1750, 45}},
    {"left bar graph",
     "ComboDisplayLeftBar",
     "LblLeftBarLowAlarm",
     "LblLeftBarHighAlarm",
     "cmdDD4LoAlarm",
     "cmdDD4HiAlarm",
     "LblLeftBarLowerLimit",
     "LblLeftBarUpperLimit",
     {5775, 6250},
     {7150, 45}},
    {"right bar graph",
     "ComboDisplayRightBar",
     "LblRightBarLowAlarm",
     "LblRightBarHighAlarm",
     "cmdDD5LoAlarm",
     "cmdDD5HiAlarm",
     "LblRightBarLowerLimit",
     "LblRightBarUpperLimit",
     {8050, 6250},
     {5625, 45}},
}};

inline const DisplayControls &displayControls(Display display)
{
    return kDisplayControls.at(size_t(display));
}

// The fourteen Change buttons.
struct ChangeButton
{
    std::string_view name;
    Display display;
    LimitKind kind;
};

inline constexpr std::array<ChangeButton, 14> kChangeButtons = {{
    {"cmdDD1LoAlarm", Display::Display1, LimitKind::LowAlarm},
    {"cmdDD1HiAlarm", Display::Display1, LimitKind::HighAlarm},
    {"cmdDD2LoAlarm", Display::Display2, LimitKind::LowAlarm},
    {"cmdDD2HiAlarm", Display::Display2, LimitKind::HighAlarm},
    {"cmdDD3LoAlarm", Display::Display3, LimitKind::LowAlarm},
    {"cmdDD3HiAlarm", Display::Display3, LimitKind::HighAlarm},
    {"cmdDD4LoAlarm", Display::LeftBar, LimitKind::LowAlarm},
    {"cmdDD4HiAlarm", Display::LeftBar, LimitKind::HighAlarm},
    {"cmdDD5LoAlarm", Display::RightBar, LimitKind::LowAlarm},
    {"cmdDD5HiAlarm", Display::RightBar, LimitKind::HighAlarm},
    {"cmdDD4LoBar", Display::LeftBar, LimitKind::LowerBar},
    {"cmdDD4HiBar", Display::LeftBar, LimitKind::UpperBar},
    {"cmdDD5LoBar", Display::RightBar, LimitKind::LowerBar},
    {"cmdDD5HiBar", Display::RightBar, LimitKind::UpperBar},
}};

// Ctrl+Alt+Q on this button turns on factory mode.
inline constexpr std::string_view kFactoryKeyButton = "cmdDD4HiBar";

// The check box of each of the twenty icons.
struct IconBox
{
    PreviewItem icon;
    std::string_view name;
};

inline constexpr std::array<IconBox, kIconItemCount> kIconBoxes = {{
    {PreviewItem::PicUpRightArrow, "ChkMidRightArrow"},
    {PreviewItem::PicUpLeftArrow, "ChkMidLeftArrow"},
    {PreviewItem::PicNmea3RArrow, "ChkIconsMiddleNmea3Right"},
    {PreviewItem::lblNmea3, "ChkIconsMiddleNmea3"},
    {PreviewItem::PicNmea2UArrow, "ChkIconsMiddleNmea2Up"},
    {PreviewItem::lblNmea2, "ChkIconsMiddleNmea2"},
    {PreviewItem::PicNmea2DArrow, "ChkIconsMiddleNmea2Down"},
    {PreviewItem::lblNmea1, "ChkIconsMiddleNmea1"},
    {PreviewItem::LblTemp, "ChkIconsLowerRightTemp"},
    {PreviewItem::LblFuel, "ChkIconsLowerRightFuel"},
    {PreviewItem::LblRpmLower, "ChkIconsLowerRightRpm"},
    {PreviewItem::LblDepthLower, "ChkIconsLowerRightDepth"},
    {PreviewItem::LblVdc, "ChkIconsLowerLeftVdc"},
    {PreviewItem::LblSpeedLower, "ChkIconsLowerLeftSpeed"},
    {PreviewItem::LblOil, "ChkIconsLowerLeftOil"},
    {PreviewItem::lblRpmU, "ChkIconsUpperRpm"},
    {PreviewItem::LblDepthU, "ChkIconsUpperDepth"},
    {PreviewItem::lblSpeedU, "ChkIconsUpperSpeed"},
    {PreviewItem::PicNmea1LArrow, "ChkIconsMiddleNmea1Left"},
    {PreviewItem::LblDegU, "ChkIconsUpperDeg"},
}};

} // namespace orvane
