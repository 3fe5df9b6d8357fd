#include "model/networkflip.h"

#include "model/measuredbinding.h"
#include "model/smithchrt.h"

#include <algorithm>

void FlipNetwork(SmithChrt& chart) {
    const Complex start = chart.startZ;
    chart.startZ = Conjugate(chart.goalZ);
    chart.goalZ = Conjugate(start);
    const int32_t count = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    std::reverse(chart.components.begin(), chart.components.begin() + count);
    std::swap(chart.startData, chart.goalData);
    RefreshBoundImpedances(chart);
}
