#pragma once

#include <string>
#include <string_view>
#include <vector>

// Just enough JSON for --json: strings quoted and escaped, values joined.

namespace orvane::cli {

std::string jsonString(std::string_view text);
// "[a,b]" / "{a,b}" from values or members already written as JSON.
std::string jsonArray(const std::vector<std::string> &values);
std::string jsonObject(const std::vector<std::string> &members);
// "\"name\":value".
std::string jsonMember(std::string_view name, const std::string &value);

} // namespace orvane::cli
