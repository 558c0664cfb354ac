#pragma once

#include "config/ConfigDocument.h"
#include "editors/EditorState.h"
#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The NMEA sentence selector (talker, sentence and comma count of one input)
// and the live view of the characters the instrument hears on a channel.

namespace orvane {

// List positions of the selector; -1 means nothing selected.
struct NmeaChoices
{
    int talker = -1;
    int sentence = -1;
    int commas = -1;
};

// Accept: stores position + 1 of each list (0 for nothing selected) in the
// three settings bytes of the input being edited.
void AcceptNmeaChoices(ConfigDocument &document,
                       const EditorState &editor,
                       const NmeaChoices &choices);

// Caption of the live data window for channel 1..4.
std::string liveNmeaCaption(int inputNumber);

// What the live view needs of the main window's link: its connect procedure
// and byte primitives, what a poll brought, and how an exchange ends.
class NmeaLine
{
public:
    virtual ~NmeaLine() = default;
    // ConnectToTessaro unless connected; true when connected.
    virtual bool connect() = 0;
    virtual void sendByte(uint8_t byte) = 0;
    virtual void sendByteCheckEcho(uint8_t byte) = 0;
    // The characters the last poll brought: its answer and whatever followed
    // it while events were handled; nothing when it timed out.
    virtual std::string received() const = 0;
    virtual bool lost() const = 0;
    virtual std::string lostMessage() const = 0;
    virtual bool portOpen() const = 0;
    virtual void endExchange() = 0; // the soft reset
    // Empty while the line is free; otherwise what holds it and what to do.
    virtual std::string busyReason() const = 0;
    // Marks the line as held by the live view, or free again.
    virtual void setHeld(bool held) = 0;
};

// The live data window as the loop sees it.
class LiveNmeaView
{
public:
    virtual ~LiveNmeaView() = default;
    virtual void setCaption(const std::string &caption) = 0;
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    virtual bool windowShown() const = 0;
    virtual void showText(const std::string &text) = 0;
};

enum class LiveNmeaEnd {
    WindowHidden,   // the window was hidden; the exchange was ended
    AlreadyRunning, // the running loop took over the new channel
    Busy,           // another exchange holds the line (the user was told)
    NotConnected,   // no connection: the window stays up, nothing was sent
    LinkLost,       // the port failed; the user was told
};

// The live data view: one loop at a time, polling while the live-NMEA-data
// flag is set and sleeping in the event pump while it is clear, until its
// window is hidden. Handlers of every other window run inside its waits.
class LiveNmeaData
{
public:
    static constexpr uint8_t kStreamStart = 63; // "?": the instrument streams NMEA
    static constexpr size_t kKeptCharacters = 200;
    // How long a paused loop sleeps between looks; any event wakes it sooner.
    static constexpr double kPausedWait = 1.0;
    // The text is redrawn at most this often while characters stream in.
    static constexpr double kTextRefreshInterval = 0.05;

    LiveNmeaData(EditorState &editor, Platform &platform, LiveNmeaView &view);

    // cmdNmeaViewData: shows the window for the current input and runs the
    // loop until the window is hidden or the link is lost.
    LiveNmeaEnd ViewData(NmeaLine &line);

    void Pause();  // cmdNmeaDataFreeze
    void Resume(); // cmdNmeaDataResume
    void Cancel(); // cmdNmeaDataCancel: pause and hide

    bool running() const { return m_running; }
    // The received characters, at most the last kKeptCharacters.
    const std::string &text() const { return m_text; }

private:
    void openWindow();
    LiveNmeaEnd runLoop(NmeaLine &line);
    void appendReceived(const std::string &received);
    void refreshText(bool now);

    EditorState &m_editor;
    Platform &m_platform;
    LiveNmeaView &m_view;
    std::string m_text;
    std::string m_shownText;
    double m_lastRefresh = 0;
    bool m_running = false;
};

} // namespace orvane
