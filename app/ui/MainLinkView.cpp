#include "app/ui/MainLinkView.h"

#include "app/ui/frmMain.h"
#include "factory/ui/frmHalvero.h"
#include "link/ui/frmComms.h"
#include "link/ui/frmShowConnecting.h"
#include "transfer/Identification.h"

#include <QLabel>

namespace orvane {

namespace {
QString text(const std::string &s)
{
    return QString::fromStdString(s);
}
} // namespace

MainLinkView::MainLinkView(frmMain &window,
                           const Indicators &indicators,
                           AppState &state,
                           Platform &platform)
    : m_window(window)
    , m_indicators(indicators)
    , m_link(platform)
    , m_connection(platform, m_link, *this)
    , m_comms(std::make_unique<frmComms>(
          m_connection,
          platform.port,
          [&image = state.document.image](const Identity &identity) {
              storeIdentity(image, identity);
          },
          [&port = platform.port](int n) { return port.adviceForPort(n); },
          &window))
    , m_connecting(std::make_unique<frmShowConnecting>(&window))
{}

MainLinkView::~MainLinkView() = default;

void MainLinkView::showLamp()
{
    const ConnectionLamp lamp = connectionLamp(m_link.linkState().IsConnected);
    m_indicators.lamp->setStyleSheet(
        QStringLiteral(
            "background-color: rgb(%1, %2, %3); border-radius: 8px; border: 1px solid #444;")
            .arg(lamp.colour.red)
            .arg(lamp.colour.green)
            .arg(lamp.colour.blue));
    // A running exchange writes its own captions ("Updating Firmware - WAIT!").
    if (m_link.linkState().lineUser == LineUser::None)
        m_indicators.connected->setText(text(lamp.caption));
}

void MainLinkView::setCommsPortCaption(const std::string &caption)
{
    m_indicators.commsPort->setText(text(caption));
}

void MainLinkView::setConnectedCaption(const std::string &caption)
{
    m_indicators.connected->setText(text(caption));
}

void MainLinkView::setSerialNumberCaption(const std::string &caption)
{
    m_indicators.serialNumber->setText(text(caption));
}

void MainLinkView::showConnecting(const std::string &caption)
{
    m_connecting->setCaption(caption);
    m_connecting->show();
}

void MainLinkView::setConnectingCaption(const std::string &caption)
{
    m_connecting->setCaption(caption);
}

void MainLinkView::hideConnecting()
{
    m_connecting->hide();
}

void MainLinkView::showComms()
{
    m_comms->show();
    m_comms->raise();
}

void MainLinkView::hideComms()
{
    m_comms->hide();
}

void MainLinkView::selectCommsOption(int portNumber)
{
    m_comms->selectOption(portNumber);
}

void MainLinkView::showIdentity(const std::string &serialNumber,
                                const std::string &softwareVersion,
                                const std::string &hardwareVersion)
{
    // The About dialog copies the values each time it opens, so only the
    // factory window needs them now.
    m_window.factoryWindow()->showIdentity(serialNumber, softwareVersion, hardwareVersion);
}

void MainLinkView::showChipVersions(const std::array<std::string, 4> &versions)
{
    m_window.factoryWindow()->showChipVersions(versions);
}

void MainLinkView::showProductCode(const std::string &code)
{
    m_window.factoryWindow()->showProductCode(code);
}

void MainLinkView::showUploadCount(const std::string &count)
{
    m_window.factoryWindow()->showUploadCount(count);
}

void MainLinkView::hideProgress()
{
    if (m_hideProgress)
        m_hideProgress();
}

} // namespace orvane
