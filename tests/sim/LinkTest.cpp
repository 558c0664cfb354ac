#include "InstrumentDriver.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvane::sim;
using namespace orvane::sim::test;

TEST(InstrumentLink, HandshakeFromPowerUp)
{
    Instrument instrument;
    EXPECT_EQ(send(instrument, {61}), bytes({61})) << "presence probe";
    EXPECT_EQ(send(instrument, {35, 35, 35, 35, 35, 35, 35}), bytes({}))
        << "seven # are not enough";
    EXPECT_FALSE(instrument.inCommandMode());
    EXPECT_EQ(send(instrument, {35}), bytes({64}));
    EXPECT_TRUE(instrument.inCommandMode());
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4})) << "quick probe in command mode";
}

TEST(InstrumentLink, IdleInstrumentAnswersOnlyThePresenceProbe)
{
    Instrument instrument;
    // The editor's quick probe reaches an idle instrument: only its "=" is
    // answered, so the editor goes on to the attempt loop.
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({61}));
    EXPECT_EQ(send(instrument, {61, 0, 1, 0, 0, 63, 1}), bytes({61})) << "no frames while idle";
    // Any other byte breaks a run of "#".
    EXPECT_EQ(send(instrument, {35, 35, 35, 35, 35, 35, 35, 0, 35}), bytes({}));
    EXPECT_FALSE(instrument.inCommandMode());
}

TEST(InstrumentLink, SoftResetAndDisconnectReturnToIdle)
{
    for (const int code : {251, 255}) {
        Instrument instrument;
        connect(instrument);
        EXPECT_EQ(send(instrument, {61, code, 0, 0, 0}), bytes({}));
        EXPECT_FALSE(instrument.inCommandMode()) << code;
        EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({61})) << code;
        connect(instrument);
        EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4})) << code;
    }
}

TEST(InstrumentLink, ResynchronisingInCommandModeAnswersAtSign)
{
    Instrument instrument;
    connect(instrument);
    EXPECT_EQ(send(instrument, {35, 35, 35, 35, 35, 35, 35, 35}), bytes({64}));
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4}));
}

TEST(InstrumentLink, IspModeIsSilentUntilPowerCycle)
{
    for (const int code : {9, 10}) {
        Instrument instrument;
        connect(instrument);
        EXPECT_EQ(send(instrument, {61, code, 0, 0, 0}), bytes({}));
        EXPECT_EQ(instrument.linkMode(), Instrument::LinkMode::Isp);
        EXPECT_EQ(send(instrument, {61, 35, 35, 35, 35, 35, 35, 35, 35, 61, 4, 5, 5, 5}),
                  bytes({}));
        // Nor is a write or a clear of the RAM acted on.
        const auto iram = instrument.iram();
        EXPECT_EQ(send(instrument, {61, 1, 1, 0, 200, 9, 61, 255, 0, 0, 0, 63, 1}), bytes({}));
        EXPECT_NE(instrument.internalNvm()[200], 9);
        EXPECT_EQ(instrument.iram(), iram);
        instrument.powerCycle();
        EXPECT_EQ(send(instrument, {61}), bytes({61})) << code;
    }
}

TEST(InstrumentLink, PowerCycleDropsAHalfReceivedFrame)
{
    Instrument instrument;
    connect(instrument);
    send(instrument, {61, 3, 0, 0});
    instrument.powerCycle();
    EXPECT_EQ(instrument.linkMode(), Instrument::LinkMode::Idle);
    connect(instrument);
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4}));
}

