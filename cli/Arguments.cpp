#include "cli/Arguments.h"

#include <QCommandLineParser>

#include <cctype>

namespace orvane::cli {

namespace {

// A number this long is no port whatever its digits; it reads as one
// beyond every port, and the command refuses it with the rest.
constexpr size_t kMaxPortDigits = 6;
constexpr int kBeyondEveryPort = 1000000;

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string spelled(const QString &name)
{
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

std::string longName(const OptionSpec &o)
{
    return "--" + std::string(o.name);
}

QCommandLineOption qtOption(const OptionSpec &o)
{
    QStringList names{text(o.name)};
    if (!o.shortName.empty())
        names.prepend(text(o.shortName));
    return QCommandLineOption(names, text(o.help), text(o.valueName));
}

const OptionSpec *specNamed(const QString &name)
{
    for (const OptionSpec &o : optionSpecs())
        if (name == text(o.name) || (!o.shortName.empty() && name == text(o.shortName)))
            return &o;
    return nullptr;
}

// "5" or "COM5" (any case) as a number, however large; no number otherwise.
std::optional<int> portNumber(std::string text, std::string &name)
{
    for (char &c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (text.rfind("COM", 0) == 0)
        text.erase(0, 3);
    if (text.empty())
        return std::nullopt;
    for (const char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
    name = "COM" + text;
    return text.size() > kMaxPortDigits ? kBeyondEveryPort : std::stoi(text);
}

std::string optionNames(unsigned options)
{
    std::string names;
    for (const OptionSpec &o : optionSpecs()) {
        if (!(options & o.option) || (o.option & kCommonOptions))
            continue;
        names += (names.empty() ? "" : ", ")
                 + (o.shortName.empty() ? longName(o) : "-" + std::string(o.shortName));
    }
    return names;
}

// Why QCommandLineParser refused the line, in the words of this tool.
std::string parseFailure(const QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.unknownOptionNames().isEmpty())
        return "Unknown option " + spelled(parser.unknownOptionNames().first())
               + "; see orvane --help.";
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        const qsizetype equals = argument.indexOf('=');
        if (!argument.startsWith(QLatin1String("--")) || equals < 0)
            continue;
        const OptionSpec *o = specNamed(argument.mid(2, equals - 2));
        if (o && o->valueName.empty())
            return longName(*o) + " takes no value.";
    }
    // A value is missing only after the last argument.
    const QString last = arguments.isEmpty() ? QString() : arguments.last();
    const QString lastName = last.mid(last.startsWith(QLatin1String("--")) ? 2 : 1);
    if (const OptionSpec *o = specNamed(lastName);
        o && last.startsWith('-') && !o->valueName.empty())
        return spelled(lastName) + " needs " + std::string(o->missing) + ".";
    return parser.errorText().toStdString();
}

// The options given, each once, with their values; a usage error otherwise.
Result<unsigned> givenOptions(const QCommandLineParser &parser)
{
    unsigned given = 0;
    for (const QString &name : parser.optionNames()) {
        const OptionSpec *o = specNamed(name);
        if (!o)
            continue;
        if (given & o->option)
            return failure(spelled(name) + " is given twice.");
        given |= o->option;
        if (!o->valueName.empty() && parser.value(name).isEmpty())
            return failure(spelled(name) + " needs " + std::string(o->missing) + ".");
    }
    return given;
}

Result<> setPort(Invocation &invocation, const std::string &value, const std::string &source)
{
    const auto port = portNumber(value, invocation.portName);
    if (!port)
        return failure(source + " takes a COM number such as 3 or COM3, not \"" + value + "\".");
    invocation.port = *port;
    return {};
}

std::string usage(const CommandSpec &c)
{
    return "Usage: orvane " + std::string(c.name) + " " + std::string(c.synopsis);
}

// The command line against the command's form; the environment's defaults
// fill what it leaves out.
Result<> checkForm(Invocation &invocation, unsigned given, const Defaults &defaults)
{
    const CommandSpec &c = *invocation.command;
    const std::string name = "orvane " + std::string(c.name);
    const unsigned foreign = given & ~(c.options | kCommonOptions);
    if (foreign)
        return failure(name + " takes no " + optionNames(foreign)
                       + "; its options: " + optionNames(c.options) + ".");
    const int operands = int(invocation.operands.size());
    if (operands < c.minOperands || operands > c.maxOperands)
        return failure(usage(c));
    // A file against the instrument takes a port; two files take none.
    const bool wantsPort = (c.options & kPort) && (c.name != "compare" || operands == 1);
    if (wantsPort && !invocation.port && defaults.port) {
        if (const Result<> set = setPort(invocation, *defaults.port, kPortVariable); !set)
            return set;
        invocation.portFromEnvironment = true;
        given |= kPort;
    }
    const unsigned missing = c.required & ~given;
    if (missing)
        return failure(name + " needs " + optionNames(missing) + ". " + usage(c));
    if (c.name == "compare" && (operands == 1) != invocation.port.has_value())
        return failure(usage(c));
    return {};
}

} // namespace

Result<Invocation> parseArguments(const std::vector<std::string> &arguments,
                                  const Defaults &defaults)
{
    QCommandLineParser parser;
    for (const OptionSpec &o : optionSpecs())
        parser.addOption(qtOption(o));
    QStringList words;
    for (const std::string &argument : arguments)
        words << QString::fromStdString(argument);
    // The parser takes the program's name first.
    if (!parser.parse(QStringList{QStringLiteral("orvane")} + words))
        return failure(parseFailure(parser, words));
    const Result<unsigned> options = givenOptions(parser);
    if (!options)
        return failure(options.error());
    const unsigned given = *options;

    Invocation invocation;
    const auto value = [&parser](Option o) {
        return parser.value(text(optionSpec(o).name)).toStdString();
    };
    invocation.help = given & kHelp;
    invocation.helpAll = given & kHelpAll;
    invocation.version = given & kVersion;
    invocation.quiet = given & kQuiet;
    invocation.verbose = given & kVerbose;
    invocation.json = given & kJson;
    invocation.csv = given & kCsv;
    invocation.yes = given & kYes;
    invocation.factory = given & kFactory;
    invocation.full = given & kFull;
    invocation.output = value(kOutput);
    invocation.base = value(kBase);
    invocation.log = value(kLog);
    invocation.linkFolder = value(kLinkFolder);
    invocation.db = value(kDb);
    invocation.since = value(kSince);
    invocation.serial = value(kSerial);
    invocation.ports = value(kPorts);
    invocation.productCode = value(kProductCode);
    invocation.firmware = value(kFirmware);
    invocation.data = value(kData);
    if (given & kOnly)
        invocation.only = value(kOnly);
    if (given & kPort)
        if (const Result<> set = setPort(invocation, value(kPort), "--port"); !set)
            return failure(set.error());
    if (invocation.linkFolder.empty() && defaults.linkFolder) {
        invocation.linkFolder = *defaults.linkFolder;
        invocation.linkFolderFromEnvironment = true;
    }
    if (invocation.quiet && invocation.verbose)
        return failure("--quiet and --verbose do not go together; choose one.");
    if (invocation.json && invocation.csv)
        return failure("--json and --csv do not go together; choose one.");

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        if (invocation.help || invocation.helpAll || invocation.version)
            return invocation;
        for (const OptionSpec &o : optionSpecs())
            if ((given & o.option) && !(o.option & kCommonOptions))
                return failure(longName(o) + " goes after a command; see orvane --help.");
        return failure("No command given; see orvane --help.");
    }
    const std::string name = positional.takeFirst().toStdString();
    invocation.command = findCommand(name);
    if (!invocation.command)
        return failure("\"" + name + "\" is not a command; see orvane --help.");
    for (const QString &operand : positional)
        invocation.operands.push_back(operand.toStdString());
    if (invocation.version || invocation.helpAll)
        return invocation;

    // "orvane help COMMAND" is "orvane COMMAND --help".
    if (invocation.command->name == "help") {
        if (invocation.operands.size() > 1)
            return failure(usage(*invocation.command));
        invocation.help = true;
        invocation.command = nullptr;
        if (!invocation.operands.empty()) {
            invocation.command = findCommand(invocation.operands.front());
            if (!invocation.command || invocation.command->name == "help")
                return failure("\"" + invocation.operands.front()
                               + "\" is not a command; see orvane --help.");
            invocation.operands.clear();
        }
        return invocation;
    }
    if (invocation.help)
        return invocation;
    if (const Result<> form = checkForm(invocation, given, defaults); !form)
        return failure(form.error());
    return invocation;
}

} // namespace orvane::cli
