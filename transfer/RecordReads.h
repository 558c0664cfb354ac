#pragma once

#include "link/ByteLink.h"
#include "transfer/InstrumentSnapshot.h"

#include <functional>
#include <optional>
#include <string>

// Reading back the EEPROM records an upload writes, for every command that
// keeps or compares what a unit holds. A configuration record is taken once
// its check byte is right, or once it reads back the same twice (what the
// unit holds, damaged). A curve record has no check byte: it is taken only
// once two reads in a row agree.

namespace orvane {

// Reads of one record (or pair of configurations) before the unit is given up.
inline constexpr int kMaxRecordReads = 5;
// The most a read waits for its answer; it goes on the moment the answer is complete.
inline constexpr double kRecordReadTimeout = 1.0;
// Configuration records are read two at a time: 256 bytes, the most one read
// carries, so the frames' pauses are paid half as often.
inline constexpr int kConfigurationsPerRead = 2;

enum class RecordReadProblem {
    NoAnswer,
    ShortAnswer,
    BadRecord, // configurations failed their check and never read back the same
    Unsteady,  // a curve never read back the same twice in a row
    LinkLost,
};

struct RecordReadFailure
{
    RecordReadProblem problem = RecordReadProblem::NoAnswer;
    int expected = 0; // bytes the last read asked for
    int received = 0; // and got
};

// Where the reads are: `begin` before each read with its step phrase (and a
// number of a count, or 0 and 0), `done` once its records are taken.
struct RecordReadSteps
{
    std::function<void(const std::string &phrase, int number, int count)> begin;
    std::function<void()> done;
};

// The sixteen configuration records into `held`; nothing when all were read.
std::optional<RecordReadFailure>
readConfigurationRecords(ByteLink &link, InstrumentSnapshot &held, const RecordReadSteps &steps);
// The six curve records into `held`; nothing when all were read.
std::optional<RecordReadFailure>
readCurveRecords(ByteLink &link, InstrumentSnapshot &held, const RecordReadSteps &steps);

// The sentence for a BadRecord or Unsteady failure while `where`: "The
// Orvane's answers differed on each of 5 reads while reading sender curve 3
// of 6."
std::string recordReadSentence(RecordReadProblem problem, const std::string &where);

} // namespace orvane
