#include "design/matchmewizard.h"

#include "model/componentvalues.h"
#include "model/constants.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>

namespace {

// Element values for a reactance x (ohm) at f Hz, w = 2 pi f rad/s.
struct Units {
    double f;
    double w;
    double Inductance(double x) const { return x / w * kHenryToNano; }
    double Capacitance(double x) const { return kFaradToPico / (x * f * kTwoPi); }
};

// R[1] = rLow .. R[N+1] = rHigh in geometric progression, each power taken afresh.
std::vector<double> Ladder(double rLow, double rHigh, int32_t n) {
    const double k = std::pow(rHigh / rLow, 1.0 / n);
    std::vector<double> r(static_cast<size_t>(n) + 1);
    r[0] = rLow;
    for (int32_t i = 1; i < n; ++i) {
        r[static_cast<size_t>(i)] = rLow * std::pow(k, i);
    }
    r[static_cast<size_t>(n)] = rHigh;
    return r;
}

MatchMeSection Section(double rLow, double rHigh, const Units& u) {
    MatchMeSection s;
    s.rLow = rLow;
    s.rHigh = rHigh;
    s.lineZ0 = std::sqrt(rLow * rHigh);
    s.q = std::sqrt(rHigh / rLow - 1);
    s.a = 1 / (s.q * s.q) + 1;
    s.shuntC = u.Capacitance(s.a * rLow * s.q);
    s.seriesL = u.Inductance(s.q * rLow);
    s.shuntL = u.Inductance(s.a * s.q * rLow);
    s.seriesC = u.Capacitance(s.q * rLow);
    return s;
}

// The series element that cancels the start reactance.
std::optional<Component> StartFix(Complex z, const Units& u) {
    if (!(std::fabs(z.im) > 0.02 * z.re)) {
        return std::nullopt;
    }
    if (z.im < 0) {
        return InductorOf(PLACE_SERIES, u.Inductance(std::fabs(z.im)));
    }
    return CapacitorOf(PLACE_SERIES, u.Capacitance(std::fabs(z.im)));
}

// The series element that reproduces the goal reactance.
std::optional<Component> GoalFix(Complex z, const Units& u) {
    if (!(std::fabs(z.im) > 0.02 * z.re)) {
        return std::nullopt;
    }
    if (z.im < 0) {
        return CapacitorOf(PLACE_SERIES, u.Capacitance(std::fabs(z.im)));
    }
    return InductorOf(PLACE_SERIES, u.Inductance(std::fabs(z.im)));
}

// Appends the sections' components by topology; false for an unknown topology.
bool AppendSections(MatchMeResult& r, int32_t topology, double frequencyMHz) {
    if (topology < TOPO_LOWPASS || topology > TOPO_QUARTER_WAVE) {
        return false;
    }
    for (const MatchMeSection& s : r.sections) {
        if (topology == TOPO_LOWPASS) {
            r.additions.push_back(InductorOf(PLACE_SERIES, s.seriesL));
            r.additions.push_back(CapacitorOf(PLACE_SHUNT, s.shuntC));
        } else if (topology == TOPO_HIGHPASS) {
            r.additions.push_back(CapacitorOf(PLACE_SERIES, s.seriesC));
            r.additions.push_back(InductorOf(PLACE_SHUNT, s.shuntL));
        } else {
            r.additions.push_back(LineOf(PLACE_TL_SERIES, s.lineZ0, 90.0, frequencyMHz));
        }
    }
    return true;
}

void BuildAdditions(MatchMeResult& r, int32_t topology, double frequencyMHz) {
    const std::optional<Component>& first = r.reversed ? r.goalFix : r.startFix;
    const std::optional<Component>& last = r.reversed ? r.startFix : r.goalFix;
    if (first) {
        r.additions.push_back(*first);
    }
    if (!AppendSections(r, topology, frequencyMHz)) {
        r.topologyMessage = kMatchTopologyMessage;
        r.topologyMessageAt = r.additions.size();
    }
    if (last) {
        r.additions.push_back(*last);
    }
}

} // namespace

