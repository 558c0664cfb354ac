#include "cli/Help.h"

#include "cli/CategoryNames.h"
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

Entries commonOptions()
{
    return {
        {"--log FILE",
         "write the serial traffic to FILE: one line per frame or run of bytes, "
         "with its time, direction, hex, text and the pause before it"},
        {"--link-folder DIR",
         "look for the COMn links in DIR instead of the editor's working folder"},
        {"--help", "this text"},
    };
}

Entries exitCodes()
{
    return {
        {"0", "done"},
        {"1",
         "refused or bad input (a wrong value, an unreadable file, an unconfirmed "
         "question); compare: the two sides differ"},
        {"2", "usage: the command line does not fit the command"},
        {"3", "no instrument: the port did not open or no Orvane answered"},
        {"4", "failed half-way; the message says what was written"},
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

Entries optionEntries(unsigned options)
{
    Entries entries;
    if (options & kPort)
        entries.push_back({"--port N", "the instrument's COM number, 1..16 (3 or COM3)"});
    if (options & kOutput)
        entries.push_back({"-o, --output FILE.CFG", "the configuration file to write"});
    if (options & kOnly)
        entries.push_back({"--only CATEGORIES",
                           "a comma-separated list of the categories below, or all (the "
                           "default)"});
    if (options & kBase)
        entries.push_back({"--base IN.CFG",
                           "the file the downloaded categories go into; the factory "
                           "defaults without it"});
    if (options & kYes)
        entries.push_back({"--yes", "go ahead without asking"});
    if (options & kFull)
        entries.push_back({"--full",
                           "write every chosen record, also those the instrument "
                           "already holds"});
    if (options & kFactory)
        entries.push_back({"--factory", "allow a factory command"});
    if (options & kJson)
        entries.push_back({"--json", "print the result as JSON on standard output"});
    for (auto &entry : commonOptions())
        entries.push_back(std::move(entry));
    return entries;
}

} // namespace

std::string programHelp(const std::string &version)
{
    std::string text = "Usage: orvane COMMAND [OPTIONS]\n\n";
    text += wrap("Command-line tool for the settings of an Orvane instrument. It works over "
                 "a serial port, for scripts and technicians: it identifies the unit, moves "
                 "configuration files to and from it, compares them, and backs the unit up, "
                 "with the same rules as the editor. Progress goes to standard error, as a "
                 "bar on a terminal and as plain lines otherwise. Version "
                     + version + ".",
                 0,
                 0)
            + "\n";
    Entries commands;
    for (const CommandSpec &c : commandSpecs())
        commands.emplace_back(std::string(c.name), std::string(c.summary));
    text += block("Commands", commands);
    Entries options = {{"--port N", "the instrument's COM number, 1..16"},
                       {"--json", "identify, compare and ports: JSON on standard output"},
                       {"--version", "the version"}};
    for (auto &entry : commonOptions())
        options.push_back(std::move(entry));
    text += block("Options", options);
    text += block("Exit status", exitCodes());
    text += block("More", {{"orvane COMMAND --help", "a command's own options"}});
    return text;
}

std::string commandHelp(const CommandSpec &command)
{
    std::string text = "Usage: orvane " + std::string(command.name) + " "
                       + std::string(command.synopsis) + "\n\n";
    text += wrap(std::string(command.description), 0, 0) + "\n";
    text += block("Options", optionEntries(command.options));
    if (command.options & kOnly)
        text += block("Categories", categoryEntries(command.name == "download"));
    if (command.name == "dump")
        text += block("Memories",
                      {{"iram", "internal RAM (0..32767)"},
                       {"xram", "internal XRAM (0..32767)"},
                       {"nvm", "internal NVM (0..32767)"},
                       {"eeprom", "the 24C512 EEPROM (0..65535)"},
                       {"flash", "flash ROM (0..32767)"}});
    text += block("Exit status", exitCodes());
    return text;
}

} // namespace orvane::cli
