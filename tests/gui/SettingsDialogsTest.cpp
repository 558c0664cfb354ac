#include "PanelTestSupport.h"

#include "editors/ui/frmDamping.h"
#include "editors/ui/frmTimeOfDayAlarms.h"

#include <QAction>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr int kNmeaChannel2B = 3;
constexpr int kAlarm8 = 7;

void pickItem(QComboBox *list, int position)
{
    list->setCurrentIndex(position);
    emit list->activated(position);
}

void key(QWidget *widget, Qt::Key code, const QString &text = {})
{
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &event);
}

// Typing as the user does: key by key into the box, at its caret.
void type(QLineEdit *box, const QString &text)
{
    for (const QChar c : text)
        key(box, Qt::Key(c.unicode()), QString(c));
}

void clear(QLineEdit *box)
{
    box->selectAll();
    key(box, Qt::Key_Backspace);
}

} // namespace

using SettingsDialogsTest = PanelFixture;

TEST_F(SettingsDialogsTest, DampingBoxShowsWhatWasStoredWhileStayingTypeable)
{
    frmMain &w = shown();
    frmDamping *damping = w.dampingWindow();
    QLineEdit *box = control<QLineEdit>(*damping, "txtDampingValue");
    control<QAction>("ViewDamping")->trigger();
    pickItem(control<QComboBox>(*damping, "cboDamping"), kNmeaChannel2B);

    clear(box);
    EXPECT_EQ(box->text(), "") << "an emptied box waits for the new value";
    EXPECT_EQ(state.document.image.IntNvm[102], 0);
    type(box, "12");
    EXPECT_EQ(state.document.image.IntNvm[102], 12);
    EXPECT_TRUE(titleMarksChanges());

    clear(box);
    type(box, "300");
    EXPECT_EQ(box->text(), "250");
    EXPECT_EQ(state.document.image.IntNvm[102], 250);

    // A rewrite keeps the caret: "0" typed before "5" disappears, and the
    // next digit still lands in front.
    clear(box);
    type(box, "5");
    box->setCursorPosition(0);
    type(box, "01");
    EXPECT_EQ(box->text(), "15");
    EXPECT_EQ(state.document.image.IntNvm[102], 15);

    clear(box);
    emit box->editingFinished();
    EXPECT_EQ(box->text(), "0") << "leaving the box shows what was stored";

    control<QPushButton>(*damping, "cmdExitDamping")->click();
    EXPECT_FALSE(damping->isVisible());
    state.document.image.IntNvm[102] = 99; // e.g. a file opened meanwhile
    control<QAction>("ViewDamping")->trigger();
    EXPECT_EQ(box->text(), "99");
}

TEST_F(SettingsDialogsTest, AlarmTextStaysAsTypedUntilTheAlarmIsPickedAgain)
{
    frmMain &w = shown();
    frmTimeOfDayAlarms *alarms = w.todAlarmsWindow();
    control<QAction>("ViewTodAlarms")->trigger();
    pickItem(control<QComboBox>(*alarms, "cboTodAlarms"), kAlarm8);

    clear(control<QLineEdit>(*alarms, "txtTodHours"));
    type(control<QLineEdit>(*alarms, "txtTodHours"), "25");
    clear(control<QLineEdit>(*alarms, "txtTodMinutes"));
    type(control<QLineEdit>(*alarms, "txtTodMinutes"), "75");
    EXPECT_EQ(state.document.image.IntNvm[60], 23);
    EXPECT_EQ(state.document.image.IntNvm[61], 59);
    EXPECT_EQ(control<QLineEdit>(*alarms, "txtTodHours")->text(), "25");
    EXPECT_EQ(control<QLineEdit>(*alarms, "txtTodMinutes")->text(), "75");

    pickItem(control<QComboBox>(*alarms, "cboTodAlarms"), kAlarm8);
    EXPECT_EQ(control<QLineEdit>(*alarms, "txtTodHours")->text(), "23");
    EXPECT_EQ(control<QLineEdit>(*alarms, "txtTodMinutes")->text(), "59");

    control<QPushButton>(*alarms, "cmdExitDamping")->click();
    EXPECT_FALSE(alarms->isVisible());
    state.document.image.IntNvm[61] = 7;
    control<QAction>("ViewTodAlarms")->trigger();
    EXPECT_EQ(control<QLineEdit>(*alarms, "txtTodMinutes")->text(), "07");
}
