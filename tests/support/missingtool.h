#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

/// Whether a test may skip for want of a tool or locale: only when QUORBEL_ALLOW_SKIPS is set.
inline bool SkipsAllowed() {
    const char* allow = std::getenv("QUORBEL_ALLOW_SKIPS");
    return allow != nullptr && *allow != '\0';
}

/// Skips the test when skips are allowed and fails it otherwise: the install script provides
/// everything the suite needs, so a missing tool is a fault of the machine, never a quiet pass.
#define SKIP_OR_FAIL_MISSING(why)                                                                  \
    do {                                                                                           \
        if (SkipsAllowed()) {                                                                      \
            GTEST_SKIP() << (why);                                                                 \
        }                                                                                          \
        FAIL() << (why)                                                                            \
               << " (install it with scripts/install-deps.sh, or set QUORBEL_ALLOW_SKIPS=1)";      \
    } while (false)
