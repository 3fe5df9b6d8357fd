#include "cli/networkevaluation.h"

#include "model/measuredbinding.h"
#include "model/smithchrt.h"

NetworkEvaluation EvaluateNetwork(SmithChrt& doc) {
    NetworkEvaluation e;
    const bool ok = doc.EvaluateCascade(&e.outputs);
    if (!ok) {
        doc.Report("problem plotting components");
    }
    e.hasEnd = ok && doc.componentCount > 0;
    if (e.hasEnd) {
        e.endZ = doc.endZ;
        e.match = ChartMatch(doc, doc.endZ);
    }
    e.maxNetworkQ = doc.maxNetworkQ;
    return e;
}
