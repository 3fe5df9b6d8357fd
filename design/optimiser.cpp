#include "design/optimiser.h"

#include "model/bandcascade.h"
#include "model/smithchrt.h"

#include <nlopt.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <span>

namespace {

constexpr double kSpan = 2;           // decades either side of the starting value
constexpr double kWorst = 1e300;      // objective of a design that cannot be evaluated
constexpr double kMaxLineAngle = 360; // degrees
constexpr double kSmoothPower = 8;    // of the power mean the global and simplex stages take

// One tuned value: its component, whether it is a line angle (searched linearly) and the box.
struct Variable {
    int32_t component = 0;
    bool angle = false;
    double lower = 0;
    double upper = 0;
    double start = 0;
};

class CSearch {
public:
    CSearch(CBandCascade& cascade, OptimiseObjective objective, std::vector<Component>& network,
            const std::vector<Variable>& variables, const OptimiseCallback& progress,
            int32_t budget)
        : cascade(cascade), objective(objective), network(network), variables(variables),
          progress(progress), budget(budget), best(network) {}

    double Value(const std::vector<double>& x) {
        if (cancelled) {
            // What a stage still asks after the stop is not evaluated.
            if (running != nullptr) {
                running->force_stop();
            }
            return kWorst;
        }
        for (size_t v = 0; v < variables.size(); ++v) {
            const Variable& var = variables[v];
            Component& c = network[static_cast<size_t>(var.component)];
            *TunedValue(c) = var.angle ? x[v] : std::pow(10.0, x[v]);
            cascade.SetComponent(var.component, c);
        }
        cascade.Evaluate();
        const double worst = SearchFigure(cascade, objective);
        ++evaluations;
        const double value = std::isnan(worst) ? kWorst : worst;
        if (value < bestValue) {
            bestValue = value;
            bestX = x;
            best = network;
        }
        if (progress && (evaluations % 64 == 0 || value == bestValue)) {
            OptimiseProgress p{evaluations, budget, bestValue, ShownObjective(bestValue, objective),
                               &best};
            if (!progress(p)) {
                // Stopped through the library, never by an exception: one thrown through its
                // C code ends the program.
                cancelled = true;
                if (running != nullptr) {
                    running->force_stop();
                }
            }
        }
        return smooth && value < kWorst ? PowerMean() : value;
    }

    // The power mean of the points' |Gamma| (for the gain, of sqrt(1 - G_T)): a smooth
    // stand-in for the worst, whose minimum lies near the minimax one, for the stages that need
    // a smooth landscape.
    double PowerMean() const {
        double sum = 0;
        int32_t count = 0;
        const bool gain = objective == OptimiseObjective::Gain;
        const std::span<const double> figures =
            gain ? cascade.TransducerGain() : cascade.ReflectionSquared();
        for (double figure : figures) {
            const double g2 = gain ? std::max(0.0, 1 - figure) : figure;
            if (!std::isnan(g2)) {
                const double g4 = g2 * g2;
                sum += g4 * g4;
                ++count;
            }
        }
        return std::pow(sum / count, 1.0 / kSmoothPower);
    }

    static double Thunk(const std::vector<double>& x, std::vector<double>&, void* data) {
        return static_cast<CSearch*>(data)->Value(x);
    }