MatchMeInput MatchMeInputFor(const SmithChrt& doc) {
    MatchMeInput in;
    in.startR = doc.startZ.re;
    in.startX = doc.startZ.im;
    in.goalR = doc.goalZ.re;
    in.goalX = doc.goalZ.im;
    return in;
}

std::optional<FieldError> ValidateMatchMe(const MatchMeInput& in) {
    if (auto e = CheckField(MATCH_FIELD_SECTIONS, in.sectionCount, kSectionCountRange)) {
        return e;
    }
    if (auto e = CheckField(MATCH_FIELD_START_R, in.startR, kMatchResistanceRange)) {
        return e;
    }
    if (auto e = CheckField(MATCH_FIELD_START_X, in.startX, kMatchReactanceRange)) {
        return e;
    }
    if (auto e = CheckField(MATCH_FIELD_GOAL_R, in.goalR, kMatchResistanceRange)) {
        return e;
    }
    return CheckField(MATCH_FIELD_GOAL_X, in.goalX, kMatchReactanceRange);
}

std::vector<std::string> MatchMeResult::Messages() const {
    std::vector<std::string> out;
    if (error) {
        out.push_back(error->message);
    }
    if (exampleMessage) {
        out.push_back(*exampleMessage);
    }
    if (topologyMessage) {
        out.push_back(*topologyMessage);
    }
    return out;
}

MatchMeResult DesignMatchMe(const MatchMeInput& in, double frequencyMHz) {
    MatchMeResult r;
    r.error = ValidateMatchMe(in);
    if (r.error) {
        return r;
    }
    const double f = frequencyMHz * 1e6;
    const Units u{f, f * kTwoPi};
    r.enteredStartZ = {in.startR, in.startX};
    r.startZ = r.enteredStartZ;
    r.goalZ = {in.goalR, in.goalX};
    if (in.startR == in.goalR) {
        r.exampleMessage = kMatchExampleMessage;
        r.startZ.re = in.startR * 0.1;
    }
    r.reversed = r.startZ.re > r.goalZ.re;
    const double rLow = r.reversed ? r.goalZ.re : r.startZ.re;
    const double rHigh = r.reversed ? r.startZ.re : r.goalZ.re;
    r.ladder = Ladder(rLow, rHigh, in.sectionCount);
    for (size_t i = 0; i + 1 < r.ladder.size(); ++i) {
        r.sections.push_back(Section(r.ladder[i], r.ladder[i + 1], u));
    }
    r.startFix = StartFix(r.startZ, u);
    r.goalFix = GoalFix(r.goalZ, u);
    BuildAdditions(r, in.topology, frequencyMHz);
    return r;
}

int32_t ApplyMatchMe(SmithChrt& doc, const MatchMeResult& r, IMessageSink* sink) {
    if (r.error) {
        ReportTo(sink, r.error->message);
        return 0;
    }
    doc.showVswrCircles = true;
    doc.startZ = r.enteredStartZ;
    doc.goalZ = r.goalZ;
    if (r.exampleMessage) {
        ReportTo(sink, *r.exampleMessage);
    }
    doc.startZ = r.startZ;
    doc.showQArcs = 1;
    doc.componentCount = 0;
    int32_t added = 0;
    for (size_t i = 0; i <= r.additions.size(); ++i) {
        if (r.topologyMessage && i == r.topologyMessageAt) {
            ReportTo(sink, *r.topologyMessage);
        }
        if (i == r.additions.size()) {
            break;
        }
        if (doc.AddComponent(r.additions[i]) == 1) {
            ++added;
        } else {
            ReportTo(sink, kProblemAddingMessage);
        }
    }
    if (r.reversed) {
        std::reverse(doc.components.begin(), doc.components.begin() + doc.componentCount);
    }
    if (doc.componentCount == 0) {
        // Nothing was added: leave no selection behind in the empty network.
        doc.activeIndex = -1;
    }
    return added;
}

int32_t RunMatchMe(SmithChrt& doc, const MatchMeInput& in, IMessageSink* sink) {
    return ApplyMatchMe(doc, DesignMatchMe(in, doc.frequency), sink);
}
