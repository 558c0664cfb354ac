#include "platform/qt/QtSerialPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>

#ifdef Q_OS_LINUX
#include "platform/posix/SerialPortDoctor.h"
#endif

namespace orvane {

namespace {
constexpr qint32 kBaudRate = 115200;
constexpr qint64 kReceiveBufferSize = 4096;
} // namespace

QtSerialPort::QtSerialPort()
    : m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        if (m_onReceive)
            m_onReceive();
    });
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::NoError && !m_ignoreErrors)
            onError();
    });
}

QtSerialPort::~QtSerialPort() = default;

QString QtSerialPort::linkFolder() const
{
    return m_linkFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_linkFolder;
}

std::string QtSerialPort::deviceForPort(int portNumber)
{
    if (portNumber < 1)
        return {};
#ifdef Q_OS_WIN
    return "COM" + std::to_string(portNumber);
#else
    const QString link = QDir(linkFolder()).filePath(QStringLiteral("COM%1").arg(portNumber));
    const QFileInfo info(link);
    if (info.isSymLink() || info.exists()) {
        // A dangling link still names the port; opening it then fails clearly.
        const QString target = info.canonicalFilePath();
        return (target.isEmpty() ? link : target).toStdString();
    }
    return "/dev/ttyS" + std::to_string(portNumber - 1);
#endif
}

Result<> QtSerialPort::open(int portNumber)
{
    close();
    const std::string device = deviceForPort(portNumber);
    if (device.empty())
        return failure("No port number " + std::to_string(portNumber));
    m_port->setPortName(QString::fromStdString(device));
    m_port->setBaudRate(kBaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->setReadBufferSize(kReceiveBufferSize);
    m_ignoreErrors = true;
    const bool opened = m_port->open(QIODevice::ReadWrite);
    if (!opened) {
        std::string reason = m_port->errorString().toStdString();
        m_port->clearError();
        m_ignoreErrors = false;
        return failure(std::move(reason));
    }
    // A pseudo-terminal has no modem lines and refuses this; that is fine.
    m_port->setRequestToSend(false);
#ifdef Q_OS_LINUX
    requestLowLatency(int(m_port->handle()));
#endif
    m_port->clear();
    m_port->clearError();
    m_ignoreErrors = false;
    return {};
}

void QtSerialPort::close()
{
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

bool QtSerialPort::isOpen() const
{
    return m_port->isOpen();
}

bool QtSerialPort::writeByte(uint8_t byte)
{
    if (!m_port->isOpen())
        return false;
    const char c = char(byte);
    if (m_port->write(&c, 1) != 1)
        return false;
    // Hand the byte to the driver now; the echo wait depends on it leaving.
    m_port->flush();
    return m_port->isOpen();
}

std::vector<uint8_t> QtSerialPort::readAll()
{
    if (!m_port->isOpen())
        return {};
    const QByteArray bytes = m_port->readAll();
    return {bytes.begin(), bytes.end()};
}

void QtSerialPort::discardInput()
{
    if (!m_port->isOpen())
        return;
    m_port->readAll();
    m_ignoreErrors = true;
    m_port->clear(QSerialPort::Input);
    m_port->clearError();
    m_ignoreErrors = false;
}

void QtSerialPort::setReceiveHandler(std::function<void()> handler)
{
    m_onReceive = std::move(handler);
}

void QtSerialPort::setErrorHandler(std::function<void(const std::string &)> handler)
{
    m_onError = std::move(handler);
}

void QtSerialPort::onError()
{
    // Any failure while the port is open means the line is gone: a vanished
    // pseudo-terminal reports a read error, a pulled USB adapter a resource
    // error. Close, so that later writes fail cleanly instead of piling up.
    if (!m_port->isOpen())
        return;
    const std::string reason = m_port->errorString().toStdString();
    m_port->clearError();
    m_port->close();
    if (m_onError)
        m_onError(reason);
}

std::vector<SerialDeviceInfo> QtSerialPort::availableDevices()
{
    std::vector<SerialDeviceInfo> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo d;
        d.systemLocation = info.systemLocation().toStdString();
        d.description = info.description().toStdString();
        d.manufacturer = info.manufacturer().toStdString();
        if (info.hasVendorIdentifier())
            d.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            d.productId = info.productIdentifier();
        devices.push_back(d);
    }
    return devices;
}

std::vector<std::string> QtSerialPort::adviceForPort(int portNumber)
{
#ifdef Q_OS_LINUX
    return serialPortAdvice(deviceForPort(portNumber));
#else
    (void)portNumber;
    return {};
#endif
}

} // namespace orvane
