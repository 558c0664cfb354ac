#include "cli/Session.h"

#include "config/Defaults.h"
#include "editors/EditorState.h"

#include <cstdio>

namespace orvane::cli {

Session::Session(ConsolePlatform &console_, const Invocation &invocation_)
    : console(console_)
    , platform(console_.platform)
    , invocation(invocation_)
    , progress(stderr, standardErrorIsTerminal(), terminalColumns())
    , link(platform)
    , connectionView(progress)
    , connection(platform, link, connectionView)
    , view(state.transfer, progress)
    , transfers(state.document, state.transfer, state.editor, platform, link, connection, view)
{
    loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
    state.files.WorkingFolder = currentFolder();
    link.setIdentityTexts("Unknown");
    if (invocation.port)
        link.setComPortNumber(uint8_t(*invocation.port));
    // The selections come from the command line; the dialog is not shown.
    state.transfer.ShowUploadWarning = false;
    state.transfer.UploadSelection.fill(1);
    for (int i = 0; i < kCategoryCount; ++i)
        state.transfer.DownloadSelection[size_t(i)] = kCategories[size_t(i)].enabledInDownload;
    console.dialogs.setBeforePrint([this] { progress.endLine(); });
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
        return failure("COM" + std::to_string(n) + " is not a port: the COM number is 1.."
                       + std::to_string(Connection::kHighestPortNumber) + ".");
    return n;
}

std::string Session::path(const std::string &name)
{
    return platform.files.resolve(state.files.WorkingFolder, name);
}

Result<std::string> Session::writablePath(const std::string &name)
{
    const std::string full = path(name);
    const size_t slash = full.find_last_of("/\\");
    const std::string folder
        = slash == std::string::npos ? state.files.WorkingFolder : full.substr(0, slash + 1);
    if (!platform.files.isWritableFolder(folder))
        return failure(full + " cannot be written: its folder " + folder
                       + " does not exist or is not writable.");
    return full;
}

bool Session::confirm(const std::string &question)
{
    if (invocation.yes)
        return true;
    progress.endLine();
    if (standardInputIsTerminal())
        return askYesNo(question);
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
    progress.endLine();
    std::fprintf(stderr, "orvane: %s\n", text.c_str());
    std::fflush(stderr);
}

std::string Session::portText(int port)
{
    return "COM" + std::to_string(port) + " (" + platform.port.deviceForPort(port) + ")";
}

} // namespace orvane::cli
