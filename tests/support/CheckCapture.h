#pragma once

#include <gtest/gtest.h>

#include <string>

namespace orvane::test {

// Runs `action` and tells whether a programming check failed in it:
// ORVANE_CHECK reports on stderr before it takes its fallback.
template<typename Action>
bool failsACheck(Action &&action)
{
    ::testing::internal::CaptureStderr();
    action();
    return ::testing::internal::GetCapturedStderr().find("orvane: check \"") != std::string::npos;
}

} // namespace orvane::test
