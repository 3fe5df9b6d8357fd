#pragma once

#include "platform/messages/imessageboxes.h"

/// The message boxes in use: the Qt ones unless another set has been installed.
IMessageBoxes& MessageBoxes();

/// Installs boxes (nullptr goes back to the Qt ones); returns the set installed before.
IMessageBoxes* InstallMessageBoxes(IMessageBoxes* boxes);

/// Installs a set of boxes for the lifetime of the object, for tests.
class ScopedMessageBoxes {
public:
    explicit ScopedMessageBoxes(IMessageBoxes& boxes) : previous_(InstallMessageBoxes(&boxes)) {}
    ~ScopedMessageBoxes() { InstallMessageBoxes(previous_); }
    ScopedMessageBoxes(const ScopedMessageBoxes&) = delete;
    ScopedMessageBoxes& operator=(const ScopedMessageBoxes&) = delete;

private:
    IMessageBoxes* previous_;
};
