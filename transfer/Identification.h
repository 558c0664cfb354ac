#pragma once

#include "config/ConfigImage.h"
#include "link/Connection.h"

// Connecting as every exchange does it, transfers, the live NMEA view and the
// port dialog's Test alike: the link identifies the instrument, and the upload
// counter it read goes into IntNvm bytes 10 and 11 at once. The image is not
// marked changed: it holds the instrument's count, not an edit.

namespace orvane {

void storeIdentity(ConfigImage &image, const Identity &identity);

// ConnectToTessaro, then storeIdentity when identification got that far.
ConnectOutcome connectToInstrument(Connection &connection, ConfigImage &image);

} // namespace orvane
