#include "cli/Commands.h"

#include "app/ImageComparison.h"
#include "cli/CategoryNames.h"
#include "cli/ExitCodes.h"
#include "cli/Json.h"
#include "config/ConfigFile.h"
#include "config/FileCommands.h"

#include <cstdio>

// The commands that move or compare configurations, and the instrument's own
// backup: each is the editor's command, with the command line's choices.

namespace orvane::cli {

namespace {

Selection everything()
{
    Selection all;
    all.fill(1);
    return all;
}

Selection downloadable()
{
    Selection allowed{};
    for (size_t i = 0; i < allowed.size(); ++i)
        allowed[i] = kCategories[i].enabledInDownload;
    return allowed;
}

// --only, or everything allowed.
Result<Selection> chosenCategories(const Session &session, const Selection &allowed)
{
    if (!session.invocation.only)
        return allowed;
    return parseCategories(*session.invocation.only, allowed);
}

// Reads a configuration file into the session's image; a failure has been
// reported with its line.
bool readFile(Session &session, const std::string &name)
{
    const OpenedFile opened = openConfigPath(session.state.document,
                                             session.state.files,
                                             session.platform,
                                             session.path(name));
    return opened.result == FileCommandResult::Done;
}

// Writes the session's image to `path` after a command read the instrument.
int saveRead(Session &session, const std::string &path, int port)
{
    const Result<> saved = saveConfigsFileAs(session.state.document.image,
                                             session.state.files,
                                             uint8_t(port),
                                             session.platform,
                                             path);
    if (!saved) {
        session.say("The Orvane was read, but " + saveFailureMessage(path, saved));
        return kExitFailedHalfWay;
    }
    session.say("Wrote " + path + ".");
    return kExitDone;
}

void printReport(Session &session, const DifferenceReport &report)
{
    session.progress.endLine();
    if (session.invocation.json) {
        std::vector<std::string> groups;
        for (const DifferenceGroup &group : report) {
            std::vector<std::string> lines;
            for (const std::string &line : group.lines)
                lines.push_back(jsonString(line));
            groups.push_back(jsonObject({jsonMember("category", jsonString(group.title)),
                                         jsonMember("differences", jsonArray(lines))}));
        }
        std::printf("%s\n",
                    jsonObject({jsonMember("identical", report.empty() ? "true" : "false"),
                                jsonMember("groups", jsonArray(groups))})
                        .c_str());
    } else if (report.empty()) {
        std::printf("No differences.\n");
    } else {
        std::printf("%s", reportText(report).c_str());
    }
    std::fflush(stdout);
}

// The port, and the selection of --only; false (with the message) when either is wrong.
bool checkPortAndCategories(Session &session,
                            const Selection &allowed,
                            int &port,
                            Selection &chosen)
{
    const Result<int> p = session.port();
    if (!p) {
        session.say(p.error());
        return false;
    }
    const Result<Selection> categories = chosenCategories(session, allowed);
    if (!categories) {
        session.say(categories.error());
        return false;
    }
    port = *p;
    chosen = *categories;
    return true;
}

} // namespace

int transferExit(Session &session, const TransferResult &result, int port)
{
    session.progress.endLine();
    if (!result)
        return kExitFailedHalfWay; // the message, saying what was written, is out
    switch (*result) {
    case TransferOutcome::Completed:
        return kExitDone;
    case TransferOutcome::NotConnected:
        session.say("No Orvane could be reached on " + session.portText(port)
                    + ". Nothing was sent.");
        return kExitNoInstrument;
    case TransferOutcome::Cancelled:
    case TransferOutcome::Busy:
        break;
    }
    session.say("Nothing was done.");
    return kExitRefused;
}

int runDownload(Session &session)
{
    int port = 0;
    Selection categories{};
    if (!checkPortAndCategories(session, downloadable(), port, categories))
        return kExitRefused;
    const Result<std::string> output = session.writablePath(session.invocation.output);
    if (!output) {
        session.say(output.error());
        return kExitRefused;
    }
    if (!session.invocation.base.empty() && !readFile(session, session.invocation.base))
        return kExitRefused;
    session.state.transfer.DownloadSelection = categories;
    const int code = transferExit(session, session.transfers.cmdDownload(), port);
    return code == kExitDone ? saveRead(session, *output, port) : code;
}

int runReadAll(Session &session)
{
    const Result<int> port = session.port();
    if (!port) {
        session.say(port.error());
        return kExitRefused;
    }
    const Result<std::string> output = session.writablePath(session.invocation.output);
    if (!output) {
        session.say(output.error());
        return kExitRefused;
    }
    const int code = transferExit(session, session.transfers.ReadEverything(), *port);
    return code == kExitDone ? saveRead(session, *output, *port) : code;
}

int runUpload(Session &session)
{
    int port = 0;
    Selection categories{};
    if (!checkPortAndCategories(session, everything(), port, categories))
        return kExitRefused;
    const std::string &file = session.invocation.operands[0];
    if (!readFile(session, file))
        return kExitRefused;

    TransferState &transfer = session.state.transfer;
    transfer.UploadSelection = categories;
    transfer.forceFullWrite = session.invocation.full;
    TerminalReview review(
        session.progress,
        [&session, port] {
            return session.confirm("Upload these changes to the Orvane on COM"
                                   + std::to_string(port) + "?");
        },
        session.invocation.full);
    session.transfers.setUploadReview(&review);
    const TransferResult result = session.transfers.cmdUpload();
    session.transfers.setUploadReview(nullptr);

    if (result && *result == TransferOutcome::Cancelled && review.foundUnchanged()) {
        session.say("The Orvane already holds what " + file
                    + " would write; nothing was written (--full writes it all the same).");
        return kExitDone;
    }
    const int code = transferExit(session, result, port);
    if (code == kExitDone)
        session.say("Uploaded " + file + " (" + categoryList(categories) + ").");
    return code;
}

int runCompare(Session &session)
{
    const Invocation &invocation = session.invocation;
    if (invocation.operands.size() == 2) {
        if (invocation.only) {
            session.say("--only goes with --port: two files are compared whole.");
            return kExitRefused;
        }
        const Result<DifferenceReport> report
            = compareConfigFiles(session.platform,
                                 session.path(invocation.operands[0]),
                                 session.path(invocation.operands[1]));
        if (!report) {
            session.say(report.error());
            return kExitRefused;
        }
        printReport(session, *report);
        return report->empty() ? kExitDone : kExitRefused;
    }

    int port = 0;
    Selection categories{};
    if (!checkPortAndCategories(session, everything(), port, categories))
        return kExitRefused;
    if (!readFile(session, invocation.operands[0]))
        return kExitRefused;
    Comparison comparison;
    const TransferResult result = session.transfers.CompareWithOrvane(categories, comparison);
    if (const int code = transferExit(session, result, port); code != kExitDone)
        return code;
    const DifferenceReport report = describeDifferences(comparison);
    printReport(session, report);
    return report.empty() ? kExitDone : kExitRefused;
}

int runBackup(Session &session)
{
    const Result<int> port = session.port();
    if (!port) {
        session.say(port.error());
        return kExitRefused;
    }
    session.approveCommand();
    const int code = transferExit(session, session.transfers.CreateBackup(), *port);
    if (code == kExitDone)
        session.say("The Orvane on COM" + std::to_string(*port) + " holds a new System Backup.");
    else if (code == kExitRefused && !session.invocation.yes)
        session.say("Add --yes to go ahead without being asked.");
    return code;
}

int runRestore(Session &session)
{
    const Result<int> port = session.port();
    if (!port) {
        session.say(port.error());
        return kExitRefused;
    }
    session.approveCommand();
    const int code = transferExit(session, session.transfers.RestoreBackup(), *port);
    if (code == kExitDone)
        session.say("The Orvane on COM" + std::to_string(*port)
                    + " was restored from its System Backup.");
    else if (code == kExitRefused && !session.invocation.yes)
        session.say("Add --yes to go ahead without being asked.");
    return code;
}

} // namespace orvane::cli
