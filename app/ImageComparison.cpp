#include "app/ImageComparison.h"

#include "app/PickLists.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "config/FieldText.h"
#include "config/FileCommands.h"
#include "config/SettingsFields.h"
#include "editors/DataSources.h"
#include "editors/DisplayEncoding.h"
#include "editors/EditMenuSettings.h"
#include "editors/IconBits.h"
#include "editors/LimitValues.h"
#include "link/Connection.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>

namespace orvane {

namespace {

constexpr std::string_view kArrow = " \u2192 ";
// Data source codes 0..34 have entries of their own; the rest share one.
constexpr int kCodesWithEntries = 35;

std::string changeLine(const std::string &name, const std::string &before, const std::string &after)
{
    return name + ": " + before + std::string(kArrow) + after;
}

// A line never reads the same on both sides: where the wording gives two
// stored values alike, each side also names what it stores.
std::string changeLine(const std::string &name,
                       const std::string &before,
                       const std::string &after,
                       const std::string &storedBefore,
                       const std::string &storedAfter)
{
    if (before != after)
        return changeLine(name, before, after);
    return changeLine(name,
                      before + " (stored " + storedBefore + ")",
                      after + " (stored " + storedAfter + ")");
}

// The Edit menu's captions for the choices a settings byte holds.
constexpr std::array<std::string_view, 5> kSensitivityCaptions
    = {"Maximum", "High", "Medium", "Low", "Minimum"}; // in kSensitivityCodes order

// --- settings ---------------------------------------------------------------

// A settings field, the name its line gives it and how its value reads.
struct WordedField
{
    std::string name;
    SettingsField field;
    std::function<std::string(const IntNvmTable &)> text;
};

std::string byteText(uint8_t value)
{
    return std::to_string(value);
}

// A field whose value reads by its kind alone.
WordedField plainField(const SettingsField &field, std::string name)
{
    return {std::move(name), field, [field](const IntNvmTable &nvm) {
                return fieldText(field, nvm);
            }};
}

WordedField plainField(const SettingsField &field)
{
    return plainField(field, std::string(field.caption));
}

// A field whose stored value a menu or a list names.
WordedField codedField(const SettingsField &field, std::function<std::string(unsigned)> text)
{
    return {std::string(field.caption), field, [field, text](const IntNvmTable &nvm) {
                return text(fieldValue(field, nvm));
            }};
}

std::string speedUnitsText(unsigned units)
{
    switch (units) {
    case kKnots:
        return "Knots/NM";
    case kMph:
        return "MPH/Miles";
    case kKmh:
        return "KPH/Km";
    }
    return "none (both speed bits set)";
}

// A flag of the units byte, by the captions of its two menu items.
WordedField flagField(const SettingsField &flag, std::string set, std::string clear)
{
    return codedField(flag, [=](unsigned value) { return value ? set : clear; });
}

std::string sensitivityText(unsigned code)
{
    const auto *found = std::find(kSensitivityCodes.begin(), kSensitivityCodes.end(), code);
    if (found == kSensitivityCodes.end())
        return "code " + std::to_string(code);
    return std::string(kSensitivityCaptions[size_t(found - kSensitivityCodes.begin())]);
}

// The sender list item for a stored code: every item but "0:  None" starts
// with its code.
std::string senderText(picklists::Items list, unsigned code)
{
    for (const std::string_view item : list)
        if (item.starts_with(std::to_string(code) + ":"))
            return std::string(item);
    return "code " + std::to_string(code);
}

std::string nmeaPart(picklists::Items list, uint8_t stored)
{
    if (stored == 0)
        return "none";
    const auto text = picklists::textForStoredValue(list, stored);
    return text ? std::string(*text) : "#" + std::to_string(stored);
}

// Talker, sentence and comma count, in that order.
std::string nmeaText(const SettingsField &input, const IntNvmTable &nvm)
{
    if (fieldValue(input, nvm) == 0)
        return "nothing chosen";
    const int at = input.address;
    const uint8_t commas = nvm[at + 2];
    return nmeaPart(picklists::kNmeaTalkers, nvm[at]) + " "
           + nmeaPart(picklists::kNmeaSentences, nvm[at + 1]) + ", " + std::to_string(commas)
           + (commas == 1 ? " comma" : " commas");
}

// Names of the data sources whose alarm limits a record holds.
std::string alarmRecordOwner(int record)
{
    std::string names;
    for (int code = 0; code < kCodesWithEntries; ++code) {
        const DataSourceInfo &info = dataSourceInfo(uint8_t(code));
        if (info.alarmRecord != record)
            continue;
        const std::string name
            = info.name.empty() ? "data source " + std::to_string(code) : std::string(info.name);
        names += (names.empty() ? "" : " / ") + name;
    }
    return names.empty()
               ? std::string(kAlarmRecords.first.caption) + " at byte " + std::to_string(record)
               : names;
}

int alarmDecimals(int record)
{
    for (int code = 0; code < kCodesWithEntries; ++code)
        if (dataSourceInfo(uint8_t(code)).alarmRecord == record)
            return dataSourceInfo(uint8_t(code)).alarmDecimals;
    return 0;
}

std::string serialText(const IntNvmTable &nvm)
{
    std::array<int, 4> bytes{};
    for (int i = 0; i < kSerialNumber.width; ++i)
        bytes[size_t(i)] = nvm[kSerialNumber.address + i];
    return std::to_string(serialNumberFromBytes(bytes));
}

std::vector<WordedField> makeWordedFields()
{
    std::vector<WordedField> f;
    f.push_back(codedField(kSpeedUnits, speedUnitsText));
    f.push_back(flagField(kTemperatureUnits, "Deg. F", "Deg. C"));
    f.push_back(flagField(kPressureUnits, "PSI", "Bars"));
    f.push_back(flagField(kTimeFormat, "12 Hr", "24 Hr"));
    f.push_back(flagField(kBarGraphType, "Bar Chart", "Pointer"));
    f.push_back(codedField(kTachoSensitivity, sensitivityText));
    for (const SettingsField &field :
         {kTachoPulleyRatio, kFuelTankSize, kSecondTankSize, kMaintenanceAlarm})
        f.push_back(plainField(field));
    for (size_t k = 0; k < kDampingFields.size(); ++k)
        f.push_back(plainField(kDampingFields[k],
                               std::string(kDampingFields[k].caption) + " of "
                                   + std::string(picklists::kDampingFunctions[k])));
    for (int k = 0; k < kTodAlarms.count; ++k)
        f.push_back(
            plainField(kTodAlarms.at(k),
                       std::string(kTodAlarms.first.caption) + " #" + std::to_string(k + 1)));
    for (int k = 0; k < kAlarmRecords.count; ++k) {
        const int record = kAlarmRecords.at(k).address;
        const int decimals = alarmDecimals(record);
        for (const SettingsField &limit : {lowAlarm(record), highAlarm(record)})
            f.push_back({alarmRecordOwner(record) + " " + std::string(limit.caption),
                         limit,
                         [limit, decimals](const IntNvmTable &nvm) {
                             return limitText(uint16_t(fieldValue(limit, nvm)), decimals);
                         }});
    }
    const std::array<std::pair<SettingsField, picklists::Items>, 5> senders = {{
        {kEngineTempSender, picklists::kEngineTempSenders},
        {kFuelSender, picklists::kFuelSenders},
        {kOilPressureSender, picklists::kOilPressureSenders},
        {kTrimSender, picklists::kTrimSenders},
        {kSecondTankSender, picklists::kSecondTankSenders},
    }};
    for (const auto &[field, list] : senders)
        f.push_back(codedField(field, [list](unsigned code) { return senderText(list, code); }));
    for (const SettingsField &field : kFineCalibrations)
        f.push_back(
            plainField(field,
                       std::string(field.caption) + " at byte " + std::to_string(field.address)));
    f.push_back(plainField(kRaceTimer));
    for (int k = 0; k < kNmeaInputs.count; ++k) {
        const SettingsField input = kNmeaInputs.at(k);
        f.push_back({std::string(input.caption) + " " + std::string(kNmeaInputNames[size_t(k)]),
                     input,
                     [input](const IntNvmTable &nvm) {
                         return nmeaText(input, nvm);
                     }});
    }
    for (const SettingsField &field : {kFirmwareUpdate, kCurrentConfiguration, kUploadCounter})
        f.push_back(plainField(field));
    f.push_back({std::string(kSerialNumber.caption), kSerialNumber, serialText});
    for (const SettingsField &field : {kFirstUploadDate, kFirmwareVersion, kSettingsCheckByte})
        f.push_back(plainField(field));
    return f;
}

const std::vector<WordedField> &wordedFields()
{
    static const std::vector<WordedField> fields = makeWordedFields();
    return fields;
}

using GroupLines = std::array<std::vector<std::string>, kDifferenceGroups>;

void describeSettings(const Comparison &comparison, GroupLines &lines)
{
    const IntNvmTable &a = comparison.before.IntNvm;
    const IntNvmTable &b = comparison.after.IntNvm;
    const std::set<int> listed(comparison.differences.settings.begin(),
                               comparison.differences.settings.end());
    std::map<int, uint8_t> worded; // address -> bits some line names
    for (const auto &[name, field, text] : wordedFields()) {
        bool differs = false;
        for (int at = field.address; at < field.end(); ++at) {
            differs = differs || (listed.count(at) && ((a[at] ^ b[at]) & field.mask));
            worded[at] |= field.mask;
        }
        if (differs)
            lines[size_t(settingsGroup(field.address))].push_back(
                changeLine(name, text(a), text(b), storedText(field, a), storedText(field, b)));
    }
    for (const int at : comparison.differences.settings)
        if ((a[at] ^ b[at]) & ~worded[at])
            lines[size_t(settingsGroup(at))].push_back(
                changeLine("Settings byte " + std::to_string(at),
                           byteText(a[at]),
                           byteText(b[at])));
}

// --- display configurations ---------------------------------------------------

constexpr std::array<std::string_view, 5> kSourceNames = {"digital display 1",
                                                          "digital display 2",
                                                          "digital display 3",
                                                          "left bar graph",
                                                          "right bar graph"};

// The icons' names where their captions alone would be ambiguous, in kIcons order.
constexpr std::array<std::string_view, kIconItemCount> kIconNames = {
    "Right Up Arrow",
    "Left Up Arrow",
    "NMEA3 right arrow",
    "NMEA3",
    "NMEA2 up arrow",
    "NMEA2",
    "NMEA2 down arrow",
    "NMEA1",
    "TEMP.",
    "FUEL",
    "lower RPM",
    "lower DEPTH",
    "VDC",
    "lower SPEED",
    "OIL",
    "upper RPM",
    "upper DEPTH",
    "upper SPEED",
    "NMEA1 left arrow",
    "DEG",
};

std::string sourceText(uint8_t code)
{
    const std::string_view name = dataSourceName(code);
    return name.empty() ? "code " + std::to_string(code) : std::string(name);
}

struct BarLimit
{
    int at;
    int sourceByte;
    std::string_view name;
};

constexpr std::array<BarLimit, 4> kBarLimits = {{
    {89, 88, "left bar lower limit"},
    {91, 88, "left bar upper limit"},
    {109, 108, "right bar lower limit"},
    {111, 108, "right bar upper limit"},
}};

void describeConfiguration(int c,
                           const std::set<int> &bytes,
                           const CdcTable &a,
                           const CdcTable &b,
                           std::vector<std::string> &lines)
{
    const std::string prefix = "Configuration " + std::to_string(c) + ", ";
    std::map<int, uint8_t> worded;
    const auto differs = [&](int n, uint8_t mask) {
        return bytes.count(n) && ((a(c, n) ^ b(c, n)) & mask);
    };
    const auto onOff = [](bool on) {
        return std::string(on ? "on" : "off");
    };

    for (size_t k = 0; k < kSourceBytes.size(); ++k) {
        const int n = kSourceBytes[k];
        worded[n] = 0xFF;
        if (differs(n, 0xFF))
            lines.push_back(changeLine(prefix + std::string(kSourceNames[k]),
                                       sourceText(a(c, n)),
                                       sourceText(b(c, n)),
                                       byteText(a(c, n)),
                                       byteText(b(c, n))));
    }
    for (size_t k = 0; k < kIcons.size(); ++k) {
        const IconInfo &icon = kIcons[k];
        worded[icon.cdcByte] |= icon.bitValue;
        if (differs(icon.cdcByte, icon.bitValue))
            lines.push_back(changeLine(prefix + "icon " + std::string(kIconNames[k]),
                                       onOff(a(c, icon.cdcByte) & icon.bitValue),
                                       onOff(b(c, icon.cdcByte) & icon.bitValue)));
    }
    for (const BarLimit &limit : kBarLimits) {
        worded[limit.at] = worded[limit.at + 1] = 0xFF;
        if (differs(limit.at, 0xFF) || differs(limit.at + 1, 0xFF))
            lines.push_back(
                changeLine(prefix + std::string(limit.name),
                           limitText(a.word(c, limit.at), GetDecimalPlaces(a(c, limit.sourceByte))),
                           limitText(b.word(c, limit.at), GetDecimalPlaces(b(c, limit.sourceByte))),
                           std::to_string(a.word(c, limit.at)),
                           std::to_string(b.word(c, limit.at))));
    }
    worded[0] = 0xFF;
    if (differs(0, 0xFF))
        lines.push_back(changeLine(prefix + "check byte", byteText(a(c, 0)), byteText(b(c, 0))));
    for (const int n : bytes)
        if ((a(c, n) ^ b(c, n)) & ~worded[n])
            lines.push_back(changeLine(prefix + "byte " + std::to_string(n),
                                       byteText(a(c, n)),
                                       byteText(b(c, n))));
}

void describeConfigurations(const Comparison &comparison, GroupLines &lines)
{
    std::map<int, std::set<int>> byConfiguration;
    for (const auto &[c, n] : comparison.differences.configurations)
        byConfiguration[c].insert(n);
    auto &group = lines[size_t(categoryIndex(Category::DisplayConfigurations))];
    for (const auto &[c, bytes] : byConfiguration)
        describeConfiguration(c, bytes, comparison.before.CDC, comparison.after.CDC, group);
}

void describeCurves(const Comparison &comparison, GroupLines &lines)
{
    auto &group = lines[size_t(categoryIndex(Category::SenderCurves))];
    // A record that cannot become points is shown as the default curve, so
    // the points alone would not say what is going on.
    const auto odd = [](const char *side, const std::string &why) {
        return why.empty() ? std::string()
                           : "; " + std::string(side) + " cannot become points: " + why;
    };
    for (const CurveDifference &d : comparison.differences.curves)
        group.push_back("Sender curve " + std::to_string(d.curve) + ": " + std::to_string(d.points)
                        + (d.points == 1 ? " point differs" : " points differ")
                        + odd("what the Orvane holds", d.beforeOdd)
                        + odd("what it will hold", d.afterOdd));
}

Result<ConfigImage> readImage(Platform &platform, const std::string &path)
{
    ConfigImage image;
    writeDefaultConfigurations(image.CDC);
    writeDefaultIntNvm(image.IntNvm);
    FileState files;
    files.WorkingFolder = platform.files.programFolder();
    const ConfigRead read = readConfigFile(image, files, platform, path);
    if (read.failure)
        return failure(readFailureMessage(path, *read.failure));
    return image;
}

} // namespace

DifferenceReport describeDifferences(const Comparison &comparison)
{
    GroupLines lines;
    describeConfigurations(comparison, lines);
    describeSettings(comparison, lines);
    describeCurves(comparison, lines);
    DifferenceReport report;
    for (int g = 0; g < kDifferenceGroups; ++g)
        if (!lines[size_t(g)].empty())
            report.push_back({std::string(groupTitle(g)), lines[size_t(g)]});
    return report;
}

std::string reportText(const DifferenceReport &report)
{
    std::string text;
    for (const DifferenceGroup &group : report) {
        text += group.title + "\n";
        for (const std::string &line : group.lines)
            text += "    " + line + "\n";
    }
    return text;
}

Result<DifferenceReport>
compareConfigFiles(Platform &platform, const std::string &before, const std::string &after)
{
    const Result<ConfigImage> a = readImage(platform, before);
    if (!a)
        return failure(a.error());
    const Result<ConfigImage> b = readImage(platform, after);
    if (!b)
        return failure(b.error());
    return describeDifferences(compareImages(*a, *b));
}

std::optional<DifferenceReport> compareWithOrvane(Transfers &transfers, const Selection &categories)
{
    Comparison comparison;
    const TransferResult result = transfers.CompareWithOrvane(categories, comparison);
    if (!result || *result != TransferOutcome::Completed)
        return std::nullopt;
    return describeDifferences(comparison);
}

} // namespace orvane
