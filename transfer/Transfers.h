#pragma once

#include "config/ConfigDocument.h"
#include "editors/EditorState.h"
#include "link/ByteLink.h"
#include "link/CommandFrames.h"
#include "link/Connection.h"
#include "link/Exchange.h"
#include "platform/Platform.h"
#include "platform/Result.h"
#include "transfer/ImageDifferences.h"
#include "transfer/InstrumentSnapshot.h"
#include "transfer/RecordReads.h"
#include "transfer/TransferProgress.h"
#include "transfer/TransferState.h"
#include "transfer/TransferView.h"
#include "transfer/UnitCopies.h"
#include "transfer/UploadPlan.h"
#include "transfer/UploadReview.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Download, upload and the instrument-wide commands of the main window: each
// asks what it must, connects on demand, runs its exchange and ends it with
// the soft reset or the disconnect. A command that fails half-way stops at
// once, ends the exchange where that is safe, and tells the user in a message
// box what failed and where.

namespace orvane {

enum class TransferOutcome {
    Completed,
    Cancelled,    // the user said No or CANCEL
    NotConnected, // the connection failed; it has told the user
    Busy,         // the line is held or the transfer window open; refused with a message
};

// How a command ended. A command that stopped half-way is a failure carrying
// the message the user was shown.
using TransferResult = Result<TransferOutcome>;

class Transfers
{
public:
    static constexpr double kBlockReadPause = 0.1;    // a 64-byte backup block
    static constexpr double kRecordWritePause = 0.5;  // after each 128-byte EEPROM record
    static constexpr double kBlockWritePause = 0.0;   // none after a 64-byte backup block
    static constexpr double kClockPause = 0.25;       // before the clock frame
    static constexpr double kEndPause = 0.25;         // before the soft reset
    static constexpr double kDisconnectPause = 0.1;   // before the disconnect
    static constexpr double kMarkEndPause = 0.1;      // extra pause after the end mark
    static constexpr double kRestoreFramePause = 0.1; // between an NVM write frame and its data
    static constexpr double kNvmByteWritePause = 0.2; // after a single-byte NVM write
    // The firmware update gives the instrument this long before the request.
    static constexpr double kFirmwareUpdateWait = 3.0;

    static constexpr int kBackupBlockSize = 64;
    static constexpr int kNvmBackupBlocks = 4;
    static constexpr int kEepromBackupBlocks = 96;
    static constexpr uint8_t kFirmwareUpdateRequest = 1;

    Transfers(ConfigDocument &document,
              TransferState &transfer,
              EditorState &editor,
              Platform &platform,
              ByteLink &link,
              Connection &connection,
              TransferView &view);

    // cmdDownload: the ticked categories the instrument can change, from its
    // settings into `IntNvm`; then a redraw.
    TransferResult cmdDownload();
    // cmdUpload: the PC's image into the instrument.
    TransferResult cmdUpload();
    // "Read Everything from Orvane": the settings, the sixteen configuration
    // records and the user sender curves become the PC's image, a new one not
    // yet saved. A failure changes nothing.
    TransferResult ReadEverything();
    // "Compare with Orvane": what the instrument holds in the ticked
    // categories against what an upload of the PC's image would leave there.
    // Changes nothing on either side; fills `comparison` when Completed.
    TransferResult CompareWithOrvane(const Selection &categories, Comparison &comparison);
    // "Restore This Unit Exactly…" of Unit History: the unit gets back every
    // byte the copy holds, the settings, the sixteen configuration records
    // and the curve records, whatever the configuration file could hold. A
    // copy without its whole raw bytes is refused before anything is sent,
    // and another unit than the copy's before anything is written. The
    // review shows what will change, a copy of what the unit holds now is
    // kept, and only what differs is written. Needs the review.
    TransferResult RestoreUnitExactly(const UnitCopy &copy);
    // Menu items and the clear button.
    TransferResult ResetDefaults();
    TransferResult cmdClearConfig();
    TransferResult CreateBackup();
    TransferResult RestoreBackup();
    TransferResult UpdateFirmware();

    // Writes 1 to internal NVM byte 3 and keeps the check byte right. Needs a
    // connected link; false (with the failure recorded) when the instrument
    // did not answer or the link was lost.
    bool UpdateIntNvm();

    // The comparison window. With it, an upload first reads what the
    // instrument holds, shows what the ticked categories will change, keeps a
    // copy of the unit and writes only the records that differ; without it
    // (and for a new unit) the upload writes everything as it always did.
    void setUploadReview(UploadReviewView *review) { m_review = review; }

private:
    enum class Review { Upload, UploadEverything, Cancel };
    // How a command that failed tells the instrument its exchange is over.
    enum class ExchangeEnd { SoftReset, Disconnect, MarkAndDisconnect };

    bool refuseWhileBusy();
    // Connects when not connected; starts the record of where the command is.
    bool connect(ExchangeKind kind = ExchangeKind::Writes);
    TransferResult runUpload();

    void beginStep(const std::string &phrase, int number = 0, int count = 0);
    // The settings into TransferBuffer; false when the unit was given up.
    bool readSettingsImage();
    // The settings, then the records asked for, into `held`.
    bool readInstrument(InstrumentSnapshot &held, bool configurations, bool curves);
    std::optional<TransferResult>
    readThenRestart(InstrumentSnapshot &held, bool configurations, bool curves);
    // Upload or Cancel once the user has seen what will change.
    Review reviewUpload(const Comparison &comparison);
    // Saves what the unit holds before the first write; the command's result
    // when that failed (the exchange has then ended with nothing written).
    std::optional<TransferResult> keepUnitCopy(const InstrumentSnapshot &held,
                                               const std::string &changes);
    // Whether the records written come from the PC's image or from a unit's copy.
    enum class RecordSource { Image, Copy };
    TransferResult writeUpload(const UploadPlan &plan,
                               const Selection &ticks,
                               bool newSerial,
                               RecordSource source);
    bool writeSettings(const UploadPlan &plan);
    // The soft reset that ends every download and upload, after its pause.
    void restartOrvane();
    // Ends the exchange after the user said Cancel half-way.
    TransferResult endCancelled();
    void endBackupExchange();
    // The 256 settings bytes for a backup, read again while their check byte
    // is wrong; nothing when the link failed.
    std::optional<std::vector<uint8_t>> readSettingsForBackup();
    // One 128-byte EEPROM record of an upload, with its pause and progress.
    bool writeRecord(int address, std::span<const uint8_t> record);
    // The end mark and disconnect of a backup or restore, then success.
    TransferResult finishBackupExchange(const char *phrase);
    // Copies the backed-up EEPROM area block by block from one base address
    // to another; false when the link failed on the way.
    bool copyEepromArea(int fromBase, int toBase, const char *phrase);
    TransferResult fail(ExchangeEnd end);
    // Ends the exchange as `end` says and shows the message.
    TransferResult stop(ExchangeEnd end, const std::string &message, const std::string &title);

    ConfigDocument &m_document;
    TransferState &m_transfer;
    EditorState &m_editor;
    Platform &m_platform;
    ByteLink &m_link;
    Connection &m_connection;
    TransferView &m_view;
    TransferProgress m_progress;
    UploadReviewView *m_review = nullptr;
    // Where the running command is, and what went wrong.
    Exchange m_exchange;
};

inline constexpr const char *kReadEverythingTitle = "Read Everything from Orvane";
inline constexpr const char *kRestoreExactlyTitle = "Restore This Unit Exactly";
inline constexpr const char *kFirmwareWaitCaption = "Updating Firmware - WAIT!";

} // namespace orvane
