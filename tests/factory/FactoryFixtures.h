#pragma once

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

// The factory files written for these tests, read byte for byte.

namespace orvane::test {

inline std::optional<std::string> readFixture(const std::string &relativePath)
{
    std::ifstream in(std::string(ORVANE_FACTORY_FIXTURES) + "/" + relativePath, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string fixture(const std::string &relativePath)
{
    return readFixture(relativePath).value_or("missing fixture " + relativePath);
}

// A failure message begins with `where` and holds `reason`.
inline bool failsWith(const std::string &error, const std::string &where, const std::string &reason)
{
    return !error.empty() && error.rfind(where, 0) == 0 && error.find(reason) != std::string::npos;
}

} // namespace orvane::test
