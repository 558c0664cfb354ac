// orvane: the editor's logic on the command line, for scripts and technicians.

#include "app/Startup.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/Help.h"
#include "cli/Session.h"
#include "link/TrafficLog.h"
#include "platform/qt/ConsolePlatform.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace orvane::cli {
namespace {

using Runner = int (*)(Session &);

struct Command
{
    const char *name;
    Runner run;
};

constexpr Command kRunners[] = {
    {"ports", runPorts},
    {"identify", runIdentify},
    {"download", runDownload},
    {"read-all", runReadAll},
    {"upload", runUpload},
    {"compare", runCompare},
    {"backup", runBackup},
    {"restore", runRestore},
    {"dump", runDump},
};

int printHelp(const Invocation &invocation)
{
    const CommandSpec *command = invocation.command;
    if (command && command->name == "help") {
        command = invocation.operands.empty() ? nullptr : findCommand(invocation.operands[0]);
        if (!invocation.operands.empty() && !command) {
            std::fprintf(stderr,
                         "orvane: \"%s\" is not a command; see orvane --help.\n",
                         invocation.operands[0].c_str());
            return kExitUsage;
        }
    }
    const std::string text
        = command && command->name != "help" ? commandHelp(*command) : programHelp(ORVANE_VERSION);
    std::fputs(text.c_str(), stdout);
    return kExitDone;
}

// Writes the traffic log; a log that cannot be written turns success into
// a failure, since the user asked for it.
int writeLog(Session &session, const TrafficLog &log, int code)
{
    const std::string path = session.path(session.invocation.log);
    const Result<> written = session.platform.files.writeFileAtomically(
        path,
        trafficText(log, session.platform.clock.localDateTime()));
    if (written)
        return code;
    session.say("The traffic log " + path + " could not be written: " + written.error());
    return code == kExitDone ? kExitRefused : code;
}

int run(const std::vector<std::string> &arguments)
{
    const Result<Invocation> parsed = parseArguments(arguments);
    if (!parsed) {
        std::fprintf(stderr, "orvane: %s\n", parsed.error().c_str());
        return kExitUsage;
    }
    const Invocation &invocation = *parsed;
    if (invocation.version && !invocation.help) {
        std::printf("orvane %s\n", ORVANE_VERSION);
        return kExitDone;
    }
    if (invocation.help || invocation.command->name == "help")
        return printHelp(invocation);

    ConsolePlatform console;
    // COMn links are looked for where the editor looks: beside its working file.
    const std::string links = invocation.linkFolder.empty() ? chooseWorkingFolder(console.files)
                                                            : invocation.linkFolder;
    console.port.setLinkFolder(QString::fromStdString(links));
    Session session(console, invocation);

    TrafficLog log;
    if (!invocation.log.empty()) {
        const Result<std::string> path = session.writablePath(invocation.log);
        if (!path) {
            session.say(path.error());
            return kExitRefused;
        }
        session.link.setTrafficTap(&log);
    }
    int code = kExitUsage;
    for (const Command &c : kRunners)
        if (invocation.command->name == c.name)
            code = c.run(session);
    session.link.setTrafficTap(nullptr);
    session.link.closePort();
    session.progress.endLine();
    return invocation.log.empty() ? code : writeLog(session, log, code);
}

} // namespace
} // namespace orvane::cli

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The editor's names: the copies an upload keeps go to its Unit History.
    QCoreApplication::setOrganizationName(QStringLiteral("Halvero"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvane Editor"));
    return orvane::cli::run(std::vector<std::string>(argv + 1, argv + argc));
}
