#pragma once

#include "link/ByteLink.h"
#include "link/CommandFrames.h"
#include "link/Exchange.h"
#include "platform/Result.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orvane {

// What connecting must show on the windows while it runs. The main window
// implements it, forwarding to frmComms, frmShowConnecting, frmAbout,
// frmHalvero and frmProgress; the tests record it.
class ConnectionView
{
public:
    virtual ~ConnectionView() = default;

    // frmMain captions.
    virtual void setCommsPortCaption(const std::string &text) = 0;    // lblCommsPort
    virtual void setConnectedCaption(const std::string &text) = 0;    // lblConnected
    virtual void setSerialNumberCaption(const std::string &text) = 0; // lblOrvaneSN

    // frmShowConnecting, shown without being modal; the caption is lblShowConnecting.
    virtual void showConnecting(const std::string &caption) = 0;
    virtual void setConnectingCaption(const std::string &caption) = 0;
    virtual void hideConnecting() = 0;

    // frmComms, shown without being modal. The window reports its close box
    // through Connection::commsDialogClosed.
    virtual void showComms() = 0;
    virtual void hideComms() = 0;
    virtual void selectCommsOption(int portNumber) = 0; // optComm(n)

    // Read-outs: txtOrvaneSN, txtOrvaneSwVer, txtOrvaneHwVer of frmAbout and frmHalvero.
    virtual void showIdentity(const std::string &serialNumber,
                              const std::string &softwareVersion,
                              const std::string &hardwareVersion)
        = 0;
    // frmHalvero: txtU101SwVer .. txtU401SwVer, txtTessaroProductID, txtNTimesNewConfigs.
    virtual void showChipVersions(const std::array<std::string, 4> &versions) = 0;
    virtual void showProductCode(const std::string &text) = 0;
    virtual void showUploadCount(const std::string &text) = 0;

    virtual void hideProgress() = 0; // frmProgress
};

// How a connection attempt ended.
enum class ConnectEnd { Connected, NoPort, PortNotOpened, NoAnswer, Refused, LinkLost };

// What identification read. The connection shows it and keeps its own texts;
// the upload counter belongs in the image, where whoever connected stores it.
struct Identity
{
    std::string serialNumber;
    std::string softwareVersion;
    std::string hardwareVersion;
    std::array<std::string, 4> chipVersions;
    uint8_t productCode = 0;
    // Internal NVM bytes 10 (high) and 11; a counter never written reads as
    // one upload.
    std::array<uint8_t, 2> uploadCounter{};
};

struct ConnectOutcome
{
    ConnectEnd end = ConnectEnd::NoPort;
    bool connected = false; // `IsConnected` on return: an instrument is ready for commands
    // Set once identification has read the upload counter.
    std::optional<Identity> identity;

    explicit operator bool() const { return connected; }
};

// Captions of the connection state.
inline constexpr const char *kConnectedText = "Connected to Orvane";
inline constexpr const char *kNotConnectedText = "Not connected to Orvane";

// Choosing the port, opening it, and connecting to and identifying the
// instrument. Owned by the main window next to the ByteLink it uses.
class Connection
{
public:
    // Pauses and limits of the handshake.
    static constexpr double kPortSettlePause = 0.5;  // after opening the port
    static constexpr double kConnectReadPause = 0.1; // probes, versions, product code, identity
    static constexpr double kConnectNvmPause = 0.25; // firmware byte, upload counter
    static constexpr double kRefusalPause = 0.1;     // before the disconnect of a refused unit
    static constexpr int kMaxProbeTries = 50;
    static constexpr int kHighestPortNumber = 16;
    static constexpr uint8_t kRefusedProductCode = 2; // the sibling model
    // How long one sleep of the port-choice wait may last; a click wakes it sooner.
    static constexpr double kChoiceWaitSlice = 1.0;

    // Stores what identification read where it belongs (the upload counter
    // into the image); called by whoever connects, at the step that read it.
    using IdentityStore = std::function<void(const Identity &)>;

    Connection(Platform &platform, ByteLink &link, ConnectionView &view);

    // Connects and identifies; on return `IsConnected` tells whether an
    // instrument is ready for commands (also `connected`). The link's state
    // holds the texts; the caller stores the identity's upload counter.
    ConnectOutcome ConnectToTessaro();

