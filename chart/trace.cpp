#include "chart/trace.h"

#include "chart/chartgeometry.h"
#include "chart/drawsurface.h"
#include "chart/readout.h"
#include "model/losses.h"
#include "model/matchfigures.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr Pen kTracePen{2, {0, 0, 0}};
constexpr Pen kActiveTracePen{5, {0, 0, 255}};
constexpr Pen kGoalCirclePen{3, {245, 206, 0}};
constexpr Pen kQPen{3, {0, 209, 240}};
constexpr Rgb kActiveText{0, 0, 255};

bool IsLinePlacement(int32_t placement) {
    return placement == PLACE_TL_SERIES || placement == PLACE_TL_SHUNT_OPEN ||
           placement == PLACE_TL_SHUNT_SHORTED;
}

void RaiseQ(SmithChrt& sc, Complex z) {
    const double q = QOf(z);
    if (q > sc.maxNetworkQ) {
        sc.maxNetworkQ = q;
    }
}

bool MarkerColour(int32_t kind, Rgb& colour) {
    switch (kind) {
    case MARK_START:
        colour = {0, 255, 255};
        return true;
    case MARK_END:
        colour = {0, 0, 255};
        return true;
    case MARK_GOAL:
        colour = {0, 255, 0};
        return true;
    case MARK_NODE:
        colour = {0, 0, 0};
        return true;
    default:
        return false;
    }
}

bool IsFinite(Complex z) {
    return std::isfinite(z.re) && std::isfinite(z.im);
}

Point Midpoint(Point a, Point b) {
    if (!IsValidPoint(a) || !IsValidPoint(b)) {
        return {kInvalidCoordinate, kInvalidCoordinate};
    }
    return {static_cast<int32_t>((int64_t{a.x} + b.x) / 2),
            static_cast<int32_t>((int64_t{a.y} + b.y) / 2)};
}

// The squared distance of two chart points, as ScreenDistancePercent measures it.
double SquaredDistance(Point a, Point b) {
    const double dx = static_cast<double>(int64_t{a.x} - b.x);
    const double dy = static_cast<double>(int64_t{a.y} - b.y);
    return dx * dx + dy * dy;
}

// The smallest squared distance whose distance in percent of the radius is at least (or, when
// beyond is set, above) percent. The percentage never falls as the squared distance grows, so
// the bound is found by bisection over the ordered bit patterns of the non-negative doubles,
// starting close around the exact value.
double SquaredDistanceBound(const SmithChrt& sc, double percent, bool beyond) {
    const auto passes = [&](uint64_t bits) {
        const double k = sc.DistancePercentOfSquare(std::bit_cast<double>(bits));
        return beyond ? k > percent : k >= percent;
    };
    const double estimate = (percent * 0.01 * sc.chartRadius) * (percent * 0.01 * sc.chartRadius);
    uint64_t below = std::bit_cast<uint64_t>(estimate * (1 - 1e-12));
    uint64_t at = std::bit_cast<uint64_t>(estimate * (1 + 1e-12));
    if (!std::isfinite(estimate) || passes(below) || !passes(at)) {
        below = 0; // 0.0 passes for no positive percent
        at = std::bit_cast<uint64_t>(std::numeric_limits<double>::infinity());
    }
    while (at - below > 1) {
        const uint64_t middle = below + (at - below) / 2;
        (passes(middle) ? at : below) = middle;
    }
    return std::bit_cast<double>(at);
}

// One trace's stepping state: the last accepted point and the line's accumulated angle. Each
// impedance's chart point is computed once and kept with it. The distances of the steps are
// compared with 0.001 and 10 percent of the radius through their squared bounds, which gives the
// same answers as comparing the percentages.
struct Stepper {
    SmithChrt& sc;
    Complex zin;
    Complex ze;
    int32_t placement;
    double theta;
    double lineLoss;
    Complex cur;
    Point curPoint;
    Point trialPoint;
    double tooShort; ///< squared distances below this are under 0.001 percent
    double tooLong;  ///< squared distances from this up are over 10 percent
    double step = 2.0;
    double angle = 0;
    double savedAngle = 0;
    int trials = 0;

    Complex Trial(double& d2) {
        ++trials;
        const Complex from = IsLinePlacement(placement) ? zin : cur;
        const Complex trial = sc.StepPercent(step, from, ze, placement, theta, angle, lineLoss);
        trialPoint = sc.ZToScreen(trial);
        d2 = SquaredDistance(curPoint, trialPoint);
        return trial;
    }

