#pragma once

#include "platform/shell/ilockkeys.h"

#include <string>
#include <vector>

/// Reads the keyboard LEDs that Linux lists under /sys/class/leds (input*::capslock and so on).
/// A key counts as on when any keyboard shows its LED lit.
class CSysfsLockKeys : public ILockKeys {
public:
    explicit CSysfsLockKeys(const std::string& ledRoot = "/sys/class/leds");
    LockKeys Read() override;

private:
    std::vector<std::string> caps_;
    std::vector<std::string> num_;
    std::vector<std::string> scroll_;
};
