#include "link/LineUser.h"
#include "transfer/ExpectedTimes.h"
#include "transfer/RecordReads.h"
#include "transfer/Transfers.h"

#include <array>
#include <optional>

// Reading back what the instrument holds in the memories an upload writes:
// Read Everything, Compare with Orvane, and the reads an upload makes before
// it writes.

namespace orvane {

namespace {

std::string oddRecordsNotice(const InstrumentSnapshot &held)
{
    const std::vector<OddRecord> odd = oddRecords(held);
    if (odd.empty())
        return {};
    std::string text = "Everything was read from the Orvane, but these records cannot be shown "
                       "exactly as it holds them:";
    std::array<bool, 2> uploadedBy{}; // by kind: the category whose upload replaces them
    for (const OddRecord &record : odd) {
        const std::string number = std::to_string(record.number);
        const bool curve = record.kind == OddRecord::Kind::Curve;
        uploadedBy[curve] = true;
        text += curve ? "\r\nSender curve " + number + " cannot become points: " + record.why
                            + ". The default curve is shown in its place."
                      : "\r\nDisplay configuration " + number + ": " + record.why
                            + ". It is shown as held; an upload writes the right check byte.";
    }
    const std::string configurations(groupTitle(categoryIndex(Category::DisplayConfigurations)));
    const std::string curves(groupTitle(categoryIndex(Category::SenderCurves)));
    const std::string categories = uploadedBy[0] && uploadedBy[1] ? configurations + " or " + curves
                                   : uploadedBy[1]                ? curves
                                                                  : configurations;
    return text + "\r\nUploading " + categories
           + " replaces them. Every upload first keeps an exact copy of the unit, from which "
             "Restore This Unit Exactly (Unit History) puts them back.";
}

} // namespace

bool Transfers::readInstrument(InstrumentSnapshot &held, bool configurations, bool curves)
{
    if (!readSettingsImage())
        return false;
    held.settings = m_transfer.TransferBuffer;
    m_progress.advance(settingsReadMs());

    const auto begin = [this](const std::string &phrase, int number, int count) {
        beginStep(phrase, number, count);
    };
    const auto advanceBy = [this](int ms) {
        return [this, ms] {
            m_progress.advance(ms);
        };
    };
    return (!configurations
            || readConfigurationRecords(m_exchange,
                                        held,
                                        {begin, advanceBy(configurationsReadMs())}))
           && (!curves || readCurveRecords(m_exchange, held, {begin, advanceBy(curveReadMs())}));
}

// Reads what the instrument holds, then ends the exchange with the soft reset;
// the result of the command when it stopped on the way.
std::optional<TransferResult>
Transfers::readThenRestart(InstrumentSnapshot &held, bool configurations, bool curves)
{
    if (!readInstrument(held, configurations, curves))
        return fail(ExchangeEnd::SoftReset);
    restartOrvane();
    return std::nullopt;
}

TransferResult Transfers::ReadEverything()
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;
    const LineClaim claim = m_link.claimLine(LineUser::ReadEverything);
    if (!connect(ExchangeKind::ReadsIntoPc))
        return TransferOutcome::NotConnected;

    m_progress.start(settingsReadMs() + recordReadsMs(true, true) + endMs(kEndPause));
    InstrumentSnapshot held;
    if (const std::optional<TransferResult> stopped = readThenRestart(held, true, true))
        return *stopped;

    // Everything was read whole, so the image is replaced only now and at once.
    m_document.image = imageFromSnapshot(held);
    // As after opening a file, configuration 1 is the one edited.
    setFieldValue(m_document.image.IntNvm, kCurrentConfiguration, 1);
    m_document.changed = true;
    imageReplaced(m_editor, m_document.image);
    m_progress.finish();
    m_view.hideProgress();
    m_view.redraw();

    if (const std::string notice = oddRecordsNotice(held); !notice.empty())
        m_platform.dialogs.messageBox(notice,
                                      kReadEverythingTitle,
                                      MessageIcon::Information,
                                      MessageButtons::Ok);
    return TransferOutcome::Completed;
}

TransferResult Transfers::CompareWithOrvane(const Selection &categories, Comparison &comparison)
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;
    const LineClaim claim = m_link.claimLine(LineUser::Compare);
    if (!connect(ExchangeKind::ReadsIntoPc))
        return TransferOutcome::NotConnected;
    const ConfigImage image = m_document.image;
    const bool configurations = isTicked(categories, Category::DisplayConfigurations);
    const bool curves = isTicked(categories, Category::SenderCurves);

    m_progress.start(settingsReadMs() + recordReadsMs(configurations, curves) + endMs(kEndPause));
    InstrumentSnapshot held;
    if (const std::optional<TransferResult> stopped = readThenRestart(held, configurations, curves))
        return *stopped;
    m_progress.finish();
    m_view.hideProgress();

    // What a plain upload of these categories would leave in the instrument.
    const SettingsImage settings = uploadedSettings(m_transfer.TransferBuffer,
                                                    image.IntNvm,
                                                    categories,
                                                    {},
                                                    m_platform.clock.localDateTime());
    comparison = planComparison(held, planUpload(held, settings, image, categories, false));
    return TransferOutcome::Completed;
}

} // namespace orvane
