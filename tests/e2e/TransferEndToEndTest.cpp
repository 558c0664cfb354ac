// The transfer windows and their controller over the editor's real serial
// code, against orvane-sim on a pseudo-terminal: what a user clicks reaches
// the instrument's memories.

#include "app/AppState.h"
#include "config/Defaults.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "link/LinkTestSupport.h"
#include "platform/qt/QtPlatform.h"
#include "sim/Instrument.h"
#include "transfer/TransferImage.h"
#include "transfer/ui/TransferController.h"
#include "transfer/ui/frmBeingSentReceived.h"
#include "transfer/ui/frmProgress.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "SimProcess.h"
#include "gui/Controls.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

constexpr int kPortNumber = 6;

class TransferEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        statePath = sim.filePath(QStringLiteral("orvane.state"));
        std::string error;
        ASSERT_TRUE(sim.start(kPortNumber, {"--state", statePath}, &error)) << error;
        port.setLinkFolder(sim.folder());

        loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
        link.setComPortNumber(kPortNumber);
        state.transfer.UploadSelection.fill(1);
        state.transfer.DownloadSelection = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1};

        MainWindowHooks hooks;
        hooks.setConnectedCaption = [this](const std::string &t) {
            captions.push_back(t);
        };
        hooks.redraw = [this] {
            ++redraws;
        };
        controller = std::make_unique<TransferController>(state.document,
                                                          state.transfer,
                                                          state.editor,
                                                          platform,
                                                          link,
                                                          connection,
                                                          hooks,
                                                          &mainWindow);
        dialog = controller->selectionWindow();
        progress = controller->progressWindow();
    }

    void TearDown() override
    {
        port.close();
        sim.stop();
    }

    template<typename W>
    W *child(QWidget *window, const char *name)
    {
        return &control<W>(*window, name);
    }

    SimProcess sim;
    QString statePath;

    QtClock clock;
    QtEventPump pump;
    FakeDialogs dialogs; // no box is expected
    QtFileSystem files;
    QtSerialPort port;
    Platform platform{clock, pump, dialogs, files, port};
    AppState state;
    ByteLink link{platform};
    RecordingView connectionView;
    Connection connection{platform, link, connectionView};
    QWidget mainWindow;
    std::unique_ptr<TransferController> controller;
    frmBeingSentReceived *dialog = nullptr;
    frmProgress *progress = nullptr;
    std::vector<std::string> captions;
    int redraws = 0;
};

TEST_F(TransferEndToEnd, UploadChosenInTheDialogReachesTheInstrument)
{
    for (int p = 1; p <= 32; ++p) {
        state.document.image.CalCurve(9, p, 1) = float(10 * p);
        state.document.image.CalCurve(9, p, 2) = float(500 + 40 * (p - 1));
    }
    state.document.image.IntNvm[2] = 77;

    bool dialogChecked = false;
    QTimer::singleShot(300, dialog, [&] {
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->windowTitle(),
                  "WARNING . . . Upload data from PC to Orvane.    Are you sure?");
        EXPECT_EQ(child<QCheckBox>(dialog, "chkSecondTankSize")->text(), "2n'd Tank Size");
        EXPECT_TRUE(child<QCheckBox>(dialog, "chkSecondTankSize")->isEnabled());
        EXPECT_FALSE(child<QCheckBox>(dialog, "chkSentReceivedAlarmValues")->isVisible());
        EXPECT_EQ(dialog->findChildren<QLabel *>("BeingSentNotAdjustable").size(), 2);
        child<QPushButton>(dialog, "cmdfraWarningClearAll")->click();
        child<QCheckBox>(dialog, "chkSentReceivedCalCurves")->setChecked(true);
        child<QCheckBox>(dialog, "chkSentReceivedTachoSensitivity")->setChecked(true);
        dialogChecked = true;
        child<QPushButton>(dialog, "cmdWarningContinue")->click();
    });
    // What the user sees while the transfer runs.
    int bestValue = 0;
    bool progressSeen = false;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, progress, [&] {
        if (!progress->isVisible())
            return;
        progressSeen = true;
        EXPECT_EQ(progress->windowTitle(), "Connected to Orvane ");
        bestValue = std::max(bestValue, control<QProgressBar>(*progress, "ProgressBar1").value());
    });
    sampler.start(200);

    controller->cmdUpload_Click();
    sampler.stop();

    ASSERT_TRUE(dialogChecked);
    ASSERT_TRUE(controller->lastResult());
    const TransferResult &upload = *controller->lastResult();
    ASSERT_TRUE(upload.ok()) << upload.error();
    EXPECT_EQ(*upload, TransferOutcome::Completed);
    EXPECT_TRUE(progressSeen);
    EXPECT_GT(bestValue, 0);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(state.transfer.UploadSelection,
              (Selection{0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_TRUE(dialogs.calls.size() == 1 && dialogs.beeps() == 1); // the upload's own beep

    sim.stop(); // saves its memories to the state file
    sim::Instrument saved;
    std::string error;
    ASSERT_TRUE(saved.loadState(statePath.toStdString(), &error)) << error;
    EXPECT_EQ(saved.internalNvm()[2], 77);
    const auto record = curveRecord(state.document.image.CalCurve, 9);
    for (int k = 0; k < 128; ++k)
        ASSERT_EQ(saved.eeprom()[size_t(12288 + 128 * 8 + k)], record[size_t(k)]) << k;
}

TEST_F(TransferEndToEnd, DownloadDialogOffersOnlyWhatTheInstrumentChangesAndCloseCancels)
{
    QTimer::singleShot(300, dialog, [&] {
        EXPECT_EQ(dialog->windowTitle(),
                  "WARNING . . . Download data from Orvane to PC.    Are you sure?");
        EXPECT_FALSE(child<QCheckBox>(dialog, "chkCDC")->isEnabled());
        EXPECT_FALSE(child<QCheckBox>(dialog, "chkSentReceivedPcTimeOfDay")->isEnabled());
        EXPECT_TRUE(child<QCheckBox>(dialog, "chkSendReceiveRaceTimers")->isEnabled());
        child<QPushButton>(dialog, "cmdfraWarningClearAll")->click();
        child<QPushButton>(dialog, "cmdfraWarningSetAll")->click();
        EXPECT_FALSE(child<QCheckBox>(dialog, "chkCDC")->isChecked());
        EXPECT_TRUE(child<QCheckBox>(dialog, "chkSentReceivedDamping")->isChecked());
        dialog->close(); // the close box
    });
    const ConfigImage before = state.document.image;
    controller->cmdDownload_Click();
    ASSERT_TRUE(controller->lastResult() && controller->lastResult()->ok());
    EXPECT_EQ(**controller->lastResult(), TransferOutcome::Cancelled);
    EXPECT_EQ(state.document.image, before);
    EXPECT_FALSE(port.isOpen()); // nothing was sent
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
}

} // namespace
} // namespace orvane::test
