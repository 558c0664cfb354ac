#include "platform/posix/DeviceLink.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

bool DeviceLink::create(const std::string &linkPath, const std::string &target, std::string *error)
{
    remove();
    struct stat existing
    {};
    if (::lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        *error = linkPath + " exists and is not a symbolic link; not replacing it";
        return false;
    }
    // Made beside the final name and renamed over it, so an old link is
    // replaced in one step.
    const std::string temporary = linkPath + ".orvane-sim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) == -1) {
        *error = "cannot create " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    if (::rename(temporary.c_str(), linkPath.c_str()) == -1) {
        *error = "cannot create " + linkPath + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    m_linkPath = linkPath;
    m_target = target;
    return true;
}

void DeviceLink::remove()
{
    if (m_linkPath.empty())
        return;
    char current[4096];
    const ssize_t n = ::readlink(m_linkPath.c_str(), current, sizeof current - 1);
    if (n >= 0 && std::string(current, static_cast<size_t>(n)) == m_target)
        ::unlink(m_linkPath.c_str());
    m_linkPath.clear();
    m_target.clear();
}

} // namespace orvane
