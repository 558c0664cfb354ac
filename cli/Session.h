#pragma once

#include "app/AppState.h"
#include "cli/Arguments.h"
#include "cli/Faults.h"
#include "cli/Progress.h"
#include "cli/TerminalViews.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "platform/Result.h"
#include "platform/qt/ConsolePlatform.h"
#include "platform/qt/QtUserSettings.h"
#include "platform/sql/SqlProductionDatabase.h"
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
    // The files of the command line, before anything is sent: each file to
    // write (-o, --log) has a folder that takes it, is no folder itself and
    // is neither a file the command reads nor the other file it writes.
    Result<> checkFiles();
    // Reads a configuration file into `image`; a failure says what is wrong
    // with the file and which line.
    Result<> readConfig(const std::string &name, ConfigImage &image);
    // Whether a question can be answered: --yes, or a terminal to ask at.
    bool canConfirm() const;
    // Whether the user agreed: --yes, "y" typed at a terminal; otherwise says
    // why not.
    bool confirm(const std::string &question);
    // With --yes, the command's own Yes/No question (asked before it sends
    // anything) is answered Yes.
    void approveCommand();

    // "orvane: " and the text on standard error, after any progress bar.
    // What goes wrong between a stop and its announcement follows from it
    // and is not said.
    void say(const std::string &text);
    // A line that --quiet leaves out.
    void note(const std::string &text);
    // A line only --verbose shows.
    void detail(const std::string &text);
    // "COM5 (/dev/pts/3)".
    std::string portText(int port);

    // Says why connecting to `port` gave no usable instrument.
    Fault connectFailure(int port);
    // A transfer command's end, and what the messages before it did not say.
    Fault transferEnd(const TransferResult &result, int port);

    // A termination signal: the exchange ends as after a fault, once the
    // record in flight is sent; a second one ends it at once.
    void stop(int signal);
    int stoppedBy() const { return m_stoppedBy; }
    // Once the command has returned: ends the exchange a stop cut short and
    // says so.
    void endStoppedExchange();

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
    // Where the factory records its units, by the one rule: --db, the
    // factory window's setting, ORVANE_PRODUCTION_DB, the user's own file.
    QtUserSettings stationSettings;
    SqlProductionDatabase production;

private:
    int m_stoppedBy = 0;
    std::string m_stoppedDuring; // the step shown when the signal came
    bool m_stopAnnounced = false;
};

} // namespace orvane::cli
