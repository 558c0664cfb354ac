#include "platform/sql/RegisterUrl.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace orvane {

namespace {

constexpr std::string_view kForms = "Use postgresql://user@host:port/dbname, "
                                    "postgresql://user@/dbname?host=/socket/folder or "
                                    "sqlite:/path/to/file.";

Failure badUrl(const std::string &url, const std::string &why)
{
    return failure("The production database URL \"" + url + "\" " + why + ". "
                   + std::string(kForms));
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// %XX escapes, as a user name or a password with '@' or '/' needs them.
std::optional<std::string> percentDecoded(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += char(high * 16 + low);
        i += 2;
    }
    return out;
}

std::optional<int> number(std::string_view text, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > highest)
        return std::nullopt;
    return value;
}

Result<RegisterLocation> parseSqlite(const std::string &url, std::string_view rest)
{
    if (rest.starts_with("//"))
        rest.remove_prefix(2);
    const auto path = percentDecoded(rest);
    if (!path || path->empty())
        return badUrl(url, "names no file");
    RegisterLocation location;
    location.engine = RegisterEngine::SQLite;
    location.path = *path;
    return location;
}

// The query's parameters: host (a socket folder), port, sslmode,
// connect_timeout.
Result<>
applyParameter(RegisterLocation &location, const std::string &url, std::string_view parameter)
{
    const size_t equals = parameter.find('=');
    const std::string_view name = parameter.substr(0, equals);
    const auto value = percentDecoded(
        equals == std::string_view::npos ? std::string_view() : parameter.substr(equals + 1));
    if (!value || value->empty())
        return badUrl(url, "gives no value for " + std::string(name));
    if (name == "host") {
        location.host = *value;
    } else if (name == "port") {
        const auto port = number(*value, 65535);
        if (!port)
            return badUrl(url, "has a port that is not 1..65535");
        location.port = *port;
    } else if (name == "sslmode") {
        location.sslMode = *value;
    } else if (name == "connect_timeout") {
        const auto seconds = number(*value, 3600);
        if (!seconds)
            return badUrl(url, "has a connect_timeout that is not 1..3600 seconds");
        location.connectTimeoutSeconds = *seconds;
    } else {
        return badUrl(url,
                      "has a parameter \"" + std::string(name)
                          + "\" this program does not know (host, port, sslmode, "
                            "connect_timeout)");
    }
    return {};
}

Result<RegisterLocation> parsePostgres(const std::string &url, std::string_view rest)
{
    RegisterLocation location;
    location.engine = RegisterEngine::PostgreSQL;

    std::string_view query;
    if (const size_t mark = rest.find('?'); mark != std::string_view::npos) {
        query = rest.substr(mark + 1);
        rest = rest.substr(0, mark);
    }
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos || slash + 1 == rest.size())
        return badUrl(url, "names no database (…/dbname)");
    const auto database = percentDecoded(rest.substr(slash + 1));
    if (!database)
        return badUrl(url, "has a broken %-escape in the database name");
    location.database = *database;

    std::string_view authority = rest.substr(0, slash);
    if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view userInfo = authority.substr(0, at);
        authority = authority.substr(at + 1);
        const size_t colon = userInfo.find(':');
        const auto user = percentDecoded(userInfo.substr(0, colon));
        const auto password = percentDecoded(
            colon == std::string_view::npos ? std::string_view() : userInfo.substr(colon + 1));
        if (!user || !password)
            return badUrl(url, "has a broken %-escape in the user or password");
        location.user = *user;
        location.password = *password;
    }
    // [::1]:5432 keeps the address's colons inside the brackets.
    std::string_view host = authority;
    std::string_view port;
    if (authority.starts_with('[')) {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return badUrl(url, "has an address without its closing ]");
        host = authority.substr(1, close - 1);
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty() && !after.starts_with(':'))
            return badUrl(url, "has text after the address");
        port = after.empty() ? after : after.substr(1);
    } else if (const size_t colon = authority.find(':'); colon != std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    location.host = std::string(host);
    if (!port.empty()) {
        const auto value = number(port, 65535);
        if (!value)
            return badUrl(url, "has a port that is not 1..65535");
        location.port = *value;
    }

    while (!query.empty()) {
        const size_t amp = query.find('&');
        if (auto applied = applyParameter(location, url, query.substr(0, amp)); !applied)
            return failure(applied.error());
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    }
    return location;
}

} // namespace

std::string RegisterLocation::where() const
{
    if (engine == RegisterEngine::SQLite)
        return "the SQLite file " + path;
    std::string server = host.empty() ? "the local server" : host;
    if (port != 0)
        server += ":" + std::to_string(port);
    return "the PostgreSQL database \"" + database + "\" on " + server
           + (user.empty() ? "" : " as " + user);
}

Result<RegisterLocation> parseRegisterUrl(const std::string &url)
{
    const std::string_view text = url;
    for (const std::string_view scheme : {"postgresql://", "postgres://"})
        if (text.starts_with(scheme))
            return parsePostgres(url, text.substr(scheme.size()));
    if (text.starts_with("sqlite:"))
        return parseSqlite(url, text.substr(7));
    return badUrl(url, "is not one this program reads");
}

} // namespace orvane