// Nothing tells the instrument that its cable was pulled: a block write cut
// short takes the bytes that come next as its data, echoing each, and only
// then does a run of eight "#" resynchronise it.
TEST(InstrumentLink, CutBlockWriteTakesWhatComesNextThenResynchronises)
{
    Instrument instrument;
    connect(instrument);
    instrument.faults().echoesStopAfter = 1;
    EXPECT_EQ(send(instrument, {61, 3, 4, 156, 64, 1, 2}), bytes({1})); // 4 bytes at 40000
    instrument.faults() = {};
    EXPECT_EQ(send(instrument, {61, 4, 35, 35, 35, 35, 35, 35, 35, 35, 35}), bytes({61, 4, 64}));
    EXPECT_EQ(std::vector<uint8_t>(instrument.eeprom().begin() + 40000,
                                   instrument.eeprom().begin() + 40004),
              bytes({1, 2, 61, 4}));
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4}));
}

TEST(InstrumentLink, UnknownCommandIsIgnoredAndLinkStaysUsable)
{
    Instrument instrument;
    connect(instrument);
    EXPECT_EQ(send(instrument, {61, 6, 0, 0, 0}), bytes({}));
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4}));
    EXPECT_EQ(instrument.frameLog().at(instrument.frameLog().size() - 2),
              "unknown command 6 (count 0 @0) ignored");
}

TEST(InstrumentLink, NoAnswerFaultSilencesEverything)
{
    Instrument instrument;
    instrument.faults().noAnswer = true;
    EXPECT_EQ(send(instrument, {61, 35, 35, 35, 35, 35, 35, 35, 35, 61, 4, 5, 5, 5}), bytes({}));
    instrument.faults().noAnswer = false;
    EXPECT_EQ(send(instrument, {61}), bytes({61})) << "nothing was taken meanwhile";
}

// The live view: "?" once, then channel numbers, one character each.
TEST(InstrumentLiveNmea, ChannelPollsSpellChecksummedSentences)
{
    Instrument instrument;
    connect(instrument);
    EXPECT_EQ(send(instrument, {63}), bytes({}));
    for (int channel = 1; channel <= 4; ++channel) {
        std::string text;
        for (int i = 0; i < 400; ++i)
            text += static_cast<char>(send(instrument, {channel}).at(0));
        // Check every whole sentence received.
        size_t start = text.find('$');
        int sentences = 0;
        while (start != std::string::npos) {
            const size_t end = text.find("\r\n", start);
            if (end == std::string::npos)
                break;
            const std::string sentence = text.substr(start, end - start);
            const size_t star = sentence.find('*');
            ASSERT_NE(star, std::string::npos) << sentence;
            unsigned check = 0;
            for (size_t i = 1; i < star; ++i)
                check ^= static_cast<unsigned char>(sentence[i]);
            EXPECT_EQ(std::stoul(sentence.substr(star + 1), nullptr, 16), check) << sentence;
            ++sentences;
            start = text.find('$', end);
        }
        EXPECT_GE(sentences, 4) << channel;
        if (channel == 1) {
            EXPECT_EQ(text.rfind("$WIMWV,", 0), 0u) << text;
        }
        if (channel == 4) {
            EXPECT_NE(text.find("$GPBWR,"), std::string::npos);
            EXPECT_NE(text.find("$GPRMC,"), std::string::npos);
        }
    }
}

TEST(InstrumentLiveNmea, ChannelsKeepTheirOwnPlaceAndFrameEndsTheStream)
{
    Instrument instrument;
    connect(instrument);
    send(instrument, {63});
    EXPECT_EQ(send(instrument, {2, 2, 2, 2, 2, 2}), bytes({'$', 'S', 'D', 'D', 'B', 'T'}));
    EXPECT_EQ(send(instrument, {3, 3, 3}), bytes({'$', 'I', 'I'}));
    EXPECT_EQ(send(instrument, {2}), bytes({','}));
    EXPECT_EQ(send(instrument, {0, 5, 63}), bytes({})) << "only channels 1..4 are answered";
    EXPECT_EQ(send(instrument, {61, 4, 5, 5, 5}), bytes({4}));
    EXPECT_EQ(send(instrument, {1}), bytes({})) << "a frame ended the stream";
}
