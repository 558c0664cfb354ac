#include "cli/Commands.h"

#include "app/ImageComparison.h"
#include "cli/CategoryNames.h"
#include "cli/JsonOutput.h"
#include "cli/Session.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "transfer/UnitCopies.h"

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

// Reads a configuration file into the session's image; false once the
// failure is reported with its line.
bool readFile(Session &session, const std::string &name)
{
    const Result<> read = session.readConfig(name, session.state.document.image);
    if (!read)
        session.say(read.error());
    return read.ok();
}

// Writes the session's image to -o after a command read the instrument.
Fault saveRead(Session &session, int port)
{
    // A stop that came after the last exchange still keeps the file unwritten.
    if (session.stoppedBy() != 0)
        return Fault::None;
    const std::string path = session.path(session.invocation.output);
    const Result<> saved = saveConfigsFileAs(session.state.document.image,
                                             session.state.files,
                                             uint8_t(port),
                                             session.platform,
                                             path);
    if (!saved) {
        session.say("The Orvane was read, but " + path + " could not be written: "
                    + (saved.error().empty() ? "the file system refused it" : saved.error())
                    + ". Nothing else was changed; check the folder, or give -o another file.");
        return Fault::FailedHalfWay;
    }
    session.note("Wrote " + path + ".");
    return Fault::None;
}

void printReport(Session &session, const DifferenceReport &report)
{
    session.progress.endLine();
    if (session.invocation.json)
        std::fputs(jsonLine(reportJson(report)).c_str(), stdout);
    else if (report.empty())
        std::printf("No differences.\n");
    else
        std::printf("%s", reportText(report).c_str());
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

// Two files compared whole, without the instrument.
Fault compareFiles(Session &session)
{
    const Invocation &invocation = session.invocation;
    if (invocation.only) {
        session.say("--only goes with --port: two files are compared whole.");
        return Fault::Refused;
    }
    std::array<ConfigImage, 2> images;
    for (size_t i = 0; i < images.size(); ++i) {
        writeDefaultConfigurations(images[i].CDC);
        writeDefaultIntNvm(images[i].IntNvm);
        const Result<> read = session.readConfig(invocation.operands[i], images[i]);
        if (!read) {
            session.say(read.error());
            return Fault::Refused;
        }
    }
    const DifferenceReport report = describeDifferences(compareImages(images[0], images[1]));
    printReport(session, report);
    return report.empty() ? Fault::None : Fault::Differences;
}

// Backup and restore: the unit's own commands, which ask first.
Fault runUnitCommand(Session &session, TransferResult (Transfers::*command)(), const char *done)
{
    const Result<int> port = session.port();
    if (!port) {
        session.say(port.error());
        return Fault::Refused;
    }
    session.approveCommand();
    const Fault fault = session.transferEnd((session.transfers.*command)(), *port);
    if (fault == Fault::None)
        session.note("The Orvane on COM" + std::to_string(*port) + " " + done);
    else if (fault == Fault::Refused && !session.invocation.yes)
        session.say("Add --yes to go ahead without being asked.");
    return fault;
}

} // namespace

Fault runDownload(Session &session)
{
    int port = 0;
    Selection categories{};
    if (!checkPortAndCategories(session, downloadable(), port, categories))
        return Fault::Refused;
    if (!session.invocation.base.empty() && !readFile(session, session.invocation.base))
        return Fault::Refused;
    session.state.transfer.DownloadSelection = categories;
    const Fault fault = session.transferEnd(session.transfers.cmdDownload(), port);
    return fault == Fault::None ? saveRead(session, port) : fault;
}

Fault runReadAll(Session &session)
{
    const Result<int> port = session.port();
    if (!port) {
        session.say(port.error());
        return Fault::Refused;
    }
    const Fault fault = session.transferEnd(session.transfers.ReadEverything(), *port);
    return fault == Fault::None ? saveRead(session, *port) : fault;
}

Fault runUpload(Session &session)
{
    int port = 0;
    Selection categories{};
    if (!checkPortAndCategories(session, everything(), port, categories))
        return Fault::Refused;
    const std::string &file = session.invocation.operands[0];
    if (!readFile(session, file))
        return Fault::Refused;
    // The changes are shown only once the unit has been read; without a way
    // to confirm them, the unit is not even connected.
    if (!session.canConfirm()) {
        session.say("The upload was refused before anything was sent: without a terminal, its "
                    "changes cannot be confirmed. Add --yes to go ahead.");
        return Fault::Refused;
    }

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
        session.note("The Orvane already holds what " + file
                     + " would write; nothing was written (--full writes it all the same).");
        return Fault::None;
    }
    const Fault fault = session.transferEnd(result, port);
    if (fault == Fault::None)
        session.note("Uploaded " + file + " (" + categoryList(categories) + ").");
    return fault;
}

Fault runCompare(Session &session)
{
    const Invocation &invocation = session.invocation;
    if (invocation.operands.size() == 2)
        return compareFiles(session);

    int port = 0;
    Selection categories{};
    if (!checkPortAndCategories(session, everything(), port, categories))
        return Fault::Refused;
    if (!readFile(session, invocation.operands[0]))
        return Fault::Refused;
    Comparison comparison;
    const TransferResult result = session.transfers.CompareWithOrvane(categories, comparison);
    if (const Fault fault = session.transferEnd(result, port); fault != Fault::None)
        return fault;
    const DifferenceReport report = describeDifferences(comparison);
    printReport(session, report);
    return report.empty() ? Fault::None : Fault::Differences;
}

Fault runRestoreCopy(Session &session)
{
    const Result<int> port = session.port();
    if (!port) {
        session.say(port.error());
        return Fault::Refused;
    }
    const Result<UnitCopy> copy
        = unitCopyAt(session.platform.files, session.path(session.invocation.operands[0]));
    if (!copy) {
        session.say(copy.error());
        return Fault::Refused;
    }
    if (const Result<InstrumentSnapshot> bytes = unitCopyBytes(session.platform.files, *copy);
        !bytes) {
        session.say(bytes.error());
        return Fault::Refused;
    }
    if (!session.canConfirm()) {
        session.say("The restore was refused before anything was sent: without a terminal, its "
                    "changes cannot be confirmed. Add --yes to go ahead.");
        return Fault::Refused;
    }
    TerminalReview review(
        session.progress,
        [&] {
            return session.confirm("Restore the Orvane on COM" + std::to_string(*port)
                                   + " as the copy of " + copy->taken + " holds it?");
        },
        false);
    session.transfers.setUploadReview(&review);
    const TransferResult result = session.transfers.RestoreUnitExactly(*copy);
    session.transfers.setUploadReview(nullptr);
    const Fault fault = session.transferEnd(result, *port);
    if (fault == Fault::None && !review.refused())
        session.note("Restored unit " + copy->serial + " from the copy of " + copy->taken + ".");
    return fault;
}

Fault runBackup(Session &session)
{
    return runUnitCommand(session, &Transfers::CreateBackup, "holds a new System Backup.");
}

Fault runRestore(Session &session)
{
    return runUnitCommand(session,
                          &Transfers::RestoreBackup,
                          "was restored from its System Backup.");
}

} // namespace orvane::cli
