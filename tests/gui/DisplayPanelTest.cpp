#include "PanelTestSupport.h"

#include "editors/IconBits.h"
#include "editors/ui/DisplayPanelControls.h"
#include "editors/ui/frmNmea.h"
#include "editors/ui/frmNmeaData.h"

#include <QMetaObject>
#include <QTimer>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr uint8_t kRpm = 1;
constexpr uint8_t kOilPressure = 3;
constexpr uint8_t kTimeOfDay = 13;
constexpr int kEngineHoursPosition = 5;
constexpr int kBoatSpeedPosition = 4;
constexpr int kNmea2BPosition = 13;

void setIconBytes(AppState &state, int config, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4)
{
    state.document.image.CDC(config, 1) = b1;
    state.document.image.CDC(config, 2) = b2;
    state.document.image.CDC(config, 3) = b3;
    state.document.image.CDC(config, 4) = b4;
}

} // namespace

using DisplayPanelTest = PanelFixture;

TEST_F(DisplayPanelTest, ConfigurationButtonLoadsTheConfigurationAndMarksItself)
{
    frmMain &w = shown();
    setIconBytes(state, 3, 0x81, 0, 0x20, 0);
    state.document.image.CDC(3, 28) = kOilPressure;
    w.nmeaWindow()->show();
    EXPECT_FALSE(titleMarksChanges());

    configurationButton(3)->click();

    EXPECT_EQ(state.document.image.IntNvm[6], 3);
    EXPECT_EQ(state.editor.currentConfig, 3);
    EXPECT_EQ(control<QPushButton>("cmdSetCurrentConfig")->text(), "Set # 3  Icons");
    EXPECT_EQ(control<QPushButton>("cmdResetCurrentConfig")->text(), "Clear # 3  Icons");
    EXPECT_EQ(control<QPushButton>("cmdClearConfig")->text(), "Clear Configuration # 3");
    EXPECT_EQ(control<QGroupBox>("fraData")->title(), "Data for Current Configuration # 3 ");
    EXPECT_TRUE(control<QGroupBox>("fraData")->isVisible());
    EXPECT_TRUE(configurationButton(3)->isDefault());
    int defaults = 0;
    for (int config = 1; config <= kConfigurations; ++config)
        defaults += configurationButton(config)->isDefault() ? 1 : 0;
    EXPECT_EQ(defaults, 1);
    EXPECT_TRUE(control<QCheckBox>("ChkMidRightArrow")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("ChkIconsMiddleNmea1")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("ChkIconsUpperSpeed")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("ChkIconsUpperRpm")->isChecked());
    EXPECT_TRUE(preview().isItemVisible(PreviewItem::lblSpeedU));
    EXPECT_FALSE(preview().isItemVisible(PreviewItem::lblRpmU));
    EXPECT_EQ(control<QComboBox>("ComboDisplay1")->currentText(), "Engine Oil Pressure");
    EXPECT_FALSE(w.nmeaWindow()->isVisible());
    EXPECT_TRUE(titleMarksChanges()) << "the edited configuration is part of the image";
    EXPECT_EQ(fake.dialogs.calls.size(), 0u);

    // New goes back to configuration 1 with the same captions and mark.
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    control<QAction>("New")->trigger();
    EXPECT_TRUE(configurationButton(1)->isDefault());
    EXPECT_FALSE(configurationButton(3)->isDefault());
    EXPECT_EQ(control<QPushButton>("cmdSetCurrentConfig")->text(), "Set # 1  Icons");
}

