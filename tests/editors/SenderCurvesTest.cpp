#include "editors/SenderCurves.h"

#include "EditingState.h"

#include "config/Defaults.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace orvane;
using orvane::test::EditingState;
using Key = SenderCurveEditor::KeyResult;

namespace {

constexpr uint8_t kDegF = 0x08;
constexpr uint8_t kPsi = 0x10;

Key type(SenderCurveEditor &editor, int row, int column, const std::string &keys)
{
    Key last = Key::Ignored;
    for (char key : keys)
        last = editor.editKey(row, column, key);
    return last;
}

std::vector<std::string> column(const SenderCurveEditor &editor, int c, std::vector<int> rows)
{
    std::vector<std::string> texts;
    for (int row : rows)
        texts.push_back(editor.cell(row, c));
    return texts;
}

} // namespace

TEST(SenderCurveEditor, KeysEditTheCurrentCellAndStoreItAtOnce)
{
    EditingState state;
    writeDefaultCurve(state.document.image.CalCurve, 9);
    SenderCurveEditor editor(state.document, state.editor);
    EXPECT_EQ(editor.editKey(3, 1, '5'), Key::Ignored) << "no curve open";

    editor.openCurve(9);
    EXPECT_EQ(state.editor.CurveInEdit, 9);
    EXPECT_FALSE(state.document.changed) << "opening changes nothing";

    // Backspace on an empty cell leaves it empty and stores 0.
    EXPECT_EQ(type(editor, 3, 1, "\b\b\b"), Key::Applied);
    EXPECT_EQ(editor.cell(3, 1), "");
    EXPECT_EQ(state.document.image.CalCurve(9, 3, 1), 0.0f);
    EXPECT_TRUE(state.document.changed);

    type(editor, 3, 1, "1.2.5");
    EXPECT_EQ(editor.cell(3, 1), "1.2.5");
    EXPECT_FLOAT_EQ(state.document.image.CalCurve(9, 3, 1), 1.2f);
    type(editor, 3, 2, "\b\b\b\b1.2.5");
    EXPECT_EQ(editor.cell(3, 2), "1.2.5");
    EXPECT_FLOAT_EQ(state.document.image.CalCurve(9, 3, 2), 12.0f);

    // Other keys are rejected and change nothing; column 0 is text only.
    EXPECT_EQ(editor.editKey(3, 2, 'a'), Key::Rejected);
    EXPECT_EQ(editor.editKey(3, 2, '-'), Key::Rejected);
    EXPECT_EQ(editor.cell(3, 2), "1.2.5");
    EXPECT_EQ(type(editor, 4, 0, "7"), Key::Applied);
    EXPECT_EQ(editor.cell(4, 0), "47");
    EXPECT_EQ(state.document.image.CalCurve(9, 4, 0), 0.0f);
    EXPECT_EQ(editor.editKey(0, 1, '1'), Key::Ignored) << "the heading row";

    // Digits beyond a single's range are held at its largest value.
    type(editor, 5, 1, std::string(60, '9'));
    EXPECT_EQ(state.document.image.CalCurve(9, 5, 1), std::numeric_limits<float>::max());
}

TEST(SenderCurveEditor, ReadingsShowAndEnterInTheChosenUnits)
{
    EditingState state;
    state.document.image.IntNvm[1] = 0; // deg C, bar
    state.document.image.CalCurve(6, 1, 2) = 2000;
    state.document.image.CalCurve(6, 2, 2) = 0; // 0 F is below freezing: a negative Celsius
    state.document.image.CalCurve(16, 1, 2) = 1450.4f;
    SenderCurveEditor editor(state.document, state.editor);

    editor.openCurve(6);
    EXPECT_EQ(column(editor, 2, {1, 2}), (std::vector<std::string>{"93", "-18"}));
    editor.storeGrid();
    EXPECT_FALSE(editor.isOpen());
    EXPECT_FLOAT_EQ(state.document.image.CalCurve(6, 1, 2), 1994.0f);
    EXPECT_FLOAT_EQ(state.document.image.CalCurve(6, 2, 2), -4.0f) << "the sign comes back";
    editor.openCurve(6);
    EXPECT_EQ(column(editor, 2, {1, 2}), (std::vector<std::string>{"93", "-18"}));

    editor.openCurve(16);
    EXPECT_EQ(editor.cell(1, 2), "10.0");
    type(editor, 1, 2, "\b\b\b\b10.0");
    EXPECT_FLOAT_EQ(state.document.image.CalCurve(16, 1, 2), 1450.4f);

    // A unit change while the grid is open does not reinterpret its numbers.
    state.document.image.IntNvm[1] = kDegF | kPsi;
    editor.storeGrid();
    EXPECT_FLOAT_EQ(state.document.image.CalCurve(16, 1, 2), 1450.4f);
    editor.openCurve(16);
    EXPECT_EQ(editor.cell(1, 2), "145.0");
    editor.openCurve(6);
    EXPECT_EQ(editor.cell(1, 2), "199");
}

