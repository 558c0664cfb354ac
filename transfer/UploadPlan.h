#pragma once

#include "config/ConfigImage.h"
#include "platform/Platform.h"
#include "transfer/ImageDifferences.h"
#include "transfer/InstrumentSnapshot.h"
#include "transfer/TransferCategories.h"
#include "transfer/TransferImage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What an upload writes: the settings image it builds from the instrument's
// and the PC's, and which records need writing at all once it is known what
// the instrument already holds.

namespace orvane {

// The provisioning bytes an upload acts on.
struct UploadProvisioning
{
    bool newUnit = false;                            // the whole settings image is the PC's
    std::optional<std::array<uint8_t, 4>> newSerial; // bytes 12..15
};

// The settings image the upload writes: the instrument's as read, its counter
// counted up, the first upload's date kept, the ticked categories and the
// NMEA selection from the PC's, then the provisioning bytes; the check byte
// in byte 0.
SettingsImage uploadedSettings(const SettingsImage &read,
                               const IntNvmTable &nvm,
                               const Selection &ticks,
                               const UploadProvisioning &provisioning,
                               const LocalDateTime &today);

// Bytes that every upload keeps up to date of its own accord: the check byte,
// the upload counter and the date of the first upload.
bool isUploadBookkeeping(int address);

enum class SettingsWrite {
    Whole,       // all 256 bytes, as the upload always wrote them
    Bookkeeping, // only the changed bookkeeping bytes, then the check byte
    None,        // the instrument already holds every byte
};

struct UploadPlan
{
    InstrumentSnapshot target; // what the instrument holds once the upload is done
    SettingsWrite settingsWrite = SettingsWrite::Whole;
    // With Bookkeeping: the first and last changed bookkeeping address.
    int bookkeepingFirst = 0;
    int bookkeepingLast = 0;
    std::vector<int> configurations; // records to write, 1..16
    std::vector<int> curves;         // records to write, by curve number
};

// What to write so that the instrument ends as a full upload leaves it. With
// `writeEverything` that is every ticked record and the whole settings image;
// otherwise only the records the instrument does not already hold byte for
// byte, and of the settings only the bookkeeping bytes when nothing else
// changes. Records of a category that was not read count as not held.
UploadPlan planUpload(const InstrumentSnapshot &held,
                      const SettingsImage &settings,
                      const ConfigImage &image,
                      const Selection &ticks,
                      bool writeEverything);

// What to write so that the instrument holds `copy` byte for byte, its
// settings, configuration and curve records alike: the settings as planUpload
// writes them, and the records that differ.
UploadPlan restorePlan(const InstrumentSnapshot &held, const InstrumentSnapshot &copy);

// Whether the plan writes anything at all.
bool writesAnything(const UploadPlan &plan);

// What the instrument holds against what it will hold once the plan is done;
// the bytes every upload keeps up to date itself are listed only with
// `withBookkeeping`.
Comparison planComparison(const InstrumentSnapshot &held,
                          const UploadPlan &plan,
                          bool withBookkeeping = false);

} // namespace orvane
