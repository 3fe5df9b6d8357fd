#pragma once

#include "model/messagesink.h"

#include <string>

/// What both wizards show when AddComponent refuses a component.
inline constexpr const char* kProblemAddingMessage = "problem adding component";

/// Reports text to sink; a null sink drops it.
inline void ReportTo(IMessageSink* sink, const std::string& text) {
    if (sink != nullptr) {
        sink->Report(text);
    }
}
