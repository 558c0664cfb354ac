#include "transfer/CurveDecoding.h"

#include "config/Defaults.h"
#include "transfer/TransferImage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace orvane {
namespace {

constexpr int kCurve = 19;

// Encodes curve n, decodes its record into an empty table and encodes that.
void expectSameRecordAgain(const CalCurveTable &curves, int n, const std::string &what)
{
    const auto record = curveRecord(curves, n);
    CalCurveTable decoded;
    ASSERT_TRUE(decodeCurveRecord(record, decoded, n)) << what;
    EXPECT_EQ(curveRecord(decoded, n), record) << what;
}

void setCurve(CalCurveTable &curves, int n, float (*ohms)(int), float (*reading)(int))
{
    for (int p = 1; p <= 32; ++p) {
        curves(n, p, 1) = ohms(p);
        curves(n, p, 2) = reading(p);
    }
}

TEST(CurveDecodingTest, DefaultCurvesComeBackAsTheirOwnPointsBetweenTheEnds)
{
    CalCurveTable curves;
    for (const int n : kUploadedCurves) {
        writeDefaultCurve(curves, n);
        expectSameRecordAgain(curves, n, "default curve " + std::to_string(n));
    }
    CalCurveTable decoded;
    ASSERT_TRUE(decodeCurveRecord(curveRecord(curves, 6), decoded, 6));
    // The plainest numbers that encode right are the whole ohms and readings
    // the default curve was made of; only the two moved ends differ.
    for (int p = 2; p <= 31; ++p) {
        EXPECT_EQ(decoded(6, p, 1), curves(6, p, 1)) << p;
        EXPECT_EQ(decoded(6, p, 2), curves(6, p, 2)) << p;
    }
    EXPECT_EQ(decoded(6, 1, 1), 0.0f);
}

TEST(CurveDecodingTest, CurvesWhereTheEncodingRoundsClampsOrDividesByZeroComeBackExactly)
{
    const struct
    {
        const char *what;
        float (*ohms)(int);
        float (*reading)(int);
    } cases[] = {
        // 180 ohms sits at input 511.5, which the encoding clamps to 511.
        {"180-ohm points",
         [](int) { return 180.0f; },
         [](int p) {
             return float(p * 37);
         }},
        // Inputs 256 and 768 start a new high byte: halves go to the even one.
        {"high-byte edges",
         [](int p) { return p % 2 ? 64.8f : 1146.0f; },
         [](int p) {
             return float(256 * (p % 3));
         }},
        {"readings past 16 bits",
         [](int p) { return 10.0f * p; },
         [](int) {
             return 70000.0f;
         }},
        {"negative readings",
         [](int p) { return 10.0f * p; },
         [](int p) {
             return -5.0f * p;
         }},
        {"falling steeply to the end",
         [](int p) { return 5.0f * p; },
         [](int p) {
             return p < 31 ? 60000.0f : 10.0f;
         }},
        {"rising steeply to the end",
         [](int p) { return 5.0f * p; },
         [](int p) {
             return p < 31 ? 100.0f : 65000.0f;
         }},
        {"equal end inputs",
         [](int p) { return p < 3 || p > 30 ? 50.0f : 10.0f * p; },
         [](int p) {
             return float(33 * p) + 0.7f;
         }},
        {"open circuit",
         [](int p) { return p == 31 ? 1.0e7f : 10.0f * p; },
         [](int p) {
             return float(100 * p);
         }},
    };
    for (const auto &c : cases) {
        CalCurveTable curves;
        setCurve(curves, kCurve, c.ohms, c.reading);
        expectSameRecordAgain(curves, kCurve, c.what);
    }
}

TEST(CurveDecodingTest, RandomCurvesComeBackExactly)
{
    std::mt19937 random(20260704);
    std::uniform_real_distribution<float> ohms(0.0f, 3000.0f);
    std::uniform_real_distribution<float> reading(0.0f, 65535.0f);
    std::uniform_int_distribution<int> wholeOhms(0, 400);
    for (int k = 0; k < 3000; ++k) {
        CalCurveTable curves;
        for (int p = 1; p <= 32; ++p) {
            // Every third curve with whole ohms, as users type them.
            curves(kCurve, p, 1) = k % 3 ? ohms(random) : float(wholeOhms(random));
            curves(kCurve, p, 2) = reading(random);
        }
        expectSameRecordAgain(curves, kCurve, "random curve " + std::to_string(k));
        if (HasFailure())
            return;
    }
}

TEST(CurveDecodingTest, RecordsNoUploadWroteLeaveTheCurveAloneAndSayWhy)
{
    CalCurveTable curves;
    writeDefaultCurve(curves, kCurve);
    const CalCurveTable before = curves;
    const auto uploaded = curveRecord(before, kCurve);
    const auto changed = [&](size_t at, std::vector<uint8_t> bytes) {
        auto record = uploaded;
        std::copy(bytes.begin(), bytes.end(), record.begin() + long(at));
        return record;
    };
    std::array<uint8_t, 128> blank;
    blank.fill(255);
    const struct
    {
        const char *what;
        std::array<uint8_t, 128> record;
        std::string why;
    } cases[] = {
        {"blank", blank, "it is blank (every byte 255): nothing was ever written there"},
        {"first point off input 0",
         changed(0, {0, 7}),
         "its first point is at input 7, where every uploaded curve starts at input 0"},
        {"last point one step below the top",
         changed(124, {3, 254}),
         "its last point is at input 1022, where every uploaded curve ends at input 1023"},
        // Point 31 already at the top: the line through the last two points
        // can only repeat its value.
        {"point 31 at the top input",
         changed(120, {3, 255}),
         "its last value " + std::to_string(uploaded[126] * 256 + uploaded[127])
             + " cannot follow from point 31 (input 1023, value "
             + std::to_string(uploaded[122] * 256 + uploaded[123])
             + "), as an upload extends the line through the last two points"},
    };
    for (const auto &c : cases) {
        const Result<> decoded = decodeCurveRecord(c.record, curves, kCurve);
        EXPECT_EQ(decoded.error(), c.why) << c.what;
        EXPECT_EQ(whyNotPoints(c.record, kCurve), c.why) << c.what;
        EXPECT_EQ(curves, before) << c.what;
    }
    EXPECT_EQ(whyNotPoints(uploaded, kCurve), "");
}

} // namespace
} // namespace orvane
