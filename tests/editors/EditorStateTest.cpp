#include "editors/EditorState.h"

#include "EditingState.h"

#include <gtest/gtest.h>

using namespace orvane;
using orvane::test::EditingState;

TEST(LoadFactoryDefaults, SelectsSenderListsAndClosesTheCurveEditor)
{
    EditingState state;
    state.editor.CurveInEdit = 6;
    loadFactoryDefaults(state.document, state.editor, false);

    const SenderListPositions &lists = state.editor.senderLists;
    EXPECT_EQ(lists.fuel, 1);        // code 7, base 6
    EXPECT_EQ(lists.trim, 4);        // code 20, base 16
    EXPECT_EQ(lists.engineTemp, 3);  // code 3, its own position
    EXPECT_EQ(lists.oilPressure, 2); // code 11, base 9
    EXPECT_EQ(lists.secondTank, 1);  // code 23, base 22
    EXPECT_EQ(state.editor.CurveInEdit, 99);
}
