#pragma once

#include "config/SettingsImage.h"
#include "link/ByteLink.h"
#include "link/CommandFrames.h"
#include "link/ExchangeView.h"
#include "link/LineUser.h"
#include "platform/Platform.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// One exchange with the instrument, as every command has it: the connection's
// steps, the transfers, Read Everything, the exact restore and the factory
// tools. Each frame goes out whole, and a write with its data (a stop waits
// for them). A read that comes back short or fails its check is made again,
// up to one limit for all. The exchange remembers where it is and what went
// wrong, so that every failure is told in the same sentences.

namespace orvane {

// What went wrong, for the sentence that tells the user.
enum class ExchangeProblem {
    NoAnswer,     // nothing came back, or the echo of a data byte did not
    ShortAnswer,  // part of an answer came back
    BadCheckByte, // the settings failed their check byte on every read
    BadRecord,    // records failed their check and never read back the same
    Unsteady,     // records never read back the same twice in a row
    LinkLost,     // the port failed, or a stop ended the exchange
};

// What a command changes, so that its failure can say what it left alone.
enum class ExchangeKind {
    Writes,      // the instrument
    ReadsIntoPc, // the PC's settings
    ReadsOnly,   // neither
};

inline constexpr const char *kExchangeFailedTitle = "Communications Error";

class Exchange
{
public:
    // A read that comes back short or fails its check is made again; this
    // many reads in all, then the instrument is given up.
    static constexpr int kMaxReadAttempts = 5;
    static constexpr double kSettingsReadLeadPause = 0.2; // before each settings read
    static constexpr double kSettingsReadPause = 1.0;     // the 256 settings bytes
    static constexpr double kSettingsWritePause = 0.1;    // after them

    explicit Exchange(ByteLink &link, ExchangeKind kind = ExchangeKind::ReadsOnly);

    // A new command: no step yet, nothing wrong, nothing written.
    void begin(ExchangeKind kind);

    // --- where it is and what went wrong -----------------------------------
    // The step, for the message if it fails: "writing display configuration
    // 7" (the phrase and the number; the phrase alone without a count).
    void step(const std::string &phrase, int number = 0, int count = 0);
    const std::string &stepPhrase() const { return m_step; }
    // Records what went wrong; false, so that a step can return it.
    bool problem(ExchangeProblem problem);
    // False, with the lost link recorded, once the port failed or a stop
    // ended the exchange.
    bool linkHolds();
    // "No answer from the Orvane while writing display configuration 7.
    // Nothing was written to the Orvane. Check the cable and the instrument's
    // power, then try again."
    std::string failureMessage() const;
    // While a read is made again: "No good answer yet, reading the Orvane's
    // settings again: try 2 of 5".
    std::string retryNotice(int attempt) const;
    // Ends a failed command on the PC's side: the link counts as not
    // connected (the instrument may still be busy with what it was sent, so
    // the next command connects afresh), the progress window goes and the
    // user reads `message`.
    void tellFailure(ExchangeView &view,
                     UserDialogs &dialogs,
                     const std::string &message,
                     const std::string &title = kExchangeFailedTitle);

    // --- reads -----------------------------------------------------------------
    void delay(double seconds);
    // Clear, the frame, the pause, and answer slots 1..count as they stand:
    // the connection's steps take the instrument's answers as they come.
    // Nothing when the link was lost.
    std::optional<std::vector<uint8_t>> query(const Frame &frame, int count, double pause);
    // One read: the bytes that came back, fewer than `count` when the answer
    // was short (the problem is then recorded). Slots nobody filled are
    // never read.
    std::vector<uint8_t> read(const Frame &frame, int count, double pause);
    // As read(), but taken the moment `count` bytes are in (at most
    // `timeout`): for the editor's own reads, which no fixed pause governs.
    std::vector<uint8_t> readUntilComplete(const Frame &frame, int count, double timeout);
    std::optional<uint8_t> readByte(const Frame &frame, double pause);
    // `count` (1..256) bytes of a memory from `address`, read again until the
    // answer comes back whole.
    std::optional<std::vector<uint8_t>>
    readWhole(CommandCode code, int address, int count, double pause);
    // The settings, read again until they come back whole with a right check
    // byte, each read after `leadPause`; `beforeEach` hears of each read
    // (1..kMaxReadAttempts) as it begins.
    std::optional<SettingsImage>
    readSettings(double leadPause, const std::function<void(int attempt)> &beforeEach = {});
    // Read again until the answer passes `check`, or reads back the same
    // twice in a row: what the unit holds, damaged or not. Without a check
    // only the agreement counts. Each read waits only until its answer is
    // whole, at most `timeout`.
    using AnswerCheck = std::function<bool(const std::vector<uint8_t> &answer)>;
    std::optional<std::vector<uint8_t>>
    readSteady(const Frame &frame, int count, double timeout, const AnswerCheck &check = {});

    // --- writes ------------------------------------------------------------------
    // Each data byte awaits its echo; then `trailingPause`.
    bool writeBlock(CommandCode code,
                    int address,
                    std::span<const uint8_t> data,
                    double trailingPause,
                    double framePause = 0);
    // The whole settings image, from address 0.
    bool writeSettings(const SettingsImage &settings);
    // Clear, the frame and its one data byte with SendByte, then the pause.
    bool writeByte(const Frame &frame, uint8_t data, double pause);
    // Clear, a frame that changes the instrument, then the pause.
    bool send(const Frame &frame, double pause);

    ByteLink &link() { return m_link; }

private:
    // Names what is wrong with a whole answer; nothing when it is taken.
    using AnswerJudge = std::function<std::optional<ExchangeProblem>(const std::vector<uint8_t> &)>;
    std::optional<std::vector<uint8_t>>
    readRepeated(int count,
                 const std::function<std::vector<uint8_t>(int attempt)> &readOnce,
                 const AnswerJudge &judge);
    std::vector<uint8_t> keepReceived(std::vector<uint8_t> answer, int count);
    std::string problemSentence(const std::string &where) const;

    ByteLink &m_link;
    ExchangeKind m_kind;
    std::string m_step;
    ExchangeProblem m_problem = ExchangeProblem::NoAnswer;
    int m_expected = 0; // bytes the last short read should have brought
    int m_received = 0;
    int m_attempts = 1; // reads made of it
    bool m_written = false;
};

// Tells the user why a command cannot have the line now (`why`, from
// lineBusyMessage); false, with nothing shown, when `why` is empty.
bool refuseWhileBusy(UserDialogs &dialogs,
                     const std::string &why,
                     const std::string &title = kLineBusyTitle);

} // namespace orvane
