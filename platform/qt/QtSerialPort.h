#pragma once

#include "platform/Platform.h"

#include <QObject>
#include <QString>

class QSerialPort;

namespace orvane {

class QtSerialPort : public QObject, public SerialPort
{
    Q_OBJECT
public:
    QtSerialPort();
    ~QtSerialPort() override;

    Result<> open(int portNumber) override;
    void close() override;
    bool isOpen() const override;
    bool writeByte(uint8_t byte) override;
    std::vector<uint8_t> readAll() override;
    void discardInput() override;
    void setReceiveHandler(std::function<void()> handler) override;
    void setErrorHandler(std::function<void(const std::string &)> handler) override;
    // Windows: COMn. Elsewhere a symbolic link COMn in the link folder names
    // the device; without one, /dev/ttyS<n-1>. Empty for numbers below 1.
    std::string deviceForPort(int portNumber) override;
    std::vector<SerialDeviceInfo> availableDevices() override;

    // Where the COMn links are looked for: the program's folder unless set.
    void setLinkFolder(const QString &folder) { m_linkFolder = folder; }
    QString linkFolder() const;

    // One line per problem found with the device a port number reaches
    // (missing, not permitted, a slow USB adapter); none where nothing is known.
    std::vector<std::string> adviceForPort(int portNumber) override;

private:
    void onError();

    QSerialPort *m_port;
    QString m_linkFolder;
    // Errors of optional settings (RTS on a pseudo-terminal, a flush the
    // driver refuses) do not mean the line is gone.
    bool m_ignoreErrors = false;
    std::function<void()> m_onReceive;
    std::function<void(const std::string &)> m_onError;
};

} // namespace orvane
