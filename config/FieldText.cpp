#include "config/FieldText.h"

#include "config/NumberText.h"

#include <cmath>

namespace orvane {

namespace {

double shownValue(const SettingsField &field, const IntNvmTable &nvm)
{
    return fieldValue(field, nvm) / double(field.scale);
}

// Hours with the field's decimals, as they are typed; minutes where those
// decimals cannot hold them.
std::string hoursText(const SettingsField &field, unsigned minutes)
{
    const auto perHour = unsigned(field.scale);
    // Minutes in one step of the last decimal: 6 in a tenth of an hour.
    const auto perStep = unsigned(field.scale / std::pow(10, field.decimals));
    if (perStep == 0 || minutes % perStep == 0)
        return formatDecimals(minutes / double(perHour), field.decimals) + " hours";
    const unsigned rest = minutes % perHour;
    return std::to_string(minutes / perHour) + " hours " + std::to_string(rest)
           + (rest == 1 ? " minute" : " minutes");
}

std::string dateText(unsigned date)
{
    if (date == kNoDate)
        return "none";
    return twoDigits(int(date >> 16)) + "-" + twoDigits(int(date >> 8 & 0xFF)) + "-"
           + twoDigits(int(date & 0xFF));
}

} // namespace

std::string fieldText(const SettingsField &field, const IntNvmTable &nvm)
{
    const unsigned value = fieldValue(field, nvm);
    switch (field.kind) {
    case FieldKind::Number:
        return formatDecimals(shownValue(field, nvm), field.decimals);
    case FieldKind::Hours:
        return hoursText(field, value);
    case FieldKind::Ratio:
        return std::to_string(value) + ":1";
    case FieldKind::TimeOfDay:
        return twoDigits(int(value >> 8)) + ":" + twoDigits(int(value & 0xFF));
    case FieldKind::Date:
        return dateText(value);
    case FieldKind::Coded:
        break;
    }
    return storedText(field, nvm);
}

std::string storedText(const SettingsField &field, const IntNvmTable &nvm)
{
    if (field.width == 2)
        return std::to_string(fieldValue(field, nvm));
    std::string text;
    for (int at = field.address; at < field.end(); ++at)
        text += (text.empty() ? "" : " ") + std::to_string(nvm[at] & field.mask);
    return text;
}

std::string answerText(const SettingsField &field, const IntNvmTable &nvm, int decimals)
{
    std::string text = formatDecimals(shownValue(field, nvm), decimals);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return " " + text;
}

} // namespace orvane
