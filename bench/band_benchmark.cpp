// Band evaluation as a redraw runs it while tuning: the result kept between draws.
#include "model/bandcascade.h"
#include "model/bandevaluation.h"
#include "model/smithchrt.h"

#include <benchmark/benchmark.h>

namespace {

// A 25-component network of every kind, band 400 to 470 MHz.
SmithChrt MixedNetwork(int32_t points) {
    SmithChrt s;
    s.ResetForNewDocument();
    s.frequency = 435;
    s.startZ = {12.5, -8};
    const Component kinds[] = {
        NewInductor(PLACE_SERIES, 20, 435),          NewCapacitor(PLACE_SHUNT, 40, 435),
        NewLine(PLACE_TL_SERIES, 60, 435),           NewLine(PLACE_TL_SHUNT_OPEN, 50, 435),
        NewLine(PLACE_TL_SHUNT_SHORTED, 70, 435),    NewCompound(KIND_SERIES_RLC, PLACE_SERIES),
        NewCompound(KIND_PARALLEL_RLC, PLACE_SHUNT), NewResistor(PLACE_SERIES, 1),
    };
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        s.AddComponent(kinds[i % 8]);
    }
    s.band = {400, 470, points, true, false};
    return s;
}

void BM_EvaluateBand(benchmark::State& state) {
    const SmithChrt doc = MixedNetwork(static_cast<int32_t>(state.range(0)));
    const bool junctions = state.range(1) != 0;
    BandResult result;
    for (auto _ : state) {
        EvaluateBand(doc, result, {}, junctions);
        benchmark::DoNotOptimize(result.worstVswr);
    }
    state.counters["points"] = static_cast<double>(result.size());
}
BENCHMARK(BM_EvaluateBand)
    ->ArgNames({"points", "junctions"})
    ->Args({201, 0})
    ->Args({201, 1})
    ->Args({10001, 0})
    ->Unit(benchmark::kMicrosecond);

void BM_EvaluateBandFreshResult(benchmark::State& state) {
    const SmithChrt doc = MixedNetwork(201);
    for (auto _ : state) {
        BandResult r = EvaluateBand(doc, {}, true);
        benchmark::DoNotOptimize(r.worstVswr);
    }
}
BENCHMARK(BM_EvaluateBandFreshResult)->Unit(benchmark::kMicrosecond);

// The evaluation the optimiser repeats: every component's tuned value changed (alternately up
// and down a little, so that every element's terms are recomputed), then the cascade over the
// band; with gain set, each point's transducer gain too, as the gain objective asks.
void BM_BandCascadeAllChanged(benchmark::State& state) {
    SmithChrt doc = MixedNetwork(static_cast<int32_t>(state.range(0)));
    CBandCascade cascade;
    cascade.Prepare(doc, JudgedFrequencies(doc));
    cascade.SetTransducerGain(state.range(1) != 0);
    double factor = 1.001;
    for (auto _ : state) {
        for (int32_t i = 0; i < cascade.ComponentCount(); ++i) {
            Component& c = doc.components[static_cast<size_t>(i)];
            TunableLookup found = TunableLookup::Found;
            *TunableField(c, found) *= factor;
            cascade.SetComponent(i, c);
        }
        factor = 1 / factor;
        benchmark::DoNotOptimize(cascade.Evaluate());
    }
}
BENCHMARK(BM_BandCascadeAllChanged)
    ->ArgNames({"points", "gain"})
    ->Args({201, 0})
    ->Args({201, 1})
    ->Unit(benchmark::kMicrosecond);

// The same with one component changed, as a coordinate search or the snapping search does.
void BM_BandCascadeOneChanged(benchmark::State& state) {
    SmithChrt doc = MixedNetwork(static_cast<int32_t>(state.range(0)));
    CBandCascade cascade;
    cascade.Prepare(doc, JudgedFrequencies(doc));
    for (auto _ : state) {
        cascade.SetComponent(1, doc.components[1]);
        benchmark::DoNotOptimize(cascade.Evaluate());
    }
}
BENCHMARK(BM_BandCascadeOneChanged)->ArgName("points")->Arg(201)->Unit(benchmark::kMicrosecond);
// The same band with every inductor, capacitor and line lossy: the cascade's lossy steps and the
// two-port figures per point. Against BM_EvaluateBand/points:201/junctions:0 it shows what losses
// cost the band.
void BM_EvaluateBandWithLosses(benchmark::State& state) {
    SmithChrt doc = MixedNetwork(static_cast<int32_t>(state.range(0)));
    doc.losses.inductorQ = LossSpec{60, 435, LossLaw::Sqrt};
    doc.losses.capacitorQ = LossSpec{400, 0, LossLaw::Constant};
    doc.losses.lineLoss = LossSpec{0.2, 435, LossLaw::Sqrt};
    BandResult result;
    for (auto _ : state) {
        EvaluateBand(doc, result);
        benchmark::DoNotOptimize(result.worstTransducerGainDb);
    }
}
BENCHMARK(BM_EvaluateBandWithLosses)
    ->ArgNames({"points"})
    ->Arg(201)
    ->Arg(10001)
    ->Unit(benchmark::kMicrosecond);

} // namespace
