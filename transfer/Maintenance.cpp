#include "config/NumberText.h"
#include "link/Commands.h"
#include "link/LineUser.h"
#include "transfer/TransferImage.h"
#include "transfer/Transfers.h"

#include <algorithm>
#include <array>

// The instrument-wide commands of the main window: factory reset, clearing one
// configuration, backup, restore and the firmware update request.

namespace orvane {

namespace {

constexpr const char *kCrLf = "\r\n";
constexpr const char *kAreYouSure = "Are you sure that you want to do this?";

// The bytes of a configuration that clearing it sets to 0.
constexpr std::array<int, 18> kClearedConfigBytes
    = {0, 1, 2, 3, 4, 28, 48, 68, 88, 89, 90, 91, 92, 108, 109, 110, 111, 112};

bool answeredNo(Platform &platform, const std::string &text, const std::string &title)
{
    return platform.dialogs.messageBox(text, title, MessageIcon::Warning, MessageButtons::YesNo)
           == MessageAnswer::No;
}

int markMs()
{
    return 2 * expectedMs(kExchangeMarkPause) + frameMs() + expectedMs(ByteLink::kSendBytePause);
}

int backupEndMs()
{
    return markMs() + expectedMs(Transfers::kMarkEndPause) + frameMs();
}

int blockReadMs()
{
    return frameMs() + expectedMs(Transfers::kBlockReadPause);
}

int blockWriteMs()
{
    return frameMs() + echoedBytesMs(Transfers::kBackupBlockSize);
}

} // namespace

// --- factory reset and clearing a configuration ------------------------------------

TransferResult Transfers::ResetDefaults()
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;

    m_platform.dialogs.beep();
    if (answeredNo(
            m_platform,
            std::string("WARNING - This will overwrite all values and settings in the Orvane!")
                + kCrLf + kAreYouSure,
            "Reset all values to Factory Defaults"))
        return TransferOutcome::Cancelled;

    m_view.rerunStartup();
    loadFactoryDefaults(m_document, m_editor, m_transfer.NewUnitPending);
    m_view.redraw();
    m_view.selectFirstConfiguration();
    m_platform.pump.processPendingEvents();
    return runUpload();
}

TransferResult Transfers::cmdClearConfig()
{
    // Only the PC's image changes, and a running upload sends the image as it
    // stood when it began, so nothing on the line stands in the way.
    const int c = m_editor.currentConfig;
    if (c < 1 || c > kConfigurations)
        return TransferOutcome::Cancelled;
    const std::string n = displayNumber(static_cast<long long>(c));

    m_platform.dialogs.beep();
    const MessageAnswer answer = m_platform.dialogs.messageBox(
        std::string("Are you sure?") + kCrLf + "This will completely clear display configuration #"
            + n,
        "Completely clear display configuration #" + n,
        MessageIcon::Question,
        MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes)
        return TransferOutcome::Cancelled;

    m_view.clearDisplayIcons();
    for (const int b : kClearedConfigBytes)
        m_document.image.CDC(c, b) = 0;
    m_document.changed = true;
    m_view.redraw();
    return TransferOutcome::Completed;
}

// --- backup and restore ---------------------------------------------------------------

void Transfers::endBackupExchange()
{
    sendExchangeMark(m_link, kExchangeEnds);
    m_link.Delay(kMarkEndPause);
    m_connection.endExchange(CommandCode::Disconnect);
}