    CBandCascade& cascade;
    OptimiseObjective objective;
    std::vector<Component>& network;
    const std::vector<Variable>& variables;
    const OptimiseCallback& progress;
    int32_t budget;
    int32_t evaluations = 0;
    bool cancelled = false;
    nlopt::opt* running = nullptr; ///< the stage now running, to stop it on a cancel
    bool smooth = false;           ///< the stages see the power mean rather than the worst VSWR
    double bestValue = std::numeric_limits<double>::infinity();
    std::vector<double> bestX;
    std::vector<Component> best;
};

// Runs one NLopt stage from x; a forced stop or a failure of the stage leaves the best point
// found so far with the search.
void RunStage(CSearch& search, nlopt::algorithm algorithm, const std::vector<Variable>& vars,
              std::vector<double> x, int32_t maxEvaluations, double xTolerance) {
    const auto n = static_cast<unsigned>(vars.size());
    nlopt::opt opt(algorithm, n);
    std::vector<double> lower(n);
    std::vector<double> upper(n);
    for (unsigned v = 0; v < n; ++v) {
        lower[v] = vars[v].lower;
        upper[v] = vars[v].upper;
        x[v] = std::clamp(x[v], lower[v], upper[v]);
    }
    opt.set_lower_bounds(lower);
    opt.set_upper_bounds(upper);
    opt.set_min_objective(&CSearch::Thunk, &search);
    if (algorithm == nlopt::G_MLSL_LDS) {
        nlopt::opt local(nlopt::LN_SBPLX, n);
        local.set_xtol_rel(1e-5);
        local.set_maxeval(200 * static_cast<int>(n + 1));
        opt.set_local_optimizer(local);
    }
    opt.set_maxeval(maxEvaluations);
    opt.set_xtol_rel(xTolerance);
    opt.set_ftol_rel(1e-12);
    double value = 0;
    try {
        search.running = &opt;
        opt.optimize(x, value);
    } catch (const nlopt::forced_stop&) {
    } catch (const std::exception&) {
        // Roundoff-limited and similar ends keep the best point seen.
    }
    search.running = nullptr;
}

// The minimax as its epigraph: minimise t subject to VSWR_k(x) <= t at every point with data,
// which a constrained local method (COBYLA) follows along the kinks where the worst point
// changes, where a plain simplex on the worst value stalls.
struct Epigraph {
    CSearch* search;
    size_t n;
    std::vector<double> x;
};

double EpigraphObjective(unsigned, const double* x, double* grad, void* data) {
    (void)grad;
    const auto* e = static_cast<Epigraph*>(data);
    return x[e->n];
}

void EpigraphConstraints(unsigned m, double* result, unsigned, const double* x, double* grad,
                         void* data) {
    (void)grad;
    auto* e = static_cast<Epigraph*>(data);
    e->x.assign(x, x + e->n);
    e->search->Value(e->x);
    // The worst figure as the largest of the points': VSWR_k, or 1 / G_T,k.
    const bool gain = e->search->objective == OptimiseObjective::Gain;
    const std::span<const double> figures =
        gain ? e->search->cascade.TransducerGain() : e->search->cascade.Vswr();
    for (unsigned k = 0; k < m; ++k) {
        const double figure = gain ? 1 / figures[k] : figures[k];
        result[k] = std::isnan(figure) ? -1 : figure - x[e->n];
    }
}

void RunEpigraph(CSearch& search, const std::vector<Variable>& vars, int32_t maxEvaluations) {
    const size_t n = vars.size();
    nlopt::opt opt(nlopt::LN_COBYLA, static_cast<unsigned>(n + 1));
    std::vector<double> lower(n + 1);
    std::vector<double> upper(n + 1);
    std::vector<double> x(n + 1);
    for (size_t v = 0; v < n; ++v) {
        lower[v] = vars[v].lower;
        upper[v] = vars[v].upper;
        x[v] = search.bestX[v];
    }
    lower[n] = 1;
    upper[n] = HUGE_VAL;
    x[n] = search.bestValue;
    Epigraph e{&search, n, {}};
    opt.set_lower_bounds(lower);
    opt.set_upper_bounds(upper);
    opt.set_min_objective(&EpigraphObjective, &e);
    const auto points = static_cast<unsigned>(search.cascade.Vswr().size());
    opt.add_inequality_mconstraint(&EpigraphConstraints, &e, std::vector<double>(points, 1e-10));
    opt.set_maxeval(maxEvaluations);
    opt.set_xtol_rel(1e-10);
    std::vector<double> step(n + 1, 0.05);
    step[n] = 0.05 * search.bestValue;
    opt.set_initial_step(step);
    double value = 0;
    try {
        search.running = &opt;
        opt.optimize(x, value);
    } catch (const nlopt::forced_stop&) {
    } catch (const std::exception&) {
    }
    search.running = nullptr;
}

bool Chosen(const OptimiseSettings& s, int32_t i) {
    return s.components.empty() ||
           std::find(s.components.begin(), s.components.end(), i) != s.components.end();
}

} // namespace

const char* OptimiseObjectiveName(OptimiseObjective objective) {
    return objective == OptimiseObjective::Gain ? "gain" : "vswr";
}

double SearchFigure(const CBandCascade& cascade, OptimiseObjective objective) {
    if (objective == OptimiseObjective::Gain) {
        return 1 / cascade.WorstTransducerGain();
    }
    return cascade.WorstVswr();
}

double ShownObjective(double figure, OptimiseObjective objective) {
    return objective == OptimiseObjective::Gain ? -10 * std::log10(figure) : figure;
}

const char* OptimiseProblemText(OptimiseProblem p) {
    switch (p) {
    case OptimiseProblem::None:
        return "";
    case OptimiseProblem::EmptyNetwork:
        return "The network has no components to optimise.";
    case OptimiseProblem::NoData:
        return "No frequency has both a starting and a goal impedance.";
    case OptimiseProblem::BadComponents:
        return "A chosen component is not in the network.";
    case OptimiseProblem::NothingToTune:
        return "None of the chosen components has a positive value to tune.";
    case OptimiseProblem::UnknownKind:
        return "The network holds a component of unknown kind.";
    case OptimiseProblem::NoResistance:
        return "No frequency has a starting impedance and a load with resistance, which the gain "
               "needs.";
    }
    return "";
}

