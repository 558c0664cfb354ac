#include "TransferTestSupport.h"

#include "app/Startup.h"

#include <set>

namespace orvane::test {
namespace {

using MaintenanceTest = TransferTest;

// Start of every EEPROM write frame of 64 bytes, as (high, low) pairs, in order.
std::vector<std::pair<int, int>> blockWrites(const std::vector<uint8_t> &bytes)
{
    std::vector<std::pair<int, int>> found;
    for (size_t i = 0; i + 4 < bytes.size(); ++i)
        if (bytes[i] == 61 && bytes[i + 1] == 3 && bytes[i + 2] == 64) {
            found.emplace_back(bytes[i + 3], bytes[i + 4]);
            i += 4 + 64;
        }
    return found;
}

TEST_F(MaintenanceTest, BackupCopiesSettingsThenTheEepromBetweenExchangeMarks)
{
    for (int i = 1; i < 256; ++i)
        instrumentNvm()[size_t(i)] = uint8_t(i * 5);
    fixInstrumentCheckByte();
    for (int a = 0; a < 6144; ++a)
        eeprom()[size_t(a)] = uint8_t(a * 13 + a / 256);
    connectFirst();
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};

    const TransferResult result = transfers.CreateBackup();
    ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();

    const auto question = fake.dialogs.messages().at(0);
    EXPECT_EQ(question.title, "Create System Backup");
    EXPECT_EQ(question.text,
              "WARNING - This will overwrite any previous System Backup data saved in the "
              "Orvane!\r\nAre you sure that you want to do this?");
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(eeprom()[size_t(20608 + i)], instrumentNvm()[size_t(i)]) << i;
    for (int a = 0; a < 6144; ++a)
        ASSERT_EQ(eeprom()[size_t(32768 + a)], eeprom()[size_t(a)]) << a;

    const auto bytes = writtenSinceConnect();
    const auto writes = blockWrites(bytes);
    ASSERT_EQ(writes.size(), 100u);
    EXPECT_EQ(writes.front(), std::make_pair(80, 128)); // 20608
    EXPECT_EQ(writes.back(), std::make_pair(151, 192)); // 38848
    const std::vector<uint8_t> begin = {61, 13, 1, 229, 5, 123, 61, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(begin.begin(), begin.end(), bytes.begin()));
    EXPECT_EQ(lastWritten(11), (std::vector<uint8_t>{61, 13, 1, 229, 5, 0, 61, 255, 0, 0, 0}));
    EXPECT_EQ(instrument().exchangeMark(), 0);
    EXPECT_FALSE(link.linkState().IsConnected);
    EXPECT_FALSE(view.progressShown);
    EXPECT_TRUE(std::find(view.progressLabels.begin(),
                          view.progressLabels.end(),
                          "Backing up block 40 of 96")
                != view.progressLabels.end());
}

TEST_F(MaintenanceTest, BackupReadsGarbledSettingsAgainAndKeepsSettingsThatNeverCheckOut)
{
    // A garbled answer (its check byte wrong once) is read again, so the
    // backup holds the settings whole; a unit whose settings fail on every
    // read is backed up as it holds them.
    struct Case
    {
        int garbledReads;
        bool unitSettingsBad;
        int reads;
    };
    for (const Case c : {Case{1, false, 2}, Case{0, true, 5}}) {
        SCOPED_TRACE(c.garbledReads);
        for (int i = 1; i < 256; ++i)
            instrumentNvm()[size_t(i)] = uint8_t(i * 7);
        fixInstrumentCheckByte();
        if (c.unitSettingsBad)
            instrumentNvm()[0] ^= 0x01;
        instrument().faults().badCheckByteReads = c.garbledReads;
        connectFirst();
        fake.dialogs.messageAnswers = {MessageAnswer::Yes};

        const TransferResult result = transfers.CreateBackup();
        ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(eeprom()[size_t(20608 + i)], instrumentNvm()[size_t(i)]) << i;
        EXPECT_EQ(framesSent({61, 0, 0, 0, 0}), c.reads);
    }
}

TEST_F(MaintenanceTest, RestoreBringsBackWhatTheBackupSaved)
{
    for (int a = 0; a < 6144; ++a)
        eeprom()[size_t(a)] = uint8_t(a % 251);
    const auto savedNvm = instrumentNvm();
    const auto savedEeprom = eeprom();

    fake.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Yes};
    ASSERT_EQ(outcomeOf(transfers.CreateBackup()), TransferOutcome::Completed);

