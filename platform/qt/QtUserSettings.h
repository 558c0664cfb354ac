#pragma once

#include "platform/Platform.h"

namespace orvane {

// The per-user settings of the platform (on Linux
// ~/.config/<organization>/<application>.conf), named by the application's
// organization and name.
class QtUserSettings : public UserSettings
{
public:
    std::vector<std::string> textList(const std::string &key) override;
    void setTextList(const std::string &key, const std::vector<std::string> &values) override;
};

} // namespace orvane
