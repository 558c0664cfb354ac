#include "transfer/TransferImage.h"

#include "config/NumberText.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr float kInputScale = 1023.0f; // the instrument's 10-bit input
constexpr float kBridgeOhms = 180.0f;  // the resistor the sender works against
constexpr int kLastInput = 1023;
constexpr int kMaxWord = 65535;
constexpr int kPointsPerCurve = 32;

uint8_t clampByte(double v)
{
    if (!(v >= 0)) // NaN included
        return 0;
    return uint8_t(std::min(v, 255.0));
}

int clampWord(double v)
{
    if (!(v >= 0))
        return 0;
    return int(std::min(v, double(kMaxWord)));
}

// The slope between two points; two points at the same input give a flat
// line instead of a division by zero.
double slope(const CurvePoint &a, const CurvePoint &b)
{
    const int run = a.input() - b.input();
    if (run == 0)
        return 0;
    return double(a.value() - b.value()) / double(run);
}

CurvePoint pointAt(uint8_t inputHigh, uint8_t inputLow, int value)
{
    const int high = value / 256;
    return {inputHigh, inputLow, uint8_t(high), uint8_t(value - 256 * high)};
}

} // namespace

void bumpUploadCounter(SettingsImage &buffer, bool newUnit)
{
    uint8_t &high = buffer[kUploadCounter.address];
    uint8_t &low = buffer[kUploadCounter.address + 1];
    if (newUnit) {
        high = 0;
        low = 1;
        return;
    }
    if (low == 255) {
        low = 0;
        high = uint8_t(high + 1);
    } else {
        ++low;
    }
}

bool keepFirstUploadDate(SettingsImage &buffer, const LocalDateTime &today)
{
    const int year = today.year % 100;
    const long long fresh = year * 100000LL + today.month * 1000LL + today.day;
    // Year, then month and day.
    uint8_t *stored = &buffer[kFirstUploadDate.address];
    const long long old = stored[0] * 100000LL + stored[1] * 1000LL + stored[2];
    if (old <= fresh)
        return false;
    stored[0] = uint8_t(year);
    stored[1] = uint8_t(today.month);
    stored[2] = uint8_t(today.day);
    return true;
}

void mergeUploadCategories(SettingsImage &buffer, const IntNvmTable &nvm, const Selection &ticks)
{
    const auto take = [&](const std::vector<int> &addresses) {
        for (const int i : addresses)
            buffer[size_t(i)] = nvm[i];
    };
    for (const Category c : kUploadMergeOrder) {
        if (c == Category::FineCalibrations)
            take(nmeaSelectionAddresses());
        if (isTicked(ticks, c))
            take(categoryAddresses(c));
    }
}

void copyDownloadCategories(IntNvmTable &nvm, const SettingsImage &buffer, const Selection &ticks)
{
    for (const Category c : kDownloadOrder) {
        if (!isTicked(ticks, c))
            continue;
        for (const int i : categoryAddresses(c))
            nvm[i] = buffer[size_t(i)];
    }
}

std::array<uint8_t, 128> configurationRecord(CdcTable &cdc, int c)
{
    cdc(c, 0) = cdc.checkByte(c);
    std::array<uint8_t, 128> record{};
    for (int b = 0; b < 128; ++b)
        record[size_t(b)] = cdc(c, b);
    return record;
}

CurvePoint encodeCurvePoint(float ohms, float reading)
{
    float a = ohms * kInputScale / (ohms + kBridgeOhms);
    if (!std::isfinite(a))
        a = 0; // a sender of -180 ohms has no place on the scale
    CurvePoint p;
    const double inputHigh = roundHalfEven(double(a / 256.0f - 0.5f));
    p.inputHigh = clampByte(inputHigh);
    p.inputLow = clampByte(roundHalfEven(double(a - 256.0f * float(p.inputHigh))));
    const double valueHigh = roundHalfEven(double(reading / 256.0f - 0.5f));
    p.valueHigh = clampByte(valueHigh);
    p.valueLow = clampByte(std::floor(double(reading - 256.0f * float(p.valueHigh))));
    return p;
}

std::array<CurvePoint, 32> curvePoints(const CalCurveTable &curves, int n)
{
    constexpr int kOhms = 1;
    constexpr int kReading = 2;
    std::array<CurvePoint, kPointsPerCurve> points{};
    for (int p = 1; p <= kPointsPerCurve; ++p)
        points[size_t(p - 1)] = encodeCurvePoint(curves(n, p, kOhms), curves(n, p, kReading));

    CurvePoint &first = points.front();
    const double firstSlope = slope(first, points[1]);
    const int atZero = clampWord(roundHalfEven(first.value() - first.input() * firstSlope));
    first = pointAt(0, 0, atZero);

    const CurvePoint &beforeLast = points[kPointsPerCurve - 2];
    const double lastSlope = slope(beforeLast, points.back());
    const int atEnd
        = clampWord(std::floor((kLastInput - beforeLast.input()) * lastSlope + beforeLast.value()));
    points.back() = pointAt(kLastInput / 256, kLastInput % 256, atEnd);
    return points;
}

std::array<uint8_t, 128> curveRecord(const CalCurveTable &curves, int n)
{
    std::array<uint8_t, 128> record{};
    const auto points = curvePoints(curves, n);
    for (size_t p = 0; p < points.size(); ++p) {
        record[4 * p] = points[p].inputHigh;
        record[4 * p + 1] = points[p].inputLow;
        record[4 * p + 2] = points[p].valueHigh;
        record[4 * p + 3] = points[p].valueLow;
    }
    return record;
}

} // namespace orvane
