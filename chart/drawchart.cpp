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
#include "model/measuredbinding.h"
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
        // The empty network writes no closing lines; a goal without data still says so, as
        // the starting line does.
        if (HasNoValueNow(sc, LoadEnd::Goal)) {
            readout::WriteLine(sc, readout::GoalLine(sc));
        }
    }
    if (sc.showQArcs == 1) {
        DrawQCurve(sc);
    }
}

} // namespace

int32_t DrawSurface::TextWidth(const std::string& text) {
    // About six tenths of the height a character, counted as UTF-8 characters.
    int64_t characters = 0;
    for (const char ch : text) {
        characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80 ? 1 : 0;
    }
    return ClampToInt32(characters * GetTextMetrics().height * 6 / 10);
}

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
    // Bound data's loci lie on the grid, under the network; the band's locus above the network's
    // traces, so that the active trace does not hide it. Its readout lines follow the network's
    // closing lines.
    DrawMeasuredLoci(sc);
    if (sc.device != nullptr) {
        DrawDeviceCircles(sc);
    }
    const bool band = sc.band.display;
    DrawNetwork(sc);
    if (band) {
        DrawBandLocus(sc);
    }
    if (band) {
        for (const std::string& line : BandLines(sc.band, sc.bandLimit, sc.bandResult)) {
            readout::WriteLine(sc, line);
        }
        if (!sc.bodeFanoLine.empty()) {
            readout::WriteLine(sc, sc.bodeFanoLine);
        }
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
