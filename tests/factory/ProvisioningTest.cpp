#include "FactoryToolTest.h"

#include "config/Defaults.h"
#include "factory/CalibrationCurvesFile.h"
#include "factory/CodeFile.h"
#include "factory/CodeModules.h"
#include "factory/DecimalPointsFile.h"
#include "factory/Provisioning.h"
#include "transfer/RawCopy.h"
#include "transfer/UnitCopies.h"

#include <filesystem>

namespace orvane::test {
namespace {

class ProvisioningTest : public FactoryToolTest
{
protected:
    // Makes the instrument's settings check byte right after a test changed them.
    void fixCheckByte()
    {
        uint8_t x = 0;
        for (int i = 1; i < 256; ++i)
            x ^= nvm()[size_t(i)];
        nvm()[0] = x;
    }

    bool checkByteRight()
    {
        uint8_t x = 0;
        for (int i = 0; i < 256; ++i)
            x ^= nvm()[size_t(i)];
        return x == 0;
    }

    std::vector<uint8_t> eepromBytes(int address, int count)
    {
        return {eeprom().begin() + address, eeprom().begin() + address + count};
    }

    // How often a frame went out since connectFirst().
    int framesSent(const std::vector<uint8_t> &frame)
    {
        int count = 0;
        for (size_t at = find(frame); at != std::string::npos; at = find(frame, at + 1))
            ++count;
        return count;
    }
};

const std::vector<uint8_t> kSettingsRead = {61, 0, 0, 0, 0};
const std::vector<uint8_t> kSettingsWrite = {61, 1, 0, 0, 0};

TEST_F(ProvisioningTest, SerialNumberGoesIntoTheSettingsAndTheFirmwareNumberStays)
{
    nvm()[94] = 42;
    nvm()[255] = 3;
    fixCheckByte();
    connectFirst();
    const double start = now();
    answer({" 703301999 "}, 1);
    const FactoryResult result = writeSerialNumber(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();

    EXPECT_EQ(std::vector<uint8_t>(nvm().begin() + 12, nvm().begin() + 16),
              (std::vector<uint8_t>{70, 33, 1, 255}));
    EXPECT_EQ(nvm()[94], 42);
    EXPECT_EQ(nvm()[255], 255);
    EXPECT_TRUE(checkByteRight());
    EXPECT_EQ(state.transfer.NewSerialBytes, (SerialNumberBytes{70, 33, 1, 255}));
    EXPECT_FALSE(state.transfer.NewSerialPending) << "only a new unit waits for its upload";

    ASSERT_EQ(find(kSettingsRead), 0u);
    EXPECT_NEAR(writtenAt(0) - start, 0.2, 1e-9);
    ASSERT_EQ(find(kSettingsWrite), 5u);
    EXPECT_NEAR(writtenAt(5) - writtenAt(4), 0.05 + 1.0, 1e-9);
    EXPECT_EQ(written().size(), 10u + 256u);
    EXPECT_EQ(view.progress, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}}));
    EXPECT_FALSE(view.progressShown);
    const DialogCall question = fake.dialogs.messages().at(0);
    EXPECT_EQ(question.title, "Upload new Serial Number to Orvane");
    EXPECT_EQ(question.text,
              "Are you sure?\r\nThis will overwrite the Serial Number in the Orvane !");
    EXPECT_EQ(fake.dialogs.inputs().at(0).text, "Enter Orvane Serial Number YMMDDnnn");
}

