// A draw that follows another keeps the traces whose inputs did not change. The oracle is a draw
// without kept traces: the same document copied (a copy keeps none) and drawn afresh.
#include "model/measuredbinding.h"
#include "tests/chart/chart_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

SmithChrt Mixed() {
    SmithChrt sc;
    sc.ResetForNewDocument();
    sc.showQArcs = 1;
    sc.showVswrCircles = true;
    sc.startZ = {12.5, -8};
    const Component cycle[] = {
        NewCapacitor(PLACE_SERIES, 50, 1000),
        NewInductor(PLACE_SHUNT, 50, 1000),
        NewLine(PLACE_TL_SERIES, 50, 1000),
        NewResistor(PLACE_SERIES, 50),
        NewLine(PLACE_TL_SHUNT_OPEN, 50, 1000),
        NewCompound(KIND_SERIES_RLC, PLACE_SERIES),
        NewLine(PLACE_TL_SHUNT_SHORTED, 50, 1000),
        NewCompound(KIND_PARALLEL_RLC, PLACE_SHUNT),
        NewInductor(PLACE_SERIES, 50, 1000),
        NewCapacitor(PLACE_SHUNT, 50, 1000),
        NewResistor(PLACE_SHUNT, 50),
    };
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        sc.AddComponent(cycle[i % std::size(cycle)]);
    }
    sc.activeIndex = 12;
    return sc;
}

// Lines far from the chart's impedance wind round it in many steps.
SmithChrt LongTraces() {
    SmithChrt sc;
    sc.ResetForNewDocument();
    sc.startZ = {2, 0};
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        Component c = NewLine(i % 2 == 0 ? PLACE_TL_SERIES : PLACE_TL_SHUNT_OPEN, 50, 1000);
        c.lineZ0 = i % 2 == 0 ? 1000 : 2;
        c.lineAngle = 170;
        sc.AddComponent(c);
    }
    sc.activeIndex = 6;
    return sc;
}

// Huge lines from the centre (each spends its step adjustments; the later ones repeat the
// first), then values without a number, and a placement that raises a message at every step.
SmithChrt Hostile() {
    SmithChrt sc;
    sc.ResetForNewDocument();
    sc.showQArcs = 1;
    for (int i = 0; i < 18; ++i) {
        Component c = NewResistor(PLACE_SHUNT, 50);
        if (i % 2 == 0) {
            c = NewLine(PLACE_TL_SERIES, 50, 1000);
            c.lineZ0 = 5e204;
            c.lineAngle = 1.6e211;
        }
        sc.AddComponent(c);
    }
    const double values[] = {1e308, -1e308, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()};
    for (const double v : values) {
        Component c = NewInductor(PLACE_SERIES, 50, 1000);
        c.inductance = v;
        sc.AddComponent(c);
    }
    Component bad = NewCapacitor(PLACE_SERIES, 50, 1000);
    bad.placement = 7;
    sc.AddComponent(bad);
    sc.AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    sc.activeIndex = 4;
    return sc;
}

SmithChrt LossyLines() {
    SmithChrt sc = Mixed();
    sc.losses.lineLoss = LossSpec{0.2, 435, LossLaw::Sqrt};
    sc.losses.inductorQ = LossSpec{60, 435, LossLaw::Sqrt};
    return sc;
}

SmithChrt MeasuredStart() {
    SmithChrt sc = Mixed();
    MeasuredData data;
    data.name = "probe.s1p";
    data.points = {MeasuredPointFromImpedance(800, {20, 35}, 50),
                   MeasuredPointFromImpedance(1000, {30, -10}, 50),
                   MeasuredPointFromImpedance(1200, {70, 5}, 50)};
    BindMeasuredData(sc, LoadEnd::Start, std::make_shared<const MeasuredData>(data));
    return sc;
}

struct Window {
    int32_t width = 800;
    int32_t height = 400;
};

void Tune(SmithChrt& sc, int32_t index) {
    TunableLookup status;
    double* v = TunableField(sc.components[index], status);
    ASSERT_NE(v, nullptr);
    *v *= 1 + sc.tunePercent * 0.01;
}

const struct Change {
    const char* name;
    std::function<void(SmithChrt&, Window&)> apply;
} kChanges[] = {
    {"nothing", [](SmithChrt&, Window&) {}},
    {"another active component", [](SmithChrt& sc, Window&) { sc.activeIndex = 2; }},
    {"tuned component 12", [](SmithChrt& sc, Window&) { Tune(sc, 12); }},
    {"tuned component 0", [](SmithChrt& sc, Window&) { Tune(sc, 0); }},
    {"tuned last component", [](SmithChrt& sc, Window&) { Tune(sc, sc.componentCount - 1); }},
    {"first component in shunt",
     [](SmithChrt& sc, Window&) { sc.components[0].placement = PLACE_SHUNT; }},
    {"chart Z0",
     [](SmithChrt& sc, Window&) {
         sc.chartZ0 = {75, 0};
     }},
    {"window size",
     [](SmithChrt&, Window& w) {
         w = {1200, 700};
     }},
    {"wider window", [](SmithChrt&, Window& w) { w.width = 900; }}, // the centre moves alone
    {"line loss",
     [](SmithChrt& sc, Window&) {
         sc.losses.lineLoss = LossSpec{0.3, 435, LossLaw::Sqrt};
     }},
    {"frequency",
     [](SmithChrt& sc, Window&) {
         sc.frequency = 1100;
         RefreshBoundImpedances(sc);
     }},
};