TEST_F(DisplayPanelTest, UserChoiceStoresTheSourceAndRelabelsTheDisplay)
{
    shown();
    configurationButton(2)->click();

    pick("ComboDisplay1", kEngineHoursPosition);

    EXPECT_EQ(state.document.image.CDC(2, 28), 4);
    EXPECT_FALSE(control<QPushButton>("cmdDD1LoAlarm")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdDD1HiAlarm")->isEnabled());
    EXPECT_EQ(text("LblDisplay1LowAlarm"), "Low Alarm Limit: 0.0");
    EXPECT_EQ(text("LblDisplay1HighAlarm"), "High Alarm Limit: 0.0");
    EXPECT_EQ(preview().fieldSource(1), "Engine Hours");
    EXPECT_TRUE(preview().fieldToolTip(1).contains("Engine Hours"));

    // The keyboard is a user's pick too: Down selects and stores the next item.
    press("ComboDisplay1", Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(control<QComboBox>("ComboDisplay1")->currentIndex(), kEngineHoursPosition + 1);
    EXPECT_EQ(state.document.image.CDC(2, 28), 5) << "Engine Maintenance Alarm";

    // Display 3 has its own list: the same position means another source.
    pick("ComboDisplay3", 28);
    EXPECT_EQ(state.document.image.CDC(2, 68), kTimeOfDay);
    pick("ComboDisplay1", 28);
    EXPECT_EQ(state.document.image.CDC(2, 28), 11) << "Trip Log";
    EXPECT_FALSE(control<QPushButton>("cmdDD3LoAlarm")->isEnabled()) << "Time of Day has no alarm";
}

TEST_F(DisplayPanelTest, ReloadSelectsQuietlyAndKeepsCodesItsListCannotShow)
{
    frmMain &w = shown();
    state.document.image.CDC(1, 28) = kTimeOfDay; // only display 3 lists it
    state.document.image.CDC(1, 68) = kTimeOfDay;
    state.document.image.CDC(1, 88) = 40; // no list names it
    state.document.changed = false;

    panel().reload();

    QComboBox *display1 = control<QComboBox>("ComboDisplay1");
    EXPECT_EQ(display1->currentIndex(), -1);
    EXPECT_TRUE(display1->placeholderText().contains("Time of Day"));
    EXPECT_EQ(control<QComboBox>("ComboDisplay3")->currentText(), "Time of Day");
    EXPECT_EQ(control<QComboBox>("ComboDisplayLeftBar")->currentIndex(), -1);
    EXPECT_TRUE(control<QComboBox>("ComboDisplayLeftBar")->placeholderText().contains("code 40"));
    EXPECT_EQ(state.document.image.CDC(1, 28), kTimeOfDay);
    EXPECT_EQ(state.document.image.CDC(1, 88), 40);
    EXPECT_FALSE(state.document.changed);
    EXPECT_FALSE(titleMarksChanges());

    // Selecting from code never runs the user's choice: no store, no window.
    display1->setCurrentIndex(kNmea2BPosition);
    EXPECT_EQ(state.document.image.CDC(1, 28), kTimeOfDay);
    EXPECT_FALSE(w.nmeaWindow()->isVisible());

    // Until the user picks another item.
    pick("ComboDisplay1", kBoatSpeedPosition);
    EXPECT_EQ(state.document.image.CDC(1, 28), 9);
    EXPECT_TRUE(titleMarksChanges());
}

TEST_F(DisplayPanelTest, ChangeButtonsStoreLimitsSharedByEveryDisplayOfTheSource)
{
    shown();
    state.document.image.CDC(2, 28) = kRpm;
    state.document.image.CDC(5, 68) = kRpm;
    state.document.image.CDC(5, 88) = kOilPressure;
    state.document.image.IntNvm.setWord(130, 9999);
    configurationButton(2)->click();

    fake.dialogs.inputAnswers = {"4500"};
    control<QPushButton>("cmdDD1HiAlarm")->click();
    ASSERT_EQ(fake.dialogs.inputs().size(), 1u);
    EXPECT_EQ(fake.dialogs.inputs()[0].title, "Enter Value");
    EXPECT_EQ(fake.dialogs.inputs()[0].text, "Enter new High Alarm Value below:");
    EXPECT_EQ(fake.dialogs.inputs()[0].defaultText, "9999");
    EXPECT_EQ(text("LblDisplay1HighAlarm"), "High Alarm Limit: 4500");

    configurationButton(5)->click();
    EXPECT_EQ(text("LblDisplay3HighAlarm"), "High Alarm Limit: 4500");
    EXPECT_TRUE(control<QPushButton>("cmdDD3HiAlarm")->isEnabled());

    // A cleared answer changes nothing; a bar limit is clamped and shown.
    fake.dialogs.inputAnswers = {"", "7000"};
    const uint16_t before = state.document.image.IntNvm.word(128);
    control<QPushButton>("cmdDD3LoAlarm")->click();
    EXPECT_EQ(state.document.image.IntNvm.word(128), before);
    control<QPushButton>("cmdDD4HiBar")->click();
    EXPECT_EQ(state.document.image.CDC.word(5, 91), 65535);
    EXPECT_EQ(text("LblLeftBarUpperLimit"), "Upper Bar Limit: 6553.5");
    EXPECT_EQ(fake.dialogs.inputs().back().text, "Enter new Upper Bar Limit value below:");
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST_F(DisplayPanelTest, NmeaInputOpensTheSelectorBesideItsChooserAndOtherSourcesHideIt)
{
    frmMain &w = shown();
    state.document.image.IntNvm[77] = 36; // WI
    state.document.image.IntNvm[78] = 54; // MWV
    state.document.image.IntNvm[79] = 3;
    state.editor.liveNmeaData = true;

    pick("ComboDisplay2", kNmea2BPosition);

    frmNmea *nmea = w.nmeaWindow();
    EXPECT_TRUE(nmea->isVisible());
    EXPECT_FALSE(nmea->isModal());
    EXPECT_EQ(control<QComboBox>(*nmea, "cmbNmeaTalker")->currentText(), "WI");
    EXPECT_EQ(control<QComboBox>(*nmea, "cmbNmeaID")->currentText(), "MWV");
    EXPECT_EQ(control<QComboBox>(*nmea, "cmdNmeaCommas")->currentText(), "3");
    EXPECT_EQ(nmea->pos(), w.geometry().topLeft() + QPoint(6260 / 15, 2615 / 15));
    EXPECT_EQ(state.editor.nmeaInputNumber, 2);
    EXPECT_EQ(state.editor.nmeaSettingsIndex, 77);
    EXPECT_FALSE(state.editor.liveNmeaData);
    EXPECT_EQ(state.document.image.CDC(1, 48), 26) << "NMEA 0183 input #2B";

    // Nothing stored for #4B: the lists select nothing.
    state.document.image.IntNvm[89] = 0;
    state.document.image.IntNvm[90] = 0;
    state.document.image.IntNvm[91] = 0;
    pick("ComboDisplayRightBar", 17);
    EXPECT_EQ(control<QComboBox>(*nmea, "cmbNmeaTalker")->currentIndex(), -1);
    EXPECT_EQ(nmea->pos(), w.geometry().topLeft() + QPoint(6250 / 15, 8050 / 15));
    EXPECT_EQ(nmea->dataWindow()->pos(), w.geometry().topLeft() + QPoint(45 / 15, 5625 / 15));

    pick("ComboDisplay2", kBoatSpeedPosition);
    EXPECT_FALSE(nmea->isVisible());
}

TEST_F(DisplayPanelTest, AllIconsButtonsAskFirstAndNoLeavesEverythingAsItWas)
{
    shown();
    setIconBytes(state, 1, 0x10, 0x02, 0x00, 0x04);
    panel().reload();
    state.document.changed = false;

    fake.dialogs.messageAnswers = {MessageAnswer::No, MessageAnswer::No};
    control<QPushButton>("cmdSetCurrentConfig")->click();
    control<QPushButton>("cmdResetCurrentConfig")->click();
    EXPECT_EQ(state.document.image.CDC(1, 1), 0x10);
    EXPECT_EQ(state.document.image.CDC(1, 4), 0x04);
    EXPECT_TRUE(preview().isItemVisible(PreviewItem::lblNmea3));
    EXPECT_FALSE(preview().isItemVisible(PreviewItem::LblOil));
    EXPECT_FALSE(titleMarksChanges());
    ASSERT_EQ(fake.dialogs.messages().size(), 2u);
    EXPECT_EQ(fake.dialogs.messages()[0].text,
              "Are you sure?\r\nThis will turn ON all the Icons for display configuration # 1");
    EXPECT_EQ(fake.dialogs.messages()[1].text,
              "Are you sure?\r\nThis will clear all the Icons for display configuration # 1");
    EXPECT_EQ(fake.dialogs.messages()[1].title, "Clear all Icons for display configuration # 1");
    EXPECT_EQ(fake.dialogs.beeps(), 2);

    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    control<QPushButton>("cmdSetCurrentConfig")->click();
    EXPECT_EQ(state.document.image.CDC(1, 1), 255);
    EXPECT_EQ(state.document.image.CDC(1, 2), 127);
    EXPECT_EQ(state.document.image.CDC(1, 3), 224);
    EXPECT_EQ(state.document.image.CDC(1, 4), 5);
    for (const IconBox &box : kIconBoxes) {
        EXPECT_TRUE(control<QCheckBox>(box.name.data())->isChecked()) << box.name;
        EXPECT_TRUE(preview().isItemVisible(box.icon)) << box.name;
    }
    EXPECT_TRUE(titleMarksChanges());

    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    control<QPushButton>("cmdResetCurrentConfig")->click();
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(state.document.image.CDC(1, n), 0);
    for (const IconBox &box : kIconBoxes) {
        EXPECT_FALSE(control<QCheckBox>(box.name.data())->isChecked()) << box.name;
        EXPECT_FALSE(preview().isItemVisible(box.icon)) << box.name;
    }
}

TEST_F(DisplayPanelTest, IconBoxRewritesItsByteAndLightsItsItem)
{
    shown();
    setIconBytes(state, 1, 0, 0x7F, 0, 0);
    panel().reload();

    control<QCheckBox>("ChkIconsUpperDeg")->click();
    EXPECT_EQ(state.document.image.CDC(1, 4), 1);
    EXPECT_TRUE(preview().isItemVisible(PreviewItem::LblDegU));

    control<QCheckBox>("ChkIconsMiddleNmea1Left")->click();
    EXPECT_EQ(state.document.image.CDC(1, 4), 5);
    control<QCheckBox>("ChkIconsUpperDeg")->click();
    EXPECT_EQ(state.document.image.CDC(1, 4), 4);
    EXPECT_FALSE(preview().isItemVisible(PreviewItem::LblDegU));

    control<QCheckBox>("ChkIconsLowerRightTemp")->click();
    EXPECT_EQ(state.document.image.CDC(1, 2), 0x3F);
    EXPECT_FALSE(preview().isItemVisible(PreviewItem::LblTemp));
    EXPECT_TRUE(titleMarksChanges());
}

TEST_F(DisplayPanelTest, PreviewFollowsTheImageOfTheCurrentConfiguration)
{
    shown();
    setIconBytes(state, 1, 0x41, 0x10, 0x80, 0x01);
    state.document.image.IntNvm[1] = 0x00; // pointer bars, knots, deg C, bar, 24 h
    state.document.image.CDC(1, 28) = kRpm;
    state.document.image.CDC(1, 48) = 0;
    state.document.image.CDC(1, 68) = kTimeOfDay;
    state.document.image.CDC(1, 88) = kRpm;
    state.document.image.CDC.setWord(1, 89, 0);
    state.document.image.CDC.setWord(1, 91, 4900);
    state.document.image.CDC(1, 108) = 0;

    panel().reload();

    const IconFlags lit = iconFlagsFromBytes(0x41, 0x10, 0x80, 0x01);
    for (const IconInfo &icon : kIcons)
        EXPECT_EQ(preview().isItemVisible(icon.item), iconFlag(lit, icon.item)) << icon.caption;
    for (PreviewItem pointer : {PreviewItem::PicDisplay4PointerU,
                                PreviewItem::PicDisplay4PointerD,
                                PreviewItem::PicDisplay5PointerU,
                                PreviewItem::PicDisplay5PointerD})
        EXPECT_TRUE(preview().isItemVisible(pointer));
    EXPECT_EQ(preview().barMode(), LcdPreview::BarMode::Pointer);
    EXPECT_EQ(preview().fieldText(1), "2450");
    EXPECT_EQ(preview().fieldText(2), "");
    EXPECT_EQ(preview().fieldText(3), "14:35");
    EXPECT_EQ(preview().fieldSource(3), "Time of Day");
    EXPECT_DOUBLE_EQ(preview().barLevel(4), 0.5) << "the sample RPM half way to 4900";
    EXPECT_DOUBLE_EQ(preview().barLevel(5), 0.0) << "a bar showing nothing is empty";
    for (int field = 1; field <= 5; ++field)
        EXPECT_FALSE(
            preview().isItemVisible(PreviewItem(int(PreviewItem::PicDisplay1Blank) + field - 1)));

    // Another configuration shows its own icons; the picture scales with the window.
    setIconBytes(state, 7, 0, 0, 0, 0);
    configurationButton(7)->click();
    EXPECT_FALSE(preview().isItemVisible(PreviewItem::lblRpmU));
    const QRectF before = preview().glassRect();
    window().resize(window().width() + 200, window().height() + 200);
    QCoreApplication::processEvents();
    EXPECT_GT(preview().glassRect().width(), before.width());
}

TEST_F(DisplayPanelTest, FocusedChooserBlinksItsFieldOnTheHalfSecondTimer)
{
    frmMain &w = shown();
    auto *timer = w.findChild<QTimer *>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 500);
    EXPECT_TRUE(timer->isActive());
    const auto tick = [timer] {
        QMetaObject::invokeMethod(timer, "timeout");
    };
    const auto blank = [this](PreviewItem item) {
        return preview().isItemVisible(item);
    };

    focus("ComboDisplay2", QEvent::FocusIn, Qt::TabFocusReason);
    tick();
    EXPECT_TRUE(blank(PreviewItem::PicDisplay2Blank));
    EXPECT_FALSE(blank(PreviewItem::PicDisplay1Blank));
    tick();
    EXPECT_FALSE(blank(PreviewItem::PicDisplay2Blank));
    tick();
    EXPECT_TRUE(blank(PreviewItem::PicDisplay2Blank));

    // A reload in between does not restart the blink; the list's popup does
    // not take the focus away.
    panel().reload();
    EXPECT_TRUE(blank(PreviewItem::PicDisplay2Blank));
    focus("ComboDisplay2", QEvent::FocusOut, Qt::PopupFocusReason);
    tick();
    EXPECT_FALSE(blank(PreviewItem::PicDisplay2Blank));
    tick();
    EXPECT_TRUE(blank(PreviewItem::PicDisplay2Blank));

    // Moving to another control leaves the field readable at once.
    focus("ComboDisplay2", QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_FALSE(blank(PreviewItem::PicDisplay2Blank));
    focus("ComboDisplayRightBar", QEvent::FocusIn, Qt::MouseFocusReason);
    tick();
    EXPECT_TRUE(blank(PreviewItem::PicDisplay5Blank));
    EXPECT_FALSE(blank(PreviewItem::PicDisplay2Blank));
    EXPECT_FALSE(blank(PreviewItem::PicDisplayBarLimitBlank));
}

TEST_F(DisplayPanelTest, CtrlAltQOnTheUpperBarButtonTurnsOnFactoryMode)
{
    shown();
    press("cmdDD4HiBar", Qt::Key_Q, Qt::ControlModifier);
    press("cmdDD4HiBar", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    press("cmdDD5HiBar", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(link().linkState().FactoryMode);

    press("cmdDD4HiBar", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(link().linkState().FactoryMode);
    EXPECT_FALSE(titleMarksChanges()) << "factory mode is not part of the image";
}
