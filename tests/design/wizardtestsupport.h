#pragma once

#include "model/component.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"

#include <cstdio>
#include <string>
#include <vector>

// One component written as kind, placement and its value to the quoted decimals, so that a table
// row reads like the network it expects.
inline std::string Describe(const Component& c, int decimals) {
    const char* where = c.placement == PLACE_SHUNT ? "shunt" : "series";
    double value = 0.0;
    const char* what = "?";
    if (c.kind == KIND_INDUCTOR) {
        what = "L";
        value = c.inductance;
    } else if (c.kind == KIND_CAPACITOR) {
        what = "C";
        value = c.capacitance;
    } else if (c.kind == KIND_TLINE) {
        what = "line";
        value = c.lineZ0;
    }
    char buf[80];
    std::snprintf(buf, sizeof buf, "%s %s %.*f", where, what, decimals, value);
    return buf;
}

inline std::vector<std::string> Network(const SmithChrt& doc, int decimals) {
    std::vector<std::string> out;
    for (int i = 0; i < doc.componentCount; ++i) {
        out.push_back(Describe(doc.components[static_cast<size_t>(i)], decimals));
    }
    return out;
}

// Records each message with a copy of the document as it stood when the message was raised.
class SnapshotSink : public IMessageSink {
public:
    explicit SnapshotSink(const SmithChrt& doc) : doc_(doc) {}
    void Report(const std::string& text) override {
        messages.push_back(text);
        states.push_back(doc_);
    }
    std::vector<std::string> messages;
    std::vector<SmithChrt> states;

private:
    const SmithChrt& doc_;
};