struct Document {
    const char* name;
    SmithChrt (*make)();
} const kDocuments[] = {{"mixed", Mixed},
                        {"long traces", LongTraces},
                        {"hostile", Hostile},
                        {"lossy lines", LossyLines},
                        {"measured start", MeasuredStart}};

// The index of the first call that differs, or -1 when both draws made the same calls.
long FirstDifference(const std::vector<DrawCall>& a, const std::vector<DrawCall>& b) {
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (i >= a.size() || i >= b.size()) {
            return static_cast<long>(i);
        }
        const DrawCall& x = a[i];
        const DrawCall& y = b[i];
        if (x.op != y.op || !(x.box == y.box) || !(x.from == y.from) || !(x.to == y.to) ||
            x.text != y.text || !(x.pen == y.pen) || x.brush != y.brush ||
            !(x.textColour == y.textColour)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

TEST(TraceMemory, DrawAfterAChangeIsTheDrawWithoutKeptTraces) {
    for (const Document& doc : kDocuments) {
        for (const Change& change : kChanges) {
            SCOPED_TRACE(std::string(doc.name) + ", " + change.name);
            RecordedDraw kept;
            kept.sc = doc.make();
            Window window;
            kept.Draw(window.width, window.height);
            change.apply(kept.sc, window);
            kept.messages.messages.clear();
            kept.Draw(window.width, window.height);

            RecordedDraw fresh;
            fresh.sc = kept.sc;
            fresh.Draw(window.width, window.height);
            EXPECT_EQ(FirstDifference(kept.surface.calls, fresh.surface.calls), -1);
            EXPECT_EQ(std::bit_cast<uint64_t>(kept.sc.maxNetworkQ),
                      std::bit_cast<uint64_t>(fresh.sc.maxNetworkQ));
            EXPECT_EQ(kept.messages.messages, fresh.messages.messages);
        }
    }
}

// Which traces a draw takes from the memory: every kept trace is replaced by one segment of its
// own, which shows where it is drawn again.
std::set<int32_t> DrawnFromMemory(RecordedDraw& d, const Window& window) {
    for (int32_t i = 0; i < MAX_COMPONENTS; ++i) {
        d.sc.traces.At(i).ends = {{-7000 - i, 7}, {-7000 - i, 9}};
    }
    d.Draw(window.width, window.height);
    std::set<int32_t> drawn;
    for (const DrawCall& c : d.surface.calls) {
        if (c.op == DrawCall::Op::LineTo && c.to.x <= -7000 && c.to.x > -7000 - MAX_COMPONENTS) {
            drawn.insert(-7000 - c.to.x);
        }
    }
    return drawn;
}

std::set<int32_t> Range(int32_t from, int32_t to) {
    std::set<int32_t> s;
    for (int32_t i = from; i < to; ++i) {
        s.insert(i);
    }
    return s;
}

TEST(TraceMemory, OnlyTracesWithTheSameInputsAreDrawnAgain) {
    const struct {
        const char* change;
        std::set<int32_t> drawnAgain;
    } cases[] = {
        {"nothing", Range(0, MAX_COMPONENTS)},
        {"another active component", Range(0, MAX_COMPONENTS)},
        {"tuned component 12", Range(0, 12)},
        {"tuned component 0", {}},
        {"tuned last component", Range(0, MAX_COMPONENTS - 1)},
        {"first component in shunt", {}},
        {"chart Z0", {}},
        {"window size", {}},
        {"wider window", {}},
        {"frequency", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        const auto change =
            std::find_if(std::begin(kChanges), std::end(kChanges),
                         [&](const Change& k) { return std::string_view(k.name) == c.change; });
        ASSERT_NE(change, std::end(kChanges));
        RecordedDraw d;
        d.sc = Mixed();
        Window window;
        d.Draw(window.width, window.height);
        change->apply(d.sc, window);
        EXPECT_EQ(DrawnFromMemory(d, window), c.drawnAgain);
    }
}

TEST(TraceMemory, CopiesAndMessagesKeepNoTraces) {
    RecordedDraw d;
    d.sc = Hostile();
    d.Draw();
    RecordedDraw copy;
    copy.sc = d.sc;
    EXPECT_TRUE(DrawnFromMemory(copy, {}).empty());
    // The placement without a step raises a message at every step: it is stepped each time,
    // while the element after it is drawn again.
    const std::set<int32_t> again = DrawnFromMemory(d, {});
    EXPECT_EQ(again.count(22), 0u);
    EXPECT_EQ(again.count(23), 1u);
}

} // namespace
