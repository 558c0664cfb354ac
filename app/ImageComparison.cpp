#include "app/ImageComparison.h"

#include "app/PickLists.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "config/FileCommands.h"
#include "config/NumberText.h"
#include "config/SenderLists.h"
#include "editors/DampingAndAlarms.h"
#include "editors/DataSources.h"
#include "editors/DisplayEncoding.h"
#include "editors/EditMenuSettings.h"
#include "editors/IconBits.h"
#include "editors/LimitValues.h"
#include "link/CommandFrames.h"
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

// A setting: the bits it occupies and how its value reads.
struct SettingsField
{
    std::string name;
    std::vector<std::pair<int, uint8_t>> bits; // address and mask
    std::function<std::string(const IntNvmTable &)> text;
};

std::vector<std::pair<int, uint8_t>> wholeBytes(int first, int count)
{
    std::vector<std::pair<int, uint8_t>> bits;
    for (int i = first; i < first + count; ++i)
        bits.emplace_back(i, 0xFF);
    return bits;
}

std::string byteText(uint8_t value)
{
    return std::to_string(value);
}

std::string speedUnits(const IntNvmTable &nvm)
{
    switch (nvm[1] & 0x60) {
    case 0x00:
        return "Knots/NM";
    case 0x20:
        return "MPH/Miles";
    case 0x40:
        return "KPH/Km";
    }
    return "none (both speed bits set)";
}

// A flag of the units byte, by the captions of its two menu items.
SettingsField flagField(const std::string &name, uint8_t mask, std::string set, std::string clear)
{
    return {name, {{1, mask}}, [=](const IntNvmTable &nvm) {
                return (nvm[1] & mask) ? set : clear;
            }};
}

std::string sensitivityText(const IntNvmTable &nvm)
{
    const uint8_t code = nvm[2] & 0x0F;
    const auto *found = std::find(kSensitivityCodes.begin(), kSensitivityCodes.end(), code);
    if (found == kSensitivityCodes.end())
        return "code " + std::to_string(code);
    return std::string(kSensitivityCaptions[size_t(found - kSensitivityCodes.begin())]);
}

// The field's stored bits: a 16-bit word as one number, else byte by byte.
std::string storedText(const SettingsField &field, const IntNvmTable &nvm)
{
    const auto &bits = field.bits;
    if (bits.size() == 2 && bits[0].second == 0xFF && bits[1].second == 0xFF)
        return std::to_string(nvm.word(bits[0].first));
    std::string text;
    for (const auto &[at, mask] : bits)
        text += (text.empty() ? "" : " ") + std::to_string(nvm[at] & mask);
    return text;
}

// Hours to the tenth, as they are typed; minutes where a tenth cannot hold them.
std::string maintenanceText(uint16_t minutes)
{
    constexpr int kMinutesPerTenth = 6;
    constexpr int kMinutesPerHour = 60;
    if (minutes % kMinutesPerTenth == 0)
        return formatDecimals(minutes / double(kMinutesPerHour), 1) + " hours";
    const int rest = minutes % kMinutesPerHour;
    return std::to_string(minutes / kMinutesPerHour) + " hours " + std::to_string(rest)
           + (rest == 1 ? " minute" : " minutes");
}

std::string tenthsText(uint16_t value)
{
    return formatDecimals(value / 10.0, 1);
}

// The sender list item for a stored code: every item but "0:  None" starts
// with its code.
std::string senderText(picklists::Items list, uint8_t code)
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

std::string nmeaText(const IntNvmTable &nvm, int at)
{
    if (nvm[at] == 0 && nvm[at + 1] == 0 && nvm[at + 2] == 0)
        return "nothing chosen";
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
    return names.empty() ? "Alarm record at byte " + std::to_string(record) : names;
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
    return std::to_string(serialNumberFromBytes({nvm[kSerialNumberAddress],
                                                 nvm[kSerialNumberAddress + 1],
                                                 nvm[kSerialNumberAddress + 2],
                                                 nvm[kSerialNumberAddress + 3]}));
}

std::string dateText(const IntNvmTable &nvm)
{
    const int at = kFirstUploadDateAddress;
    if (nvm[at] == 255 && nvm[at + 1] == 255 && nvm[at + 2] == 255)
        return "none";
    return twoDigits(nvm[at]) + "-" + twoDigits(nvm[at + 1]) + "-" + twoDigits(nvm[at + 2]);
}

