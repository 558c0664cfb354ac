#pragma once

#include <string>

// A symbolic link that names a device, such as DIR/COM1 for the editor's
// port number 1. It is removed again when it goes, unless something else
// has replaced it meanwhile.

namespace orvane {

class DeviceLink
{
public:
    DeviceLink() = default;
    ~DeviceLink() { remove(); }
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    // Replaces an older symbolic link at linkPath; refuses to replace
    // anything that is not a symbolic link.
    bool create(const std::string &linkPath, const std::string &target, std::string *error);
    void remove();

private:
    std::string m_linkPath;
    std::string m_target;
};

} // namespace orvane
