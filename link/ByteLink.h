#pragma once

#include "link/LineUser.h"
#include "link/LinkState.h"
#include "link/ReceiveState.h"
#include "link/TrafficTap.h"
#include "platform/Check.h"
#include "platform/Platform.h"
#include "platform/Result.h"

#include <cstdint>
#include <string>

namespace orvane {

// The byte primitives every exchange with the instrument is built from. The
// port's receive event fills the receive table (`RxSlot`, `RxCount`); the code
// that sent a command looks at the slots after a fixed wait. Waits sleep in
// the event loop, so the windows stay live and a received byte is stored the
// moment it arrives.
//
// A port that fails (unplugged adapter, vanished pseudo-terminal, a write that
// does not go out) marks the link as lost: `IsConnected` and later writes stop,
// waits end at once, and `lost()` tells the running operation to end with a
// clear message instead of talking into the void.
//
// The link owns the receive table and the connection state. Others read them
// through the const views and change only what the setters below allow;
// Connection, which connects and identifies, writes the rest.
class ByteLink
{
public:
    static constexpr double kSendBytePause = 0.05;
    // How long a block write waits for the echo of one data byte.
    static constexpr double kEchoTimeout = 0.5;

    // Installs the receive and error handlers on the platform's port.
    explicit ByteLink(Platform &platform);
    ~ByteLink();
    ByteLink(const ByteLink &) = delete;
    ByteLink &operator=(const ByteLink &) = delete;

    // The port's receive event: stores every waiting byte in the receive table.
    void MSComm1_OnComm();

    // Waits the given time while handling events, or until the link is lost;
    // Delay(0) handles none.
    void Delay(double seconds);
    // Writes one byte, then Delay(kSendBytePause).
    void SendByte(uint8_t byte);
    // Writes one byte and waits until a byte arrives in slot 1 or the echo
    // timeout passes (then `CommTimedOut` is set and the marker, the bitwise
    // complement of the byte, stays in slot 1).
    void SendByteCheckEcho(uint8_t byte);
    // Waits for one byte without sending; -1 when none came in time.
    int16_t ReceiveByte();
    // Waits until `count` bytes have arrived since the last ResetReceive, the
    // time runs out or the link is lost; true when they all came.
    bool waitForBytes(int count, double seconds);
    // RxCount := 0, RxSlot(1) := 0, and the port's receive buffer is emptied.
    void ResetReceive();

    // Opens port number 1..16 (closing it first when open) and clears a lost
    // link. A failure carries the platform's reason.
    Result<> openPort(int portNumber);
    void closePort();
    bool isPortOpen() const;

    // The port failed since it was last opened.
    bool lost() const { return m_lost; }
    const std::string &lostReason() const { return m_lostReason; }
    // "The connection to the Orvane was lost while <doing> (<reason>)."
    std::string lostSentence(const std::string &doing) const;
    // Marks the link as lost, e.g. when the instrument stopped answering.
    void markLost(const std::string &reason);

    // A stop asked for from outside the exchange (the user pressed Ctrl+C).
    // It takes effect once no frame is in flight, so the unit is never left
    // half-way through a frame or the data of a block write; from then on the
    // exchange ends as on a lost link: waits end and nothing more is sent.
    void requestStop(const std::string &reason);
    // A stop has ended the exchange.
    bool stopped() const { return m_stopped; }
    // Gives the line back after a stop. True when the stopped exchange must
    // still be ended (the unit was connected and the port still works).
    bool resumeAfterStop();

    // Held while a frame and the data bytes that belong to it go out; a stop
    // waits for the last one to end.
    class FrameInFlight
    {
    public:
        explicit FrameInFlight(ByteLink &link)
            : m_link(link)
        {
            ++m_link.m_framesInFlight;
        }
        ~FrameInFlight();
        FrameInFlight(const FrameInFlight &) = delete;
        FrameInFlight &operator=(const FrameInFlight &) = delete;

    private:
        ByteLink &m_link;
    };

    int16_t rxSlot(int k) const
    {
        ORVANE_CHECK(k >= 0 && k < ReceiveState::kSlots, return 0);
        return m_rx.RxSlot[size_t(k)];
    }
    const ReceiveState &rx() const { return m_rx; }
    const LinkState &linkState() const { return m_linkState; }
    Platform &platform() { return m_platform; }

    // The port number read from a configuration file, or none at start-up.
    void setComPortNumber(uint8_t portNumber) { m_linkState.ComPortNumber = portNumber; }
    // Start-up and a command that failed clear it; Connection sets it when an
    // instrument answers.
    void setConnected(bool connected) { m_linkState.IsConnected = connected; }
    void setFactoryMode(bool on) { m_linkState.FactoryMode = on; }
    // Provisioning gives the instrument a new product code.
    void setProductCode(uint8_t code) { m_linkState.ProductCode = code; }
    void clearCommTimedOut() { m_rx.CommTimedOut = false; }
    // Serial number and versions before anything was identified ("Unknown").
    void setIdentityTexts(const std::string &text);
    // Holds the line for the lifetime of one exchange.
    [[nodiscard]] LineClaim claimLine(LineUser user) { return {m_linkState.lineUser, user}; }
    // For an exchange that holds the line across events of its own (the live
    // NMEA view); None frees it.
    void setLineUser(LineUser user) { m_linkState.lineUser = user; }

    // The traffic log while one is open; none (the default) costs nothing.
    void setTrafficTap(TrafficTap *tap) { m_tap = tap; }
    // The next byte written is one the instrument echoes (a presence probe);
    // the traffic log marks the first byte back as its echo.
    void expectEcho() { m_echoPending = true; }
    // Marks where a command frame begins and ends, for the traffic log.
    void frameBoundary()
    {
        if (m_tap)
            m_tap->frameBoundary();
    }

private:
    friend class Connection;
    LinkState &mutableLinkState() { return m_linkState; }
    ReceiveState &mutableRx() { return m_rx; }

    void waitForSlot1(int16_t marker, double deadline);
    void stopNow();
    void store(uint8_t byte);
    bool write(uint8_t byte);

    Platform &m_platform;
    ReceiveState m_rx;
    LinkState m_linkState;
    bool m_lost = false;
    std::string m_lostReason;
    int m_framesInFlight = 0;
    std::string m_stopReason; // a stop waits for the frame in flight
    bool m_stopPending = false;
    bool m_stopped = false;
    bool m_stoppedConnected = false; // the unit was in an exchange when it stopped
    TrafficTap *m_tap = nullptr;
    // The next byte written will be echoed; one was, and its echo has not
    // come yet (until the next write).
    bool m_echoPending = false;
    bool m_awaitingEcho = false;
};

} // namespace orvane
