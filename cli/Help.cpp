#include "cli/Help.h"

#include "cli/Arguments.h"
#include "cli/CategoryNames.h"
#include "platform/ProductionDatabase.h"
#include "transfer/TransferCategories.h"

#include <utility>
#include <vector>

namespace orvane::cli {

namespace {

constexpr size_t kWidth = 79;
constexpr size_t kTermColumn = 24; // where an entry's text starts

using Entries = std::vector<std::pair<std::string, std::string>>;

// Words of `text` in lines of at most kWidth, each but the first indented by
// `indent`; the first continues a line that already holds `used` columns.
std::string wrap(const std::string &text, size_t indent, size_t used)
{
    std::string out;
    size_t column = used;
    bool first = true;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty())
            continue;
        if (!first && column + 1 + word.size() > kWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (!first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        first = false;
    }
    return out;
}

std::string block(const std::string &heading, const Entries &entries)
{
    std::string text = "\n" + heading + ":\n";
    for (const auto &[term, description] : entries) {
        std::string line = "  " + term;
        if (line.size() + 2 > kTermColumn) {
            text += line + "\n" + std::string(kTermColumn, ' ');
        } else {
            text += line + std::string(kTermColumn - line.size(), ' ');
        }
        text += wrap(description, kTermColumn, kTermColumn) + "\n";
    }
    return text;
}

std::string optionTerm(const OptionSpec &o)
{
    std::string term = o.shortName.empty() ? "" : "-" + std::string(o.shortName) + ", ";
    term += "--" + std::string(o.name);
    return o.valueName.empty() ? term : term + " " + std::string(o.valueName);
}

Entries optionEntries(unsigned options)
{
    Entries entries;
    for (const OptionSpec &o : optionSpecs())
        if (options & o.option)
            entries.emplace_back(optionTerm(o), std::string(o.help));
    return entries;
}

Entries exitCodes()
{
    return {
        {"0", "done"},
        {"1",
         "refused or bad input (a wrong value, an unreadable file, an unconfirmed "
         "question, a production database that cannot be opened or read); compare: the two "
         "sides differ"},
        {"2", "usage: the command line does not fit the command"},
        {"3", "no instrument: the port did not open or no Orvane answered"},
        {"4",
         "failed half-way; the message says what was written. provision: a unit was not "
         "verified"},
        {"130",
         "stopped by Ctrl+C: the exchange was ended as after a fault (the unit restarted), "
         "the traffic log written and no output file left behind"},
        {"143", "stopped by SIGTERM, in the same way (SIGHUP: 129)"},
    };
}

Entries environment()
{
    return {
        {kPortVariable, "the COM number when a command that needs one is given no --port"},
        {kLinkFolderVariable, "the folder of the COMn links when no --link-folder is given"},
        {kProductionDbVariable,
         "the production database's URL when no --db is given and the factory window names "
         "none"},
        {"XDG_CONFIG_HOME",
         "where the settings file is (the factory window's production database), ~/.config "
         "without it"},
        {"XDG_DATA_HOME", "where the per-user data folder is, ~/.local/share without it"},
    };
}

Entries categoryEntries(bool downloadOnly)
{
    Entries entries;
    for (size_t i = 0; i < kCategoryNames.size(); ++i) {
        if (downloadOnly && !kCategories[i].enabledInDownload)
            continue;
        entries.emplace_back(std::string(kCategoryNames[i]), std::string(kCategories[i].caption));
    }
    return entries;
}

Entries memoryEntries()
{
    return {{"iram", "internal RAM (0..32767)"},
            {"xram", "internal XRAM (0..32767)"},
            {"nvm", "internal NVM (0..32767)"},
            {"eeprom", "the 24C512 EEPROM (0..65535)"},
            {"flash", "flash ROM (0..32767)"}};
}

std::string usageAndDescription(const std::string &version)
{
    return "Usage: orvane COMMAND [OPTIONS]\n\n"
           + wrap("Command-line tool for the settings of an Orvane instrument. It works over "
                  "a serial port, for scripts and technicians: it identifies the unit, moves "
                  "configuration files to and from it, compares them, and backs the unit up, "
                  "with the same rules as the editor. Progress goes to standard error, as a "
                  "bar on a terminal and as plain lines otherwise. Version "
                      + version + ".",
                  0,
                  0)
           + "\n";
}

// "identify, download, ..." for the commands that take the option.
std::string commandsTaking(Option option)
{
    std::string names;
    for (const CommandSpec &c : commandSpecs())
        if (c.options & option)
            names += (names.empty() ? "" : ", ") + std::string(c.name);
    return names;
}

} // namespace

std::string programHelp(const std::string &version)
{
    std::string text = usageAndDescription(version);
    Entries commands;
    for (const CommandSpec &c : commandSpecs())
        commands.emplace_back(std::string(c.name), std::string(c.summary));
    text += block("Commands", commands);
    Entries options = {{"--port N", "the instrument's COM number, 1..16"},
                       {"--json", "identify, compare, ports and units: JSON on standard output"}};
    for (auto &entry : optionEntries(kCommonOptions | kVersion | kHelpAll))
        options.push_back(std::move(entry));
    text += block("Options", options);
    text += block("Exit status", exitCodes());
    text += block("Environment", environment());
    text += block("More", {{"orvane COMMAND --help", "a command's own options"}});
    return text;
}

std::string commandHelp(const CommandSpec &command)
{
    std::string text = "Usage: orvane " + std::string(command.name) + " "
                       + std::string(command.synopsis) + "\n\n";
    text += wrap(std::string(command.description), 0, 0) + "\n";
    text += block("Options", optionEntries(command.options | kCommonOptions));
    if (command.options & kOnly)
        text += block("Categories", categoryEntries(command.name == "download"));
    if (command.name == "dump")
        text += block("Memories", memoryEntries());
    text += block("Exit status", exitCodes());
    return text;
}

std::string referenceHelp(const std::string &version)
{
    std::string text = usageAndDescription(version);
    Entries commands;
    for (const CommandSpec &c : commandSpecs())
        if (c.run)
            commands.emplace_back("orvane " + std::string(c.name) + " " + std::string(c.synopsis),
                                  std::string(c.description));
    commands.emplace_back("orvane help [COMMAND]", "The options of every command, or of one.");
    text += block("Commands", commands);
    Entries options;
    for (const OptionSpec &o : optionSpecs()) {
        const std::string takers = commandsTaking(o.option);
        options.emplace_back(optionTerm(o),
                             std::string(o.help) + (takers.empty() ? "" : " (" + takers + ")"));
    }
    text += block("Options", options);
    text += block("Categories (for --only)", categoryEntries(false));
    text += block("Memories (for dump)", memoryEntries());
    text += block("Exit status", exitCodes());
    text += block("Environment", environment());
    text += block(
        "Files",
        {{"~/.local/share/Halvero/Orvane Editor/units",
          "the Unit History: before an upload writes, the unit's settings as they were, as "
          "SERIAL/DATE_TIME.CFG and .RAW, the last 50 of each unit; the editor's File > "
          "Unit History opens them"},
         {"~/.local/share/Halvero/Orvane Editor/production.sqlite",
          "the production database of a station that names no other (units)"},
         {"~/.config/Halvero/Orvane Editor.conf",
          "the user's settings, the factory window's production database among them"},
         {"COM1 .. COM16",
          "symbolic links to serial devices, in the editor's working folder (beside the "
          "program, or ~/.local/share/Halvero/Orvane Editor for an installed copy)"}});
    text += block("Examples",
                  {{"orvane ports", "COM numbers, devices and warnings"},
                   {"orvane identify --port 1 --json", "serial number, versions, product code"},
                   {"orvane read-all --port 1 -o BOAT.CFG", "everything the unit holds"},
                   {"orvane upload --port 1 BOAT.CFG --only configurations,units --yes",
                    "two categories, without asking"},
                   {"orvane compare BOAT.CFG --port 1", "what an upload would change"},
                   {"ORVANE_PORT=1 orvane backup --yes", "the port from the environment"},
                   {"orvane dump --port 1 --factory eeprom 0x1C40 64", "factory use"},
                   {"orvane provision --ports 1-8 --product-code 1 --firmware 42 --yes",
                    "eight new units at once, numbered by the production database"},
                   {"orvane units --since 2025-03-01 --csv > MARCH.csv",
                    "the production records of March on, for a spreadsheet"}});
    text += block("See also",
                  {{"orvane-editor(1)", "the editor"},
                   {"orvane-sim(1)", "a virtual instrument for trying and testing"}});
    return text;
}

} // namespace orvane::cli
