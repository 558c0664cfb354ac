#include "transfer/Transfers.h"

#include "link/LineUser.h"
#include "transfer/ExpectedTimes.h"
#include "transfer/Identification.h"
#include "transfer/TransferImage.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr const char *kReadingSettings = "reading the Orvane's settings";
constexpr const char *kSelectionWaiting
    = "The transfer window is waiting for your answer. Press CONTINUE or CANCEL first.";

} // namespace

Transfers::Transfers(ConfigDocument &document,
                     TransferState &transfer,
                     EditorState &editor,
                     Platform &platform,
                     ByteLink &link,
                     Connection &connection,
                     TransferView &view)
    : m_document(document)
    , m_transfer(transfer)
    , m_editor(editor)
    , m_platform(platform)
    , m_link(link)
    , m_connection(connection)
    , m_view(view)
    , m_progress(view)
    , m_exchange(link)
{}

// --- shared steps -----------------------------------------------------------

bool Transfers::refuseWhileBusy()
{
    std::string why = lineBusyMessage(m_link.linkState().lineUser);
    if (why.empty() && m_view.selectionVisible())
        why = kSelectionWaiting;
    return orvane::refuseWhileBusy(m_platform.dialogs, why);
}

bool Transfers::connect(ExchangeKind kind)
{
    m_exchange.begin(kind);
    if (m_link.linkState().IsConnected)
        return true;
    return connectToInstrument(m_connection, m_document.image).connected;
}

void Transfers::beginStep(const std::string &phrase, int number, int count)
{
    m_exchange.step(phrase, number, count);
    m_view.setProgressText(progressLabel(phrase, number, count));
}

bool Transfers::readSettingsImage()
{
    const auto announce = [this](int attempt) {
        m_view.showProgress();
        beginStep(kReadingSettings);
        // The repeats take seconds; the user sees why the bar waits.
        if (attempt > 1)
            m_view.setProgressText(m_exchange.retryNotice(attempt));
    };
    const std::optional<SettingsImage> settings
        = m_exchange.readSettings(Exchange::kSettingsReadLeadPause, announce);
    if (!settings)
        return false;
    m_transfer.TransferBuffer = *settings;
    return true;
}

TransferResult Transfers::fail(ExchangeEnd end)
{
    return stop(end, m_exchange.failureMessage(), kExchangeFailedTitle);
}

TransferResult
Transfers::stop(ExchangeEnd end, const std::string &message, const std::string &title)
{
    // A lost link sends nothing; otherwise the instrument is told the
    // exchange is over, so it does not sit in command mode.
    if (!m_link.lost()) {
        switch (end) {
        case ExchangeEnd::SoftReset:
            m_connection.endExchange(CommandCode::SoftReset);
            break;
        case ExchangeEnd::Disconnect:
            m_connection.endExchange(CommandCode::Disconnect);
            break;
        case ExchangeEnd::MarkAndDisconnect:
            endBackupExchange();
            break;
        }
    }
    m_exchange.tellFailure(m_view, m_platform.dialogs, message, title);
    return failure(message);
}

void Transfers::restartOrvane()
{
    beginStep("restarting the Orvane");
    m_link.Delay(kEndPause);
    m_connection.endExchange(CommandCode::SoftReset);
}

// --- download -----------------------------------------------------------------

TransferResult Transfers::cmdDownload()
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;
    TransferState &transfer = m_transfer;

    if (!askDownloadSelection(transfer, m_platform, m_view))
        return TransferOutcome::Cancelled;
    const LineClaim claim = m_link.claimLine(LineUser::Download);
    if (!connect(ExchangeKind::ReadsIntoPc))
        return TransferOutcome::NotConnected;

    m_progress.start(settingsReadMs() + endMs(kEndPause));
    if (!readSettingsImage())
        return fail(ExchangeEnd::SoftReset);
    m_progress.advance(settingsReadMs());

    // Only a complete read with the right check byte reaches the image.
    const ConfigImage before = m_document.image;
    copyDownloadCategories(m_document.image.IntNvm,
                           transfer.TransferBuffer,
                           transfer.DownloadSelection);
    if (!(m_document.image == before))
        m_document.changed = true;

    restartOrvane();
    m_progress.finish();
    m_view.hideProgress();
    m_view.redraw();
    return TransferOutcome::Completed;
}

