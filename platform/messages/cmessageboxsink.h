#pragma once

#include "model/messagesink.h"

/// Shows the messages of model and chart operations as warning message boxes.
class CMessageBoxSink : public IMessageSink {
public:
    void Report(const std::string& text) override;
};
