// orvane-sim: the virtual Orvane instrument on a pseudo-terminal. SIGUSR1
// and the optional control FIFO reach the running instrument through the
// event loop, like the bytes of the terminal.

#include "platform/posix/DeviceLink.h"
#include "platform/posix/PseudoTerminal.h"
#include "platform/posix/TerminationSignals.h"
#include "sim/AnswerSchedule.h"
#include "sim/ControlLine.h"
#include "sim/Instrument.h"
#include "sim/SimCommandLine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using orvane::sim::Instrument;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::string systemError(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

bool setNonBlockingCloseOnExec(int descriptor)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    return flags != -1 && ::fcntl(descriptor, F_SETFL, flags | O_NONBLOCK) != -1
           && ::fcntl(descriptor, F_SETFD, FD_CLOEXEC) != -1;
}

int g_powerCycleWrite = -1; // the handler may only touch plain data

void onPowerCycleSignal(int)
{
    const int savedErrno = errno;
    const unsigned char byte = 1;
    if (g_powerCycleWrite != -1) [[maybe_unused]]
        const ssize_t n = ::write(g_powerCycleWrite, &byte, 1);
    errno = savedErrno;
}

// SIGUSR1 turned into a readable descriptor, so that the event loop switches
// the instrument off and on, never the signal handler.
class PowerCycleSignal
{
public:
    PowerCycleSignal() = default;
    ~PowerCycleSignal()
    {
        if (m_write == -1)
            return;
        std::signal(SIGUSR1, SIG_DFL);
        g_powerCycleWrite = -1;
        ::close(m_read);
        ::close(m_write);
    }
    PowerCycleSignal(const PowerCycleSignal &) = delete;
    PowerCycleSignal &operator=(const PowerCycleSignal &) = delete;

    bool install(std::string *error)
    {
        int fds[2];
        if (::pipe(fds) == -1) {
            *error = systemError("pipe");
            return false;
        }
        m_read = fds[0];
        m_write = fds[1];
        if (!setNonBlockingCloseOnExec(m_read) || !setNonBlockingCloseOnExec(m_write)) {
            *error = systemError("fcntl");
            return false;
        }
        g_powerCycleWrite = m_write;
        struct sigaction action
        {};
        action.sa_handler = onPowerCycleSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        if (::sigaction(SIGUSR1, &action, nullptr) == -1) {
            *error = systemError("sigaction");
            return false;
        }
        return true;
    }

    int descriptor() const { return m_read; }

    // True when at least one signal was waiting. Signals that arrive
    // together make one power cycle.
    bool take()
    {
        unsigned char bytes[64];
        bool any = false;
        while (::read(m_read, bytes, sizeof bytes) > 0)
            any = true;
        return any;
    }

private:
    int m_read = -1;
    int m_write = -1;
};

// The control channel: a FIFO that anyone may write text lines into
// ("echo power-cycle > PATH"). The program holds a write end itself, so the
// FIFO never reports end of file when a writer closes it.
class ControlFifo
{
public:
    static constexpr size_t kMaxLine = 1024; // far beyond any control line

    ControlFifo() = default;
    ~ControlFifo() { close(); }
    ControlFifo(const ControlFifo &) = delete;
    ControlFifo &operator=(const ControlFifo &) = delete;

