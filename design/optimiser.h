#pragma once

#include "model/component.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CBandCascade;
class SmithChrt;

// Tuning a chosen network for the band: the chosen components' tuned elements are searched for
// the smallest worst VSWR over the band's points (minimax), or the largest worst transducer gain,
// over the analysis frequency alone while no band is set.

enum class OptimiseObjective {
    Vswr, ///< minimise the worst VSWR
    Gain, ///< maximise the worst transducer gain (for a lossless network, the same optimum)
};

/// "vswr" or "gain".
const char* OptimiseObjectiveName(OptimiseObjective objective);

/// The figure the search minimises, from an evaluated cascade (the transducer gain evaluated
/// for Gain): the worst VSWR, or the reciprocal of the worst transducer gain as a power ratio;
/// NaN when no point has data.
double SearchFigure(const CBandCascade& cascade, OptimiseObjective objective);
/// A search figure as the program shows it: the VSWR, or the gain in dB.
double ShownObjective(double figure, OptimiseObjective objective);

/// How hard the search tries; more effort, more evaluations.
enum : int32_t {
    EFFORT_QUICK = 0,
    EFFORT_NORMAL = 1,
    EFFORT_THOROUGH = 2,
};

inline constexpr uint32_t kDefaultOptimiseSeed = 1;

struct OptimiseSettings {
    OptimiseObjective objective = OptimiseObjective::Vswr;
    /// Components to tune, 0-based network indices; empty for every component.
    std::vector<int32_t> components;
    uint32_t seed = kDefaultOptimiseSeed;
    int32_t effort = EFFORT_NORMAL;
};

/// What the search has reached so far, as the progress callback sees it.
struct OptimiseProgress {
    int32_t evaluations = 0;
    int32_t budget = 0; ///< evaluations the search expects to take
    double best = 0;    ///< the best search figure so far (SearchFigure: lower is better)
    double shown = 0;   ///< and as the program shows it (ShownObjective)
    const std::vector<Component>* network = nullptr; ///< the whole network at its best so far
};
/// Called from the thread that runs the search; returning false cancels it.
using OptimiseCallback = std::function<bool(const OptimiseProgress&)>;

enum class OptimiseProblem {
    None,
    EmptyNetwork,  ///< no components
    NoData,        ///< no judged point has both a starting and a goal impedance
    BadComponents, ///< a chosen index outside the network
    NothingToTune, ///< no chosen component has a positive value to tune
    UnknownKind,   ///< a component the program does not know
    NoResistance,  ///< for the gain: no judged point has resistive terminations
};
const char* OptimiseProblemText(OptimiseProblem p);

struct OptimiseResult {
    OptimiseProblem problem = OptimiseProblem::None;
    OptimiseObjective objective = OptimiseObjective::Vswr;
    std::vector<int32_t> components; ///< the components tuned, 0-based
    double before = 0;               ///< objective of the network as given (VSWR, or gain in dB)
    double after = 0;                ///< and of the network found (never worse than before)
    int32_t evaluations = 0;
    double milliseconds = 0;
    uint32_t seed = kDefaultOptimiseSeed;
    int32_t pointsWithoutData = 0;  ///< points left out of the objective
    bool cancelled = false;         ///< stopped by the callback; network holds the best so far
    std::vector<Component> network; ///< every component of the network, tuned ones changed
};

/// The objective of chart's network as the optimiser judges it, as shown: the worst VSWR, or the
/// worst transducer gain in dB.
double NetworkObjective(const SmithChrt& chart, OptimiseObjective objective);

/// Tunes chart's network over the box of values within a factor of 100 of each starting value
/// (line angles 0 to 360 degrees), searched in the logarithm of the values: a global multi-start
/// search (multi-level single linkage over a low-discrepancy sequence, Subplex from each start)
/// on a smooth power mean of the points' reflections (for the gain, of 1 - G_T, which is
/// |Gamma|^2 for a lossless network), Subplex polishes, then the minimax itself in its epigraph
/// form (COBYLA). Seeded and reproducible. chart is not changed.
OptimiseResult OptimiseNetwork(const SmithChrt& chart, const OptimiseSettings& settings,
                               const OptimiseCallback& progress = {});

/// The value the optimiser tunes in c (the tuned element of a compound), or nullptr.
double* TunedValue(Component& c);
