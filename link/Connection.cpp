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
constexpr uint8_t kQuickProbeAnswer = 4;
constexpr int16_t kBlankIdentityByte = 255;
constexpr int16_t kErasedIdentityByte = 254;
constexpr int kUnknownCounterHigh = 254; // 254 or 255: never written
constexpr uint8_t kUnwrittenByte = 255;

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

std::string byteText(uint8_t byte)
{
    return displayNumber(static_cast<long long>(byte));
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
    , m_exchange(link)
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
                                  kExchangeFailedTitle,
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
    if (!openChosenPort())
        return false;
    m_lastEnd = ConnectEnd::NoAnswer;
    Attempt attempt;
    const std::optional<bool> inCommandMode = quickProbe(attempt);
    if (!inCommandMode)
        return failLost();
    // An instrument in command mode counts as resynchronised.
    bool inStep = *inCommandMode;
    for (;;) {
        if (!inStep) {
            const Search search = findInStep(attempt);
            if (search == Search::Lost)
                return failLost();
            if (search == Search::GaveUp)
                return false; // the port stays open
        }
        if (!readVersions() || !readProductCode())
            return failLost();
        const Model model = checkModel();
        if (model == Model::Accepted)
            break;
        if (model == Model::Refused)
            return false;
        // The link is still up: the probes are skipped and the
        // resynchronisation and identification run again.
        inStep = false;
        attempt.fresh = true;
    }

    m_view.hideConnecting();
    m_view.setConnectedCaption(kConnectedText);
    if (!readIdentity() || !readUploadCounter())
        return failLost();
    m_lastEnd = ConnectEnd::Connected;
    return state().IsConnected;
}

bool Connection::openChosenPort()
{
    m_lastEnd = ConnectEnd::NoPort;
    if (state().ComPortNumber == 0 && !waitForPortChoice())
        return false;
    m_lastEnd = ConnectEnd::PortNotOpened;
    if (OpenPort())
        return true;
    state().IsConnected = false;
    return false;
}

std::optional<bool> Connection::quickProbe(Attempt &attempt)
{
    const auto answer = m_exchange.query(quickProbeFrame(), 1, kConnectReadPause);
    if (!answer)
        return std::nullopt;
    // Something answered, though not in command mode: if the presence probes
    // then go unanswered, it may be a unit left out of step by a cut
    // exchange.
    attempt.mayBeOutOfStep = m_link.rx().RxCount > 0;
    const bool inCommandMode = answer->front() == kQuickProbeAnswer;
    if (inCommandMode)
        state().IsConnected = true;
    return inCommandMode;
}

Connection::Search Connection::findInStep(Attempt &attempt)
{
    if (attempt.fresh)
        startRound(attempt);
    attempt.fresh = false;
    for (;;) {
        const Search search = awaitPresence(attempt);
        if (search != Search::Present)
            return search;
        // A unit that echoes the "#" is still storing a block write.
        const bool inStep = resynchronise(m_link) || recover(attempt);
        if (m_link.lost())
            return Search::Lost;
        if (inStep)
            return Search::InStep;
        // Back to the probes. The failed pass counts as a try, so an
        // instrument that answers "=" but never "@" still leads to the retry
        // question instead of probing for ever.
        state().IsConnected = false;
    }
}

Connection::Search Connection::awaitPresence(Attempt &attempt)
{
    while (!state().IsConnected) {
        attempt.caption += " .";
        m_view.setConnectingCaption(attempt.caption);
        if (++attempt.tries > kMaxProbeTries) {
            if (attempt.mayBeOutOfStep && recover(attempt)) {
                state().IsConnected = true;
                return Search::InStep;
            }
            if (m_link.lost())
                return Search::Lost;
            if (!askAnotherRound(attempt))
                return Search::GaveUp;
            continue;
        }
        if (!probePresence())
            return Search::Lost;
    }
    return Search::Present;
}

bool Connection::probePresence()
{
    m_link.ResetReceive();
    m_link.expectEcho();
    m_link.SendByte(kPresenceProbe);
    m_platform.pump.processPendingEvents();
    m_link.Delay(kConnectReadPause);
    if (m_link.lost())
        return false;
    if (m_link.rxSlot(1) == kPresenceProbe)
        state().IsConnected = true;
    return true;
}

