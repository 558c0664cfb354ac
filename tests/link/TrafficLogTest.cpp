#include "LinkTestSupport.h"

#include "link/TrafficLog.h"

#include <algorithm>

namespace orvane::test {
namespace {

using Bytes = std::vector<uint8_t>;

struct Line
{
    TrafficDirection direction;
    Bytes bytes;
    bool operator==(const Line &) const = default;
};

std::vector<Line> lines(const TrafficLog &log)
{
    std::vector<Line> out;
    for (const TrafficEntry &e : log.entries())
        out.push_back({e.direction, e.bytes});
    return out;
}

Bytes joined(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(TrafficLog, ConnectShowsTheHandshakeInOrderWithTheProbesEchoMarked)
{
    FakePlatform fake;
    fake.instrument.setProductCode(1);
    ByteLink link{fake.platform};
    link.setComPortNumber(1);
    RecordingView view;
    Connection connection{fake.platform, link, view};
    TrafficLog log;
    link.setTrafficTap(&log);
    ASSERT_TRUE(connection.ConnectToTessaro());

    // Every byte written, in order, and each command frame whole on its line.
    Bytes sent;
    for (const TrafficEntry &e : log.entries())
        if (e.direction == TrafficDirection::Sent)
            sent.insert(sent.end(), e.bytes.begin(), e.bytes.end());
    Bytes written;
    for (const auto &w : fake.port.written)
        written.push_back(w.second);
    EXPECT_EQ(sent, written);

    // The presence probe and its echo, then the handshake's frames and answers.
    const std::vector<Line> got = lines(log);
    const auto echo = std::find_if(got.begin(), got.end(), [](const Line &l) {
        return l.direction == TrafficDirection::Echo;
    });
    ASSERT_NE(echo, got.end());
    ASSERT_NE(echo, got.begin());
    EXPECT_EQ(*echo, (Line{TrafficDirection::Echo, {61}}));
    EXPECT_EQ(*(echo - 1), (Line{TrafficDirection::Sent, {61}}));
    const std::vector<Line> inOrder = {
        {TrafficDirection::Sent, {35, 35, 35, 35, 35, 35, 35, 35}},
        {TrafficDirection::Received, {64}},
        {TrafficDirection::Sent, {61, 14, 0, 0, 0}},
        {TrafficDirection::Sent, {61, 2, 1, 28, 64}},
        {TrafficDirection::Sent, {61, 13, 1, 229, 5}},
        {TrafficDirection::Sent, {123}},
        {TrafficDirection::Sent, {61, 5, 5, 5, 5}},
        {TrafficDirection::Sent, {61, 0, 1, 0, 94}},
        {TrafficDirection::Sent, {61, 0, 2, 0, 10}},
    };
    auto from = echo;
    for (const Line &line : inOrder) {
        const auto found = std::find(from, got.end(), line);
        ASSERT_NE(found, got.end()) << "a line of " << line.bytes.size() << " bytes is missing";
        from = found;
    }
    // Only the probe's answer is an echo; answers to frames are not.
    EXPECT_EQ(std::count_if(got.begin(),
                            got.end(),
                            [](const Line &l) { return l.direction == TrafficDirection::Echo; }),
              1);

    // Times count from the first byte; each pause is the gap since the entry before.
    const auto &entries = log.entries();
    EXPECT_EQ(entries.front().time, 0.0);
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_GE(entries[i].time, entries[i - 1].time);
        EXPECT_GE(entries[i].pause, 0.0);
    }
    const auto versions
        = entries[size_t(std::find(got.begin(), got.end(), inOrder[2]) - got.begin())];
    EXPECT_GT(versions.pause, Connection::kConnectReadPause);
}

TEST(TrafficLog, RunsSplitAtFramesGapsEchoesAndLength)
{
    TrafficLog log;
    log.frameBoundary();
    for (uint8_t b : {1, 2, 3})
        log.sent(b, 10.0 + b * 0.05);
    log.frameBoundary();
    log.sent(9, 10.2); // after the frame: a line of its own
    log.sent(8, 10.2 + TrafficLog::kRunGap + 0.01);
    const uint8_t echoAndMore[] = {8, 40, 41};
    log.received(echoAndMore, 10.4, true);
    Bytes stream(TrafficLog::kMaxEntryBytes + 3, 0x24);
    log.received(stream, 10.4, false);

    const std::vector<Line> expected = {
        {TrafficDirection::Sent, {1, 2, 3}},
        {TrafficDirection::Sent, {9}},
        {TrafficDirection::Sent, {8}},
        {TrafficDirection::Echo, {8}},
        {TrafficDirection::Received, joined({40, 41}, Bytes(TrafficLog::kMaxEntryBytes - 2, 0x24))},
        {TrafficDirection::Received, Bytes(5, 0x24)},
    };
    EXPECT_EQ(lines(log), expected);
    EXPECT_NEAR(log.entries()[1].pause, 0.05, 1e-9);
    EXPECT_NEAR(log.entries()[3].time, 0.35, 1e-9);

    log.clear();
    log.sent(7, 20.0);
    EXPECT_EQ(log.entries().size(), 1u);
    EXPECT_EQ(log.entries()[0].time, 0.0);
}

TEST(TrafficLog, TextHasTimeDirectionHexAndPrintableCharacters)
{
    EXPECT_EQ(trafficLine({1.5, 0.25, TrafficDirection::Echo, {0x3D}}),
              "   1.500   +0.250  echo        3D  =");
    EXPECT_EQ(trafficLine({12.0, 0.1, TrafficDirection::Sent, {0x3D, 0x0E, 0x41, 0x7F}}),
              "  12.000   +0.100  PC->Orvane  3D 0E 41 7F  =.A.");

    TrafficLog log;
    const uint8_t answer[] = {'@'};
    log.received(answer, 3.0, false);
    const std::string text = trafficText(log, {2026, 12, 8, 9, 5, 3});
    EXPECT_EQ(text,
              "Orvane serial traffic, saved 2026-12-08 09:05:03\n" + trafficHeading() + "\n"
                  + "   0.000   +0.000  Orvane->PC  40  @\n");
}

} // namespace
} // namespace orvane::test
