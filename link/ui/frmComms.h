#pragma once

#include "link/Connection.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QButtonGroup;
class QLabel;
class QShowEvent;

namespace Ui {
class frmComms;
}

namespace orvane {

class SerialPort;

// "Orvane Communication Port": picks ComPortNumber. Shown without being
// modal by the port menu and by connecting when no port is chosen yet.
class frmComms : public QDialog
{
    Q_OBJECT
public:
    // One line per problem with the device a port number reaches.
    using AdviceFunction = std::function<std::vector<std::string>(int portNumber)>;

    // `storeIdentity` keeps what Test identified, as every connection does.
    frmComms(Connection &connection,
             SerialPort &port,
             Connection::IdentityStore storeIdentity,
             AdviceFunction advice = {},
             QWidget *parent = nullptr);
    ~frmComms() override;

    static constexpr int kOptionCount = 17; // optComm(0) "None", optComm(1..16)

    void selectOption(int portNumber);
    int selectedOption() const;
    // Re-reads the devices behind the port numbers and the system's list.
    void refreshDevices();

public slots:
    // The close box and Escape end here.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdCommsAccept_Click();
    void cmdCommsTest_Click();
    void showAdvice();

    std::unique_ptr<Ui::frmComms> m_ui;
    Connection &m_connection;
    SerialPort &m_port;
    Connection::IdentityStore m_storeIdentity;
    AdviceFunction m_advice;
    QButtonGroup *m_options;
    std::vector<QLabel *> m_deviceLabels;
    bool m_loaded = false;
};

} // namespace orvane
