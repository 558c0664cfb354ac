#include "cli/Faults.h"

namespace orvane::cli {

namespace {
constexpr int kSignalBase = 128;
} // namespace

int exitCode(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return 0;
    case Fault::Refused:
    case Fault::Differences:
        return 1;
    case Fault::Usage:
        return 2;
    case Fault::NoInstrument:
        return 3;
    case Fault::FailedHalfWay:
        return 4;
    }
    return 4;
}

int exitCodeForSignal(int signal)
{
    return kSignalBase + signal;
}

Fault faultOf(const TransferResult &result)
{
    if (!result)
        return Fault::FailedHalfWay;
    switch (*result) {
    case TransferOutcome::Completed:
        return Fault::None;
    case TransferOutcome::NotConnected:
        return Fault::NoInstrument;
    case TransferOutcome::Cancelled:
    case TransferOutcome::Busy:
        break;
    }
    return Fault::Refused;
}

} // namespace orvane::cli