// --- upload -------------------------------------------------------------------

TransferResult Transfers::cmdUpload()
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;
    return runUpload();
}

bool Transfers::writeRecord(int address, std::span<const uint8_t> record)
{
    if (!m_exchange.writeBlock(CommandCode::WriteEeprom, address, record, kRecordWritePause))
        return false;
    m_progress.advance(recordWriteMs(kRecordSize, kRecordWritePause));
    return true;
}

TransferResult Transfers::runUpload()
{
    TransferState &transfer = m_transfer;

    if (!askUploadSelection(transfer, m_platform, m_view))
        return TransferOutcome::Cancelled;
    const Selection ticks = transfer.UploadSelection;
    const LineClaim claim = m_link.claimLine(LineUser::Upload);
    if (!connect())
        return TransferOutcome::NotConnected;
    // Send the image as it stands once connected (which reads the upload
    // counter into it): windows stay live during the upload, and an edit or a
    // File Open meanwhile must not leave the instrument with a mix of two
    // images.
    const ConfigImage image = m_document.image;
    // A new unit has nothing worth keeping or comparing: it gets everything.
    const bool reviewing = m_review && !transfer.NewUnitPending;
    // The records are read even where their categories are not ticked: the
    // copy of the unit must hold them, or restoring from it would write the
    // factory defaults over them.
    m_progress.start(recordReadsMs(reviewing, reviewing) + uploadMs(ticks));
    InstrumentSnapshot held;
    if (!readInstrument(held, reviewing, reviewing))
        return fail(ExchangeEnd::SoftReset);

    UploadProvisioning provisioning{transfer.NewUnitPending, std::nullopt};
    if (transfer.NewSerialPending)
        provisioning.newSerial = transfer.NewSerialBytes;
    transfer.TransferBuffer = uploadedSettings(transfer.TransferBuffer,
                                               image.IntNvm,
                                               ticks,
                                               provisioning,
                                               m_platform.clock.localDateTime());
    const bool writeEverything = !reviewing || transfer.forceFullWrite;
    UploadPlan plan = planUpload(held, transfer.TransferBuffer, image, ticks, writeEverything);
    if (reviewing) {
        const Comparison comparison = planComparison(held, plan);
        switch (reviewUpload(comparison)) {
        case Review::Cancel:
            return endCancelled();
        case Review::UploadEverything:
            plan = planUpload(held, transfer.TransferBuffer, image, ticks, true);
            break;
        case Review::Upload:
            break;
        }
        if (const auto stopped = keepUnitCopy(held, differenceSummary(comparison.differences)))
            return *stopped;
    }
    return writeUpload(plan, ticks, provisioning.newSerial.has_value(), RecordSource::Image);
}

std::optional<TransferResult> Transfers::keepUnitCopy(const InstrumentSnapshot &held,
                                                      const std::string &changes)
{
    beginStep("saving the copy of the Orvane's settings");
    const Result<UnitCopy> copy = saveUnitCopy(m_platform.files,
                                               held,
                                               changes,
                                               m_platform.clock.localDateTime(),
                                               m_link.linkState().ComPortNumber);
    if (copy)
        return std::nullopt;
    return stop(ExchangeEnd::SoftReset, copyNotKeptMessage(copy.error()), kCopyNotSavedTitle);
}

Transfers::Review Transfers::reviewUpload(const Comparison &comparison)
{
    beginStep("waiting for your answer");
    if (comparison.differences.empty())
        return m_review->uploadUnchanged() ? Review::UploadEverything : Review::Cancel;
    return m_review->confirmUpload(comparison) ? Review::Upload : Review::Cancel;
}