TransferResult Transfers::CreateBackup()
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;

    if (answeredNo(
            m_platform,
            std::string("WARNING - This will overwrite any previous System Backup data saved "
                        "in the Orvane!")
                + kCrLf + kAreYouSure,
            "Create System Backup"))
        return TransferOutcome::Cancelled;
    const LineClaim claim = m_link.claimLine(LineUser::Backup);
    if (!connect())
        return TransferOutcome::NotConnected;

    m_progress.start(markMs() + frameMs() + expectedMs(Exchange::kSettingsReadPause)
                     + kNvmBackupBlocks * blockWriteMs()
                     + kEepromBackupBlocks * (blockReadMs() + blockWriteMs()) + backupEndMs());
    sendExchangeMark(m_link, kExchangeBegins);
    m_view.showProgress();
    if (!m_exchange.linkHolds())
        return fail(ExchangeEnd::MarkAndDisconnect);
    m_progress.advance(markMs());

    beginStep("reading the Orvane's settings");
    const std::optional<std::vector<uint8_t>> settings = readSettingsForBackup();
    if (!settings)
        return fail(ExchangeEnd::MarkAndDisconnect);
    m_progress.advance(frameMs() + expectedMs(Exchange::kSettingsReadPause));

    const std::span<const uint8_t> all(*settings);
    for (int k = 1; k <= kNvmBackupBlocks; ++k) {
        beginStep("saving the Orvane's settings", k, kNvmBackupBlocks);
        const int offset = kBackupBlockSize * (k - 1);
        if (!m_exchange.writeBlock(CommandCode::WriteEeprom,
                                   kNvmBackupAddress + offset,
                                   all.subspan(size_t(offset), kBackupBlockSize),
                                   kBlockWritePause))
            return fail(ExchangeEnd::MarkAndDisconnect);
        m_progress.advance(blockWriteMs());
    }

    if (!copyEepromArea(0, kEepromBackupAddress, "backing up block"))
        return fail(ExchangeEnd::MarkAndDisconnect);

    return finishBackupExchange("ending the backup");
}

std::optional<std::vector<uint8_t>> Transfers::readSettingsForBackup()
{
    // A wrong check byte most likely means the answer was garbled on the
    // line, and a backup of garbled settings would be restored one day: read
    // again. Settings that fail on every read are what the unit holds, and
    // the backup keeps them as they are.
    std::optional<std::vector<uint8_t>> settings;
    for (int attempt = 1; attempt <= Exchange::kMaxReadAttempts; ++attempt) {
        settings = m_exchange.readWhole(CommandCode::ReadInternalNvm,
                                        0,
                                        kSettingsSize,
                                        Exchange::kSettingsReadPause);
        if (!settings
            || (*settings)[kSettingsCheckByte.address]
                   == settingsCheckByte(std::span<const uint8_t, kSettingsSize>(*settings)))
            break;
    }
    return settings;
}

TransferResult Transfers::finishBackupExchange(const char *phrase)
{
    beginStep(phrase);
    endBackupExchange();
    if (!m_exchange.linkHolds())
        return fail(ExchangeEnd::MarkAndDisconnect);
    m_progress.finish();
    m_view.hideProgress();
    return TransferOutcome::Completed;
}

bool Transfers::copyEepromArea(int fromBase, int toBase, const char *phrase)
{
    for (int d = 1; d <= kEepromBackupBlocks; ++d) {
        beginStep(phrase, d, kEepromBackupBlocks);
        const int offset = kBackupBlockSize * (d - 1);
        const auto block = m_exchange.readWhole(CommandCode::ReadEeprom,
                                                fromBase + offset,
                                                kBackupBlockSize,
                                                kBlockReadPause);
        if (!block)
            return false;
        m_progress.advance(blockReadMs());
        if (!m_exchange.writeBlock(CommandCode::WriteEeprom,
                                   toBase + offset,
                                   *block,
                                   kBlockWritePause))
            return false;
        m_progress.advance(blockWriteMs());
    }
    return true;
}

