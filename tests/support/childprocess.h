#pragma once

#include <cstdint>
#include <functional>

/// What a function run in a child process did.
struct ChildOutcome {
    bool finished = false;     ///< it returned before the time limit
    int status = -1;           ///< its return value, when it finished
    int64_t peakGrowthKiB = 0; ///< how far its peak resident memory rose while it ran
    int64_t bytesRead = 0;     ///< bytes it read through the kernel while it ran
};

/// Runs fn in a forked copy of this process, killed after timeoutSeconds; fn's return value is
/// the status (0 to 255). Memory and reading are measured around fn alone.
ChildOutcome RunInChild(const std::function<int()>& fn, unsigned timeoutSeconds);
