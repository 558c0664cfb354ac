#pragma once

#include "config/ConfigImage.h"
#include "link/CommandFrames.h"
#include "transfer/TransferImage.h"

#include <array>
#include <cstdint>
#include <vector>

// What the instrument holds in the memories an upload writes, byte for byte as
// read back: the settings image, the display configuration records and the
// user sender curve records.

namespace orvane {

using EepromRecord = std::array<uint8_t, kRecordSize>;

inline constexpr int kUploadedCurveCount = int(kUploadedCurves.size());

struct InstrumentSnapshot
{
    std::array<uint8_t, kSettingsSize> settings{};
    std::array<EepromRecord, kConfigurations> configurations{}; // configuration c at c - 1
    std::array<EepromRecord, kUploadedCurveCount> curves{};     // in kUploadedCurves order
    // Whether the records were read; a comparison limited to some categories
    // leaves the others out.
    bool hasConfigurations = false;
    bool hasCurves = false;
    // Records that failed their check on every read but came back the same
    // each time: what the instrument holds, damaged or never written.
    std::vector<int> unverifiedConfigurations;
    std::vector<int> unverifiedCurves; // curve numbers

    bool operator==(const InstrumentSnapshot &) const = default;
};

// A configuration record is right when byte 0 is the exclusive-or of bytes 1..127.
bool configurationRecordChecks(const EepromRecord &record);

// Position of curve n in kUploadedCurves, or -1 for a curve the instrument
// does not keep.
int uploadedCurveIndex(int n);

// The image a snapshot stands for: the factory defaults, overlaid with all 256
// settings bytes and with the records that were read, the curves decoded from
// theirs. A curve record that no upload can have written (a blank EEPROM)
// leaves the default curve.
ConfigImage imageFromSnapshot(const InstrumentSnapshot &snapshot);

} // namespace orvane
