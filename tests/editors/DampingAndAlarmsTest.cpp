#include "editors/DampingAndAlarms.h"

#include "EditingState.h"

#include "app/PickLists.h"
#include "support/CheckCapture.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>
#include <utility>

using namespace orvane;
using orvane::test::EditingState;
using orvane::test::failsACheck;

namespace {
constexpr int kAlarm8 = 7;
} // namespace

TEST(DampingAndAlarms, DampingTextIsClampedRoundedAndStoredForTheSelectedFunction)
{
    // The nine functions of the damping list, in list order, with their
    // settings bytes.
    struct DampingRow
    {
        int position;
        std::string_view name;
        int byte;
    };
    const DampingRow rows[] = {
        {0, "Boat Speed", 106},
        {1, "Engine RPM", 104},
        {2, "NMEA Channel 2A", 105},
        {3, "NMEA Channel 2B", 102},
        {4, "NMEA Channel 3A", 109},
        {5, "NMEA Channel 3B", 110},
        {6, "Tank1 - Fuel Remaining", 107},
        {7, "Tank2 - Option", 108},
        {8, "Trim Angle - Option", 113},
    };
    ASSERT_EQ(std::size(rows), picklists::kDampingFunctions.size());

    const std::pair<const char *, int> typed[] = {
        {"12", 12},
        {"250", 250},
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

    for (const DampingRow &row : rows) {
        SCOPED_TRACE(std::string(row.name));
        EXPECT_EQ(picklists::kDampingFunctions[size_t(row.position)], row.name);

        // Every byte holds its own index, so the value shown names the byte
        // it was read from.
        EditingState state;
        for (int i = 0; i <= 255; ++i)
            state.document.image.IntNvm[i] = uint8_t(i);
        EXPECT_EQ(int(dampingValue(state.document.image, row.position)), row.byte);

        for (const auto &[text, stored] : typed) {
            const IntNvmTable before = state.document.image.IntNvm;
            EXPECT_EQ(int(typeDampingValue(state.document, row.position, text)), stored) << text;
            EXPECT_EQ(int(state.document.image.IntNvm[row.byte]), stored) << text;
            for (int i = 0; i < IntNvmTable::kSize; ++i) {
                if (i != row.byte) {
                    EXPECT_EQ(int(state.document.image.IntNvm[i]), int(before[i]))
                        << text << " also wrote byte " << i;
                }
            }
            EXPECT_EQ(int(dampingValue(state.document.image, row.position)), stored) << text;
        }
        EXPECT_TRUE(state.document.changed);

        // A byte above the typed range (from a file or the instrument) is
        // shown as it is stored.
        state.document.image.IntNvm[row.byte] = 255;
        EXPECT_EQ(int(dampingValue(state.document.image, row.position)), 255);
    }

    // Nothing selected: nothing is written anywhere.
    EditingState state;
    const IntNvmTable before = state.document.image.IntNvm;
    EXPECT_EQ(typeDampingValue(state.document, -1, "77"), 77);
    EXPECT_EQ(state.document.image.IntNvm, before);
    EXPECT_EQ(dampingValue(state.document.image, -1), 0);
    uint8_t pastTheList = 1;
    EXPECT_TRUE(failsACheck([&] { pastTheList = dampingValue(state.document.image, 9); }));
    EXPECT_EQ(pastTheList, 0);
    EXPECT_TRUE(failsACheck([&] { typeDampingValue(state.document, 9, "5"); }));
    EXPECT_EQ(state.document.image.IntNvm, before);
}

TEST(DampingAndAlarms, AlarmTimesAreClampedStoredAndShownWithTwoDigits)
{
    EditingState state;
    EXPECT_EQ(typeTodAlarm(state.document, kAlarm8, TodField::Hours, "25"), 23);
    EXPECT_EQ(typeTodAlarm(state.document, kAlarm8, TodField::Minutes, "75"), 59);
    EXPECT_EQ(state.document.image.IntNvm[60], 23);
    EXPECT_EQ(state.document.image.IntNvm[61], 59);
    EXPECT_EQ(todAlarmText(state.document.image, kAlarm8).hours, "23");
    EXPECT_EQ(todAlarmText(state.document.image, kAlarm8).minutes, "59");

    typeTodAlarm(state.document, 0, TodField::Minutes, "-3");
    typeTodAlarm(state.document, 0, TodField::Hours, "");
    EXPECT_EQ(state.document.image.IntNvm[47], 0);
    EXPECT_EQ(state.document.image.IntNvm[46], 0);
    typeTodAlarm(state.document, 1, TodField::Hours, "6.5");
    typeTodAlarm(state.document, 1, TodField::Minutes, "7");
    EXPECT_EQ(state.document.image.IntNvm[48], 6) << "halves go to the even neighbour";
    EXPECT_EQ(todAlarmText(state.document.image, 1).minutes, "07");

    // Past the list counts as the last alarm; nothing selected writes nothing
    // (bytes 44 and 45 belong to other settings).
    typeTodAlarm(state.document, 12, TodField::Hours, "5");
    EXPECT_EQ(state.document.image.IntNvm[60], 5);
    const IntNvmTable before = state.document.image.IntNvm;
    typeTodAlarm(state.document, -1, TodField::Hours, "9");
    EXPECT_EQ(state.document.image.IntNvm, before);
    EXPECT_EQ(todAlarmText(state.document.image, -1).hours, "00");
}
