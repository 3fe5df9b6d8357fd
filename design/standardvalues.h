#pragma once

#include "design/optimiser.h"
#include "model/component.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class SmithChrt;

/// The preferred-number series of IEC 60063: E6, E12, E24, E48, E96, E192.
struct StandardSeries {
    const char* name;
    std::span<const double> mantissas; ///< the values of one decade, 1 <= m < 10, rising
};

/// Every series, from E6 to E192.
std::span<const StandardSeries> AllStandardSeries();
/// The series of a name such as "E24" (case-insensitive), or nullptr.
const StandardSeries* FindStandardSeries(const std::string& name);

/// The standard values next to v > 0: the largest at or below it and the smallest at or above it
/// (both v when v is itself standard, to rounding of 1e-9).
struct StandardNeighbours {
    double below;
    double above;
};
StandardNeighbours NeighbourValues(const StandardSeries& series, double v);

struct SnapResult {
    std::vector<Component> network; ///< every component, lumped values snapped
    int32_t snappedValues = 0;      ///< L, C and R values moved to a standard value
    int32_t evaluations = 0;
    double before = 0;       ///< objective value before snapping
    double after = 0;        ///< and after
    bool exhaustive = false; ///< every combination of neighbours was tried
};

/// Moves every L, C and R value of chart's network (compounds included; lines and stubs stay)
/// to one of its two neighbouring standard values, choosing the combination that serves the
/// objective best over the judged frequencies: every combination up to kExhaustiveSnapLimit
/// values, a coordinate search from the nearest values beyond. Empty network or unknown kind:
/// the network is returned unchanged.
SnapResult SnapToStandard(const SmithChrt& chart, const StandardSeries& series,
                          OptimiseObjective objective = OptimiseObjective::Vswr);

inline constexpr int32_t kExhaustiveSnapLimit = 12;
