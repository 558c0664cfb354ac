#include "sim/SimOptions.h"

#include <algorithm>
#include <cctype>

namespace orvane::sim {

std::optional<long> parseCount(const std::string &text, long maximum)
{
    if (text.empty() || text.size() > 10
        || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const long value = std::stol(text);
    if (value > maximum)
        return std::nullopt;
    return value;
}

std::optional<SerialNumberBytes> parseSerialNumber(const std::string &text)
{
    constexpr size_t kShortForm = 8; // YMMDDnnn
    constexpr size_t kLongForm = 9;  // YYMMDDnnn
    if (text.size() != kShortForm && text.size() != kLongForm)
        return std::nullopt;
    const auto number = parseCount(text, 999999999);
    if (!number)
        return std::nullopt;
    const long s = *number;
    const long unit = s % 1000;
    if (unit > 255)
        return std::nullopt;
    return SerialNumberBytes{static_cast<uint8_t>(s / 10000000),
                             static_cast<uint8_t>(s / 100000 % 100),
                             static_cast<uint8_t>(s / 1000 % 100),
                             static_cast<uint8_t>(unit)};
}

SimOptionsResult parseSimOptions(const std::vector<std::string> &arguments)
{
    SimOptionsResult result;
    SimOptions &o = result.options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const auto flag = [&](bool &target) {
            if (inlineValue) {
                result.error = name + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < arguments.size())
                return arguments[++i];
            result.error = name + " needs a value";
            return std::nullopt;
        };

        bool ok = true;
        if (name == "--no-answer") {
            ok = flag(o.noAnswer);
        } else if (name == "--blank-identity") {
            ok = flag(o.blankIdentity);
        } else if (name == "--corrupt-first-nvm-read") {
            ok = flag(o.corruptFirstNvmRead);
        } else if (name == "--quiet") {
            ok = flag(o.quiet);
        } else if (name == "--help" || name == "-h") {
            ok = flag(o.help);
        } else if (name == "--link" || name == "--state") {
            const auto v = value();
            ok = v && !v->empty();
            if (v && v->empty())
                result.error = name + " needs a path";
            if (ok)
                (name == "--link" ? o.linkPath : o.statePath) = *v;
        } else if (name == "--product-code") {
            const auto v = value();
            const auto code = v ? parseCount(*v, 255) : std::nullopt;
            ok = code.has_value();
            if (v && !ok)
                result.error = "--product-code needs a number from 0 to 255, not \"" + *v + "\"";
            if (ok)
                o.productCode = static_cast<uint8_t>(*code);
        } else if (name == "--serial") {
            const auto v = value();
            o.serial = v ? parseSerialNumber(*v) : std::nullopt;
            ok = o.serial.has_value();
            if (v && !ok)
                result.error = "--serial needs YYMMDDnnn (8 or 9 digits, unit up to 255), not \""
                               + *v + "\"";
        } else if (name == "--echoes-stop-after") {
            const auto v = value();
            const auto n = v ? parseCount(*v, kMaxFaultCount) : std::nullopt;
            ok = n.has_value();
            if (v && !ok)
                result.error = "--echoes-stop-after needs a count of 0 or more, not \"" + *v + "\"";
            if (ok)
                o.echoesStopAfter = static_cast<int>(*n);
        } else if (name == "--echo-delay-ms") {
            const auto v = value();
            const auto ms = v ? parseCount(*v, kMaxEchoDelayMs) : std::nullopt;
            ok = ms.has_value();
            if (v && !ok)
                result.error = "--echo-delay-ms needs milliseconds from 0 to "
                               + std::to_string(kMaxEchoDelayMs) + ", not \"" + *v + "\"";
            if (ok)
                o.echoDelayMs = static_cast<int>(*ms);
        } else if (name == "--short-reads" || name == "--short-reads-next") {
            const bool bytes = name == "--short-reads";
            const auto v = value();
            const auto n
                = v ? parseCount(*v, bytes ? kMaxShortReadBytes : kMaxFaultCount) : std::nullopt;
            ok = n.has_value() && (bytes || *n > 0);
            if (v && !ok)
                result.error
                    = bytes ? "--short-reads needs a byte count from 0 to "
                                  + std::to_string(kMaxShortReadBytes) + ", not \"" + *v + "\""
                            : "--short-reads-next needs a count of 1 or more, not \"" + *v + "\"";
            if (ok)
                (bytes ? o.shortReadBytes : o.shortReadsNext) = static_cast<int>(*n);
        } else if (name == "--bad-check-byte") {
            const auto v = value();
            const auto n = v && *v != "every" ? parseCount(*v, kMaxFaultCount) : std::nullopt;
            ok = v && (*v == "every" || n);
            if (v && !ok)
                result.error
                    = "--bad-check-byte needs a count of reads or \"every\", not \"" + *v + "\"";
            if (ok)
                o.badCheckByteReads = n ? static_cast<int>(*n) : kEveryTime;
        } else if (name == "--control") {
            const auto v = value();
            ok = v && !v->empty();
            if (v && v->empty())
                result.error = "--control needs a path";
            if (ok)
                o.controlPath = *v;
        } else {
            ok = false;
            result.error = "unknown option " + arguments[i];
        }
        if (!ok)
            return result;
    }
    if (o.shortReadsNext && !o.shortReadBytes)
        result.error = "--short-reads-next needs --short-reads";
    return result;
}

std::string simUsage()
{
    return "Usage: orvane-sim [options]\n"
           "A virtual Orvane instrument on a pseudo-terminal. Prints the terminal's device\n"
           "on the first line of its output and runs until interrupted (Ctrl+C, SIGTERM).\n"
           "SIGUSR1 switches the instrument off and on (a power cycle).\n"
           "\n"
           "  --link PATH               make PATH (for example DIR/COM1) a symbolic link to\n"
           "                            the terminal, replacing an old link; removed on exit\n"
           "  --state FILE              load the memories from FILE if it exists; save them\n"
           "                            there on exit\n"
           "  --control PATH            make PATH a FIFO that takes control lines while the\n"
           "                            instrument runs (below); removed on exit\n"
           "  --product-code N          product code in the 24C512, 0..255 (1 Orvane,\n"
           "                            2 Brenlow, 3 Quillet)\n"
           "  --serial YYMMDDnnn        serial number: year, month, day, unit of the day\n"
           "  --quiet                   do not log the frames served on stderr (control\n"
           "                            lines and signals are still acknowledged)\n"
           "  --help                    show this text\n"
           "\n"
           "Faults:\n"
           "  --no-answer               behave as an instrument that is not there\n"
           "  --blank-identity          the identity reads serial bytes 255 255 255 255\n"
           "  --corrupt-first-nvm-read  the first 256-byte internal NVM read after each\n"
           "                            power-up has a wrong check byte\n"
           "  --bad-check-byte N|every  the next N (or every) 256-byte internal NVM reads\n"
           "                            have a wrong check byte\n"
           "  --short-reads K           memory reads of more than K bytes answer only K\n"
           "  --short-reads-next N      ... but only the next N such reads\n"
           "  --echoes-stop-after N     echo N data bytes of writes, then no more\n"
           "  --echo-delay-ms D         send each echo D milliseconds late\n"
           "\n"
           "Control lines (one per line, for example: echo power-cycle > PATH):\n"
           "  power-cycle                          switch off and on: ISP mode ends, the\n"
           "                                       link goes idle, RAM starts afresh\n"
           "  clear-faults                         every fault off\n"
           "  fault no-answer on|off\n"
           "  fault blank-identity on|off\n"
           "  fault corrupt-first-nvm-read on|off  on re-arms it for the next read\n"
           "  fault bad-check-byte N|every|off\n"
           "  fault short-reads K [next N] | off\n"
           "  fault echoes-stop-after N|off        N more echoes from now, then none\n"
           "  fault echo-delay-ms D|off\n"
           "Unknown lines are reported and ignored; blank lines and lines starting with #\n"
           "are skipped.\n"
           "\n"
           "Options given with --state override what the file holds. Commands 9 and 10 (ISP\n"
           "mode) silence the instrument until a power cycle (SIGUSR1, the power-cycle\n"
           "control line, or a restart of orvane-sim).\n";
}

void applySimOptions(const SimOptions &options, Instrument &instrument)
{
    if (options.productCode)
        instrument.setProductCode(*options.productCode);
    if (options.serial)
        instrument.setSerial(options.serial->year,
                             options.serial->month,
                             options.serial->day,
                             options.serial->unit);
    FaultSettings &faults = instrument.faults();
    faults.noAnswer = options.noAnswer;
    faults.blankIdentity = options.blankIdentity;
    faults.corruptFirstNvmRead = options.corruptFirstNvmRead;
    faults.echoesStopAfter = options.echoesStopAfter;
    faults.echoDelaySeconds = options.echoDelayMs / 1000.0;
    faults.shortReadBytes = options.shortReadBytes;
    faults.shortReads = options.shortReadsNext.value_or(kEveryTime);
    faults.badCheckByteReads = options.badCheckByteReads;
}

} // namespace orvane::sim
