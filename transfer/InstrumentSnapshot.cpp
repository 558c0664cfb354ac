#include "transfer/InstrumentSnapshot.h"

#include "config/Defaults.h"
#include "transfer/CurveDecoding.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace orvane {

namespace {

uint8_t configurationCheckByte(const EepromRecord &record)
{
    return std::accumulate(record.begin() + 1, record.end(), uint8_t(0), std::bit_xor<uint8_t>());
}

} // namespace

bool configurationRecordChecks(const EepromRecord &record)
{
    return record[0] == configurationCheckByte(record);
}

std::vector<OddRecord> oddRecords(const InstrumentSnapshot &snapshot)
{
    std::vector<OddRecord> odd;
    if (snapshot.hasConfigurations)
        for (int c = 1; c <= kConfigurations; ++c) {
            const EepromRecord &record = snapshot.configurations[size_t(c - 1)];
            if (configurationRecordChecks(record))
                continue;
            odd.push_back({OddRecord::Kind::Configuration,
                           c,
                           "its check byte is " + std::to_string(record[0])
                               + " where its bytes give "
                               + std::to_string(configurationCheckByte(record))});
        }
    if (snapshot.hasCurves)
        for (int i = 0; i < kUploadedCurveCount; ++i) {
            const int n = kUploadedCurves[size_t(i)];
            if (std::string why = whyNotPoints(snapshot.curves[size_t(i)], n); !why.empty())
                odd.push_back({OddRecord::Kind::Curve, n, std::move(why)});
        }
    return odd;
}

int uploadedCurveIndex(int n)
{
    const auto found = std::find(kUploadedCurves.begin(), kUploadedCurves.end(), n);
    return found == kUploadedCurves.end() ? -1 : int(found - kUploadedCurves.begin());
}

ConfigImage imageFromSnapshot(const InstrumentSnapshot &snapshot)
{
    ConfigImage image;
    writeDefaultConfigurations(image.CDC);
    writeDefaultIntNvm(image.IntNvm);
    for (int n = 1; n <= kCurves; ++n)
        writeDefaultCurve(image.CalCurve, n);

    for (int i = 0; i < kSettingsSize; ++i)
        image.IntNvm[i] = snapshot.settings[size_t(i)];
    if (snapshot.hasConfigurations)
        for (int c = 1; c <= kConfigurations; ++c)
            for (int b = 0; b < kConfigBytes; ++b)
                image.CDC(c, b) = snapshot.configurations[size_t(c - 1)][size_t(b)];
    if (snapshot.hasCurves)
        for (int i = 0; i < kUploadedCurveCount; ++i)
            (void)decodeCurveRecord(snapshot.curves[size_t(i)],
                                    image.CalCurve,
                                    kUploadedCurves[size_t(i)]);
    return image;
}

} // namespace orvane
