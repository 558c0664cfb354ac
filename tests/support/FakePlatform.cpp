#include "support/FakePlatform.h"

#include <algorithm>

namespace orvane::test {

void Scheduler::schedule(double at, std::function<void()> action)
{
    m_events.emplace(std::make_pair(std::max(at, m_now), m_sequence++), std::move(action));
}

void Scheduler::runDue()
{
    while (!m_events.empty() && m_events.begin()->first.first <= m_now) {
        auto action = std::move(m_events.begin()->second);
        m_events.erase(m_events.begin());
        action();
    }
}

bool Scheduler::advanceUntil(double limit)
{
    if (!m_events.empty() && m_events.begin()->first.first <= limit) {
        m_now = std::max(m_now, m_events.begin()->first.first);
        runDue();
        return true;
    }
    m_now = std::max(m_now, limit);
    return false;
}

void FakePump::processPendingEvents()
{
    ++processCalls;
    m_scheduler.runDue();
}

void FakePump::waitForEvents(double timeoutSeconds)
{
    ++waitCalls;
    m_scheduler.advanceUntil(m_scheduler.now() + std::max(0.0, timeoutSeconds));
}

void FakeDialogs::record(DialogCall call)
{
    calls.push_back(call);
    if (onDialog)
        onDialog(calls.back());
}

void FakeDialogs::beep()
{
    record({DialogCall::Kind::Beep, {}, {}, {}, MessageIcon::None, MessageButtons::Ok});
}

MessageAnswer FakeDialogs::messageBox(const std::string &text,
                                      const std::string &title,
                                      MessageIcon icon,
                                      MessageButtons buttons)
{
    record({DialogCall::Kind::Message, text, title, {}, icon, buttons});
    if (messageAnswers.empty()) {
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        ++unexpected;
        return MessageAnswer::No;
    }
    const MessageAnswer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::string FakeDialogs::inputBox(const std::string &prompt,
                                  const std::string &title,
                                  const std::string &defaultText)
{
    record({DialogCall::Kind::Input,
            prompt,
            title,
            defaultText,
            MessageIcon::None,
            MessageButtons::Ok});
    if (inputAnswers.empty()) {
        ++unexpected;
        return {};
    }
    std::string answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::string FakeDialogs::openFileName(const std::string &title, const std::string &filter)
{
    record({DialogCall::Kind::OpenFile, filter, title, {}, MessageIcon::None, MessageButtons::Ok});
    if (fileAnswers.empty()) {
        ++unexpected;
        return {};
    }
    std::string answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::string FakeDialogs::saveFileName(const std::string &title, const std::string &filter)
{
    record({DialogCall::Kind::SaveFile, filter, title, {}, MessageIcon::None, MessageButtons::Ok});
    if (fileAnswers.empty()) {
        ++unexpected;
        return {};
    }
    std::string answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

int FakeDialogs::beeps() const
{
    return int(std::count_if(calls.begin(), calls.end(), [](const DialogCall &c) {
        return c.kind == DialogCall::Kind::Beep;
    }));
}

std::vector<DialogCall> FakeDialogs::messages() const
{
    std::vector<DialogCall> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result), [](const DialogCall &c) {
        return c.kind == DialogCall::Kind::Message;
    });
    return result;
}

std::vector<DialogCall> FakeDialogs::inputs() const
{
    std::vector<DialogCall> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result), [](const DialogCall &c) {
        return c.kind == DialogCall::Kind::Input;
    });
    return result;
}

FakeSerialPort::FakeSerialPort(Scheduler &scheduler, sim::Instrument &instrument)
    : m_scheduler(scheduler)
    , m_instrument(instrument)
{}

Result<> FakeSerialPort::open(int portNumber)
{
    const bool missing
        = portNumber < 1 || portNumber > 16
          || std::find(missingPorts.begin(), missingPorts.end(), portNumber) != missingPorts.end();
    if (missing || m_unplugged)
        return failure("No such device");
    m_open = true;
    ++openCount;
    m_input.clear();
    return {};
}

void FakeSerialPort::close()
{
    m_open = false;
    m_input.clear();
}

bool FakeSerialPort::writeByte(uint8_t byte)
{
    if (!m_open || m_unplugged)
        return false;
    const double now = m_scheduler.now();
    written.emplace_back(now, byte);
    const double arrives = std::max(now, m_outLineFree) + kByteTime;
    m_outLineFree = arrives;
    m_scheduler.schedule(arrives, [this, byte, arrives] {
        if (m_unplugged)
            return;
        const sim::Answer answer = m_instrument.feed(byte);
        if (!answer.bytes.empty())
            deliver(answer.bytes, arrives + answer.delaySeconds);
    });
    return true;
}

void FakeSerialPort::deliver(const std::vector<uint8_t> &bytes, double firstAt)
{
    double at = std::max(firstAt, m_inLineFree);
    for (const uint8_t b : bytes) {
        at += kByteTime;
        m_scheduler.schedule(at, [this, b] {
            if (!m_open || m_unplugged)
                return;
            m_input.push_back(b);
            if (m_onReceive)
                m_onReceive();
        });
    }
    m_inLineFree = at;
}

std::vector<uint8_t> FakeSerialPort::readAll()
{
    std::vector<uint8_t> bytes;
    bytes.swap(m_input);
    return bytes;
}

std::string FakeSerialPort::deviceForPort(int portNumber)
{
    return "fake://COM" + std::to_string(portNumber);
}

void FakeSerialPort::pullCable()
{
    m_unplugged = true;
    if (m_open && m_onError)
        m_scheduler.schedule(m_scheduler.now(), [this] {
            if (m_onError)
                m_onError("The device was removed");
        });
}

FakePlatform::FakePlatform() = default;

} // namespace orvane::test
