// orvane-sim: the virtual Orvane instrument on a pseudo-terminal.

#include "platform/posix/DeviceLink.h"
#include "platform/posix/PseudoTerminal.h"
#include "platform/posix/TerminationSignals.h"
#include "sim/AnswerSchedule.h"
#include "sim/Instrument.h"
#include "sim/SimOptions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

namespace {

using orvane::sim::Instrument;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Carries bytes between the pseudo-terminal and the protocol core, in real
// time: an answer without delay is written the moment its byte is read, a
// late one (slow echoes) when its timer fires. Sleeps in the event loop
// between bytes.
class Carrier
{
public:
    Carrier(orvane::PseudoTerminal &terminal, Instrument &instrument, bool quiet)
        : m_terminal(terminal)
        , m_instrument(instrument)
        , m_quiet(quiet)
        , m_readable(terminal.masterDescriptor(), QSocketNotifier::Read)
        , m_writable(terminal.masterDescriptor(), QSocketNotifier::Write)
    {
        m_clock.start();
        m_writable.setEnabled(false);
        m_late.setSingleShot(true);
        m_late.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_readable, &QSocketNotifier::activated, [this] { onReadable(); });
        QObject::connect(&m_writable, &QSocketNotifier::activated, [this] { sendPending(); });
        QObject::connect(&m_late, &QTimer::timeout, [this] { sendDue(); });
    }

    // Set when the terminal failed and the program must stop.
    int failure() const { return m_failure; }

private:
    double now() const { return m_clock.nsecsElapsed() / 1e9; }

    void onReadable()
    {
        std::vector<uint8_t> bytes;
        std::string error;
        const auto status = m_terminal.readAvailable(bytes, &error);
        const double arrived = now();
        for (const uint8_t b : bytes)
            m_schedule.add(arrived, m_instrument.feed(b));
        printLog();
        sendDue();
        if (status == orvane::PseudoTerminal::Status::Failed)
            stop("orvane-sim: " + error);
    }

    void sendDue()
    {
        const std::vector<uint8_t> due = m_schedule.takeDue(now());
        m_unsent.insert(m_unsent.end(), due.begin(), due.end());
        sendPending();
        if (const auto next = m_schedule.nextDue()) {
            const double wait = std::max(0.0, *next - now());
            m_late.start(static_cast<int>(std::ceil(wait * 1000)));
        }
    }

    void sendPending()
    {
        std::string error;
        const long sent = m_unsent.empty() ? 0 : m_terminal.writeSome(m_unsent, &error);
        if (sent < 0) {
            stop("orvane-sim: " + error);
            return;
        }
        m_unsent.erase(m_unsent.begin(), m_unsent.begin() + sent);
        // Only watch for room while something waits, or the loop would spin.
        m_writable.setEnabled(!m_unsent.empty());
    }

    void printLog()
    {
        for (const std::string &line : m_instrument.takeFrameLog())
            if (!m_quiet)
                std::cerr << line << '\n';
        std::cerr.flush();
    }

    void stop(const std::string &message)
    {
        std::cerr << message << std::endl;
        m_readable.setEnabled(false);
        m_writable.setEnabled(false);
        m_failure = kExitFailure;
        QCoreApplication::exit(kExitFailure);
    }

    orvane::PseudoTerminal &m_terminal;
    Instrument &m_instrument;
    bool m_quiet;
    QSocketNotifier m_readable;
    QSocketNotifier m_writable;
    QTimer m_late;
    QElapsedTimer m_clock;
    orvane::sim::AnswerSchedule m_schedule;
    std::vector<uint8_t> m_unsent;
    int m_failure = 0;
};

void applyOptions(const orvane::sim::SimOptions &options, Instrument &instrument)
{
    if (options.productCode)
        instrument.setProductCode(*options.productCode);
    if (options.serial)
        instrument.setSerial(options.serial->year,
                             options.serial->month,
                             options.serial->day,
                             options.serial->unit);
    auto &faults = instrument.faults();
    faults.noAnswer = options.noAnswer;
    faults.blankIdentity = options.blankIdentity;
    faults.corruptFirstNvmRead = options.corruptFirstNvmRead;
    faults.echoesStopAfter = options.echoesStopAfter;
    faults.echoDelaySeconds = options.echoDelayMs / 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parsed = orvane::sim::parseSimOptions(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "orvane-sim: " << parsed.error << "\n\n" << orvane::sim::simUsage();
        return kExitUsage;
    }
    const orvane::sim::SimOptions &options = parsed.options;
    if (options.help) {
        std::cout << orvane::sim::simUsage();
        return 0;
    }

    Instrument instrument;
    std::string error;
    std::error_code ec;
    if (!options.statePath.empty() && std::filesystem::exists(options.statePath, ec)
        && !instrument.loadState(options.statePath, &error)) {
        // Refused rather than replaced: saving over it at exit would lose it.
        std::cerr << "orvane-sim: " << options.statePath << ": " << error << std::endl;
        return kExitFailure;
    }
    applyOptions(options, instrument);

    orvane::TerminationSignals termination;
    orvane::PseudoTerminal terminal;
    orvane::DeviceLink link;
    if (!termination.install(&error) || !terminal.open(&error)
        || (!options.linkPath.empty()
            && !link.create(options.linkPath, terminal.slavePath(), &error))) {
        std::cerr << "orvane-sim: " << error << std::endl;
        return kExitFailure;
    }

    std::cout << "orvane-sim: " << terminal.slavePath() << std::endl;
    if (!options.quiet && !options.linkPath.empty())
        std::cerr << "linked " << options.linkPath << " -> " << terminal.slavePath() << std::endl;

    QSocketNotifier signalNotifier(termination.descriptor(), QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&termination] {
        termination.take();
        QCoreApplication::quit();
    });
    Carrier carrier(terminal, instrument, options.quiet);
    app.exec();

    int status = carrier.failure();
    link.remove();
    if (!options.statePath.empty() && !instrument.saveState(options.statePath, &error)) {
        std::cerr << "orvane-sim: " << error << std::endl;
        status = kExitFailure;
    }
    return status;
}
