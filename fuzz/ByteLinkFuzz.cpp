// Drives the byte link's receive path with arbitrary byte streams: bytes that
// arrive at any moment, in any number, as answers to any byte written, while
// the link runs its waits, reads, echoed block writes and exchange marks, and
// while the port fails and reopens. On a virtual clock, so hours of line
// time cost nothing.
//
// Whatever arrives: every wait ends within its own deadline and sleeps rather
// than spins; the receive table holds exactly what arrived since the last
// reset (the first 4091 bytes in slots 1..4091, every later byte in slot 4091,
// the count stopping at 4090); a lost link writes nothing; and a block write
// reports success only when every data byte went out and was answered.

#include "link/ByteLink.h"
#include "link/Commands.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using orvane::ByteLink;
using orvane::ReceiveState;

// A wait may handle this many events before it counts as spinning.
constexpr int kMaxPumpCallsPerStep = 200000;
constexpr double kTimeSlack = 1e-9;
constexpr size_t kBurstLimit = 6000; // beyond the receive table's 4091 slots

[[noreturn]] void fault()
{
    __builtin_trap();
}

// Virtual time and the arrivals due at given moments.
class Schedule
{
public:
    double now() const { return m_now; }
    void at(double when, std::function<void()> action)
    {
        m_events.emplace(std::make_pair(std::max(when, m_now), m_sequence++), std::move(action));
    }
    void runDue()
    {
        while (!m_events.empty() && m_events.begin()->first.first <= m_now) {
            auto action = std::move(m_events.begin()->second);
            m_events.erase(m_events.begin());
            action();
        }
    }
    void advanceUntil(double limit)
    {
        if (!m_events.empty() && m_events.begin()->first.first <= limit)
            m_now = std::max(m_now, m_events.begin()->first.first);
        else
            m_now = std::max(m_now, limit);
        runDue();
    }

private:
    double m_now = 1000.0;
    uint64_t m_sequence = 0;
    std::multimap<std::pair<double, uint64_t>, std::function<void()>> m_events;
};

class VirtualClock : public orvane::Clock
{
public:
    explicit VirtualClock(Schedule &schedule)
        : m_schedule(schedule)
    {}
    double monotonicSeconds() override { return m_schedule.now(); }
    orvane::LocalDateTime localDateTime() override { return {}; }

private:
    Schedule &m_schedule;
};

class CountingPump : public orvane::EventPump
{
public:
    explicit CountingPump(Schedule &schedule)
        : m_schedule(schedule)
    {}
    void processPendingEvents() override
    {
        count();
        m_schedule.runDue();
    }
    void waitForEvents(double timeoutSeconds) override
    {
        count();
        m_schedule.advanceUntil(m_schedule.now() + std::max(0.0, timeoutSeconds));
    }
    int calls = 0;

private:
    void count()
    {
        if (++calls > kMaxPumpCallsPerStep)
            fault();
    }
    Schedule &m_schedule;
};

class NoDialogs : public orvane::UserDialogs
{
public:
    void beep() override {}
    orvane::MessageAnswer messageBox(const std::string &,
                                     const std::string &,
                                     orvane::MessageIcon,
                                     orvane::MessageButtons) override
    {
        return orvane::MessageAnswer::No;
    }
    std::string inputBox(const std::string &, const std::string &, const std::string &) override
    {
        return {};
    }
    std::string openFileName(const std::string &, const std::string &) override { return {}; }
    std::string saveFileName(const std::string &, const std::string &) override { return {}; }
};

class NoFiles : public orvane::FileSystem
{
public:
    std::string programFolder() override { return {}; }
    std::string userDataFolder() override { return {}; }
    bool isWritableFolder(const std::string &) override { return false; }
    std::string resolve(const std::string &, const std::string &name) override { return name; }
    orvane::Result<std::string> readFile(const std::string &) override
    {
        return orvane::failure("no files");
    }
    orvane::Result<> writeFileAtomically(const std::string &, const std::string &) override
    {
        return orvane::failure("no files");
    }
};

// What the description says the receive table holds: every byte handed to
// the receive event since the last reset. Unknown from a lost link until the
// next reset, since a reset on a lost link does not reach the port.
struct ReceiveModel
{
    bool known = false;
    std::vector<uint8_t> bytes;

    void check(const ByteLink &link) const
    {
        const ReceiveState &rx = link.rx();
        if (rx.RxCount < 0 || rx.RxCount > ReceiveState::kMaxCount)
            fault();
        if (!known || link.lost())
            return;
        const size_t stored = std::min(bytes.size(), size_t(ReceiveState::kMaxCount));
        if (size_t(rx.RxCount) != stored)
            fault();
        const size_t lastSlot = ReceiveState::kMaxCount + 1;
        for (size_t k = 1; k <= std::min(bytes.size(), lastSlot); ++k) {
            const uint8_t expected = k < lastSlot ? bytes[k - 1] : bytes.back();
            if (link.rxSlot(int(k)) != expected)
                fault();
        }
    }
};

