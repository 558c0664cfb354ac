#include "editors/EditMenuSettings.h"

#include "EditingState.h"

#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace orvane;
using orvane::test::EditingState;
using orvane::test::FakeDialogs;

TEST(EditMenu, ChoiceItemsWriteOnlyTheirOwnBits)
{
    EditingState state;
    state.document.image.IntNvm[1] = 0x5E;
    SettingsView view = ChooseMenuItem(state.document, MenuChoice::MPH);
    EXPECT_EQ(state.document.image.IntNvm[1], 0x3E);
    EXPECT_TRUE(view.isChecked(MenuChoice::MPH));
    EXPECT_FALSE(view.isChecked(MenuChoice::KmHr));
    EXPECT_TRUE(state.document.changed);

    state.document.image.IntNvm[2] = 0xAF;
    ChooseMenuItem(state.document, MenuChoice::TachoSensitivityMinimum);
    EXPECT_EQ(state.document.image.IntNvm[2], 0xA7);
    view = ChooseMenuItem(state.document, MenuChoice::TachoSensitivityHigh);
    EXPECT_EQ(state.document.image.IntNvm[2], 0xAE);
    EXPECT_TRUE(view.isChecked(MenuChoice::TachoSensitivityHigh));
    EXPECT_FALSE(view.isChecked(MenuChoice::TachoSensitivityMinimum));

    view = ChooseMenuItem(state.document, MenuChoice::TachoRatio100);
    EXPECT_EQ(state.document.image.IntNvm[7], 100);
    EXPECT_TRUE(view.isChecked(MenuChoice::TachoRatio100));
}

TEST(EditMenu, NoUnitChoiceTouchesBitsSevenAndZeroOrAnotherGroup)
{
    for (uint8_t start : {uint8_t(0x00), uint8_t(0x81), uint8_t(0xFF)}) {
        for (int item = 0; item <= int(MenuChoice::Pointer); ++item) {
            EditingState state;
            state.document.image.IntNvm[1] = start;
            state.document.image.IntNvm[2] = 0x5A;
            state.document.image.IntNvm[7] = 20;
            const SettingsView before = settingsView(state.document.image.IntNvm);
            const SettingsView after = ChooseMenuItem(state.document, MenuChoice(item));
            SCOPED_TRACE("item " + std::to_string(item) + " from " + std::to_string(start));
            EXPECT_EQ(state.document.image.IntNvm[1] & 0x81, start & 0x81);
            EXPECT_EQ(state.document.image.IntNvm[2], 0x5A);
            EXPECT_EQ(state.document.image.IntNvm[7], 20);
            EXPECT_TRUE(after.isChecked(MenuChoice(item)));
            // Items of the other submenus keep their marks.
            for (int other = 0; other < kMenuChoiceCount; ++other) {
                const bool sameMenu = menuGroup(MenuChoice(other)) == menuGroup(MenuChoice(item));
                if (!sameMenu) {
                    EXPECT_EQ(after.checked[size_t(other)], before.checked[size_t(other)])
                        << "item " << other;
                } else if (other != item) {
                    EXPECT_FALSE(after.checked[size_t(other)]);
                }
            }
        }
    }
}

TEST(EditMenu, LoadedMarksAndSenderLabelsFollowTheUnitsByte)
{
    IntNvmTable nvm;
    nvm[1] = 0x1A; // bar chart, 24 h, deg F, PSI, knots
    SettingsView view = settingsView(nvm);
    EXPECT_TRUE(view.isChecked(MenuChoice::Knots));
    EXPECT_TRUE(view.isChecked(MenuChoice::DegF));
    EXPECT_TRUE(view.isChecked(MenuChoice::Psi));
    EXPECT_TRUE(view.isChecked(MenuChoice::Hr24));
    EXPECT_TRUE(view.isChecked(MenuChoice::BarChart));
    EXPECT_EQ(view.temperatureLabel, "Temperature:  Deg F");
    EXPECT_EQ(view.pressureLabel, "Pressure:  PSI");
    EXPECT_FALSE(view.showPointers);

    nvm[1] = 0x64; // both speed bits, 12 h, deg C, bars, pointer
    view = settingsView(nvm);
    EXPECT_FALSE(view.isChecked(MenuChoice::Knots));
    EXPECT_FALSE(view.isChecked(MenuChoice::MPH));
    EXPECT_FALSE(view.isChecked(MenuChoice::KmHr));
    EXPECT_TRUE(view.isChecked(MenuChoice::Hr12));
    EXPECT_EQ(view.temperatureLabel, "Temperature:  Deg C");
    EXPECT_EQ(view.pressureLabel, "Pressure:  Bars");
    EXPECT_TRUE(view.showPointers);
}

