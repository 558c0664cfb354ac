#pragma once

#include "cli/Session.h"
#include "transfer/Transfers.h"

// Each command of `orvane`; each returns the exit code (cli/ExitCodes.h).
// Every value on the command line is checked before anything is sent.

namespace orvane::cli {

int runPorts(Session &session);
int runIdentify(Session &session);
int runDump(Session &session);

int runDownload(Session &session);
int runReadAll(Session &session);
int runUpload(Session &session);
int runCompare(Session &session);
int runBackup(Session &session);
int runRestore(Session &session);

// The exit code of a transfer that ended as `result`, saying what the
// messages before it did not.
int transferExit(Session &session, const TransferResult &result, int port);

} // namespace orvane::cli
