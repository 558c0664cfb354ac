#pragma once

#include "app/AppState.h"
#include "cli/Arguments.h"
#include "cli/Progress.h"
#include "cli/TerminalViews.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "platform/Result.h"
#include "platform/qt/ConsolePlatform.h"
#include "transfer/Transfers.h"

#include <string>

// One run of `orvane`: the editor's logic over the console platform, as the
// main window holds it, with the command line's choices.

namespace orvane::cli {

class Session
{
public:
    Session(ConsolePlatform &console, const Invocation &invocation);

    // The --port value, or why it is none (then nothing may be sent).
    Result<int> port() const;
    // A file name given on the command line, resolved against the folder the
    // program was started in.
    std::string path(const std::string &name);
    // The resolved name of a file to write, or why its folder cannot take it.
    Result<std::string> writablePath(const std::string &name);
    // Whether the user agreed: --yes, "y" typed at a terminal; otherwise says
    // why not.
    bool confirm(const std::string &question);
    // With --yes, the command's own Yes/No question (asked before it sends
    // anything) is answered Yes.
    void approveCommand();
    // "orvane: " and the text on standard error, after any progress bar.
    void say(const std::string &text);
    // "COM5 (/dev/pts/3)".
    std::string portText(int port);

    ConsolePlatform &console;
    Platform &platform;
    const Invocation &invocation;
    Progress progress;
    AppState state;
    ByteLink link;
    TerminalConnectionView connectionView;
    Connection connection;
    TerminalTransferView view;
    Transfers transfers;
};

} // namespace orvane::cli
