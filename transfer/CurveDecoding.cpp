#include "transfer/CurveDecoding.h"

#include "transfer/TransferImage.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>

namespace orvane {

namespace {

constexpr int kPoints = 32;
constexpr int kOhms = 1;
constexpr int kReading = 2;
constexpr double kBridgeOhms = 180;  // the resistor the sender works against
constexpr double kInputScale = 1023; // the top of the 10-bit input
constexpr int kTopInput = 1023;
constexpr int kMaxWord = 65535;
// Resistances are tried as whole ohms first, then with up to this many decimals.
constexpr int kMaxDecimals = 6;
// Last resort for a resistance: this many neighbouring single-precision values.
constexpr int kNearbyFloats = 64;
// Values tried around the one the last point aims at.
constexpr std::array<int, 3> kLastPointValueOffsets = {0, -1, 1};

CurvePoint pointOf(const std::array<uint8_t, 128> &record, int p)
{
    const size_t at = 4 * size_t(p - 1);
    return {record[at], record[at + 1], record[at + 2], record[at + 3]};
}

bool givesInput(float ohms, int input)
{
    return encodeCurvePoint(ohms, 0).input() == input;
}

bool givesValue(float reading, int value)
{
    return encodeCurvePoint(0, reading).value() == value;
}

// The plainest resistance that lands on input step `input`.
std::optional<float> ohmsForInput(int input)
{
    // Aim at the step itself, then just beside it: where a step starts a new
    // high byte the encoding's halves-to-even rounding can push the step
    // itself into its neighbour.
    for (const double a : {double(input), input - 0.25, input + 0.25}) {
        if (a == kInputScale)
            continue; // only an infinite resistance sits there
        const double centre = kBridgeOhms * a / (kInputScale - a);
        for (int d = 0; d <= kMaxDecimals; ++d) {
            const double scale = std::pow(10.0, d);
            const float ohms = float(std::round(centre * scale) / scale);
            if (givesInput(ohms, input))
                return ohms;
        }
        float up = float(centre);
        float down = up;
        for (int k = 0; k < kNearbyFloats; ++k) {
            if (givesInput(up, input))
                return up;
            if (givesInput(down, input))
                return down;
            up = std::nextafter(up, std::numeric_limits<float>::infinity());
            down = std::nextafter(down, -std::numeric_limits<float>::infinity());
        }
    }
    return std::nullopt;
}

// A whole reading where the encoding keeps it, else one just above it.
std::optional<float> readingForValue(int value)
{
    for (const double v : {double(value), value + 0.5, value + 0.25})
        if (givesValue(float(v), value))
            return float(v);
    return std::nullopt;
}

bool setPoint(CalCurveTable &curves, int n, int p, int input, int value)
{
    const std::optional<float> ohms = ohmsForInput(input);
    const std::optional<float> reading = readingForValue(value);
    if (!ohms || !reading)
        return false;
    curves(n, p, kOhms) = *ohms;
    curves(n, p, kReading) = *reading;
    return true;
}

// Point 32 such that the extrapolation along points 31 and 32 lands on the
// record's last value at input 1023. At the top input itself the value would
// be the record's, but the extrapolation's floating-point rounding can put it
// a hair below a whole step; lower inputs aim the line at the middle of the
// step instead.
bool fitLastPoint(const CurvePoint &last, CalCurveTable &curves, int n)
{
    const CurvePoint beforeLast = curvePoints(curves, n)[kPoints - 2];
    const int run = kTopInput - beforeLast.input();
    for (int input = kTopInput; input >= 0; --input) {
        const double aim = last.value() + 0.5 - beforeLast.value();
        const double ideal = run == 0
                                 ? last.value()
                                 : beforeLast.value() + aim * (input - beforeLast.input()) / run;
        for (const int offset : kLastPointValueOffsets) {
            const long value = std::lround(ideal) + offset;
            if (value < 0 || value > kMaxWord || !setPoint(curves, n, kPoints, input, int(value)))
                continue;
            if (curvePoints(curves, n).back() == last)
                return true;
        }
    }
    return false;
}

std::string pointText(int p, const CurvePoint &point)
{
    return "point " + std::to_string(p) + " (input " + std::to_string(point.input()) + ", value "
           + std::to_string(point.value()) + ")";
}

} // namespace

Result<> decodeCurveRecord(const std::array<uint8_t, 128> &record, CalCurveTable &curves, int n)
{
    if (std::all_of(record.begin(), record.end(), [](uint8_t b) { return b == 0xFF; }))
        return failure("it is blank (every byte 255): nothing was ever written there");
    const CurvePoint first = pointOf(record, 1);
    const CurvePoint last = pointOf(record, kPoints);
    if (first.input() != 0)
        return failure("its first point is at input " + std::to_string(first.input())
                       + ", where every uploaded curve starts at input 0");
    if (last.input() != kTopInput)
        return failure("its last point is at input " + std::to_string(last.input())
                       + ", where every uploaded curve ends at input 1023");
    CalCurveTable decoded = curves;
    for (int p = 2; p < kPoints; ++p) {
        const CurvePoint point = pointOf(record, p);
        if (!setPoint(decoded, n, p, point.input(), point.value()))
            return failure(pointText(p, point) + " matches no sender resistance and reading");
    }
    // At 0 ohms the first point already sits at input 0, where the upload
    // moves it, so the extrapolation hands its value back unchanged.
    if (!setPoint(decoded, n, 1, 0, first.value()))
        return failure(pointText(1, first) + " matches no reading");
    if (!fitLastPoint(last, decoded, n))
        return failure("its last value " + std::to_string(last.value()) + " cannot follow from "
                       + pointText(kPoints - 1, pointOf(record, kPoints - 1))
                       + ", as an upload extends the line through the last two points");
    if (curveRecord(decoded, n) != record)
        return failure("its points do not encode back to the same bytes");
    curves = decoded;
    return {};
}

std::string whyNotPoints(const std::array<uint8_t, 128> &record, int n)
{
    CalCurveTable scratch;
    return decodeCurveRecord(record, scratch, n).error();
}

} // namespace orvane
