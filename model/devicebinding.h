#pragma once

#include "model/complex.h"
#include "model/devicedata.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class SmithChrt;

/// What the goal impedance follows of a loaded device: the impedance the network must present
/// to it, compared plainly (not conjugated) with the network's ending impedance.
enum class DeviceGoal : int32_t {
    None = 0,
    SourceGain = 1,  ///< the impedance of Gamma_MS, the source's simultaneous conjugate match
    SourceNoise = 2, ///< the impedance of Gamma_opt, the source for the least noise
    LoadGain = 3,    ///< the impedance of Gamma_ML, the load's simultaneous conjugate match
};

/// "source-gain", "source-noise", "load-gain"; "" for None.
const char* DeviceGoalName(DeviceGoal goal);
std::optional<DeviceGoal> ParseDeviceGoal(std::string_view text);

/// The impedance a device goal asks for at frequency (MHz), or why there is none, for example
/// "no simultaneous match: K=0.74", "no noise data at 900 MHz", "no device data at 900 MHz".
struct DeviceGoalValue {
    std::optional<Complex> z;
    std::string reason;
};
DeviceGoalValue DeviceGoalAt(const DeviceData& device, DeviceGoal goal, double frequency);

/// Loads a device into the chart (replacing any, the goal unbound from the old one).
void LoadDevice(SmithChrt& chart, std::shared_ptr<const DeviceData> device);
/// Binds the goal to the device (unbinding the goal's measured data) and takes its value at the
/// analysis frequency; false (nothing changed) without a device.
bool BindGoalToDevice(SmithChrt& chart, DeviceGoal goal);
/// Unloads the device; a goal bound to it keeps its value when it has one, else the chart Z0.
void UnloadDevice(SmithChrt& chart);
/// Sets goalZ from the device where the goal is bound to it (NaN where it has no value).
void RefreshDeviceGoal(SmithChrt& chart);
/// Why a goal bound to the device has no value now; empty when it has one or is not bound.
std::string DeviceGoalProblem(const SmithChrt& chart);

/// The readout's device line at the analysis frequency, for example
/// "Device amp.s2p: K=1.195 mu=1.071 MAG=16.70dB Fmin=0.50dB"; MSG in place of MAG where there
/// is no MAG, no Fmin without noise data there, "no data at 900.000 MHz" outside its range.
std::string DeviceReadoutLine(const SmithChrt& chart);