TEST(SenderCurveEditor, DefaultCurvesShowInDisplaySteps)
{
    EditingState state;
    state.document.image.IntNvm[1] = kDegF | kPsi;
    for (int curve : {9, 19})
        writeDefaultCurve(state.document.image.CalCurve, curve);
    state.document.image.CalCurve(25, 1, 1) = 10.5f;
    SenderCurveEditor editor(state.document, state.editor);

    editor.openCurve(9);
    EXPECT_EQ(column(editor, 0, {1, 32}), (std::vector<std::string>{"1", "32"}));
    EXPECT_EQ(column(editor, 1, {1, 2, 3, 4, 32}),
              (std::vector<std::string>{"10", "15", "20", "26", "180"}));
    EXPECT_EQ(column(editor, 2, {1, 2, 3, 32}),
              (std::vector<std::string>{"0.0", "3.2", "6.4", "100.0"}));
    type(editor, 2, 1, "5");

    // Opening a second curve discards nothing: keys were stored as typed.
    editor.openCurve(19);
    EXPECT_EQ(column(editor, 2, {1, 2, 3, 32}), (std::vector<std::string>{"0", "3", "6", "100"}));
    EXPECT_EQ(state.document.image.CalCurve(9, 2, 1), 155.0f);
    editor.storeGrid();
    EXPECT_EQ(state.document.image.CalCurve(9, 2, 1), 155.0f);
    EXPECT_EQ(state.document.image.CalCurve(19, 2, 2), 30.0f) << "stored through whole trim units";

    editor.openCurve(25);
    EXPECT_EQ(editor.cell(1, 1), "10.5");

    const CurveChartTable chart = curveChartTable(state.document.image.CalCurve, 9);
    EXPECT_EQ(chart[1][0], 155.0f);
    EXPECT_FLOAT_EQ(chart[31][1], 100.0f);
}

TEST(SenderLists, DoneStoresPositionsAsCodesButNeverAnEmptySelection)
{
    EditingState state;
    state.document.image.IntNvm[98] = 8;
    state.document.image.IntNvm[99] = 12; // not a trim code: its list shows nothing
    state.document.image.IntNvm[102] = 77;
    state.editor.CurveInEdit = 19;
    SenderCurveEditor editor(state.document, state.editor);

    // Engine temperature, fuel, oil pressure, trim, second tank.
    editor.done({6, 0, 7, -1, 3});
    EXPECT_EQ(state.document.image.IntNvm[100], 6);
    EXPECT_EQ(state.document.image.IntNvm[98], 0);
    EXPECT_EQ(state.document.image.IntNvm[101], 16);
    EXPECT_EQ(state.document.image.IntNvm[99], 12);
    EXPECT_EQ(state.document.image.IntNvm[103], 25);
    EXPECT_EQ(state.document.image.IntNvm[102], 77);
    EXPECT_EQ(state.editor.CurveInEdit, 99);
    EXPECT_TRUE(state.document.changed);
    // The next reload selects what is now stored.
    EXPECT_EQ(state.editor.senderLists.fuel, 0);
    EXPECT_EQ(state.editor.senderLists.oilPressure, 7);

    EXPECT_EQ(senderCodeForPosition(SenderList::Trim, 5), 21);
    EXPECT_EQ(senderCodeForPosition(SenderList::Trim, 6), std::nullopt);
}
