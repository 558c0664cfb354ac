#include "editors/SenderCurves.h"

#include "config/NumberText.h"
#include "editors/EditMenuSettings.h"
#include "platform/Check.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

constexpr int kPoints = 32;
constexpr int kOhmsColumn = 1;
constexpr int kReadingColumn = 2;

// Column 2 holds tenths of the stored unit (°F, PSI, level or angle).
constexpr double kTenths = 10;
// Degrees C shown from tenths of °F, and typed degrees C back to tenths of °F.
constexpr double kHalfTenth = 5;
constexpr double kFreezingF = 32;
constexpr double kCelsiusPerFahrenheit = 0.55555;
constexpr double kFahrenheitPerCelsius = 1.8;
constexpr double kFreezingTenthsF = 320;
// Bar shown from tenths of PSI, and typed bar back to PSI.
constexpr double kPsiTenthsPerBar = 145.04;
constexpr double kPsiPerBar = 14.504;

int userCurve(SenderList list)
{
    return senderList(list).userCurve;
}

// A whole number of any size as plain digits ("-18", "93").
std::string wholeText(double value)
{
    return formatDecimals(value, 0);
}

// Typed digits can exceed what a single holds; keep the value finite.
float toSingle(double value)
{
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax)
        return float(kMax);
    if (value < -kMax)
        return float(-kMax);
    return float(value);
}

bool isCurveNumber(int curve)
{
    return curve >= 1 && curve < CalCurveTable::kCurves;
}

} // namespace

std::optional<SenderList> listOfUserCurve(int curve)
{
    for (int i = 0; i < kSenderListCount; ++i)
        if (kSenderLists[size_t(i)].userCurve == curve)
            return SenderList(i);
    return std::nullopt;
}

std::optional<uint8_t> senderCodeForPosition(SenderList list, int position)
{
    const SenderListInfo &info = senderList(list);
    if (position < 0 || info.base + position > info.lastCode)
        return std::nullopt;
    return uint8_t(position == 0 ? 0 : info.base + position);
}

void storeSenderPositions(ConfigDocument &document,
                          EditorState &editor,
                          const std::array<int, kSenderListCount> &positions)
{
    for (int i = 0; i < kSenderListCount; ++i) {
        const auto code = senderCodeForPosition(SenderList(i), positions[size_t(i)]);
        if (code)
            document.setField(kSenderLists[size_t(i)].field, *code);
    }
    // A later reload selects the lists from the image, so it must not bring
    // back the positions of the previous load.
    editor.senderLists = senderListPositionsFor(document.image.IntNvm);
}

CurveUnits curveUnits(const IntNvmTable &intNvm)
{
    const SettingsView view = settingsView(intNvm);
    return {view.isChecked(MenuChoice::DegC), view.isChecked(MenuChoice::Bars)};
}

std::string resistanceText(float ohms)
{
    if (ohms == 0)
        return "0"; // also for -0
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, ohms, std::chars_format::fixed);
    return std::string(buf, result.ptr);
}

std::string readingText(int curve, float stored, CurveUnits units)
{
    const double v = stored;
    if (curve == userCurve(SenderList::EngineTemp)) {
        if (units.degC)
            return wholeText(
                std::floor(((v + kHalfTenth) / kTenths - kFreezingF) * kCelsiusPerFahrenheit));
        return wholeText(std::floor(v / kTenths));
    }
    if (curve == userCurve(SenderList::Trim))
        return wholeText(std::floor(v / kTenths));
    if (curve == userCurve(SenderList::OilPressure) && units.bars)
        return formatDecimals(v / kPsiTenthsPerBar, 1);
    return formatDecimals(v / kTenths, 1);
}