TEST_F(ProvisioningTest, SettingsReadsAreCheckedAndRepeatedBeforeTheyAreWrittenBack)
{
    fixCheckByte();
    connectFirst();
    // A wrong check byte once: read again, then written.
    instrument().faults().corruptFirstNvmRead = true;
    answer({"100330001"}, 1);
    FactoryResult result = writeSerialNumber(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    EXPECT_EQ(framesSent(kSettingsRead), 2);
    EXPECT_EQ(nvm()[12], 10);
    EXPECT_TRUE(checkByteRight());

    // Always short: five reads, then a stop with nothing written back.
    written0 = fake.port.written.size();
    const auto before = nvm();
    instrument().faults().shortReadBytes = 100;
    answer({"70330001"}, 1);
    result = writeSerialNumber(services);
    EXPECT_EQ(result.error(),
              "Only 100 of 256 bytes came back from the Orvane while reading the internal NVM for "
              "the serial number. The read was tried 5 times. Nothing was written to the Orvane. "
              "Check the cable and the instrument's power, then try again.");
    EXPECT_EQ(framesSent(kSettingsRead), 5);
    EXPECT_EQ(framesSent(kSettingsWrite), 0);
    EXPECT_EQ(nvm(), before);
    EXPECT_FALSE(view.progressShown);
    EXPECT_FALSE(link.linkState().IsConnected);
}

TEST_F(ProvisioningTest, SerialNumbersOutOfRangeAreRefusedBeforeAnythingIsSent)
{
    const std::pair<const char *, const char *> cases[] = {
        {"69999999", "at least 70000000"},
        {"2560000000", "its year is one byte"},
        {"7.0E7", "whole number"},
    };
    for (const auto &[typed, reason] : cases) {
        answer({typed}, 1);
        const FactoryResult result = writeSerialNumber(services);
        EXPECT_NE(result.error().find(reason), std::string::npos) << result.error();
    }
    EXPECT_TRUE(fake.port.written.empty());
    EXPECT_EQ(notices().size(), std::size(cases));
}

TEST_F(ProvisioningTest, ZeroingWritesTheLogRecordAndAFreshUnitsSettings)
{
    state.document.image.IntNvm[114] = 46;
    state.document.image.IntNvm[115] = 224;
    for (const auto &[code, byte3] : {std::pair{1, 0}, {2, 1}, {3, 0}}) {
        instrument().setProductCode(uint8_t(code));
        eeprom()[200] = 0;
        nvm()[3] = 7;
        nvm()[17] = 25;
        fixCheckByte();
        link.setConnected(false);
        connectFirst();
        answer({}, 1);
        const FactoryResult result = zeroLogs(services);
        ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();

        EXPECT_EQ(eeprom()[0], 207) << "1 ^ 46 ^ 224";
        EXPECT_EQ(eeprom()[32], 207);
        EXPECT_EQ(eepromBytes(6, 2), (std::vector<uint8_t>{46, 224}));
        EXPECT_EQ(eepromBytes(128, 128), std::vector<uint8_t>(128, 255));
        EXPECT_EQ(nvm()[3], byte3) << code;
        EXPECT_EQ(nvm()[17] & nvm()[18] & nvm()[19], 255);
        EXPECT_EQ(nvm()[114] << 8 | nvm()[115], 1200);
        EXPECT_TRUE(checkByteRight());

        const std::vector<size_t> order = {find({61, 3, 128, 0, 0}),
                                           find({61, 3, 128, 0, 128}),
                                           find(kSettingsRead),
                                           find(kSettingsWrite)};
        EXPECT_TRUE(std::is_sorted(order.begin(), order.end())
                    && order.back() != std::string::npos);
        // The second block waits 0.25 s after the last echo of the first.
        EXPECT_GE(writtenAt(order[1]) - writtenAt(order[1] - 1), 0.25);
    }
    EXPECT_EQ(fake.dialogs.messages().at(0).title, "Clear Orvane Logs, etc.");
}

TEST_F(ProvisioningTest, CalibrationCurvesAndNmeaTablesLandAtTheirAddresses)
{
    connectFirst();
    answer({}, 1);
    FactoryResult result = uploadCalibrationCurves(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    const auto curves = readCalibrationCurves(fixture("CALCURVS.DAT"), "CALCURVS.DAT");
    ASSERT_TRUE(curves.ok() && curves->size() == 2u);
    EXPECT_EQ(eepromBytes(8192, 128), (*curves)[0].bytes);
    EXPECT_EQ(eepromBytes(8320, 128), (*curves)[1].bytes);
    EXPECT_EQ(find({61, 3, 128, 32, 0}), 0u);
    EXPECT_EQ(view.progress.back(), std::make_pair(2, 2));

    answer({}, 1);
    result = uploadNmeaTables(services);
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    EXPECT_EQ(eepromBytes(6400, 2), (std::vector<uint8_t>{'G', 'P'}));
    EXPECT_EQ(eepromBytes(6528, 2), (std::vector<uint8_t>{'M', 'C'})) << "entry 65 at 6528";
    EXPECT_EQ(eepromBytes(6656 + 508, 4).back(), 0) << "the three-character table's fourth byte";
    const auto points = readDecimalPoints(fixture("DECPTSA.DAT"), "DECPTSA.DAT");
    ASSERT_TRUE(points.ok());
    EXPECT_EQ(eepromBytes(7168, 64), std::vector<uint8_t>(points->begin(), points->end()));
    EXPECT_NE(find({61, 3, 64, 28, 0}), std::string::npos);
    EXPECT_EQ(fake.dialogs.messages().at(1).title,
              "Upload display configurations from PC to Orvane");
    EXPECT_EQ(
        fake.dialogs.messages().at(1).text,
        "Are you sure?\r\nThis will overwrite all the display configurations in the Orvane !");
    const std::vector<std::pair<int, int>> nmeaProgress(view.progress.end() - 7,
                                                        view.progress.end());
    EXPECT_EQ(nmeaProgress,
              (std::vector<std::pair<int, int>>{{0, 16},
                                                {2, 16},
                                                {5, 16},
                                                {8, 16},
                                                {10, 16},
                                                {13, 16},
                                                {16, 16}}));
}

TEST_F(ProvisioningTest, DataFilesAreCheckedWholeBeforeAnythingIsAskedOrSent)
{
    const struct
    {
        const char *file;
        std::optional<std::string> text; // nothing: the file is missing
        bool nmea;
        const char *reason;
    } cases[] = {
        {"CALCURVS.DAT", std::nullopt, false, "CALCURVS.DAT cannot be read from "},
        {"CALCURVS.DAT",
         "2,Curves\r\na\r\nb\r\nc\r\n1, 8192, 10, 0.0, 0, 10, 0, 256\r\n",
         false,
         "CALCURVS.DAT, line 5: field 8 is 256; it must be 0 to 255"},
        {"NVMNMEAG.DAT", std::nullopt, true, "NVMNMEAG.DAT cannot be read from "},
        {"DECPTSA.DAT", "A,B,C,D,E\r\n1, 0\r\n", true, "DECPTSA.DAT, line 3: the file ends"},
    };
    for (const auto &c : cases) {
        const std::string kept = *folder.read(c.file);
        if (c.text)
            folder.write(c.file, *c.text);
        else
            std::filesystem::remove(folder.file(c.file));
        fake.dialogs.calls.clear();
        const FactoryResult result
            = c.nmea ? uploadNmeaTables(services) : uploadCalibrationCurves(services);
        EXPECT_NE(result.error().find(c.reason), std::string::npos) << result.error();
        EXPECT_EQ(fake.dialogs.messages().size(), 1u) << "no question before the file is good";
        folder.write(c.file, kept);
    }
    EXPECT_TRUE(fake.port.written.empty());

    // No curves: nothing to send, not even a connection.
    folder.write("CALCURVS.DAT", "0,No curves\r\n");
    answer({}, 1);
    EXPECT_EQ(outcomeOf(uploadCalibrationCurves(services)), FactoryOutcome::Completed);
    EXPECT_TRUE(fake.port.written.empty());
}

class MakeNewUnitTest : public ProvisioningTest
{
protected:
    MakeNewUnitTest()
    {
        // A user curve that only the new-unit defaults replace.
        state.document.image.CalCurve(9, 2, 2) = 123;
        state.document.image.IntNvm[114] = 46;
        state.document.image.IntNvm[115] = 224;
        nvm()[94] = 1;
        fixCheckByte();
    }

    FactoryResult run(std::vector<std::string> answers)
    {
        answer(std::move(answers), 1);
        return makeNewUnit(services);
    }

    bool flagsAtRest() const
    {
        return state.transfer.ShowUploadWarning && !state.transfer.NewUnitPending;
    }
};

TEST_F(MakeNewUnitTest, ProvisionsEverythingInOneRun)
{
    connectFirst();
    const std::array<uint8_t, 512> heldSettings = nvm();
    bool flagsClearedMeanwhile = false;
    at(1.0, [&] {
        flagsClearedMeanwhile = !state.transfer.ShowUploadWarning && state.transfer.NewUnitPending;
    });
    const double start = now();
    const FactoryResult result = run({"100330001", "2", "42"});
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    std::printf("Make NEW took %.1f s of virtual time\n", now() - start);

    EXPECT_TRUE(flagsClearedMeanwhile);
    EXPECT_TRUE(flagsAtRest());
    EXPECT_TRUE(state.transfer.NewSerialPending) << "the next upload writes the serial again";
    EXPECT_EQ(state.transfer.NewSerialBytes, (SerialNumberBytes{10, 3, 30, 1}));
    EXPECT_EQ(link.linkState().ProductCode, 2);
    EXPECT_EQ(view.productCode, " 2");

    EXPECT_EQ(eeprom()[7232], 2);
    EXPECT_NE(find({61, 3, 1, 28, 64, 2}), std::string::npos);
    EXPECT_EQ(eeprom()[0], 207);
    EXPECT_EQ(eepromBytes(6528, 2), (std::vector<uint8_t>{'M', 'C'}));
    for (const char *name : kModuleNames) {
        const auto code = readCodeFile(fixture(std::string("modules/") + name), name);
        ASSERT_TRUE(code.ok()) << code.error();
        const auto module = std::find_if(kNewUnitCodeModules.begin(),
                                         kNewUnitCodeModules.end(),
                                         [&](const CodeModule &m) { return m.fileName == name; });
        EXPECT_EQ(eepromBytes(module->address, int(code->bytes.size())), code->bytes) << name;
    }
    EXPECT_EQ(std::vector<uint8_t>(nvm().begin() + 12, nvm().begin() + 16),
              (std::vector<uint8_t>{10, 3, 30, 1}));
    EXPECT_EQ(nvm()[94], 42);
    EXPECT_EQ(nvm()[3], 1) << "a Brenlow";
    EXPECT_TRUE(checkByteRight());

    CalCurveTable defaults = state.document.image.CalCurve;
    writeDefaultCurve(defaults, 9);
    EXPECT_EQ(state.document.image.CalCurve(9, 2, 2), defaults(9, 2, 2));
    EXPECT_TRUE(state.document.changed);
    EXPECT_GE(view.imageChanges, 1);

    EXPECT_EQ(notices().back().text,
              "DONE!\r\nNow load configurations file and program configurations");
    EXPECT_TRUE(view.hidden);
    EXPECT_FALSE(view.progressShown);
    EXPECT_NE(view.report.find("Writing Sector 13 to 17152\r\n"), std::string::npos);
    EXPECT_EQ(fake.dialogs.messages().at(0).title, "Upload new data to new Orvane");
    const auto prompts = fake.dialogs.inputs();
    ASSERT_EQ(prompts.size(), 3u) << "the tools it drives ask nothing";
    EXPECT_EQ(prompts[0].text, "Enter Tessaro Serial Number YYMMDDnnn");
    EXPECT_EQ(prompts[1].text, "Enter Tessaro product code (1=Orvane, 2=Brenlow, 3=Quillet)");
    EXPECT_EQ(prompts[2].title, "Get new Tessaro Firmware # (Sw_Ver)");
    EXPECT_EQ(fake.dialogs.unexpected, 0);
    // Make NEW's own, clearing the logs' as it begins and ends, the curves'
    // and the NMEA tables'.
    EXPECT_EQ(fake.dialogs.beeps(), 5);

    // The unit carried a serial number: what it held was kept first.
    const std::vector<UnitHistory> units = listUnitHistory(fake.files);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].serial, "240530007");
    ASSERT_EQ(units[0].copies.size(), 1u);
    EXPECT_EQ(units[0].copies[0].changes, "Made new as unit 100330001");
    const Result<RawCopy> raw = readRawCopyText(*fake.files.readFile(units[0].copies[0].rawFile));
    ASSERT_TRUE(raw.ok()) << raw.error();
    EXPECT_TRUE(std::equal(raw->snapshot.settings.begin(),
                           raw->snapshot.settings.end(),
                           heldSettings.begin()));
    EXPECT_TRUE(raw->snapshot.hasConfigurations && raw->snapshot.hasCurves);
}