    // The next point with its distance brought into 0.001 .. 10 percent; false to abandon. A
    // trial point that is not finite ends the trace: no step size leads anywhere from there.
    bool Next(Complex& trial) {
        double d2 = 0;
        trial = Trial(d2);
        int adjustments = 0;
        while (d2 < tooShort || d2 >= tooLong) {
            if (adjustments > 5000 || trials >= kMaxTraceTrials || !IsFinite(trial)) {
                return false;
            }
            ++adjustments;
            step = d2 < tooShort ? step * std::fabs((step + 100) * 0.01)
                                 : step * std::fabs((100 - step) * 0.01);
            if (IsLinePlacement(placement)) {
                angle = savedAngle;
            }
            trial = Trial(d2);
        }
        return true;
    }
};

// DrawImpedanceSegment for impedances whose chart points are known.
void DrawPointSegment(DrawSurface& s, Point a, Point b) {
    if (!IsValidPoint(a) || !IsValidPoint(b)) {
        return;
    }
    s.MoveTo(a);
    s.LineTo(b);
}

void WriteComponentLine(SmithChrt& sc, const std::string& line) {
    if (sc.plottingActive == 1) {
        const Rgb previous = sc.surface->SetTextColour(kActiveText);
        readout::WriteLine(sc, line);
        sc.surface->SetTextColour(previous);
    } else {
        readout::WriteLine(sc, line);
    }
}

void WriteClosingLines(SmithChrt& sc) {
    const std::string ending = readout::EndingLine(sc);
    const std::string match = readout::MatchLine(sc);
    if (sc.showVswrCircles) {
        DrawVswrCircle(sc, sc.endZ, sc.goalZ);
    }
    const std::string goal = readout::GoalLine(sc);
    DrawMarker(sc, sc.goalZ, MARK_GOAL);
    readout::WriteLine(sc, ending);
    readout::WriteLine(sc, goal);
    readout::WriteLine(sc, match);
    if (sc.showQArcs == 1) {
        readout::WriteLine(sc, readout::QLine(sc.maxNetworkQ));
    }
    if (HasLossSettings(sc)) {
        readout::WriteLine(sc, readout::LossLine(sc));
    }
}

} // namespace

void DrawImpedanceSegment(SmithChrt& sc, Complex from, Complex to) {
    DrawPointSegment(*sc.surface, sc.ZToScreen(from), sc.ZToScreen(to));
}