void Connection::startRound(Attempt &attempt)
{
    attempt.caption = "Attempting to connect to Orvane on COM " + portText() + " .";
    m_view.showConnecting(attempt.caption);
    attempt.tries = 0;
}

bool Connection::askAnotherRound(Attempt &attempt)
{
    m_platform.dialogs.beep();
    m_view.hideConnecting();
    if (!askRetry())
        return false;
    startRound(attempt);
    // The user says the unit is there: it may be out of step.
    attempt.mayBeOutOfStep = true;
    attempt.recoveryTried = false;
    return true;
}

bool Connection::recover(Attempt &attempt)
{
    // Once per round of probes, so that a line that echoes everything still
    // ends in the retry question.
    if (attempt.recoveryTried)
        return false;
    attempt.recoveryTried = true;
    return bringBackIntoStep(m_link);
}

bool Connection::readVersions()
{
    constexpr int kVersionBytes = 6;
    const auto versions = m_exchange.query(versionsFrame(), kVersionBytes, kConnectReadPause);
    if (!versions)
        return false;
    LinkState &link = state();
    link.SoftwareVersionText = byteText((*versions)[0]);
    link.HardwareVersionText = byteText((*versions)[1]);
    for (size_t i = 0; i < link.ChipVersionText.size(); ++i)
        link.ChipVersionText[i] = byteText((*versions)[2 + i]);
    m_view.showChipVersions(link.ChipVersionText);
    return true;
}

bool Connection::readProductCode()
{
    const auto code = m_exchange.query(memoryFrame(CommandCode::ReadEeprom, 1, kProductCodeAddress),
                                       1,
                                       kConnectReadPause);
    if (!code)
        return false;
    state().ProductCode = code->front();
    m_view.showProductCode(byteText(state().ProductCode));
    return true;
}

Connection::Model Connection::checkModel()
{
    if (state().ProductCode != kRefusedProductCode || state().FactoryMode)
        return Model::Accepted;
    m_view.hideConnecting();
    m_platform.dialogs.beep();
    if (askRetry())
        return Model::TryAgain;
    refuse();
    return Model::Refused;
}

bool Connection::readIdentity()
{
    constexpr int kIdentityBytes = 6;
    sendExchangeMark(m_link, kExchangeBegins);
    const auto identity = m_exchange.query(identityFrame(), kIdentityBytes, kConnectReadPause);
    if (!identity)
        return false;
    LinkState &link = state();
    const std::vector<uint8_t> &b = *identity;
    link.SerialNumberText = displayNumber(serialNumberFromBytes({b[0], b[1], b[2], b[3]}));
    link.SoftwareVersionText = byteText(b[4]);
    link.HardwareVersionText = byteText(b[5]);

    // Once written, the settings' firmware number is the one that counts.
    const auto firmware
        = m_exchange.query(memoryFrame(CommandCode::ReadInternalNvm, 1, kFirmwareVersionAddress),
                           1,
                           kConnectNvmPause);
    if (!firmware)
        return false;
    if (firmware->front() != kUnwrittenByte)
        link.SoftwareVersionText = byteText(firmware->front());

    m_view.setSerialNumberCaption(" Orvane SN#: " + link.SerialNumberText);
    m_view.showIdentity(link.SerialNumberText, link.SoftwareVersionText, link.HardwareVersionText);
    return true;
}

bool Connection::readUploadCounter()
{
    LinkState &link = state();
    m_link.clearCommTimedOut();
    const auto answer
        = m_exchange.query(memoryFrame(CommandCode::ReadInternalNvm, 2, kUploadCounterAddress),
                           2,
                           kConnectNvmPause);
    if (!answer)
        return false;
    std::array<uint8_t, 2> counter = {(*answer)[0], (*answer)[1]};
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
    return true;
}

ConnectionLamp connectionLamp(bool isConnected)
{
    if (isConnected)
        return {{0, 255, 0}, kConnectedText};
    return {{255, 0, 0}, kNotConnectedText};
}

} // namespace orvane
