#pragma once

#include "config/ConfigImage.h"
#include "link/CommandFrames.h"
#include "transfer/TransferImage.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What the instrument holds in the memories an upload writes, byte for byte as
// read back: the settings image, the display configuration records and the
// user sender curve records.

namespace orvane {

using EepromRecord = std::array<uint8_t, kRecordSize>;

inline constexpr int kUploadedCurveCount = int(kUploadedCurves.size());

struct InstrumentSnapshot
{
    SettingsImage settings{};
    std::array<EepromRecord, kConfigurations> configurations{}; // configuration c at c - 1
    std::array<EepromRecord, kUploadedCurveCount> curves{};     // in kUploadedCurves order
    // Whether the records were read; a comparison limited to some categories
    // leaves the others out.
    bool hasConfigurations = false;
    bool hasCurves = false;

    bool operator==(const InstrumentSnapshot &) const = default;
};

// A configuration record is right when byte 0 is the exclusive-or of bytes 1..127.
bool configurationRecordChecks(const EepromRecord &record);

// A record that the editor's image cannot hold as the instrument holds it:
// a configuration whose check byte is wrong (the image's check byte is
// always computed) or a curve record that no points give back.
struct OddRecord
{
    enum class Kind { Configuration, Curve };
    Kind kind = Kind::Configuration;
    int number = 0;  // configuration 1..16 or curve number
    std::string why; // a clause: "its check byte is 18 where its bytes give 19"
    bool operator==(const OddRecord &) const = default;
};

// The odd records among those the snapshot holds, configurations first.
std::vector<OddRecord> oddRecords(const InstrumentSnapshot &snapshot);

// Position of curve n in kUploadedCurves, or -1 for a curve the instrument
// does not keep.
int uploadedCurveIndex(int n);

// The image a snapshot stands for: the factory defaults, overlaid with all 256
// settings bytes and with the records that were read, the curves decoded from
// theirs. A curve record that no points give back (a blank EEPROM) leaves
// the default curve; oddRecords names it.
ConfigImage imageFromSnapshot(const InstrumentSnapshot &snapshot);

} // namespace orvane