double cellNumber(std::string_view text)
{
    // Only digits and '.' can be typed; a minus comes from a negative value
    // the grid showed, and must come back as the same value.
    size_t end = 0;
    if (end < text.size() && text[end] == '-')
        ++end;
    bool point = false;
    for (; end < text.size(); ++end) {
        const char c = text[end];
        if (c == '.' && !point)
            point = true;
        else if (c < '0' || c > '9')
            break;
    }
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too many digits for a double: as large as a double gets.
        return text.front() == '-' ? -std::numeric_limits<double>::max()
                                   : std::numeric_limits<double>::max();
    }
    return result.ec == std::errc() ? value : 0;
}

float enteredReading(int curve, double typed, CurveUnits units)
{
    double v = typed * kTenths;
    if (curve == userCurve(SenderList::EngineTemp) && units.degC)
        v = typed * kTenths * kFahrenheitPerCelsius + kFreezingTenthsF;
    if (curve == userCurve(SenderList::OilPressure) && units.bars)
        v = typed * kTenths * kPsiPerBar;
    return toSingle(v);
}

CurveChartTable curveChartTable(const CalCurveTable &curves, int curve)
{
    CurveChartTable table{};
    for (int p = 1; p <= kPoints; ++p) {
        table[size_t(p - 1)]
            = {curves(curve, p, kOhmsColumn), curves(curve, p, kReadingColumn) / float(kTenths)};
    }
    return table;
}

SenderCurveEditor::SenderCurveEditor(ConfigDocument &document, EditorState &editor)
    : m_document(document)
    , m_editor(editor)
{}

const std::string &SenderCurveEditor::cell(int row, int column) const
{
    return m_cells.at(size_t(row)).at(size_t(column));
}

void SenderCurveEditor::openCurve(int curve)
{
    ORVANE_CHECK(isCurveNumber(curve), return );
    m_units = curveUnits(m_document.image.IntNvm);
    const CalCurveTable &curves = m_document.image.CalCurve;
    for (int row = 1; row <= kPoints; ++row) {
        m_cells[size_t(row)][0] = std::to_string(row);
        m_cells[size_t(row)][kOhmsColumn] = resistanceText(curves(curve, row, kOhmsColumn));
        m_cells[size_t(row)][kReadingColumn]
            = readingText(curve, curves(curve, row, kReadingColumn), m_units);
    }
    m_editor.CurveInEdit = uint8_t(curve);
    m_lastOpened = curve;
    m_open = true;
}

void SenderCurveEditor::storeGrid()
{
    m_open = false;
    // The grid holds a curve only once an edit button has filled it.
    if (m_lastOpened == 0 || !isCurveNumber(m_editor.CurveInEdit))
        return;
    for (int row = 1; row <= kPoints; ++row) {
        enterCell(row, kOhmsColumn);
        enterCell(row, kReadingColumn);
    }
}

SenderCurveEditor::KeyResult SenderCurveEditor::editKey(int row, int column, char key)
{
    if (!m_open || !isCurveNumber(m_editor.CurveInEdit) || row < 1 || row > kPoints || column < 0
        || column >= kColumns)
        return KeyResult::Ignored;
    std::string &text = m_cells[size_t(row)][size_t(column)];
    if ((key >= '0' && key <= '9') || key == '.')
        text += key;
    else if (key == '\b') {
        if (!text.empty())
            text.pop_back();
    } else {
        return KeyResult::Rejected;
    }
    if (column != 0)
        enterCell(row, column);
    return KeyResult::Applied;
}

void SenderCurveEditor::done(const std::array<int, kSenderListCount> &positions)
{
    storeSenderPositions(m_document, m_editor, positions);
    m_open = false;
    m_editor.CurveInEdit = EditorState::kNoCurve;
}

void SenderCurveEditor::enterCell(int row, int column)
{
    const int curve = m_editor.CurveInEdit;
    const double x = cellNumber(m_cells[size_t(row)][size_t(column)]);
    const float value = column == kOhmsColumn ? toSingle(x) : enteredReading(curve, x, m_units);
    m_document.setCurvePoint(curve, row, column, value);
}

} // namespace orvane
