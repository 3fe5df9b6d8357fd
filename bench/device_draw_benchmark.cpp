// What a device's circles add to a window's redraw: one 1920x1080 redraw of the benchmarks'
// 25 mixed components through the window's own draw routine and surface (its cache kept from
// draw to draw, as the window keeps it), with a transistor loaded and its circles off, then
// with every family on (two stability, three available gain, three operating gain and four
// noise circles, labelled). The figure asked of the circles is the difference (at most 1 ms).
// The device plot's update after a redraw is measured apart.
#include "bench/benchsupport.h"
#include "chart/datetimetext.h"
#include "chart/devicecircles.h"
#include "model/devicebinding.h"
#include "model/smithchrt.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/drawing/crastersurface.h"
#include "platform/plot/deviceplot.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>

namespace {

// As the band's benchmark: an application that is never destroyed, without a display.
void EnsureGuiApplication() {
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "device_draw_benchmark";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

Complex Polar(double magnitude, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return {magnitude * std::cos(a), magnitude * std::sin(a)};
}

// A potentially unstable GaAs FET around the analysis frequency (MHz), with noise data, so
// that every family has circles on the chart.
std::shared_ptr<DeviceData> Transistor(double centre) {
    auto d = std::make_shared<DeviceData>();
    d->name = "fet.s2p";
    for (int i = 0; i <= 20; ++i) {
        const double f = centre * (0.7 + 0.03 * i);
        d->points.push_back({f, Polar(0.87 - 0.002 * i, -155 - 0.2 * i), Polar(0.031, -9),
                             Polar(4.25 - 0.02 * i, 61), Polar(0.51, -117), 50});
        d->noise.push_back({f, 0.8 + 0.01 * i, Polar(0.6, 120), 20, 50});
    }
    return d;
}

SmithChrt WithDevice(bool circles) {
    SmithChrt sc = MixedDocument();
    LoadDevice(sc, Transistor(sc.frequency));
    sc.circles.stability = sc.circles.availableGain = circles;
    sc.circles.operatingGain = sc.circles.noise = circles;
    return sc;
}

void Redraw(benchmark::State& state, bool circles) {
    EnsureGuiApplication();
    SmithChrt sc = WithDevice(circles);
    QImage window(1920, 1080, QImage::Format_RGB32);
    FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    CRasterCache cache;
    for (auto _ : state) {
        // A tuning step, as the Up key makes it, then the repaint it asks for.
        sc.components[1].resistance *= 1.0001;
        QPainter painter(&window);
        DrawChartOnWindow(sc, painter, window.size(), window.rect(), clock, nullptr, 1.0, &cache);
        painter.end();
        benchmark::DoNotOptimize(sc.endZ);
    }
    state.counters["circles"] = static_cast<double>(ChartDeviceCircles(sc).size());
}

// The device plot after a redraw that changed nothing of the device: the update finds it so.
void PlotUpdate(benchmark::State& state) {
    EnsureGuiApplication();
    const SmithChrt sc = WithDevice(true);
    CDevicePlotView view;
    view.resize(600, 270);
    for (auto _ : state) {
        benchmark::DoNotOptimize(view.Update(sc));
    }
}

} // namespace

BENCHMARK_CAPTURE(Redraw, Mixed25DeviceCirclesOff, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, Mixed25DeviceCirclesOn, true)->Unit(benchmark::kMillisecond);
BENCHMARK(PlotUpdate)->Unit(benchmark::kMicrosecond);
