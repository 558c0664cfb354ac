#include "transfer/InstrumentSnapshot.h"

#include "config/Defaults.h"
#include "transfer/CurveDecoding.h"

#include <algorithm>

namespace orvane {

bool configurationRecordChecks(const EepromRecord &record)
{
    uint8_t x = 0;
    for (size_t b = 1; b < record.size(); ++b)
        x ^= record[b];
    return record[0] == x;
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
            decodeCurveRecord(snapshot.curves[size_t(i)],
                              image.CalCurve,
                              kUploadedCurves[size_t(i)]);
    return image;
}

} // namespace orvane