std::vector<SettingsField> makeSettingsFields()
{
    const auto word = [](int at) {
        return [at](const IntNvmTable &nvm) {
            return std::to_string(nvm.word(at));
        };
    };
    const auto byte = [](int at) {
        return [at](const IntNvmTable &nvm) {
            return byteText(nvm[at]);
        };
    };
    std::vector<SettingsField> f;
    f.push_back({"Speed units", {{1, 0x60}}, speedUnits});
    f.push_back(flagField("Temperature units", 0x08, "Deg. F", "Deg. C"));
    f.push_back(flagField("Pressure units", 0x10, "PSI", "Bars"));
    f.push_back(flagField("Time format", 0x04, "12 Hr", "24 Hr"));
    f.push_back(flagField("Bar graph type", 0x02, "Bar Chart", "Pointer"));
    f.push_back({"Tacho sensitivity", {{2, 0x0F}}, sensitivityText});
    f.push_back({"Tacho pulley ratio", wholeBytes(7, 1), [](const IntNvmTable &nvm) {
                     return std::to_string(nvm[7]) + ":1";
                 }});
    f.push_back({"Fuel tank size", wholeBytes(21, 2), [](const IntNvmTable &nvm) {
                     return tenthsText(nvm.word(21));
                 }});
    f.push_back({"Second tank size", wholeBytes(23, 2), [](const IntNvmTable &nvm) {
                     return tenthsText(nvm.word(23));
                 }});
    f.push_back({"Engine maintenance alarm", wholeBytes(114, 2), [](const IntNvmTable &nvm) {
                     return maintenanceText(nvm.word(114));
                 }});
    for (size_t k = 0; k < kDampingBytes.size(); ++k)
        f.push_back({"Display damping of " + std::string(picklists::kDampingFunctions[k]),
                     wholeBytes(kDampingBytes[k], 1),
                     byte(kDampingBytes[k])});
    for (int k = 0; k < kTodAlarmCount; ++k) {
        const int at = kFirstTodAlarmByte + 2 * k;
        f.push_back({"Time-of-day alarm #" + std::to_string(k + 1),
                     wholeBytes(at, 2),
                     [at](const IntNvmTable &nvm) {
                         return twoDigits(nvm[at]) + ":" + twoDigits(nvm[at + 1]);
                     }});
    }
    constexpr int kFirstAlarmRecord = 128;
    constexpr int kLastAlarmRecord = 224;
    for (int r = kFirstAlarmRecord; r <= kLastAlarmRecord; r += 4) {
        const int decimals = alarmDecimals(r);
        for (const auto &[limit, at] : {std::pair{"low alarm", r}, std::pair{"high alarm", r + 2}})
            f.push_back({alarmRecordOwner(r) + " " + limit,
                         wholeBytes(at, 2),
                         [at, decimals](const IntNvmTable &nvm) {
                             return limitText(nvm.word(at), decimals);
                         }});
    }
    const std::array<std::pair<int, picklists::Items>, 5> senders = {{
        {kEngineTempSenderByte, picklists::kEngineTempSenders},
        {kFuelSenderByte, picklists::kFuelSenders},
        {kOilPressureSenderByte, picklists::kOilPressureSenders},
        {kTrimSenderByte, picklists::kTrimSenders},
        {kSecondTankSenderByte, picklists::kSecondTankSenders},
    }};
    const std::array<std::string_view, 5> senderNames = {"Engine temperature sender",
                                                         "Fuel sender",
                                                         "Oil pressure sender",
                                                         "Trim sender",
                                                         "Second tank sender"};
    for (size_t k = 0; k < senders.size(); ++k) {
        const auto [at, list] = senders[k];
        f.push_back(
            {std::string(senderNames[k]), wholeBytes(at, 1), [at, list](const IntNvmTable &nvm) {
                 return senderText(list, nvm[at]);
             }});
    }
    for (const int at : {26, 28, 30, 33, 35, 37, 39, 41, 43, 64, 111})
        f.push_back(
            {"Fine calibration at byte " + std::to_string(at), wholeBytes(at, 2), word(at)});
    f.push_back({"Fine calibration at byte 45", wholeBytes(45, 1), byte(45)});
    f.push_back({"Race timer setting", wholeBytes(66, 1), byte(66)});
    constexpr std::array<std::string_view, 8> kInputs
        = {"#1A", "#1B", "#2A", "#2B", "#3A", "#3B", "#4A", "#4B"};
    for (size_t k = 0; k < kInputs.size(); ++k) {
        const int at = 68 + 3 * int(k);
        f.push_back({"NMEA input " + std::string(kInputs[k]),
                     wholeBytes(at, 3),
                     [at](const IntNvmTable &nvm) {
                         return nmeaText(nvm, at);
                     }});
    }
    f.push_back({"Firmware update request", wholeBytes(kFirmwareUpdateRequestAddress, 1), byte(3)});
    f.push_back({"Configuration being edited", wholeBytes(6, 1), byte(6)});
    f.push_back({"Upload counter", wholeBytes(kUploadCounterAddress, 2), word(10)});
    f.push_back({"Serial number", wholeBytes(kSerialNumberAddress, 4), serialText});
    f.push_back({"Date of the first upload", wholeBytes(kFirstUploadDateAddress, 3), dateText});
    f.push_back({"Firmware version", wholeBytes(kFirmwareVersionAddress, 1), byte(94)});
    f.push_back({"Settings check byte", wholeBytes(kNvmChecksumAddress, 1), byte(0)});
    return f;
}

const std::vector<SettingsField> &settingsFields()
{
    static const std::vector<SettingsField> fields = makeSettingsFields();
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
    for (const SettingsField &field : settingsFields()) {
        const bool differs
            = std::any_of(field.bits.begin(), field.bits.end(), [&](const auto &bit) {
                  const auto [at, mask] = bit;
                  return listed.count(at) && ((a[at] ^ b[at]) & mask);
              });
        for (const auto &[at, mask] : field.bits)
            worded[at] |= mask;
        if (differs)
            lines[size_t(settingsGroup(field.bits.front().first))].push_back(
                changeLine(field.name,
                           field.text(a),
                           field.text(b),
                           storedText(field, a),
                           storedText(field, b)));
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
