#include "platform/qt/QtSerialPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>

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
        if (e != QSerialPort::NoError)
            onError();
    });
}

QtSerialPort::~QtSerialPort() = default;

std::string QtSerialPort::deviceForPort(int portNumber)
{
#ifdef Q_OS_WIN
    return "COM" + std::to_string(portNumber);
#else
    // A link named COMn beside the program picks the device; otherwise the
    // n-th standard serial port.
    const QString link = QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral("COM%1").arg(portNumber));
    const QFileInfo info(link);
    if (info.isSymLink() || info.exists())
        return info.canonicalFilePath().isEmpty() ? link.toStdString()
                                                  : info.canonicalFilePath().toStdString();
    return "/dev/ttyS" + std::to_string(portNumber - 1);
#endif
}

bool QtSerialPort::open(int portNumber, std::string *error)
{
    if (m_port->isOpen())
        m_port->close();
    m_port->setPortName(QString::fromStdString(deviceForPort(portNumber)));
    m_port->setBaudRate(kBaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->setReadBufferSize(kReceiveBufferSize);
    if (!m_port->open(QIODevice::ReadWrite)) {
        if (error)
            *error = m_port->errorString().toStdString();
        m_port->clearError();
        return false;
    }
    m_port->setRequestToSend(false);
    m_port->clear();
    return true;
}

void QtSerialPort::close()
{
    if (m_port->isOpen())
        m_port->close();
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
    // Push the byte to the driver now; the echo wait depends on it leaving.
    m_port->flush();
    return m_port->isOpen();
}

std::vector<uint8_t> QtSerialPort::readAll()
{
    const QByteArray bytes = m_port->readAll();
    return {bytes.begin(), bytes.end()};
}

void QtSerialPort::discardInput()
{
    if (m_port->isOpen()) {
        m_port->readAll();
        m_port->clear(QSerialPort::Input);
    }
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
    // Any failure during an exchange means the line is gone: a vanished
    // pseudo-terminal reports a read error, a pulled USB adapter a resource
    // error. Close so that later writes fail cleanly.
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

} // namespace orvane
