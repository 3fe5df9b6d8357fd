// A draw after another draws again the traces whose inputs did not change. The oracle is the
// same document drawn without kept traces: a copy, which keeps none.
#include "tests/chart/chart_test_support.h"
#include "tests/support/sampledocuments.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <set>

namespace {

// Every sample network in a row: 25 components of every kind and placement.
SmithChrt Mixed() {
    std::vector<Component> all;
    for (const SampleNetwork& n : SampleNetworks()) {
        all.insert(all.end(), n.components.begin(), n.components.end());
    }
    SmithChrt sc = DocumentWith(all);
    sc.activeIndex = 12;
    sc.showQArcs = 1;
    return sc;
}

// Huge lines from the centre (the second repeats the first), a line winding round the chart,
// values without a number, and a placement that raises a message at every step (index 7).
SmithChrt Hostile() {
    Component huge = NewLine(PLACE_TL_SERIES, 5e204, 1000);
    huge.lineAngle = 1.6e211;
    Component winding = NewLine(PLACE_TL_SERIES, 2, 1000);
    winding.lineAngle = 1e6 + 0.5;
    const Component shunt = NewResistor(PLACE_SHUNT, 50);
    return DocumentWith({huge, shunt, huge, shunt, winding, NewInductor(PLACE_SERIES, NAN, 1000),
                         NewLine(PLACE_TL_SHUNT_OPEN, 1e308, 1000), NewCapacitor(7, 50, 1000),
                         NewInductor(PLACE_SHUNT, 50, 1000)});
}

void Tune(SmithChrt& sc, int32_t index) {
    TunableLookup status;
    *TunableField(sc.components[index], status) *= 1 + sc.tunePercent * 0.01;
}

struct Window {
    int32_t width = 800;
    int32_t height = 400;
};

using Change = std::function<void(SmithChrt&, Window&)>;
const std::pair<const char*, Change> kChanges[] = {
    {"nothing", [](SmithChrt&, Window&) {}},
    {"active component", [](SmithChrt& sc, Window&) { sc.activeIndex = 2; }},
    {"tuned 0", [](SmithChrt& sc, Window&) { Tune(sc, 0); }},
    {"tuned 8", [](SmithChrt& sc, Window&) { Tune(sc, 8); }},
    {"placement", [](SmithChrt& sc, Window&) { sc.components[0].placement = PLACE_SHUNT; }},
    {"chart Z0",
     [](SmithChrt& sc, Window&) {
         sc.chartZ0 = {75, 0};
     }},
    {"wider window", [](SmithChrt&, Window& w) { w.width = 900; }},   // the centre moves alone
    {"taller window", [](SmithChrt&, Window& w) { w.height = 401; }}, // the radius grows alone
    {"line loss",
     [](SmithChrt& sc, Window&) {
         sc.losses.lineLoss = LossSpec{6, 435, LossLaw::Constant};
     }},
    {"frequency", [](SmithChrt& sc, Window&) { sc.frequency = 350; }},
};

bool SameCalls(const std::vector<DrawCall>& a, const std::vector<DrawCall>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](auto& x, auto& y) {
        return x.op == y.op && x.box == y.box && x.from == y.from && x.to == y.to &&
               x.text == y.text && x.pen == y.pen && x.brush == y.brush &&
               x.textColour == y.textColour;
    });
}

TEST(TraceMemory, DrawAfterAChangeIsTheDrawWithoutKeptTraces) {
    const std::pair<const char*, SmithChrt (*)()> documents[] = {{"mixed", Mixed},
                                                                 {"hostile", Hostile}};
    for (const auto& [docName, make] : documents) {
        for (const auto& [changeName, change] : kChanges) {
            SCOPED_TRACE(std::string(docName) + ", " + changeName);
            RecordedDraw kept;
            kept.sc = make();
            Window w;
            kept.Draw(w.width, w.height);
            change(kept.sc, w);
            kept.messages.messages.clear();
            kept.Draw(w.width, w.height);
            RecordedDraw fresh;
            fresh.sc = kept.sc;
            fresh.Draw(w.width, w.height);
            EXPECT_TRUE(SameCalls(kept.surface.calls, fresh.surface.calls));
            EXPECT_EQ(std::bit_cast<uint64_t>(kept.sc.maxNetworkQ),
                      std::bit_cast<uint64_t>(fresh.sc.maxNetworkQ));
            EXPECT_EQ(kept.messages.messages, fresh.messages.messages);
        }
    }
}

// The indices of the kept traces the next draw takes: each is made one segment of its own,
// which shows where it is drawn.
std::set<int32_t> DrawnFromMemory(RecordedDraw& d) {
    for (int32_t i = 0; i < MAX_COMPONENTS; ++i) {
        d.sc.traces.At(i).ends = {{-7000 - i, 7}, {-7000 - i, 9}};
    }
    d.Draw();
    std::set<int32_t> drawn;
    for (const DrawCall& c : d.surface.calls) {
        if (c.op == DrawCall::Op::LineTo && c.to.x <= -7000) {
            drawn.insert(-7000 - c.to.x);
        }
    }
    return drawn;
}

TEST(TraceMemory, DrawsAgainOnlyWhatItKept) {
    RecordedDraw d;
    d.sc = Mixed();
    d.Draw();
    RecordedDraw copy;
    copy.sc = d.sc;
    EXPECT_TRUE(DrawnFromMemory(copy).empty());
    EXPECT_EQ(DrawnFromMemory(d).size(), 25u);
    Tune(d.sc, 12);
    const std::set<int32_t> beforeTuned = DrawnFromMemory(d);
    EXPECT_EQ(beforeTuned.size(), 12u);
    EXPECT_EQ(*beforeTuned.rbegin(), 11);
    // A trace whose steps raised a message would not raise it drawn again: it is not kept.
    d.sc = Hostile();
    d.Draw();
    const std::set<int32_t> hostile = DrawnFromMemory(d);
    EXPECT_EQ(hostile.count(7), 0u);
    EXPECT_EQ(hostile.count(8), 1u);
}

} // namespace
