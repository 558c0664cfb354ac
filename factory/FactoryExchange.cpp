#include "factory/FactoryExchange.h"

#include "link/Commands.h"
#include "link/LineUser.h"
#include "transfer/Identification.h"
#include "transfer/RecordReads.h"
#include "transfer/TransferProgress.h"

namespace orvane {

namespace {
constexpr const char *kAdvice = "Check the cable and the instrument's power, then try again.";
constexpr const char *kNotWritten = " Nothing was written to the Orvane.";
} // namespace

std::string fileNameOf(const std::string &path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FactoryExchange::FactoryExchange(FactoryServices &services, Kind kind)
    : m_services(services)
    , m_kind(kind)
{
    if (m_services.link.linkState().lineUser == LineUser::None) {
        m_services.link.setLineUser(LineUser::FactoryTool);
        m_holdsLine = true;
    }
}

FactoryExchange::~FactoryExchange()
{
    if (m_holdsLine)
        m_services.link.setLineUser(LineUser::None);
}

FactoryResult FactoryExchange::refuseBusy()
{
    const std::string why = lineBusyMessage(m_services.link.linkState().lineUser);
    beep();
    m_services.platform.dialogs.messageBox(why,
                                           kLineBusyTitle,
                                           MessageIcon::Information,
                                           MessageButtons::Ok);
    return FactoryOutcome::Busy;
}

// --- questions and files -----------------------------------------------------

void FactoryExchange::beep()
{
    m_services.platform.dialogs.beep();
}

bool FactoryExchange::confirm(const char *title, const char *warning)
{
    const MessageAnswer answer
        = m_services.platform.dialogs.messageBox(std::string("Are you sure?\r\n") + warning,
                                                 title,
                                                 MessageIcon::Question,
                                                 MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes)
        return true;
    stop(FactoryOutcome::Cancelled);
    return false;
}

bool FactoryExchange::isBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::nullopt_t FactoryExchange::stop(FactoryResult result)
{
    m_stopped = std::move(result);
    return std::nullopt;
}

std::nullopt_t FactoryExchange::refuse(const std::string &message, const std::string &title)
{
    beep();
    m_services.platform.dialogs.messageBox(message,
                                           title,
                                           MessageIcon::Warning,
                                           MessageButtons::Ok);
    return stop(failure(message));
}

std::string FactoryExchange::askText(const Prompt &prompt)
{
    return m_services.platform.dialogs.inputBox(prompt.text, prompt.title, {});
}

std::optional<std::string> FactoryExchange::openFileName(const char *title, const char *filter)
{
    std::string path = m_services.platform.dialogs.openFileName(title, filter);
    if (path.empty())
        return stop(FactoryOutcome::Cancelled);
    return path;
}

std::optional<std::string> FactoryExchange::saveFileName(const char *title, const char *filter)
{
    std::string path = m_services.platform.dialogs.saveFileName(title, filter);
    if (path.empty())
        return stop(FactoryOutcome::Cancelled);
    return path;
}

std::optional<std::string> FactoryExchange::readFile(const std::string &path)
{
    Result<std::string> text = m_services.platform.files.readFile(path);
    if (!text)
        return refuse(fileNameOf(path) + " cannot be read from " + path + ": " + text.error(),
                      "File Error");
    return std::move(*text);
}

std::string FactoryExchange::workingPath(std::string_view name) const
{
    return m_services.platform.files.resolve(m_services.files.WorkingFolder, std::string(name));
}

std::optional<std::string> FactoryExchange::readWorkingFile(std::string_view name)
{
    return readFile(workingPath(name));
}

bool FactoryExchange::writeFile(const std::string &path, const std::string &content)
{
    const Result<> written = m_services.platform.files.writeFileAtomically(path, content);
    if (!written) {
        refuse(path + " could not be written: " + written.error(), "File Error");
        return false;
    }
    return true;
}

// --- the exchange ----------------------------------------------------------------

bool FactoryExchange::connect()
{
    if (m_services.link.linkState().IsConnected)
        return true;
    if (connectToInstrument(m_services.connection, m_services.document.image).connected)
        return true;
    stop(FactoryOutcome::NotConnected);
    return false;
}

void FactoryExchange::delay(double seconds)
{
    m_services.link.Delay(seconds);
}

bool FactoryExchange::linkHolds()
{
    if (!m_services.link.lost())
        return true;
    m_problem = Problem::LinkLost;
    return false;
}

std::vector<uint8_t> FactoryExchange::read(const Frame &frame, int count, double pause)
{
    return takeAnswer(issueRead(m_services.link, frame, count, pause), count);
}

std::vector<uint8_t>
FactoryExchange::readUntilComplete(const Frame &frame, int count, double timeout)
{
    return takeAnswer(issueReadUntilComplete(m_services.link, frame, count, timeout), count);
}

std::vector<uint8_t> FactoryExchange::takeAnswer(std::vector<uint8_t> answer, int count)
{
    m_attempts = 1;
    m_expected = count;
    m_received = std::min<int>(m_services.link.rx().RxCount, count);
    if (!linkHolds())
        m_received = 0;
    else if (m_received < count)
        m_problem = m_received == 0 ? Problem::NoAnswer : Problem::ShortAnswer;
    answer.resize(size_t(m_received));
    return answer;
}

std::optional<uint8_t> FactoryExchange::readByte(const Frame &frame, double pause)
{
    const std::vector<uint8_t> answer = read(frame, 1, pause);
    if (answer.empty())
        return std::nullopt;
    return answer.front();
}

std::optional<NvmBuffer> FactoryExchange::readSettings(double leadPause)
{
    const Frame frame = memoryFrame(CommandCode::ReadInternalNvm, kMaxFrameCount, 0);
    for (int attempt = 1; attempt <= kMaxReadAttempts; ++attempt) {
        delay(leadPause);
        const std::vector<uint8_t> answer = read(frame, kMaxFrameCount, kSettingsReadPause);
        if (m_services.link.lost())
            return std::nullopt;
        if (int(answer.size()) < kMaxFrameCount)
            continue;
        NvmBuffer settings{};
        std::copy(answer.begin(), answer.end(), settings.begin());
        if (settings[kSettingsCheckByte.address] == nvmCheckByte(settings))
            return settings;
        m_problem = Problem::BadCheckByte;
    }
    m_attempts = kMaxReadAttempts;
    return std::nullopt;
}

bool FactoryExchange::readUnitRecords(InstrumentSnapshot &held)
{
    const RecordReadSteps steps{[this](const std::string &phrase, int number, int count) {
                                    step(stepText(phrase, number, count));
                                },
                                [] {
                                }};
    std::optional<RecordReadFailure> failed
        = readConfigurationRecords(m_services.link, held, steps);
    if (!failed)
        failed = readCurveRecords(m_services.link, held, steps);
    if (!failed)
        return true;
    m_attempts = kMaxRecordReads;
    m_expected = failed->expected;
    m_received = failed->received;
    switch (failed->problem) {
    case RecordReadProblem::NoAnswer:
        m_problem = Problem::NoAnswer;
        break;
    case RecordReadProblem::ShortAnswer:
        m_problem = Problem::ShortAnswer;
        break;
    case RecordReadProblem::BadRecord:
        m_problem = Problem::BadRecord;
        break;
    case RecordReadProblem::Unsteady:
        m_problem = Problem::Unsteady;
        break;
    case RecordReadProblem::LinkLost:
        m_problem = Problem::LinkLost;
        break;
    }
    return false;
}

bool FactoryExchange::writeBlock(CommandCode code,
                                 int address,
                                 std::span<const uint8_t> data,
                                 double trailingPause)
{
    m_written = true;
    switch (orvane::writeBlock(m_services.link, code, address, data, trailingPause)) {
    case BlockWriteEnd::Completed:
        return true;
    case BlockWriteEnd::NoEcho:
        m_problem = Problem::NoAnswer;
        return false;
    case BlockWriteEnd::LinkLost:
        break;
    }
    m_problem = Problem::LinkLost;
    return false;
}

bool FactoryExchange::writeByte(const Frame &frame, uint8_t data, double pause)
{
    m_written = true;
    m_services.link.ResetReceive();
    sendFrame(m_services.link, frame);
    m_services.link.SendByte(data);
    delay(pause);
    return linkHolds();
}

bool FactoryExchange::send(const Frame &frame, double pause)
{
    m_written = true;
    m_services.link.ResetReceive();
    sendFrame(m_services.link, frame);
    delay(pause);
    return linkHolds();
}

std::string FactoryExchange::failureMessage() const
{
    const std::string where = m_step.empty() ? std::string("talking to the Orvane") : m_step;
    std::string text;
    switch (m_problem) {
    case Problem::NoAnswer:
        text = "No answer from the Orvane while " + where + ".";
        break;
    case Problem::ShortAnswer:
        text = "Only " + std::to_string(m_received) + " of " + std::to_string(m_expected)
               + " bytes came back from the Orvane while " + where + ".";
        break;
    case Problem::BadCheckByte:
        text = "The Orvane's internal NVM failed its check byte " + std::to_string(m_attempts)
               + " times while " + where + ".";
        break;
    case Problem::BadRecord:
        text = recordReadSentence(RecordReadProblem::BadRecord, where);
        break;
    case Problem::Unsteady:
        text = recordReadSentence(RecordReadProblem::Unsteady, where);
        break;
    case Problem::LinkLost:
        text = m_services.link.lostSentence(where);
        break;
    }
    if ((m_problem == Problem::ShortAnswer || m_problem == Problem::NoAnswer) && m_attempts > 1)
        text += " The read was tried " + std::to_string(m_attempts) + " times.";
    if (m_kind == Kind::Writes && !m_written)
        text += kNotWritten;
    return text + " " + kAdvice;
}

FactoryResult FactoryExchange::fail()
{
    const std::string message = failureMessage();
    // The instrument may still be busy with what it was sent: the next tool
    // connects afresh.
    m_services.link.setConnected(false);
    m_services.view.setConnectedCaption(kNotConnectedText);
    m_services.view.hideProgress();
    m_services.platform.dialogs.messageBox(message,
                                           kFactoryErrorTitle,
                                           MessageIcon::Warning,
                                           MessageButtons::Ok);
    m_stopped = failure(message);
    return m_stopped;
}

} // namespace orvane
