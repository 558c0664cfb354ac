#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

// The fixed pick lists of every window. Their texts and their order are part
// of what the stored bytes mean: the editors store list positions, or codes
// derived from positions, so nothing here may be reordered or reworded.

namespace orvane::picklists {

using Items = std::span<const std::string_view>;

// Functions whose display damping the damping dialog edits.
inline constexpr std::array<std::string_view, 9> kDampingFunctions = {
    "Boat Speed",
    "Engine RPM",
    "NMEA Channel 2A",
    "NMEA Channel 2B",
    "NMEA Channel 3A",
    "NMEA Channel 3B",
    "Tank1 - Fuel Remaining",
    "Tank2 - Option",
    "Trim Angle - Option",
};

// Sender lists: every item but the first starts with the sender type code
// that is stored for it. Blanks are significant.
inline constexpr std::array<std::string_view, 7> kEngineTempSenders = {
    "0:  None",
    "1:  Cyberdyne:  10-180 ohm, 280-80 deg F",
    "2:  Teleflex:   10-180 ohm, 295-70 deg F",
    "3:  VDO type 1: 10-180 ohm, 275-60 deg F",
    "4:  VDO type 2: 10-180 ohm, 310-65 deg F",
    "5:  VDO type 5: 10-180 ohm, 270-55 deg F",
    "6:  User defined Engine Temperature curve",
};

inline constexpr std::array<std::string_view, 4> kFuelSenders = {
    "0:  None",
    "7:  Linear: USA 10-180 ohm",
    "8:  Linear: European 240-33 ohm",
    "9:  User defined fuel sender curve",
};

inline constexpr std::array<std::string_view, 8> kOilPressureSenders = {
    "0:  None",
    "10: VDO type 2: 10-180 ohm, 5-600 psi",
    "11: VDO type 9: 10-250 ohm, 420-12 psi",
    "12: VDO 221-016-262A: 10-180 ohm, 0-215 psi",
    "13: VDO 217A: 10-180 ohm, 2-115 psi",
    "14: Teleflex: 10-180 ohm, 85-0 psi",
    "15: Stewart-Warner: 10-180 ohm, 85-0 psi",
    "16: User defined Oil Pressure curve",
};

inline constexpr std::array<std::string_view, 6> kTrimSenders = {
    "0:  None",
    "17: Linear: USA 10-180 ohm",
    "18: Linear: European 240-33 ohm",
    "19: User defined Trim sender curve (0-1000 ohm)",
    "20: Linear: 0-10,000 ohm",
    "21: Linear: 10,000-0 ohm",
};

inline constexpr std::array<std::string_view, 4> kSecondTankSenders = {
    "0:  None",
    "23: Linear: USA 10-180 ohm",
    "24: Linear: European 240-33 ohm",
    "25: User defined 2'nd Tank Level sender curve",
};

// Row 0 of the sender curve grid.
inline constexpr std::array<std::string_view, 3> kSenderGridHeadings = {"Index", "Ohms", "Value"};
inline constexpr int kSenderGridIndexColumnTwips = 500;

// Data sources of digital displays 1 and 2 and of both bar graphs.
inline constexpr std::array<std::string_view, 29> kDisplaySources = {
    "None - Blank",
    "Battery Bank #1 Volts",
    "Battery Bank #2 Volts",
    "Battery Bank #3 Volts",
    "Boat Speed",
    "Engine Hours",
    "Engine Maintenance Alarm",
    "Engine Oil Pressure",
    "Engine RPM",
    "Engine Temperature",
    "NMEA 0183 input #1A",
    "NMEA 0183 input #1B",
    "NMEA 0183 input #2A",
    "NMEA 0183 input #2B",
    "NMEA 0183 input #3A",
    "NMEA 0183 input #3B",
    "NMEA 0183 input #4A",
    "NMEA 0183 input #4B",
    "Remote Data #1 Display",
    "Remote Data #2 Display",
    "Seawater Temperature Thermister #1",
    "Tank1 - Fuel Remaining",
    "Tank1 - Trip Fuel Used",
    "Tank1 - Total Fuel Used",
    "Tank2 - Level Option",
    "Thermister #2 Temperature Option",
    "Trim Angle Option",
    "Total Log",
    "Trip Log",
};

// Data sources of digital display 3: the list above with the time and race
// timer sources added, so its positions differ from position 20 on.
inline constexpr std::array<std::string_view, 33> kDisplay3Sources = {
    "None - Blank",
    "Battery Bank #1 Volts",
    "Battery Bank #2 Volts",
    "Battery Bank #3 Volts",
    "Boat Speed",
    "Engine Hours",
    "Engine Maintenance Alarm",
    "Engine Oil Pressure",
    "Engine RPM",
    "Engine Temperature",
    "NMEA 0183 input #1A",
    "NMEA 0183 input #1B",
    "NMEA 0183 input #2A",
    "NMEA 0183 input #2B",
    "NMEA 0183 input #3A",
    "NMEA 0183 input #3B",
    "NMEA 0183 input #4A",
    "NMEA 0183 input #4B",
    "Remote Data #1 Display",
    "Remote Data #2 Display",
    "Race Timer #1",
    "Race Timer #2",
    "Seawater Temperature Thermister #1",
    "Tank1 - Fuel Remaining",
    "Tank1 - Trip Fuel Used",
    "Tank1 - Total Fuel Used",
    "Tank2 - Level Option",
    "Thermister #2 Temperature Option",
    "Time of Day",
    "Time - Elapsed Trip Time",
    "Trim Angle Option",
    "Total Log",
    "Trip Log",
};

// NMEA 0183 talker identifiers; the stored value is position + 1. The order
// is the instrument's, not alphabetical (CV precedes CT).
inline constexpr std::array<std::string_view, 49> kNmeaTalkers = {
    "AG", "AP", "CC", "CD", "CM", "CR", "CS", "CV", "CT", "CX", "DE", "DF", "EC",
    "EP", "ER", "GP", "HC", "HE", "HN", "II", "IN", "LA", "LC", "MP", "OM", "OS",
    "RA", "SD", "SN", "SS", "TI", "TR", "VD", "VM", "VW", "WI", "YC", "YD", "YF",
    "YL", "YP", "YR", "YT", "YV", "YX", "ZA", "ZC", "ZQ", "ZV",
};

// NMEA 0183 sentence formatters; the stored value is position + 1. ROO stands
// between OSD and RMA in the instrument's table.
inline constexpr std::array<std::string_view, 120> kNmeaSentences = {
    "AAM", "ALM", "APA", "APB", "ASD", "BEC", "BOD", "BWC", "BWR", "BWW", "DBK", "DBS",
    "DBT", "DCN", "DPT", "DRU", "DSC", "DSE", "DSI", "DSR", "DTM", "FSI", "GBS", "GDA",
    "GGA", "GLA", "GLC", "GLL", "GNS", "GOA", "GRS", "GSA", "GST", "GSV", "GTD", "GXA",
    "HCC", "HCD", "HDG", "HDM", "HDT", "HSC", "HVD", "HVM", "IMA", "LCD", "MDA", "MHU",
    "MMB", "MSK", "MSS", "MTW", "MWD", "MWV", "OLN", "OSD", "ROO", "RMA", "RMB", "RMC",
    "ROT", "RPM", "RSA", "RSD", "RTE", "SFI", "SNU", "STC", "STN", "STR", "SYS", "TEC",
    "TEP", "TGA", "TIF", "TLL", "TRF", "TRP", "TRS", "TTM", "VBW", "VDC", "VDR", "VHW",
    "VLW", "VPE", "VPW", "VTA", "VTG", "VTI", "VWE", "VWR", "VWT", "WCV", "WDC", "WDR",
    "WFM", "WNC", "WNR", "WPL", "XDR", "XTE", "XTR", "YWP", "YWS", "ZAA", "ZCD", "ZDA",
    "ZDL", "ZEV", "ZFI", "ZFO", "ZLZ", "ZPI", "ZTA", "ZTE", "ZTG", "ZTI", "ZWP", "ZZU",
};

// Comma counts; the stored value is position + 1, the number shown.
inline constexpr std::array<std::string_view, 25> kNmeaCommas = {
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12", "13",
    "14", "15", "16", "17", "18", "19", "20", "21", "22", "23", "24", "25",
};

inline constexpr std::array<std::string_view, 8> kTimeOfDayAlarms = {
    "Alarm #1",
    "Alarm #2",
    "Alarm #3",
    "Alarm #4",
    "Alarm #5",
    "Alarm #6",
    "Alarm #7",
    "Alarm #8",
};

enum class FillKind {
    List,        // a pick list that receives its items by appending
    GridHeadings // row 0 of a grid, one text per column
};

// What the start-up does after filling: leave the selection to whoever owns
// it (the sender dialog, the preview, the damping loader), or select the
// first item.
inline constexpr int kSelectionLeftToOwner = -1;

struct PickListFill
{
    std::string_view window;
    std::string_view control;
    FillKind kind;
    Items items;
    int initialSelection;
};

// Every list in the order the start-up fills them, once per run.
inline constexpr std::array<PickListFill, 16> kFillOrder = {{
    {"frmDamping", "cboDamping", FillKind::List, kDampingFunctions, kSelectionLeftToOwner},
    {"frmSenders",
     "cboEngineTempSender",
     FillKind::List,
     kEngineTempSenders,
     kSelectionLeftToOwner},
    {"frmSenders", "cboFuelSender", FillKind::List, kFuelSenders, kSelectionLeftToOwner},
    {"frmSenders",
     "cboOilPressureSender",
     FillKind::List,
     kOilPressureSenders,
     kSelectionLeftToOwner},
    {"frmSenders", "cboTrimSender", FillKind::List, kTrimSenders, kSelectionLeftToOwner},
    {"frmSenders", "cbo2ndTankSender", FillKind::List, kSecondTankSenders, kSelectionLeftToOwner},
    {"frmSenders",
     "MSFlexGrid1",
     FillKind::GridHeadings,
     kSenderGridHeadings,
     kSelectionLeftToOwner},
    {"frmMain", "ComboDisplay1", FillKind::List, kDisplaySources, kSelectionLeftToOwner},
    {"frmMain", "ComboDisplay2", FillKind::List, kDisplaySources, kSelectionLeftToOwner},
    {"frmMain", "ComboDisplay3", FillKind::List, kDisplay3Sources, kSelectionLeftToOwner},
    {"frmMain", "ComboDisplayLeftBar", FillKind::List, kDisplaySources, kSelectionLeftToOwner},
    {"frmMain", "ComboDisplayRightBar", FillKind::List, kDisplaySources, kSelectionLeftToOwner},
    {"frmNmea", "cmbNmeaTalker", FillKind::List, kNmeaTalkers, 0},
    {"frmNmea", "cmbNmeaID", FillKind::List, kNmeaSentences, 0},
    {"frmNmea", "cmdNmeaCommas", FillKind::List, kNmeaCommas, 0},
    {"frmTimeOfDayAlarms", "cboTodAlarms", FillKind::List, kTimeOfDayAlarms, 0},
}};

// The fill entry of a control, or nullptr for a control that has no list.
const PickListFill *fillFor(std::string_view control);

// The text at a position, or nothing for a position outside the list
// (-1 is "nothing selected").
std::optional<std::string_view> itemAt(Items items, int position);

// Lists whose stored value is position + 1 (talkers, sentences, commas):
// the position a stored value selects, -1 for 0 ("nothing chosen") and for
// values the list does not reach.
int positionForStoredValue(Items items, int storedValue);

// The text a stored value shows in such a list, nothing when it selects none.
std::optional<std::string_view> textForStoredValue(Items items, int storedValue);

} // namespace orvane::picklists
