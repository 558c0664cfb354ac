#pragma once

#include "link/Connection.h"
#include "transfer/Transfers.h"

#include <string>

// How a command ended, and the one mapping from that to the exit code that
// --help and the manual page document. Every command reports the same fault
// the same way.

namespace orvane::cli {

enum class Fault {
    None,          // done
    Refused,       // a question not confirmed, a value or file that cannot be used
    Differences,   // compare: the two sides differ
    Usage,         // the command line does not fit the command
    NoInstrument,  // the port did not open, no Orvane answered, or the line went while connecting
    FailedHalfWay, // the message says what was written
};

int exitCode(Fault fault);
// A run ended by a termination signal: 128 plus its number, as a shell reports it.
int exitCodeForSignal(int signal);

// A connection that did not give a usable instrument.
inline Fault faultOf(ConnectEnd end)
{
    return end == ConnectEnd::Connected ? Fault::None : Fault::NoInstrument;
}

// A transfer command's end. A failure was reported with what was written;
// NotConnected leaves the connection's end to be reported (connectFailure).
Fault faultOf(const TransferResult &result);

} // namespace orvane::cli
