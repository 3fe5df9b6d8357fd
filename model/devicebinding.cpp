#include "model/devicebinding.h"

#include "model/devicefigures.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Complex ImpedanceOf(Complex gamma, double reference) {
    const Complex one{1, 0};
    return (one + gamma) / (one - gamma) * reference;
}

DeviceGoal GoalOf(const SmithChrt& chart) {
    return static_cast<DeviceGoal>(chart.deviceGoal);
}

} // namespace

const char* DeviceGoalName(DeviceGoal goal) {
    switch (goal) {
    case DeviceGoal::SourceGain:
        return "source-gain";
    case DeviceGoal::SourceNoise:
        return "source-noise";
    case DeviceGoal::LoadGain:
        return "load-gain";
    case DeviceGoal::None:
        break;
    }
    return "";
}

std::optional<DeviceGoal> ParseDeviceGoal(std::string_view text) {
    for (const DeviceGoal g :
         {DeviceGoal::SourceGain, DeviceGoal::SourceNoise, DeviceGoal::LoadGain}) {
        if (text == DeviceGoalName(g)) {
            return g;
        }
    }
    return std::nullopt;
}

DeviceGoalValue DeviceGoalAt(const DeviceData& device, DeviceGoal goal, double frequency) {
    DeviceGoalValue v;
    const std::optional<DevicePoint> s = DeviceAt(device, frequency);
    if (!s) {
        v.reason = CFormat("no device data at %.3f MHz", frequency);
        return v;
    }
    if (goal == DeviceGoal::SourceNoise) {
        const std::optional<NoisePoint> n = DeviceNoiseAt(device, frequency);
        if (!n) {
            v.reason = CFormat("no noise data at %.3f MHz", frequency);
            return v;
        }
        v.z = ImpedanceOf(n->gammaOpt, n->reference);
        return v;
    }
    const DeviceFigures f = ComputeDeviceFigures(*s);
    const std::optional<Complex> gamma = goal == DeviceGoal::SourceGain ? f.gammaMS : f.gammaML;
    if (!gamma) {
        v.reason = CFormat("no simultaneous match: K=%.2f", f.k);
        return v;
    }
    v.z = ImpedanceOf(*gamma, s->reference);
    return v;
}

void LoadDevice(SmithChrt& chart, std::shared_ptr<const DeviceData> device) {
    UnloadDevice(chart);
    chart.device = std::move(device);
}

bool BindGoalToDevice(SmithChrt& chart, DeviceGoal goal) {
    if (chart.device == nullptr || goal == DeviceGoal::None) {
        return false;
    }
    chart.goalData.reset();
    chart.deviceGoal = static_cast<int32_t>(goal);
    RefreshDeviceGoal(chart);
    return true;
}

void UnloadDevice(SmithChrt& chart) {
    if (chart.deviceGoal != 0 &&
        !(std::isfinite(chart.goalZ.re) && std::isfinite(chart.goalZ.im))) {
        chart.goalZ = chart.chartZ0;
    }
    chart.deviceGoal = 0;
    chart.device.reset();
}

void RefreshDeviceGoal(SmithChrt& chart) {
    if (chart.device == nullptr || GoalOf(chart) == DeviceGoal::None) {
        return;
    }
    const DeviceGoalValue v = DeviceGoalAt(*chart.device, GoalOf(chart), chart.frequency);
    chart.goalZ = v.z ? *v.z : Complex{kNaN, kNaN};
}

std::string DeviceGoalProblem(const SmithChrt& chart) {
    if (chart.device == nullptr || GoalOf(chart) == DeviceGoal::None) {
        return {};
    }
    return DeviceGoalAt(*chart.device, GoalOf(chart), chart.frequency).reason;
}

std::string DeviceReadoutLine(const SmithChrt& chart) {
    const DeviceData& d = *chart.device;
    const std::string head = "Device " + d.name + ": ";
    const std::optional<DevicePoint> s = DeviceAt(d, chart.frequency);
    if (!s) {
        return head + CFormat("no data at %.3f MHz", chart.frequency);
    }
    const DeviceFigures f = ComputeDeviceFigures(*s);
    std::string line = head + CFormat("K=%.3f mu=%.3f", f.k, f.mu);
    if (f.magDb) {
        line += CFormat(" MAG=%.2fdB", *f.magDb);
    } else if (f.msgDb) {
        line += CFormat(" MSG=%.2fdB", *f.msgDb);
    }
    if (const std::optional<NoisePoint> n = DeviceNoiseAt(d, chart.frequency)) {
        line += CFormat(" Fmin=%.2fdB", n->fminDb);
    }
    return line;
}
