#include "chart/drawchart.h"

#include "chart/bandlocus.h"
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/devicecircles.h"
#include "chart/distinctmessages.h"
#include "chart/drawsurface.h"
#include "chart/grid.h"
#include "chart/measuredlocus.h"
#include "chart/readout.h"
#include "chart/trace.h"
#include "model/devicebinding.h"
#include "model/smithchrt.h"

void DrawHeaderAndGrid(SmithChrt& sc, const std::string& dateTime) {
    sc.textX = sc.clientRect.left;
    sc.textY = sc.clientRect.top;
    const TextMetrics tm = sc.surface->GetTextMetrics();
    sc.lineHeight = ClampToInt32(int64_t{tm.height} + tm.externalLeading);
    readout::WriteLine(sc, readout::TitleLine(sc.title, dateTime));
    readout::WriteLine(sc, readout::SettingsLine(sc));
    readout::WriteLine(sc, readout::StartingLine(sc));
    const ChartGeometry g = ComputeChartGeometry(sc.clientRect);
    sc.chartRadius = g.chartRadius;
    sc.rimRadius = g.rimRadius;
    sc.chartCentre = g.chartCentre;
    DrawGrid(sc);
}

namespace {

void DrawNetwork(SmithChrt& sc) {
    DrawMarker(sc, sc.startZ, MARK_START);
    DrawMarker(sc, sc.goalZ, MARK_GOAL);
    if (sc.componentCount != 0) {
        if (!PlotComponents(sc)) {
            sc.Report("problem plotting components");
        }
    } else {
        sc.maxNetworkQ = 0;
    }
    if (sc.showQArcs == 1) {
        DrawQCurve(sc);
    }
}

} // namespace

void DrawChart(SmithChrt& sc, DrawSurface& surface, Rect logical, IDateTimeText& clock) {
    IMessageSink* const outer = sc.messages;
    DistinctMessageCollector raised;
    sc.messages = &raised;
    surface.SetBackgroundTransparent();
    surface.FillWhite(logical);
    sc.surface = &surface;
    sc.clientRect = logical;
    const std::optional<std::string> now = clock.Now();
    DrawHeaderAndGrid(sc, now ? *now : readout::kInvalidDateTime);
    // The band lies on the grid, under the network's traces and markers; its readout line
    // follows the network's closing lines.
    // Bound data's loci lie on the grid too, under the band's.
    DrawMeasuredLoci(sc);
    if (sc.device != nullptr) {
        DrawDeviceCircles(sc);
    }
    const bool band = sc.band.display;
    if (band) {
        DrawBandLocus(sc);
    }
    DrawNetwork(sc);
    if (band) {
        readout::WriteLine(sc, BandLine(sc.band, sc.bandResult));
    }
    if (const std::optional<std::string> data = MeasuredDataLine(sc)) {
        readout::WriteLine(sc, *data);
    }
    if (sc.device != nullptr) {
        readout::WriteLine(sc, DeviceReadoutLine(sc));
    }
    sc.surface = nullptr;
    sc.messages = outer;
    for (const std::string& text : raised.messages) {
        sc.Report(text.c_str());
    }
}
