#include "chart/bandlocus.h"

#include "chart/chartgeometry.h"
#include "model/bandevaluation.h"
#include "model/bandsettings.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <algorithm>

namespace {

// A small square, so that the band's ends are told apart from the round markers of the network.
void DrawEndMarker(SmithChrt& sc, Complex z, double mhz) {
    const Point p = sc.ZToScreen(z);
    if (!IsValidPoint(p)) {
        return;
    }
    DrawSurface& s = *sc.surface;
    const int32_t h = std::max(2, TruncToInt32(sc.chartRadius * 0.01));
    const Point corners[] = {
        {AddCoord(p.x, -h), AddCoord(p.y, h)},
        {AddCoord(p.x, h), AddCoord(p.y, h)},
        {AddCoord(p.x, h), AddCoord(p.y, -h)},
        {AddCoord(p.x, -h), AddCoord(p.y, -h)},
    };
    if (!std::all_of(std::begin(corners), std::end(corners), IsValidPoint)) {
        return;
    }
    const Pen previous = s.SelectPen(kBandEndPen);
    s.MoveTo(corners[3]);
    for (const Point c : corners) {
        s.LineTo(c);
    }
    s.SelectPen(previous);
    if (sc.textMarkers == 1) {
        // Away from the horizontal axis, where the goal's label usually lies: above the square
        // in the upper half, below it in the lower.
        const Point at = p.y >= sc.chartCentre.y
                             ? Point{corners[1].x, AddCoord(corners[1].y, sc.lineHeight)}
                             : corners[2];
        if (IsValidPoint(at)) {
            const Rgb previousText = s.SetTextColour(kBandLabelText);
            s.TextOut(at, BandEndLabel(mhz));
            s.SetTextColour(previousText);
        }
    }
}

} // namespace

void DrawLocus(SmithChrt& sc, std::span<const Complex> locus) {
    DrawSurface& s = *sc.surface;
    bool down = false;
    Point last;
    for (const Complex z : locus) {
        const Point p = sc.ZToScreen(z);
        if (!IsValidPoint(p)) {
            down = false;
            continue;
        }
        if (!down) {
            s.MoveTo(p);
            down = true;
        } else if (p != last) {
            s.LineTo(p);
        }
        last = p;
    }
}

void DrawBandLocus(SmithChrt& sc) {
    BandResult& r = sc.bandResult;
    EvaluateBand(sc, r, {}, sc.band.junctionLoci);
    if (r.size() == 0) {
        return;
    }
    DrawSurface& s = *sc.surface;
    const Pen previous = s.SelectPen(kJunctionLocusPen);
    // The last junction is the ending impedance itself, drawn next in its own pen.
    for (int32_t i = 0; i + 1 < r.junctionCount; ++i) {
        DrawLocus(sc, r.JunctionLocus(i));
    }
    s.SelectPen(kBandLocusPen);
    DrawLocus(sc, r.endZ);
    s.SelectPen(previous);
    DrawEndMarker(sc, r.endZ.front(), r.frequencies.front());
    DrawEndMarker(sc, r.endZ.back(), r.frequencies.back());
}

std::string BandEndLabel(double mhz) {
    return FormatBounded(mhz, 3) + " MHz";
}

std::string BandLine(const BandSettings& band, const BandResult& result) {
    const std::string range =
        "Band " + FormatBounded(band.low, 3) + "-" + FormatBounded(band.high, 3) + " MHz: ";
    if (result.worstIndex < 0) {
        return range + "no valid point";
    }
    std::string line = range + CFormat("VSWR<=%4.2f @", result.worstVswr) +
                       FormatBounded(result.worstFrequency, 3) +
                       CFormat(" MHz, RL>=%4.2fdB", result.worstReturnLossDb);
    if (result.HasTwoPort()) {
        line += CFormat(", GT>=%4.2fdB", result.worstTransducerGainDb);
    }
    return line;
}

BandPageLayout LayOutBandPage(int32_t cw, int32_t ch, Rect printRect, double k) {
    BandPageLayout l;
    l.chartPart = printRect;
    const int64_t w = int64_t{printRect.right} - printRect.left;
    const int64_t h = int64_t{printRect.bottom} - printRect.top;
    if (w <= 0 || h <= 0) {
        l.chart = ApplyPrintingRule(cw, ch, printRect, k);
        l.plot = {printRect.left, printRect.bottom, printRect.left, printRect.bottom};
        return l;
    }
    const int64_t gap = h / 40;
    const int64_t plotHeight = std::min(h / 3, w / 2);
    l.chartPart.bottom = static_cast<int32_t>(printRect.bottom - plotHeight - gap);
    l.chart = ApplyPrintingRule(cw, ch, l.chartPart, k);
    const int64_t plotTop = std::min<int64_t>(int64_t{l.chart.bottom} + gap, printRect.bottom);
    l.plot = {printRect.left, static_cast<int32_t>(plotTop), printRect.right,
              static_cast<int32_t>(std::min<int64_t>(plotTop + plotHeight, printRect.bottom))};
    return l;
}
