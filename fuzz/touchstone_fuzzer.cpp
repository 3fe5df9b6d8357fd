// libFuzzer harness for the Touchstone reader: every input is read as a few kinds of file; what
// reads must keep the data's invariants and interpolate without surprises.
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

bool Same(const std::optional<Complex>& a, const std::optional<Complex>& b) {
    if (a.has_value() != b.has_value()) {
        return false;
    }
    if (!a) {
        return true;
    }
    auto same = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
    return same(a->re, b->re) && same(a->im, b->im);
}

void Interpolate(const MeasuredData& data) {
    const std::vector<MeasuredPoint>& points = data.points;
    MeasuredCursor cursor(data);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double f = points[i].frequency;
        const std::optional<Complex> z = MeasuredImpedanceAt(data, f);
        Require(Same(z, points[i].impedance));
        Require(Same(cursor.ImpedanceAt(f), z));
        if (i + 1 < points.size()) {
            const double between = f + 0.37 * (points[i + 1].frequency - f);
            const std::optional<Complex> inner = MeasuredImpedanceAt(data, between);
            Require(inner.has_value());
            Require(Same(cursor.ImpedanceAt(between), inner));
        }
    }
    const double below = std::nextafter(points.front().frequency, -INFINITY);
    const double above = std::nextafter(points.back().frequency, INFINITY);
    Require(!MeasuredImpedanceAt(data, below).has_value());
    Require(!MeasuredImpedanceAt(data, above).has_value());
    Require(!cursor.ImpedanceAt(above).has_value());
    Require(Same(cursor.ImpedanceAt(points.front().frequency), points.front().impedance));
}

void ReadAs(std::string_view bytes, const char* name, int port) {
    TouchstoneOptions options;
    options.port = port;
    const TouchstoneResult result = ReadTouchstone(bytes, name, options);
    Require(result.data.has_value() == result.error.empty());
    if (!result.data) {
        if (result.ports > 1 && port == 0) {
            ReadAs(bytes, name, 1 + static_cast<int>(bytes.size() % result.ports));
        }
        return;
    }
    Require(CheckMeasuredData(*result.data).empty());
    Interpolate(*result.data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadAs(bytes, "fuzz.s1p", 0);
    ReadAs(bytes, "fuzz.s2p", 2);
    ReadAs(bytes, "fuzz.S3P", 0);
    ReadAs(bytes, "fuzz.z1p", 1);
    return 0;
}