// The far end: bytes arrive when the script says, or answer what the link
// writes.
class ScriptedPort : public orvane::SerialPort
{
public:
    ScriptedPort(Schedule &schedule, FuzzedDataProvider &script, ReceiveModel &model)
        : m_schedule(schedule)
        , m_script(script)
        , m_model(model)
    {}

    orvane::Result<> open(int portNumber) override
    {
        if (portNumber < 1 || portNumber > 16)
            return orvane::failure("No such device");
        m_open = true;
        m_input.clear();
        return {};
    }
    void close() override
    {
        m_open = false;
        m_input.clear();
    }
    bool isOpen() const override { return m_open; }
    bool writeByte(uint8_t byte) override
    {
        if (!m_open)
            return false;
        written.push_back(byte);
        answer(byte);
        return true;
    }
    std::vector<uint8_t> readAll() override
    {
        std::vector<uint8_t> bytes;
        bytes.swap(m_input);
        m_model.bytes.insert(m_model.bytes.end(), bytes.begin(), bytes.end());
        return bytes;
    }
    void discardInput() override
    {
        m_input.clear();
        m_model.known = true;
        m_model.bytes.clear();
    }
    void setReceiveHandler(std::function<void()> handler) override
    {
        m_onReceive = std::move(handler);
    }
    void setErrorHandler(std::function<void(const std::string &)> handler) override
    {
        m_onError = std::move(handler);
    }
    std::string deviceForPort(int) override { return "fuzz"; }
    std::vector<orvane::SerialDeviceInfo> availableDevices() override { return {}; }

    // `bytes` arrive `delay` seconds from now, if the port is still open then.
    void arrive(std::vector<uint8_t> bytes, double delay)
    {
        m_schedule.at(m_schedule.now() + delay, [this, bytes = std::move(bytes)] {
            if (!m_open)
                return;
            m_input.insert(m_input.end(), bytes.begin(), bytes.end());
            if (m_onReceive)
                m_onReceive();
        });
    }
    // The device fails: the port reports it from the event loop and closes,
    // as the Qt port does.
    void failSoon(double delay)
    {
        m_schedule.at(m_schedule.now() + delay, [this] {
            if (!m_open)
                return;
            close();
            if (m_onError)
                m_onError("The device was removed");
        });
    }

    enum class Answering { Nothing, Echo, ScriptedBytes };
    Answering answering = Answering::Echo;
    double answerDelay = 0;
    std::vector<uint8_t> written;

private:
    void answer(uint8_t byte)
    {
        switch (answering) {
        case Answering::Nothing:
            return;
        case Answering::Echo:
            arrive({byte}, answerDelay);
            return;
        case Answering::ScriptedBytes:
            arrive(m_script.ConsumeBytes<uint8_t>(m_script.ConsumeIntegralInRange<size_t>(0, 8)),
                   answerDelay);
            return;
        }
    }

    Schedule &m_schedule;
    FuzzedDataProvider &m_script;
    ReceiveModel &m_model;
    bool m_open = false;
    std::vector<uint8_t> m_input;
    std::function<void()> m_onReceive;
    std::function<void(const std::string &)> m_onError;
};

struct Rig
{
    explicit Rig(FuzzedDataProvider &script)
        : script(script)
        , port(schedule, script, model)
    {}

    FuzzedDataProvider &script;
    Schedule schedule;
    ReceiveModel model;
    VirtualClock clock{schedule};
    CountingPump pump{schedule};
    NoDialogs dialogs;
    NoFiles files;
    ScriptedPort port;
    orvane::Platform platform{clock, pump, dialogs, files, port};
    ByteLink link{platform};

    double seconds(double most) { return script.ConsumeFloatingPointInRange(0.0, most); }
    uint8_t byte() { return script.ConsumeIntegral<uint8_t>(); }
    orvane::CommandCode code() { return orvane::CommandCode(byte()); }
    orvane::Frame frame()
    {
        return orvane::memoryFrame(code(),
                                   script.ConsumeIntegralInRange(1, orvane::kMaxFrameCount),
                                   script.ConsumeIntegralInRange(0, 0xFFFF));
    }
};