namespace {

// Raises the network's Q to q as each step does: a NaN never raises it, nor is raised.
void RaiseQTo(SmithChrt& sc, double q) {
    if (q > sc.maxNetworkQ) {
        sc.maxNetworkQ = q;
    }
}

void Segment(DrawSurface& s, Point a, Point b, std::vector<Point>* ends) {
    DrawPointSegment(s, a, b);
    if (ends != nullptr) {
        ends->push_back(a);
        ends->push_back(b);
    }
}

// Passes the messages on, counting them.
class CountingSink : public IMessageSink {
public:
    explicit CountingSink(IMessageSink* outer) : outer(outer) {}
    void Report(const std::string& text) override {
        ++count;
        if (outer != nullptr) {
            outer->Report(text);
        }
    }
    IMessageSink* const outer;
    int count = 0;
};

// The stepping of PlotComponentTrace from zin towards end; the segments' ends go to ends when
// given.
void StepTrace(SmithChrt& sc, Complex zin, Complex ze, int32_t placement, double theta,
               double lineLoss, Complex end, std::vector<Point>* ends) {
    DrawSurface& s = *sc.surface;
    const Point endPoint = sc.ZToScreen(end);
    const double tooLong = SquaredDistanceBound(sc, 10, true);
    Stepper st{sc,     zin,
               ze,     placement,
               theta,  lineLoss,
               zin,    sc.ZToScreen(zin),
               {},     SquaredDistanceBound(sc, 0.001, false),
               tooLong};
    for (int points = 0; points < kMaxTracePoints; ++points) {
        Complex trial;
        if (!st.Next(trial)) {
            break;
        }
        Segment(s, st.curPoint, st.trialPoint, ends);
        st.cur = trial;
        st.curPoint = st.trialPoint;
        st.savedAngle = st.angle;
        if (SquaredDistance(st.curPoint, endPoint) < tooLong) {
            RaiseQ(sc, end);
            Segment(s, st.curPoint, endPoint, ends);
            break;
        }
    }
}

// Everything the stepping reads. Besides the element (zin, ze, placement, theta, lineLoss):
// StepPercent, AddImpedancePercent, AddLinePercent and AddLossyLinePercent read nothing more
// of the chart, but raise maxNetworkQ (kept apart below as the steps' own largest Q) and may
// report a message (such a trace is not kept); ZToScreen reads chartZ0 (through ZToGamma),
// chartRadius and chartCentre; SquaredDistanceBound and DistancePercentOfSquare read
// chartRadius; RaiseQ and QOf read only the impedance. The pen is chosen outside, and the
// surface only receives the segments.
TraceInputs InputsOf(const SmithChrt& sc, Complex zin, Complex ze, int32_t placement, double theta,
                     double lineLoss) {
    return {zin, ze, placement, theta, lineLoss, sc.chartZ0, sc.chartRadius, sc.chartCentre};
}

// Steps the trace, keeping its segments and the steps' own largest Q in kept, then raises the
// network's Q to that as the steps would have. A trace whose stepping raised a message is not
// kept: drawn again from kept, it would not raise it. A trace has at most 2 (kMaxTracePoints + 1)
// ends, so the memory of MAX_COMPONENTS traces stays within a few megabytes whatever the values.
void StepAndKeep(SmithChrt& sc, const TraceInputs& in, Complex end, KeptTrace& kept) {
    kept.valid = false;
    kept.ends.clear();
    const double before = sc.maxNetworkQ;
    sc.maxNetworkQ = -std::numeric_limits<double>::infinity();
    CountingSink counted(sc.messages);
    sc.messages = &counted;
    StepTrace(sc, in.zin, in.ze, in.placement, in.theta, in.lineLoss, end, &kept.ends);
    sc.messages = counted.outer;
    const double stepsQ = std::exchange(sc.maxNetworkQ, before);
    RaiseQTo(sc, stepsQ);
    kept.inputs = in;
    kept.maxQ = stepsQ;
    kept.valid = counted.count == 0;
}

// Draws a trace; with a memory, from the kept trace of the same inputs when there is one, else
// stepped and kept as index's trace.
Complex PlotTrace(SmithChrt& sc, Complex zin, Complex ze, int32_t placement, double theta,
                  double lineLoss, TraceMemory* memory, size_t index) {
    // The line step reduces the angle to one turn; done here once, it is not redone per trial
    // (the remainder is exact, so every point is the same). A lossy line keeps its whole angle.
    if (IsLinePlacement(placement) && !(lineLoss > 0)) {
        theta = std::fmod(theta, 360);
    }
    DrawSurface& s = *sc.surface;
    const Pen previous = s.SelectPen(sc.plottingActive == 1 ? kActiveTracePen : kTracePen);
    double endAngle = 0;
    const Complex end = sc.StepPercent(100, zin, ze, placement, theta, endAngle, lineLoss);
    // Below one unit of radius no step can ever be measured.
    if (!(sc.chartRadius >= 1.0)) {
        s.SelectPen(previous);
        return end;
    }
    if (memory == nullptr) {
        StepTrace(sc, zin, ze, placement, theta, lineLoss, end, nullptr);
        s.SelectPen(previous);
        return end;
    }
    const TraceInputs in = InputsOf(sc, zin, ze, placement, theta, lineLoss);
    if (const KeptTrace* kept = memory->Find(index, in)) {
        for (size_t i = 0; i + 1 < kept->ends.size(); i += 2) {
            DrawPointSegment(s, kept->ends[i], kept->ends[i + 1]);
        }
        RaiseQTo(sc, kept->maxQ);
    } else {
        StepAndKeep(sc, in, end, memory->At(index));
    }
    s.SelectPen(previous);
    return end;
}

} // namespace

Complex PlotComponentTrace(SmithChrt& sc, Complex zin, Complex ze, int32_t placement, double theta,
                           double lineLoss) {
    return PlotTrace(sc, zin, ze, placement, theta, lineLoss, nullptr, 0);
}

