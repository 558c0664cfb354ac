#pragma once

#include "sim/Instrument.h"

#include <optional>
#include <string>
#include <string_view>

// The text lines that orvane-sim's control channel takes while the
// instrument runs, so that a test can switch the instrument off and on or
// inject a fault at a moment of its choosing: "power-cycle", "clear-faults",
// "fault NAME VALUE..." (the list is in orvane-sim --help).

namespace orvane::sim {

struct ControlCommand
{
    enum class Action {
        PowerCycle,
        ClearFaults,
        NoAnswer,            // on
        BlankIdentity,       // on
        CorruptFirstNvmRead, // on
        BadCheckByte,        // times
        ShortReads,          // value: bytes kept (none: off), times
        EchoesStopAfter,     // value: echoes (none: off)
        EchoDelayMs,         // value
    };
    Action action = Action::PowerCycle;
    bool on = false;
    std::optional<int> value;
    int times = kEveryTime;
};

struct ControlParse
{
    std::optional<ControlCommand> command;
    std::string error; // why the line was refused; both empty for a blank or comment line
};

ControlParse parseControlLine(std::string_view line);

// Carries the command out; what was done, for the log.
std::string applyControl(Instrument &instrument, const ControlCommand &command);

} // namespace orvane::sim
