#pragma once

#include "platform/shell/ilockkeys.h"

#include <array>
#include <cstdint>

struct xcb_connection_t;

/// The lock keys as the X server's keyboard extension (XKB) shows them: its indicators named
/// "Caps Lock", "Num Lock" and "Scroll Lock" on the core keyboard. They follow the server's
/// lock state wherever the keyboard is (a remote or virtual X server included).
class CXkbLockKeys : public ILockKeys {
public:
    /// Uses the X connection of the running Qt application; not Available() when the
    /// application does not run on X11 or the server lacks XKB.
    CXkbLockKeys();
    bool Available() const { return connection != nullptr; }
    LockKeys Read() override;

private:
    bool IndicatorOn(uint32_t atom) const;

    xcb_connection_t* connection = nullptr;
    /// The atoms naming the Caps, Num and Scroll Lock indicators.
    std::array<uint32_t, 3> names{};
};
