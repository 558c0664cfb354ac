#include "link/Exchange.h"

#include "config/SettingsFields.h"
#include "link/Commands.h"
#include "link/Connection.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr const char *kAdvice = "Check the cable and the instrument's power, then try again.";
constexpr const char *kAnywhere = "talking to the Orvane";

const char *untouchedSentence(ExchangeKind kind)
{
    switch (kind) {
    case ExchangeKind::Writes:
        return " Nothing was written to the Orvane.";
    case ExchangeKind::ReadsIntoPc:
        return " The PC's settings were not changed.";
    case ExchangeKind::ReadsOnly:
        break;
    }
    return "";
}

} // namespace

Exchange::Exchange(ByteLink &link, ExchangeKind kind)
    : m_link(link)
    , m_kind(kind)
{}

void Exchange::begin(ExchangeKind kind)
{
    m_kind = kind;
    m_step.clear();
    m_problem = ExchangeProblem::NoAnswer;
    m_expected = m_received = 0;
    m_attempts = 1;
    m_written = false;
}

// --- where it is and what went wrong -------------------------------------------

void Exchange::step(const std::string &phrase, int number, int count)
{
    m_step = count > 0 ? phrase + " " + std::to_string(number) : phrase;
}

bool Exchange::problem(ExchangeProblem problem)
{
    m_problem = problem;
    return false;
}

bool Exchange::linkHolds()
{
    return !m_link.lost() || problem(ExchangeProblem::LinkLost);
}

std::string Exchange::problemSentence(const std::string &where) const
{
    const std::string reads = std::to_string(m_attempts);
    switch (m_problem) {
    case ExchangeProblem::NoAnswer:
        return "No answer from the Orvane while " + where + ".";
    case ExchangeProblem::ShortAnswer:
        return "Only " + std::to_string(m_received) + " of " + std::to_string(m_expected)
               + " bytes came back from the Orvane while " + where + "."
               + (m_attempts > 1 ? " The read was tried " + reads + " times." : "");
    case ExchangeProblem::BadCheckByte:
        return "The Orvane's settings failed their check byte " + reads + " times while " + where
               + ".";
    case ExchangeProblem::BadRecord:
        return "The Orvane's answer failed its check " + reads + " times while " + where + ".";
    case ExchangeProblem::Unsteady:
        return "The Orvane's answers differed on each of " + reads + " reads while " + where + ".";
    case ExchangeProblem::LinkLost:
        break;
    }
    return m_link.lostSentence(where);
}

std::string Exchange::failureMessage() const
{
    std::string text = problemSentence(m_step.empty() ? std::string(kAnywhere) : m_step);
    if (!m_written)
        text += untouchedSentence(m_kind);
    return text + " " + kAdvice;
}

std::string Exchange::retryNotice(int attempt) const
{
    return "No good answer yet, " + m_step + " again: try " + std::to_string(attempt) + " of "
           + std::to_string(kMaxReadAttempts);
}

void Exchange::tellFailure(ExchangeView &view,
                           UserDialogs &dialogs,
                           const std::string &message,
                           const std::string &title)
{
    m_link.setConnected(false);
    view.setConnectedCaption(kNotConnectedText);
    view.hideProgress();
    dialogs.messageBox(message, title, MessageIcon::Warning, MessageButtons::Ok);
}

// --- reads -------------------------------------------------------------------------

void Exchange::delay(double seconds)
{
    m_link.Delay(seconds);
}

std::optional<std::vector<uint8_t>> Exchange::query(const Frame &frame, int count, double pause)
{
    std::vector<uint8_t> answer = issueRead(m_link, frame, count, pause);
    if (!linkHolds())
        return std::nullopt;
    return answer;
}

std::vector<uint8_t> Exchange::keepReceived(std::vector<uint8_t> answer, int count)
{
    m_attempts = 1;
    m_expected = count;
    m_received = linkHolds() ? std::min<int>(m_link.rx().RxCount, count) : 0;
    if (m_received < count && !m_link.lost())
        m_problem = m_received == 0 ? ExchangeProblem::NoAnswer : ExchangeProblem::ShortAnswer;
    answer.resize(size_t(m_received));
    return answer;
}

std::vector<uint8_t> Exchange::read(const Frame &frame, int count, double pause)
{
    return keepReceived(issueRead(m_link, frame, count, pause), count);
}

std::vector<uint8_t> Exchange::readUntilComplete(const Frame &frame, int count, double timeout)
{
    return keepReceived(issueReadUntilComplete(m_link, frame, count, timeout), count);
}

