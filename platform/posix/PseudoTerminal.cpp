#include "platform/posix/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace orvane {

namespace {

std::string systemError(const char *what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

bool setDescriptorFlags(int fd, bool nonBlocking)
{
    const int fdFlags = ::fcntl(fd, F_GETFD);
    if (fdFlags == -1 || ::fcntl(fd, F_SETFD, fdFlags | FD_CLOEXEC) == -1)
        return false;
    if (!nonBlocking)
        return true;
    const int flags = ::fcntl(fd, F_GETFL);
    return flags != -1 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != -1;
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open(std::string *error)
{
    close();
    termios settings{};
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    if (::openpty(&m_master, &m_slave, nullptr, &settings, nullptr) == -1) {
        *error = systemError("openpty");
        m_master = m_slave = -1;
        return false;
    }
    char name[256];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        *error = systemError("ptsname");
        close();
        return false;
    }
    m_slavePath = name;
    if (!setDescriptorFlags(m_master, true) || !setDescriptorFlags(m_slave, false)) {
        *error = systemError("fcntl");
        close();
        return false;
    }
    return true;
}

void PseudoTerminal::close()
{
    if (m_master != -1)
        ::close(m_master);
    if (m_slave != -1)
        ::close(m_slave);
    m_master = m_slave = -1;
    m_slavePath.clear();
}

PseudoTerminal::Status PseudoTerminal::readAvailable(std::vector<uint8_t> &bytes,
                                                     std::string *error)
{
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.insert(bytes.end(), buffer, buffer + n);
            continue;
        }
        if (n == -1 && errno == EINTR)
            continue;
        if (n == -1 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return Status::Ok;
        *error = n == 0 ? std::string("terminal closed") : systemError("read");
        return Status::Failed;
    }
}

long PseudoTerminal::writeSome(std::span<const uint8_t> bytes, std::string *error)
{
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n == -1 && errno == EINTR)
            continue;
        if (n == -1 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        *error = systemError("write");
        return -1;
    }
    return static_cast<long>(written);
}

} // namespace orvane
