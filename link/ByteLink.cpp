#include "link/ByteLink.h"

namespace orvane {

namespace {
constexpr std::string_view kWriteFailed = "The byte could not be written to the port.";
} // namespace

ByteLink::ByteLink(Platform &platform)
    : m_platform(platform)
{
    m_platform.port.setReceiveHandler([this] { MSComm1_OnComm(); });
    m_platform.port.setErrorHandler([this](const std::string &reason) { markLost(reason); });
}

ByteLink::~ByteLink()
{
    m_platform.port.setReceiveHandler({});
    m_platform.port.setErrorHandler({});
}

void ByteLink::setIdentityTexts(const std::string &text)
{
    m_linkState.SerialNumberText = text;
    m_linkState.SoftwareVersionText = text;
    m_linkState.HardwareVersionText = text;
}

void ByteLink::store(uint8_t byte)
{
    ReceiveState &rx = m_rx;
    // Past the end of the table every further byte overwrites the last slot.
    rx.RxSlot[size_t(rx.RxCount) + 1] = byte;
    if (rx.RxCount < ReceiveState::kMaxCount)
        ++rx.RxCount;
}

void ByteLink::MSComm1_OnComm()
{
    for (;;) {
        const std::vector<uint8_t> bytes = m_platform.port.readAll();
        if (bytes.empty())
            return;
        if (m_tap)
            m_tap->received(bytes, m_platform.clock.monotonicSeconds(), m_awaitingEcho);
        m_awaitingEcho = false;
        for (const uint8_t b : bytes)
            store(b);
    }
}

void ByteLink::Delay(double seconds)
{
    const double end = m_platform.clock.monotonicSeconds() + seconds;
    double now = m_platform.clock.monotonicSeconds();
    while (now < end && !m_lost) {
        m_platform.pump.waitForEvents(end - now);
        now = m_platform.clock.monotonicSeconds();
    }
}

void ByteLink::markLost(const std::string &reason)
{
    if (!m_lost)
        m_lostReason = reason.empty() ? std::string(kWriteFailed) : reason;
    m_lost = true;
    m_linkState.IsConnected = false;
    m_rx.CommTimedOut = true;
}

void ByteLink::requestStop(const std::string &reason)
{
    if (m_stopped || m_stopPending)
        return;
    m_stopReason = reason;
    m_stopPending = true;
    if (m_framesInFlight == 0)
        stopNow();
}

void ByteLink::stopNow()
{
    m_stopPending = false;
    // A port that failed first stays failed: there is no exchange to end.
    if (m_lost)
        return;
    m_stoppedConnected = m_linkState.IsConnected;
    markLost(m_stopReason);
    m_stopped = true;
}

ByteLink::FrameInFlight::~FrameInFlight()
{
    if (--m_link.m_framesInFlight == 0 && m_link.m_stopPending)
        m_link.stopNow();
}

bool ByteLink::resumeAfterStop()
{
    if (!m_stopped)
        return false;
    m_stopped = false;
    if (!m_platform.port.isOpen())
        return false;
    m_lost = false;
    m_lostReason.clear();
    m_rx.CommTimedOut = false;
    return m_stoppedConnected;
}

std::string ByteLink::lostSentence(const std::string &doing) const
{
    std::string reason = m_lostReason;
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return "The connection to the Orvane was lost while " + doing
           + (reason.empty() ? std::string(".") : " (" + reason + ").");
}

bool ByteLink::write(uint8_t byte)
{
    m_awaitingEcho = m_echoPending;
    m_echoPending = false;
    if (m_tap)
        m_tap->sent(byte, m_platform.clock.monotonicSeconds());
    return m_platform.port.writeByte(byte);
}

void ByteLink::SendByte(uint8_t byte)
{
    // Nothing goes out on a lost link, so there is nothing to wait for.
    if (m_lost)
        return;
    if (!write(byte)) {
        markLost(std::string(kWriteFailed));
        return;
    }
    Delay(kSendBytePause);
}

void ByteLink::waitForSlot1(int16_t marker, double deadline)
{
    ReceiveState &rx = m_rx;
    m_platform.pump.processPendingEvents();
    // Slot 1 is looked at after every wake, so the wait ends as soon as the
    // byte has been stored.
    while (rx.RxSlot[1] == marker && !m_lost) {
        const double now = m_platform.clock.monotonicSeconds();
        if (now >= deadline) {
            rx.CommTimedOut = true;
            return;
        }
        m_platform.pump.waitForEvents(deadline - now);
    }
}

void ByteLink::SendByteCheckEcho(uint8_t byte)
{
    ReceiveState &rx = m_rx;
    const auto marker = int16_t(-1 - int(byte));
    rx.RxSlot[1] = marker;
    if (m_lost)
        return;
    m_platform.port.discardInput();
    rx.RxCount = 0;
    m_echoPending = true;
    if (!write(byte)) {
        m_awaitingEcho = false;
        markLost(std::string(kWriteFailed));
        return;
    }
    waitForSlot1(marker, m_platform.clock.monotonicSeconds() + kEchoTimeout);
    m_awaitingEcho = false;
}

int16_t ByteLink::ReceiveByte()
{
    ReceiveState &rx = m_rx;
    constexpr int16_t marker = -1;
    rx.RxSlot[1] = marker;
    if (m_lost)
        return marker;
    m_platform.port.discardInput();
    rx.RxCount = 0;
    waitForSlot1(marker, m_platform.clock.monotonicSeconds() + kEchoTimeout);
    return rx.RxSlot[1];
}

bool ByteLink::waitForBytes(int count, double seconds)
{
    const double deadline = m_platform.clock.monotonicSeconds() + seconds;
    m_platform.pump.processPendingEvents();
    // Each arriving byte wakes the wait, so it ends with the last one.
    while (m_rx.RxCount < count && !m_lost) {
        const double now = m_platform.clock.monotonicSeconds();
        if (now >= deadline)
            return false;
        m_platform.pump.waitForEvents(deadline - now);
    }
    return m_rx.RxCount >= count;
}

void ByteLink::ResetReceive()
{
    m_rx.RxCount = 0;
    m_rx.RxSlot[1] = 0;
    if (!m_lost)
        m_platform.port.discardInput();
}

Result<> ByteLink::openPort(int portNumber)
{
    if (m_platform.port.isOpen())
        m_platform.port.close();
    m_lost = false;
    m_lostReason.clear();
    return m_platform.port.open(portNumber);
}

void ByteLink::closePort()
{
    if (m_platform.port.isOpen())
        m_platform.port.close();
}

bool ByteLink::isPortOpen() const
{
    return m_platform.port.isOpen();
}

} // namespace orvane
