#include "cli/Json.h"

#include <cstdio>

namespace orvane::cli {

namespace {

std::string joined(const std::vector<std::string> &parts, char open, char close)
{
    std::string text(1, open);
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i ? "," : "") + parts[i];
    return text + close;
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
                out += escaped;
            } else {
                out += c; // UTF-8 passes through as it is
            }
        }
    }
    return out + "\"";
}

std::string jsonArray(const std::vector<std::string> &values)
{
    return joined(values, '[', ']');
}

std::string jsonObject(const std::vector<std::string> &members)
{
    return joined(members, '{', '}');
}

std::string jsonMember(std::string_view name, const std::string &value)
{
    return jsonString(name) + ":" + value;
}

} // namespace orvane::cli
