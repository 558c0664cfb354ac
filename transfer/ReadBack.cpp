#include "link/Commands.h"
#include "link/LineUser.h"
#include "transfer/CurveDecoding.h"
#include "transfer/ExpectedTimes.h"
#include "transfer/Transfers.h"

#include <algorithm>
#include <optional>

// Reading back what the instrument holds in the memories an upload writes:
// Read Everything, Compare with Orvane, and the reads an upload makes before
// it writes.

namespace orvane {

namespace {

// The byte the editor keeps the configuration being edited in.
constexpr int kEditedConfigurationByte = 6;

std::string unverifiedNotice(const InstrumentSnapshot &held)
{
    std::vector<std::string> names;
    for (const int c : held.unverifiedConfigurations)
        names.push_back("display configuration " + std::to_string(c));
    for (const int n : held.unverifiedCurves)
        names.push_back("sender curve " + std::to_string(n));
    if (names.empty())
        return {};
    std::string list;
    for (size_t k = 0; k < names.size(); ++k)
        list += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
    return "Everything was read from the Orvane, but " + list
           + " failed the check on every read. The bytes were taken as the Orvane holds them; "
             "a sender curve that no upload wrote keeps the default curve.";
}

} // namespace

bool Transfers::readRecords(int address,
                            int count,
                            bool (*check)(const EepromRecord &),
                            std::vector<EepromRecord> &records,
                            std::vector<bool> &verified)
{
    const int bytes = count * kRecordSize;
    const Frame frame = memoryFrame(CommandCode::ReadEeprom, bytes, address);
    std::vector<uint8_t> previous;
    for (int attempt = 1; attempt <= kMaxReadAttempts; ++attempt) {
        const std::vector<uint8_t> answer
            = issueReadUntilComplete(m_link, frame, bytes, kRecordReadTimeout);
        if (!linkHolds())
            return false;
        const int received = m_link.rx().RxCount;
        if (received < bytes) {
            m_problem = received == 0 ? Problem::NoAnswer : Problem::ShortAnswer;
            previous.clear();
            continue;
        }
        records.assign(size_t(count), {});
        verified.assign(size_t(count), false);
        for (int k = 0; k < count; ++k) {
            std::copy_n(answer.begin() + long(k) * kRecordSize,
                        kRecordSize,
                        records[size_t(k)].begin());
            verified[size_t(k)] = check(records[size_t(k)]);
        }
        // A record that fails its check but reads back the same again is what
        // the instrument holds (damaged, or never written), not the line's doing.
        if (std::all_of(verified.begin(), verified.end(), [](bool v) { return v; })
            || answer == previous)
            return true;
        previous = answer;
        m_problem = Problem::BadRecord;
    }
    return false;
}

Transfers::ReadOutcome
Transfers::readInstrument(InstrumentSnapshot &held, bool configurations, bool curves)
{
    const ReadOutcome settings = readSettingsImage();
    if (settings != ReadOutcome::Ok)
        return settings;
    std::copy_n(m_transfer.TransferBuffer.begin(), kSettingsSize, held.settings.begin());
    m_progress.advance(settingsReadMs());

    std::vector<EepromRecord> records;
    std::vector<bool> verified;
    if (configurations) {
        constexpr int kPerRead = kConfigurationsPerRead;
        for (int c = 1; c <= kConfigurations; c += kPerRead) {
            beginStep("reading display configurations " + std::to_string(c) + " and "
                      + std::to_string(c + kPerRead - 1));
            if (!readRecords(configRecordAddress(c),
                             kPerRead,
                             configurationRecordChecks,
                             records,
                             verified))
                return ReadOutcome::Failed;
            for (int k = 0; k < kPerRead; ++k) {
                held.configurations[size_t(c - 1 + k)] = records[size_t(k)];
                if (!verified[size_t(k)])
                    held.unverifiedConfigurations.push_back(c + k);
            }
            m_progress.advance(recordsReadMs(kPerRead));
        }
        held.hasConfigurations = true;
    }
    if (curves) {
        for (int i = 0; i < kUploadedCurveCount; ++i) {
            const int n = kUploadedCurves[size_t(i)];
            beginStep("reading sender curve", i + 1, kUploadedCurveCount);
            if (!readRecords(curveRecordAddress(n), 1, hasUploadedCurveForm, records, verified))
                return ReadOutcome::Failed;
            held.curves[size_t(i)] = records.front();
            if (!verified.front())
                held.unverifiedCurves.push_back(n);
            m_progress.advance(recordsReadMs(1));
        }
        held.hasCurves = true;
    }
    return ReadOutcome::Ok;
}

// Reads what the instrument holds, then ends the exchange with the soft reset;
// the result of the command when it stopped on the way.
std::optional<TransferResult>
Transfers::readThenRestart(InstrumentSnapshot &held, bool configurations, bool curves)
{
    switch (readInstrument(held, configurations, curves)) {
    case ReadOutcome::NotConnected:
        return TransferOutcome::NotConnected;
    case ReadOutcome::Failed:
        return fail(ExchangeEnd::SoftReset);
    case ReadOutcome::Ok:
        break;
    }
    beginStep("restarting the Orvane");
    m_link.Delay(kEndPause);
    m_connection.endExchange(CommandCode::SoftReset);
    return std::nullopt;
}

TransferResult Transfers::ReadEverything()
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;
    const LineClaim claim = m_link.claimLine(LineUser::ReadEverything);
    if (!connect(true))
        return TransferOutcome::NotConnected;

    m_progress.start(settingsReadMs() + recordReadsMs(true, true) + endMs(kEndPause));
    InstrumentSnapshot held;
    if (const std::optional<TransferResult> stopped = readThenRestart(held, true, true))
        return *stopped;

    // Everything was read whole, so the image is replaced only now and at once.
    m_document.image = imageFromSnapshot(held);
    // As after opening a file, configuration 1 is the one edited.
    m_document.image.IntNvm[kEditedConfigurationByte] = 1;
    m_document.changed = true;
    imageReplaced(m_editor, m_document.image);
    m_progress.finish();
    m_view.hideProgress();
    m_view.redraw();

    if (const std::string notice = unverifiedNotice(held); !notice.empty())
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
    if (!connect(true))
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
    const SettingsBuffer settings = uploadedSettings(m_transfer.TransferBuffer,
                                                     image.IntNvm,
                                                     categories,
                                                     {},
                                                     m_platform.clock.localDateTime());
    comparison = planComparison(held, planUpload(held, settings, image, categories, false));
    return TransferOutcome::Completed;
}

} // namespace orvane
