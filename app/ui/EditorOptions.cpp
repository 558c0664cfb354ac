#include "app/ui/EditorOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace orvane {

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;

// One parser for both the parse and the help text, so they cannot differ.
struct Options
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};
    QCommandLineOption port{QStringLiteral("port"),
                            QStringLiteral("Use COM port N (1 to 16) for this run. The working "
                                           "file keeps its own port number until you save."),
                            QStringLiteral("N")};

    Options()
    {
        parser.setApplicationDescription(
            QStringLiteral("Configuration editor for the Orvane marine instrument.\n"
                           "It also takes Qt's options, such as -platform offscreen."));
        parser.addOptions({help, version, port});
    }
};

} // namespace

Result<EditorOptions> parseEditorOptions(const QStringList &arguments)
{
    Options options;
    if (!options.parser.parse(arguments))
        return failure(options.parser.errorText().toStdString() + " See orvane-editor --help.");
    if (!options.parser.positionalArguments().isEmpty())
        return failure("\"" + options.parser.positionalArguments().front().toStdString()
                       + "\" is not an option. See orvane-editor --help.");
    EditorOptions parsed;
    if (options.parser.isSet(options.port)) {
        const QString text = options.parser.value(options.port);
        bool isNumber = false;
        const int port = text.toInt(&isNumber);
        if (!isNumber || port < kFirstPort || port > kLastPort)
            return failure("--port takes a COM port number from 1 to 16, not \""
                           + text.toStdString() + "\".");
        parsed.port = uint8_t(port);
    }
    return parsed;
}

std::optional<int> answerHelpOrVersion(int argc, char **argv, const char *version)
{
    // Help wins over the version, as in most programs.
    const auto asked = [&](std::initializer_list<std::string_view> names) {
        return std::any_of(argv + 1, argv + argc, [&](const char *argument) {
            return std::find(names.begin(), names.end(), argument) != names.end();
        });
    };
    if (asked({"-h", "--help"})) {
        const QCoreApplication app(argc, argv);
        std::fputs(Options().parser.helpText().toStdString().c_str(), stdout);
        return 0;
    }
    if (asked({"-v", "--version"})) {
        std::printf("orvane-editor %s\n", version);
        return 0;
    }
    return std::nullopt;
}

} // namespace orvane
