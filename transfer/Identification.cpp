#include "transfer/Identification.h"

#include "link/CommandFrames.h"

namespace orvane {

void storeIdentity(ConfigImage &image, const Identity &identity)
{
    image.IntNvm[kUploadCounter.address] = identity.uploadCounter[0];
    image.IntNvm[kUploadCounter.address + 1] = identity.uploadCounter[1];
}

ConnectOutcome connectToInstrument(Connection &connection, ConfigImage &image)
{
    ConnectOutcome outcome = connection.ConnectToTessaro();
    if (outcome.identity)
        storeIdentity(image, *outcome.identity);
    return outcome;
}

} // namespace orvane
