#pragma once

#include "config/ConfigImage.h"
#include "config/SettingsImage.h"
#include "link/CommandFrames.h"
#include "platform/Platform.h"
#include "transfer/TransferCategories.h"

#include <array>
#include <cstdint>

// What a transfer does to the bytes, apart from carrying them: the merge of
// the PC's settings into the instrument's, the instrument's own bookkeeping
// bytes, and the EEPROM records of the display configurations and the user
// sender curves.

namespace orvane {

// The upload counter: restarts at 1 for a new unit, otherwise counts up by
// one, the high byte wrapping from 255 to 0.
void bumpUploadCounter(SettingsImage &buffer, bool newUnit);

// Keeps the date of the first upload: today's date replaces the stored one
// only when it is earlier. Year is two-digit, then month and day, so a blank
// memory (255 255 255) takes today's date. True when the bytes changed.
bool keepFirstUploadDate(SettingsImage &buffer, const LocalDateTime &today);

// The PC's settings for the ticked categories, and the NMEA channel
// selection always, overlaid on the instrument's.
void mergeUploadCategories(SettingsImage &buffer, const IntNvmTable &nvm, const Selection &ticks);

// The instrument's settings for the ticked categories copied into the PC's.
void copyDownloadCategories(IntNvmTable &nvm, const SettingsImage &buffer, const Selection &ticks);

// The 128-byte EEPROM record of display configuration c (1..16). Stores the
// configuration's check byte into its byte 0 first, as every writer does.
std::array<uint8_t, 128> configurationRecord(CdcTable &cdc, int c);

// The sender curves that live in the instrument's EEPROM: the five
// user-definable ones and curve 22.
inline constexpr std::array<int, 6> kUploadedCurves = {6, 9, 16, 19, 22, 25};

struct CurvePoint
{
    uint8_t inputHigh = 0;
    uint8_t inputLow = 0;
    uint8_t valueHigh = 0;
    uint8_t valueLow = 0;

    int input() const { return inputHigh * 256 + inputLow; }
    int value() const { return valueHigh * 256 + valueLow; }
    bool operator==(const CurvePoint &) const = default;
};

// One point: the resistance in ohms on the instrument's 10-bit input scale
// (the sender against 180 ohms), and the stored reading.
CurvePoint encodeCurvePoint(float ohms, float reading);

// The 32 points of curve n, the first moved to input 0 and the last to input
// 1023 along the slope of their neighbours.
std::array<CurvePoint, 32> curvePoints(const CalCurveTable &curves, int n);

// The 128-byte EEPROM record of curve n: per point input high, input low,
// value high, value low.
std::array<uint8_t, 128> curveRecord(const CalCurveTable &curves, int n);

} // namespace orvane
