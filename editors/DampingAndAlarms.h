#pragma once

#include "config/ConfigDocument.h"
#include "config/SettingsFields.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Display damping of nine functions and the eight time-of-day alarms: each
// typed value goes straight into its settings byte, clamped to its range.

namespace orvane {

inline constexpr int kMaxDamping = 250;

// The damping value shown for list position `position` (0 when nothing is
// selected). A position past the list is a programming error: checked, 0.
uint8_t dampingValue(const ConfigImage &image, int position);

// A damping text as typed: its leading number, clamped to 0..250 and rounded
// half to even, is stored for `position` (nothing is stored when nothing is
// selected). Returns the stored value, which the box then shows.
uint8_t typeDampingValue(ConfigDocument &document, int position, std::string_view text);

inline constexpr int kTodAlarmCount = kTodAlarms.count;
// The hours byte of the first alarm.
inline constexpr int kFirstTodAlarmByte = kTodAlarms.first.address;

enum class TodField { Hours, Minutes };

struct TodAlarmText
{
    std::string hours;   // "0#"
    std::string minutes; // "0#"
};

// The stored time of alarm list position `position` (at most the last
// alarm); nothing selected shows "00" : "00".
TodAlarmText todAlarmText(const ConfigImage &image, int position);

// An hours or minutes text as typed: its leading number, rounded half to even
// and clamped to 0..23 or 0..59, is stored for the alarm. The text itself is
// left as typed. Nothing selected stores nothing. Returns the stored value.
uint8_t typeTodAlarm(ConfigDocument &document, int position, TodField field, std::string_view text);

} // namespace orvane
