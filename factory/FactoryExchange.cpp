#include "factory/FactoryExchange.h"

#include "link/LineUser.h"
#include "transfer/Identification.h"
#include "transfer/RecordReads.h"

namespace orvane {

std::string fileNameOf(const std::string &path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FactoryExchange::FactoryExchange(FactoryServices &services, ExchangeKind kind)
    : Exchange(services.link, kind)
    , m_services(services)
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
    refuseWhileBusy(m_services.platform.dialogs,
                    lineBusyMessage(m_services.link.linkState().lineUser));
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

bool FactoryExchange::readUnitRecords(InstrumentSnapshot &held)
{
    const RecordReadSteps steps{
        [this](const std::string &phrase, int number, int count) { step(phrase, number, count); },
        [] {
        }};
    return readConfigurationRecords(*this, held, steps) && readCurveRecords(*this, held, steps);
}

FactoryResult FactoryExchange::fail()
{
    const std::string message = failureMessage();
    tellFailure(m_services.view, m_services.platform.dialogs, message);
    m_stopped = failure(message);
    return m_stopped;
}

} // namespace orvane
