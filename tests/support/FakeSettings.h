#pragma once

#include "platform/Platform.h"

#include <map>
#include <string>
#include <vector>

namespace orvane::test {

// Per-user settings held in memory; a test that outlives one window with it
// sees what the next run of the program would read.
class FakeSettings : public UserSettings
{
public:
    std::vector<std::string> textList(const std::string &key) override
    {
        const auto it = values.find(key);
        return it == values.end() ? std::vector<std::string>{} : it->second;
    }
    void setTextList(const std::string &key, const std::vector<std::string> &list) override
    {
        values[key] = list;
    }

    std::map<std::string, std::vector<std::string>> values;
};

} // namespace orvane::test
