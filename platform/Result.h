#pragma once

#include <optional>
#include <string>
#include <utility>

// What can fail at run time because of the user, a file or the instrument
// travels as a value up to the window that reports it: either the result or
// one sentence saying what went wrong and what to do.

namespace orvane {

struct Failure
{
    std::string message;
};

inline Failure failure(std::string message)
{
    return Failure{std::move(message)};
}

template<typename T = void>
class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {}
    Result(Failure failure)
        : m_error(std::move(failure.message))
    {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    // Only valid when ok().
    const T &value() const & { return *m_value; }
    T &value() & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    const T &operator*() const & { return *m_value; }
    T &operator*() & { return *m_value; }
    const T *operator->() const { return &*m_value; }
    T *operator->() { return &*m_value; }

    // Empty when ok().
    const std::string &error() const { return m_error; }

private:
    std::optional<T> m_value;
    std::string m_error;
};

template<>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure)
        : m_ok(false)
        , m_error(std::move(failure.message))
    {}

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const std::string &error() const { return m_error; }

private:
    bool m_ok = true;
    std::string m_error;
};

} // namespace orvane
