#include "chart/bandlocus.h"

#include "chart/chartgeometry.h"
#include "chart/readout.h"
#include "model/bandevaluation.h"
#include "model/bandsettings.h"
#include "model/matchfigures.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>

namespace {

// A text's box on the chart, y upward: the text is written with its top-left corner at
// (left, top).
struct TextBox {
    int64_t left, bottom, right, top;
};

TextBox BoxAt(Point at, int64_t width, int64_t height) {
    return {at.x, int64_t{at.y} - height, int64_t{at.x} + width, at.y};
}

bool Overlap(const TextBox& a, const TextBox& b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

// The labels the network's markers wrote (start, goal, each component's output and the end),
// which the band's labels keep clear of.
std::vector<TextBox> MarkerLabelBoxes(SmithChrt& sc) {
    std::vector<Complex> marked{sc.startZ, sc.goalZ};
    if (sc.componentCount > 0) {
        SmithChrt scratch;
        scratch.components = sc.components;
        scratch.componentCount = std::clamp(sc.componentCount, 0, MAX_COMPONENTS);
        scratch.frequency = sc.frequency;
        scratch.startZ = sc.startZ;
        std::vector<Complex> outputs;
        scratch.EvaluateCascade(&outputs);
        marked.insert(marked.end(), outputs.begin(), outputs.end());
    }
    std::vector<TextBox> boxes;
    for (const Complex z : marked) {
        const Point p = sc.ZToScreen(z);
        if (IsValidPoint(p)) {
            boxes.push_back(
                BoxAt(p, sc.surface->TextWidth(readout::MarkerLabel(sc, z)), sc.lineHeight));
        }
    }
    return boxes;
}

// Where a band end's label goes: beside its square, away from the horizontal axis (where the
// goal's label usually lies) unless that covers another label, then on the other side, then a
// line further out at a time.
Point PlaceLabel(const SmithChrt& sc, Point p, int32_t h, int64_t width,
                 std::vector<TextBox>& taken) {
    const int64_t lh = sc.lineHeight;
    const int64_t right = int64_t{p.x} + h;
    const int64_t left = int64_t{p.x} - h - width;
    const bool upper = p.y >= sc.chartCentre.y;
    std::vector<Point> order;
    for (int64_t out = 0; out < 4; ++out) {
        const Point above{0, ClampToInt32(int64_t{p.y} + h + lh + out * lh)};
        const Point below{0, ClampToInt32(int64_t{p.y} - h - out * lh)};
        for (const int64_t x : {right, left}) {
            const Point first = upper ? above : below;
            const Point second = upper ? below : above;
            order.push_back({ClampToInt32(x), first.y});
            order.push_back({ClampToInt32(x), second.y});
        }
    }
    for (const Point at : order) {
        const TextBox box = BoxAt(at, width, lh);
        if (std::none_of(taken.begin(), taken.end(),
                         [&](const TextBox& t) { return Overlap(box, t); })) {
            taken.push_back(box);
            return at;
        }
    }
    taken.push_back(BoxAt(order[0], width, lh));
    return order[0];
}

// A small square, so that the band's ends are told apart from the round markers of the network.
void DrawEndMarker(SmithChrt& sc, Complex z, double mhz, std::vector<TextBox>& taken) {
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
        const std::string label = BandEndLabel(mhz);
        const Point at = PlaceLabel(sc, p, h, s.TextWidth(label), taken);
        if (IsValidPoint(at)) {
            const Rgb previousText = s.SetTextColour(kBandLabelText);
            s.TextOut(at, label);
            s.SetTextColour(previousText);
        }
    }
}

// Each junction locus is labelled with its component's number at its high end.
void LabelJunctionLoci(SmithChrt& sc, const BandResult& r) {
    DrawSurface& s = *sc.surface;
    const Rgb previousText = s.SetTextColour(kJunctionLabelText);
    for (int32_t i = 0; i + 1 < r.junctionCount; ++i) {
        const std::span<const Complex> locus = r.JunctionLocus(i);
        for (auto z = locus.rbegin(); z != locus.rend(); ++z) {
            const Point p = sc.ZToScreen(*z);
            if (IsValidPoint(p)) {
                s.TextOut(p, std::to_string(i + 1));
                break;
            }
        }
    }
    s.SetTextColour(previousText);
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
    if (sc.textMarkers == 1) {
        LabelJunctionLoci(sc, r);
    }
    std::vector<TextBox> taken =
        sc.textMarkers == 1 ? MarkerLabelBoxes(sc) : std::vector<TextBox>{};
    DrawEndMarker(sc, r.endZ.front(), r.frequencies.front(), taken);
    DrawEndMarker(sc, r.endZ.back(), r.frequencies.back(), taken);
}

std::string BandEndLabel(double mhz) {
    return FormatBounded(mhz, 3) + " MHz";
}

std::vector<std::string> BandLines(const BandSettings& band, const BandLimit& limit,
                                   const BandResult& result) {
    std::vector<std::string> lines{"Band " + FormatBounded(band.low, 3) + "-" +
                                   FormatBounded(band.high, 3) + " MHz:"};
    if (result.worstIndex < 0) {
        lines.emplace_back(" no valid point");
    } else {
        std::string worst = CFormat(" VSWR<=%4.2f @", result.worstVswr) +
                            FormatBounded(result.worstFrequency, 3) + " MHz, ";
        worst += !(result.worstReturnLossDb < kPerfectMatchDb)
                     ? std::string("perfect match")
                     : CFormat("RL>=%4.2fdB", result.worstReturnLossDb);
        if (result.HasTwoPort()) {
            worst += CFormat(", GT>=%4.2fdB", result.worstTransducerGainDb);
        }
        lines.push_back(worst);
    }
    const auto total = static_cast<int32_t>(result.size());
    if (result.missingPoints > 0) {
        lines.push_back(CFormat(" %d of %d points without data", result.missingPoints, total));
    }
    if (limit.IsSet()) {
        lines.push_back(CFormat(" %d of %d points fail %s", result.failingPoints, total,
                                BandLimitText(limit).c_str()));
    }
    return lines;
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
