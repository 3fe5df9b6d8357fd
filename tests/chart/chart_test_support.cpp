#include "tests/chart/chart_test_support.h"

std::vector<DrawCall> RecordedDraw::Calls(const std::function<bool(const DrawCall&)>& keep) const {
    std::vector<DrawCall> out;
    for (const DrawCall& c : surface.calls) {
        if (keep(c)) {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<DrawCall> RecordedDraw::CallsWithPen(DrawCall::Op op, Pen pen) const {
    return Calls([&](const DrawCall& c) { return c.op == op && c.pen == pen; });
}

std::vector<std::string> RecordedDraw::Texts() const {
    std::vector<std::string> out;
    for (const DrawCall& c : surface.calls) {
        if (c.op == DrawCall::Op::Text && !c.text.empty()) {
            out.push_back(c.text);
        }
    }
    return out;
}

Pen MarkerPen(Rgb colour) {
    return {3, colour};
}
