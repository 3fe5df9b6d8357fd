#pragma once

#include "chart/drawsurface.h"
#include "model/smithchrt.h"

#include <string>
#include <vector>

/// A document the benchmarks draw, with the name the figures are reported under.
struct BenchDocument {
    std::string name;
    SmithChrt chart;
};

/// Five typical components: a match from 20 - j15 to 75 + j25 ohm with a capacitor, an
/// inductor, a line, a shorted stub and a resistor.
SmithChrt TypicalDocument();

/// Twenty-five mixed components (series and shunt L, C and R, lines, open and shorted stubs,
/// series and parallel RLC) with the admittance grid, the Q curve and the VSWR circle on.
SmithChrt MixedDocument();

/// Twenty-five long traces: series lines of 1000 ohm and open stubs of 2 ohm, both of 170
/// degrees, from a 2-ohm generator; each trace winds round the chart in short steps.
SmithChrt LongTracesDocument();

/// Twenty-five hostile components: lines of 5e204 ohm and 1.6e211 degrees each brought back to
/// the chart's centre by a shunt resistor (every such trace spends its 5001 step adjustments),
/// then NaN, infinite and 1e308 values.
SmithChrt HostileDocument();

/// The four documents above, in that order, named Typical5, Mixed25, LongTraces25, Hostile25.
std::vector<BenchDocument> SuiteDocuments();

/// A surface that draws nothing and counts the drawing calls: what a draw costs besides the
/// pixels (the evaluation, the readout's texts, the calls themselves).
class CountingSurface : public DrawSurface {
public:
    Pen SelectPen(Pen p) override;
    Brush SelectBrush(Brush b) override;
    void MoveTo(Point) override { ++calls; }
    void LineTo(Point) override { ++calls; }
    void Circle(Rect) override { ++calls; }
    void Arc(Rect, Point, Point) override { ++calls; }
    void Ellipse(Rect) override { ++calls; }
    void TextOut(Point, const std::string&) override { ++calls; }
    Rgb SetTextColour(Rgb c) override;
    TextMetrics GetTextMetrics() override { return {16, 0}; }
    void FillWhite(Rect) override { ++calls; }
    void SetBackgroundTransparent() override {}

    int64_t calls = 0;

private:
    Pen pen;
    Brush brush = Brush::White;
    Rgb text;
};
