#include "editors/ConfigPanel.h"

#include "EditingState.h"
#include "support/CheckCapture.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace orvane;
using orvane::test::DialogCall;
using orvane::test::EditingState;
using orvane::test::failsACheck;
using orvane::test::FakeDialogs;

namespace {

constexpr uint8_t kRpm = 1;
constexpr uint8_t kEngineHours = 4;
constexpr uint8_t kBoatSpeed = 9;

EditingState stateEditing(int config)
{
    EditingState state;
    state.document.image.IntNvm[6] = uint8_t(config);
    state.document.image.IntNvm[7] = 5;
    return state;
}

} // namespace

TEST(ConfigPanel, ChoosingAConfigurationStoresItAndCaptionsIt)
{
    EditingState state = stateEditing(1);
    state.document.image.CDC(3, 28) = kBoatSpeed;
    state.document.image.CDC(3, 1) = 0x81;
    const ConfigChoice choice = ChooseConfiguration(state.document, state.editor, 2);
    EXPECT_EQ(state.document.image.IntNvm[6], 3);
    EXPECT_EQ(state.editor.currentConfig, 3);
    EXPECT_EQ(choice.captions.cmdSetCurrentConfig, "Set # 3  Icons");
    EXPECT_EQ(choice.captions.cmdResetCurrentConfig, "Clear # 3  Icons");
    EXPECT_EQ(choice.captions.cmdClearConfig, "Clear Configuration # 3");
    EXPECT_EQ(choice.captions.fraData, "Data for Current Configuration # 3 ");
    EXPECT_EQ(choice.preview.config, 3);
    EXPECT_EQ(choice.preview.chooserPosition(Display::Display1), 4);
    EXPECT_TRUE(choice.preview.isVisible(PreviewItem::PicUpRightArrow));
    EXPECT_TRUE(choice.preview.hideNmeaWindows);
    EXPECT_EQ(captionsForConfig(16).cmdClearConfig, "Clear Configuration # 16");
    // Another button number shows the configuration being edited again.
    ConfigChoice again;
    EXPECT_TRUE(
        failsACheck([&] { again = ChooseConfiguration(state.document, state.editor, 16); }));
    EXPECT_EQ(again.config, 3);
    EXPECT_EQ(state.document.image.IntNvm[6], 3);
}

TEST(ConfigPanel, LabelsShowEachDisplaysLimitsAndDisableMissingAlarms)
{
    EditingState state = stateEditing(4);
    state.document.image.CDC(4, 28) = kEngineHours;
    state.document.image.CDC(4, 48) = kBoatSpeed;
    state.document.image.CDC(4, 88) = kRpm;
    state.document.image.IntNvm.setWord(152, 250);
    state.document.image.IntNvm.setWord(154, 3000);
    state.document.image.CDC.setWord(4, 89, 500);
    state.document.image.CDC.setWord(4, 91, 4000);

    const AlarmAndLimitLabels labels = ShowAlarmAndLimits(state.document.image);
    const DisplayLabels &hours = labels.of(Display::Display1);
    EXPECT_FALSE(hours.alarmButtonsEnabled);
    EXPECT_EQ(hours.lowAlarm, "Low Alarm Limit: 0.0");
    EXPECT_EQ(hours.highAlarm, "High Alarm Limit: 0.0");
    EXPECT_TRUE(labels.of(Display::Display2).alarmButtonsEnabled);
    EXPECT_EQ(labels.of(Display::Display2).lowAlarm, "Low Alarm Limit: 2.50");
    EXPECT_EQ(labels.of(Display::Display2).highAlarm, "High Alarm Limit: 30.00");
    EXPECT_EQ(labels.of(Display::LeftBar).lowerBar, "Lower Bar Limit: 500");
    EXPECT_EQ(labels.of(Display::LeftBar).upperBar, "Upper Bar Limit: 4000");
    // "None - Blank" has no alarm record either.
    EXPECT_FALSE(labels.of(Display::RightBar).alarmButtonsEnabled);
    EXPECT_EQ(labels.of(Display::RightBar).lowerBar, "Lower Bar Limit: 0");
}

TEST(ConfigPanel, AlarmLimitsAreSharedByEveryConfigurationShowingTheSource)
{
    EditingState state = stateEditing(2);
    state.document.image.CDC(2, 28) = kRpm;
    state.document.image.CDC(9, 68) = kRpm;
    state.document.image.CDC(9, 108) = kRpm;
    FakeDialogs dialogs;
    dialogs.inputAnswers = {"4500"};

    const LimitChange change
        = ChangeLimit(state.document, dialogs, Display::Display1, LimitKind::HighAlarm);
    ASSERT_TRUE(change.stored);
    EXPECT_EQ(change.labels.of(Display::Display1).highAlarm, "High Alarm Limit: 4500");
    ASSERT_EQ(dialogs.inputs().size(), 1u);
    EXPECT_EQ(dialogs.inputs()[0].title, "Enter Value");
    EXPECT_EQ(dialogs.inputs()[0].text, "Enter new High Alarm Value below:");
    EXPECT_EQ(dialogs.inputs()[0].defaultText, "0");

    ChooseConfiguration(state.document, state.editor, 8);
    const AlarmAndLimitLabels labels = ShowAlarmAndLimits(state.document.image);
    EXPECT_EQ(labels.of(Display::Display3).highAlarm, "High Alarm Limit: 4500");
    EXPECT_EQ(labels.of(Display::RightBar).highAlarm, "High Alarm Limit: 4500");
    EXPECT_EQ(labels.of(Display::RightBar).lowAlarm, "Low Alarm Limit: 0");
}

