#pragma once

#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"

#include <functional>
#include <string>
#include <vector>

/// A document drawn into a recording surface of a given window size.
struct RecordedDraw {
    SmithChrt sc;
    RecordingSurface surface;
    MessageCollector messages;
    FixedDateTimeText clock{std::string("07.12.2026 23:59")};

    RecordedDraw() {
        sc.title = "Abc";
        sc.messages = &messages;
    }
    void Draw(int32_t width = 800, int32_t height = 400) {
        surface.calls.clear();
        DrawChart(sc, surface, {0, 0, width, -height}, clock);
    }
    std::vector<DrawCall> Calls(const std::function<bool(const DrawCall&)>& keep) const;
    std::vector<DrawCall> CallsWithPen(DrawCall::Op op, Pen pen) const;
    std::vector<std::string> Texts() const;
};

inline constexpr Pen kRimPen{2, {192, 0, 0}};
inline constexpr Pen kImpedancePen{1, {255, 0, 0}};
inline constexpr Pen kAdmittancePen{1, {0, 100, 0}};
inline constexpr Pen kInactiveTrace{2, {0, 0, 0}};
inline constexpr Pen kActiveTrace{5, {0, 0, 255}};
inline constexpr Pen kQPen{3, {0, 209, 240}};

Pen MarkerPen(Rgb colour);
