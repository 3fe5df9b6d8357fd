#include "cli/frequencysweep.h"

#include "cli/networkevaluation.h"
#include "model/bandevaluation.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <vector>

namespace {

// Rows evaluated at a time, so that a long sweep streams in little memory.
constexpr int32_t kRowsAtATime = 4096;

void WriteRows(const BandResult& r, std::ostream& out) {
    for (size_t k = 0; k < r.size() && out; ++k) {
        out << FormatExact(r.frequencies[k]);
        if (r.evaluated) {
            out << ',' << FormatExact(r.endZ[k].re) << ',' << FormatExact(r.endZ[k].im) << ','
                << FormatExact(r.vswr[k]) << ',' << FormatExact(r.returnLossDb[k]) << ','
                << FormatExact(r.mismatchLossDb[k]);
        } else {
            out << ",,,,,";
        }
        out << '\n';
    }
}

} // namespace

void WriteSweepCsv(const SmithChrt& doc, const FrequencyGrid& grid, std::ostream& out) {
    out << kSweepHeader << '\n';
    std::vector<double> frequencies;
    BandResult result;
    for (int32_t first = 0; first < grid.points && out; first += kRowsAtATime) {
        const int32_t count = std::min(kRowsAtATime, grid.points - first);
        frequencies.resize(static_cast<size_t>(count));
        for (int32_t k = 0; k < count; ++k) {
            frequencies[static_cast<size_t>(k)] = grid.At(first + k);
        }
        EvaluateAtFrequencies(doc, frequencies, result);
        if (first == 0 && !result.evaluated) {
            SmithChrt at = doc;
            EvaluateNetwork(at);
        }
        WriteRows(result, out);
    }
}
