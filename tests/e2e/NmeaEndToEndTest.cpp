// The live NMEA view of the real main window, through the real serial code,
// against orvane-sim over a pseudo-terminal.

#include "app/ui/MainLinkView.h"
#include "app/ui/frmMain.h"
#include "editors/ui/frmNmea.h"
#include "editors/ui/frmNmeaData.h"
#include "platform/qt/QtPlatform.h"
#include "support/FakePlatform.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "SimProcess.h"
#include "gui/Controls.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

constexpr int kPortNumber = 3;
constexpr int kNmea1APosition = 10;
constexpr int kBoatSpeedPosition = 4;
constexpr int kPollMs = 50;

class NmeaEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sim.start(kPortNumber, {}, &error, true)) << error;
        port.setLinkFolder(sim.folder());
        files.programDir = programDir.path().toStdString();
        files.userDataDir = userDataDir.path().toStdString();
        window = std::make_unique<frmMain>(state, platform);
        window->startup();
        window->show();
        link().setComPortNumber(kPortNumber);
    }

    void TearDown() override
    {
        window.reset();
        port.close();
        sim.stop();
    }

    void pick(int position)
    {
        auto *list = &control<QComboBox>(*window, "ComboDisplay1");
        list->setCurrentIndex(position);
        emit list->activated(position);
    }

    frmNmeaData &data() { return *window->nmeaWindow()->dataWindow(); }
    ByteLink &link() { return window->linkView().link(); }

    // Runs `action` once the live view has shown some text.
    void whenTextArrives(std::function<void()> action)
    {
        auto *poll = new QTimer(window.get());
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, action] {
            if (control<QPlainTextEdit>(data(), "txtNmeaData").toPlainText().isEmpty())
                return;
            poll->deleteLater();
            action();
        });
        poll->start(kPollMs);
    }

    SimProcess sim;
    QTemporaryDir programDir;
    QTemporaryDir userDataDir;
    QtClock clock;
    QtEventPump pump;
    FakeDialogs dialogs; // no box is expected
    FakeFileSystem files;
    QtSerialPort port;
    Platform platform{clock, pump, dialogs, files, port};
    AppState state;
    std::unique_ptr<frmMain> window;
};

TEST_F(NmeaEndToEnd, TextArrivesAnotherSourceEndsTheExchangeAndReopeningStartsTheStreamAgain)
{
    pick(kNmea1APosition);
    auto *viewData = &control<QPushButton>(*window->nmeaWindow(), "cmdNmeaViewData");
    ASSERT_NE(viewData, nullptr);

    bool sourceChanged = false;
    whenTextArrives([&] {
        sourceChanged = true;
        pick(kBoatSpeedPosition); // hides both windows, which ends the loop
    });
    viewData->click(); // returns when the loop has ended
    ASSERT_TRUE(sourceChanged);
    EXPECT_TRUE(control<QPlainTextEdit>(data(), "txtNmeaData").toPlainText().contains('$'));
    EXPECT_FALSE(data().isVisible());
    EXPECT_TRUE(sim.waitForLog("live NMEA stream"));
    EXPECT_TRUE(sim.waitForLog("soft reset: idle")) << "the loop ends its exchange";
    EXPECT_FALSE(link().linkState().IsConnected);
    EXPECT_EQ(link().linkState().lineUser, LineUser::None);

    // Hidden, then opened again: a new exchange, with "?" sent again.
    pick(kNmea1APosition);
    whenTextArrives([&] { control<QPushButton>(data(), "cmdNmeaDataCancel").click(); });
    viewData->click();
    EXPECT_TRUE(sim.waitForLog("live NMEA stream"));
    EXPECT_TRUE(sim.waitForLog("soft reset: idle"));
    EXPECT_EQ(dialogs.unexpected, 0);
}

} // namespace
} // namespace orvane::test
