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

// What the panel logic needs of each display: the CDC byte that holds its
// data source and the preview patch that blinks while its chooser has the
// focus. The window keeps the names and places of the display's controls.
struct DisplayInfo
{
    int sourceByte;
    PreviewItem blank;
};

inline constexpr std::array<DisplayInfo, kDisplayCount> kDisplays = {{
    {kSourceBytes[0], PreviewItem::PicDisplay1Blank},
    {kSourceBytes[1], PreviewItem::PicDisplay2Blank},
    {kSourceBytes[2], PreviewItem::PicDisplay3Blank},
    {kSourceBytes[3], PreviewItem::PicDisplay4Blank},
    {kSourceBytes[4], PreviewItem::PicDisplay5Blank},
}};

inline const DisplayInfo &displayInfo(Display display)
{
    return kDisplays.at(size_t(display));
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

// What the NMEA sentence selector preselects; the window opens it beside the
// display's chooser.
struct NmeaSelectorRequest
{
    int settingsIndex = kNmeaInputs.first.address;
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
