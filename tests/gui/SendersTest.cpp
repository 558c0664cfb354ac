#include "PanelTestSupport.h"

#include "config/ConfigFile.h"
#include "config/ConfigTestSupport.h"
#include "config/Defaults.h"
#include "editors/ui/frmChart.h"
#include "editors/ui/frmSenders.h"

#include <QAction>
#include <QChartView>
#include <QLineSeries>
#include <QTableWidget>
#include <QValueAxis>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr uint8_t kDegF = 0x08;
const QPoint kOffsetFromMainWindow(2500 / 15, 500 / 15);

} // namespace

class SendersTest : public PanelFixture
{
protected:
    // Starts on a working file made from the defaults as the test changes them.
    frmSenders &openSenders(const std::function<void(ConfigState &)> &change)
    {
        ConfigState saved;
        WriteDefaultsToRam(saved.document, false);
        change(saved);
        std::ofstream(programFile("DEFAULT.CFG"), std::ios::binary)
            << fileTextOf(saved, fake.clock.local);
        frmMain &w = shown();
        control<QAction>("Senders")->trigger();
        return *w.sendersWindow();
    }

    void type(frmSenders &senders, Qt::Key key, const QString &text = {})
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(control<QTableWidget>(senders, "MSFlexGrid1"), &event);
    }

    QString cell(frmSenders &senders, int row, int column)
    {
        return control<QTableWidget>(senders, "MSFlexGrid1")->item(row, column)->text();
    }
};

