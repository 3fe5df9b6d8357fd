#include "model/tracememory.h"

#include <bit>

namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

bool SameBits(Complex a, Complex b) {
    return SameBits(a.re, b.re) && SameBits(a.im, b.im);
}

} // namespace

bool TraceInputs::SameBits(const TraceInputs& o) const {
    return placement == o.placement && chartCentre == o.chartCentre && ::SameBits(zin, o.zin) &&
           ::SameBits(ze, o.ze) && ::SameBits(theta, o.theta) && ::SameBits(lineLoss, o.lineLoss) &&
           ::SameBits(chartZ0, o.chartZ0) && ::SameBits(chartRadius, o.chartRadius);
}

TraceMemory& TraceMemory::operator=(const TraceMemory& other) {
    if (this != &other) {
        Clear();
    }
    return *this;
}

const KeptTrace* TraceMemory::Find(size_t index, const TraceInputs& inputs) const {
    if (index < traces.size() && traces[index].valid && traces[index].inputs.SameBits(inputs)) {
        return &traces[index];
    }
    for (const KeptTrace& t : traces) {
        if (t.valid && t.inputs.SameBits(inputs)) {
            return &t;
        }
    }
    return nullptr;
}

void TraceMemory::Clear() {
    for (KeptTrace& t : traces) {
        t.valid = false;
        t.ends.clear();
    }
}
