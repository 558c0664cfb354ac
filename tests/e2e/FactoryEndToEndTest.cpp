// "Make NEW Tessaro" over the editor's real serial code, against orvane-sim
// on a pseudo-terminal: the data files and code modules of the working folder
// end up in the instrument's memories.

#include "factory/CalibrationCurvesFile.h"
#include "factory/CodeFile.h"
#include "factory/CodeModules.h"
#include "factory/FactoryToolTest.h"
#include "factory/NewUnitSerial.h"
#include "factory/Provisioning.h"
#include "platform/qt/QtPlatform.h"
#include "sim/Instrument.h"
#include "transfer/UnitCopies.h"

#include <QElapsedTimer>

#include "SimProcess.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orvane::test {
namespace {

constexpr int kPortNumber = 7;

// The program's own file system, keeping the copies of units in the test's
// folder instead of the user's.
class TestFiles : public QtFileSystem
{
public:
    std::string userDataFolder() override { return dataFolder; }
    std::string dataFolder;
};

TEST(FactoryEndToEnd, MakeNewUnitFillsTheInstrumentsMemories)
{
    SimProcess sim;
    const QString statePath = sim.filePath(QStringLiteral("orvane.state"));
    std::string error;
    ASSERT_TRUE(sim.start(kPortNumber, {"--state", statePath}, &error)) << error;

    QtClock clock;
    QtEventPump pump;
    FakeDialogs dialogs;
    TestFiles files;
    QtSerialPort port;
    port.setLinkFolder(sim.folder());
    FakeSettings settings;
    FakeProductionDatabase production{settings};
    Platform platform{clock, pump, dialogs, files, port, settings, production};
    AppState state;
    state.document.image.IntNvm[114] = 46;
    state.document.image.IntNvm[115] = 224;
    FactoryFolder folder;
    state.files.WorkingFolder = folder.path();
    files.dataFolder = folder.path();
    for (const char *name : {"CALCURVS.DAT", "NVMNMEAG.DAT", "DECPTSA.DAT"})
        folder.write(name, fixture(name));
    for (const CodeModule &module : kNewUnitCodeModules)
        folder.write(std::string(module.fileName),
                     fixture("modules/" + std::string(module.fileName)));

    ByteLink link{platform};
    link.setComPortNumber(kPortNumber);
    link.setFactoryMode(true);
    QuietConnectionView connectionView;
    Connection connection{platform, link, connectionView};
    RecordingFactoryView view;
    FactoryServices
        services{platform, link, connection, state.document, state.transfer, state.files, view};

    dialogs.messageAnswers = {MessageAnswer::Yes};
    // The number the production database offers: the first of today.
    const long long serial = serialNumberOf(productionDayToday(clock), 1);
    dialogs.inputAnswers = {std::to_string(serial), "3", "42"};
    QElapsedTimer timer;
    timer.start();
    const FactoryResult result = makeNewUnit(services);
    std::printf("Make NEW over the pseudo-terminal took %.1f s\n", double(timer.elapsed()) / 1000);
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(*result, FactoryOutcome::Completed);
    EXPECT_EQ(dialogs.messages().back().text, kNewUnitDoneText);
    EXPECT_EQ(dialogs.unexpected, 0);
    // The unit carried a serial number: a copy of it was kept first.
    ASSERT_EQ(listUnitHistory(files).size(), 1u);
    EXPECT_EQ(listUnitHistory(files)[0].copies.size(), 1u);
    port.close();

    sim.stop(); // saves its memories to the state file
    sim::Instrument saved;
    ASSERT_TRUE(saved.loadState(statePath.toStdString(), &error)) << error;
    const auto &eeprom = saved.eeprom();
    const auto bytesAt = [&eeprom](int address, size_t count) {
        return std::vector<uint8_t>(eeprom.begin() + address,
                                    eeprom.begin() + address + long(count));
    };
    for (const CodeModule &module : kNewUnitCodeModules) {
        const std::string name(module.fileName);
        const auto code = readCodeFile(fixture("modules/" + name), name);
        ASSERT_TRUE(code.ok()) << code.error();
        EXPECT_EQ(bytesAt(module.address, code->bytes.size()), code->bytes) << name;
    }
    const auto curves = readCalibrationCurves(fixture("CALCURVS.DAT"), "CALCURVS.DAT");
    ASSERT_TRUE(curves.ok());
    for (const EepromBlock &curve : *curves)
        EXPECT_EQ(bytesAt(curve.address, curve.bytes.size()), curve.bytes);
    EXPECT_EQ(bytesAt(6528, 2), (std::vector<uint8_t>{'M', 'C'}));
    EXPECT_EQ(eeprom[0], 207);
    EXPECT_EQ(eeprom[7232], 3);

    const auto &nvm = saved.internalNvm();
    EXPECT_EQ(std::vector<uint8_t>(nvm.begin() + 12, nvm.begin() + 16),
              (std::vector<uint8_t>{uint8_t(serial / 10000000),
                                    uint8_t(serial / 100000 % 100),
                                    uint8_t(serial / 1000 % 100),
                                    1}));
    EXPECT_EQ(nvm[94], 42);
    EXPECT_EQ(nvm[3], 0) << "not a Brenlow";
    uint8_t check = 0;
    for (int i = 0; i < 256; ++i)
        check ^= nvm[size_t(i)];
    EXPECT_EQ(check, 0) << "the settings' check byte is right";
}

} // namespace
} // namespace orvane::test
