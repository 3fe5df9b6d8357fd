#include "design/standardvalues.h"

#include "model/bandcascade.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cmath>
#include <limits>

namespace {

// IEC 60063's tables. E24 and below hold values (2.7, 3.3, 4.7, ...) that rounding 10^(i/n)
// does not give, so they are written out; the three-figure series are written out as well.
constexpr double kE6[] = {1.0, 1.5, 2.2, 3.3, 4.7, 6.8};
constexpr double kE12[] = {1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2};
constexpr double kE24[] = {1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0, 2.2, 2.4, 2.7, 3.0,
                           3.3, 3.6, 3.9, 4.3, 4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1};
constexpr double kE48[] = {1.00, 1.05, 1.10, 1.15, 1.21, 1.27, 1.33, 1.40, 1.47, 1.54, 1.62, 1.69,
                           1.78, 1.87, 1.96, 2.05, 2.15, 2.26, 2.37, 2.49, 2.61, 2.74, 2.87, 3.01,
                           3.16, 3.32, 3.48, 3.65, 3.83, 4.02, 4.22, 4.42, 4.64, 4.87, 5.11, 5.36,
                           5.62, 5.90, 6.19, 6.49, 6.81, 7.15, 7.50, 7.87, 8.25, 8.66, 9.09, 9.53};
constexpr double kE96[] = {
    1.00, 1.02, 1.05, 1.07, 1.10, 1.13, 1.15, 1.18, 1.21, 1.24, 1.27, 1.30, 1.33, 1.37, 1.40, 1.43,
    1.47, 1.50, 1.54, 1.58, 1.62, 1.65, 1.69, 1.74, 1.78, 1.82, 1.87, 1.91, 1.96, 2.00, 2.05, 2.10,
    2.15, 2.21, 2.26, 2.32, 2.37, 2.43, 2.49, 2.55, 2.61, 2.67, 2.74, 2.80, 2.87, 2.94, 3.01, 3.09,
    3.16, 3.24, 3.32, 3.40, 3.48, 3.57, 3.65, 3.74, 3.83, 3.92, 4.02, 4.12, 4.22, 4.32, 4.42, 4.53,
    4.64, 4.75, 4.87, 4.99, 5.11, 5.23, 5.36, 5.49, 5.62, 5.76, 5.90, 6.04, 6.19, 6.34, 6.49, 6.65,
    6.81, 6.98, 7.15, 7.32, 7.50, 7.68, 7.87, 8.06, 8.25, 8.45, 8.66, 8.87, 9.09, 9.31, 9.53, 9.76};
constexpr double kE192[] = {
    1.00, 1.01, 1.02, 1.04, 1.05, 1.06, 1.07, 1.09, 1.10, 1.11, 1.13, 1.14, 1.15, 1.17, 1.18, 1.20,
    1.21, 1.23, 1.24, 1.26, 1.27, 1.29, 1.30, 1.32, 1.33, 1.35, 1.37, 1.38, 1.40, 1.42, 1.43, 1.45,
    1.47, 1.49, 1.50, 1.52, 1.54, 1.56, 1.58, 1.60, 1.62, 1.64, 1.65, 1.67, 1.69, 1.72, 1.74, 1.76,
    1.78, 1.80, 1.82, 1.84, 1.87, 1.89, 1.91, 1.93, 1.96, 1.98, 2.00, 2.03, 2.05, 2.08, 2.10, 2.13,
    2.15, 2.18, 2.21, 2.23, 2.26, 2.29, 2.32, 2.34, 2.37, 2.40, 2.43, 2.46, 2.49, 2.52, 2.55, 2.58,
    2.61, 2.64, 2.67, 2.71, 2.74, 2.77, 2.80, 2.84, 2.87, 2.91, 2.94, 2.98, 3.01, 3.05, 3.09, 3.12,
    3.16, 3.20, 3.24, 3.28, 3.32, 3.36, 3.40, 3.44, 3.48, 3.52, 3.57, 3.61, 3.65, 3.70, 3.74, 3.79,
    3.83, 3.88, 3.92, 3.97, 4.02, 4.07, 4.12, 4.17, 4.22, 4.27, 4.32, 4.37, 4.42, 4.48, 4.53, 4.59,
    4.64, 4.70, 4.75, 4.81, 4.87, 4.93, 4.99, 5.05, 5.11, 5.17, 5.23, 5.30, 5.36, 5.42, 5.49, 5.56,
    5.62, 5.69, 5.76, 5.83, 5.90, 5.97, 6.04, 6.12, 6.19, 6.26, 6.34, 6.42, 6.49, 6.57, 6.65, 6.73,
    6.81, 6.90, 6.98, 7.06, 7.15, 7.23, 7.32, 7.41, 7.50, 7.59, 7.68, 7.77, 7.87, 7.96, 8.06, 8.16,
    8.25, 8.35, 8.45, 8.56, 8.66, 8.76, 8.87, 8.98, 9.09, 9.20, 9.31, 9.42, 9.53, 9.65, 9.76, 9.88};

constexpr std::array<StandardSeries, 6> kSeries{{
    {"E6", kE6},
    {"E12", kE12},
    {"E24", kE24},
    {"E48", kE48},
    {"E96", kE96},
    {"E192", kE192},
}};

// One snapped value: the component, which of its fields, and its two candidates.
struct SnapVariable {
    int32_t component;
    double Component::*field;
    double candidates[2];
};

std::vector<SnapVariable> SnapVariables(const std::vector<Component>& network,
                                        const StandardSeries& series) {
    std::vector<SnapVariable> vars;
    for (size_t i = 0; i < network.size(); ++i) {
        const Component& c = network[i];
        std::vector<double Component::*> fields;
        switch (c.kind) {
        case KIND_RESISTOR:
            fields = {&Component::resistance};
            break;
        case KIND_CAPACITOR:
            fields = {&Component::capacitance};
            break;
        case KIND_INDUCTOR:
            fields = {&Component::inductance};
            break;
        case KIND_PARALLEL_RLC:
        case KIND_SERIES_RLC:
            fields = {&Component::resistance, &Component::inductance, &Component::capacitance};
            break;
        default:
            break;
        }
        for (double Component::*f : fields) {
            const double v = c.*f;
            if (!std::isfinite(v) || v <= 0) {
                continue;
            }
            const StandardNeighbours nb = NeighbourValues(series, v);
            vars.push_back({static_cast<int32_t>(i), f, {nb.below, nb.above}});
        }
    }
    return vars;
}

double Judge(CBandCascade& cascade, OptimiseObjective objective) {
    cascade.Evaluate();
    const double v = SearchFigure(cascade, objective);
    return std::isnan(v) ? std::numeric_limits<double>::infinity() : v;
}

void Choose(CBandCascade& cascade, std::vector<Component>& network, const SnapVariable& v,
            int which) {
    Component& c = network[static_cast<size_t>(v.component)];
    c.*(v.field) = v.candidates[which];
    cascade.SetComponent(v.component, c);
}

// The search over the neighbour combinations: the values as now chosen, judged, and the best
// combination seen.
struct SnapSearch {
    CBandCascade& cascade;
    std::vector<Component>& network;
    const std::vector<SnapVariable>& vars;
    OptimiseObjective objective;
    std::vector<int> choice;
    std::vector<int> bestChoice;
    double best = std::numeric_limits<double>::infinity();
    int32_t evaluations = 0;

