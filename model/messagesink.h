#pragma once

#include <string>
#include <vector>

/// Where model and chart operations report messages that the window shows in message boxes.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual void Report(const std::string& text) = 0;
};

/// Keeps every reported message in order, for tests, the command-line tool and deferred display.
class MessageCollector : public IMessageSink {
public:
    void Report(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};
