#pragma once

#include "cli/Faults.h"

// Each command of `orvane`, run from its row in cli/CommandTable.cpp. Every
// value on the command line is checked before anything is sent.

namespace orvane::cli {

class Session;

Fault runPorts(Session &session);
Fault runIdentify(Session &session);
Fault runDump(Session &session);

Fault runDownload(Session &session);
Fault runReadAll(Session &session);
Fault runUpload(Session &session);
Fault runCompare(Session &session);
Fault runBackup(Session &session);
Fault runRestore(Session &session);
Fault runRestoreCopy(Session &session);

Fault runUnits(Session &session);
Fault runProvision(Session &session);

} // namespace orvane::cli
