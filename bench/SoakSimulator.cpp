#include "SoakSimulator.h"

#include "sim/StateFile.h"

#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace orvane::bench {

namespace {
constexpr int kStartWaitMs = 10000;
constexpr int kStopWaitMs = 10000;
constexpr size_t kInternalNvmBytes = 512;
constexpr size_t kEepromBytes = 65536;
} // namespace

namespace {

std::optional<std::vector<sim::StateSection>> readSections(const QString &stateFile,
                                                           std::string *error)
{
    const auto bytes = sim::readFileBytes(stateFile.toStdString(), sim::kStateFileLimit, error);
    if (!bytes)
        return std::nullopt;
    return sim::decodeState(*bytes, error);
}

} // namespace

bool writeMemories(const QString &stateFile, const Memories &memories, std::string *error)
{
    auto sections = readSections(stateFile, error);
    if (!sections)
        return false;
    for (sim::StateSection &s : *sections) {
        if (s.tag == "INVM")
            s.bytes = memories.internalNvm;
        else if (s.tag == "EEPR")
            s.bytes = memories.eeprom;
    }
    return sim::writeFileBytes(stateFile.toStdString(), sim::encodeState(*sections), error);
}

std::optional<Memories> readMemories(const QString &stateFile, std::string *error)
{
    const auto sections = readSections(stateFile, error);
    if (!sections)
        return std::nullopt;
    const sim::StateSection *nvm = sim::findSection(*sections, "INVM", kInternalNvmBytes, error);
    const sim::StateSection *eeprom
        = nvm ? sim::findSection(*sections, "EEPR", kEepromBytes, error) : nullptr;
    if (!eeprom)
        return std::nullopt;
    return Memories{nvm->bytes, eeprom->bytes};
}

SoakSimulator::SoakSimulator(QString linkPath, QString stateFile, QString controlPath)
    : m_linkPath(std::move(linkPath))
    , m_stateFile(std::move(stateFile))
    , m_controlPath(std::move(controlPath))
{}

SoakSimulator::~SoakSimulator()
{
    stop();
}

QStringList SoakSimulator::arguments() const
{
    return {QStringLiteral("--link"),
            m_linkPath,
            QStringLiteral("--state"),
            m_stateFile,
            QStringLiteral("--control"),
            m_controlPath,
            QStringLiteral("--quiet")};
}

void SoakSimulator::startDetached()
{
    m_process = std::make_unique<QProcess>();
    // It acknowledges every control line on its error output; the soak
    // reports what matters itself.
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->start(QStringLiteral(ORVANE_SIM_PATH), arguments());
}

bool SoakSimulator::start(std::string *error)
{
    startDetached();
    if (!m_process->waitForStarted(kStartWaitMs)) {
        *error = "orvane-sim did not start: " + m_process->errorString().toStdString();
        return false;
    }
    // The first line names the terminal once the link is in place.
    while (!m_process->canReadLine()) {
        if (!m_process->waitForReadyRead(kStartWaitMs)) {
            *error = "orvane-sim did not come up";
            return false;
        }
    }
    m_process->readLine();
    if (!QFileInfo(m_linkPath).isSymLink()) {
        *error = "orvane-sim made no link";
        return false;
    }
    return true;
}

void SoakSimulator::stop()
{
    if (!running())
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(kStopWaitMs))
        m_process->kill();
    m_process->waitForFinished(kStopWaitMs);
}

bool SoakSimulator::running() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

bool SoakSimulator::control(const std::string &line)
{
    // Non-blocking: a simulator that is gone must not stall the editor.
    const int fd = ::open(m_controlPath.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    const std::string text = line + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    ::close(fd);
    return written;
}

} // namespace orvane::bench
