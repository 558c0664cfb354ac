#include "transfer/RecordReads.h"

#include "link/Commands.h"

#include <algorithm>
#include <vector>

namespace orvane {

namespace {

using RecordCheck = bool (*)(const EepromRecord &);

// `count` records at `address` in one read, repeated until each passes
// `check` or two reads in a row agree; without a check only the agreement
// counts.
std::optional<RecordReadFailure> readRecords(ByteLink &link,
                                             int address,
                                             int count,
                                             RecordCheck check,
                                             std::vector<EepromRecord> &records)
{
    const int bytes = count * kRecordSize;
    const Frame frame = memoryFrame(CommandCode::ReadEeprom, bytes, address);
    RecordReadFailure failed{RecordReadProblem::NoAnswer, bytes, 0};
    std::vector<uint8_t> previous;
    for (int attempt = 1; attempt <= kMaxRecordReads; ++attempt) {
        const std::vector<uint8_t> answer
            = issueReadUntilComplete(link, frame, bytes, kRecordReadTimeout);
        if (link.lost())
            return RecordReadFailure{RecordReadProblem::LinkLost, bytes, 0};
        const int received = link.rx().RxCount;
        if (received < bytes) {
            failed = {received == 0 ? RecordReadProblem::NoAnswer : RecordReadProblem::ShortAnswer,
                      bytes,
                      received};
            previous.clear();
            continue;
        }
        records.assign(size_t(count), {});
        for (int k = 0; k < count; ++k)
            std::copy_n(answer.begin() + long(k) * kRecordSize,
                        kRecordSize,
                        records[size_t(k)].begin());
        // The same bytes twice are what the unit holds, even where a check
        // fails (a damaged record), not the line's doing.
        if (answer == previous || (check && std::all_of(records.begin(), records.end(), check)))
            return std::nullopt;
        previous = answer;
        failed
            = {check ? RecordReadProblem::BadRecord : RecordReadProblem::Unsteady, bytes, received};
    }
    return failed;
}

} // namespace

std::optional<RecordReadFailure>
readConfigurationRecords(ByteLink &link, InstrumentSnapshot &held, const RecordReadSteps &steps)
{
    std::vector<EepromRecord> records;
    for (int c = 1; c <= kConfigurations; c += kConfigurationsPerRead) {
        steps.begin("reading display configurations " + std::to_string(c) + " and "
                        + std::to_string(c + kConfigurationsPerRead - 1),
                    0,
                    0);
        if (const auto failed = readRecords(link,
                                            configRecordAddress(c),
                                            kConfigurationsPerRead,
                                            configurationRecordChecks,
                                            records))
            return failed;
        std::copy(records.begin(), records.end(), held.configurations.begin() + (c - 1));
        steps.done();
    }
    held.hasConfigurations = true;
    return std::nullopt;
}

std::optional<RecordReadFailure>
readCurveRecords(ByteLink &link, InstrumentSnapshot &held, const RecordReadSteps &steps)
{
    std::vector<EepromRecord> records;
    for (int i = 0; i < kUploadedCurveCount; ++i) {
        steps.begin("reading sender curve", i + 1, kUploadedCurveCount);
        if (const auto failed = readRecords(link,
                                            curveRecordAddress(kUploadedCurves[size_t(i)]),
                                            1,
                                            nullptr,
                                            records))
            return failed;
        held.curves[size_t(i)] = records.front();
        steps.done();
    }
    held.hasCurves = true;
    return std::nullopt;
}

std::string recordReadSentence(RecordReadProblem problem, const std::string &where)
{
    const std::string reads = std::to_string(kMaxRecordReads);
    if (problem == RecordReadProblem::Unsteady)
        return "The Orvane's answers differed on each of " + reads + " reads while " + where + ".";
    return "The Orvane's answer failed its check " + reads + " times while " + where + ".";
}

} // namespace orvane
