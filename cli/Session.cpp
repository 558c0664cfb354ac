#include "cli/Session.h"

#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "editors/EditorState.h"

#include <cstdio>

namespace orvane::cli {

namespace {

Progress::Style progressStyle(const Invocation &invocation)
{
    if (invocation.quiet)
        return Progress::Style::Silent;
    if (invocation.verbose || !standardErrorIsTerminal())
        return Progress::Style::Lines;
    return Progress::Style::Bar;
}

struct NamedFile
{
    std::string role; // "-o", "--log", "which orvane upload reads"
    std::string path;
};

} // namespace

Session::Session(ConsolePlatform &console_, const Invocation &invocation_)
    : console(console_)
    , platform(console_.platform)
    , invocation(invocation_)
    , progress(stderr, progressStyle(invocation_), terminalColumns())
    , link(platform)
    , connectionView(progress)
    , connection(platform, link, connectionView)
    , view(state.transfer, progress)
    , transfers(state.document, state.transfer, state.editor, platform, link, connection, view)
    , production(stationSettings, console_.files.userDataFolder())
{
    loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
    state.files.WorkingFolder = currentFolder();
    link.setIdentityTexts("Unknown");
    if (invocation.port && *invocation.port >= 1
        && *invocation.port <= Connection::kHighestPortNumber)
        link.setComPortNumber(uint8_t(*invocation.port));
    // The selections come from the command line; the dialog is not shown.
    state.transfer.ShowUploadWarning = false;
    state.transfer.UploadSelection.fill(1);
    for (int i = 0; i < kCategoryCount; ++i)
        state.transfer.DownloadSelection[size_t(i)] = kCategories[size_t(i)].enabledInDownload;
    console.dialogs.setBeforePrint([this] { progress.endLine(); });
    // The connection's box for a lost line is replaced by connectFailure's
    // sentence, which names the cause before the system's words.
    console.dialogs.setMessageFilter([this](const std::string &text) {
        return m_stoppedBy == 0 && text != connection.lostLinkMessage();
    });
    // Without --yes, questions are asked at a terminal; with it, only the
    // command's own question is answered (approveCommand), the rest No.
    console.dialogs.setAskAtTerminal(!invocation.yes && standardInputIsTerminal());
}

Result<int> Session::port() const
{
    if (!invocation.port)
        return failure("No port given: add --port N.");
    const int n = *invocation.port;
    if (n < 1 || n > Connection::kHighestPortNumber)
        return failure(invocation.portName + " is not a port: the COM number is 1.."
                       + std::to_string(Connection::kHighestPortNumber) + "."
                       + (invocation.portFromEnvironment
                              ? std::string(" It came from ") + kPortVariable + "."
                              : std::string()));
    return n;
}

std::string Session::path(const std::string &name)
{
    return platform.files.resolve(state.files.WorkingFolder, name);
}

Result<> Session::checkFiles()
{
    std::vector<NamedFile> inputs;
    if (invocation.command->operandsAreFiles)
        for (const std::string &operand : invocation.operands)
            inputs.push_back({"which orvane " + std::string(invocation.command->name) + " reads",
                              path(operand)});
    if (!invocation.base.empty())
        inputs.push_back({"the --base file", path(invocation.base)});
    std::vector<NamedFile> outputs;
    if (!invocation.output.empty())
        outputs.push_back({"-o", path(invocation.output)});
    if (!invocation.log.empty())
        outputs.push_back({"--log", path(invocation.log)});

    for (size_t i = 0; i < outputs.size(); ++i) {
        const NamedFile &out = outputs[i];
        if (isFolder(out.path))
            return failure(out.path + " is a folder: " + out.role + " needs a file name.");
        const size_t slash = out.path.find_last_of("/\\");
        const std::string folder = slash == std::string::npos ? state.files.WorkingFolder
                                                              : out.path.substr(0, slash + 1);
        if (!platform.files.isWritableFolder(folder))
            return failure(out.path + " cannot be written: its folder " + folder
                           + " does not exist or is not writable.");
        for (const NamedFile &in : inputs)
            if (sameFile(out.path, in.path))
                return failure(out.role + " names " + in.path + ", " + in.role
                               + "; it would be overwritten. Give " + out.role
                               + " another file name.");
        for (size_t j = 0; j < i; ++j)
            if (sameFile(out.path, outputs[j].path))
                return failure(outputs[j].role + " and " + out.role + " name the same file, "
                               + out.path + ". Give them different names.");
    }
    return {};
}

Result<> Session::readConfig(const std::string &name, ConfigImage &image)
{
    const std::string file = path(name);
    const ConfigRead read = readConfigFile(image, state.files, platform, file);
    if (!read.failure)
        return {};
    const ConfigReadFailure &f = *read.failure;
    if (f.line == 0)
        return failure(file + " could not be read: " + f.found
                       + ". Check the name and that the file is readable.");
    return failure(file + " is not a complete configuration file. Line " + std::to_string(f.line)
                   + ": expected " + f.expected + ", found " + f.found
                   + ". Correct that line, or give another file.");
}

bool Session::canConfirm() const
{
    return invocation.yes || standardInputIsTerminal();
}

bool Session::confirm(const std::string &question)
{
    if (invocation.yes)
        return true;
    progress.endLine();
    if (standardInputIsTerminal())
        return askYesNo(question, console.termination);
    say(question + " Refused: there is no terminal to answer at; add --yes to go ahead.");
    return false;
}

void Session::approveCommand()
{
    if (invocation.yes)
        console.dialogs.approveQuestions(1);
}

void Session::say(const std::string &text)
{
    if (m_stoppedBy != 0 && !m_stopAnnounced)
        return;
    progress.endLine();
    std::fprintf(stderr, "orvane: %s\n", text.c_str());
    std::fflush(stderr);
}

void Session::note(const std::string &text)
{
    if (!invocation.quiet)
        say(text);
}

void Session::detail(const std::string &text)
{
    if (invocation.verbose)
        say(text);
}

std::string Session::portText(int port)
{
    return "COM" + std::to_string(port) + " (" + platform.port.deviceForPort(port) + ")";
}

Fault Session::connectFailure(int port)
{
    const std::string where = portText(port);
    switch (connection.lastEnd()) {
    case ConnectEnd::Connected:
        return Fault::None;
    case ConnectEnd::NoPort:
    case ConnectEnd::PortNotOpened: {
        // Opening once more costs nothing and tells the system's reason.
        const Result<> opened = platform.port.open(port);
        platform.port.close();
        const std::vector<std::string> advice = platform.port.adviceForPort(port);
        std::string text = where + " could not be opened.";
        for (const std::string &line : advice)
            text += " " + line;
        if (advice.empty())
            text += " Check that the adapter is plugged in, that you may use it (the dialout "
                    "group) and that no other program holds it.";
        if (!opened)
            text += " (The system said: " + opened.error() + ".)";
        say(text + " Nothing was sent.");
        break;
    }
    case ConnectEnd::Refused:
        say("The instrument on " + where + " is not an Orvane (product code "
            + std::to_string(link.linkState().ProductCode) + "). Nothing was written.");
        break;
    case ConnectEnd::NoAnswer:
        say("No Orvane answered on " + where
            + ". Check the cable and the instrument's power. Nothing was written.");
        break;
    case ConnectEnd::LinkLost: {
        const std::string reason = link.lostReason();
        say("The line to " + where
            + " stopped working while connecting, as when an adapter is unplugged or the "
              "virtual instrument ends"
            + (reason.empty() ? "" : " (the system said: " + reason + ")")
            + ". Nothing was written. Check the cable and the adapter, then try again.");
        break;
    }
    }
    return faultOf(connection.lastEnd());
}

Fault Session::transferEnd(const TransferResult &result, int port)
{
    progress.endLine();
    const Fault fault = faultOf(result);
    if (fault == Fault::NoInstrument)
        return connectFailure(port);
    // A failure's message, saying what was written, is out.
    if (fault == Fault::Refused)
        say("Nothing was done.");
    return fault;
}

void Session::stop(int signal)
{
    // A second signal does not wait for the record in flight.
    if (m_stoppedBy != 0) {
        link.markLost("stopped again by " + signalName(signal));
        return;
    }
    m_stoppedBy = signal;
    m_stoppedDuring = progress.lastStep();
    link.requestStop("stopped by " + signalName(signal));
}

void Session::endStoppedExchange()
{
    const bool unitWaits = link.resumeAfterStop();
    if (unitWaits)
        connection.endExchange(CommandCode::SoftReset);
    std::string text = "Stopped by " + signalName(m_stoppedBy);
    if (!m_stoppedDuring.empty())
        text += " while " + m_stoppedDuring;
    text += unitWaits ? "; the Orvane was told the exchange is over." : ".";
    if (!invocation.output.empty())
        text += " " + path(invocation.output) + " was not written.";
    m_stopAnnounced = true;
    say(text);
}

} // namespace orvane::cli