TransferResult Transfers::RestoreBackup()
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;

    if (answeredNo(m_platform,
                   std::string("WARNING - This will overwrite all calibration, alarms and "
                               "configuration data in the Orvane!")
                       + kCrLf + "Data will be copied from Backup Memory inside the Orvane." + kCrLf
                       + kAreYouSure,
                   "Restore All from Backup"))
        return TransferOutcome::Cancelled;
    const LineClaim claim = m_link.claimLine(LineUser::Restore);
    if (!connect())
        return TransferOutcome::NotConnected;

    const int nvmBlockMs = blockReadMs() + frameMs() + expectedMs(kRestoreFramePause)
                           + echoedBytesMs(kBackupBlockSize);
    m_progress.start(markMs() + kNvmBackupBlocks * nvmBlockMs
                     + kEepromBackupBlocks * (blockReadMs() + blockWriteMs()) + backupEndMs());
    sendExchangeMark(m_link, kExchangeBegins);
    m_view.showProgress();
    if (!m_exchange.linkHolds())
        return fail(ExchangeEnd::MarkAndDisconnect);
    m_progress.advance(markMs());

    for (int k = 1; k <= kNvmBackupBlocks; ++k) {
        beginStep("restoring the Orvane's settings", k, kNvmBackupBlocks);
        const int offset = kBackupBlockSize * (k - 1);
        const auto block = m_exchange.readWhole(CommandCode::ReadEeprom,
                                                kNvmBackupAddress + offset,
                                                kBackupBlockSize,
                                                kBlockReadPause);
        if (!block
            || !m_exchange.writeBlock(CommandCode::WriteInternalNvm,
                                      offset,
                                      *block,
                                      kBlockWritePause,
                                      kRestoreFramePause))
            return fail(ExchangeEnd::MarkAndDisconnect);
        m_progress.advance(nvmBlockMs);
    }

    if (!copyEepromArea(kEepromBackupAddress, 0, "restoring block"))
        return fail(ExchangeEnd::MarkAndDisconnect);

    return finishBackupExchange("ending the restore");
}

// --- firmware update --------------------------------------------------------------------

TransferResult Transfers::UpdateFirmware()
{
    if (refuseWhileBusy())
        return TransferOutcome::Busy;

    if (answeredNo(m_platform,
                   "WARNING - Are you sure that you want to do this?",
                   "Update Firmware"))
        return TransferOutcome::Cancelled;
    const LineClaim claim = m_link.claimLine(LineUser::FirmwareUpdate);

    // The request must reach a freshly connected instrument.
    if (m_link.linkState().IsConnected) {
        m_link.Delay(kDisconnectPause);
        m_connection.endExchange(CommandCode::Disconnect);
    }
    if (!connect())
        return TransferOutcome::NotConnected;

    m_view.setConnectedCaption(kFirmwareWaitCaption);
    // A timed wait in the event loop: the window stays live meanwhile.
    m_link.Delay(kFirmwareUpdateWait);
    if (!UpdateIntNvm())
        return fail(ExchangeEnd::Disconnect);

    m_link.Delay(kDisconnectPause);
    m_connection.endExchange(CommandCode::Disconnect);
    return TransferOutcome::Completed;
}

bool Transfers::UpdateIntNvm()
{
    constexpr int kRequestAddress = kFirmwareUpdateRequestAddress;
    beginStep("asking the Orvane for the firmware update");

    const auto readByte = [this](int address) {
        return m_exchange.readWhole(CommandCode::ReadInternalNvm, address, 1, kNvmByteReadPause);
    };
    const auto old = readByte(kRequestAddress);
    if (!old)
        return false;
    const auto checkByte = readByte(kNvmChecksumAddress);
    if (!checkByte)
        return false;

    const auto writeByte = [this](int address, uint8_t value) {
        return m_exchange.writeByte(memoryFrame(CommandCode::WriteInternalNvm, 1, address),
                                    value,
                                    kNvmByteWritePause);
    };
    return writeByte(kRequestAddress, kFirmwareUpdateRequest)
           && writeByte(kNvmChecksumAddress,
                        uint8_t(kFirmwareUpdateRequest ^ old->front() ^ checkByte->front()));
}

} // namespace orvane
