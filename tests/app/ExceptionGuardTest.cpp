#include "app/ExceptionGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace orvane;

TEST(ExceptionGuard, AnEscapingExceptionIsReportedOnceAndTheEventCountsAsNotHandled)
{
    ExceptionGuard guard;
    std::vector<std::string> reports;
    guard.setReporter([&](const std::string &what) {
        reports.push_back(what);
        // The report's dialog runs events; one that throws meanwhile is not
        // reported on top of it.
        EXPECT_FALSE(guard.deliver([]() -> bool { throw std::runtime_error("nested"); }));
    });

    EXPECT_TRUE(guard.deliver([] { return true; }));
    EXPECT_FALSE(guard.deliver([]() -> bool { throw std::out_of_range("index 9"); }));
    EXPECT_FALSE(guard.deliver([]() -> bool { throw 42; }));

    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], "index 9");
    EXPECT_EQ(reports[1], "an exception of unknown type");
}