TEST_F(MakeNewUnitTest, TheSerialNumberWaitsForTheNextUploadOnlyOnceTheUnitWasMade)
{
    // An earlier unit, made but not uploaded yet, waits for its serial number.
    state.transfer.NewSerialPending = true;
    state.transfer.NewSerialBytes = {9, 1, 2, 3};
    const auto expectEarlierWaits = [this](const char *what) {
        EXPECT_TRUE(state.transfer.NewSerialPending) << what;
        EXPECT_EQ(state.transfer.NewSerialBytes, (SerialNumberBytes{9, 1, 2, 3})) << what;
        EXPECT_TRUE(flagsAtRest()) << what;
    };

    // No unit answers: nothing was sent.
    instrument().faults().noAnswer = true;
    EXPECT_EQ(outcomeOf(run({"100330001", "1", "3"})), FactoryOutcome::NotConnected);
    expectEarlierWaits("not connected");

    // A unit that stops echoing half-way was not made.
    instrument().faults().noAnswer = false;
    instrument().faults().echoesStopAfter = 200;
    instrument().restartEchoCount();
    EXPECT_FALSE(run({"100330002", "1", "3"}).ok());
    expectEarlierWaits("failed half-way");

    // A unit without a serial number has nothing to keep; once made, its
    // own serial number waits.
    instrument().faults().echoesStopAfter.reset();
    instrument().powerCycle(); // it was left waiting for the rest of a block
    instrument().setSerial(255, 255, 255, 255);
    std::filesystem::remove_all(folder.file("units"));
    const FactoryResult made = run({"100330003", "1", "3"});
    ASSERT_EQ(outcomeOf(made), FactoryOutcome::Completed) << made.error();
    EXPECT_TRUE(state.transfer.NewSerialPending);
    EXPECT_EQ(state.transfer.NewSerialBytes, (SerialNumberBytes{10, 3, 30, 3}));
    EXPECT_TRUE(listUnitHistory(fake.files).empty());
}