    std::fill(instrumentNvm().begin(), instrumentNvm().begin() + 256, uint8_t(0x33));
    std::fill(eeprom().begin(), eeprom().begin() + 6144, uint8_t(0x44));
    const TransferResult result = transfers.RestoreBackup();
    ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();

    EXPECT_EQ(fake.dialogs.messages().at(1).text,
              "WARNING - This will overwrite all calibration, alarms and configuration data in "
              "the Orvane!\r\nData will be copied from Backup Memory inside the Orvane.\r\nAre "
              "you sure that you want to do this?");
    EXPECT_TRUE(
        std::equal(instrumentNvm().begin(), instrumentNvm().begin() + 256, savedNvm.begin()));
    EXPECT_TRUE(std::equal(eeprom().begin(), eeprom().begin() + 6144, savedEeprom.begin()));
    EXPECT_EQ(fake.port.openCount, 2); // each command connects on its own
}

TEST_F(MaintenanceTest, NoToTheQuestionSendsNothing)
{
    fake.dialogs.messageAnswers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
    EXPECT_EQ(outcomeOf(transfers.CreateBackup()), TransferOutcome::Cancelled);
    EXPECT_EQ(outcomeOf(transfers.RestoreBackup()), TransferOutcome::Cancelled);
    EXPECT_EQ(outcomeOf(transfers.UpdateFirmware()), TransferOutcome::Cancelled);
    EXPECT_TRUE(fake.port.written.empty());
}

TEST_F(MaintenanceTest, FirmwareUpdateWaitsLiveThenRequestsWithTheCheckByteKept)
{
    instrumentNvm()[3] = 0;
    instrumentNvm()[0] = 0x5A;
    connectFirst();
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};

    double waitStarted = 0;
    double tickDuringWait = 0;
    view.onConnectedCaption = [&](const std::string &caption) {
        if (caption != kFirmwareWaitCaption)
            return;
        waitStarted = now();
        at(1.0, [&] { tickDuringWait = now(); }); // a timer of the main window
    };
    const TransferResult result = transfers.UpdateFirmware();
    ASSERT_EQ(outcomeOf(result), TransferOutcome::Completed) << result.error();

    EXPECT_EQ(fake.dialogs.messages().at(0).title, "Update Firmware");
    EXPECT_EQ(fake.dialogs.messages().at(0).text,
              "WARNING - Are you sure that you want to do this?");
    EXPECT_EQ(instrumentNvm()[3], 1);
    EXPECT_EQ(instrumentNvm()[0], 0x5B);
    // The window stayed live through the three-second wait.
    EXPECT_NEAR(tickDuringWait - waitStarted, 1.0, 1e-9);
    // Already connected: disconnected first, then connected afresh.
    EXPECT_EQ(fake.port.openCount, 2);
    const std::vector<uint8_t> request = {61, 0, 1,  0, 3, 61, 0, 1,    0,  0,   61, 1, 1, 0,
                                          3,  1, 61, 1, 1, 0,  0, 0x5B, 61, 255, 0,  0, 0};
    EXPECT_EQ(lastWritten(request.size()), request);
    EXPECT_FALSE(link.linkState().IsConnected);
}

TEST_F(MaintenanceTest, ClearConfigurationZeroesItsListedBytesOnly)
{
    state.editor.currentConfig = 5;
    for (int b = 0; b < 129; ++b)
        state.document.image.CDC(5, b) = 0xEE;
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};

    EXPECT_EQ(outcomeOf(transfers.cmdClearConfig()), TransferOutcome::Completed);
    const auto question = fake.dialogs.messages().at(0);
    EXPECT_EQ(question.title, "Completely clear display configuration # 5");
    EXPECT_EQ(question.text,
              "Are you sure?\r\nThis will completely clear display configuration # 5");
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(fake.dialogs.beeps(), 1);

    const std::set<int> cleared = {5,
                                   22,
                                   39,
                                   56,
                                   73,
                                   481,
                                   821,
                                   1161,
                                   1501,
                                   1518,
                                   1535,
                                   1552,
                                   1569,
                                   1841,
                                   1858,
                                   1875,
                                   1892,
                                   1909};
    for (int b = 0; b < 129; ++b) {
        const int flat = 5 + 17 * b;
        EXPECT_EQ(state.document.image.CDC.flat(flat), cleared.count(flat) ? 0 : 0xEE) << flat;
    }
    EXPECT_EQ(view.iconClears, 1);
    EXPECT_EQ(view.redraws, 1);
    EXPECT_TRUE(fake.port.written.empty());

    // Anything but Yes leaves the configuration alone.
    state.document.image.CDC(5, 28) = 9;
    fake.dialogs.messageAnswers = {MessageAnswer::No};
    EXPECT_EQ(outcomeOf(transfers.cmdClearConfig()), TransferOutcome::Cancelled);
    EXPECT_EQ(state.document.image.CDC(5, 28), 9);
}

