#include "editors/NmeaSelection.h"

#include "config/NumberText.h"
#include "editors/ImageWrites.h"

namespace orvane {

namespace {

constexpr const char *kLostLinkTitle = "Communications Error";
constexpr const char *kBusyTitle = "Orvane busy";

uint8_t storedChoice(int position)
{
    return position < 0 ? 0 : uint8_t(position + 1);
}

// Marks a value for the lifetime of a scope, also when an exception leaves it.
class ScopedFlag
{
public:
    explicit ScopedFlag(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~ScopedFlag() { m_flag = false; }
    ScopedFlag(const ScopedFlag &) = delete;
    ScopedFlag &operator=(const ScopedFlag &) = delete;

private:
    bool &m_flag;
};

} // namespace

void AcceptNmeaChoices(AppState &state, const NmeaChoices &choices)
{
    const int k = state.editor.nmeaSettingsIndex;
    image_writes::setIntNvm(state, k, storedChoice(choices.talker));
    image_writes::setIntNvm(state, k + 1, storedChoice(choices.sentence));
    image_writes::setIntNvm(state, k + 2, storedChoice(choices.commas));
}

std::string liveNmeaCaption(int inputNumber)
{
    const std::string n = displayNumber((long long)inputNumber);
    return "Incoming Nmea Data:  Channel " + n + "A and Channel " + n + "B";
}

LiveNmeaData::LiveNmeaData(AppState &state, Platform &platform, LiveNmeaView &view)
    : m_state(state)
    , m_platform(platform)
    , m_view(view)
{}

void LiveNmeaData::openWindow()
{
    m_view.setCaption(liveNmeaCaption(m_state.editor.nmeaInputNumber));
    m_state.editor.liveNmeaData = true;
    m_view.showWindow();
}

LiveNmeaEnd LiveNmeaData::ViewData(NmeaLine &line)
{
    if (m_running) {
        // The running loop polls whatever channel is current on its next pass.
        openWindow();
        return LiveNmeaEnd::AlreadyRunning;
    }
    if (const std::string busy = line.busyReason(); !busy.empty()) {
        m_platform.dialogs.beep();
        m_platform.dialogs.messageBox(busy,
                                      kBusyTitle,
                                      MessageIcon::Information,
                                      MessageButtons::Ok);
        return LiveNmeaEnd::Busy;
    }
    openWindow();
    const ScopedFlag running(m_running);
    line.setHeld(true);
    const LiveNmeaEnd end = runLoop(line);
    line.setHeld(false);
    m_state.editor.liveNmeaData = false;
    refreshText(true);
    return end;
}

LiveNmeaEnd LiveNmeaData::runLoop(NmeaLine &line)
{
    EditorState &editor = m_state.editor;
    if (!m_state.link.IsConnected && !line.connect())
        return LiveNmeaEnd::NotConnected;

    line.sendByte(kStreamStart);
    while (m_view.windowShown() && !line.lost()) {
        if (editor.liveNmeaData) {
            line.sendByteCheckEcho(uint8_t(editor.nmeaInputNumber));
            m_platform.pump.processPendingEvents();
            appendReceived();
            refreshText(false);
        } else {
            refreshText(true);
            m_platform.pump.waitForEvents(kPausedWait);
        }
    }

    if (line.lost()) {
        m_platform.dialogs.messageBox(line.lostMessage(),
                                      kLostLinkTitle,
                                      MessageIcon::Warning,
                                      MessageButtons::Ok);
        return LiveNmeaEnd::LinkLost;
    }
    // Leaving the program closes the port before the loop notices.
    if (line.portOpen())
        line.endExchange();
    return LiveNmeaEnd::WindowHidden;
}

void LiveNmeaData::appendReceived()
{
    // What the poll brought: its answer in slot 1 and whatever followed it
    // while events were handled. A poll that timed out brought nothing.
    const ReceiveState &rx = m_state.rx;
    for (int slot = 1; slot <= rx.RxCount; ++slot) {
        const int16_t value = rx.RxSlot[size_t(slot)];
        if (value >= 0 && value <= 255)
            m_text.push_back(char(uint8_t(value)));
    }
    if (m_text.size() > kKeptCharacters)
        m_text.erase(0, m_text.size() - kKeptCharacters);
}

void LiveNmeaData::refreshText(bool now)
{
    const double time = m_platform.clock.monotonicSeconds();
    if (m_text == m_shownText || (!now && time - m_lastRefresh < kTextRefreshInterval))
        return;
    m_view.showText(m_text);
    m_shownText = m_text;
    m_lastRefresh = time;
}

void LiveNmeaData::Pause()
{
    m_state.editor.liveNmeaData = false;
}

void LiveNmeaData::Resume()
{
    m_state.editor.liveNmeaData = true;
}

void LiveNmeaData::Cancel()
{
    m_state.editor.liveNmeaData = false;
    m_view.hideWindow();
}

} // namespace orvane
