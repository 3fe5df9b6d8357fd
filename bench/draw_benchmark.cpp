// Time of one whole draw at 1920x1080 for the suite's 25 mixed components and for documents
// built to make the draw slow. The surface only counts, so the figures are the draw's own work.
// Draw draws a fresh copy of the document each time (nothing kept from a draw before); Redraw
// draws one document again and again as the window does, and with a key between the draws the
// active component's value goes up and down in turn, as the Up and Down keys step it.
#include "bench/benchsupport.h"
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/drawsurface.h"
#include "model/smithchrt.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

SmithChrt NewChart() {
    SmithChrt sc;
    sc.ResetForNewDocument();
    sc.showQArcs = 1;
    sc.showVswrCircles = true;
    return sc;
}

// 25 open and shorted stubs: an ordinary network whose traces pass the rim and so take many
// step adjustments.
SmithChrt Stubs() {
    SmithChrt sc = NewChart();
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        sc.AddComponent(
            NewLine(i % 2 == 0 ? PLACE_TL_SHUNT_OPEN : PLACE_TL_SHUNT_SHORTED, 50, 1000));
    }
    return sc;
}

// 25 series lines far from the chart's impedance: ordinary values whose traces wind round the
// chart in many short steps, among the slowest ordinary documents.
SmithChrt MismatchedLines() {
    SmithChrt sc = NewChart();
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        Component c = NewLine(PLACE_TL_SERIES, 50, 1000);
        c.lineZ0 = 2;
        c.lineAngle = 350;
        sc.AddComponent(c);
    }
    return sc;
}

// An L-C ladder designed at 1000 MHz, drawn at 2 MHz: ordinary values whose capacitor traces,
// starting near a short circuit, exhaust their step adjustments.
SmithChrt LadderFarBelowItsFrequency() {
    SmithChrt sc = NewChart();
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        sc.AddComponent(i % 2 == 0 ? NewInductor(PLACE_SHUNT, 50, 1000)
                                   : NewCapacitor(PLACE_SERIES, 50, 1000));
    }
    sc.frequency = 2;
    return sc;
}

// Huge series lines, each brought back to the chart's centre by a shunt resistor, so that every
// line's trace starts from the centre and exhausts its step adjustments.
SmithChrt HugeLinesFromTheCentre() {
    SmithChrt sc = NewChart();
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        Component c = NewResistor(PLACE_SHUNT, 50);
        if (i % 2 == 0) {
            c = NewLine(PLACE_TL_SERIES, 50, 1000);
            c.lineZ0 = 5e204;
            c.lineAngle = 1.6e211;
        }
        sc.AddComponent(c);
    }
    return sc;
}

// 25 series lines of a huge impedance and electrical angle.
SmithChrt HugeLines() {
    SmithChrt sc = NewChart();
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        Component c = NewLine(PLACE_TL_SERIES, 50, 1000);
        c.lineZ0 = 5e204;
        c.lineAngle = 1.6e211;
        sc.AddComponent(c);
    }
    return sc;
}

// Every field of every component, and the document's impedances and frequency, set to v.
SmithChrt EveryField(double v) {
    SmithChrt sc = NewChart();
    int32_t kind = KIND_RESISTOR;
    int32_t placement = PLACE_SERIES;
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        Component c;
        c.kind = kind;
        c.placement = placement;
        c.tunedElement = 1;
        c.resistance = c.capacitance = c.inductance = c.lineZ0 = c.lineAngle = c.lineFreq = v;
        sc.AddComponent(c);
        kind = kind == KIND_SERIES_RLC ? KIND_RESISTOR : kind + 1;
        placement = placement == PLACE_TL_SHUNT_SHORTED ? PLACE_SERIES : placement + 1;
    }
    sc.startZ = {v, v};
    sc.goalZ = {v, -v};
    sc.frequency = v;
    return sc;
}

void Draw(benchmark::State& state, SmithChrt doc) {
    FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    const Rect logical = DeviceToLogical({0, 0, 1920, 1080});
    int64_t calls = 0;
    for (auto _ : state) {
        SmithChrt sc = doc;
        CountingSurface surface;
        DrawChart(sc, surface, logical, clock);
        calls = surface.calls;
        benchmark::DoNotOptimize(sc.endZ);
    }
    state.counters["calls"] = static_cast<double>(calls);
}

enum class Between { Nothing, Key };

void Redraw(benchmark::State& state, SmithChrt sc, Between between) {
    FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    const Rect logical = DeviceToLogical({0, 0, 1920, 1080});
    CountingSurface first;
    DrawChart(sc, first, logical, clock);
    bool up = true;
    for (auto _ : state) {
        TunableLookup status;
        double* value = TunableField(sc.components[sc.activeIndex], status);
        if (between == Between::Key && value != nullptr) {
            *value *= up ? 1 + sc.tunePercent * 0.01 : 1 - sc.tunePercent * 0.01;
            up = !up;
        }
        CountingSurface surface;
        DrawChart(sc, surface, logical, clock);
        benchmark::DoNotOptimize(sc.endZ);
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

BENCHMARK_CAPTURE(Draw, Mixed25, MixedDocument())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, Mixed25, MixedDocument(), Between::Nothing)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, Mixed25Key, MixedDocument(), Between::Key)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, Hostile25, HostileDocument(), Between::Nothing)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, Stubs25, Stubs())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, MismatchedLines25, MismatchedLines())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, LadderFarBelowItsFrequency, LadderFarBelowItsFrequency())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, HugeLines25, HugeLines())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, HugeLinesFromTheCentre, HugeLinesFromTheCentre())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, EveryFieldNaN, EveryField(kNaN))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, EveryFieldInf, EveryField(kInf))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, EveryFieldMinusInf, EveryField(-kInf))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, EveryField1e308, EveryField(1e308))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, EveryFieldMinus1e308, EveryField(-1e308))->Unit(benchmark::kMillisecond);