TransferResult Transfers::endCancelled()
{
    restartOrvane();
    m_view.hideProgress();
    return TransferOutcome::Cancelled;
}

bool Transfers::writeSettings(const UploadPlan &plan)
{
    beginStep("writing the Orvane's settings");
    const auto &buffer = plan.target.settings;
    switch (plan.settingsWrite) {
    case SettingsWrite::Whole:
        return m_exchange.writeSettings(buffer);
    case SettingsWrite::Bookkeeping: {
        // Only the counter and the date change: the bytes between them and
        // then the check byte, which sparing the rest leaves right.
        const int first = plan.bookkeepingFirst;
        const int count = plan.bookkeepingLast - first + 1;
        return m_exchange.writeBlock(CommandCode::WriteInternalNvm,
                                     first,
                                     std::span<const uint8_t>(buffer.data() + first, size_t(count)),
                                     0)
               && m_exchange.writeBlock(CommandCode::WriteInternalNvm,
                                        kNvmChecksumAddress,
                                        std::span<const uint8_t>(buffer.data(), 1),
                                        Exchange::kSettingsWritePause);
    }
    case SettingsWrite::None:
        break;
    }
    return true;
}

TransferResult Transfers::writeUpload(const UploadPlan &plan,
                                      const Selection &ticks,
                                      bool newSerial,
                                      RecordSource source)
{
    if (!writeSettings(plan))
        return fail(ExchangeEnd::SoftReset);
    // Kept until the serial number is really in the instrument, so that a
    // failed upload writes it next time.
    if (newSerial)
        m_transfer.NewSerialPending = false;
    m_progress.advance(recordWriteMs(kSettingsSize, Exchange::kSettingsWritePause));

    const auto planned = [](const std::vector<int> &records, int n) {
        return std::find(records.begin(), records.end(), n) != records.end();
    };
    if (isTicked(ticks, Category::DisplayConfigurations)) {
        for (int c = 1; c <= kConfigurations; ++c) {
            // The image carries the check byte its record goes out with.
            if (source == RecordSource::Image)
                m_document.image.CDC(c, 0) = m_document.image.CDC.checkByte(c);
            if (!planned(plan.configurations, c)) {
                m_progress.advance(recordWriteMs(kRecordSize, kRecordWritePause));
                continue;
            }
            beginStep("writing display configuration", c, kConfigurations);
            if (!writeRecord(configRecordAddress(c), plan.target.configurations[size_t(c - 1)]))
                return fail(ExchangeEnd::SoftReset);
        }
    }

    if (isTicked(ticks, Category::SenderCurves)) {
        for (int i = 0; i < kUploadedCurveCount; ++i) {
            const int n = kUploadedCurves[size_t(i)];
            if (!planned(plan.curves, n)) {
                m_progress.advance(recordWriteMs(kRecordSize, kRecordWritePause));
                continue;
            }
            beginStep("writing sender curve", i + 1, kUploadedCurveCount);
            if (!writeRecord(curveRecordAddress(n), plan.target.curves[size_t(i)]))
                return fail(ExchangeEnd::SoftReset);
        }
    }

    if (isTicked(ticks, Category::TodClock)) {
        beginStep("setting the Orvane's clock");
        const LocalDateTime now = m_platform.clock.localDateTime();
        m_link.Delay(kClockPause);
        if (!m_exchange.send(setClockFrame(now.hour, now.minute), 0))
            return fail(ExchangeEnd::SoftReset);
        m_progress.advance(endMs(kClockPause));
    }

    restartOrvane();
    if (!m_exchange.linkHolds())
        return fail(ExchangeEnd::SoftReset);
    m_progress.finish();
    m_view.hideProgress();
    return TransferOutcome::Completed;
}

} // namespace orvane
