#include "editors/DampingAndAlarms.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {
constexpr int kNmeaChannel2B = 3;
constexpr int kAlarm8 = 7;
} // namespace

TEST(DampingAndAlarms, DampingTextIsClampedRoundedAndStoredForTheSelectedFunction)
{
    AppState state;
    EXPECT_EQ(typeDampingValue(state, kNmeaChannel2B, "12"), 12);
    EXPECT_EQ(state.image.IntNvm[102], 12);
    EXPECT_TRUE(state.editor.imageChanged);
    EXPECT_EQ(dampingValue(state, kNmeaChannel2B), 12);

    const std::pair<const char *, int> typed[] = {
        {"300", 250},
        {"2.5", 2},
        {"3.5", 4},
        {"-7", 0},
        {"abc", 0},
        {"", 0},
        {"1E999", 250},
        {"249.6", 250},
        {" 4 2x", 42},
    };
    for (const auto &[text, stored] : typed) {
        EXPECT_EQ(typeDampingValue(state, 0, text), stored) << text;
        EXPECT_EQ(state.image.IntNvm[106], stored) << text;
    }

    // Nothing selected: nothing is written anywhere.
    const IntNvmTable before = state.image.IntNvm;
    EXPECT_EQ(typeDampingValue(state, -1, "77"), 77);
    EXPECT_EQ(state.image.IntNvm, before);
    EXPECT_EQ(dampingValue(state, -1), 0);
    EXPECT_THROW(dampingValue(state, 9), std::out_of_range);
}

TEST(DampingAndAlarms, AlarmTimesAreClampedStoredAndShownWithTwoDigits)
{
    AppState state;
    EXPECT_EQ(typeTodAlarm(state, kAlarm8, TodField::Hours, "25"), 23);
    EXPECT_EQ(typeTodAlarm(state, kAlarm8, TodField::Minutes, "75"), 59);
    EXPECT_EQ(state.image.IntNvm[60], 23);
    EXPECT_EQ(state.image.IntNvm[61], 59);
    EXPECT_EQ(todAlarmText(state, kAlarm8).hours, "23");
    EXPECT_EQ(todAlarmText(state, kAlarm8).minutes, "59");

    typeTodAlarm(state, 0, TodField::Minutes, "-3");
    typeTodAlarm(state, 0, TodField::Hours, "");
    EXPECT_EQ(state.image.IntNvm[47], 0);
    EXPECT_EQ(state.image.IntNvm[46], 0);
    typeTodAlarm(state, 1, TodField::Hours, "6.5");
    typeTodAlarm(state, 1, TodField::Minutes, "7");
    EXPECT_EQ(state.image.IntNvm[48], 6) << "halves go to the even neighbour";
    EXPECT_EQ(todAlarmText(state, 1).minutes, "07");

    // Past the list counts as the last alarm; nothing selected writes nothing
    // (bytes 44 and 45 belong to other settings).
    typeTodAlarm(state, 12, TodField::Hours, "5");
    EXPECT_EQ(state.image.IntNvm[60], 5);
    const IntNvmTable before = state.image.IntNvm;
    typeTodAlarm(state, -1, TodField::Hours, "9");
    EXPECT_EQ(state.image.IntNvm, before);
    EXPECT_EQ(todAlarmText(state, -1).hours, "00");
}
