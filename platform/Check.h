#pragma once

#include <cstdio>

// A programming error, not a user's: the condition must hold. When it does
// not, the fault is reported on stderr and the caller's fallback runs, so a
// slip in one handler never ends the program (Qt Creator's QTC_ASSERT).
//
//     ORVANE_CHECK(c >= 1 && c <= 16, return);

namespace orvane::detail {

inline void reportCheckFailure(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "orvane: check \"%s\" failed at %s:%d\n", condition, file, line);
}

} // namespace orvane::detail

#define ORVANE_CHECK(condition, fallback)                                                          \
    if (condition) {                                                                               \
    } else {                                                                                       \
        ::orvane::detail::reportCheckFailure(#condition, __FILE__, __LINE__);                      \
        fallback;                                                                                  \
    }                                                                                              \
    do {                                                                                           \
    } while (false)
