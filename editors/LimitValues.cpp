#include "editors/LimitValues.h"

#include "config/NumberText.h"
#include "config/SettingsFields.h"
#include "editors/DataSources.h"
#include "editors/DisplayEncoding.h"

#include "platform/Check.h"

namespace orvane {

namespace {

constexpr double kMaxStored = 65535;
// Largest values that still fit 16 bits once scaled. They are compared and
// stored as single-precision values, which is what makes 655.35 x 100 round
// to 65535 rather than overflow.
constexpr float kMaxOneDecimal = 6553.5f;
constexpr float kMaxAlarmTwoDecimals = 655.35f;
constexpr float kMaxBarTwoDecimals = 655.3f;

uint16_t storedValue(std::string_view text, int decimals, float maxTwoDecimals)
{
    // Clamp while still in double precision so that no out-of-range value is
    // ever narrowed to float.
    double typed = typedNumber(text);
    if (typed > kMaxStored)
        typed = kMaxStored;
    if (typed < 0)
        typed = 0;
    float x = float(typed);
    if (decimals == 1) {
        if (x > kMaxOneDecimal)
            x = kMaxOneDecimal;
        x = x * 10.0f;
    } else if (decimals == 2) {
        if (x > maxTwoDecimals)
            x = maxTwoDecimals;
        x = x * 100.0f;
    }
    const double rounded = roundHalfEven(double(x));
    return uint16_t(rounded > kMaxStored ? kMaxStored : rounded);
}

} // namespace

std::string limitText(uint16_t value, int decimals)
{
    switch (decimals) {
    case 1:
        return formatDecimals(value / 10.0, 1);
    case 2:
        return formatDecimals(value / 100.0, 2);
    default:
        return formatDecimals(value, 0);
    }
}

uint16_t alarmValueFromText(std::string_view text, int decimals)
{
    return storedValue(text, decimals, kMaxAlarmTwoDecimals);
}

uint16_t barLimitValueFromText(std::string_view text, int decimals)
{
    return storedValue(text, decimals, kMaxBarTwoDecimals);
}

AlarmValues GetAlarmValues(const ConfigImage &image, uint8_t code)
{
    const DataSourceInfo &source = dataSourceInfo(code);
    AlarmValues values;
    values.code = code;
    values.recordStart = source.alarmRecord;
    values.decimals = source.alarmDecimals;
    values.noAlarm = source.alarmRecord == 0;
    if (!values.noAlarm) {
        values.low = uint16_t(fieldValue(lowAlarm(source.alarmRecord), image.IntNvm));
        values.high = uint16_t(fieldValue(highAlarm(source.alarmRecord), image.IntNvm));
    }
    values.lowText = limitText(values.low, values.decimals);
    values.highText = limitText(values.high, values.decimals);
    return values;
}

LimitValues GetLimitValues(const ConfigImage &image, int byteNumber)
{
    ORVANE_CHECK(byteNumber == 88 || byteNumber == 108, return LimitValues{});
    const int config = currentConfiguration(image);
    const CdcTable &cdc = image.CDC;
    LimitValues values;
    values.sourceByte = byteNumber;
    values.code = cdc(config, byteNumber);
    values.decimals = GetDecimalPlaces(values.code);
    values.lower = cdc.word(config, byteNumber + 1);
    values.upper = cdc.word(config, byteNumber + 3);
    values.lowerText = limitText(values.lower, values.decimals);
    values.upperText = limitText(values.upper, values.decimals);
    return values;
}

bool StoreAlarmValue(ConfigDocument &document,
                     std::string_view text,
                     const AlarmValues &last,
                     AlarmLimit which)
{
    // Without a record the start is 0, and writing there would overwrite the
    // check byte and the unit flags.
    if (last.noAlarm || last.recordStart == 0)
        return false;
    const SettingsField limit
        = which == AlarmLimit::High ? highAlarm(last.recordStart) : lowAlarm(last.recordStart);
    document.setField(limit, alarmValueFromText(text, last.decimals));
    return true;
}

std::string StoreBarLimitValue(ConfigDocument &document,
                               std::string_view text,
                               int byteNumber,
                               const LimitValues &last)
{
    const bool lowerOrUpper
        = byteNumber == last.sourceByte + 1 || byteNumber == last.sourceByte + 3;
    ORVANE_CHECK((last.sourceByte == 88 || last.sourceByte == 108) && lowerOrUpper, return {});
    const uint16_t value = barLimitValueFromText(text, last.decimals);
    document.setCdcWord(currentConfiguration(document.image), byteNumber, value);
    return limitText(value, last.decimals);
}

} // namespace orvane