double* TunedValue(Component& c) {
    TunableLookup status = TunableLookup::Found;
    return TunableField(c, status);
}

double NetworkObjective(const SmithChrt& chart, OptimiseObjective objective) {
    CBandCascade cascade;
    if (!cascade.Prepare(chart, JudgedFrequencies(chart))) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    cascade.SetTransducerGain(objective == OptimiseObjective::Gain);
    cascade.Evaluate();
    return ShownObjective(SearchFigure(cascade, objective), objective);
}

OptimiseResult OptimiseNetwork(const SmithChrt& chart, const OptimiseSettings& settings,
                               const OptimiseCallback& progress) {
    const auto started = std::chrono::steady_clock::now();
    OptimiseResult result;
    result.objective = settings.objective;
    result.seed = settings.seed;
    const int32_t count = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    result.network.assign(chart.components.begin(), chart.components.begin() + count);
    if (count == 0) {
        result.problem = OptimiseProblem::EmptyNetwork;
        return result;
    }
    for (int32_t i : settings.components) {
        if (i < 0 || i >= count) {
            result.problem = OptimiseProblem::BadComponents;
            return result;
        }
    }
    CBandCascade cascade;
    if (!cascade.Prepare(chart, JudgedFrequencies(chart))) {
        result.problem = OptimiseProblem::UnknownKind;
        return result;
    }
    cascade.SetTransducerGain(settings.objective == OptimiseObjective::Gain);
    cascade.Evaluate();
    const double before = SearchFigure(cascade, settings.objective);
    result.pointsWithoutData = cascade.PointsWithoutData();
    if (result.pointsWithoutData == static_cast<int32_t>(cascade.Frequencies().size())) {
        result.problem = OptimiseProblem::NoData;
        return result;
    }
    result.before = ShownObjective(before, settings.objective);

    std::vector<Variable> vars;
    std::vector<double> x0;
    for (int32_t i = 0; i < count; ++i) {
        Component c = result.network[static_cast<size_t>(i)];
        const double* value = TunedValue(c);
        if (!Chosen(settings, i) || value == nullptr || !std::isfinite(*value) || *value <= 0) {
            continue;
        }
        Variable v;
        v.component = i;
        v.angle = c.kind == KIND_TLINE;
        if (v.angle) {
            v.lower = 0;
            v.upper = kMaxLineAngle;
            v.start = std::clamp(*value, 0.0, kMaxLineAngle);
        } else {
            v.start = std::log10(*value);
            v.lower = v.start - kSpan;
            v.upper = v.start + kSpan;
        }
        vars.push_back(v);
        x0.push_back(v.start);
        result.components.push_back(i);
    }
    if (vars.empty()) {
        result.problem = OptimiseProblem::NothingToTune;
        return result;
    }
    if (settings.objective == OptimiseObjective::Gain && std::isnan(before)) {
        // No point has a generator and a load with resistance: no gain to judge.
        result.problem = OptimiseProblem::NoResistance;
        return result;
    }

    const auto n = static_cast<int32_t>(vars.size());
    const int32_t globalBudget = (settings.effort <= EFFORT_QUICK      ? 300
                                  : settings.effort >= EFFORT_THOROUGH ? 3000
                                                                       : 1000) *
                                 (n + 1);
    const int32_t localBudget = 400 * (n + 1);
    std::vector<Component> network = result.network;
    CSearch search(cascade, settings.objective, network, vars, progress,
                   globalBudget + 4 * localBudget);
    search.Value(x0);
    nlopt::srand(settings.seed);
    search.smooth = true;
    RunStage(search, nlopt::G_MLSL_LDS, vars, x0, globalBudget, 1e-6);
    if (!search.cancelled) {
        RunStage(search, nlopt::LN_SBPLX, vars, search.bestX, localBudget, 1e-10);
    }
    if (!search.cancelled) {
        // A second polish from the start guards against a global stage stopped early.
        std::vector<double> fromGlobal = search.bestX;
        RunStage(search, nlopt::LN_SBPLX, vars, x0, localBudget, 1e-10);
        if (search.bestX != fromGlobal) {
            RunStage(search, nlopt::LN_SBPLX, vars, search.bestX, localBudget, 1e-12);
        }
    }
    search.smooth = false;
    if (!search.cancelled) {
        RunEpigraph(search, vars, localBudget);
    }
    result.network = search.best;
    result.after = ShownObjective(search.bestValue, settings.objective);
    result.evaluations = search.evaluations;
    result.cancelled = search.cancelled;
    result.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    return result;
}
