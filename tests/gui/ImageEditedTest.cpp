#include "PanelTestSupport.h"

#include "editors/ui/EditMenu.h"
#include "editors/ui/ImageEdit.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmNmea.h"
#include "editors/ui/frmSenders.h"
#include "editors/ui/frmTimeOfDayAlarms.h"

#include <QTableWidget>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr uint8_t kOilPressure = 3;
constexpr int kEngineHoursPosition = 5;
constexpr int kNmea1APosition = 10;
constexpr int kAlarm8 = 7;

using Edits = std::vector<std::string>;

} // namespace

// Every user action that changes the image is reported once, by the window
// that made it, under the change's name; an action that changes nothing
// reports nothing. Undo and redo are to be built on these reports.
class ImageEditedTest : public PanelFixture
{
protected:
    void recordEdits()
    {
        frmMain &w = shown();
        const auto record = [this](const QString &what) {
            edits.push_back(what.toStdString());
        };
        QObject::connect(w.displayPanel(), &DisplayPanel::imageEdited, record);
        QObject::connect(w.findChild<EditMenu *>(), &EditMenu::imageEdited, record);
        QObject::connect(w.dampingWindow(), &frmDamping::imageEdited, record);
        QObject::connect(w.sendersWindow(), &frmSenders::imageEdited, record);
        QObject::connect(w.nmeaWindow(), &frmNmea::imageEdited, record);
        QObject::connect(w.todAlarmsWindow(), &frmTimeOfDayAlarms::imageEdited, record);
    }

    void key(QWidget *widget, Qt::Key code, const QString &text)
    {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, text);
        QCoreApplication::sendEvent(widget, &event);
    }

    // Replaces the box's text by one typed character.
    void typeOver(QLineEdit *box, char c)
    {
        box->selectAll();
        key(box, Qt::Key(c), QString(QChar(c)));
    }

    Edits edits;
};

TEST_F(ImageEditedTest, EachChangeOfTheImageIsReportedOnceByName)
{
    recordEdits();
    frmMain &w = window();
    // Start values that each step below changes.
    state.document.image.IntNvm[1] = 0x81 | 0x40 | 0x10; // km/h
    state.document.image.CDC(3, 28) = 0;
    state.document.image.CDC(3, 88) = kOilPressure;
    state.document.image.IntNvm[106] = 0; // first damping
    state.document.image.IntNvm[60] = 0;  // alarm 8 hours
    state.document.image.IntNvm[68] = 0;  // NMEA 1A talker
    state.document.image.IntNvm[99] = 0;  // trim sender

    struct Step
    {
        const char *action;
        std::function<void()> act;
        Edits reported;
    };
    const Step steps[] = {
        {"configuration button",
         [&] { configurationButton(3)->click(); },
         {"Configuration 3 chosen"}},
        {"the same button again", [&] { configurationButton(3)->click(); }, {}},
        {"chooser pick",
         [&] { pick("ComboDisplay1", kEngineHoursPosition); },
         {"Configuration 3 digital display 1"}},
        {"the same pick again", [&] { pick("ComboDisplay1", kEngineHoursPosition); }, {}},
        {"icon box",
         [&] { control<QCheckBox>("ChkIconsUpperDeg")->click(); },
         {"Configuration 3 icon DEG"}},
        {"all icons answered No",
         [&] {
             fake.dialogs.messageAnswers = {MessageAnswer::No};
             control<QPushButton>("cmdSetCurrentConfig")->click();
         },
         {}},
        {"all icons answered Yes",
         [&] {
             fake.dialogs.messageAnswers = {MessageAnswer::Yes};
             control<QPushButton>("cmdSetCurrentConfig")->click();
         },
         {"Configuration 3 icons set"}},
        {"bar limit left empty",
         [&] {
             fake.dialogs.inputAnswers = {""};
             control<QPushButton>("cmdDD4HiBar")->click();
         },
         {}},
        {"bar limit",
         [&] {
             fake.dialogs.inputAnswers = {"7000"};
             control<QPushButton>("cmdDD4HiBar")->click();
         },
         {"Configuration 3 left bar graph upper bar limit"}},
        {"menu choice", [&] { control<QAction>("MPH")->trigger(); }, {"Speed units"}},
        {"the ticked menu item again", [&] { control<QAction>("MPH")->trigger(); }, {}},
        {"tank size",
         [&] {
             fake.dialogs.inputAnswers = {"1234.5"};
             control<QAction>("FuelTankSize")->trigger();
         },
         {"Fuel tank size"}},
        {"tank size cancelled",
         [&] {
             fake.dialogs.inputAnswers = {""};
             control<QAction>("FuelTankSize")->trigger();
         },
         {}},
        {"damping typed",
         [&] {
             control<QAction>("ViewDamping")->trigger();
             typeOver(control<QLineEdit>(*w.dampingWindow(), "txtDampingValue"), '7');
         },
         {"Damping"}},
        {"alarm hours typed",
         [&] {
             control<QAction>("ViewTodAlarms")->trigger();
             QComboBox *alarm = control<QComboBox>(*w.todAlarmsWindow(), "cboTodAlarms");
             alarm->setCurrentIndex(kAlarm8);
             typeOver(control<QLineEdit>(*w.todAlarmsWindow(), "txtTodHours"), '9');
         },
         {"Time of day alarm 8"}},
        {"NMEA input chosen",
         [&] { pick("ComboDisplay1", kNmea1APosition); },
         {"Configuration 3 digital display 1"}},
        {"NMEA sentence accepted",
         [&] {
             control<QComboBox>(*w.nmeaWindow(), "cmbNmeaTalker")->setCurrentIndex(3);
             control<QPushButton>(*w.nmeaWindow(), "cmdNmeaAccept")->click();
         },
         {"NMEA input 1 sentence"}},
        {"sender types done",
         [&] {
             control<QAction>("Senders")->trigger();
             pick("cboTrimSender", 3);
             control<QPushButton>(*w.sendersWindow(), "cmdSendersExit")->click();
         },
         {"Sender types"}},
        {"sender curve key",
         [&] {
             control<QAction>("Senders")->trigger();
             control<QPushButton>(*w.sendersWindow(), "cmdEditCurve6")->click();
             auto *grid = control<QTableWidget>(*w.sendersWindow(), "MSFlexGrid1");
             grid->setCurrentCell(1, 1);
             key(grid, Qt::Key_5, QStringLiteral("5"));
         },
         {"Sender curve 6"}},
        {"factory key",
         [&] { press("cmdDD4HiBar", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier); },
         {}},
    };

    for (const Step &step : steps) {
        edits.clear();
        step.act();
        EXPECT_EQ(edits, step.reported) << step.action;
    }
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST(ImageEdit, ComparesTheImageBitForBit)
{
    ConfigDocument document;
    document.image.CalCurve(4, 2, 1) = std::nanf("");
    const ImageEdit unchanged(document);
    EXPECT_FALSE(unchanged.changedImage()) << "a point that is not a number stays itself";

    const ImageEdit byte(document);
    document.setCdc(16, 127, 1);
    EXPECT_TRUE(byte.changedImage());

    const ImageEdit point(document);
    document.setCurvePoint(32, 32, 2, 1.5f);
    EXPECT_TRUE(point.changedImage());

    const ImageEdit writtenBack(document);
    document.setIntNvm(255, 9);
    document.setIntNvm(255, 0);
    EXPECT_FALSE(writtenBack.changedImage()) << "a change undone within the action";
}
