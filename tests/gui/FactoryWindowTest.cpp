#include "MainWindowFixture.h"

#include "factory/ui/frmHalvero.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane::test {
namespace {

class FactoryWindowTest : public MainWindowFixture
{
protected:
    void clickConnectedLabel()
    {
        auto *label = control<QLabel>("lblConnected");
        QMouseEvent release(QEvent::MouseButtonRelease,
                            QPointF(2, 2),
                            label->mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton,
                            Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(label, &release);
    }

    void click(QWidget *window, const char *button)
    {
        QPushButton *found = control<QPushButton>(*window, button);
        ASSERT_TRUE(found->isEnabled()) << button;
        found->click();
    }
};

TEST_F(FactoryWindowTest, OpensOnlyInFactoryModeRunsItsToolsAndKeepsItsReport)
{
    frmMain &w = started();
    frmHalvero *factory = w.factoryWindow();
    clickConnectedLabel();
    EXPECT_FALSE(factory->isVisible()) << "not in factory mode";

    link().setFactoryMode(true);
    link().setComPortNumber(1);
    clickConnectedLabel();
    ASSERT_TRUE(factory->isVisible());

    auto &iram = fake.instrument.iram();
    iram[32] = 1, iram[33] = 0, iram[34] = 255, iram[35] = 17;
    fake.dialogs.inputAnswers = {"32", "4"};
    click(factory, "cmdDisplayRam");
    ASSERT_TRUE(factory->lastResult() && factory->lastResult()->ok())
        << factory->lastResult()->error();
    const std::string report = " 32     1\r\n 33     0\r\n 34     255\r\n 35     17\r\n";
    EXPECT_EQ(factory->report(), report);
    auto *box = control<QPlainTextEdit>(*factory, "txtHalveroData");
    EXPECT_EQ(box->toPlainText().toStdString(), " 32     1\n 33     0\n 34     255\n 35     17\n");
    EXPECT_EQ(control<QLineEdit>(*factory, "txtTessaroProductID")->text(), " 1");
    EXPECT_EQ(control<QLabel>("lblConnected")->text(), "Connected to Orvane");

    // An edit of the image made by a tool shows in the main window's title.
    state.document.image.IntNvm[8] = 5;
    fake.dialogs.inputAnswers = {"16384", "1"};
    click(factory, "cmdHalveroCopyCodeToFlash");
    EXPECT_EQ(state.document.image.IntNvm[8], 0);
    EXPECT_TRUE(w.windowTitle().endsWith(" *"));

    click(factory, "cmdSoftDisconnect");
    EXPECT_FALSE(factory->isVisible());
    EXPECT_FALSE(link().linkState().IsConnected);
    EXPECT_EQ(control<QLabel>("lblConnected")->text(), "Not connected to Orvane");
    EXPECT_EQ(fake.port.written.back().second, 0) << "61 251 0 0 0 went out";

    clickConnectedLabel();
    EXPECT_TRUE(factory->isVisible());
    EXPECT_EQ(factory->report(), report) << "the window keeps its state";
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

} // namespace
} // namespace orvane::test