TEST_F(MakeNewUnitTest, ACopyThatCannotBeKeptStopsItBeforeTheFirstWrite)
{
    folder.write("units", "a file where the copies' folder should be");
    connectFirst();
    const auto before = nvm();
    const FactoryResult result = run({"100330001", "1", "3"});
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(result.error().starts_with("The copy of unit 240530007 could not be saved in "))
        << result.error();
    EXPECT_TRUE(
        result.error().ends_with(" Nothing was written to the Orvane. Make room on the "
                                 "disk or check the folder's permissions, then try again."));
    EXPECT_EQ(notices().back().title, "Copy Not Saved");
    EXPECT_EQ(find({61, 3}), std::string::npos);
    EXPECT_EQ(find({61, 1}), std::string::npos);
    EXPECT_EQ(nvm(), before);
    EXPECT_TRUE(flagsAtRest());
    EXPECT_FALSE(state.transfer.NewSerialPending);
}

TEST_F(MakeNewUnitTest, BadAnswersAndFilesStopItBeforeTheFirstByte)
{
    const auto oversized = codeFileText(CodeSectors{std::vector<uint8_t>(14 * 64, 1)},
                                        7168,
                                        CodeFileOrigin::FlashRead);
    const struct
    {
        std::vector<std::string> answers;
        const char *module;
        std::optional<std::string> text;
        const char *reason;
    } cases[] = {
        {{"69999999"}, nullptr, {}, "at least 70000000"},
        {{"100330001", "4"}, nullptr, {}, "must be 1 to 3; 4 was entered"},
        {{"100330002", "0"}, nullptr, {}, "must be 1 to 3"},
        {{"100330003", "1", "256"}, nullptr, {}, "Sw_Ver) must be 0 to 255"},
        {{"100330004", "1", "3"},
         "HiLoEditor.COD",
         std::nullopt,
         "HiLoEditor.COD: the code module cannot be read"},
        {{"100330005", "1", "3"},
         "IspSerialLoader.COD",
         oversized,
         "14 sectors do not fit the 13 sectors between EEPROM 16384 and 17216"},
        {{"100330006", "1", "3"},
         "DampingEditor.COD",
         " 4 ,x\r\n 1 2\r\n",
         "DampingEditor.COD, line 3"},
    };
    for (const auto &c : cases) {
        std::string kept;
        if (c.module) {
            kept = *folder.read(c.module);
            if (c.text)
                folder.write(c.module, *c.text);
            else
                std::filesystem::remove(folder.file(c.module));
        }
        const FactoryResult result = run(c.answers);
        EXPECT_NE(result.error().find(c.reason), std::string::npos) << result.error();
        if (c.module)
            folder.write(c.module, kept);
    }
    EXPECT_TRUE(fake.port.written.empty());
    EXPECT_TRUE(flagsAtRest());
    EXPECT_FALSE(state.transfer.NewSerialPending);
    EXPECT_EQ(notices().size(), std::size(cases));
}

