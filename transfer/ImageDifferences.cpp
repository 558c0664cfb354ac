#include "transfer/ImageDifferences.h"

#include "transfer/CurveDecoding.h"
#include "transfer/UploadPlan.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvane {

namespace {

constexpr int kPointBytes = 4;

// The check byte of a record counts only where nothing it guards differs.
template<typename ByteAt>
void addRecordDifferences(int first, int last, ByteAt differs, std::vector<int> &out)
{
    const size_t before = out.size();
    for (int i = first + 1; i <= last; ++i)
        if (differs(i))
            out.push_back(i);
    if (out.size() == before && differs(first))
        out.insert(out.begin() + long(before), first);
}

void addConfigurationDifferences(int c,
                                 const auto &byteA,
                                 const auto &byteB,
                                 ImageDifferences &differences)
{
    std::vector<int> bytes;
    addRecordDifferences(
        0,
        kConfigBytes - 1,
        [&](int b) { return byteA(b) != byteB(b); },
        bytes);
    for (const int b : bytes)
        differences.configurations.emplace_back(c, b);
}

bool sameFloat(float a, float b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

// Settings bytes by group, built once.
const std::array<int, kSettingsSize> &settingsGroups()
{
    static const std::array<int, kSettingsSize> groups = [] {
        std::array<int, kSettingsSize> g{};
        g.fill(kOtherSettingsGroup);
        for (const int i : nmeaSelectionAddresses())
            g[size_t(i)] = kNmeaInputsGroup;
        for (const CategoryInfo &info : kCategories)
            for (const int i : categoryAddresses(info.category))
                g[size_t(i)] = categoryIndex(info.category);
        return g;
    }();
    return groups;
}

std::string numberList(const std::vector<int> &numbers)
{
    std::string text;
    for (const int n : numbers)
        text += (text.empty() ? " " : ", ") + std::to_string(n);
    return text;
}

} // namespace

ImageDifferences snapshotDifferences(const InstrumentSnapshot &held,
                                     const InstrumentSnapshot &target,
                                     bool withBookkeeping)
{
    ImageDifferences differences;
    const auto settingDiffers = [&](int i) {
        return held.settings[size_t(i)] != target.settings[size_t(i)];
    };
    if (withBookkeeping)
        addRecordDifferences(0, kSettingsSize - 1, settingDiffers, differences.settings);
    else
        for (int i = 0; i < kSettingsSize; ++i)
            if (!isUploadBookkeeping(i) && settingDiffers(i))
                differences.settings.push_back(i);

    if (held.hasConfigurations && target.hasConfigurations)
        for (int c = 1; c <= kConfigurations; ++c) {
            const EepromRecord &a = held.configurations[size_t(c - 1)];
            const EepromRecord &b = target.configurations[size_t(c - 1)];
            addConfigurationDifferences(
                c,
                [&](int n) { return a[size_t(n)]; },
                [&](int n) { return b[size_t(n)]; },
                differences);
        }

    if (held.hasCurves && target.hasCurves)
        for (int i = 0; i < kUploadedCurveCount; ++i) {
            const EepromRecord &a = held.curves[size_t(i)];
            const EepromRecord &b = target.curves[size_t(i)];
            int points = 0;
            for (size_t at = 0; at < a.size(); at += kPointBytes)
                if (!std::equal(a.begin() + long(at),
                                a.begin() + long(at + kPointBytes),
                                b.begin() + long(at)))
                    ++points;
            if (points > 0) {
                const int n = kUploadedCurves[size_t(i)];
                differences.curves.push_back({n, points, whyNotPoints(a, n), whyNotPoints(b, n)});
            }
        }
    return differences;
}

ImageDifferences imageDifferences(const ConfigImage &a, const ConfigImage &b)
{
    ImageDifferences differences;
    addRecordDifferences(
        0,
        kSettingsSize - 1,
        [&](int i) { return a.IntNvm[i] != b.IntNvm[i]; },
        differences.settings);

    for (int c = 1; c <= kConfigurations; ++c)
        addConfigurationDifferences(
            c,
            [&](int n) { return a.CDC(c, n); },
            [&](int n) { return b.CDC(c, n); },
            differences);

    for (int n = 1; n <= kCurves; ++n) {
        int points = 0;
        for (int p = 1; p <= kCurvePoints; ++p)
            if (!sameFloat(a.CalCurve(n, p, 1), b.CalCurve(n, p, 1))
                || !sameFloat(a.CalCurve(n, p, 2), b.CalCurve(n, p, 2)))
                ++points;
        if (points > 0)
            differences.curves.push_back({n, points, {}, {}});
    }
    return differences;
}

Comparison compareImages(const ConfigImage &before, const ConfigImage &after)
{
    return {before, after, imageDifferences(before, after)};
}

int settingsGroup(int address)
{
    if (address < 0 || address >= kSettingsSize)
        return kOtherSettingsGroup;
    return settingsGroups()[size_t(address)];
}

std::string_view groupTitle(int group)
{
    if (group >= 0 && group < kCategoryCount)
        return kCategories[size_t(group)].caption;
    return group == kNmeaInputsGroup ? "NMEA Inputs" : "Other Settings";
}

std::string differenceSummary(const ImageDifferences &differences)
{
    std::array<std::vector<int>, kDifferenceGroups> numbers;
    std::array<bool, kDifferenceGroups> differs{};
    for (const int i : differences.settings)
        differs[size_t(settingsGroup(i))] = true;
    for (const auto &[c, b] : differences.configurations) {
        auto &configs = numbers[size_t(categoryIndex(Category::DisplayConfigurations))];
        if (configs.empty() || configs.back() != c)
            configs.push_back(c);
    }
    for (const CurveDifference &d : differences.curves)
        numbers[size_t(categoryIndex(Category::SenderCurves))].push_back(d.curve);

    std::string summary;
    for (int g = 0; g < kDifferenceGroups; ++g) {
        if (!differs[size_t(g)] && numbers[size_t(g)].empty())
            continue;
        if (!summary.empty())
            summary += "; ";
        summary += std::string(groupTitle(g)) + numberList(numbers[size_t(g)]);
    }
    return summary.empty() ? "Nothing" : summary;
}

} // namespace orvane
