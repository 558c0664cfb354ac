#pragma once

#include "config/ConfigDocument.h"
#include "editors/DisplayEncoding.h"
#include "editors/EditorState.h"
#include "editors/IconBits.h"
#include "editors/InstrumentPreview.h"
#include "editors/LimitValues.h"
#include "platform/Platform.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The display configuration panel without its widgets: what each button,
// chooser and check box does to the image, and what the window must show
// afterwards.

namespace orvane {

// A window position in twips.
struct TwipPosition
{
    int top = 0;
    int left = 0;
};

// The controls of one display frame and where the NMEA windows open next to
// its chooser. Bar fields are empty for the digital displays.
struct DisplayControls
{
    std::string_view frame;
    std::string_view chooser;
    int sourceByte;
    std::string_view dataSourceLabel;
    std::string_view lowAlarmLabel;
    std::string_view highAlarmLabel;
    std::string_view lowAlarmButton;
    std::string_view highAlarmButton;
    std::string_view lowerBarLabel;
    std::string_view upperBarLabel;
    std::string_view lowerBarButton;
    std::string_view upperBarButton;
    PreviewItem blank; // the preview patch that blinks while the chooser has the focus
    TwipPosition nmeaSelector;
    TwipPosition nmeaData;
};

inline constexpr std::array<DisplayControls, kDisplayCount> kDisplayControls = {{
    {"FraDisplay1",
     "ComboDisplay1",
     28,
     "LblDisplay1DataSource",
     "LblDisplay1LowAlarm",
     "LblDisplay1HighAlarm",
     "cmdDD1LoAlarm",
     "cmdDD1HiAlarm",
     "",
     "",
     "",
     "",
     PreviewItem::PicDisplay1Blank,
     {1100, 6260},
     {2455, 45}},
    {"FraDisplay2",
     "ComboDisplay2",
     48,
     "LblDisplay2DataSource",
     "LblDisplay2LowAlarm",
     "LblDisplay2HighAlarm",
     "cmdDD2LoAlarm",
     "cmdDD2HiAlarm",
     "",
     "",
     "",
     "",
     PreviewItem::PicDisplay2Blank,
     {2615, 6260},
     {3970, 45}},
    {"FraDisplay3",
     "ComboDisplay3",
     68,
     "LblDisplay3DataSource",
     "LblDisplay3LowAlarm",
     "LblDisplay3HighAlarm",
     "cmdDD3LoAlarm",
     "cmdDD3HiAlarm",
     "",
     "",
     "",
     "",
     PreviewItem::PicDisplay3Blank,
     {4165, 6260},
     {1750, 45}},
    {"FraDisplayLeftBar",
     "ComboDisplayLeftBar",
     88,
     "LblLeftBarDataSource",
     "LblLeftBarLowAlarm",
     "LblLeftBarHighAlarm",
     "cmdDD4LoAlarm",
     "cmdDD4HiAlarm",
     "LblLeftBarLowerLimit",
     "LblLeftBarUpperLimit",
     "cmdDD4LoBar",
     "cmdDD4HiBar",
     PreviewItem::PicDisplay4Blank,
     {5775, 6250},
     {7150, 45}},
    {"FraDisplayRightBar",
     "ComboDisplayRightBar",
     108,
     "LblRightBarDataSource",
     "LblRightBarLowAlarm",
     "LblRightBarHighAlarm",
     "cmdDD5LoAlarm",
     "cmdDD5HiAlarm",
     "LblRightBarLowerLimit",
     "LblRightBarUpperLimit",
     "cmdDD5LoBar",
     "cmdDD5HiBar",
     PreviewItem::PicDisplay5Blank,
     {8050, 6250},
     {5625, 45}},
}};

inline const DisplayControls &displayControls(Display display)
{
    return kDisplayControls.at(size_t(display));
}

inline bool isBar(Display display)
{
    return display == Display::LeftBar || display == Display::RightBar;
}

// Panel state the main window keeps between events. The NMEA values it
// shares with the NMEA windows live in the editor state.
struct PanelState
{
    std::array<bool, kDisplayCount> chooserHasFocus{};
    std::array<bool, kDisplayCount> blankVisible{};
};

// --- configuration buttons --------------------------------------------------

struct ConfigCaptions
{
    std::string fraData;
    std::string cmdResetCurrentConfig;
    std::string cmdSetCurrentConfig;
    std::string cmdClearConfig;
};

ConfigCaptions captionsForConfig(int config);

// Limit labels and alarm button states of the five displays.
struct DisplayLabels
{
    std::string lowAlarm;
    std::string highAlarm;
    bool alarmButtonsEnabled = false;
    std::string lowerBar; // bars only
    std::string upperBar; // bars only
};

struct AlarmAndLimitLabels
{
    std::array<DisplayLabels, kDisplayCount> displays;

