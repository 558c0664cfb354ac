#pragma once

#include <span>
#include <string_view>

// Every command of `orvane` and every option in one place: the command's
// name, form and texts for --help and the manual page, the options it takes,
// and the function that runs it. A new command is a row here and its runner.

namespace orvane::cli {

class Session;
enum class Fault;

// Runs a command whose command line has been checked; what went wrong, if
// anything (cli/Faults.h gives the exit code).
using Runner = Fault (*)(Session &);

enum Option : unsigned {
    kPort = 1u << 0,
    kOutput = 1u << 1,
    kOnly = 1u << 2,
    kJson = 1u << 3,
    kYes = 1u << 4,
    kFactory = 1u << 5,
    kFull = 1u << 6,
    kBase = 1u << 7,
    // Every command takes these.
    kLog = 1u << 8,
    kLinkFolder = 1u << 9,
    kQuiet = 1u << 10,
    kVerbose = 1u << 11,
    kHelp = 1u << 12,
    // Only without a command.
    kVersion = 1u << 13,
    kHelpAll = 1u << 14,
    // The production records.
    kDb = 1u << 15,
    kSince = 1u << 16,
    kSerial = 1u << 17,
    kCsv = 1u << 18,
    // Making new units.
    kPorts = 1u << 19,
    kProductCode = 1u << 20,
    kFirmware = 1u << 21,
    kData = 1u << 22,
};

inline constexpr unsigned kCommonOptions = kLog | kLinkFolder | kQuiet | kVerbose | kHelp;

struct OptionSpec
{
    Option option;
    std::string_view name;      // the long name, without dashes
    std::string_view shortName; // one letter, or empty
    std::string_view valueName; // empty for a switch
    std::string_view missing;   // what is missing when the value is: "a value", "a file name"
    std::string_view help;      // for a command's --help
};

// In the order --help lists them.
std::span<const OptionSpec> optionSpecs();
const OptionSpec &optionSpec(Option option);

struct CommandSpec
{
    std::string_view name;
    std::string_view synopsis; // after "orvane NAME "
    int minOperands = 0;
    int maxOperands = 0;
    unsigned options = 0;  // besides kCommonOptions
    unsigned required = 0; // options that must be given
    std::string_view summary;
    std::string_view description;
    Runner run = nullptr;          // none for help, which needs no instrument
    bool operandsAreFiles = false; // the operands name configuration files it reads
};

// Every command, in the order --help lists them.
std::span<const CommandSpec> commandSpecs();
const CommandSpec *findCommand(std::string_view name);

} // namespace orvane::cli
