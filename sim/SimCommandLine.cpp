#include "sim/SimCommandLine.h"

#include <QCommandLineParser>

#include <functional>

namespace orvane::sim {

namespace {

QCommandLineOption option(const char *name, const char *valueName = "")
{
    return QCommandLineOption(QString::fromLatin1(name), QString(), QString::fromLatin1(valueName));
}

std::string dashed(const QString &name)
{
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

// Why the parser refused the line, in this program's words.
std::string parseFailure(const QCommandLineParser &parser,
                         const QStringList &arguments,
                         const std::vector<QCommandLineOption> &switches)
{
    if (!parser.unknownOptionNames().isEmpty())
        return "unknown option " + dashed(parser.unknownOptionNames().first());
    for (const QString &argument : arguments) {
        const QString name = argument.section('=', 0, 0);
        if (argument.startsWith(QLatin1String("--")) && argument.contains('='))
            for (const QCommandLineOption &flag : switches)
                if (flag.names().contains(name.mid(2)))
                    return name.toStdString() + " takes no value";
    }
    // A value can only be missing after the last argument.
    if (arguments.last().startsWith('-'))
        return arguments.last().toStdString() + " needs a value";
    return parser.errorText().toStdString();
}

// Reads an option's value into the options, or says why it cannot.
using Reader = std::function<bool(const std::string &value)>;

} // namespace

SimOptionsResult parseSimOptions(const std::vector<std::string> &arguments)
{
    SimOptionsResult result;
    SimOptions &o = result.options;
    FaultSettings &faults = o.faults;

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption quiet = option("quiet");
    const QCommandLineOption noAnswer = option("no-answer");
    const QCommandLineOption blankIdentity = option("blank-identity");
    const QCommandLineOption corruptFirstNvmRead = option("corrupt-first-nvm-read");
    const std::vector<QCommandLineOption> switches
        = {help, quiet, noAnswer, blankIdentity, corruptFirstNvmRead};
    for (const QCommandLineOption &flag : switches)
        parser.addOption(flag);

    // Each option with a value, and how its value is read.
    const auto path = [&result](const char *name, std::string &target) {
        return std::pair<QCommandLineOption, Reader>(
            option(name, "PATH"),
            [&result, name, &target](const std::string &value) {
                if (value.empty())
                    result.error = std::string("--") + name + " needs a path";
                target = value;
                return !value.empty();
            });
    };
    const auto count = [&result](const char *name,
                                 long minimum,
                                 long maximum,
                                 const std::string &wanted,
                                 std::function<void(int)> set) {
        return std::pair<QCommandLineOption, Reader>(
            option(name, "N"),
            [=, &result](const std::string &value) {
                const auto n = parseCount(value, maximum);
                if (!n || *n < minimum) {
                    result.error
                        = std::string("--") + name + " needs " + wanted + ", not \"" + value + "\"";
                    return false;
                }
                set(static_cast<int>(*n));
                return true;
            });
    };
    const std::vector<std::pair<QCommandLineOption, Reader>> valued = {
        path("link", o.linkPath),
        path("state", o.statePath),
        path("control", o.controlPath),
        count("product-code",
              0,
              255,
              "a number from 0 to 255",
              [&o](int n) { o.productCode = static_cast<uint8_t>(n); }),
        {option("serial", "YYMMDDnnn"),
         [&](const std::string &value) {
             o.serial = parseSerialNumber(value);
             if (!o.serial)
                 result.error = "--serial needs YYMMDDnnn (8 or 9 digits, unit up to 255), not \""
                                + value + "\"";
             return o.serial.has_value();
         }},
        count("echoes-stop-after",
              0,
              kMaxFaultCount,
              "a count of 0 or more",
              [&faults](int n) { faults.echoesStopAfter = n; }),
        count("echo-delay-ms",
              0,
              kMaxEchoDelayMs,
              "milliseconds from 0 to " + std::to_string(kMaxEchoDelayMs),
              [&faults](int ms) { faults.echoDelaySeconds = ms / 1000.0; }),
        count("short-reads",
              0,
              kMaxShortReadBytes,
              "a byte count from 0 to " + std::to_string(kMaxShortReadBytes),
              [&faults](int n) { faults.shortReadBytes = n; }),
        count("short-reads-next",
              1,
              kMaxFaultCount,
              "a count of 1 or more",
              [&faults](int n) { faults.shortReads = n; }),
        {option("bad-check-byte", "N|every"),
         [&](const std::string &value) {
             const auto n = value == "every" ? std::optional<long>(kEveryTime)
                                             : parseCount(value, kMaxFaultCount);
             if (!n)
                 result.error = "--bad-check-byte needs a count of reads or \"every\", not \""
                                + value + "\"";
             else
                 faults.badCheckByteReads = static_cast<int>(*n);
             return n.has_value();
         }},
    };
    for (const auto &[qtOption, read] : valued)
        parser.addOption(qtOption);

    QStringList words;
    for (const std::string &argument : arguments)
        words << QString::fromStdString(argument);
    if (!parser.parse(QStringList{QStringLiteral("orvane-sim")} + words)) {
        result.error = parseFailure(parser, words, switches);
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = "unknown option " + parser.positionalArguments().first().toStdString();
        return result;
    }
    o.help = parser.isSet(help);
    o.quiet = parser.isSet(quiet);
    faults.noAnswer = parser.isSet(noAnswer);
    faults.blankIdentity = parser.isSet(blankIdentity);
    faults.corruptFirstNvmRead = parser.isSet(corruptFirstNvmRead);
    for (const auto &[qtOption, read] : valued)
        if (parser.isSet(qtOption) && !read(parser.value(qtOption).toStdString()))
            return result;
    if (parser.isSet(QStringLiteral("short-reads-next"))
        && !parser.isSet(QStringLiteral("short-reads")))
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

} // namespace orvane::sim