TEST(EditMenu, TankSizeIsAskedUntilInRangeAndStoredInTenths)
{
    EditingState state;
    FakeDialogs dialogs;
    dialogs.inputAnswers = {"6500.1", "-1", "6500"};
    EXPECT_TRUE(AskTankSize(state.document, dialogs, Tank::Fuel));
    EXPECT_EQ(state.document.image.IntNvm[21], 253);
    EXPECT_EQ(state.document.image.IntNvm[22], 232);
    EXPECT_EQ(dialogs.beeps(), 3);
    const auto inputs = dialogs.inputs();
    ASSERT_EQ(inputs.size(), 3u);
    EXPECT_EQ(inputs[0].title, "View/Set Fuel Tank Size");
    EXPECT_EQ(inputs[0].text, "Enter a value between 0 and 6500.0\r\n0=OFF");
    EXPECT_EQ(inputs[0].defaultText, " 0");
    EXPECT_EQ(inputs[2].defaultText, " 0"); // the rejected answers stored nothing
    EXPECT_EQ(tankSizeDefault(state.document.image, Tank::Fuel), " 6500");

    dialogs.inputAnswers = {"12.34"};
    AskTankSize(state.document, dialogs, Tank::Second);
    EXPECT_EQ(state.document.image.IntNvm.word(23), 123);
    EXPECT_EQ(dialogs.inputs().back().title, "View/Set Optional 2n'd Tank Size");
    EXPECT_EQ(dialogs.inputs().back().text, "Enter a value between 0.0 and 6500.0\r\n0=OFF");
    EXPECT_EQ(tankSizeDefault(state.document.image, Tank::Second), " 12.3");

    dialogs.inputAnswers = {"0.04"};
    AskTankSize(state.document, dialogs, Tank::Second);
    EXPECT_EQ(state.document.image.IntNvm.word(23), 0);
    state.document.image.IntNvm.setWord(23, 1205);
    EXPECT_EQ(tankSizeDefault(state.document.image, Tank::Second), " 120.5");
    EXPECT_EQ(dialogs.unexpected, 0);
}

TEST(EditMenu, CancelledInputChangesNothing)
{
    EditingState state;
    state.document.image.IntNvm.setWord(21, 1000);
    state.document.image.IntNvm.setWord(114, 12000);
    FakeDialogs dialogs;
    dialogs.inputAnswers = {"", "-3", ""};
    EXPECT_FALSE(AskTankSize(state.document, dialogs, Tank::Fuel));
    EXPECT_FALSE(AskMaintenanceAlarm(state.document, dialogs));
    EXPECT_EQ(state.document.image.IntNvm.word(21), 1000);
    EXPECT_EQ(state.document.image.IntNvm.word(114), 12000);
    EXPECT_EQ(dialogs.inputs()[1].defaultText, " 200");
    EXPECT_FALSE(state.document.changed);
}

TEST(EditMenu, MaintenanceAlarmIsStoredInMinutesAndShownInWholeHours)
{
    EditingState state;
    FakeDialogs dialogs;
    dialogs.inputAnswers = {"1000", "999.9"};
    EXPECT_TRUE(AskMaintenanceAlarm(state.document, dialogs));
    EXPECT_EQ(state.document.image.IntNvm[114], 234);
    EXPECT_EQ(state.document.image.IntNvm[115], 90);
    EXPECT_EQ(dialogs.beeps(), 2);
    ASSERT_EQ(dialogs.inputs().size(), 2u);
    EXPECT_EQ(dialogs.inputs()[0].title, "View/Set Engine Maintenance Alarm");
    EXPECT_EQ(dialogs.inputs()[0].text, "Enter a value between 0 and 999.9 hours.\r\n0=OFF");
    EXPECT_EQ(maintenanceAlarmDefault(state.document.image), " 1000");
    EXPECT_TRUE(state.document.changed);

    dialogs.inputAnswers = {"1e40", "0.5"};
    AskMaintenanceAlarm(state.document, dialogs);
    EXPECT_EQ(state.document.image.IntNvm.word(114), 30);
}
