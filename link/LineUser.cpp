#include "link/LineUser.h"

namespace orvane {

std::string lineBusyMessage(LineUser user)
{
    constexpr const char *kWait = " Wait for it to finish.";
    switch (user) {
    case LineUser::None:
        return {};
    case LineUser::Download:
        return std::string("A download from the Orvane is running.") + kWait;
    case LineUser::Upload:
        return std::string("An upload to the Orvane is running.") + kWait;
    case LineUser::ReadEverything:
        return std::string("Everything is being read from the Orvane.") + kWait;
    case LineUser::Compare:
        return std::string("The Orvane's settings are being read for a comparison.") + kWait;
    case LineUser::Backup:
        return std::string("A system backup inside the Orvane is running.") + kWait;
    case LineUser::Restore:
        return std::string("A restore from the Orvane's backup is running.") + kWait;
    case LineUser::RestoreCopy:
        return std::string("A unit is being restored from its copy.") + kWait;
    case LineUser::FirmwareUpdate:
        return std::string("A firmware update request is being sent to the Orvane.") + kWait;
    case LineUser::PortTest:
        return std::string("The port dialog is testing the connection to the Orvane.") + kWait;
    case LineUser::LiveNmea:
        return "The NMEA data window is reading from the Orvane. Close it first.";
    case LineUser::FactoryTool:
        return std::string("A factory tool is talking to the Orvane.") + kWait;
    }
    return {};
}

} // namespace orvane
