#pragma once

#include "link/Exchange.h"
#include "transfer/InstrumentSnapshot.h"

#include <functional>
#include <string>

// Reading back the EEPROM records an upload writes, for every command that
// keeps or compares what a unit holds. A configuration record is taken once
// its check byte is right, or once it reads back the same twice (what the
// unit holds, damaged). A curve record has no check byte: it is taken only
// once two reads in a row agree.

namespace orvane {

// The most a read waits for its answer; it goes on the moment the answer is complete.
inline constexpr double kRecordReadTimeout = 1.0;
// Configuration records are read two at a time: 256 bytes, the most one read
// carries, so the frames' pauses are paid half as often.
inline constexpr int kConfigurationsPerRead = 2;

// Where the reads are: `begin` before each read with its step phrase (and a
// number of a count, or 0 and 0), `done` once its records are taken.
struct RecordReadSteps
{
    std::function<void(const std::string &phrase, int number, int count)> begin;
    std::function<void()> done;
};

// The sixteen configuration records into `held`; false when the unit was
// given up (the exchange holds why).
bool readConfigurationRecords(Exchange &exchange,
                              InstrumentSnapshot &held,
                              const RecordReadSteps &steps);
// The six curve records into `held`; false when the unit was given up.
bool readCurveRecords(Exchange &exchange, InstrumentSnapshot &held, const RecordReadSteps &steps);

} // namespace orvane
