#pragma once

#include "model/complex.h"
#include "model/constants.h"
#include "model/geometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

/// Everything that decides what a trace draws and how far it raises the network's Q: the
/// element stepped from its input impedance, and the chart state the stepping reads.
struct TraceInputs {
    Complex zin;
    Complex ze;
    int32_t placement = 0;
    double theta = 0; ///< as the stepping takes it (a lossless line's reduced to one turn)
    double lineLoss = 0;
    Complex chartZ0;
    double chartRadius = 0;
    Point chartCentre;

    /// True when every field has the same bits: the stepping, given the same bits, does the
    /// very same arithmetic.
    bool SameBits(const TraceInputs& other) const;
};

/// What a trace drew: its segments' ends, two a segment, and the largest Q of its steps (-inf
/// when none had one).
struct KeptTrace {
    bool valid = false;
    TraceInputs inputs;
    std::vector<Point> ends;
    double maxQ = 0;
};

/// The traces of the last draws, one for each component index. Any trace whose inputs are those
/// of a kept one draws that one's segments again, from a draw before or from the same draw (a
/// network that comes back to where it was). A copy starts empty: it is working data of the
/// draw, not part of the document.
class TraceMemory {
public:
    TraceMemory() = default;
    TraceMemory(const TraceMemory&) {}
    TraceMemory& operator=(const TraceMemory& other);
    TraceMemory(TraceMemory&&) = default;
    TraceMemory& operator=(TraceMemory&&) = default;
    ~TraceMemory() = default;

    /// The kept trace with these inputs, looked for at index first; null when none has them.
    const KeptTrace* Find(size_t index, const TraceInputs& inputs) const;
    /// The place of index's trace, to be stepped into.
    KeptTrace& At(size_t index) { return traces.at(index); }
    /// Forgets every trace; the vectors keep their room.
    void Clear();

private:
    std::array<KeptTrace, MAX_COMPONENTS> traces;
};
