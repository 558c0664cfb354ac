#pragma once

#include "app/AppState.h"
#include "link/ByteLink.h"
#include "link/Connection.h"

#include <functional>
#include <memory>

class QLabel;
class QWidget;

namespace orvane {

class frmComms;
class frmMain;
class frmShowConnecting;

// The main window's side of the instrument link: owns the byte link, the
// connection and their two windows, and shows what connecting tells it.
class MainLinkView : public ConnectionView
{
public:
    // The main window's controls that show the connection.
    struct Indicators
    {
        QWidget *lamp = nullptr; // shpCommsConnected
        QLabel *connected = nullptr;
        QLabel *commsPort = nullptr;
        QLabel *serialNumber = nullptr;
    };

    MainLinkView(frmMain &window,
                 const Indicators &indicators,
                 AppState &state,
                 Platform &platform);
    ~MainLinkView() override;

    ByteLink &link() { return m_link; }
    Connection &connection() { return m_connection; }
    frmComms &commsWindow() { return *m_comms; }
    frmShowConnecting &connectingWindow() { return *m_connecting; }

    // Hides the progress window of the transfers; set by whoever owns it.
    void setHideProgress(std::function<void()> hide) { m_hideProgress = std::move(hide); }

    // Timer1: the connection lamp and caption.
    void showLamp();

    void setCommsPortCaption(const std::string &text) override;
    void setConnectedCaption(const std::string &text) override;
    void setSerialNumberCaption(const std::string &text) override;
    void showConnecting(const std::string &caption) override;
    void setConnectingCaption(const std::string &caption) override;
    void hideConnecting() override;
    void showComms() override;
    void hideComms() override;
    void selectCommsOption(int portNumber) override;
    void showIdentity(const std::string &serialNumber,
                      const std::string &softwareVersion,
                      const std::string &hardwareVersion) override;
    void showChipVersions(const std::array<std::string, 4> &versions) override;
    void showProductCode(const std::string &text) override;
    void showUploadCount(const std::string &text) override;
    void hideProgress() override;

private:
    frmMain &m_window;
    Indicators m_indicators;
    ByteLink m_link;
    Connection m_connection;
    std::unique_ptr<frmComms> m_comms;
    std::unique_ptr<frmShowConnecting> m_connecting;
    std::function<void()> m_hideProgress;
};

} // namespace orvane
