#include "model/bandevaluation.h"

#include "model/devicebinding.h"

#include "model/bandsettings.h"
#include "model/losses.h"
#include "model/matchfigures.h"
#include "model/measuredbinding.h"
#include "model/smithchrt.h"
#include "model/twoport.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Complex kNaNZ{kNaN, kNaN};

bool IsNaN(Complex z) {
    return std::isnan(z.re) || std::isnan(z.im);
}

void ClearResult(BandResult& r) {
    r.frequencies.clear();
    r.endZ.clear();
    r.vswr.clear();
    r.returnLossDb.clear();
    r.mismatchLossDb.clear();
    r.transducerGainDb.clear();
    r.dissipationLossDb.clear();
    r.junctionZ.clear();
    r.junctionCount = 0;
    r.evaluated = false;
    r.missingPoints = 0;
    r.failingPoints = 0;
    r.worstIndex = -1;
    r.worstVswr = kNaN;
    r.worstFrequency = kNaN;
    r.worstReturnLossDb = kNaN;
    r.worstTransducerGainDb = kNaN;
}

void SizeResult(BandResult& r, size_t n, int32_t junctions, bool twoPort) {
    r.frequencies.resize(n);
    r.endZ.resize(n);
    r.vswr.resize(n);
    r.returnLossDb.resize(n);
    r.mismatchLossDb.resize(n);
    r.transducerGainDb.resize(twoPort ? n : 0);
    r.dissipationLossDb.resize(twoPort ? n : 0);
    r.junctionCount = junctions;
    r.junctionZ.resize(static_cast<size_t>(junctions) * n);
}

// A bare document holding only what EvaluateCascade reads, so that evaluating it changes nothing
// of chart and copies neither the title nor the trailer records. Its messages go nowhere: the
// draw at the analysis frequency already reports what the network's records raise.
void CopyNetwork(const SmithChrt& chart, SmithChrt& scratch) {
    scratch.components = chart.components;
    scratch.componentCount = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    scratch.activeIndex = chart.activeIndex;
    scratch.losses = chart.losses;
    scratch.messages = nullptr;
}

bool AllKindsKnown(const SmithChrt& scratch) {
    for (int32_t i = 0; i < scratch.componentCount; ++i) {
        if (!IsKnownKind(scratch.components[i].kind)) {
            return false;
        }
    }
    return true;
}

void SetNaNPoint(BandResult& r, size_t k) {
    const size_t n = r.size();
    r.endZ[k] = kNaNZ;
    r.vswr[k] = kNaN;
    r.returnLossDb[k] = kNaN;
    r.mismatchLossDb[k] = kNaN;
    if (r.HasTwoPort()) {
        r.transducerGainDb[k] = kNaN;
        r.dissipationLossDb[k] = kNaN;
    }
    for (int32_t i = 0; i < r.junctionCount; ++i) {
        r.junctionZ[static_cast<size_t>(i) * n + k] = kNaNZ;
    }
}

// One end's impedance across a rising sweep: the caller's function, the document's bound data
// (read with a cursor, one step per frequency), or its fixed value.
class CLoadAt {
public:
    CLoadAt(const std::function<Complex(double)>& given,
            const std::shared_ptr<const MeasuredData>& data, Complex fixed, bool conjugate)
        : given(given), fixed(fixed), conjugate(conjugate) {
        if (!given && data != nullptr) {
            cursor.emplace(*data);
        }
    }
    Complex operator()(double f) {
        if (given) {
            return given(f);
        }
        if (cursor) {
            const std::optional<Complex> z = cursor->ImpedanceAt(f);
            return z ? (conjugate ? Conjugate(*z) : *z) : kNaNZ;
        }
        return fixed;
    }

private:
    const std::function<Complex(double)>& given;
    std::optional<MeasuredCursor> cursor;
    Complex fixed;
    bool conjugate;
};

} // namespace

double BandFrequency(const BandSettings& band, int32_t k) {
    return band.Grid().At(k);
}