    // Judges the values as chosen; true when they are the best yet.
    bool Judged() {
        const double value = Judge(cascade, objective);
        ++evaluations;
        if (value < best) {
            best = value;
            bestChoice = choice;
            return true;
        }
        return false;
    }

    void Set(size_t v, int which) {
        choice[v] = which;
        Choose(cascade, network, vars[v], which);
    }

    // Moves value v to its other neighbour and judges the network.
    bool Flipped(size_t v) {
        Set(v, choice[v] ^ 1);
        return Judged();
    }
};

} // namespace

std::span<const StandardSeries> AllStandardSeries() {
    return kSeries;
}

const StandardSeries* FindStandardSeries(const std::string& name) {
    for (const StandardSeries& s : kSeries) {
        const std::string n = s.name;
        if (n.size() == name.size() &&
            std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) ==
                       std::toupper(static_cast<unsigned char>(b));
            })) {
            return &s;
        }
    }
    return nullptr;
}

StandardNeighbours NeighbourValues(const StandardSeries& series, double v) {
    const int e = static_cast<int>(std::floor(std::log10(v)));
    // A standard value as three figures and a power of ten, so that 4.7 nH reads 4.7 and not
    // 4.7000000000000002: an exact integer scaled by an exact power gives the nearest double.
    const auto value = [](double mantissa, int exponent) {
        const double figures = std::round(mantissa * 100);
        return exponent >= 2 ? figures * std::pow(10.0, exponent - 2)
                             : figures / std::pow(10.0, 2 - exponent);
    };
    // The candidates around v: the decade's values and the first of the next decade, with the
    // last of the decade below for a v that rounding has put just under the decade.
    std::vector<double> values;
    values.push_back(value(series.mantissas.back(), e - 1));
    for (double m : series.mantissas) {
        values.push_back(value(m, e));
    }
    values.push_back(value(1, e + 1));
    StandardNeighbours nb{values.front(), values.back()};
    for (double s : values) {
        if (std::fabs(s - v) <= 1e-9 * v) {
            return {s, s};
        }
        if (s < v) {
            nb.below = s;
        } else {
            nb.above = s;
            break;
        }
    }
    return nb;
}

