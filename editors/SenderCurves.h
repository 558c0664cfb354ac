#pragma once

#include "config/ConfigDocument.h"
#include "config/ConfigImage.h"
#include "config/SenderLists.h"
#include "config/SettingsFields.h"
#include "editors/EditorState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The sender dialog's logic: which code each sender list position stands
// for, how a user curve is shown and typed in the grid, and the grid itself
// with the curve it edits.

namespace orvane {

struct SenderListInfo
{
    SettingsField field; // holds the chosen code
    int base;            // position i > 0 stands for code base + i
    int lastCode;        // code of the list's last item
    int userCurve;       // the user-defined type, edited in the grid
};

enum class SenderList { EngineTemp, Fuel, OilPressure, Trim, SecondTank };
inline constexpr int kSenderListCount = 5;

inline constexpr std::array<SenderListInfo, kSenderListCount> kSenderLists = {{
    {kEngineTempSender, 0, 6, 6},
    {kFuelSender, 6, 9, 9},
    {kOilPressureSender, 9, 16, 16},
    {kTrimSender, 16, 21, 19},
    {kSecondTankSender, 22, 25, 25},
}};

constexpr const SenderListInfo &senderList(SenderList list)
{
    return kSenderLists[size_t(list)];
}

// The list whose user curve is this one, or nothing for a curve no edit
// button opens.
std::optional<SenderList> listOfUserCurve(int curve);

// The code a list position stands for: 0 for position 0, base + position
// after it. Nothing for no selection (-1) or a position past the list's end,
// so that a list showing nothing never overwrites the stored code.
std::optional<uint8_t> senderCodeForPosition(SenderList list, int position);

// Done: stores the five positions as codes (byte 102 between them is not a
// sender byte) and selects the lists again from what is now stored.
void storeSenderPositions(ConfigDocument &document,
                          EditorState &editor,
                          const std::array<int, kSenderListCount> &positions);

// The unit settings the grid shows readings in (the DegC and Bars items).
struct CurveUnits
{
    bool degC = false;
    bool bars = false;
    bool operator==(const CurveUnits &) const = default;
};

CurveUnits curveUnits(const IntNvmTable &intNvm);

// Column 1: the resistance as its shortest plain number text ("15", "10.5").
std::string resistanceText(float ohms);

// Column 2: a stored reading (tenths of the stored unit) as the cell shows it.
std::string readingText(int curve, float stored, CurveUnits units);

// The number a cell's text begins with: an optional minus, then digits with
// at most one decimal point; 0 when there is none ("1.2.5" gives 1.2).
double cellNumber(std::string_view text);

// Column 2: the stored reading for a number typed in the shown unit.
float enteredReading(int curve, double typed, CurveUnits units);

// Resistance and reading / 10 of points 1..32, in the stored units.
using CurveChartTable = std::array<std::array<float, 2>, 32>;
CurveChartTable curveChartTable(const CalCurveTable &curves, int curve);

// The curve grid (rows 1..32 are points 1..32; columns 0 point number,
// 1 ohms, 2 reading) and the editing of one user curve in it.
class SenderCurveEditor
{
public:
    static constexpr int kRows = 33;
    static constexpr int kColumns = 3;

    enum class KeyResult {
        Applied,  // the cell changed (and, in columns 1 and 2, the curve)
        Rejected, // not a key the grid takes: beep
        Ignored,  // no curve open or no cell current: nothing happens
    };

    SenderCurveEditor(ConfigDocument &document, EditorState &editor);

    // An edit button: fills the grid from the curve, without storing what the
    // grid showed before (its keys were stored as they were typed). A curve
    // outside 1..32 is a programming error: checked, the grid stays as it is.
    void openCurve(int curve);

    // Focus arrives at a sender list: closes the grid and enters every row
    // into the curve last opened, unless none is (CurveInEdit 99).
    void storeGrid();

    // A character typed while the grid has focus: a digit or '.' appends,
    // '\b' removes the last character, anything else is rejected.
    KeyResult editKey(int row, int column, char key);

    // Done: stores the list positions, closes the grid and the curve.
    void done(const std::array<int, kSenderListCount> &positions);

    // The dialog closed: the grid closes, the curve stays the one in edit.
    void close() { m_open = false; }

    // The grid is visible and "View Graph" enabled.
    bool isOpen() const { return m_open; }

    // Curve shown by the last edit button, 0 before the first.
    int lastOpenedCurve() const { return m_lastOpened; }

    const std::string &cell(int row, int column) const;

private:
    void enterCell(int row, int column);

    ConfigDocument &m_document;
    EditorState &m_editor;
    bool m_open = false;
    int m_lastOpened = 0;
    // Readings are entered in the units they were shown in, so a unit
    // change while a curve is open cannot reinterpret the grid's numbers.
    CurveUnits m_units;
    std::array<std::array<std::string, kColumns>, kRows> m_cells{};
};

} // namespace orvane
