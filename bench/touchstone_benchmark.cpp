// Speed of reading measured data and of evaluating it across a band: run on demand.
#include "model/touchstone.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

/// A one-port file of n points from 100 to 1100 MHz, as a network analyser writes it.
std::string AnalyserFile(int n) {
    std::string text = "! synthetic sweep\n# MHz S RI R 50\n";
    char line[96];
    for (int i = 0; i < n; ++i) {
        const double f = 100.0 + 1000.0 * i / (n - 1);
        std::snprintf(line, sizeof line, "%.6f %.12e %.12e\n", f, 0.5 * std::cos(f / 50),
                      0.5 * std::sin(f / 50));
        text += line;
    }
    return text;
}

void ReadFile(benchmark::State& state) {
    const std::string text = AnalyserFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadTouchstone(text, "sweep.s1p"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ReadFile)->Arg(201)->Arg(10001);

/// 201 band points between 300 and 700 MHz over data of range(0) points.
void Band(benchmark::State& state, bool useCursor) {
    const MeasuredData data =
        *ReadTouchstone(AnalyserFile(static_cast<int>(state.range(0))), "sweep.s1p").data;
    for (auto _ : state) {
        MeasuredCursor cursor(data);
        for (int i = 0; i <= 200; ++i) {
            const double f = 300.0 + 2.0 * i;
            benchmark::DoNotOptimize(useCursor ? cursor.ImpedanceAt(f)
                                               : MeasuredImpedanceAt(data, f));
        }
    }
    state.SetItemsProcessed(state.iterations() * 201);
}
void BandSearch(benchmark::State& state) {
    Band(state, false);
}
void BandCursor(benchmark::State& state) {
    Band(state, true);
}
BENCHMARK(BandSearch)->Arg(201)->Arg(10001);
BENCHMARK(BandCursor)->Arg(201)->Arg(10001);

} // namespace
