#include "platform/posix/TerminationSignals.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orvane {

namespace {

int g_signalWrite = -1; // the handler may only touch plain data

void onSignal(int signal)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    if (g_signalWrite != -1) [[maybe_unused]]
        const ssize_t n = ::write(g_signalWrite, &byte, 1);
    errno = savedErrno;
}

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

} // namespace

TerminationSignals::~TerminationSignals()
{
    if (m_write == -1)
        return;
    for (const int s : kSignals)
        std::signal(s, SIG_DFL);
    g_signalWrite = -1;
    ::close(m_read);
    ::close(m_write);
}

bool TerminationSignals::install(std::string *error)
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == -1) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    m_read = fds[0];
    m_write = fds[1];
    g_signalWrite = m_write;
    struct sigaction action
    {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kSignals) {
        if (::sigaction(s, &action, nullptr) == -1) {
            *error = std::string("sigaction: ") + std::strerror(errno);
            return false;
        }
    }
    return true;
}

int TerminationSignals::take()
{
    unsigned char byte = 0;
    return ::read(m_read, &byte, 1) == 1 ? byte : 0;
}

} // namespace orvane
