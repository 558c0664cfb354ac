#include "cli/CommandTable.h"

#include "cli/Commands.h"
#include "platform/Check.h"

#include <array>

namespace orvane::cli {

namespace {

constexpr std::array<OptionSpec, 23> kOptionSpecs = {{
    {kPort, "port", "", "N", "a value", "the instrument's COM number, 1..16 (3 or COM3)"},
    {kOutput, "output", "o", "FILE.CFG", "a value", "the configuration file to write"},
    {kOnly,
     "only",
     "",
     "CATEGORIES",
     "a value",
     "a comma-separated list of the categories below, or all (the default)"},
    {kBase,
     "base",
     "",
     "IN.CFG",
     "a value",
     "the file the downloaded categories go into; the factory defaults without it"},
    {kPorts,
     "ports",
     "",
     "LIST",
     "a value",
     "the COM numbers of the units to make: 1-8, 1,3,5 or both, as 1-4,7"},
    {kProductCode,
     "product-code",
     "",
     "P",
     "a value",
     "the new units' product code: 1 Orvane, 2 Brenlow, 3 Quillet"},
    {kFirmware, "firmware", "", "F", "a value", "the new units' firmware number (Sw_Ver), 0..255"},
    {kData,
     "data",
     "",
     "DIR",
     "a folder name",
     "the folder of the three .DAT files and the ten code modules; without it the editor's "
     "working folder"},
    {kYes, "yes", "", "", "", "go ahead without asking"},
    {kFull,
     "full",
     "",
     "",
     "",
     "write every chosen record, also those the instrument already holds"},
    {kFactory, "factory", "", "", "", "allow a factory command"},
    {kJson, "json", "", "", "", "print the result as JSON on standard output"},
    {kCsv,
     "csv",
     "",
     "",
     "",
     "print the records as CSV on standard output: a header line, then a record a line, "
     "quoted as RFC 4180 has it, CR LF line ends"},
    {kSince,
     "since",
     "",
     "DATE",
     "a value",
     "only the makings started on DATE (YYYY-MM-DD, UTC) or later"},
    {kSerial,
     "serial",
     "",
     "S",
     "a value",
     "only unit S (YYMMDDnnn): its whole history, every making of it"},
    {kDb,
     "db",
     "",
     "URL",
     "a value",
     "the production database: postgresql://user@host:port/dbname, "
     "postgresql://user@/dbname?host=/socket/folder or sqlite:/path/to/file. Without it: the "
     "database set in the factory window, else ORVANE_PRODUCTION_DB, else the SQLite file "
     "production.sqlite in the per-user data folder"},
    {kLog,
     "log",
     "",
     "FILE",
     "a file name",
     "write the serial traffic to FILE: one line per frame or run of bytes, with its time, "
     "direction, hex, text and the pause before it"},
    {kLinkFolder,
     "link-folder",
     "",
     "DIR",
     "a folder name",
     "look for the COMn links in DIR instead of the editor's working folder"},
    {kQuiet, "quiet", "q", "", "", "print only results, questions and what went wrong"},
    {kVerbose,
     "verbose",
     "v",
     "",
     "",
     "say which device and folders are used, and show each step on a line of its own"},
    {kHelp, "help", "h", "", "", "this text"},
    {kVersion, "version", "", "", "", "the version"},
    {kHelpAll, "help-all", "", "", "", "every command and option, as the manual page has them"},
}};

constexpr std::array<CommandSpec, 13> kCommands = {{
    {"ports",
     "[--json]",
     0,
     0,
     kJson,
     0,
     "list COM numbers 1..16, the device behind each and what is wrong with it",
     "Lists the COM numbers 1..16, the device each one reaches (a COMn link in the working "
     "folder, otherwise /dev/ttyS<n-1>) with the port doctor's warnings, then the serial "
     "devices the system reports.",
     runPorts},
    {"identify",
     "--port N [--json]",
     0,
     0,
     kPort | kJson,
     kPort,
     "the serial number, versions and product code of the instrument",
     "Connects to the instrument on COM port N, prints its serial number, software and "
     "hardware versions, chip versions, product code and upload count, then restarts it.",
     runIdentify},
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
     "FILE.CFG.",
     runDownload},
    {"read-all",
     "--port N -o FILE.CFG",
     0,
     0,
     kPort | kOutput,
     kPort | kOutput,
     "everything the instrument holds, into a configuration file",
     "Reads the instrument's settings, its sixteen display configurations and its user "
     "sender curves, and writes them to FILE.CFG. A failure writes nothing.",
     runReadAll},
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
     "refused before anything is sent.",
     runUpload,
     true},
    {"compare",
     "FILE.CFG --port N | A.CFG B.CFG [OPTIONS]",
     1,
     2,
     kPort | kOnly | kJson,
     0,
     "a file against the instrument, or two files; differences in words",
     "With --port, lists what an upload of FILE.CFG would change in the instrument (in the "
     "categories of --only); with two files, every difference from A.CFG to B.CFG. Exits "
     "with 0 when nothing differs and 1 when something does.",
     runCompare,
     true},
    {"backup",
     "--port N [--yes]",
     0,
     0,
     kPort | kYes,
     kPort,
     "the instrument's System Backup of its own settings",
     "Copies the instrument's settings and EEPROM into its own backup memory, overwriting "
     "the previous backup. Asks first, unless --yes is given.",
     runBackup},
    {"restore",
     "--port N [--yes]",
     0,
     0,
     kPort | kYes,
     kPort,
     "the instrument's settings from its System Backup",
     "Copies the instrument's backup memory over its calibration, alarms and "
     "configurations. Asks first, unless --yes is given.",
     runRestore},
    {"restore-copy",
     "--port N COPY.RAW [--yes]",
     1,
     1,
     kPort | kYes,
     kPort,
     "a unit exactly as a copy in its Unit History holds it",
     "Writes back every byte a kept copy of the unit holds (COPY.RAW, or its .CFG, from the "
     "editor's Unit History): the settings, the sixteen display configurations and the "
     "sender curve records. Reads the unit first, refuses another unit than the copy's, "
     "shows what will change, keeps a copy of what the unit holds now and writes only the "
     "records that differ. Without --yes the changes are confirmed at the terminal; without "
     "a terminal it is refused before anything is sent.",
     runRestoreCopy,
     true},
    {"dump",
     "--port N --factory MEMORY ADDRESS COUNT",
     3,
     3,
     kPort | kFactory,
     kPort,
     "COUNT bytes of one of the instrument's memories (factory use)",
     "Prints COUNT (1..256) bytes of MEMORY from ADDRESS on, one line per address. A "
     "factory tool: refused unless --factory is given. ADDRESS may be decimal or 0x-hex.",
     runDump},
    {"units",
     "[--since DATE] [--serial S] [--json | --csv] [--db URL]",
     0,
     0,
     kSince | kSerial | kJson | kCsv | kDb,
     0,
     "the production records of the units made, oldest first (factory use)",
     "Lists the factory's production records, oldest first, one line each: serial number, "
     "making (a re-made returned unit counts on), outcome, state, station, operator, port, "
     "start and end (UTC), product code, firmware number and message. An outcome is in "
     "progress, interrupted (its station died or moved on), verified, failed or void. "
     "--csv and --json give every field, the versions and the SHA-256 of each file the unit "
     "was made with included. Reads the database only; it never makes one.",
     runUnits},
    {"provision",
     "--ports LIST --product-code P --firmware F [OPTIONS]",
     0,
     0,
     kPorts | kProductCode | kFirmware | kData | kDb | kYes | kJson,
     kPorts | kProductCode | kFirmware,
     "Make NEW on several ports at once, numbered by the production database (factory use)",
     "Makes a new unit on each port of LIST at once, as the factory window's Make NEW does: "
     "each unit gets the production database's next free serial number of the day, the logs "
     "cleared, the calibration curves, the NMEA and decimal-point tables and the ten code "
     "modules of DIR, its firmware number and product code, and is then read back. Each port "
     "is made by a process of its own, so a fault on one neither stops nor slows the others. "
     "Prints a line per unit as it ends (--json: a JSON object per line) and exits with 0 "
     "when every unit is verified, 4 when any is not. Without --yes it asks first; without a "
     "terminal it is refused before anything is sent.",
     runProvision},
    {"help", "[COMMAND]", 0, 1, 0, 0, "this text, or a command's", ""},
}};

} // namespace

std::span<const OptionSpec> optionSpecs()
{
    return kOptionSpecs;
}

const OptionSpec &optionSpec(Option option)
{
    for (const OptionSpec &o : kOptionSpecs)
        if (o.option == option)
            return o;
    // Every option has a row; the first stands in for a slip.
    ORVANE_CHECK(false, {});
    return kOptionSpecs.front();
}

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

} // namespace orvane::cli