namespace {

// The two-port figures at point k, and the lowest gain so far.
void SetTwoPortPoint(BandResult& r, size_t k, const SmithChrt& scratch, double f, Complex start,
                     Complex goal) {
    const TwoPortFigures t = NetworkTwoPort(scratch, f, start, goal);
    r.transducerGainDb[k] = t.transducerGainDb;
    r.dissipationLossDb[k] = t.dissipationLossDb;
    if (!std::isnan(t.transducerGainDb) &&
        (std::isnan(r.worstTransducerGainDb) || t.transducerGainDb < r.worstTransducerGainDb)) {
        r.worstTransducerGainDb = t.transducerGainDb;
    }
}

// Evaluates at the frequencies already in result, its vectors sized to them.
void EvaluateSizedResult(const SmithChrt& chart, BandResult& result, const BandLoads& loads) {
    SmithChrt scratch;
    CopyNetwork(chart, scratch);
    const size_t n = result.size();
    result.evaluated = AllKindsKnown(scratch);
    std::vector<Complex> outputs;
    outputs.reserve(MAX_COMPONENTS);
    std::vector<Complex>* const junctionOut = result.junctionCount > 0 ? &outputs : nullptr;
    CLoadAt startAt(loads.start, chart.startData, chart.startZ, false);
    // A goal bound to a device follows it at every band frequency, as bound data does, and is
    // compared plainly; the goal bound to a load's data is the conjugate of the load (see
    // measuredbinding.h).
    std::function<Complex(double)> deviceGoal;
    if (!loads.goal && chart.device != nullptr && chart.deviceGoal != 0) {
        deviceGoal = [&chart](double f) {
            const DeviceGoalValue v =
                DeviceGoalAt(*chart.device, static_cast<DeviceGoal>(chart.deviceGoal), f);
            return v.z ? *v.z : kNaNZ;
        };
    }
    CLoadAt goalAt(loads.goal ? loads.goal : deviceGoal, chart.goalData, chart.goalZ, true);
    const MatchReflection reflection = GoalReflection(chart);

    for (size_t k = 0; k < n; ++k) {
        const double f = result.frequencies[k];
        const Complex start = startAt(f);
        if (!result.evaluated || IsNaN(start)) {
            result.missingPoints += result.evaluated ? 1 : 0;
            SetNaNPoint(result, k);
            continue;
        }
        scratch.frequency = f;
        scratch.startZ = start;
        scratch.endZ = start;
        scratch.EvaluateCascade(junctionOut);
        result.endZ[k] = scratch.endZ;
        for (int32_t i = 0; i < result.junctionCount; ++i) {
            result.junctionZ[static_cast<size_t>(i) * n + k] = outputs[static_cast<size_t>(i)];
        }
        const Complex goal = goalAt(f);
        result.missingPoints += IsNaN(goal) ? 1 : 0;
        const MatchFigures m = ComputeMatch(scratch.endZ, goal, reflection);
        if (result.HasTwoPort()) {
            SetTwoPortPoint(result, k, scratch, f, start, goal);
        }
        result.vswr[k] = m.vswr;
        result.returnLossDb[k] = m.returnLossDb;
        result.mismatchLossDb[k] = m.mismatchLossDb;
        result.failingPoints += chart.bandLimit.Fails(m.vswr, m.returnLossDb) ? 1 : 0;
        if (!std::isnan(m.vswr) && (result.worstIndex < 0 || m.vswr > result.worstVswr)) {
            result.worstIndex = static_cast<int32_t>(k);
            result.worstVswr = m.vswr;
        }
    }
    if (result.worstIndex >= 0) {
        result.worstFrequency = result.frequencies[static_cast<size_t>(result.worstIndex)];
        result.worstReturnLossDb = result.returnLossDb[static_cast<size_t>(result.worstIndex)];
    }
}

int32_t JunctionCount(const SmithChrt& chart, bool junctions) {
    return junctions ? std::clamp(chart.componentCount, 0, MAX_COMPONENTS) : 0;
}

} // namespace

void EvaluateBand(const SmithChrt& chart, BandResult& result, const BandLoads& loads,
                  bool junctions, bool twoPort) {
    ClearResult(result);
    const BandSettings& band = chart.band;
    if (!band.IsSet() || CheckBand(band) != BandProblem::None) {
        return;
    }
    const FrequencyGrid grid = band.Grid();
    SizeResult(result, static_cast<size_t>(grid.points), JunctionCount(chart, junctions),
               twoPort || HasLossSettings(chart));
    for (int32_t k = 0; k < grid.points; ++k) {
        result.frequencies[static_cast<size_t>(k)] = grid.At(k);
    }
    EvaluateSizedResult(chart, result, loads);
}

void EvaluateAtFrequencies(const SmithChrt& chart, std::span<const double> frequencies,
                           BandResult& result, const BandLoads& loads, bool junctions,
                           bool twoPort) {
    ClearResult(result);
    SizeResult(result, frequencies.size(), JunctionCount(chart, junctions),
               twoPort || HasLossSettings(chart));
    std::copy(frequencies.begin(), frequencies.end(), result.frequencies.begin());
    EvaluateSizedResult(chart, result, loads);
}

BandResult EvaluateBand(const SmithChrt& chart, const BandLoads& loads, bool junctions,
                        bool twoPort) {
    BandResult r;
    EvaluateBand(chart, r, loads, junctions, twoPort);
    return r;
}

void LoadsAcross(const SmithChrt& chart, std::span<const double> frequencies,
                 const BandLoads& loads, std::vector<Complex>& start, std::vector<Complex>& goal) {
    start.resize(frequencies.size());
    goal.resize(frequencies.size());
    CLoadAt startAt(loads.start, chart.startData, chart.startZ, false);
    CLoadAt goalAt(loads.goal, chart.goalData, chart.goalZ, true);
    for (size_t k = 0; k < frequencies.size(); ++k) {
        start[k] = startAt(frequencies[k]);
        goal[k] = goalAt(frequencies[k]);
    }
}
