#include "transfer/RecordReads.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace orvane {

namespace {

std::vector<EepromRecord> recordsOf(const std::vector<uint8_t> &answer)
{
    std::vector<EepromRecord> records(answer.size() / kRecordSize);
    for (size_t k = 0; k < records.size(); ++k)
        std::copy_n(answer.begin() + long(k * kRecordSize), kRecordSize, records[k].begin());
    return records;
}

// `count` records at `address` in one read, read steadily: each record
// passing `check`, or the same bytes twice in a row; nothing when the unit
// was given up.
std::optional<std::vector<EepromRecord>>
readRecords(Exchange &exchange, int address, int count, bool (*check)(const EepromRecord &))
{
    const int bytes = count * kRecordSize;
    Exchange::AnswerCheck allPass;
    if (check)
        allPass = [check](const std::vector<uint8_t> &answer) {
            const std::vector<EepromRecord> records = recordsOf(answer);
            return std::all_of(records.begin(), records.end(), check);
        };
    const auto answer = exchange.readSteady(memoryFrame(CommandCode::ReadEeprom, bytes, address),
                                            bytes,
                                            kRecordReadTimeout,
                                            allPass);
    if (!answer)
        return std::nullopt;
    return recordsOf(*answer);
}

} // namespace

bool readConfigurationRecords(Exchange &exchange,
                              InstrumentSnapshot &held,
                              const RecordReadSteps &steps)
{
    for (int c = 1; c <= kConfigurations; c += kConfigurationsPerRead) {
        steps.begin("reading display configurations " + std::to_string(c) + " and "
                        + std::to_string(c + kConfigurationsPerRead - 1),
                    0,
                    0);
        const auto records = readRecords(exchange,
                                         configRecordAddress(c),
                                         kConfigurationsPerRead,
                                         configurationRecordChecks);
        if (!records)
            return false;
        std::copy(records->begin(), records->end(), held.configurations.begin() + (c - 1));
        steps.done();
    }
    held.hasConfigurations = true;
    return true;
}

bool readCurveRecords(Exchange &exchange, InstrumentSnapshot &held, const RecordReadSteps &steps)
{
    for (int i = 0; i < kUploadedCurveCount; ++i) {
        steps.begin("reading sender curve", i + 1, kUploadedCurveCount);
        const auto records
            = readRecords(exchange, curveRecordAddress(kUploadedCurves[size_t(i)]), 1, nullptr);
        if (!records)
            return false;
        held.curves[size_t(i)] = records->front();
        steps.done();
    }
    held.hasCurves = true;
    return true;
}

} // namespace orvane