TEST(ConfigPanel, ChangeButtonsAskWithTheCurrentValueAndIgnoreEmptyAnswers)
{
    EditingState state = stateEditing(6);
    state.document.image.CDC(6, 48) = kBoatSpeed;
    state.document.image.CDC(6, 108) = 3; // oil pressure, one decimal
    state.document.image.CDC.setWord(6, 109, 125);
    state.document.image.IntNvm.setWord(152, 1230);
    FakeDialogs dialogs;
    dialogs.inputAnswers = {"", "", "88.88"};

    EXPECT_FALSE(
        ChangeLimit(state.document, dialogs, Display::Display2, LimitKind::LowAlarm).stored);
    EXPECT_FALSE(
        ChangeLimit(state.document, dialogs, Display::RightBar, LimitKind::LowerBar).stored);
    EXPECT_FALSE(state.document.changed);
    const LimitChange change
        = ChangeLimit(state.document, dialogs, Display::RightBar, LimitKind::UpperBar);
    EXPECT_TRUE(change.stored);
    EXPECT_EQ(state.document.image.CDC.word(6, 111), 889);
    EXPECT_EQ(change.labels.of(Display::RightBar).upperBar, "Upper Bar Limit: 88.9");
    EXPECT_EQ(change.labels.of(Display::RightBar).lowerBar, "Lower Bar Limit: 12.5");

    const auto inputs = dialogs.inputs();
    ASSERT_EQ(inputs.size(), 3u);
    EXPECT_EQ(inputs[0].text, "Enter new Low Alarm Value below:");
    EXPECT_EQ(inputs[0].defaultText, "12.30");
    EXPECT_EQ(inputs[1].text, "Enter new Lower Bar Limit value below:");
    EXPECT_EQ(inputs[1].defaultText, "12.5");
    EXPECT_EQ(inputs[2].text, "Enter new Upper Bar Limit value below:");
    EXPECT_EQ(dialogs.unexpected, 0);

    // A display whose source has no record asks nothing; digital displays
    // have no bar limits.
    state.document.image.CDC(6, 28) = kEngineHours;
    EXPECT_FALSE(
        ChangeLimit(state.document, dialogs, Display::Display1, LimitKind::LowAlarm).stored);
    EXPECT_EQ(dialogs.inputs().size(), 3u);
    LimitChange none;
    EXPECT_TRUE(failsACheck([&] {
        none = ChangeLimit(state.document, dialogs, Display::Display3, LimitKind::LowerBar);
    }));
    EXPECT_FALSE(none.stored);
    EXPECT_EQ(dialogs.inputs().size(), 3u);
}

TEST(ConfigPanel, NmeaChoicesOpenTheSelectorOnTheirSettings)
{
    EditingState state = stateEditing(1);
    state.document.image.IntNvm[77] = 20;
    state.document.image.IntNvm[78] = 101;
    state.document.image.IntNvm[79] = 2;
    state.editor.liveNmeaData = true;

    SourceChoice choice = ChooseDataSource(state.document, state.editor, Display::Display2, 13);
    EXPECT_EQ(choice.storedCode, 26);
    EXPECT_EQ(state.document.image.CDC(1, 48), 26);
    ASSERT_TRUE(choice.nmea);
    EXPECT_EQ(choice.nmea->settingsIndex, 77);
    EXPECT_EQ(choice.nmea->inputNumber, 2);
    EXPECT_EQ(choice.nmea->talkerPosition, 19);
    EXPECT_EQ(choice.nmea->sentencePosition, 100);
    EXPECT_EQ(choice.nmea->commasPosition, 1);
    EXPECT_EQ(state.editor.nmeaSettingsIndex, 77);
    EXPECT_EQ(state.editor.nmeaInputNumber, 2);
    EXPECT_FALSE(state.editor.liveNmeaData);
    EXPECT_EQ(choice.labels.of(Display::Display2).highAlarm, "High Alarm Limit: 0");

    choice = ChooseDataSource(state.document, state.editor, Display::Display2, 4);
    EXPECT_FALSE(choice.nmea);
    EXPECT_EQ(state.document.image.CDC(1, 48), kBoatSpeed);
    EXPECT_EQ(state.editor.nmeaSettingsIndex, 77);

    // Positions 10..17 mean the same inputs in both lists.
    for (int position = 10; position <= 17; ++position) {
        for (Display display : {Display::Display3, Display::LeftBar}) {
            const SourceChoice nmea
                = ChooseDataSource(state.document, state.editor, display, position);
            ASSERT_TRUE(nmea.nmea);
            EXPECT_EQ(nmea.nmea->settingsIndex, 68 + 3 * (position - 10));
            EXPECT_EQ(nmea.nmea->inputNumber, (position - 10) / 2 + 1);
            EXPECT_EQ(nmea.storedCode, 23 + (position - 10));
        }
    }
}

