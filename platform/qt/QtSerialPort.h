#pragma once

#include "platform/Platform.h"

#include <QObject>

class QSerialPort;

namespace orvane {

class QtSerialPort : public QObject, public SerialPort
{
    Q_OBJECT
public:
    QtSerialPort();
    ~QtSerialPort() override;

    bool open(int portNumber, std::string *error) override;
    void close() override;
    bool isOpen() const override;
    bool writeByte(uint8_t byte) override;
    std::vector<uint8_t> readAll() override;
    void discardInput() override;
    void setReceiveHandler(std::function<void()> handler) override;
    void setErrorHandler(std::function<void(const std::string &)> handler) override;
    std::string deviceForPort(int portNumber) override;
    std::vector<SerialDeviceInfo> availableDevices() override;

private:
    void onError();

    QSerialPort *m_port;
    std::function<void()> m_onReceive;
    std::function<void(const std::string &)> m_onError;
};

} // namespace orvane
