// libFuzzer harness for the two-port device reader: every input is read as a two-port and as two
// ports of a three-port file; what reads must keep the device's invariants, and its figures and
// circles must be computable at every frequency without a trap.
#include "model/devicefigures.h"
#include "model/touchstone.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void Figures(const DeviceData& data) {
    CircleSettings all;
    all.stability = all.availableGain = all.operatingGain = all.noise = true;
    for (const DevicePoint& p : data.points) {
        const std::optional<DevicePoint> s = DeviceAt(data, p.frequency);
        Require(s.has_value());
        const DeviceFigures f = ComputeDeviceFigures(*s);
        Require(!f.gammaMS || std::hypot(f.gammaMS->re, f.gammaMS->im) < 1.0);
        for (const DeviceCircle& c : DeviceCircles(*s, DeviceNoiseAt(data, p.frequency), all)) {
            Require(!(c.circle.radius < 0.0));
            (void)MapCircle(c.circle, s->reference, 75.0);
        }
    }
    const double above = std::nextafter(data.points.back().frequency, INFINITY);
    Require(!DeviceAt(data, above).has_value());
    Require(!DeviceNoiseAt(data, above).has_value());
}

void ReadAs(std::string_view bytes, const char* name, int port1, int port2) {
    const DeviceReadResult result = ReadTouchstoneDevice(bytes, name, {0, port1, port2});
    Require(result.data.has_value() == result.error.empty());
    if (result.data) {
        Require(CheckDeviceData(*result.data).empty());
        Figures(*result.data);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadAs(bytes, "fuzz.s2p", 0, 0);
    ReadAs(bytes, "fuzz.z2p", 0, 0);
    ReadAs(bytes, "fuzz.s3p", 3, 1);
    return 0;
}
