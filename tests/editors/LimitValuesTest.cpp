#include "editors/LimitValues.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

constexpr uint8_t kRpm = 1;
constexpr uint8_t kOilPressure = 3;
constexpr uint8_t kEngineHours = 4;
constexpr uint8_t kBoatSpeed = 9;
constexpr uint8_t kBattery1 = 18;

AppState stateEditing(int config)
{
    AppState state;
    state.image.IntNvm[6] = uint8_t(config);
    return state;
}

uint16_t storeAlarm(AppState &state, uint8_t code, const char *text, AlarmLimit which)
{
    const AlarmValues last = GetAlarmValues(state, code);
    EXPECT_TRUE(StoreAlarmValue(state, text, last, which));
    return state.image.IntNvm.word(last.recordStart + (which == AlarmLimit::High ? 2 : 0));
}

} // namespace

TEST(AlarmValues, TwoDecimalAlarmsScaleClampAndShow)
{
    AppState state = stateEditing(1);
    EXPECT_EQ(storeAlarm(state, kBoatSpeed, "12.3", AlarmLimit::Low), 1230);
    EXPECT_EQ(state.image.IntNvm[152], 4);
    EXPECT_EQ(state.image.IntNvm[153], 206);
    EXPECT_EQ(GetAlarmValues(state, kBoatSpeed).lowText, "12.30");

    EXPECT_EQ(storeAlarm(state, kBoatSpeed, "700", AlarmLimit::High), 65535);
    EXPECT_EQ(GetAlarmValues(state, kBoatSpeed).highText, "655.35");
    // The alarm limit keeps 655.35, unlike a bar limit.
    EXPECT_EQ(storeAlarm(state, kBattery1, "655.35", AlarmLimit::Low), 65535);
    EXPECT_TRUE(state.editor.imageChanged);
}

TEST(AlarmValues, WholeNumberAlarmsClampToSixteenBitsAndRoundHalfEven)
{
    AppState state = stateEditing(1);
    state.image.IntNvm.setWord(128, 1234);
    EXPECT_EQ(storeAlarm(state, kRpm, "-5", AlarmLimit::Low), 0);
    state.image.IntNvm.setWord(128, 1234);
    EXPECT_EQ(storeAlarm(state, kRpm, "no number", AlarmLimit::Low), 0);
    EXPECT_EQ(storeAlarm(state, kRpm, "70000", AlarmLimit::High), 65535);
    EXPECT_EQ(storeAlarm(state, kRpm, "1e300", AlarmLimit::High), 65535);
    EXPECT_EQ(storeAlarm(state, kRpm, "255.7", AlarmLimit::Low), 256);
    EXPECT_EQ(state.image.IntNvm[128], 1);
    EXPECT_EQ(state.image.IntNvm[129], 0);
    EXPECT_EQ(storeAlarm(state, kRpm, "2.5", AlarmLimit::Low), 2);
    EXPECT_EQ(storeAlarm(state, kRpm, "3.5", AlarmLimit::Low), 4);
    // The high limit lies two bytes after the low one.
    EXPECT_EQ(state.image.IntNvm.word(130), 65535);
    EXPECT_EQ(GetAlarmValues(state, kRpm).highText, "65535");
}

TEST(AlarmValues, SourcesWithoutRecordReadZeroAndStoreNothing)
{
    AppState state = stateEditing(1);
    state.image.IntNvm[0] = 0x33;
    state.image.IntNvm[1] = 0x1A;
    const AlarmValues hours = GetAlarmValues(state, kEngineHours);
    EXPECT_TRUE(hours.noAlarm);
    EXPECT_EQ(hours.recordStart, 0);
    EXPECT_EQ(hours.lowText, "0.0");
    EXPECT_EQ(hours.highText, "0.0");
    EXPECT_FALSE(StoreAlarmValue(state, "50", hours, AlarmLimit::Low));
    EXPECT_FALSE(StoreAlarmValue(state, "50", hours, AlarmLimit::High));
    EXPECT_EQ(state.image.IntNvm[0], 0x33);
    EXPECT_EQ(state.image.IntNvm[1], 0x1A);
    EXPECT_FALSE(state.editor.imageChanged);
}

TEST(BarLimits, ScaleWithTheBarsSourceAndClamp)
{
    AppState state = stateEditing(7);
    state.image.CDC(7, 88) = kOilPressure;
    state.image.CDC(7, 108) = kBattery1;

    LimitValues left = GetLimitValues(state, 88);
    EXPECT_EQ(left.decimals, 1);
    EXPECT_EQ(StoreBarLimitValue(state, "7000", 91, left), "6553.5");
    EXPECT_EQ(state.image.CDC.word(7, 91), 65535);
    EXPECT_EQ(StoreBarLimitValue(state, "123.45", 89, left), "123.4");
    EXPECT_EQ(state.image.CDC.word(7, 89), 1234);

    const LimitValues right = GetLimitValues(state, 108);
    EXPECT_EQ(StoreBarLimitValue(state, "655.35", 111, right), "655.30");
    EXPECT_EQ(state.image.CDC.word(7, 111), 65530);
    EXPECT_EQ(StoreBarLimitValue(state, "-1", 109, right), "0.00");

    left = GetLimitValues(state, 88);
    EXPECT_EQ(left.lowerText, "123.4");
    EXPECT_EQ(left.upperText, "6553.5");
    // Only configuration 7 was touched.
    EXPECT_EQ(state.image.CDC.word(6, 91), 0);
}

TEST(BarLimits, WholeNumberBarShowsWhatWasStored)
{
    AppState state = stateEditing(2);
    state.image.CDC(2, 108) = kRpm;
    const LimitValues right = GetLimitValues(state, 108);
    EXPECT_EQ(StoreBarLimitValue(state, "2.5", 109, right), "2");
    EXPECT_EQ(state.image.CDC.word(2, 109), 2);
    EXPECT_EQ(StoreBarLimitValue(state, "99999", 111, right), "65535");
}

TEST(BarLimits, RejectBytesThatAreNotTheBarsLimits)
{
    AppState state = stateEditing(2);
    const LimitValues left = GetLimitValues(state, 88);
    EXPECT_THROW(StoreBarLimitValue(state, "1", 109, left), std::invalid_argument);
    EXPECT_THROW(StoreBarLimitValue(state, "1", 90, left), std::invalid_argument);
    EXPECT_THROW(GetLimitValues(state, 28), std::invalid_argument);
}
