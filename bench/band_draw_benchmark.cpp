// What the band adds to a window's redraw while tuning: one 1920x1080 redraw of a 25-component
// network through the window's own draw routine (its surface over a Qt painter), with the band
// off, with its locus of 201 points, and with the junction loci too. The document is kept from
// draw to draw as the window keeps it, so the band's evaluation reuses its storage; the figure
// asked of the band is the difference between the first benchmark and the others (at most 1 ms).
// The response plot's panel follows each redraw: its update and its repaint are measured apart.
#include "chart/datetimetext.h"
#include "model/smithchrt.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/plot/bandplot.h"
#include "platform/plot/cbandplotview.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// Text and the plot's widgets need an application; the benchmarks run without a display. The
// application is never destroyed: destroyed among the program's static objects at exit, after
// some of Qt's own, it crashed.
void EnsureGuiApplication() {
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "band_draw_benchmark";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

// A 25-component ladder at 435 MHz (series inductors and shunt capacitors, every fifth element
// a line or stub), from 12.5-j8 ohm; band 400 to 470 MHz.
SmithChrt Tuned(bool band, bool junctions) {
    SmithChrt sc;
    sc.ResetForNewDocument();
    sc.frequency = 435;
    sc.startZ = {12.5, -8};
    sc.showQArcs = 1;
    sc.showVswrCircles = true;
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        const double ohm = 10.0 + 4 * i;
        if (i % 5 == 4) {
            sc.AddComponent(NewLine(i % 2 == 0 ? PLACE_TL_SHUNT_OPEN : PLACE_TL_SERIES, ohm, 435));
        } else if (i % 2 == 0) {
            sc.AddComponent(NewInductor(PLACE_SERIES, ohm, 435));
        } else {
            sc.AddComponent(NewCapacitor(PLACE_SHUNT, ohm, 435));
        }
    }
    if (band) {
        sc.band = {400, 470, 201, true, junctions};
    }
    return sc;
}

void Redraw(benchmark::State& state, bool band, bool junctions) {
    EnsureGuiApplication();
    SmithChrt sc = Tuned(band, junctions);
    QImage window(1920, 1080, QImage::Format_RGB32);
    FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    for (auto _ : state) {
        // A tuning step, as the Up key makes it, then the repaint it asks for.
        sc.components[1].capacitance *= 1.0001;
        QPainter painter(&window);
        DrawChartOnWindow(sc, painter, window.size(), window.rect(), clock, nullptr, 1.0);
        painter.end();
        benchmark::DoNotOptimize(sc.endZ);
    }
    state.counters["bandPoints"] = static_cast<double>(sc.bandResult.size());
}

// The panel after a tuning step: the plot takes the new evaluation and repaints at the panel's
// usual size.
void PlotPanel(benchmark::State& state) {
    EnsureGuiApplication();
    SmithChrt sc = Tuned(true, false);
    QImage window(1920, 1080, QImage::Format_RGB32);
    FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    CBandPlotView panel;
    panel.resize(1920, 270);
    QImage shown(panel.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        sc.components[1].capacitance *= 1.0001;
        QPainter painter(&window);
        DrawChartOnWindow(sc, painter, window.size(), window.rect(), clock, nullptr, 1.0);
        painter.end();
        state.ResumeTiming();
        panel.Update(sc);
        QPainter onPanel(&shown);
        panel.render(&onPanel);
    }
}

} // namespace

BENCHMARK_CAPTURE(Redraw, BandOff, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, Band201, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, Band201WithJunctionLoci, true, true)->Unit(benchmark::kMillisecond);
BENCHMARK(PlotPanel)->Unit(benchmark::kMillisecond);
