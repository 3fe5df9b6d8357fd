#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

/// Whether a test may skip for want of a tool or locale: yes, unless QUORBEL_REQUIRE_TOOLS is set,
/// as `make test` sets it after the install script has provided everything.
inline bool SkipsAllowed() {
    const char* require = std::getenv("QUORBEL_REQUIRE_TOOLS");
    return require == nullptr || *require == '\0';
}

/// Skips the test with a note, or fails it where every tool is required (`make test`, CI): there
/// a missing tool is a fault of the machine's set-up, never a quiet pass.
#define SKIP_OR_FAIL_MISSING(why)                                                                  \
    do {                                                                                           \
        if (SkipsAllowed()) {                                                                      \
            GTEST_SKIP() << (why) << ": skipped (scripts/install-deps.sh installs it)";            \
        }                                                                                          \
        FAIL() << (why) << " (QUORBEL_REQUIRE_TOOLS is set; scripts/install-deps.sh installs it)"; \
    } while (false)
