#pragma once

#include "config/ConfigDocument.h"

#include <cstdint>
#include <string>
#include <string_view>

// Alarm limits (one record per data source in IntNvm, shared by every
// configuration) and bar limits (per configuration in CDC): 16-bit values in
// units of 10^-d, shown as "####0", "###0.0" or "##0.00".

namespace orvane {

// The alarm limits of a data source, as read.
struct AlarmValues
{
    uint8_t code = 0;
    int recordStart = 0; // first IntNvm index of the record, 0 for none
    int decimals = 0;
    uint16_t low = 0;
    uint16_t high = 0;
    std::string lowText;
    std::string highText;
    bool noAlarm = true; // the source has no alarm record
};

AlarmValues GetAlarmValues(const ConfigImage &image, uint8_t code);

// The bar limits of one bar graph of the current configuration, as read.
struct LimitValues
{
    int sourceByte = 0; // 88 left bar, 108 right bar
    uint8_t code = 0;
    int decimals = 0;
    uint16_t lower = 0;
    uint16_t upper = 0;
    std::string lowerText;
    std::string upperText;
};

// byteNumber is 88 or 108; any other is a programming error: checked, and
// the limits read are those of no bar (source byte 0), which store nothing.
LimitValues GetLimitValues(const ConfigImage &image, int byteNumber);

// A stored 16-bit value as the panel shows it.
std::string limitText(uint16_t value, int decimals);

// Typed text to the 16-bit value stored: the leading number (none counts as
// 0) clamped to 0..65535, then to 6553.5 (one decimal), 655.35 (alarm, two
// decimals) or 655.3 (bar limit, two decimals) in single precision, scaled
// and rounded half to even.
uint16_t alarmValueFromText(std::string_view text, int decimals);
uint16_t barLimitValueFromText(std::string_view text, int decimals);

enum class AlarmLimit { Low, High };

// Stores a typed alarm limit into the record that `last` (the GetAlarmValues
// of the same display) found. A source without a record has nothing to store
// into: returns false and leaves the image alone.
bool StoreAlarmValue(ConfigDocument &document,
                     std::string_view text,
                     const AlarmValues &last,
                     AlarmLimit which);

// Stores a typed bar limit at CDC byte 89, 91 (with `last` read from 88) or
// 109, 111 (with `last` read from 108) of the current configuration and
// returns the text the limit label shows. Any other byte, or a `last` of the
// other bar, is a programming error: checked, nothing stored, no text.
std::string StoreBarLimitValue(ConfigDocument &document,
                               std::string_view text,
                               int byteNumber,
                               const LimitValues &last);

} // namespace orvane
