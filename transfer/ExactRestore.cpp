#include "link/LineUser.h"
#include "platform/Check.h"
#include "transfer/ExpectedTimes.h"
#include "transfer/Transfers.h"

// Putting a unit back exactly as a kept copy of it was: every byte of its
// settings and records from the copy's raw bytes, written the way an upload
// writes, after the same review and with a copy of what it holds now kept
// first.

namespace orvane {

namespace {

// The records a restore writes travel in these two categories; the clock is
// left alone.
Selection recordCategories()
{
    Selection records{};
    records[size_t(categoryIndex(Category::DisplayConfigurations))] = 1;
    records[size_t(categoryIndex(Category::SenderCurves))] = 1;
    return records;
}

} // namespace

TransferResult Transfers::RestoreUnitExactly(const UnitCopy &copy)
{
    ORVANE_CHECK(m_review, return failure("Restoring needs the comparison window."));
    if (refuseWhileBusy())
        return TransferOutcome::Busy;
    // A copy that cannot give back every byte sends nothing at all.
    const Result<InstrumentSnapshot> bytes = unitCopyBytes(m_platform.files, copy);
    if (!bytes) {
        m_platform.dialogs.messageBox(bytes.error(),
                                      kRestoreExactlyTitle,
                                      MessageIcon::Warning,
                                      MessageButtons::Ok);
        return failure(bytes.error());
    }
    const LineClaim claim = m_link.claimLine(LineUser::RestoreCopy);
    if (!connect())
        return TransferOutcome::NotConnected;

    const Selection records = recordCategories();
    m_progress.start(recordReadsMs(true, true) + uploadMs(records));
    InstrumentSnapshot held;
    if (!readInstrument(held, true, true))
        return fail(ExchangeEnd::SoftReset);

    // Another unit's serial number, counters and curves are never written
    // over this one's by mistake.
    const std::string attached = unitSerialText(held);
    const std::string copied = unitSerialText(*bytes);
    if (attached != copied)
        return stop(ExchangeEnd::SoftReset,
                    "The Orvane attached is unit " + attached + ", but this copy is of unit "
                        + copied + ". Nothing was written to the Orvane. Attach unit " + copied
                        + " to restore it, or open the copy and upload it to give unit " + attached
                        + " its settings.",
                    kRestoreExactlyTitle);

    const UploadPlan plan = restorePlan(held, *bytes);
    if (!writesAnything(plan)) {
        (void)endCancelled(); // the exchange ends as when the user cancels
        m_platform.dialogs.messageBox("Unit " + attached
                                          + " already holds exactly what this copy holds. "
                                            "Nothing was written.",
                                      kRestoreExactlyTitle,
                                      MessageIcon::Information,
                                      MessageButtons::Ok);
        return TransferOutcome::Completed;
    }
    beginStep("waiting for your answer");
    const Comparison comparison = planComparison(held, plan, true);
    if (!m_review->confirmRestore(comparison))
        return endCancelled();
    if (const auto stopped = keepUnitCopy(held, differenceSummary(comparison.differences)))
        return *stopped;
    return writeUpload(plan, records, false, RecordSource::Copy);
}

} // namespace orvane
