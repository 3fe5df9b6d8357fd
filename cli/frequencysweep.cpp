#include "cli/frequencysweep.h"

#include "cli/networkevaluation.h"
#include "model/measuredbinding.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

double SweepFrequency(const SweepRequest& sweep, int32_t row) {
    if (row <= 0 || sweep.points < 2) {
        return sweep.startMHz;
    }
    if (row >= sweep.points - 1) {
        return sweep.stopMHz;
    }
    const double t = static_cast<double>(row) / (sweep.points - 1);
    return sweep.startMHz + (sweep.stopMHz - sweep.startMHz) * t;
}

void WriteSweepCsv(const SmithChrt& doc, const SweepRequest& sweep, std::ostream& out) {
    SmithChrt at = doc;
    out << kSweepHeader << '\n';
    for (int32_t row = 0; row < sweep.points && out; ++row) {
        at.frequency = SweepFrequency(sweep, row);
        RefreshBoundImpedances(at);
        const NetworkEvaluation e = EvaluateNetwork(at);
        out << FormatExact(at.frequency);
        if (e.hasEnd) {
            out << ',' << FormatExact(e.endZ.re) << ',' << FormatExact(e.endZ.im) << ','
                << FormatExact(e.match.vswr) << ',' << FormatExact(e.match.returnLossDb) << ','
                << FormatExact(e.match.mismatchLossDb);
        } else {
            out << ",,,,,";
        }
        out << '\n';
    }
}
