#include "link/ui/frmComms.h"
#include "ui_frmComms.h"

#include "link/Connection.h"
#include "platform/Platform.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

namespace orvane {

namespace {

QString optionCaption(int n)
{
    return n == 0 ? QStringLiteral("None") : QStringLiteral("COM%1").arg(n);
}

QString deviceLine(const SerialDeviceInfo &d)
{
    QString line = QString::fromStdString(d.systemLocation);
    const QString description
        = QString::fromStdString(d.description.empty() ? d.manufacturer : d.description);
    if (!description.isEmpty())
        line += QStringLiteral(" - ") + description;
    if (d.vendorId && d.productId)
        line += QStringLiteral(" [%1:%2]")
                    .arg(*d.vendorId, 4, 16, QLatin1Char('0'))
                    .arg(*d.productId, 4, 16, QLatin1Char('0'));
    return line;
}

} // namespace

frmComms::frmComms(Connection &connection,
                   SerialPort &port,
                   Connection::IdentityStore storeIdentity,
                   AdviceFunction advice,
                   QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmComms>())
    , m_connection(connection)
    , m_port(port)
    , m_storeIdentity(std::move(storeIdentity))
    , m_advice(std::move(advice))
    , m_options(new QButtonGroup(this))
{
    m_ui->setupUi(this);
    for (int n = 0; n < kOptionCount; ++n) {
        auto *option = new QRadioButton(optionCaption(n), m_ui->fraPorts);
        option->setObjectName(QStringLiteral("optComm%1").arg(n));
        auto *device = new QLabel(m_ui->fraPorts);
        device->setObjectName(QStringLiteral("lblCommDevice%1").arg(n));
        device->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_options->addButton(option, n);
        m_deviceLabels.push_back(device);
        // Two columns of option and device: None..COM8, COM9..COM16.
        const int row = n <= 8 ? n : n - 8;
        const int column = n <= 8 ? 0 : 2;
        m_ui->gridPorts->addWidget(option, row, column);
        m_ui->gridPorts->addWidget(device, row, column + 1);
    }
    connect(m_ui->cmdCommsAccept, &QPushButton::clicked, this, &frmComms::cmdCommsAccept_Click);
    connect(m_ui->cmdCommsTest, &QPushButton::clicked, this, &frmComms::cmdCommsTest_Click);
    connect(m_options, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            showAdvice();
    });
}

frmComms::~frmComms() = default;

void frmComms::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        selectOption(m_connection.linkState().ComPortNumber);
    }
    refreshDevices();
    QDialog::showEvent(event);
}

void frmComms::selectOption(int portNumber)
{
    if (QAbstractButton *option = m_options->button(portNumber))
        option->setChecked(true);
}

int frmComms::selectedOption() const
{
    return m_options->checkedId() < 0 ? 0 : m_options->checkedId();
}

void frmComms::refreshDevices()
{
    for (int n = 1; n < kOptionCount; ++n)
        m_deviceLabels[size_t(n)]->setText(QString::fromStdString(m_port.deviceForPort(n)));
    m_ui->lstSerialDevices->clear();
    for (const SerialDeviceInfo &device : m_port.availableDevices())
        m_ui->lstSerialDevices->addItem(deviceLine(device));
    showAdvice();
}

void frmComms::showAdvice()
{
    QStringList lines;
    if (m_advice) {
        for (const std::string &line : m_advice(selectedOption()))
            lines << QString::fromStdString(line);
    }
    m_ui->lblPortAdvice->setText(lines.join(QLatin1Char('\n')));
    m_ui->lblPortAdvice->setVisible(!lines.isEmpty());
}

void frmComms::cmdCommsAccept_Click()
{
    m_connection.acceptCommsChoice(selectedOption());
}

void frmComms::cmdCommsTest_Click()
{
    const int n = selectedOption();
    m_ui->lblCommsTestResult->clear();
    // No second exchange while this one waits for the instrument.
    m_ui->cmdCommsTest->setEnabled(false);
    m_ui->cmdCommsAccept->setEnabled(false);
    const Result<std::string> found = m_connection.testPort(n, m_storeIdentity);
    m_ui->cmdCommsTest->setEnabled(true);
    m_ui->cmdCommsAccept->setEnabled(true);
    m_ui->lblCommsTestResult->setText(QString::fromStdString(found ? *found : found.error()));
    showAdvice();
}

void frmComms::reject()
{
    QDialog::reject();
    m_connection.commsDialogClosed();
}

} // namespace orvane
