#pragma once

/// The state of the three lock keys.
struct LockKeys {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
    friend bool operator==(const LockKeys&, const LockKeys&) = default;
};

/// Where the lock-key state comes from; keys the platform does not report read as off.
class ILockKeys {
public:
    virtual ~ILockKeys() = default;
    virtual LockKeys Read() = 0;
};
