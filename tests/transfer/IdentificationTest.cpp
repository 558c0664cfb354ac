#include "TransferTestSupport.h"

namespace orvane::test {
namespace {

using IdentificationTest = TransferTest;

TEST_F(IdentificationTest, ConnectingKeepsTheUploadCounterInTheImage)
{
    instrumentNvm()[10] = 1;
    instrumentNvm()[11] = 2;
    state.document.changed = false;
    ASSERT_TRUE(connectToInstrument(connection, state.document.image));
    EXPECT_EQ(state.document.image.IntNvm[10], 1);
    EXPECT_EQ(state.document.image.IntNvm[11], 2);
    EXPECT_EQ(link.linkState().NewConfigCount, 258);
    EXPECT_FALSE(state.document.changed) << "the instrument's count is not an edit";

    // A counter never written reads as one upload.
    connection.endExchange(CommandCode::SoftReset);
    instrumentNvm()[10] = 255;
    instrumentNvm()[11] = 255;
    ASSERT_TRUE(connectToInstrument(connection, state.document.image));
    EXPECT_EQ(state.document.image.IntNvm[10], 0);
    EXPECT_EQ(state.document.image.IntNvm[11], 1);
}

TEST_F(IdentificationTest, NothingIsStoredWhenIdentificationDidNotGetThatFar)
{
    instrument().faults().noAnswer = true;
    fake.dialogs.messageAnswers = {MessageAnswer::No};
    state.document.image.IntNvm[10] = 7;
    state.document.image.IntNvm[11] = 8;
    EXPECT_FALSE(connectToInstrument(connection, state.document.image));
    EXPECT_EQ(state.document.image.IntNvm[10], 7);
    EXPECT_EQ(state.document.image.IntNvm[11], 8);
}

} // namespace
} // namespace orvane::test
