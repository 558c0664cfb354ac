#pragma once

#include "platform/Result.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The command line of `orvane`: which command, its operands and options. A
// command line that does not fit a command's form is a usage error; values
// that fit it but are wrong (a port number 17) are checked by the command.

namespace orvane::cli {

// Options a command takes besides --help, --log and --link-folder.
enum Option : unsigned {
    kPort = 1u << 0,
    kOutput = 1u << 1,
    kOnly = 1u << 2,
    kJson = 1u << 3,
    kYes = 1u << 4,
    kFactory = 1u << 5,
    kFull = 1u << 6,
    kBase = 1u << 7,
};

struct CommandSpec
{
    std::string_view name;
    std::string_view synopsis; // after "orvane NAME "
    int minOperands = 0;
    int maxOperands = 0;
    unsigned options = 0;
    unsigned required = 0; // options that must be given
    std::string_view summary;
    std::string_view description;
};

// Every command, in the order --help lists them.
std::span<const CommandSpec> commandSpecs();
const CommandSpec *findCommand(std::string_view name);

struct Invocation
{
    const CommandSpec *command = nullptr; // none: the program's own --help or --version
    bool help = false;
    bool version = false;
    std::optional<int> port;
    std::string output;
    std::optional<std::string> only;
    std::string base;
    std::string log;
    std::string linkFolder;
    bool json = false;
    bool yes = false;
    bool factory = false;
    bool full = false;
    std::vector<std::string> operands;
};

// The arguments after the program's name; a failure is a usage error whose
// message says what is wrong.
Result<Invocation> parseArguments(const std::vector<std::string> &arguments);

} // namespace orvane::cli
