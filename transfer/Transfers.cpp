#include "transfer/Transfers.h"

#include "link/Commands.h"
#include "link/LineUser.h"
#include "transfer/ExpectedTimes.h"
#include "transfer/Identification.h"
#include "transfer/TransferImage.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr const char *kAdvice = "Check the cable and the instrument's power, then try again.";
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
{}

// --- shared steps -----------------------------------------------------------

bool Transfers::refuseWhileBusy()
{
    std::string why = lineBusyMessage(m_link.linkState().lineUser);
    if (why.empty() && m_view.selectionVisible())
        why = kSelectionWaiting;
    if (why.empty())
        return false;
    m_platform.dialogs.beep();
    m_platform.dialogs.messageBox(why,
                                  kLineBusyTitle,
                                  MessageIcon::Information,
                                  MessageButtons::Ok);
    return true;
}

bool Transfers::connect(bool downloading)
{
    m_stepPhrase.clear();
    m_nothingChanged = true;
    m_downloading = downloading;
    if (m_link.linkState().IsConnected)
        return true;
    return connectToInstrument(m_connection, m_document.image).connected;
}

void Transfers::beginStep(const std::string &phrase, int number, int count)
{
    m_stepPhrase = stepText(phrase, number, count);
    m_view.setProgressText(progressLabel(phrase, number, count));
}

bool Transfers::problem(Problem p)
{
    m_problem = p;
    return false;
}

bool Transfers::linkHolds()
{
    return !m_link.lost() || problem(Problem::LinkLost);
}

bool Transfers::writeBlock(CommandCode code,
                           int address,
                           std::span<const uint8_t> data,
                           double trailingPause,
                           double framePause)
{
    m_nothingChanged = false;
    switch (orvane::writeBlock(m_link, code, address, data, trailingPause, framePause)) {
    case BlockWriteEnd::Completed:
        return true;
    case BlockWriteEnd::NoEcho:
        return problem(Problem::NoAnswer);
    case BlockWriteEnd::LinkLost:
        break;
    }
    return problem(Problem::LinkLost);
}

bool Transfers::readAnswer(const Frame &frame,
                           int count,
                           double pause,
                           std::vector<uint8_t> &answer)
{
    for (int attempt = 1; attempt <= kMaxReadAttempts; ++attempt) {
        answer = issueRead(m_link, frame, count, pause);
        if (!linkHolds())
            return false;
        const int received = m_link.rx().RxCount;
        if (received >= count)
            return true;
        m_problem = received == 0 ? Problem::NoAnswer : Problem::ShortAnswer;
    }
    return false;
}

Transfers::ReadOutcome Transfers::readSettingsImage()
{
    SettingsBuffer &buffer = m_transfer.TransferBuffer;
    for (int attempt = 1; attempt <= kMaxReadAttempts; ++attempt) {
        // A read that failed is repeated from the connect, as the verify of
        // the upload always did; a lost link is not reconnected behind the
        // user's back.
        if (!m_link.linkState().IsConnected) {
            if (!linkHolds() || attempt > 1)
                return ReadOutcome::Failed;
            if (!connectToInstrument(m_connection, m_document.image).connected)
                return ReadOutcome::NotConnected;
        }
        m_link.Delay(kSettingsReadLeadPause);
        m_link.ResetReceive();
        m_view.showProgress();
        beginStep(kReadingSettings);
        // The repeats take seconds; the user sees why the bar waits.
        if (attempt > 1)
            m_view.setProgressText("No good answer yet, reading the Orvane's settings again: try "
                                   + std::to_string(attempt) + " of "
                                   + std::to_string(kMaxReadAttempts));
        sendFrame(m_link, memoryFrame(CommandCode::ReadInternalNvm, kSettingsSize, 0));
        m_link.Delay(kSettingsReadPause);
        if (!linkHolds())
            return ReadOutcome::Failed;

        for (int i = 0; i < kSettingsSize; ++i)
            buffer[size_t(i)] = uint8_t(m_link.rxSlot(i + 1) & 0xFF);
        const int received = m_link.rx().RxCount;
        if (received < kSettingsSize) {
            m_problem = received == 0 ? Problem::NoAnswer : Problem::ShortAnswer;
            continue;
        }
        if (buffer[kSettingsCheckByte.address] != settingsCheckByte(buffer)) {
            m_problem = Problem::BadCheckByte;
            continue;
        }
        return ReadOutcome::Ok;
    }
    return ReadOutcome::Failed;
}

Transfers::Problem Transfers::problemOf(RecordReadProblem problem)
{
    switch (problem) {
    case RecordReadProblem::NoAnswer:
        return Problem::NoAnswer;
    case RecordReadProblem::ShortAnswer:
        return Problem::ShortAnswer;
    case RecordReadProblem::BadRecord:
        return Problem::BadRecord;
    case RecordReadProblem::Unsteady:
        return Problem::Unsteady;
    case RecordReadProblem::LinkLost:
        break;
    }
    return Problem::LinkLost;
}