SnapResult SnapToStandard(const SmithChrt& chart, const StandardSeries& series,
                          OptimiseObjective objective) {
    SnapResult result;
    const int32_t count = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    result.network.assign(chart.components.begin(), chart.components.begin() + count);
    CBandCascade cascade;
    if (count == 0 || !cascade.Prepare(chart, JudgedFrequencies(chart))) {
        return result;
    }
    cascade.SetTransducerGain(objective == OptimiseObjective::Gain);
    result.before = NetworkObjective(chart, objective);
    const std::vector<SnapVariable> vars = SnapVariables(result.network, series);
    result.snappedValues = static_cast<int32_t>(vars.size());
    std::vector<Component>& network = result.network;
    const size_t n = vars.size();
    SnapSearch search{
        cascade, network, vars, objective, std::vector<int>(n, 0), std::vector<int>(n, 0)};
    for (size_t v = 0; v < n; ++v) {
        search.Set(v, 0);
    }
    search.Judged();
    if (n <= static_cast<size_t>(kExhaustiveSnapLimit)) {
        // Every combination in Gray-code order: one value changes between neighbours.
        result.exhaustive = true;
        for (uint32_t step = 1; step < (1u << n); ++step) {
            search.Flipped(static_cast<size_t>(std::countr_zero(step)));
        }
    } else {
        // From the nearest values, flip any single value while that helps.
        for (size_t v = 0; v < n; ++v) {
            const Component& c = chart.components[static_cast<size_t>(vars[v].component)];
            const double original = c.*(vars[v].field);
            search.Set(v, std::log(original / vars[v].candidates[0]) >
                                  std::log(vars[v].candidates[1] / original)
                              ? 1
                              : 0);
        }
        search.best = std::numeric_limits<double>::infinity();
        search.bestChoice = search.choice;
        search.Judged();
        for (bool improved = true; improved;) {
            improved = false;
            for (size_t v = 0; v < n; ++v) {
                if (search.Flipped(v)) {
                    improved = true;
                } else {
                    search.Set(v, search.choice[v] ^ 1);
                }
            }
        }
    }
    const std::vector<int>& bestChoice = search.bestChoice;
    result.evaluations = search.evaluations;
    for (size_t v = 0; v < n; ++v) {
        Component& c = network[static_cast<size_t>(vars[v].component)];
        c.*(vars[v].field) = vars[v].candidates[bestChoice[v]];
    }
    result.after = ShownObjective(search.best, objective);
    return result;
}
