#include "FactoryToolTest.h"

#include "factory/BytePrograms.h"
#include "factory/CodeImages.h"
#include "factory/IspMode.h"
#include "factory/MemoryDumps.h"
#include "factory/Provisioning.h"

namespace orvane::test {
namespace {

using IspModeTest = FactoryToolTest;

TEST_F(IspModeTest, IspModeSilencesTheInstrumentAndClosesTheWindow)
{
    const std::pair<CommandCode, uint8_t> cases[]
        = {{CommandCode::IspFromEeprom, 9}, {CommandCode::IspMakerLoader, 10}};
    for (const auto &[code, byte] : cases) {
        instrument().powerCycle();
        view.hidden = false;
        fake.dialogs.calls.clear();
        connectFirst();
        const double start = now();
        answer({}, 1);
        const FactoryResult result = enterIspMode(services, code);
        ASSERT_EQ(outcomeOf(result), FactoryOutcome::Completed) << result.error();
        EXPECT_EQ(written(), (std::vector<uint8_t>{61, byte, 0, 0, 0}));
        EXPECT_NEAR(writtenAt(0) - start, 0.1, 1e-9);
        EXPECT_EQ(instrument().linkMode(), sim::Instrument::LinkMode::Isp);
        EXPECT_FALSE(link.linkState().IsConnected);
        EXPECT_EQ(view.connectedCaption, "Not connected to Orvane");
        EXPECT_TRUE(view.hidden);
        const DialogCall question = fake.dialogs.messages().at(0);
        EXPECT_EQ(question.title, "Put P89LPC9408 into ISP mode");
        EXPECT_EQ(question.text, "Are you sure?\r\nThis will put P89LPC9408 back into ISP mode!");
    }

    // No at the question: nothing is sent and the window stays.
    view.hidden = false;
    fake.port.written.clear();
    fake.dialogs.messageAnswers = {MessageAnswer::No};
    EXPECT_EQ(outcomeOf(enterIspMode(services, CommandCode::IspFromEeprom)),
              FactoryOutcome::Cancelled);
    EXPECT_TRUE(fake.port.written.empty());
    EXPECT_FALSE(view.hidden);
}

TEST_F(IspModeTest, DisconnectsEndTheExchangeOnlyWhenConnectedAndAlwaysClose)
{
    const std::pair<CommandCode, uint8_t> cases[]
        = {{CommandCode::SoftReset, 251}, {CommandCode::Disconnect, 255}};
    for (const auto &[code, byte] : cases) {
        view.hidden = false;
        connectFirst();
        const double start = now();
        ASSERT_EQ(outcomeOf(disconnectAndClose(services, code)), FactoryOutcome::Completed);
        EXPECT_EQ(written(), (std::vector<uint8_t>{61, byte, 0, 0, 0}));
        EXPECT_NEAR(writtenAt(0) - start, 0.1, 1e-9);
        EXPECT_FALSE(link.linkState().IsConnected);
        EXPECT_TRUE(view.hidden);

        view.hidden = false;
        written0 = fake.port.written.size();
        ASSERT_EQ(outcomeOf(disconnectAndClose(services, code)), FactoryOutcome::Completed);
        EXPECT_TRUE(written().empty()) << "nothing to end";
        EXPECT_TRUE(view.hidden);
    }
    const auto &iram = instrument().iram();
    EXPECT_TRUE(std::all_of(iram.begin(), iram.end(), [](uint8_t b) { return b == 0; }))
        << "255 clears the instrument's RAM";
}

TEST_F(IspModeTest, EveryToolIsRefusedWhileAnotherExchangeHoldsTheLine)
{
    using Tool = std::function<FactoryResult(FactoryServices &)>;
    const Tool tools[] = {
        [](FactoryServices &s) { return dumpMemory(s, FactoryMemory::Iram); },
        [](FactoryServices &s) { return dumpMemory(s, FactoryMemory::Flash); },
        programEepromByte,
        programInternalNvmByte,
        writeSerialNumber,
        zeroLogs,
        uploadCalibrationCurves,
        uploadNmeaTables,
        makeNewUnit,
        convertHexToCode,
        storeCodeFile,
        readFlashToCode,
        copyCodeToFlash,
        [](FactoryServices &s) { return enterIspMode(s, CommandCode::IspFromEeprom); },
        [](FactoryServices &s) { return disconnectAndClose(s, CommandCode::SoftReset); },
    };
    connectFirst();
    link.setLineUser(LineUser::Upload);
    for (const Tool &tool : tools) {
        fake.dialogs.calls.clear();
        EXPECT_EQ(outcomeOf(tool(services)), FactoryOutcome::Busy);
        ASSERT_EQ(fake.dialogs.messages().size(), 1u);
        EXPECT_EQ(fake.dialogs.messages()[0].text,
                  "An upload to the Orvane is running. Wait for it to finish.");
        EXPECT_EQ(link.linkState().lineUser, LineUser::Upload) << "the upload keeps the line";
    }
    EXPECT_TRUE(written().empty());
    EXPECT_FALSE(view.hidden);

    // Each tool holds the line while it runs and frees it after.
    link.setLineUser(LineUser::None);
    LineUser seen = LineUser::None;
    fake.dialogs.onDialog = [&](const DialogCall &) {
        seen = link.linkState().lineUser;
    };
    answer({"0", "1"});
    ASSERT_EQ(outcomeOf(dumpMemory(services, FactoryMemory::Xram)), FactoryOutcome::Completed);
    EXPECT_EQ(seen, LineUser::FactoryTool);
    EXPECT_EQ(link.linkState().lineUser, LineUser::None);
}

} // namespace
} // namespace orvane::test
