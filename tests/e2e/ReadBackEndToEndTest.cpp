// Read Everything over the editor's real serial code, against orvane-sim on a
// pseudo-terminal: a unit whose configuration file is lost gives back its
// configurations and user curves.

#include "config/Defaults.h"
#include "link/LinkTestSupport.h"
#include "platform/qt/QtPlatform.h"
#include "sim/Instrument.h"
#include "transfer/TransferImage.h"
#include "transfer/TransferTestSupport.h"

#include "SimProcess.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

constexpr int kPortNumber = 8;

class ReadBackEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The unit holds configurations and user curves of its own.
        for (int c = 1; c <= 16; ++c)
            for (int b = 1; b < 128; ++b)
                unitImage.CDC(c, b) = uint8_t(c * 11 + b * 3);
        for (const int n : kUploadedCurves)
            for (int p = 1; p <= 32; ++p) {
                unitImage.CalCurve(n, p, 1) = float(9 * p + n);
                unitImage.CalCurve(n, p, 2) = float(250 * p + n);
            }
        sim::Instrument unit;
        for (int c = 1; c <= 16; ++c) {
            const auto record = configurationRecord(unitImage.CDC, c);
            std::copy(record.begin(), record.end(), unit.eeprom().begin() + configRecordAddress(c));
        }
        for (const int n : kUploadedCurves) {
            const auto record = curveRecord(unitImage.CalCurve, n);
            std::copy(record.begin(), record.end(), unit.eeprom().begin() + curveRecordAddress(n));
        }
        unitSettings = unit.internalNvm();
        const QString statePath = sim.filePath(QStringLiteral("unit.state"));
        std::string error;
        ASSERT_TRUE(unit.saveState(statePath.toStdString(), &error)) << error;
        ASSERT_TRUE(sim.start(kPortNumber, {"--state", statePath}, &error)) << error;
        port.setLinkFolder(sim.folder());

        // The PC knows nothing of it: its image is the factory defaults.
        loadFactoryDefaults(state.document, state.editor, false);
        link.setComPortNumber(kPortNumber);
    }

    void TearDown() override
    {
        port.close();
        sim.stop();
    }

    SimProcess sim;
    ConfigImage unitImage;
    std::array<uint8_t, 512> unitSettings{};

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
    RecordingTransferView view;
    Transfers
        transfers{state.document, state.transfer, state.editor, platform, link, connection, view};
};

TEST_F(ReadBackEndToEnd, AUnitWithoutAConfigurationFileGivesItsConfigurationsBack)
{
    const TransferResult result = transfers.ReadEverything();
    ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();

    const ConfigImage &image = state.document.image;
    for (int c = 1; c <= 16; ++c)
        for (int b = 0; b < 128; ++b)
            ASSERT_EQ(image.CDC(c, b), unitImage.CDC(c, b)) << c << "/" << b;
    for (const int n : kUploadedCurves)
        EXPECT_EQ(curveRecord(image.CalCurve, n), curveRecord(unitImage.CalCurve, n)) << n;
    for (int i = 1; i < 256; ++i)
        EXPECT_EQ(image.IntNvm[i], i == 6 ? 1 : unitSettings[size_t(i)]) << i;
    EXPECT_TRUE(state.document.changed);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_FALSE(link.linkState().IsConnected);
}

} // namespace
} // namespace orvane::test