TEST(ConfigPanel, NmeaSettingsNothingOrPastTheListsSelectNothing)
{
    EditingState state = stateEditing(1);
    state.document.image.IntNvm[83] = 0;
    state.document.image.IntNvm[84] = 121;
    state.document.image.IntNvm[85] = 255;
    const SourceChoice choice
        = ChooseDataSource(state.document, state.editor, Display::RightBar, 15);
    ASSERT_TRUE(choice.nmea);
    EXPECT_EQ(choice.nmea->settingsIndex, 83);
    EXPECT_EQ(choice.nmea->talkerPosition, -1);
    EXPECT_EQ(choice.nmea->sentencePosition, -1);
    EXPECT_EQ(choice.nmea->commasPosition, -1);
}

TEST(ConfigPanel, ClearAndSetAllIconsAskFirst)
{
    EditingState state = stateEditing(3);
    const std::array<uint8_t, 4> before = {0x81, 0x11, 0x20, 0x04};
    for (int n = 1; n <= 4; ++n)
        state.document.image.CDC(3, n) = before[size_t(n - 1)];
    FakeDialogs dialogs;
    dialogs.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes};

    EXPECT_FALSE(ClearAllIcons(state.document, dialogs));
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(state.document.image.CDC(3, n), before[size_t(n - 1)]);
    EXPECT_FALSE(state.document.changed);

    const auto cleared = ClearAllIcons(state.document, dialogs);
    ASSERT_TRUE(cleared);
    EXPECT_EQ(*cleared, IconFlags{});
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(state.document.image.CDC(3, n), 0);

    const auto set = SetAllIcons(state.document, dialogs);
    ASSERT_TRUE(set);
    EXPECT_EQ(*set, allIcons());
    EXPECT_EQ(state.document.image.CDC(3, 1), 255);
    EXPECT_EQ(state.document.image.CDC(3, 2), 127);
    EXPECT_EQ(state.document.image.CDC(3, 3), 224);
    EXPECT_EQ(state.document.image.CDC(3, 4), 5);
    EXPECT_EQ(state.document.image.CDC(2, 1), 0);

    const auto messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(dialogs.beeps(), 3);
    EXPECT_EQ(messages[0].text,
              "Are you sure?\r\nThis will clear all the Icons for display configuration # 3");
    EXPECT_EQ(messages[0].title, "Clear all Icons for display configuration # 3");
    EXPECT_EQ(messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages[2].text,
              "Are you sure?\r\nThis will turn ON all the Icons for display configuration # 3");
    EXPECT_EQ(dialogs.calls.front().kind, DialogCall::Kind::Beep);
}

TEST(ConfigPanel, IconClickRewritesTheWholeByteFromTheBoxes)
{
    EditingState state = stateEditing(2);
    state.document.image.CDC(2, 2) = 0x80; // a bit no box owns
    state.document.image.CDC(2, 3) = 0xE0;
    IconFlags boxes = iconFlagsOfConfig(state.document.image, 2);
    iconFlag(boxes, PreviewItem::LblFuel) = true;
    IconBoxClicked(state.document, boxes, PreviewItem::LblFuel);
    EXPECT_EQ(state.document.image.CDC(2, 2), 0x20);
    EXPECT_EQ(state.document.image.CDC(2, 3), 0xE0); // other bytes untouched
    EXPECT_TRUE(state.document.changed);

    iconFlag(boxes, PreviewItem::LblDegU) = true;
    IconBoxClicked(state.document, boxes, PreviewItem::LblDegU);
    EXPECT_EQ(state.document.image.CDC(2, 4), 1);
}

TEST(ConfigPanel, FocusedChooserBlinksItsFieldOnly)
{
    PanelState panel;
    chooserFocusChanged(panel, Display::Display3, true);
    blinkTick(panel);
    EXPECT_TRUE(panel.blankVisible[2]);
    blinkTick(panel);
    EXPECT_FALSE(panel.blankVisible[2]);
    blinkTick(panel);
    chooserFocusChanged(panel, Display::Display3, false);
    chooserFocusChanged(panel, Display::LeftBar, true);
    blinkTick(panel);
    EXPECT_FALSE(panel.blankVisible[2]);
    EXPECT_TRUE(panel.blankVisible[3]);
}

TEST(ConfigPanel, OnlyCtrlAltQAsksForFactoryMode)
{
    // The window turns factory mode on; see the display panel's test.
    constexpr PanelKeyRequest none = PanelKeyRequest::None;
    EXPECT_EQ(factoryKeyDown({'Q', true, true, true}), none);
    EXPECT_EQ(factoryKeyDown({'Q', false, true, false}), none);
    EXPECT_EQ(factoryKeyDown({'W', false, true, true}), none);
    EXPECT_EQ(factoryKeyDown({'q', false, true, true}), PanelKeyRequest::FactoryMode);
}
