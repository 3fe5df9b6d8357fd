#pragma once

#include "model/bandevaluation.h"
#include "model/complex.h"
#include "model/component.h"
#include "model/losses.h"
#include "model/lossspec.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class SmithChrt;

/// The frequencies a network is judged at: the band's points when a valid band is set, else the
/// analysis frequency alone.
std::vector<double> JudgedFrequencies(const SmithChrt& chart);

/// A network's cascade over a fixed list of frequencies, for callers that evaluate it many times
/// with component values changed in between (the optimiser, standard-value snapping).
///
/// What does not depend on the values is worked out once per band: each line's frequency ratio,
/// each lossy part's Q or attenuation at every point. Each element's value at each point is then
/// the one EvaluateElement gives (ElementAt), recomputed only for components changed since the
/// last evaluation. The cascade runs division-free on the chain-matrix form of the impedance,
/// N / D, components outer and points inner, two points at a time; lines take their cosine and
/// sine by rotation between exactly computed points where the points are evenly spaced.
/// Results agree with EvaluateBand to rounding.
class CBandCascade {
public:
    /// Takes chart's network, its loads at frequencies (see LoadsAcross) and precomputes every
    /// element. Returns false, leaving nothing to evaluate, for a component of unknown kind.
    bool Prepare(const SmithChrt& chart, std::span<const double> frequencies,
                 const BandLoads& loads = {});
    /// Replaces component i (same kind and placement as prepared); its terms are recomputed by
    /// the next Evaluate.
    void SetComponent(int32_t i, const Component& c);
    const Component& ComponentAt(int32_t i) const { return components[static_cast<size_t>(i)]; }
    int32_t ComponentCount() const { return static_cast<int32_t>(components.size()); }
    /// Component i's element value at point k as the cascade steps it: for a component placed
    /// as a line or stub, the angle is that of the last line up to it, as the chart's cascade
    /// takes it.
    ElementValue ElementAt(int32_t i, size_t k) const;

    /// Whether Evaluate also works out each point's transducer gain (off after Prepare).
    void SetTransducerGain(bool on) { twoPort = on; }

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
    /// The worst VSWR of the last Evaluate, as it returned it.
    double WorstVswr() const { return worstVswr; }
    /// With the transducer gain on: each point's gain as a power ratio (the network between a
    /// generator of the starting impedance and the load whose conjugate the goal is, as
    /// ComputeTwoPort takes it; NaN where an end has no value or a non-positive resistance),
    /// and the lowest of them (NaN when there is none).
    std::span<const double> TransducerGain() const { return gain; }
    double WorstTransducerGain() const { return worstGain; }
    /// Points whose start or goal impedance has no value.
    int32_t PointsWithoutData() const { return missing; }

private:
    /// How a component changes N / D: series z (N + z D, D); shunt a / b (a N, b N + a D; b = 1
    /// for a lumped part); line, chain terms A, B, C (A N + B D, C N + A D).
    enum class Step { None, Series, Shunt, ShuntRatio, Line };
    /// The arithmetic a step takes at its last computed terms: a reactance alone (a lossless
    /// inductor or capacitor) or a lossless line or stub (its cosines and sines in planes 0 and 1)
    /// take about half the general one's.
    enum class Kernel {
        None,
        Series,
        SeriesReactive,
        Shunt,
        ShuntReactive,
        ShuntRatio,
        Line,
        LosslessLine,
        OpenStub,
        ShortedStub,
    };
    static constexpr size_t kPlanes = 6;
    /// The value-independent factors of one component at every point, and what they were
    /// worked out for.
    struct Factors {
        Step step = Step::None;
        Kernel kernel = Kernel::None;
        int32_t angleOf = -1;         ///< the line whose angle a line-placed component takes
        double lineFreq = 0;          ///< that line's frequency, for ratio
        std::optional<LossSpec> loss; ///< the effective loss, for q or nepers
        std::vector<double> ratio;    ///< f / lineFreq
        std::vector<double> q;        ///< the Q of a lossy inductor or capacitor
        std::vector<double> nepers;   ///< a lossy line's nepers per degree
    };
    void RefreshFactors(size_t i);
    void ComputeTerms(size_t i);
    void ComputeLineTerms(size_t i, double* planes);
    double* Plane(size_t i, size_t p) { return terms.data() + (kPlanes * i + p) * padded; }

    std::vector<double> frequencies;
    size_t padded = 0; ///< points rounded up to whole pairs
    bool even = false; ///< the points are evenly spaced
    std::vector<Complex> start;
    std::vector<Complex> goal;
    std::vector<Component> components;
    LossSettings losses;    ///< the document's loss defaults, for every element's value
    bool powerWave = false; ///< the goal is compared by the power-wave reflection
    bool twoPort = false;
    std::vector<Factors> factors;
    std::vector<char> dirty;
    /// Per component kPlanes planes of padded values: real and imaginary parts of z (series),
    /// a then b (shunt) or A, B, C (line).
    std::vector<double> terms;
    std::vector<double> nRe, nIm, dRe, dIm; ///< N and D at each point
    std::vector<double> scale2;             ///< |det| of the steps so far, for the gain
    std::vector<double> cosines, sines;
    std::vector<Complex> endZ;
    std::vector<double> vswr;
    std::vector<double> gamma2;
    std::vector<double> gain;
    double worstVswr = 0;
    double worstGain = 0;
    int32_t missing = 0;
};