TEST_F(MakeNewUnitTest, TheCodeEnteredOutlivesTheConnectionItMakes)
{
    // Connecting reads the code the unit held before; the one typed wins.
    instrument().setProductCode(1);
    const FactoryResult result = run({"70101001", "3", "0"});
    ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
    EXPECT_EQ(link.linkState().ProductCode, 3);
    EXPECT_EQ(view.productCode, " 3");
    EXPECT_EQ(eeprom()[7232], 3);
}

TEST_F(MakeNewUnitTest, FlagsComeBackWhenTheLinkFailsHalfWay)
{
    // The cable is pulled while the code modules are being stored.
    connectFirst();
    at(16.5, [&] { fake.port.pullCable(); });
    FactoryResult result = run({"100330001", "1", "3"});
    EXPECT_NE(result.error().find("The connection to the Orvane was lost while writing sector"),
              std::string::npos)
        << result.error();
    EXPECT_TRUE(flagsAtRest());
    EXPECT_FALSE(view.progressShown);
    EXPECT_FALSE(view.hidden) << "the window stays open to try again";
}

TEST_F(MakeNewUnitTest, FlagsComeBackWhenEchoesStop)
{
    connectFirst();
    instrument().faults().echoesStopAfter = 200;
    const FactoryResult result = run({"100330001", "1", "3"});
    EXPECT_NE(result.error().find("No answer from the Orvane while clearing the log area"),
              std::string::npos)
        << result.error();
    EXPECT_EQ(result.error().find("Nothing was written"), std::string::npos);
    EXPECT_TRUE(flagsAtRest());
}

} // namespace
} // namespace orvane::test
