#pragma once

#include "model/bandevaluation.h"
#include "model/complex.h"
#include "model/component.h"
#include "model/lossspec.h"

#include <cstdint>
#include <span>
#include <vector>

class SmithChrt;

/// The frequencies a network is judged at: the band's points when a valid band is set, else the
/// analysis frequency alone.
std::vector<double> JudgedFrequencies(const SmithChrt& chart);

/// A network's cascade over a fixed list of frequencies, for callers that evaluate it many times
/// with a few component values changed in between (the optimiser, standard-value snapping).
/// Each element's value at each frequency (lossy where a loss is set) comes from EvaluateElement
/// once per change of
/// that component; the cascade then runs division-free as a ratio N / D, components outer and
/// frequencies inner. Results agree with EvaluateBand to rounding.
class CBandCascade {
public:
    /// Takes chart's network, its loads at frequencies (see LoadsAcross) and precomputes every
    /// element. Returns false, leaving nothing to evaluate, for a component of unknown kind.
    bool Prepare(const SmithChrt& chart, std::span<const double> frequencies,
                 const BandLoads& loads = {});
    /// Replaces component i (same kind and placement as prepared) and recomputes its terms.
    void SetComponent(int32_t i, const Component& c);
    const Component& ComponentAt(int32_t i) const { return components[static_cast<size_t>(i)]; }
    int32_t ComponentCount() const { return static_cast<int32_t>(components.size()); }

    /// Runs the cascade. Afterwards Vswr and ReflectionSquared hold every point's figures (NaN
    /// where an end has no value) and the return value is the worst VSWR over the points with
    /// data (NaN when there is none).
    double Evaluate();
    std::span<const double> Frequencies() const { return frequencies; }
    /// The impedance after the last component at each point, from the last Evaluate.
    std::span<const Complex> EndZ();
    std::span<const double> ReflectionSquared() const { return gamma2; }
    std::span<const Complex> GoalZ() const { return goal; }
    std::span<const double> Vswr() const { return vswr; }
    /// Points whose start or goal impedance has no value.
    int32_t PointsWithoutData() const { return missing; }

private:
    enum class Step { None, Series, Shunt, Line };
    static constexpr size_t kStride = 3;
    void ComputeTerms(size_t i);

    std::vector<double> frequencies;
    std::vector<Complex> start;
    std::vector<Complex> goal;
    std::vector<Component> components;
    LossSettings losses;    ///< the document's loss defaults, for every element's value
    bool powerWave = false; ///< the goal is compared by the power-wave reflection
    std::vector<Step> steps;
    /// Per component, per point, at [kStride (i n + k)]: the element impedance (series, shunt:
    /// a stub's reactance), or for a series line Z0, j Z0 tan(theta) and j tan(theta).
    std::vector<Complex> terms;
    std::vector<Complex> num;
    std::vector<Complex> den;
    std::vector<Complex> endZ;
    std::vector<double> vswr;
    std::vector<double> gamma2;
    int32_t missing = 0;
};
