#pragma once

#include "link/ByteLink.h"
#include "link/Connection.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orvane::test {

// A port whose far end is a function of each written byte, for far ends the
// virtual instrument cannot play (an answer to everything, a burst of 5000
// bytes). Bytes take the wire time of 115200 8N1.
class ScriptedPort : public SerialPort
{
public:
    explicit ScriptedPort(Scheduler &scheduler)
        : m_scheduler(scheduler)
    {}

    Result<> open(int) override
    {
        m_open = true;
        return {};
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool writeByte(uint8_t byte) override
    {
        if (!m_open)
            return false;
        written.emplace_back(m_scheduler.now(), byte);
        if (responder) {
            const double at = m_scheduler.now() + FakeSerialPort::kByteTime;
            const auto answer = responder(byte);
            if (!answer.empty())
                arrive(answer, at + answerDelay);
        }
        return true;
    }
    std::vector<uint8_t> readAll() override
    {
        std::vector<uint8_t> bytes;
        bytes.swap(m_input);
        return bytes;
    }
    void discardInput() override { m_input.clear(); }
    void setReceiveHandler(std::function<void()> handler) override
    {
        m_onReceive = std::move(handler);
    }
    void setErrorHandler(std::function<void(const std::string &)> handler) override
    {
        m_onError = std::move(handler);
    }
    std::string deviceForPort(int n) override { return "script://COM" + std::to_string(n); }
    std::vector<SerialDeviceInfo> availableDevices() override { return {}; }

    // Bytes that reach the port from `at` on, one wire time apart, handed
    // over in one receive event per byte.
    void arrive(const std::vector<uint8_t> &bytes, double at)
    {
        for (const uint8_t b : bytes) {
            at += FakeSerialPort::kByteTime;
            m_scheduler.schedule(at, [this, b] {
                m_input.push_back(b);
                if (m_onReceive)
                    m_onReceive();
            });
        }
    }
    // Bytes already waiting, handed over in one receive event.
    void arriveAtOnce(const std::vector<uint8_t> &bytes)
    {
        m_input.insert(m_input.end(), bytes.begin(), bytes.end());
        if (m_onReceive)
            m_onReceive();
    }
    // Bytes in the port's buffer whose receive event has not run yet.
    void waiting(const std::vector<uint8_t> &bytes)
    {
        m_input.insert(m_input.end(), bytes.begin(), bytes.end());
    }
    void fail(const std::string &reason)
    {
        m_open = false;
        if (m_onError)
            m_onError(reason);
    }

    std::function<std::vector<uint8_t>(uint8_t)> responder;
    double answerDelay = 0;
    std::vector<std::pair<double, uint8_t>> written;

private:
    Scheduler &m_scheduler;
    bool m_open = false;
    std::vector<uint8_t> m_input;
    std::function<void()> m_onReceive;
    std::function<void(const std::string &)> m_onError;
};

// Records what connecting shows, in order.
class RecordingView : public ConnectionView
{
public:
    void setCommsPortCaption(const std::string &text) override
    {
        commsPortCaption = text;
        log("lblCommsPort " + text);
    }
    void setConnectedCaption(const std::string &text) override
    {
        connectedCaption = text;
        log("lblConnected " + text);
    }
    void setSerialNumberCaption(const std::string &text) override
    {
        serialNumberCaption = text;
        log("lblOrvaneSN " + text);
    }
    void showConnecting(const std::string &caption) override
    {
        connectingShown = true;
        connectingCaption = caption;
        log("show frmShowConnecting");
    }
    void setConnectingCaption(const std::string &caption) override { connectingCaption = caption; }
    void hideConnecting() override
    {
        connectingShown = false;
        log("hide frmShowConnecting");
    }
    void showComms() override
    {
        commsShown = true;
        log("show frmComms");
        if (onShowComms)
            onShowComms();
    }
    void hideComms() override
    {
        commsShown = false;
        log("hide frmComms");
    }
    void selectCommsOption(int portNumber) override
    {
        selectedOption = portNumber;
        log("optComm " + std::to_string(portNumber));
    }
    void showIdentity(const std::string &serialNumber,
                      const std::string &softwareVersion,
                      const std::string &hardwareVersion) override
    {
        identity = {serialNumber, softwareVersion, hardwareVersion};
        log("identity");
    }
    void showChipVersions(const std::array<std::string, 4> &versions) override
    {
        chipVersions = versions;
    }
    void showProductCode(const std::string &text) override { productCode = text; }
    void showUploadCount(const std::string &text) override { uploadCount = text; }
    void hideProgress() override { log("hide frmProgress"); }

    bool contains(const std::string &event) const
    {
        return std::find(events.begin(), events.end(), event) != events.end();
    }

    std::vector<std::string> events;
    std::string commsPortCaption, connectedCaption, serialNumberCaption, connectingCaption;
    bool connectingShown = false;
    bool commsShown = false;
    int selectedOption = -1;
    std::array<std::string, 3> identity;
    std::array<std::string, 4> chipVersions;
    std::string productCode, uploadCount;
    std::function<void()> onShowComms;

private:
    void log(const std::string &e) { events.push_back(e); }
};

// The bytes written and the moments they were written, as a list of
// "byte@offset" checks against an expected script of bytes and pauses.
class WireScript
{
public:
    explicit WireScript(double start)
        : m_t(start)
    {}
    // Bytes sent with SendByte, 50 ms apart.
    WireScript &send(std::initializer_list<int> bytes)
    {
        for (const int b : bytes) {
            entries.emplace_back(m_t, uint8_t(b));
            m_t += ByteLink::kSendBytePause;
        }
        return *this;
    }
    WireScript &pause(double seconds)
    {
        m_t += seconds;
        return *this;
    }
    double end() const { return m_t; }
    std::vector<std::pair<double, uint8_t>> entries;

private:
    double m_t;
};

inline void expectWire(const std::vector<std::pair<double, uint8_t>> &actual,
                       const std::vector<std::pair<double, uint8_t>> &expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].second, expected[i].second) << "byte " << i;
        EXPECT_NEAR(actual[i].first, expected[i].first, 1e-9) << "time of byte " << i;
    }
}

} // namespace orvane::test