    // Creates the FIFO, or takes over one left behind by an earlier run.
    bool open(const std::string &path, std::string *error)
    {
        struct stat info
        {};
        if (::lstat(path.c_str(), &info) == 0) {
            if (!S_ISFIFO(info.st_mode)) {
                *error = path + " exists and is not a FIFO; not replacing it";
                return false;
            }
        } else if (::mkfifo(path.c_str(), 0600) == -1) {
            *error = systemError("cannot create the FIFO " + path);
            return false;
        }
        m_path = path;
        m_read = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_keepOpen = m_read == -1 ? -1 : ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_read == -1 || m_keepOpen == -1) {
            *error = systemError("cannot open the FIFO " + path);
            close();
            return false;
        }
        return true;
    }

    void close()
    {
        if (m_read != -1)
            ::close(m_read);
        if (m_keepOpen != -1)
            ::close(m_keepOpen);
        m_read = m_keepOpen = -1;
        if (!m_path.empty())
            ::unlink(m_path.c_str());
        m_path.clear();
    }

    int descriptor() const { return m_read; }

    // The whole lines that have arrived. A line that grows beyond kMaxLine
    // is handed over cut, so that it is refused rather than kept forever.
    std::vector<std::string> takeLines()
    {
        char chunk[512];
        ssize_t n;
        while ((n = ::read(m_read, chunk, sizeof chunk)) > 0)
            m_pending.append(chunk, static_cast<size_t>(n));
        std::vector<std::string> lines;
        size_t end;
        while ((end = m_pending.find('\n')) != std::string::npos) {
            lines.push_back(m_pending.substr(0, std::min(end, kMaxLine)));
            m_pending.erase(0, end + 1);
        }
        if (m_pending.size() > kMaxLine) {
            lines.push_back(m_pending.substr(0, kMaxLine));
            m_pending.clear();
        }
        return lines;
    }

private:
    std::string m_path;
    int m_read = -1;
    int m_keepOpen = -1;
    std::string m_pending;
};

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

    // Switched off and on: what had not left yet never will.
    void powerCycle(const std::string &cause)
    {
        dropPendingAnswers();
        m_instrument.powerCycle(cause);
        acknowledge(cause + ": power cycle");
        printLog();
    }

    void control(const std::string &line)
    {
        const orvane::sim::ControlParse parsed = orvane::sim::parseControlLine(line);
        if (!parsed.error.empty())
            acknowledge("control \"" + line + "\" ignored: " + parsed.error);
        if (!parsed.command)
            return;
        if (parsed.command->action == orvane::sim::ControlCommand::Action::PowerCycle)
            dropPendingAnswers();
        acknowledge("control \"" + line
                    + "\": " + orvane::sim::applyControl(m_instrument, *parsed.command));
        printLog();
    }

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

    void dropPendingAnswers()
    {
        m_schedule.clear();
        m_unsent.clear();
        m_late.stop();
        m_writable.setEnabled(false);
    }

    // What the operator asked for is confirmed even when frames are not
    // logged: a script waits for it before it goes on. A line of garbage
    // is shown cut, its control characters as "?".
    static void acknowledge(const std::string &line)
    {
        constexpr size_t kShown = 160;
        std::string shown;
        for (const char c : line.substr(0, kShown))
            shown += static_cast<unsigned char>(c) < 32 || c == 127 ? '?' : c;
        std::cerr << shown << (line.size() > kShown ? "..." : "") << std::endl;
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
    orvane::sim::applySimOptions(options, instrument);

    orvane::TerminationSignals termination;
    PowerCycleSignal powerCycleSignal;
    orvane::PseudoTerminal terminal;
    orvane::DeviceLink link;
    ControlFifo control;
    if (!termination.install(&error) || !powerCycleSignal.install(&error) || !terminal.open(&error)
        || (!options.controlPath.empty() && !control.open(options.controlPath, &error))
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
    QSocketNotifier powerCycleNotifier(powerCycleSignal.descriptor(), QSocketNotifier::Read);
    QObject::connect(&powerCycleNotifier, &QSocketNotifier::activated, [&] {
        if (powerCycleSignal.take())
            carrier.powerCycle("SIGUSR1");
    });
    std::optional<QSocketNotifier> controlNotifier;
    if (!options.controlPath.empty()) {
        if (!options.quiet)
            std::cerr << "control lines from " << options.controlPath << std::endl;
        controlNotifier.emplace(control.descriptor(), QSocketNotifier::Read);
        QObject::connect(&*controlNotifier, &QSocketNotifier::activated, [&] {
            for (const std::string &line : control.takeLines())
                carrier.control(line);
        });
    }
    app.exec();

    int status = carrier.failure();
    link.remove();
    control.close();
    if (!options.statePath.empty() && !instrument.saveState(options.statePath, &error)) {
        std::cerr << "orvane-sim: " << error << std::endl;
        status = kExitFailure;
    }
    return status;
}
