#include "chart/measuredlocus.h"

#include "chart/bandlocus.h"
#include "model/measuredbinding.h"
#include "model/smithchrt.h"

void DrawMeasuredLoci(SmithChrt& sc) {
    for (const LoadEnd end : {LoadEnd::Start, LoadEnd::Goal}) {
        if (const auto& data = BoundData(sc, end)) {
            std::vector<Complex> locus = MeasuredLocus(*data, sc.band);
            if (end == LoadEnd::Goal) {
                // The goal's locus, through the goal's marker: the conjugate of the load's.
                for (Complex& z : locus) {
                    z = Conjugate(z);
                }
            }
            const Pen previous = sc.surface->SelectPen(kMeasuredLocusPen);
            DrawLocus(sc, locus);
            sc.surface->SelectPen(previous);
        }
    }
}

std::optional<std::string> MeasuredDataLine(const SmithChrt& sc) {
    if (sc.startData == nullptr && sc.goalData == nullptr) {
        return std::nullopt;
    }
    std::string line = "Measured data:";
    if (sc.startData != nullptr) {
        line += " start " + sc.startData->name;
    }
    if (sc.goalData != nullptr) {
        line += sc.startData != nullptr ? ", goal " : " goal ";
        line += "conjugate of " + sc.goalData->name;
    }
    return line;
}