TEST_F(MaintenanceTest, FactoryResetThenCancelledUploadLeavesTheInstrumentAlone)
{
    AppState defaults;
    loadFactoryDefaults(defaults.document, defaults.editor, defaults.transfer.NewUnitPending);
    state.document.image.CDC(3, 28) = 17;
    state.document.image.IntNvm[2] = 99;
    state.transfer.UploadSelection.fill(0);
    view.onRerunStartup = [&] {
        setStartValues(state, link);
    };
    view.onShowSelection = [&] {
        state.transfer.TransferChoice = 1;
    };
    const auto nvm = instrumentNvm();
    const auto rom = eeprom();
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};

    EXPECT_EQ(outcomeOf(transfers.ResetDefaults()), TransferOutcome::Cancelled);
    const auto question = fake.dialogs.messages().at(0);
    EXPECT_EQ(question.title, "Reset all values to Factory Defaults");
    EXPECT_EQ(question.text,
              "WARNING - This will overwrite all values and settings in the Orvane!\r\nAre you "
              "sure that you want to do this?");
    EXPECT_EQ(view.startups, 1);
    EXPECT_EQ(view.firstConfigSelections, 1);
    EXPECT_GE(view.redraws, 1);
    EXPECT_EQ(view.selectionShows, 1);
    EXPECT_EQ(state.document.image.CDC, defaults.document.image.CDC);
    EXPECT_EQ(state.document.image.IntNvm, defaults.document.image.IntNvm);
    EXPECT_EQ(instrumentNvm(), nvm);
    EXPECT_EQ(eeprom(), rom);
    EXPECT_TRUE(fake.port.written.empty());
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
}

TEST_F(MaintenanceTest, FactoryResetContinuedUploadsTheDefaults)
{
    view.onRerunStartup = [&] {
        setStartValues(state, link);
    };
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    ASSERT_EQ(outcomeOf(transfers.ResetDefaults()), TransferOutcome::Completed);
    for (int c = 1; c <= 16; ++c)
        for (int b = 0; b < 128; ++b)
            ASSERT_EQ(eeprom()[size_t(4096 + 128 * (c - 1) + b)], state.document.image.CDC(c, b));
}

TEST_F(MaintenanceTest, CommandsNeedingTheLineAreRefusedInWordsWhileAnExchangeRuns)
{
    link.setLineUser(LineUser::Backup);
    EXPECT_EQ(outcomeOf(transfers.cmdDownload()), TransferOutcome::Busy);
    EXPECT_EQ(outcomeOf(transfers.cmdUpload()), TransferOutcome::Busy);
    EXPECT_EQ(outcomeOf(transfers.ResetDefaults()), TransferOutcome::Busy);
    EXPECT_EQ(outcomeOf(transfers.CreateBackup()), TransferOutcome::Busy);
    EXPECT_EQ(outcomeOf(transfers.RestoreBackup()), TransferOutcome::Busy);
    EXPECT_EQ(outcomeOf(transfers.UpdateFirmware()), TransferOutcome::Busy);
    const auto refusals = fake.dialogs.messages();
    ASSERT_EQ(refusals.size(), 6u);
    for (const DialogCall &refusal : refusals)
        EXPECT_EQ(refusal.text,
                  "A system backup inside the Orvane is running. Wait for it to finish.");
    EXPECT_TRUE(fake.port.written.empty());
    EXPECT_EQ(link.linkState().lineUser, LineUser::Backup); // the running exchange keeps the line

    // Clearing a configuration only edits the PC's image: never refused.
    fake.dialogs.messageAnswers = {MessageAnswer::Yes};
    state.editor.currentConfig = 2;
    state.document.image.CDC(2, 28) = 9;
    EXPECT_EQ(outcomeOf(transfers.cmdClearConfig()), TransferOutcome::Completed);
    EXPECT_EQ(state.document.image.CDC(2, 28), 0);
}

} // namespace
} // namespace orvane::test
