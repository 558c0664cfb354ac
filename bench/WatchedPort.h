#pragma once

#include "platform/Platform.h"

#include <chrono>
#include <vector>

namespace orvane::bench {

// Passes everything to the real port and notes when bytes arrived, so that a
// fault which takes effect only later (echoes that stop after N more bytes)
// is timed from the moment the line went quiet, not from when it was set up.
class WatchedPort : public SerialPort
{
public:
    using Moment = std::chrono::steady_clock::time_point;

    explicit WatchedPort(SerialPort &port)
        : m_port(port)
    {}

    Result<> open(int portNumber) override { return m_port.open(portNumber); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    bool writeByte(uint8_t byte) override { return m_port.writeByte(byte); }
    std::vector<uint8_t> readAll() override
    {
        std::vector<uint8_t> bytes = m_port.readAll();
        if (!bytes.empty())
            m_arrivals.push_back(std::chrono::steady_clock::now());
        return bytes;
    }
    void discardInput() override { m_port.discardInput(); }
    void setReceiveHandler(std::function<void()> handler) override
    {
        m_port.setReceiveHandler(std::move(handler));
    }
    void setErrorHandler(std::function<void(const std::string &)> handler) override
    {
        m_port.setErrorHandler(std::move(handler));
    }
    std::string deviceForPort(int portNumber) override { return m_port.deviceForPort(portNumber); }
    std::vector<SerialDeviceInfo> availableDevices() override { return m_port.availableDevices(); }

    // The last arrival from `from` up to `until`, or `from` when none.
    Moment quietSince(Moment from, Moment until) const
    {
        Moment last = from;
        for (const Moment &m : m_arrivals)
            if (m >= from && m <= until)
                last = m;
        return last;
    }

private:
    SerialPort &m_port;
    std::vector<Moment> m_arrivals;
};

} // namespace orvane::bench