void DrawMarker(SmithChrt& sc, Complex z, int32_t kind) {
    Rgb colour;
    if (!MarkerColour(kind, colour)) {
        sc.Report("you shouldn't have gotten here!");
        return;
    }
    const Point p = sc.ZToScreen(z);
    if (!IsValidPoint(p)) {
        return;
    }
    DrawSurface& s = *sc.surface;
    const std::string label = sc.textMarkers == 1 ? readout::MarkerLabel(sc, z) : std::string();
    const Pen previous = s.SelectPen({3, colour});
    s.SetBackgroundTransparent();
    s.TextOut(p, label);
    const int32_t g = TruncToInt32(sc.chartRadius * 0.013333333333333334);
    const int32_t ng = g == kInvalidCoordinate ? g : -g;
    s.Circle({AddCoord(p.x, g), AddCoord(p.y, g), AddCoord(p.x, ng), AddCoord(p.y, ng)});
    s.SelectPen(previous);
}

void DrawVswrCircle(SmithChrt& sc, Complex endZ, Complex goalZ) {
    const Point e = sc.ZToScreen(endZ);
    const Point g = sc.ZToScreen(goalZ);
    if (!IsValidPoint(e) || !IsValidPoint(g)) {
        return;
    }
    const double dx = static_cast<double>(int64_t{e.x} - g.x);
    const double dy = static_cast<double>(int64_t{e.y} - g.y);
    const int32_t t = TruncToInt32(std::sqrt(dx * dx + dy * dy));
    if (t == kInvalidCoordinate) {
        return;
    }
    const Rect box{AddCoord(g.x, -t), AddCoord(g.y, t), AddCoord(g.x, t), AddCoord(g.y, -t)};
    if (!IsValidRect(box)) {
        return;
    }
    DrawSurface& s = *sc.surface;
    const Pen previousPen = s.SelectPen(kGoalCirclePen);
    const Brush previousBrush = s.SelectBrush(Brush::Hollow);
    s.Ellipse(box);
    s.SelectBrush(previousBrush);
    s.SelectPen(previousPen);
}

void DrawQCurve(SmithChrt& sc) {
    const Pen previous = sc.surface->SelectPen(kQPen);
    const double qc = sc.maxNetworkQ > 10 ? 10.0 : sc.maxNetworkQ;
    const double l = std::log10(50000.0);
    const double z0 = sc.chartZ0.re;
    for (int b = 0; b <= 50; ++b) {
        const double r1 = std::pow(10.0, b * 0.0196078431372549 * l) * 0.001 * z0;
        const double r2 = std::pow(10.0, (b + 1) * 0.0196078431372549 * l) * 0.001 * z0;
        DrawImpedanceSegment(sc, {r1, qc * r1}, {r2, qc * r2});
        DrawImpedanceSegment(sc, {r1, -(qc * r1)}, {r2, -(qc * r2)});
    }
    sc.surface->SelectPen(previous);
}

bool PlotComponents(SmithChrt& sc) {
    sc.maxNetworkQ = 0;
    RaiseQ(sc, sc.startZ);
    Complex cur = sc.startZ;
    double theta = 0;
    const char* word = "";
    const int32_t n = std::clamp(sc.componentCount, 0, MAX_COMPONENTS);
    for (int32_t i = 0; i < n; ++i) {
        const Component& c = sc.components[i];
        sc.plottingActive = i == sc.activeIndex ? 1 : 0;
        Complex ze;
        double lineLoss = 0;
        if (!sc.ElementAt(c, ze, theta, lineLoss)) {
            return false;
        }
        const std::string description = readout::ComponentDescription(c, ze, sc.frequency);
        const Complex out = PlotTrace(sc, cur, ze, c.placement, theta, lineLoss, &sc.traces,
                                      static_cast<size_t>(i));
        if (const char* w = readout::PlacementWord(c.placement)) {
            word = w;
        } else {
            sc.Report("You never should have reached this point!");
        }
        WriteComponentLine(sc, word + description);
        sc.labelPoints[i] = {0, ClampToInt32(int64_t{sc.textY} + sc.lineHeight / 2)};
        if (i != n - 1) {
            DrawMarker(sc, out, MARK_NODE);
        }
        sc.tracePoints[i] = Midpoint(sc.ZToScreen(cur), sc.ZToScreen(out));
        cur = out;
    }
    sc.endZ = cur;
    DrawMarker(sc, sc.endZ, MARK_END);
    WriteClosingLines(sc);
    return true;
}
