#pragma once

#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
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
    auto text = readFixture(relativePath);
    if (!text)
        throw std::runtime_error("missing test fixture " + relativePath);
    return *text;
}

} // namespace orvane::test
