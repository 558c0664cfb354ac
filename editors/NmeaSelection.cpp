#include "editors/NmeaSelection.h"

#include "config/NumberText.h"

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

void AcceptNmeaChoices(ConfigDocument &document,
                       const EditorState &editor,
                       const NmeaChoices &choices)
{
    const int k = editor.nmeaSettingsIndex;
    document.setIntNvm(k, storedChoice(choices.talker));
    document.setIntNvm(k + 1, storedChoice(choices.sentence));
    document.setIntNvm(k + 2, storedChoice(choices.commas));
}

std::string liveNmeaCaption(int inputNumber)
{
    const std::string n = displayNumber((long long)inputNumber);
    return "Incoming Nmea Data:  Channel " + n + "A and Channel " + n + "B";
}

LiveNmeaData::LiveNmeaData(EditorState &editor, Platform &platform, LiveNmeaView &view)
    : m_editor(editor)
    , m_platform(platform)
    , m_view(view)
{}

void LiveNmeaData::openWindow()
{
    m_view.setCaption(liveNmeaCaption(m_editor.nmeaInputNumber));
    m_editor.liveNmeaData = true;
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
    m_editor.liveNmeaData = false;
    refreshText(true);
    return end;
}

LiveNmeaEnd LiveNmeaData::runLoop(NmeaLine &line)
{
    EditorState &editor = m_editor;
    if (!line.connect())
        return LiveNmeaEnd::NotConnected;

    line.sendByte(kStreamStart);
    while (m_view.windowShown() && !line.lost()) {
        if (editor.liveNmeaData) {
            line.sendByteCheckEcho(uint8_t(editor.nmeaInputNumber));
            m_platform.pump.processPendingEvents();
            appendReceived(line.received());
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

void LiveNmeaData::appendReceived(const std::string &received)
{
    m_text += received;
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
    m_editor.liveNmeaData = false;
}

void LiveNmeaData::Resume()
{
    m_editor.liveNmeaData = true;
}

void LiveNmeaData::Cancel()
{
    m_editor.liveNmeaData = false;
    m_view.hideWindow();
}

} // namespace orvane
