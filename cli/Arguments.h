#pragma once

#include "cli/CommandTable.h"
#include "platform/Result.h"

#include <optional>
#include <string>
#include <vector>

// The command line of `orvane`: which command, its operands and options. A
// command line that does not fit a command's form is a usage error; values
// that fit it but are wrong (a port number 17) are checked by the command.

namespace orvane::cli {

// What the environment gives when the command line does not:
// ORVANE_PORT and ORVANE_LINK_FOLDER.
struct Defaults
{
    std::optional<std::string> port;
    std::optional<std::string> linkFolder;
};

inline constexpr const char *kPortVariable = "ORVANE_PORT";
inline constexpr const char *kLinkFolderVariable = "ORVANE_LINK_FOLDER";

struct Invocation
{
    // None: the program's own --help, --help-all or --version; with help
    // set, the command whose help is asked for.
    const CommandSpec *command = nullptr;
    bool help = false;
    bool helpAll = false;
    bool version = false;
    std::optional<int> port;
    std::string portName; // "COM17" as given, for messages
    bool portFromEnvironment = false;
    std::string output;
    std::optional<std::string> only;
    std::string base;
    std::string log;
    std::string linkFolder;
    bool linkFolderFromEnvironment = false;
    bool json = false;
    bool csv = false;
    std::string db;
    std::string since;
    std::string serial;
    std::string ports;
    std::string productCode;
    std::string firmware;
    std::string data;
    bool yes = false;
    bool factory = false;
    bool full = false;
    bool quiet = false;
    bool verbose = false;
    std::vector<std::string> operands;
};

// The arguments after the program's name; a failure is a usage error whose
// message says what is wrong.
Result<Invocation> parseArguments(const std::vector<std::string> &arguments,
                                  const Defaults &defaults = {});

} // namespace orvane::cli
