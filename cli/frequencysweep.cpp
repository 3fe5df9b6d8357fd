#include "cli/frequencysweep.h"

#include "cli/networkevaluation.h"
#include "model/losses.h"
#include "model/measuredbinding.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"
#include "model/twoport.h"

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
    const bool lossy = HasLossSettings(doc);
    out << kSweepHeader << (lossy ? kSweepLossColumns : "") << '\n';
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
        if (lossy) {
            const TwoPortFigures t = NetworkTwoPort(at, at.frequency, at.startZ, at.goalZ);
            out << ',' << FormatExact(t.transducerGainDb) << ','
                << FormatExact(t.dissipationLossDb);
        }
        out << '\n';
    }
}
