#pragma once

#include <string>

// Who holds the one serial line to the instrument. Waits handle events, so
// every button stays live during an exchange; a command that needs the line
// while another holds it is refused with a sentence saying what runs.

namespace orvane {

enum class LineUser {
    None,
    Download,
    Upload,
    ReadEverything,
    Compare,
    Backup,
    Restore,
    RestoreCopy,
    FirmwareUpdate,
    PortTest,
    LiveNmea,
    FactoryTool,
};

// What holds the line and what to do, for the message that refuses a second
// command; empty for LineUser::None.
std::string lineBusyMessage(LineUser user);

inline constexpr const char *kLineBusyTitle = "Orvane busy";
inline constexpr const char *kStopLiveNmeaQuestion
    = "The NMEA data window is reading from the Orvane. Stop it and go on?";

// Holds the line for the lifetime of one exchange.
class LineClaim
{
public:
    LineClaim(LineUser &holder, LineUser user)
        : m_holder(holder)
    {
        m_holder = user;
    }
    ~LineClaim() { m_holder = LineUser::None; }
    LineClaim(const LineClaim &) = delete;
    LineClaim &operator=(const LineClaim &) = delete;

private:
    LineUser &m_holder;
};

} // namespace orvane
