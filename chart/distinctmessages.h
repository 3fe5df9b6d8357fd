#pragma once

#include "model/messagesink.h"

#include <algorithm>
#include <string>
#include <vector>

/// Keeps each distinct message once, in the order first reported.
class DistinctMessageCollector : public IMessageSink {
public:
    void Report(const std::string& text) override {
        if (std::find(messages.begin(), messages.end(), text) == messages.end()) {
            messages.push_back(text);
        }
    }
    std::vector<std::string> messages;
};
