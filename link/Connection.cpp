#include "link/Connection.h"

#include "config/NumberText.h"
#include "link/Commands.h"
#include "link/LineUser.h"
#include "link/Resynchronisation.h"

#include <optional>

namespace orvane {

namespace {

constexpr const char *kCrLf = "\r\n";
constexpr const char *kPortErrorTitle = "Communications Error";
constexpr const char *kRetryTitle = "Can't find Orvane";
constexpr const char *kLostLinkTitle = "Communications Error";
constexpr uint8_t kQuickProbeAnswer = 4;
constexpr int16_t kBlankIdentityByte = 255;
constexpr int16_t kErasedIdentityByte = 254;
constexpr int kUnknownCounterHigh = 254; // 254 or 255: never written

// The port number typed into the error box: a whole number 1..16 (a decimal
// answer is rounded, halves to even); anything else asks again.
std::optional<int> portNumberFromAnswer(const std::string &answer)
{
    const ScannedNumber scanned = scanNumber(answer);
    if (!scanned.found)
        return std::nullopt;
    const double rounded = roundHalfEven(scanned.value);
    if (rounded < 1 || rounded > Connection::kHighestPortNumber)
        return std::nullopt;
    return int(rounded);
}

std::string slotText(int16_t slot)
{
    return displayNumber(static_cast<long long>(slot));
}

} // namespace

std::string portErrorPrompt(int portNumber)
{
    const std::string number = displayNumber(static_cast<long long>(portNumber));
    return std::string("Error encountered while trying to open COM")
           + number.substr(number.size() >= 2 ? number.size() - 2 : 0) + "." + kCrLf
           + "Please check data and power connections." + kCrLf + kCrLf
           + "Enter a new COM port number or click Cancel.";
}

long long serialNumberFromBytes(std::array<int, 4> b)
{
    const auto all = [&b](int v) {
        return b[0] == v && b[1] == v && b[2] == v && b[3] == v;
    };
    if (all(kErasedIdentityByte))
        b = {0, 0, 0, 0};
    if (all(kBlankIdentityByte))
        b = {0, 0, 0, 0};
    const double serial = b[0] * 10000000.0 + b[1] * 100000.0 + b[2] * 1000.0 + b[3];
    return static_cast<long long>(roundHalfEven(serial));
}

Connection::Connection(Platform &platform, ByteLink &link, ConnectionView &view)
    : m_platform(platform)
    , m_link(link)
    , m_view(view)
{}

std::string Connection::portText() const
{
    return displayNumber(static_cast<long long>(state().ComPortNumber));
}

std::string Connection::lostLinkMessage() const
{
    std::string text = "Lost the connection to Orvane on COM" + portText() + ".";
    if (!m_link.lostReason().empty())
        text += kCrLf + m_link.lostReason();
    return text;
}

bool Connection::waitForPortChoice()
{
    m_commsDone = false;
    m_view.showComms();
    while (!m_commsDone)
        m_platform.pump.waitForEvents(kChoiceWaitSlice);
    return state().ComPortNumber != 0;
}

void Connection::OrvaneComPort()
{
    // The port in use stays set while the dialog is open, so a save meanwhile
    // keeps it; Accept sets the new number, the close box keeps the old one.
    waitForPortChoice();
    m_view.hideComms();
}

void Connection::acceptCommsChoice(int portNumber)
{
    state().ComPortNumber = uint8_t(portNumber);
    m_view.hideComms();
    m_view.setCommsPortCaption("COM Port = " + portText());
    state().IsConnected = false;
    m_commsDone = true;
}

void Connection::commsDialogClosed()
{
    m_commsDone = true;
}

Result<std::string> Connection::testPort(int portNumber, const IdentityStore &store)
{
    LinkState &link = state();
    if (portNumber < 1 || portNumber > kHighestPortNumber)
        return failure("Choose a COM port to test.");
    if (link.lineUser != LineUser::None)
        return failure(lineBusyMessage(link.lineUser));
    const LineClaim claim = m_link.claimLine(LineUser::PortTest);

    const uint8_t chosen = link.ComPortNumber;
    link.ComPortNumber = uint8_t(portNumber);
    link.IsConnected = false;
    const ConnectOutcome outcome = ConnectToTessaro();
    if (outcome.identity && store)
        store(*outcome.identity);
    // The "Communications Error" box may have moved the test to another port.
    const std::string tested = "COM" + portText();
    if (outcome.connected)
        endExchange(CommandCode::SoftReset);
    const bool lost = m_link.lost();
    const bool moved = link.ComPortNumber != portNumber;
    link.ComPortNumber = chosen;
    if (moved)
        m_view.setCommsPortCaption("COM Port = " + portText());

    if (lost)
        return failure(m_link.lostReason().empty() ? "The connection to " + tested + " was lost."
                                                   : m_link.lostReason());
    const auto trimmed = [](const std::string &number) {
        const size_t first = number.find_first_not_of(' ');
        return first == std::string::npos ? std::string() : number.substr(first);
    };
    switch (outcome.end) {
    case ConnectEnd::Connected:
        return "Orvane found on " + tested + ": serial number " + trimmed(link.SerialNumberText)
               + ", software version " + trimmed(link.SoftwareVersionText) + ", hardware version "
               + trimmed(link.HardwareVersionText) + ".";
    case ConnectEnd::NoPort:
    case ConnectEnd::PortNotOpened:
        return failure(tested
                       + " could not be opened. Check that the adapter is plugged in and "
                         "that no other program uses it.");
    case ConnectEnd::Refused:
        return failure("The instrument on " + tested + " is not an Orvane (product code"
                       + displayNumber(static_cast<long long>(link.ProductCode)) + ").");
    case ConnectEnd::NoAnswer:
    case ConnectEnd::LinkLost:
        break;
    }
    return failure("No Orvane answered on " + tested
                   + ". Check the cable and the instrument's power.");
}

bool Connection::OpenPort()
{
    for (;;) {
        bool open = m_link.openPort(state().ComPortNumber).ok();
        if (open) {
            m_link.Delay(kPortSettlePause);
            open = !m_link.lost() && m_link.isPortOpen();
        }
        if (open)
            return true;
        m_link.closePort();

        std::optional<int> chosen;
        while (!chosen) {
            const std::string answer
                = m_platform.dialogs.inputBox(portErrorPrompt(state().ComPortNumber),
                                              kPortErrorTitle,
                                              "0");
            if (answer.empty())
                return false;
            chosen = portNumberFromAnswer(answer);
            if (!chosen)
                m_platform.dialogs.beep();
        }
        state().ComPortNumber = uint8_t(*chosen);
        m_view.selectCommsOption(*chosen);
        m_view.setCommsPortCaption("COM Port = " + portText());
    }
}

bool Connection::askRetry()
{
    const std::string text = "Can't connect to Orvane on COM " + portText() + "." + kCrLf
                             + "Do you want to try again?";
    return m_platform.dialogs.messageBox(text,
                                         kRetryTitle,
                                         MessageIcon::Question,
                                         MessageButtons::YesNo)
           == MessageAnswer::Yes;
}

bool Connection::failLost()
{
    m_lastEnd = ConnectEnd::LinkLost;
    state().IsConnected = false;
    m_view.hideConnecting();
    m_view.setConnectedCaption(kNotConnectedText);
    m_platform.dialogs.messageBox(lostLinkMessage(),
                                  kLostLinkTitle,
                                  MessageIcon::Warning,
                                  MessageButtons::Ok);
    return false;
}

void Connection::refuse()
{
    m_lastEnd = ConnectEnd::Refused;
    state().IsConnected = false;
    m_link.Delay(kRefusalPause);
    sendEndOfExchange(m_link, CommandCode::Disconnect);
    m_view.setConnectedCaption(kNotConnectedText);
    m_view.hideProgress();
    m_link.mutableRx().CommTimedOut = true;
}

void Connection::endExchange(CommandCode code)
{
    sendEndOfExchange(m_link, code);
    state().IsConnected = false;
    m_view.setConnectedCaption(kNotConnectedText);
}

ConnectOutcome Connection::ConnectToTessaro()
{
    m_identity.reset();
    const bool connected = connect();
    return {m_lastEnd, connected, m_identity};
}

bool Connection::connect()
{
    LinkState &link = state();

    m_lastEnd = ConnectEnd::NoPort;
    if (link.ComPortNumber == 0 && !waitForPortChoice())
        return false;
    m_lastEnd = ConnectEnd::PortNotOpened;
    if (!OpenPort()) {
        link.IsConnected = false;
        return false;
    }
    m_lastEnd = ConnectEnd::NoAnswer;

    // Quick probe: an instrument already in command mode answers 4 and needs
    // neither the presence probes nor the resynchronisation.
    m_link.ResetReceive();
    sendFrame(m_link, quickProbeFrame());
    m_link.Delay(kConnectReadPause);
    if (m_link.lost())
        return failLost();
    // An instrument in command mode counts as resynchronised.
    bool resyncDone = false;
    if (m_link.rxSlot(1) == kQuickProbeAnswer) {
        link.IsConnected = true;
        resyncDone = true;
    }
    // Something answered, though not in command mode: if the presence probes
    // then go unanswered, it may be a unit left out of step by a cut
    // exchange. So may a unit that the user says is there (Yes to retry).
    bool mayBeOutOfStep = m_link.rx().RxCount > 0;
    // Bringing a unit back into step is tried once per round of probes, so
    // a line that echoes everything still ends in the retry question.
    bool recoveryTried = false;
    const auto recover = [&] {
        if (recoveryTried)
            return false;
        recoveryTried = true;
        return bringBackIntoStep(m_link);
    };

    const std::string captionStart = "Attempting to connect to Orvane on COM " + portText() + " .";
    std::string caption;
    bool freshAttempt = true;
    int tries = 0;
    for (;;) {
        bool resynchronised = resyncDone;
        if (!resyncDone) {
            if (freshAttempt) {
                caption = captionStart;
                m_view.showConnecting(caption);
                tries = 0;
                freshAttempt = false;
            }
            while (!link.IsConnected) {
                caption += " .";
                m_view.setConnectingCaption(caption);
                if (++tries > kMaxProbeTries) {
                    if (mayBeOutOfStep && recover()) {
                        link.IsConnected = resyncDone = true;
                        break;
                    }
                    if (m_link.lost())
                        return failLost();
                    m_platform.dialogs.beep();
                    m_view.hideConnecting();
                    if (!askRetry())
                        return false; // the port stays open
                    caption = captionStart;
                    m_view.showConnecting(caption);
                    tries = 0;
                    mayBeOutOfStep = true;
                    recoveryTried = false;
                    continue;
                }
                m_link.ResetReceive();
                m_link.expectEcho();
                m_link.SendByte(kPresenceProbe);
                m_platform.pump.processPendingEvents();
                m_link.Delay(kConnectReadPause);
                if (m_link.lost())
                    return failLost();
                if (m_link.rxSlot(1) == kPresenceProbe)
                    link.IsConnected = true;
            }

            // A unit that echoes the "#" is still storing a block write.
            resynchronised = resyncDone || resynchronise(m_link) || recover();
            if (m_link.lost())
                return failLost();
        }
        resyncDone = false;

        if (!resynchronised) {
            // Back to the presence probes. The failed pass counts as a try, so
            // an instrument that answers "=" but never "@" still leads to the
            // retry question instead of probing for ever.
            link.IsConnected = false;
            continue;
        }

        m_link.ResetReceive();
        sendFrame(m_link, versionsFrame());
        m_link.Delay(kConnectReadPause);
        if (m_link.lost())
            return failLost();
        link.SoftwareVersionText = slotText(m_link.rxSlot(1));
        link.HardwareVersionText = slotText(m_link.rxSlot(2));
        for (int i = 0; i < 4; ++i)
            link.ChipVersionText[size_t(i)] = slotText(m_link.rxSlot(3 + i));
        m_view.showChipVersions(link.ChipVersionText);

        m_link.ResetReceive();
        sendFrame(m_link, memoryFrame(CommandCode::ReadEeprom, 1, kProductCodeAddress));
        m_link.Delay(kConnectReadPause);
        if (m_link.lost())
            return failLost();
        link.ProductCode = uint8_t(m_link.rxSlot(1) & 0xFF);
        m_view.showProductCode(displayNumber(static_cast<long long>(link.ProductCode)));

        if (link.ProductCode == kRefusedProductCode && !link.FactoryMode) {
            m_view.hideConnecting();
            m_platform.dialogs.beep();
            if (askRetry()) {
                // The link is still up: the probes are skipped and the
                // resynchronisation and identification run again.
                freshAttempt = true;
                continue;
            }
            refuse();
            return false;
        }
        break;
    }

    m_view.hideConnecting();
    m_view.setConnectedCaption(kConnectedText);
    identify();
    if (m_link.lost())
        return failLost();
    m_lastEnd = ConnectEnd::Connected;
    return link.IsConnected;
}

void Connection::identify()
{
    LinkState &link = state();

    sendExchangeMark(m_link, kExchangeBegins);

    m_link.ResetReceive();
    sendFrame(m_link, identityFrame());
    m_link.Delay(kConnectReadPause);
    if (m_link.lost())
        return;
    std::array<int, 4> serial{};
    for (int i = 0; i < 4; ++i)
        serial[size_t(i)] = m_link.rxSlot(1 + i);
    link.SerialNumberText = displayNumber(serialNumberFromBytes(serial));
    link.SoftwareVersionText = slotText(m_link.rxSlot(5));
    link.HardwareVersionText = slotText(m_link.rxSlot(6));

    m_link.ResetReceive();
    sendFrame(m_link, memoryFrame(CommandCode::ReadInternalNvm, 1, kFirmwareVersionAddress));
    m_link.Delay(kConnectNvmPause);
    if (m_link.lost())
        return;
    if (m_link.rxSlot(1) < 255)
        link.SoftwareVersionText = slotText(m_link.rxSlot(1));

    m_view.setSerialNumberCaption(" Orvane SN#: " + link.SerialNumberText);
    m_view.showIdentity(link.SerialNumberText, link.SoftwareVersionText, link.HardwareVersionText);

    m_link.clearCommTimedOut();
    m_link.ResetReceive();
    sendFrame(m_link, memoryFrame(CommandCode::ReadInternalNvm, 2, kUploadCounterAddress));
    m_link.Delay(kConnectNvmPause);
    if (m_link.lost())
        return;
    std::array<uint8_t, 2> counter
        = {uint8_t(m_link.rxSlot(1) & 0xFF), uint8_t(m_link.rxSlot(2) & 0xFF)};
    // A counter never written reads as one upload.
    if (counter[0] >= kUnknownCounterHigh)
        counter = {0, 1};
    link.NewConfigCount = uint16_t(counter[0] << 8 | counter[1]);
    m_view.showUploadCount(displayNumber(static_cast<long long>(link.NewConfigCount)));

    m_identity = Identity{link.SerialNumberText,
                          link.SoftwareVersionText,
                          link.HardwareVersionText,
                          link.ChipVersionText,
                          link.ProductCode,
                          counter};
}

ConnectionLamp connectionLamp(bool isConnected)
{
    if (isConnected)
        return {{0, 255, 0}, kConnectedText};
    return {{255, 0, 0}, kNotConnectedText};
}

} // namespace orvane
