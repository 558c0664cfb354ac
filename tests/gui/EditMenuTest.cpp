#include "PanelTestSupport.h"

#include "editors/EditMenuSettings.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmSenders.h"
#include "editors/ui/frmTimeOfDayAlarms.h"

#include <QAction>
#include <QApplication>

using namespace orvane;
using namespace orvane::test;

namespace {

const std::vector<const char *> kSpeedItems = {"Knots", "MPH", "KmHr"};

} // namespace

class EditMenuTest : public PanelFixture
{
protected:
    QAction *item(const char *name) { return control<QAction>(name); }

    std::vector<bool> marks(const std::vector<const char *> &names)
    {
        std::vector<bool> checked;
        for (const char *name : names)
            checked.push_back(item(name)->isChecked());
        return checked;
    }
};

TEST_F(EditMenuTest, UnitItemsWriteOnlyTheirBitsAndKeepTheMarksTrue)
{
    frmMain &w = shown();
    state.document.image.IntNvm[1] = 0x81 | 0x40 | 0x10; // km/h, PSI, deg C, 24 h, pointer
    state.document.image.CDC(1, 28) = 9;                 // Boat Speed
    panel().reload();
    EXPECT_EQ(marks(kSpeedItems), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(preview().fieldText(1), "23.15");
    EXPECT_FALSE(titleMarksChanges());

    item("MPH")->trigger();
    EXPECT_EQ(state.document.image.IntNvm[1], 0x81 | 0x20 | 0x10);
    EXPECT_EQ(marks(kSpeedItems), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(preview().fieldText(1), "14.38") << "the sample 12.5 knots in miles per hour";
    EXPECT_TRUE(titleMarksChanges());

    // Clicking the ticked item keeps it ticked and changes nothing.
    item("MPH")->trigger();
    EXPECT_TRUE(item("MPH")->isChecked());
    EXPECT_EQ(state.document.image.IntNvm[1], 0x81 | 0x20 | 0x10);

    frmSenders *senders = w.sendersWindow();
    item("DegF")->trigger();
    EXPECT_EQ(state.document.image.IntNvm[1] & 0x08, 0x08);
    EXPECT_EQ(control<QLabel>(*senders, "lblSendersUofMTemperature")->text(),
              "Temperature:  Deg F");
    EXPECT_EQ(marks({"DegF", "DegC"}), (std::vector<bool>{true, false}));
    item("Bars")->trigger();
    EXPECT_EQ(control<QLabel>(*senders, "lblSendersUofMPressure")->text(), "Pressure:  Bars");
    item("Hr12")->trigger();
    EXPECT_EQ(state.document.image.IntNvm[1], 0x81 | 0x20 | 0x08 | 0x04);
    EXPECT_FALSE(senders->isVisible()) << "the labels change whether or not it is open";

    item("BarChart")->trigger();
    EXPECT_EQ(preview().barMode(), LcdPreview::BarMode::Chart);
    EXPECT_FALSE(preview().isItemVisible(PreviewItem::PicDisplay5PointerD));
    item("Pointer")->trigger();
    EXPECT_TRUE(preview().isItemVisible(PreviewItem::PicDisplay5PointerD));
    EXPECT_EQ(state.document.image.IntNvm[1] & 0x81, 0x81) << "bits 7 and 0 belong to no menu";

    // Marks are rebuilt from the image: speed bits 1,1 tick no speed item.
    state.document.image.IntNvm[1] = 0x60;
    panel().reload();
    EXPECT_EQ(marks(kSpeedItems), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(marks({"DegF", "DegC", "Psi", "Bars", "BarChart", "Pointer"}),
              (std::vector<bool>{false, true, false, true, false, true}));
    EXPECT_EQ(control<QLabel>(*senders, "lblSendersUofMTemperature")->text(),
              "Temperature:  Deg C");
}

TEST_F(EditMenuTest, TachometerItemsKeepTheHighBitsAndAReloadRepairsTheRatio)
{
    shown();
    state.document.image.IntNvm[2] = 0xAF;
    item("TachoSensitivityMinimum")->trigger();
    EXPECT_EQ(state.document.image.IntNvm[2], 0xA7);
    item("TachoSensitivityHigh")->trigger();
    EXPECT_EQ(state.document.image.IntNvm[2], 0xAE);
    EXPECT_EQ(marks({"TachoSensitivityMaximum",
                     "TachoSensitivityHigh",
                     "TachoSensitivityMedium",
                     "TachoSensitivityLow",
                     "TachoSensitivityMinimum"}),
              (std::vector<bool>{false, true, false, false, false}));

    item("TachoRatio50")->trigger();
    EXPECT_EQ(state.document.image.IntNvm[7], 50);
    EXPECT_TRUE(item("TachoRatio50")->isChecked());
    EXPECT_FALSE(item("TachoRatio1")->isChecked());

    state.document.image.IntNvm[7] = 3;
    state.document.image.IntNvm[2] = 0x80;
    panel().reload();
    EXPECT_EQ(state.document.image.IntNvm[7], 1);
    EXPECT_TRUE(item("TachoRatio1")->isChecked());
    EXPECT_FALSE(item("TachoRatio50")->isChecked());
    EXPECT_FALSE(item("TachoSensitivityHigh")->isChecked());
}

TEST_F(EditMenuTest, SizeAndAlarmBoxesAskAgainUntilTheAnswerFits)
{
    shown();
    fake.dialogs.inputAnswers = {"6500.1", "-1", "6500"};
    item("FuelTankSize")->trigger();
    ASSERT_EQ(fake.dialogs.inputs().size(), 3u);
    EXPECT_EQ(fake.dialogs.beeps(), 3);
    EXPECT_EQ(fake.dialogs.inputs()[0].title, "View/Set Fuel Tank Size");
    EXPECT_EQ(fake.dialogs.inputs()[0].text, "Enter a value between 0 and 6500.0\r\n0=OFF");
    EXPECT_EQ(state.document.image.IntNvm[21], 253);
    EXPECT_EQ(state.document.image.IntNvm[22], 232);
    EXPECT_TRUE(titleMarksChanges());

    // Cancel keeps the stored size, offered as the default.
    fake.dialogs.inputAnswers = {""};
    item("FuelTankSize")->trigger();
    EXPECT_EQ(fake.dialogs.inputs().back().defaultText, " 6500");
    EXPECT_EQ(state.document.image.IntNvm.word(21), 65000);

    fake.dialogs.inputAnswers = {"12.34"};
    item("Tank2Size")->trigger();
    EXPECT_EQ(fake.dialogs.inputs().back().title, "View/Set Optional 2n'd Tank Size");
    EXPECT_EQ(state.document.image.IntNvm.word(23), 123);

    fake.dialogs.inputAnswers = {"1000", "999.9"};
    item("ViewMaintenanceAlarm")->trigger();
    EXPECT_EQ(fake.dialogs.inputs().back().title, "View/Set Engine Maintenance Alarm");
    EXPECT_EQ(state.document.image.IntNvm[114], 234);
    EXPECT_EQ(state.document.image.IntNvm[115], 90);
    EXPECT_EQ(fake.dialogs.unexpected, 0);
    EXPECT_TRUE(fake.dialogs.messages().empty()) << "out-of-range answers are not reported";
}

TEST_F(EditMenuTest, SettingsWindowsOpenWithoutBlockingTheMainWindow)
{
    frmMain &w = shown();
    const std::pair<const char *, QWidget *> items[] = {
        {"ViewDamping", w.dampingWindow()},
        {"Senders", w.sendersWindow()},
        {"ViewTodAlarms", w.todAlarmsWindow()},
    };
    for (const auto &[name, window] : items) {
        EXPECT_FALSE(window->isVisible()) << name;
        item(name)->trigger();
        EXPECT_TRUE(window->isVisible()) << name;
        EXPECT_FALSE(window->isModal()) << name;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << name;
    }
    EXPECT_FALSE(titleMarksChanges());
    EXPECT_TRUE(fake.dialogs.calls.empty());
}
