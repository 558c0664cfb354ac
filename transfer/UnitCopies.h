#pragma once

#include "platform/Platform.h"
#include "platform/Result.h"
#include "transfer/InstrumentSnapshot.h"

#include <cstdint>
#include <string>
#include <vector>

// A copy of every unit, kept automatically: before an upload (or Make NEW)
// writes anything, what it read from the unit is saved in the per-user data
// folder as an ordinary configuration file and as the raw bytes read,
//
//   <user data>/units/<serial number>/<nnnnnn>_<yyyy-mm-dd_hhmmss>.CFG and .RAW
//
// nnnnnn counts up with every copy of the unit, so copies keep the order in
// which they were made whatever the clock said; names without it (copies
// kept before the count began) come before every counted one. The oldest
// copies beyond the last 50 of a unit are deleted, never the one just made.
// Opening a copy's .CFG and uploading it gives the unit its settings back;
// the .RAW restores it byte for byte.

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
// Whether the settings carry a serial number at all (a blank unit's bytes
// are all 0 or all 255).
bool carriesSerialNumber(const InstrumentSnapshot &snapshot);

// Saves the copy, then reads both files back with the editor's own readers,
// and only then deletes the unit's oldest copies beyond the last
// kKeptCopiesPerUnit. A failure says what could not be saved or read back,
// leaves no half copy and deletes nothing. The configuration file names
// `comPortNumber` as its port, as every file the editor writes does.
Result<UnitCopy> saveUnitCopy(FileSystem &files,
                              const InstrumentSnapshot &held,
                              const std::string &changes,
                              const LocalDateTime &taken,
                              uint8_t comPortNumber);

// What a command that writes says when the copy could not be kept: the
// failure, that nothing was written, and what to do.
std::string copyNotKeptMessage(const std::string &failure);
inline constexpr const char *kCopyNotSavedTitle = "Copy Not Saved";

// Every unit that has copies, by serial number, each with its copies newest
// first. A raw file that cannot be read is listed by its name alone.
std::vector<UnitHistory> listUnitHistory(FileSystem &files);

// The copy whose .CFG or .RAW `path` names, as the unit's history lists it.
Result<UnitCopy> unitCopyAt(FileSystem &files, const std::string &path);

// Every byte the copy's unit held: the settings and all configuration and
// curve records, from its raw copy. A copy without a whole raw copy is a
// failure saying why and what to do instead.
Result<InstrumentSnapshot> unitCopyBytes(FileSystem &files, const UnitCopy &copy);

} // namespace orvane
