#include "editors/LimitValues.h"

#include "EditingState.h"
#include "support/CheckCapture.h"

#include <gtest/gtest.h>

using namespace orvane;
using orvane::test::EditingState;
using orvane::test::failsACheck;

namespace {

constexpr uint8_t kRpm = 1;
constexpr uint8_t kOilPressure = 3;
constexpr uint8_t kEngineHours = 4;
constexpr uint8_t kBoatSpeed = 9;
constexpr uint8_t kBattery1 = 18;

EditingState stateEditing(int config)
{
    EditingState state;
    state.document.image.IntNvm[6] = uint8_t(config);
    return state;
}

uint16_t storeAlarm(EditingState &state, uint8_t code, const char *text, AlarmLimit which)
{
    const AlarmValues last = GetAlarmValues(state.document.image, code);
    EXPECT_TRUE(StoreAlarmValue(state.document, text, last, which));
    return state.document.image.IntNvm.word(last.recordStart + (which == AlarmLimit::High ? 2 : 0));
}

} // namespace

TEST(AlarmValues, TwoDecimalAlarmsScaleClampAndShow)
{
    EditingState state = stateEditing(1);
    EXPECT_EQ(storeAlarm(state, kBoatSpeed, "12.3", AlarmLimit::Low), 1230);
    EXPECT_EQ(state.document.image.IntNvm[152], 4);
    EXPECT_EQ(state.document.image.IntNvm[153], 206);
    EXPECT_EQ(GetAlarmValues(state.document.image, kBoatSpeed).lowText, "12.30");

    EXPECT_EQ(storeAlarm(state, kBoatSpeed, "700", AlarmLimit::High), 65535);
    EXPECT_EQ(GetAlarmValues(state.document.image, kBoatSpeed).highText, "655.35");
    // The alarm limit keeps 655.35, unlike a bar limit.
    EXPECT_EQ(storeAlarm(state, kBattery1, "655.35", AlarmLimit::Low), 65535);
    EXPECT_TRUE(state.document.changed);
}

TEST(AlarmValues, WholeNumberAlarmsClampToSixteenBitsAndRoundHalfEven)
{
    EditingState state = stateEditing(1);
    state.document.image.IntNvm.setWord(128, 1234);
    EXPECT_EQ(storeAlarm(state, kRpm, "-5", AlarmLimit::Low), 0);
    state.document.image.IntNvm.setWord(128, 1234);
    EXPECT_EQ(storeAlarm(state, kRpm, "no number", AlarmLimit::Low), 0);
    EXPECT_EQ(storeAlarm(state, kRpm, "70000", AlarmLimit::High), 65535);
    EXPECT_EQ(storeAlarm(state, kRpm, "1e300", AlarmLimit::High), 65535);
    EXPECT_EQ(storeAlarm(state, kRpm, "255.7", AlarmLimit::Low), 256);
    EXPECT_EQ(state.document.image.IntNvm[128], 1);
    EXPECT_EQ(state.document.image.IntNvm[129], 0);
    EXPECT_EQ(storeAlarm(state, kRpm, "2.5", AlarmLimit::Low), 2);
    EXPECT_EQ(storeAlarm(state, kRpm, "3.5", AlarmLimit::Low), 4);
    // The high limit lies two bytes after the low one.
    EXPECT_EQ(state.document.image.IntNvm.word(130), 65535);
    EXPECT_EQ(GetAlarmValues(state.document.image, kRpm).highText, "65535");
}

TEST(AlarmValues, SourcesWithoutRecordReadZeroAndStoreNothing)
{
    EditingState state = stateEditing(1);
    state.document.image.IntNvm[0] = 0x33;
    state.document.image.IntNvm[1] = 0x1A;
    const AlarmValues hours = GetAlarmValues(state.document.image, kEngineHours);
    EXPECT_TRUE(hours.noAlarm);
    EXPECT_EQ(hours.recordStart, 0);
    EXPECT_EQ(hours.lowText, "0.0");
    EXPECT_EQ(hours.highText, "0.0");
    EXPECT_FALSE(StoreAlarmValue(state.document, "50", hours, AlarmLimit::Low));
    EXPECT_FALSE(StoreAlarmValue(state.document, "50", hours, AlarmLimit::High));
    EXPECT_EQ(state.document.image.IntNvm[0], 0x33);
    EXPECT_EQ(state.document.image.IntNvm[1], 0x1A);
    EXPECT_FALSE(state.document.changed);
}

TEST(BarLimits, ScaleWithTheBarsSourceAndClamp)
{
    EditingState state = stateEditing(7);
    state.document.image.CDC(7, 88) = kOilPressure;
    state.document.image.CDC(7, 108) = kBattery1;

    LimitValues left = GetLimitValues(state.document.image, 88);
    EXPECT_EQ(left.decimals, 1);
    EXPECT_EQ(StoreBarLimitValue(state.document, "7000", 91, left), "6553.5");
    EXPECT_EQ(state.document.image.CDC.word(7, 91), 65535);
    EXPECT_EQ(StoreBarLimitValue(state.document, "123.45", 89, left), "123.4");
    EXPECT_EQ(state.document.image.CDC.word(7, 89), 1234);

    const LimitValues right = GetLimitValues(state.document.image, 108);
    EXPECT_EQ(StoreBarLimitValue(state.document, "655.35", 111, right), "655.30");
    EXPECT_EQ(state.document.image.CDC.word(7, 111), 65530);
    EXPECT_EQ(StoreBarLimitValue(state.document, "-1", 109, right), "0.00");

    left = GetLimitValues(state.document.image, 88);
    EXPECT_EQ(left.lowerText, "123.4");
    EXPECT_EQ(left.upperText, "6553.5");
    // Only configuration 7 was touched.
    EXPECT_EQ(state.document.image.CDC.word(6, 91), 0);
}

TEST(BarLimits, WholeNumberBarShowsWhatWasStored)
{
    EditingState state = stateEditing(2);
    state.document.image.CDC(2, 108) = kRpm;
    const LimitValues right = GetLimitValues(state.document.image, 108);
    EXPECT_EQ(StoreBarLimitValue(state.document, "2.5", 109, right), "2");
    EXPECT_EQ(state.document.image.CDC.word(2, 109), 2);
    EXPECT_EQ(StoreBarLimitValue(state.document, "99999", 111, right), "65535");
}

TEST(BarLimits, RejectBytesThatAreNotTheBarsLimits)
{
    EditingState state = stateEditing(2);
    const LimitValues left = GetLimitValues(state.document.image, 88);
    const ConfigImage before = state.document.image;
    EXPECT_TRUE(failsACheck([&] { StoreBarLimitValue(state.document, "1", 109, left); }));
    EXPECT_TRUE(failsACheck([&] { StoreBarLimitValue(state.document, "1", 90, left); }));
    EXPECT_EQ(state.document.image, before);
    EXPECT_FALSE(state.document.changed);
    LimitValues none;
    EXPECT_TRUE(failsACheck([&] { none = GetLimitValues(state.document.image, 28); }));
    EXPECT_TRUE(failsACheck([&] { StoreBarLimitValue(state.document, "1", 1, none); }));
    EXPECT_EQ(state.document.image, before);
}