TEST_F(SendersTest, GridOpensUnderItsButtonTakesKeysAndIsStoredByAListFocus)
{
    frmSenders &senders = openSenders([](ConfigState &saved) {
        saved.document.image.IntNvm[1] &= uint8_t(~kDegF);
        saved.document.image.CalCurve(6, 1, 2) = 2000;
    });
    QTableWidget *grid = control<QTableWidget>(senders, "MSFlexGrid1");
    EXPECT_TRUE(senders.isVisible());
    EXPECT_EQ(senders.pos(), window().pos() + kOffsetFromMainWindow);
    EXPECT_FALSE(grid->isVisible());

    control<QPushButton>(senders, "cmdEditCurve6")->click();
    EXPECT_TRUE(grid->isVisible());
    EXPECT_TRUE(control<QPushButton>(senders, "cmdSendersView")->isEnabled());
    EXPECT_EQ(grid->mapToGlobal(QPoint()).x(),
              control<QPushButton>(senders, "cmdEditCurve6")->mapToGlobal(QPoint()).x());
    EXPECT_EQ(cell(senders, 1, 1), "10");
    EXPECT_EQ(cell(senders, 1, 2), "93");
    EXPECT_EQ(state.editor.CurveInEdit, 6);

    grid->setCurrentCell(1, 2);
    type(senders, Qt::Key_Backspace, "\b");
    type(senders, Qt::Key_Backspace, "\b");
    type(senders, Qt::Key_9, "9");
    type(senders, Qt::Key_0, "0");
    EXPECT_EQ(cell(senders, 1, 2), "90");
    EXPECT_FLOAT_EQ(state.document.image.CalCurve(6, 1, 2), 1940.0f)
        << "90 deg C in tenths of deg F";
    EXPECT_TRUE(titleMarksChanges());
    type(senders, Qt::Key_X, "x");
    type(senders, Qt::Key_Escape, "\x1b");
    EXPECT_EQ(fake.dialogs.beeps(), 2);
    EXPECT_TRUE(senders.isVisible()) << "Escape in the grid is a rejected key";
    type(senders, Qt::Key_Down);
    EXPECT_EQ(grid->currentRow(), 2) << "arrows move as usual";
    EXPECT_EQ(fake.dialogs.beeps(), 2);

    // The last button's grid stays inside the window.
    control<QPushButton>(senders, "cmdEditCurve25")->click();
    EXPECT_LE(grid->geometry().right(), control<QWidget>(senders, "curveArea")->width());
    EXPECT_EQ(cell(senders, 32, 2), "100.0");

    focus("cboFuelSender", QEvent::FocusIn, Qt::MouseFocusReason);
    EXPECT_FALSE(grid->isVisible());
    EXPECT_FALSE(control<QPushButton>(senders, "cmdSendersView")->isEnabled());
    EXPECT_FLOAT_EQ(state.document.image.CalCurve(6, 1, 2), 1940.0f);

    // The close box keeps the curve in edit and stores no list.
    control<QPushButton>(senders, "cmdEditCurve9")->click();
    control<QComboBox>("cboFuelSender")->setCurrentIndex(0);
    senders.close();
    EXPECT_FALSE(senders.isVisible());
    EXPECT_FALSE(grid->isVisible());
    EXPECT_FALSE(control<QPushButton>(senders, "cmdSendersView")->isEnabled());
    EXPECT_EQ(state.editor.CurveInEdit, 9);
    EXPECT_EQ(state.document.image.IntNvm[98], 7);
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

TEST_F(SendersTest, ListsShowTheStoredCodesAndDoneStoresTheirPositions)
{
    frmSenders &senders = openSenders([](ConfigState &saved) {
        saved.document.image.IntNvm[98] = 5;   // fuel: below the list's codes
        saved.document.image.IntNvm[100] = 12; // engine temperature: past its list
        saved.document.image.IntNvm[102] = 44; // damping, between the sender bytes
    });
    EXPECT_EQ(control<QComboBox>(senders, "cboFuelSender")->currentText(), "0:  None");
    EXPECT_EQ(control<QComboBox>(senders, "cboEngineTempSender")->currentIndex(), -1);
    EXPECT_EQ(control<QComboBox>(senders, "cboOilPressureSender")->currentIndex(), 2);

    pick("cboOilPressureSender", 0);
    pick("cboTrimSender", 3);
    control<QPushButton>(senders, "cmdEditCurve19")->click();
    control<QPushButton>(senders, "cmdSendersExit")->click();

    EXPECT_FALSE(senders.isVisible());
    EXPECT_FALSE(control<QTableWidget>(senders, "MSFlexGrid1")->isVisible());
    EXPECT_FALSE(control<QPushButton>(senders, "cmdSendersView")->isEnabled());
    EXPECT_EQ(state.editor.CurveInEdit, 99);
    EXPECT_EQ(state.document.image.IntNvm[101], 0);
    EXPECT_EQ(state.document.image.IntNvm[99], 19);
    EXPECT_EQ(state.document.image.IntNvm[98], 0);
    EXPECT_EQ(state.document.image.IntNvm[100], 12) << "a list showing nothing keeps its code";
    EXPECT_EQ(state.document.image.IntNvm[102], 44);
    EXPECT_EQ(state.document.image.IntNvm[103], 23);
    EXPECT_TRUE(titleMarksChanges());
}

TEST_F(SendersTest, ViewGraphChartsTheCurveInItsStoredUnits)
{
    frmSenders &senders = openSenders(
        [](ConfigState &saved) { saved.document.image.IntNvm[1] &= uint8_t(~kDegF); });
    state.document.image.CalCurve(6, 3, 1) = std::numeric_limits<float>::infinity();
    control<QPushButton>(senders, "cmdEditCurve6")->click();
    control<QPushButton>(senders, "cmdSendersView")->click();

    frmChart *chart = senders.chartWindow();
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_EQ(chart->windowTitle(), "Calibration Curve Chart");
    EXPECT_EQ(chart->pos(), window().pos() + kOffsetFromMainWindow);
    EXPECT_NE(chart->findChild<QChartView *>("MSChart1"), nullptr);

    const QList<QPointF> points = chart->series().points();
    ASSERT_EQ(points.size(), 31) << "the infinite resistance is left out";
    EXPECT_EQ(points.front(), QPointF(10, 0));
    EXPECT_EQ(points.back(), QPointF(180, 100)) << "deg F although the grid shows deg C";
    EXPECT_EQ(chart->readingAxis().titleText(), QString::fromUtf8("Temperature (\u00b0F)"));
    EXPECT_LE(chart->resistanceAxis().min(), 10);
    EXPECT_GE(chart->resistanceAxis().max(), 180);
}
