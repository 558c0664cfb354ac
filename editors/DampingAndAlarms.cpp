#include "editors/DampingAndAlarms.h"

#include "config/NumberText.h"
#include "platform/Check.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr int kMaxHours = 23;
constexpr int kMaxMinutes = 59;

// Clamping before rounding gives the same whole number for every finite
// value and keeps an overflowing text ("1E999") from reaching the cast.
uint8_t clampedWhole(double value, int highest)
{
    if (std::isnan(value))
        return 0;
    return uint8_t(roundHalfEven(std::clamp(value, 0.0, double(highest))));
}

int todAlarmIndex(int position)
{
    return std::min(position, kTodAlarmCount - 1);
}

int todByte(int alarm, TodField field)
{
    return kTodAlarms.at(alarm).address + (field == TodField::Minutes ? 1 : 0);
}

} // namespace

uint8_t dampingValue(const ConfigImage &image, int position)
{
    if (position < 0)
        return 0;
    ORVANE_CHECK(position < int(kDampingFields.size()), return 0);
    return uint8_t(fieldValue(kDampingFields[size_t(position)], image.IntNvm));
}

uint8_t typeDampingValue(ConfigDocument &document, int position, std::string_view text)
{
    // The value is a single-precision number before it is clamped and rounded.
    const auto typed = float(typedNumber(text));
    const uint8_t value = clampedWhole(typed, kMaxDamping);
    ORVANE_CHECK(position < int(kDampingFields.size()), return value);
    if (position >= 0)
        document.setField(kDampingFields[size_t(position)], value);
    return value;
}

TodAlarmText todAlarmText(const ConfigImage &image, int position)
{
    if (position < 0)
        return {twoDigits(0), twoDigits(0)};
    const int alarm = todAlarmIndex(position);
    const IntNvmTable &nvm = image.IntNvm;
    return {twoDigits(nvm[todByte(alarm, TodField::Hours)]),
            twoDigits(nvm[todByte(alarm, TodField::Minutes)])};
}

uint8_t typeTodAlarm(ConfigDocument &document, int position, TodField field, std::string_view text)
{
    const uint8_t value
        = clampedWhole(typedNumber(text), field == TodField::Hours ? kMaxHours : kMaxMinutes);
    // With no alarm selected there is no byte to write; the bytes before the
    // first alarm belong to the fine calibrations.
    if (position >= 0)
        document.setIntNvm(todByte(todAlarmIndex(position), field), value);
    return value;
}

} // namespace orvane
