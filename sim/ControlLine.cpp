#include "sim/ControlLine.h"

#include "sim/SimOptions.h"

#include <vector>

namespace orvane::sim {

namespace {

std::vector<std::string> words(std::string_view line)
{
    std::vector<std::string> result;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start)
            result.emplace_back(line.substr(start, i - start));
    }
    return result;
}

ControlParse refuse(std::string reason)
{
    return {std::nullopt, std::move(reason)};
}

ControlParse accept(ControlCommand command)
{
    return {command, {}};
}

using Action = ControlCommand::Action;

ControlCommand make(Action action)
{
    ControlCommand command;
    command.action = action;
    return command;
}

// "fault NAME ARGS...", the name already known to be w[1].
ControlParse parseFault(const std::vector<std::string> &w)
{
    const std::string &name = w[1];
    const size_t argc = w.size() - 2;
    const std::string first = argc > 0 ? w[2] : std::string();
    const std::string what = "fault " + name;
    const auto exactly = [&](size_t n) {
        return argc == n;
    };

    struct Switch
    {
        const char *name;
        Action action;
    };
    for (const Switch s : {Switch{"no-answer", Action::NoAnswer},
                           Switch{"blank-identity", Action::BlankIdentity},
                           Switch{"corrupt-first-nvm-read", Action::CorruptFirstNvmRead}}) {
        if (name != s.name)
            continue;
        if (!exactly(1) || (first != "on" && first != "off"))
            return refuse(what + " needs on or off");
        ControlCommand c = make(s.action);
        c.on = first == "on";
        return accept(c);
    }
    if (name == "bad-check-byte") {
        const auto n = first == "off" ? std::optional<long>(0) : parseCount(first, kMaxFaultCount);
        if (!exactly(1) || (first != "every" && !n))
            return refuse(what + " needs a count of reads, every or off");
        ControlCommand c = make(Action::BadCheckByte);
        c.times = first == "every" ? kEveryTime : static_cast<int>(*n);
        return accept(c);
    }
    if (name == "short-reads") {
        ControlCommand c = make(Action::ShortReads);
        if (exactly(1) && first == "off")
            return accept(c);
        const auto bytes = parseCount(first, kMaxShortReadBytes);
        if (!bytes || (argc != 1 && argc != 3))
            return refuse(what + " needs a byte count from 0 to "
                          + std::to_string(kMaxShortReadBytes)
                          + ", then optionally next N, or off");
        c.value = static_cast<int>(*bytes);
        if (argc == 3) {
            const auto times = parseCount(w[4], kMaxFaultCount);
            if (w[3] != "next" || !times || *times == 0)
                return refuse(what + " takes next and a count of 1 or more after the bytes");
            c.times = static_cast<int>(*times);
        }
        return accept(c);
    }
    if (name == "echoes-stop-after" || name == "echo-delay-ms") {
        const bool echoes = name == "echoes-stop-after";
        ControlCommand c = make(echoes ? Action::EchoesStopAfter : Action::EchoDelayMs);
        if (exactly(1) && first == "off")
            return accept(c);
        const auto n = parseCount(first, echoes ? kMaxFaultCount : kMaxEchoDelayMs);
        if (!exactly(1) || !n)
            return refuse(what
                          + (echoes ? " needs a count of echoes or off"
                                    : " needs milliseconds from 0 to "
                                          + std::to_string(kMaxEchoDelayMs) + " or off"));
        c.value = static_cast<int>(*n);
        return accept(c);
    }
    return refuse("unknown fault \"" + name + "\"");
}

std::string times(int n, const char *what)
{
    if (n == kEveryTime)
        return std::string("every ") + what;
    return "the next " + std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

} // namespace

ControlParse parseControlLine(std::string_view line)
{
    const std::vector<std::string> w = words(line);
    if (w.empty() || w[0].front() == '#')
        return {};
    if (w[0] == "power-cycle" || w[0] == "clear-faults") {
        if (w.size() > 1)
            return refuse(w[0] + " takes nothing after it");
        return accept(make(w[0] == "power-cycle" ? Action::PowerCycle : Action::ClearFaults));
    }
    if (w[0] == "fault") {
        if (w.size() < 2)
            return refuse("fault needs a name");
        return parseFault(w);
    }
    return refuse("unknown command \"" + w[0] + "\"");
}

std::string applyControl(Instrument &instrument, const ControlCommand &command)
{
    FaultSettings &faults = instrument.faults();
    const auto onOff = [&](const char *name) {
        return std::string("fault ") + name + (command.on ? " on" : " off");
    };
    switch (command.action) {
    case Action::PowerCycle:
        instrument.powerCycle("control line");
        return "power cycle";
    case Action::ClearFaults:
        faults = FaultSettings{};
        return "every fault off";
    case Action::NoAnswer:
        faults.noAnswer = command.on;
        return onOff("no-answer");
    case Action::BlankIdentity:
        faults.blankIdentity = command.on;
        return onOff("blank-identity");
    case Action::CorruptFirstNvmRead:
        faults.corruptFirstNvmRead = command.on;
        if (command.on)
            instrument.rearmFirstNvmRead();
        return onOff("corrupt-first-nvm-read");
    case Action::BadCheckByte:
        faults.badCheckByteReads = command.times;
        if (command.times == 0)
            return "fault bad-check-byte off";
        return "fault bad-check-byte: " + times(command.times, "settings read")
               + " with a wrong check byte";
    case Action::ShortReads:
        faults.shortReadBytes = command.value;
        faults.shortReads = command.times;
        if (!command.value)
            return "fault short-reads off";
        return "fault short-reads: " + times(command.times, "read") + " of more than "
               + std::to_string(*command.value) + " bytes answers "
               + std::to_string(*command.value);
    case Action::EchoesStopAfter:
        faults.echoesStopAfter = command.value;
        instrument.restartEchoCount();
        if (!command.value)
            return "fault echoes-stop-after off";
        return "fault echoes-stop-after: " + std::to_string(*command.value)
               + " more echoes, then none";
    case Action::EchoDelayMs:
        faults.echoDelaySeconds = command.value.value_or(0) / 1000.0;
        return "fault echo-delay-ms " + std::to_string(command.value.value_or(0));
    }
    return {};
}

} // namespace orvane::sim