std::optional<uint8_t> Exchange::readByte(const Frame &frame, double pause)
{
    const std::vector<uint8_t> answer = read(frame, 1, pause);
    if (answer.empty())
        return std::nullopt;
    return answer.front();
}

std::optional<std::vector<uint8_t>>
Exchange::readRepeated(int count,
                       const std::function<std::vector<uint8_t>(int attempt)> &readOnce,
                       const AnswerJudge &judge)
{
    for (int attempt = 1; attempt <= kMaxReadAttempts; ++attempt) {
        std::vector<uint8_t> answer = readOnce(attempt);
        if (m_link.lost())
            return std::nullopt;
        if (int(answer.size()) < count)
            continue;
        const std::optional<ExchangeProblem> fault = judge ? judge(answer) : std::nullopt;
        if (!fault)
            return answer;
        m_problem = *fault;
    }
    m_attempts = kMaxReadAttempts;
    return std::nullopt;
}

std::optional<std::vector<uint8_t>>
Exchange::readWhole(CommandCode code, int address, int count, double pause)
{
    const Frame frame = memoryFrame(code, count, address);
    return readRepeated(count, [&](int) { return read(frame, count, pause); }, {});
}

std::optional<SettingsImage>
Exchange::readSettings(double leadPause, const std::function<void(int attempt)> &beforeEach)
{
    const Frame frame = memoryFrame(CommandCode::ReadInternalNvm, kSettingsSize, 0);
    const auto readOnce = [&](int attempt) {
        delay(leadPause);
        if (beforeEach)
            beforeEach(attempt);
        return read(frame, kSettingsSize, kSettingsReadPause);
    };
    const auto checkByteRight = [](const std::vector<uint8_t> &answer) {
        const std::span<const uint8_t, kSettingsSize> settings(answer.data(), kSettingsSize);
        return settings[kSettingsCheckByte.address] == settingsCheckByte(settings)
                   ? std::nullopt
                   : std::optional(ExchangeProblem::BadCheckByte);
    };
    const auto answer = readRepeated(kSettingsSize, readOnce, checkByteRight);
    if (!answer)
        return std::nullopt;
    SettingsImage settings{};
    std::copy(answer->begin(), answer->end(), settings.begin());
    return settings;
}

std::optional<std::vector<uint8_t>>
Exchange::readSteady(const Frame &frame, int count, double timeout, const AnswerCheck &check)
{
    // "In a row": a short read in between starts the agreement afresh.
    std::vector<uint8_t> previous;
    const auto readOnce = [&](int) {
        std::vector<uint8_t> answer = readUntilComplete(frame, count, timeout);
        if (int(answer.size()) < count)
            previous.clear();
        return answer;
    };
    const auto steady = [&](const std::vector<uint8_t> &answer) -> std::optional<ExchangeProblem> {
        if (answer == previous || (check && check(answer)))
            return std::nullopt;
        previous = answer;
        return check ? ExchangeProblem::BadRecord : ExchangeProblem::Unsteady;
    };
    return readRepeated(count, readOnce, steady);
}

// --- writes --------------------------------------------------------------------------

bool Exchange::writeBlock(CommandCode code,
                          int address,
                          std::span<const uint8_t> data,
                          double trailingPause,
                          double framePause)
{
    m_written = true;
    switch (orvane::writeBlock(m_link, code, address, data, trailingPause, framePause)) {
    case BlockWriteEnd::Completed:
        return true;
    case BlockWriteEnd::NoEcho:
        return problem(ExchangeProblem::NoAnswer);
    case BlockWriteEnd::LinkLost:
        break;
    }
    return problem(ExchangeProblem::LinkLost);
}

bool Exchange::writeSettings(const SettingsImage &settings)
{
    return writeBlock(CommandCode::WriteInternalNvm, 0, settings, kSettingsWritePause);
}

bool Exchange::writeByte(const Frame &frame, uint8_t data, double pause)
{
    m_written = true;
    m_link.ResetReceive();
    {
        // Once it has the frame, the unit takes the next byte as its data
        // whatever it is, then needs the pause to store it.
        const ByteLink::FrameInFlight inFlight(m_link);
        sendFrame(m_link, frame);
        m_link.SendByte(data);
        delay(pause);
    }
    return linkHolds();
}

bool Exchange::send(const Frame &frame, double pause)
{
    m_written = true;
    m_link.ResetReceive();
    sendFrame(m_link, frame);
    delay(pause);
    return linkHolds();
}

bool refuseWhileBusy(UserDialogs &dialogs, const std::string &why, const std::string &title)
{
    if (why.empty())
        return false;
    dialogs.beep();
    dialogs.messageBox(why, title, MessageIcon::Information, MessageButtons::Ok);
    return true;
}

} // namespace orvane
