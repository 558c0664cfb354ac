#pragma once

#include "platform/Platform.h"
#include "sim/Instrument.h"
#include "support/FakeFileSystem.h"
#include "support/FakeProductionDatabase.h"
#include "support/FakeSettings.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// The platform the tests run on: a virtual clock that only moves when the
// code under test waits, dialogs answered from a script, real files under a
// folder the test chooses, and a serial port wired to the in-process
// instrument with the wire time of every byte.

namespace orvane::test {

// Virtual time and the events due at given moments.
class Scheduler
{
public:
    double now() const { return m_now; }
    void schedule(double at, std::function<void()> action);
    // Runs every event due at or before now.
    void runDue();
    // Moves time forward to the next event (or to the limit when none is
    // earlier), then runs what is due. Returns true when an event ran.
    bool advanceUntil(double limit);
    bool hasPending() const { return !m_events.empty(); }

private:
    double m_now = 1000.0;
    uint64_t m_sequence = 0;
    std::multimap<std::pair<double, uint64_t>, std::function<void()>> m_events;
};

class FakeClock : public Clock
{
public:
    explicit FakeClock(Scheduler &scheduler)
        : m_scheduler(scheduler)
    {}
    double monotonicSeconds() override { return m_scheduler.now(); }
    LocalDateTime localDateTime() override { return local; }
    LocalDateTime local{2026, 7, 4, 14, 5, 9};

private:
    Scheduler &m_scheduler;
};

class FakePump : public EventPump
{
public:
    explicit FakePump(Scheduler &scheduler)
        : m_scheduler(scheduler)
    {}
    void processPendingEvents() override;
    void waitForEvents(double timeoutSeconds) override;
    int processCalls = 0;
    int waitCalls = 0;

private:
    Scheduler &m_scheduler;
};

struct DialogCall
{
    enum class Kind { Beep, Message, Input, OpenFile, SaveFile } kind;
    std::string text;
    std::string title;
    std::string defaultText;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Answers dialogs from queues; a dialog with no scripted answer is recorded
// as unexpected and answered No / Cancel.
class FakeDialogs : public UserDialogs
{
public:
    void beep() override;
    MessageAnswer messageBox(const std::string &text,
                             const std::string &title,
                             MessageIcon icon,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string &prompt,
                         const std::string &title,
                         const std::string &defaultText) override;
    std::string openFileName(const std::string &title, const std::string &filter) override;
    std::string saveFileName(const std::string &title, const std::string &filter) override;

    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::string> inputAnswers;
    std::deque<std::string> fileAnswers;
    // Runs when a dialog opens, before it is answered, for tests that act
    // while the dialog is up.
    std::function<void(const DialogCall &)> onDialog;

    std::vector<DialogCall> calls;
    int unexpected = 0;
    int beeps() const;
    std::vector<DialogCall> messages() const;
    std::vector<DialogCall> inputs() const;

private:
    void record(DialogCall call);
};

// A serial port whose far end is the in-process instrument. Bytes take the
// wire time of 115200 8N1 in each direction.
class FakeSerialPort : public SerialPort
{
public:
    static constexpr double kByteTime = 10.0 / 115200.0;

    FakeSerialPort(Scheduler &scheduler, sim::Instrument &instrument);

    Result<> open(int portNumber) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool writeByte(uint8_t byte) override;
    std::vector<uint8_t> readAll() override;
    void discardInput() override { m_input.clear(); }
    void setReceiveHandler(std::function<void()> handler) override
    {
        m_onReceive = std::move(handler);
    }
    void setErrorHandler(std::function<void(const std::string &)> handler) override
    {
        m_onError = std::move(handler);
    }
    std::string deviceForPort(int portNumber) override;
    std::vector<SerialDeviceInfo> availableDevices() override { return {}; }

    // Port numbers that fail to open, as a missing device would.
    std::vector<int> missingPorts;
    // Unplugs the cable: the port reports an error and stops carrying bytes.
    void pullCable();
    // Every byte the editor wrote, with the virtual time it was written.
    std::vector<std::pair<double, uint8_t>> written;
    int openCount = 0;

private:
    void deliver(const std::vector<uint8_t> &bytes, double firstAt);

    Scheduler &m_scheduler;
    sim::Instrument &m_instrument;
    bool m_open = false;
    bool m_unplugged = false;
    double m_outLineFree = 0;
    double m_inLineFree = 0;
    std::vector<uint8_t> m_input;
    std::function<void()> m_onReceive;
    std::function<void(const std::string &)> m_onError;
};

// One fake platform with all its parts.
class FakePlatform
{
public:
    FakePlatform();

    Scheduler scheduler;
    FakeClock clock{scheduler};
    FakePump pump{scheduler};
    FakeDialogs dialogs;
    FakeFileSystem files;
    sim::Instrument instrument;
    FakeSerialPort port{scheduler, instrument};
    FakeSettings settings;
    FakeProductionDatabase production{settings};

    Platform platform{clock, pump, dialogs, files, port, settings, production};
};

} // namespace orvane::test
