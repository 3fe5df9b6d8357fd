#include "cli/recordedreadout.h"

#include "chart/chartgeometry.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "model/smithchrt.h"

RecordedReadout RecordReadout(const SmithChrt& doc, int32_t width, int32_t height,
                              IDateTimeText& clock) {
    SmithChrt sc = doc;
    // Marker labels are the only other texts of a draw, and the only ones that depend on this
    // flag: with it off they are written empty, while no readout line ever is.
    sc.textMarkers = 0;
    RecordingSurface surface;
    DrawChart(sc, surface, DeviceToLogical({0, 0, width, height}), clock);
    RecordedReadout r;
    for (const DrawCall& call : surface.calls) {
        if (call.op == DrawCall::Op::Text && !call.text.empty()) {
            r.lines.push_back(call.text);
        }
    }
    r.maxNetworkQ = sc.maxNetworkQ;
    return r;
}