std::string Transfers::failureMessage() const
{
    const std::string where
        = m_stepPhrase.empty() ? std::string("talking to the Orvane") : m_stepPhrase;
    std::string text;
    switch (m_problem) {
    case Problem::NoAnswer:
        text = "No answer from the Orvane while " + where + ".";
        break;
    case Problem::ShortAnswer:
        text = "The Orvane's answer was incomplete " + std::to_string(kMaxReadAttempts)
               + " times while " + where + ".";
        break;
    case Problem::BadCheckByte:
        text = "The Orvane's settings failed their check byte " + std::to_string(kMaxReadAttempts)
               + " times while " + where + ".";
        break;
    case Problem::BadRecord:
        text = recordReadSentence(RecordReadProblem::BadRecord, where);
        break;
    case Problem::Unsteady:
        text = recordReadSentence(RecordReadProblem::Unsteady, where);
        break;
    case Problem::LinkLost:
        text = m_link.lostSentence(where);
        break;
    }
    if (m_nothingChanged)
        text += m_downloading ? " The PC's settings were not changed."
                              : " Nothing was written to the Orvane.";
    return text + " " + kAdvice;
}

TransferResult Transfers::fail(ExchangeEnd end)
{
    return stop(end, failureMessage(), kTransferFailedTitle);
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
    m_link.setConnected(false);
    m_view.setConnectedCaption(kNotConnectedText);
    m_view.hideProgress();
    m_platform.dialogs.messageBox(message, title, MessageIcon::Warning, MessageButtons::Ok);
    return failure(message);
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
    if (!connect(true))
        return TransferOutcome::NotConnected;

    m_progress.start(settingsReadMs() + endMs(kEndPause));
    switch (readSettingsImage()) {
    case ReadOutcome::NotConnected:
        return TransferOutcome::NotConnected;
    case ReadOutcome::Failed:
        return fail(ExchangeEnd::SoftReset);
    case ReadOutcome::Ok:
        break;
    }
    m_progress.advance(settingsReadMs());

    // Only a complete read with the right check byte reaches the image.
    const ConfigImage before = m_document.image;
    copyDownloadCategories(m_document.image.IntNvm,
                           transfer.TransferBuffer,
                           transfer.DownloadSelection);
    if (!(m_document.image == before))
        m_document.changed = true;

    beginStep("restarting the Orvane");
    m_link.Delay(kEndPause);
    m_connection.endExchange(CommandCode::SoftReset);
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
    if (!writeBlock(CommandCode::WriteEeprom, address, record, kRecordWritePause))
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
    switch (readInstrument(held, reviewing, reviewing)) {
    case ReadOutcome::NotConnected:
        return TransferOutcome::NotConnected;
    case ReadOutcome::Failed:
        return fail(ExchangeEnd::SoftReset);
    case ReadOutcome::Ok:
        break;
    }

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
    beginStep("restarting the Orvane");
    m_link.Delay(kEndPause);
    m_connection.endExchange(CommandCode::SoftReset);
    m_view.hideProgress();
    return TransferOutcome::Cancelled;
}

bool Transfers::writeSettings(const UploadPlan &plan)
{
    beginStep("writing the Orvane's settings");
    const auto &buffer = plan.target.settings;
    switch (plan.settingsWrite) {
    case SettingsWrite::Whole:
        return writeBlock(CommandCode::WriteInternalNvm,
                          0,
                          std::span<const uint8_t>(buffer.data(), kSettingsSize),
                          kSettingsWritePause);
    case SettingsWrite::Bookkeeping: {
        // Only the counter and the date change: the bytes between them and
        // then the check byte, which sparing the rest leaves right.
        const int first = plan.bookkeepingFirst;
        const int count = plan.bookkeepingLast - first + 1;
        return writeBlock(CommandCode::WriteInternalNvm,
                          first,
                          std::span<const uint8_t>(buffer.data() + first, size_t(count)),
                          0)
               && writeBlock(CommandCode::WriteInternalNvm,
                             kNvmChecksumAddress,
                             std::span<const uint8_t>(buffer.data(), 1),
                             kSettingsWritePause);
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
    m_progress.advance(recordWriteMs(kSettingsSize, kSettingsWritePause));

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
        sendFrame(m_link, setClockFrame(now.hour, now.minute));
        if (!linkHolds())
            return fail(ExchangeEnd::SoftReset);
        m_progress.advance(endMs(kClockPause));
    }

    beginStep("restarting the Orvane");
    m_link.Delay(kEndPause);
    m_connection.endExchange(CommandCode::SoftReset);
    if (!linkHolds())
        return fail(ExchangeEnd::SoftReset);
    m_progress.finish();
    m_view.hideProgress();
    return TransferOutcome::Completed;
}

} // namespace orvane
