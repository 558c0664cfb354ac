#pragma once

#include <ctime>

namespace orvane::bench {

// CPU seconds this process has spent so far, all threads.
inline double processCpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace orvane::bench
