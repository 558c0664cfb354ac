#pragma once

#include "config/SettingsImage.h"

#include <array>
#include <cstdint>

namespace orvane {

// The transfer selections, the settings buffer of the last exchange and the
// provisioning flags an upload acts on.
struct TransferState
{
    static constexpr int kCategories = 14;
    uint8_t TransferChoice = 0; // 0 none yet, 1 CANCEL, 2 CONTINUE
    bool TransferIsDownload = false;
    std::array<uint8_t, kCategories> DownloadSelection{};
    std::array<uint8_t, kCategories> UploadSelection{};
    SettingsImage TransferBuffer{};
    bool ShowUploadWarning = true;
    bool NewUnitPending = false;
    bool NewSerialPending = false;
    std::array<uint8_t, 4> NewSerialBytes{};
    // Write every ticked record even where the instrument already holds it.
    bool forceFullWrite = false;
};

} // namespace orvane
