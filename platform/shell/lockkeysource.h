#pragma once

#include "platform/shell/ilockkeys.h"

#include <memory>

/// Where the program reads the lock keys: the X server's own state when the application runs
/// on X11 with XKB, the keyboard LEDs under /sys otherwise (keys neither reports read as off).
std::unique_ptr<ILockKeys> CreateLockKeys();
