#include "cli/Arguments.h"

#include <array>
#include <cctype>

namespace orvane::cli {

namespace {

constexpr std::array<CommandSpec, 10> kCommands = {{
    {"ports",
     "[--json]",
     0,
     0,
     kJson,
     0,
     "list COM numbers 1..16, the device behind each and what is wrong with it",
     "Lists the COM numbers 1..16, the device each one reaches (a COMn link in the working "
     "folder, otherwise /dev/ttyS<n-1>) with the port doctor's warnings, then the serial "
     "devices the system reports."},
    {"identify",
     "--port N [--json]",
     0,
     0,
     kPort | kJson,
     kPort,
     "the serial number, versions and product code of the instrument",
     "Connects to the instrument on COM port N, prints its serial number, software and "
     "hardware versions, chip versions, product code and upload count, then restarts it."},
    {"download",
     "--port N -o FILE.CFG [--only CATEGORIES] [--base IN.CFG]",
     0,
     0,
     kPort | kOutput | kOnly | kBase,
     kPort | kOutput,
     "the settings the instrument can change, into a configuration file",
     "Reads the categories the instrument can change (Display Damping, Tacho Sensitivity, "
     "Hi/Lo Alarm Values, Time-Of-Day Alarms, Fine Calibrations, Race Timers) into the "
     "factory defaults, or into the file given with --base, and writes the result to "
     "FILE.CFG."},
    {"read-all",
     "--port N -o FILE.CFG",
     0,
     0,
     kPort | kOutput,
     kPort | kOutput,
     "everything the instrument holds, into a configuration file",
     "Reads the instrument's settings, its sixteen display configurations and its user "
     "sender curves, and writes them to FILE.CFG. A failure writes nothing."},
    {"upload",
     "--port N FILE.CFG [--only CATEGORIES] [--yes] [--full]",
     1,
     1,
     kPort | kOnly | kYes | kFull,
     kPort,
     "a configuration file into the instrument",
     "Reads FILE.CFG, reads what the instrument holds, shows what the upload will change, "
     "keeps a copy of the unit in the editor's Unit History and writes only the records "
     "that differ, with the upload counter and the date as the editor writes them. Without "
     "--yes the changes are confirmed at the terminal; without a terminal the upload is "
     "refused."},
    {"compare",
     "FILE.CFG --port N | A.CFG B.CFG [OPTIONS]",
     1,
     2,
     kPort | kOnly | kJson,
     0,
     "a file against the instrument, or two files; differences in words",
     "With --port, lists what an upload of FILE.CFG would change in the instrument (in the "
     "categories of --only); with two files, every difference from A.CFG to B.CFG. Exits "
     "with 0 when nothing differs and 1 when something does."},
    {"backup",
     "--port N [--yes]",
     0,
     0,
     kPort | kYes,
     kPort,
     "the instrument's System Backup of its own settings",
     "Copies the instrument's settings and EEPROM into its own backup memory, overwriting "
     "the previous backup. Asks first, unless --yes is given."},
    {"restore",
     "--port N [--yes]",
     0,
     0,
     kPort | kYes,
     kPort,
     "the instrument's settings from its System Backup",
     "Copies the instrument's backup memory over its calibration, alarms and "
     "configurations. Asks first, unless --yes is given."},
    {"dump",
     "--port N --factory MEMORY ADDRESS COUNT",
     3,
     3,
     kPort | kFactory,
     kPort,
     "COUNT bytes of one of the instrument's memories (factory use)",
     "Prints COUNT (1..256) bytes of MEMORY from ADDRESS on, one line per address. A "
     "factory tool: refused unless --factory is given. ADDRESS may be decimal or 0x-hex."},
    {"help", "[COMMAND]", 0, 1, 0, 0, "this text, or a command's", ""},
}};

struct OptionName
{
    std::string_view name;
    Option option;
    bool takesValue;
};

constexpr std::array<OptionName, 9> kOptions = {{
    {"--port", kPort, true},
    {"-o", kOutput, true},
    {"--output", kOutput, true},
    {"--only", kOnly, true},
    {"--base", kBase, true},
    {"--json", kJson, false},
    {"--yes", kYes, false},
    {"--factory", kFactory, false},
    {"--full", kFull, false},
}};

// "5" or "COM5"; any other text is no port number.
std::optional<int> portNumber(std::string text)
{
    for (char &c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (text.rfind("COM", 0) == 0)
        text.erase(0, 3);
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    for (const char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    return std::stoi(text);
}

std::string optionNames(unsigned options)
{
    std::string names;
    for (const OptionName &o : kOptions) {
        if (!(options & o.option) || o.name == "--output")
            continue;
        names += (names.empty() ? "" : ", ") + std::string(o.name);
    }
    return names;
}

Result<> setOption(Invocation &invocation, Option option, const std::string &value)
{
    switch (option) {
    case kPort: {
        const auto port = portNumber(value);
        if (!port)
            return failure("--port takes a COM number such as 3 or COM3, not \"" + value + "\".");
        invocation.port = *port;
        break;
    }
    case kOutput:
        invocation.output = value;
        break;
    case kOnly:
        invocation.only = value;
        break;
    case kBase:
        invocation.base = value;
        break;
    case kJson:
        invocation.json = true;
        break;
    case kYes:
        invocation.yes = true;
        break;
    case kFactory:
        invocation.factory = true;
        break;
    case kFull:
        invocation.full = true;
        break;
    }
    return {};
}

} // namespace

std::span<const CommandSpec> commandSpecs()
{
    return kCommands;
}

const CommandSpec *findCommand(std::string_view name)
{
    for (const CommandSpec &c : kCommands)
        if (c.name == name)
            return &c;
    return nullptr;
}

Result<Invocation> parseArguments(const std::vector<std::string> &arguments)
{
    Invocation invocation;
    unsigned given = 0;
    bool optionsEnd = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (optionsEnd || argument == "-" || argument.empty() || argument[0] != '-') {
            if (!invocation.command && !invocation.help && !invocation.version) {
                invocation.command = findCommand(argument);
                if (!invocation.command)
                    return failure("\"" + argument + "\" is not a command; see orvane --help.");
            } else {
                invocation.operands.push_back(argument);
            }
            continue;
        }
        if (argument == "--") {
            optionsEnd = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const size_t equals = argument.find('=');
            argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = argument.substr(equals + 1);
            argument.erase(equals);
        }
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };
        if (argument == "--help" || argument == "-h") {
            invocation.help = true;
            continue;
        }
        if (argument == "--version") {
            invocation.version = true;
            continue;
        }
        if (argument == "--log" || argument == "--link-folder") {
            const auto value = takeValue();
            if (!value || value->empty())
                return failure(argument + " needs a " + (argument == "--log" ? "file" : "folder")
                               + " name.");
            (argument == "--log" ? invocation.log : invocation.linkFolder) = *value;
            continue;
        }
        const OptionName *known = nullptr;
        for (const OptionName &o : kOptions)
            if (o.name == argument)
                known = &o;
        if (!known)
            return failure("Unknown option " + argument + "; see orvane --help.");
        if (!invocation.command)
            return failure(argument + " goes after a command; see orvane --help.");
        if (!(invocation.command->options & known->option))
            return failure("orvane " + std::string(invocation.command->name) + " takes no "
                           + argument + "; its options: " + optionNames(invocation.command->options)
                           + ".");
        if (given & known->option)
            return failure(argument + " is given twice.");
        given |= known->option;
        std::string value;
        if (known->takesValue) {
            const auto v = takeValue();
            if (!v || v->empty())
                return failure(argument + " needs a value.");
            value = *v;
        } else if (inlineValue) {
            return failure(argument + " takes no value.");
        }
        if (const Result<> set = setOption(invocation, known->option, value); !set)
            return failure(set.error());
    }

    if (invocation.help || invocation.version)
        return invocation;
    if (!invocation.command)
        return failure("No command given; see orvane --help.");
    const CommandSpec &c = *invocation.command;
    const std::string name = "orvane " + std::string(c.name);
    const int operands = int(invocation.operands.size());
    if (operands < c.minOperands || operands > c.maxOperands)
        return failure("Usage: " + name + " " + std::string(c.synopsis));
    const unsigned missing = c.required & ~given;
    if (missing)
        return failure(name + " needs " + optionNames(missing) + ". Usage: " + name + " "
                       + std::string(c.synopsis));
    // A file against the instrument, or two files against each other.
    if (c.name == "compare" && (operands == 1) != invocation.port.has_value())
        return failure("Usage: " + name + " " + std::string(c.synopsis));
    return invocation;
}

} // namespace orvane::cli