    const LinkState &linkState() const { return m_link.linkState(); }

    // Opens port `ComPortNumber`, asking for another number while it fails.
    // True when the port is open; false when the user cancelled (port closed).
    bool OpenPort();

    // Menu item "Communications Port": shows frmComms and waits until a port
    // is chosen or the dialog is dismissed.
    void OrvaneComPort();

    // frmComms handlers.
    void acceptCommsChoice(int portNumber); // cmdCommsAccept
    void commsDialogClosed();               // close box or Escape
    // The Test button: identifies what answers on `portNumber` and ends the
    // exchange as every operation does, handing the identity to `store` first
    // as every connection does. The chosen port stays as it was; only Accept
    // changes it. What was found, or why nothing was.
    Result<std::string> testPort(int portNumber, const IdentityStore &store);

    // Ends an exchange with the soft reset (251) or the disconnect (255) and
    // marks the link as not connected.
    void endExchange(CommandCode code);

    // One line for a message box when the link was lost during an operation.
    std::string lostLinkMessage() const;

    // How the last connection attempt ended, also one made inside a command.
    ConnectEnd lastEnd() const { return m_lastEnd; }

private:
    // One connect attempt: the notice frmShowConnecting and its round of
    // presence probes.
    struct Attempt
    {
        std::string caption;
        int tries = 0;               // presence probes in this round
        bool fresh = true;           // the notice starts again before the probes
        bool mayBeOutOfStep = false; // something answered, or the user says it is there
        bool recoveryTried = false;  // bringing it back into step, once a round
    };
    // How looking for the instrument ended.
    enum class Search { Present, InStep, GaveUp, Lost };
    // What becomes of the model that answered.
    enum class Model { Accepted, TryAgain, Refused };

    bool connect();
    bool openChosenPort();
    // Quick probe: an instrument already in command mode answers 4 and needs
    // neither the presence probes nor the resynchronisation. Nothing when
    // the link was lost.
    std::optional<bool> quickProbe(Attempt &attempt);
    // Presence probes until the instrument answers, then the
    // resynchronisation, until the instrument is in step with the editor.
    Search findInStep(Attempt &attempt);
    // Presence probes, fifty to a round, until "=" comes back. After a
    // silent round a unit that may be out of step is brought back into step;
    // otherwise the user decides whether to try another round.
    Search awaitPresence(Attempt &attempt);
    // One presence probe: "=" alone, echoed by an instrument that is there.
    // False when the link was lost.
    bool probePresence();
    void startRound(Attempt &attempt);
    bool askAnotherRound(Attempt &attempt);
    bool recover(Attempt &attempt);
    // Identification; each false when the link was lost.
    bool readVersions();
    bool readProductCode();
    // The sibling model is refused unless in factory mode; the user may try
    // again, or the exchange is ended.
    Model checkModel();
    bool readIdentity();
    bool readUploadCounter();
    bool waitForPortChoice();
    bool askRetry();
    bool failLost();
    void refuse();
    std::string portText() const;

    LinkState &state() { return m_link.mutableLinkState(); }
    const LinkState &state() const { return m_link.linkState(); }

    Platform &m_platform;
    ByteLink &m_link;
    ConnectionView &m_view;
    Exchange m_exchange;
    // frmComms was accepted or closed since the wait for a port choice began.
    bool m_commsDone = false;
    // How the running attempt ends, and what it identified.
    ConnectEnd m_lastEnd = ConnectEnd::NoPort;
    std::optional<Identity> m_identity;
};

// The prompt of the "Communications Error" box for a port that did not open.
std::string portErrorPrompt(int portNumber);

// The serial number from the four identity bytes (blank memory reads as 0).
long long serialNumberFromBytes(std::array<int, 4> bytes);

// `Timer1`: the connection lamp and its caption. (The blink of the preview's
// blank patches belongs to the display panel.)
struct LampColour
{
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const LampColour &) const = default;
};

struct ConnectionLamp
{
    LampColour colour;   // shpCommsConnected fill colour
    std::string caption; // lblConnected
};

ConnectionLamp connectionLamp(bool isConnected);

} // namespace orvane