// One step of the script; returns the longest the step may take.
double step(Rig &rig)
{
    ByteLink &link = rig.link;
    FuzzedDataProvider &script = rig.script;
    constexpr double kFrameTime = 5 * ByteLink::kSendBytePause;
    switch (script.ConsumeIntegralInRange(0, 15)) {
    case 0: {
        std::vector<uint8_t> bytes
            = script.ConsumeBytes<uint8_t>(script.ConsumeIntegralInRange<size_t>(1, 64));
        rig.port.arrive(std::move(bytes), rig.seconds(1.0));
        return 0;
    }
    case 1: {
        // A long stream, past the end of the receive table.
        const auto count = script.ConsumeIntegralInRange<size_t>(1, kBurstLimit);
        rig.port.arrive(std::vector<uint8_t>(count, rig.byte()), rig.seconds(1.0));
        return 0;
    }
    case 2:
        rig.port.answering = ScriptedPort::Answering(script.ConsumeIntegralInRange(0, 2));
        rig.port.answerDelay = rig.seconds(2 * ByteLink::kEchoTimeout);
        return 0;
    case 3:
        rig.port.failSoon(rig.seconds(1.0));
        return 0;
    case 4:
        (void)link.openPort(script.ConsumeIntegralInRange(0, 17));
        return 0;
    case 5: {
        const double pause = rig.seconds(2.0);
        link.Delay(pause);
        return pause;
    }
    case 6:
        link.SendByte(rig.byte());
        return ByteLink::kSendBytePause;
    case 7: {
        const uint8_t b = rig.byte();
        const double start = rig.schedule.now();
        link.SendByteCheckEcho(b);
        // Only the marker, the complement of the byte, says no echo came, and
        // the wait gives up on the echo only at its deadline.
        const bool echoed = link.rx().RxCount > 0;
        if (!link.lost() && echoed && link.rxSlot(1) == int16_t(-1 - int(b)))
            fault();
        if (!link.lost() && !echoed
            && rig.schedule.now() - start < ByteLink::kEchoTimeout - kTimeSlack)
            fault();
        return ByteLink::kEchoTimeout;
    }
    case 8: {
        const int16_t got = link.ReceiveByte();
        if (got < -1 || got > 255 || got != link.rxSlot(1))
            fault();
        return ByteLink::kEchoTimeout;
    }
    case 9: {
        const int count = script.ConsumeIntegralInRange(0, ReceiveState::kMaxCount + 10);
        const double timeout = rig.seconds(2.0);
        if (link.waitForBytes(count, timeout) && link.rx().RxCount < count)
            fault();
        return timeout;
    }
    case 10: {
        const int count = script.ConsumeIntegralInRange(0, ReceiveState::kMaxCount);
        const double pause = rig.seconds(2.0);
        const bool untilComplete = script.ConsumeBool();
        const orvane::Frame frame = rig.frame();
        const std::vector<uint8_t> answer
            = untilComplete ? orvane::issueReadUntilComplete(link, frame, count, pause)
                            : orvane::issueRead(link, frame, count, pause);
        if (answer.size() != size_t(count))
            fault();
        return kFrameTime + pause;
    }
    case 11: {
        const orvane::CommandCode code = rig.code();
        const int address = script.ConsumeIntegralInRange(0, 0xFFFF);
        const std::vector<uint8_t> data = script.ConsumeBytes<uint8_t>(
            script.ConsumeIntegralInRange<size_t>(1, orvane::kMaxFrameCount));
        const double trailing = rig.seconds(1.0);
        const double framePause = rig.seconds(0.5);
        const size_t before = rig.port.written.size();
        switch (orvane::writeBlock(link, code, address, data, trailing, framePause)) {
        case orvane::BlockWriteEnd::Completed:
            // The frame, then every data byte, and nothing else.
            if (link.lost() || rig.port.written.size() != before + 5 + data.size()
                || !std::equal(data.begin(),
                               data.end(),
                               rig.port.written.end() - long(data.size())))
                fault();
            break;
        case orvane::BlockWriteEnd::NoEcho:
        case orvane::BlockWriteEnd::LinkLost:
            if (!link.lost())
                fault();
            break;
        }
        return kFrameTime + framePause + double(data.size()) * ByteLink::kEchoTimeout + trailing;
    }
    case 12: {
        const int address = script.ConsumeIntegralInRange(0, 255);
        (void)orvane::writeInternalNvmByte(link, address, rig.byte());
        return 2 * (kFrameTime + orvane::kNvmByteReadPause) + 2 * kFrameTime
               + 2 * ByteLink::kSendBytePause;
    }
    case 13:
        orvane::sendExchangeMark(link, rig.byte());
        return kFrameTime + 2 * orvane::kExchangeMarkPause + ByteLink::kSendBytePause;
    case 14:
        link.ResetReceive();
        if (link.rx().RxCount != 0 || link.rxSlot(1) != 0)
            fault();
        return 0;
    default:
        orvane::sendEndOfExchange(link,
                                  script.ConsumeBool() ? orvane::CommandCode::SoftReset
                                                       : orvane::CommandCode::Disconnect);
        return kFrameTime;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider script(data, size);
    Rig rig(script);
    (void)rig.link.openPort(1);
    while (script.remaining_bytes() > 0) {
        const bool wasLost = rig.link.lost();
        const size_t written = rig.port.written.size();
        const double start = rig.schedule.now();
        rig.pump.calls = 0;
        const double longest = step(rig);
        if (rig.schedule.now() - start > longest + kTimeSlack)
            fault();
        // A lost link stays silent until the port is opened again.
        if (wasLost && rig.link.lost() && rig.port.written.size() != written)
            fault();
        if (rig.link.lost() && rig.link.linkState().IsConnected)
            fault();
        if (rig.link.lost())
            rig.model.known = false;
        rig.model.check(rig.link);
    }
    return 0;
}
