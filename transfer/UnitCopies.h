#pragma once

#include "platform/Platform.h"
#include "platform/Result.h"
#include "transfer/InstrumentSnapshot.h"

#include <cstdint>
#include <string>
#include <vector>

// A copy of every unit, kept automatically: before an upload writes anything,
// what it read from the unit is saved in the per-user data folder as an
// ordinary configuration file and as the raw bytes read,
//
//   <user data>/units/<serial number>/<yyyy-mm-dd_hhmmss>.CFG and .RAW
//
// and the oldest copies beyond the last 50 of that unit are deleted. Opening
// a copy's .CFG and uploading it restores the unit.

namespace orvane {

inline constexpr int kKeptCopiesPerUnit = 50;

struct UnitCopy
{
    std::string serial;     // as the editor shows it, "120530007"
    std::string taken;      // "2026-07-04 14:05:09"
    std::string changes;    // what the upload that followed changed
    std::string configFile; // the .CFG, a full path
    std::string rawFile;    // the .RAW, a full path
};

struct UnitHistory
{
    std::string serial;
    std::vector<UnitCopy> copies; // newest first
};

// <user data>/units
std::string unitCopiesFolder(FileSystem &files);

// The serial number a snapshot's settings carry, as the editor shows it.
std::string unitSerialText(const InstrumentSnapshot &snapshot);

// Saves the copy, naming it by `taken`, then deletes the unit's oldest copies
// beyond the last kKeptCopiesPerUnit. A failure says what could not be saved
// and deletes nothing. The configuration file names `comPortNumber` as its
// port, as every file the editor writes does.
Result<UnitCopy> saveUnitCopy(FileSystem &files,
                              const InstrumentSnapshot &held,
                              const std::string &changes,
                              const LocalDateTime &taken,
                              uint8_t comPortNumber);

// Every unit that has copies, by serial number, each with its copies newest
// first. A raw file that cannot be read is listed by its name alone.
std::vector<UnitHistory> listUnitHistory(FileSystem &files);

} // namespace orvane