    const DisplayLabels &of(Display display) const { return displays.at(size_t(display)); }
};

// The labels for the data sources of the current configuration. The bar
// buttons are always enabled.
AlarmAndLimitLabels ShowAlarmAndLimits(const ConfigImage &image);

struct ConfigChoice
{
    int config = 1;
    ConfigCaptions captions;
    PreviewModel preview; // also says: show fraData, hide both NMEA windows
    AlarmAndLimitLabels labels;
};

// Button CmdConf1(buttonIndex), 0..15: edit configuration buttonIndex + 1.
// Another index is a programming error: checked, and the configuration being
// edited is shown again.
ConfigChoice ChooseConfiguration(ConfigDocument &document, EditorState &editor, int buttonIndex);

// --- all icons on or off ------------------------------------------------------

// Both ask first (beep, Yes/No question) and return the new icon flags, or
// nothing when the user answered No.
std::optional<IconFlags> ClearAllIcons(ConfigDocument &document, UserDialogs &dialogs);
std::optional<IconFlags> SetAllIcons(ConfigDocument &document, UserDialogs &dialogs);

// A tick or untick of one icon box. `boxes` are all twenty boxes as they now
// stand (the clicked one included); the icon's whole byte is rewritten from
// them, and the icon's preview item shows exactly when its box is ticked.
void IconBoxClicked(ConfigDocument &document, const IconFlags &boxes, PreviewItem icon);

// --- data source choosers -------------------------------------------------------

// Where the NMEA sentence selector opens and what it preselects.
struct NmeaSelectorRequest
{
    TwipPosition selector; // frmNmea
    TwipPosition data;     // frmNmeaData
    int settingsIndex = 68;
    int inputNumber = 1;
    // List positions to select in cmbNmeaTalker, cmbNmeaID, cmdNmeaCommas;
    // -1 selects nothing (stored 0, or a value past the list).
    int talkerPosition = -1;
    int sentencePosition = -1;
    int commasPosition = -1;
};

struct SourceChoice
{
    uint8_t storedCode = 0;
    PreviewModel preview;
    AlarmAndLimitLabels labels;
    // Set for the eight NMEA inputs: show frmNmea (not modal) there.
    // Empty: hide frmNmea and frmNmeaData.
    std::optional<NmeaSelectorRequest> nmea;
};

// The user picked list position `position` (-1: nothing) in a chooser.
SourceChoice
ChooseDataSource(ConfigDocument &document, EditorState &editor, Display display, int position);

// Chooser focus and the half-second blink of the focused display's field.
void chooserFocusChanged(PanelState &panel, Display display, bool hasFocus);
void blinkTick(PanelState &panel);

// --- the fourteen Change buttons ------------------------------------------------------

enum class LimitKind { LowAlarm, HighAlarm, LowerBar, UpperBar };

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

inline constexpr std::string_view kChangeValueTitle = "Enter Value";

struct LimitChange
{
    bool stored = false;
    // All limit labels after the change (an alarm limit may show on other
    // displays too); only meaningful when stored.
    AlarmAndLimitLabels labels;
};

// Asks for the new value in an input box with the current one as default;
// an empty answer changes nothing. Bar limits and the alarms of a display
// must be of a bar / of a display whose source has an alarm record: a
// disabled alarm button's request changes nothing and asks nothing. A bar
// kind on a digital display is a programming error: checked, nothing asked.
LimitChange
ChangeLimit(ConfigDocument &document, UserDialogs &dialogs, Display display, LimitKind kind);

// --- factory utilities key ----------------------------------------------------

struct KeyChord
{
    int key = 0; // the character of the key, 'Q' or 'q' for Q
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Ctrl+Alt+Q without Shift.
bool isFactoryChord(const KeyChord &chord);

// What a key pressed while cmdDD4HiBar has the focus asks for. Factory mode
// belongs to the link; the window turns it on, for the rest of the run.
enum class PanelKeyRequest { None, FactoryMode };
PanelKeyRequest factoryKeyDown(const KeyChord &chord);

} // namespace orvane
