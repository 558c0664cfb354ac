// orvane: the editor's logic on the command line, for scripts and technicians.

#include "app/Startup.h"
#include "cli/Arguments.h"
#include "cli/Faults.h"
#include "cli/Help.h"
#include "cli/Session.h"
#include "link/TrafficLog.h"
#include "platform/Check.h"
#include "platform/qt/ConsolePlatform.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace orvane::cli {
namespace {

int printHelp(const Invocation &invocation)
{
    const std::string text = invocation.helpAll   ? referenceHelp(ORVANE_VERSION)
                             : invocation.command ? commandHelp(*invocation.command)
                                                  : programHelp(ORVANE_VERSION);
    std::fputs(text.c_str(), stdout);
    return exitCode(Fault::None);
}

// Writes the traffic log; a log that cannot be written turns success into
// a failure, since the user asked for it.
Fault writeLog(Session &session, const TrafficLog &log, Fault fault)
{
    const std::string path = session.path(session.invocation.log);
    const Result<> written = session.platform.files.writeFileAtomically(
        path,
        trafficText(log, session.platform.clock.localDateTime()));
    if (!written) {
        session.say("The traffic log " + path + " could not be written: " + written.error());
        return fault == Fault::None ? Fault::Refused : fault;
    }
    session.detail("Wrote the traffic log " + path + ".");
    return fault;
}

// Where the COMn links are: --link-folder or ORVANE_LINK_FOLDER, which must
// exist, or beside the editor's working file, where the editor looks.
Result<std::string> linkFolder(const Invocation &invocation, ConsolePlatform &console)
{
    if (invocation.linkFolder.empty())
        return chooseWorkingFolder(console.files);
    if (!isFolder(invocation.linkFolder))
        return failure("The link folder " + invocation.linkFolder + " (from "
                       + (invocation.linkFolderFromEnvironment ? std::string(kLinkFolderVariable)
                                                               : std::string("--link-folder"))
                       + ") does not exist. Give the folder that holds the COMn links.");
    return invocation.linkFolder;
}

int run(const std::vector<std::string> &arguments)
{
    const Result<Invocation> parsed
        = parseArguments(arguments,
                         {environmentValue(kPortVariable), environmentValue(kLinkFolderVariable)});
    if (!parsed) {
        std::fprintf(stderr, "orvane: %s\n", parsed.error().c_str());
        return exitCode(Fault::Usage);
    }
    const Invocation &invocation = *parsed;
    if (invocation.help || invocation.helpAll)
        return printHelp(invocation);
    if (invocation.version) {
        std::printf("orvane %s\n", ORVANE_VERSION);
        return exitCode(Fault::None);
    }
    ORVANE_CHECK(invocation.command && invocation.command->run, return exitCode(Fault::Usage));

    ConsolePlatform console;
    Session session(console, invocation);
    const Result<std::string> links = linkFolder(invocation, console);
    if (!links) {
        session.say(links.error());
        return exitCode(Fault::Refused);
    }
    console.port.setLinkFolder(QString::fromStdString(session.path(*links)));
    if (const Result<> files = session.checkFiles(); !files) {
        session.say(files.error());
        return exitCode(Fault::Refused);
    }
    std::string error;
    if (!console.termination.start(&error))
        session.say("Ctrl+C will end the program at once, without ending the exchange: " + error);
    QObject::connect(&console.termination, &TerminationWatch::arrived, [&session](int signal) {
        session.stop(signal);
    });
    if (invocation.port)
        session.detail(session.portText(*invocation.port) + "; COMn links are looked for in "
                       + session.path(*links) + ".");

    TrafficLog log;
    if (!invocation.log.empty())
        session.link.setTrafficTap(&log);
    Fault fault = invocation.command->run(session);
    if (session.stoppedBy() != 0)
        session.endStoppedExchange();
    session.link.setTrafficTap(nullptr);
    session.link.closePort();
    session.progress.endLine();
    if (!invocation.log.empty())
        fault = writeLog(session, log, fault);
    return session.stoppedBy() != 0 ? exitCodeForSignal(session.stoppedBy()) : exitCode(fault);
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
