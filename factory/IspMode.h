#pragma once

#include "factory/FactoryExchange.h"
#include "link/CommandFrames.h"

// The four buttons that end the exchange with the instrument and close the
// factory window: two put the processor into in-system programming mode, two
// disconnect.

namespace orvane {

constexpr double kEndCommandPause = 0.1; // before the ISP or disconnect frame

// cmdIspMode (IspFromEeprom) and cmdIspMode2 (IspMakerLoader). The
// instrument then stays silent until it is switched off and on.
FactoryResult enterIspMode(FactoryServices &services, CommandCode code);

// cmdSoftDisconnect (SoftReset) and cmdDisconnect (Disconnect, which also
// clears the instrument's RAM). The window closes whether or not a link was up.
FactoryResult disconnectAndClose(FactoryServices &services, CommandCode code);

} // namespace orvane
