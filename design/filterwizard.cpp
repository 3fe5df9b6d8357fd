#include "design/filterwizard.h"

#include "model/componentvalues.h"
#include "model/constants.h"
#include "model/messagesink.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <cmath>

namespace {

constexpr double kPi = 3.1415926535;
// The double nearest 1/17.37, which turns a ripple in dB into the argument of tanh.
constexpr double kRippleFactor = 0.05757052389176741;
constexpr int32_t kMaxPrototypeOrder = 16;

// The four candidate values of element k: low-pass series L and shunt C, high-pass shunt L and
// series C.
struct ElementValues {
    double lowL;
    double lowC;
    double highL;
    double highC;
};

ElementValues ValuesFor(double g, double ro, double w) {
    return {ro * g / w * kHenryToNano, g / (ro * w) * kFaradToPico, (1 / g) * ro / w * kHenryToNano,
            (1 / g) / (ro * w) * kFaradToPico};
}

Component LadderElement(const FilterInput& in, int32_t k, const ElementValues& v) {
    const bool odd = k % 2 == 1;
    const bool shunt =
        (odd && in.firstElement == FIRST_SHUNT) || (!odd && in.firstElement == FIRST_SERIES);
    if (in.filterType == FILTER_LOWPASS) {
        return shunt ? CapacitorOf(PLACE_SHUNT, v.lowC) : InductorOf(PLACE_SERIES, v.lowL);
    }
    return shunt ? InductorOf(PLACE_SHUNT, v.highL) : CapacitorOf(PLACE_SERIES, v.highC);
}

} // namespace

FilterInput FilterInputFor(const SmithChrt& doc) {
    FilterInput in;
    in.cutoffMHz = doc.frequency;
    in.ro = doc.chartZ0.re;
    return in;
}

std::optional<FieldError> ValidateFilter(const FilterInput& in) {
    if (auto e = CheckField(FILTER_FIELD_CUTOFF, in.cutoffMHz, kCutoffRange)) {
        return e;
    }
    if (auto e = CheckField(FILTER_FIELD_RIPPLE, in.rippleDb, kRippleRange)) {
        return e;
    }
    if (auto e = CheckField(FILTER_FIELD_ORDER, in.order, kOrderRange)) {
        return e;
    }
    return CheckField(FILTER_FIELD_RO, in.ro, kRoRange);
}

std::vector<double> ChebyshevPrototype(double rippleDb, int32_t order) {
    if (order < 1 || order > kMaxPrototypeOrder) {
        return {};
    }
    const double beta = std::log(1 / std::tanh(rippleDb * kRippleFactor));
    const double gamma = std::sinh(beta / (2 * order));
    std::vector<double> g(static_cast<size_t>(order));
    double aPrev = 0.0;
    double bPrev = 0.0;
    for (int32_t k = 1; k <= order; ++k) {
        const double a = std::sin((2 * k - 1) * kPi / (2 * order));
        const double s = std::sin(k * kPi / order);
        const double b = gamma * gamma + s * s;
        const size_t i = static_cast<size_t>(k - 1);
        g[i] = k == 1 ? 2 * a / gamma : 4 * aPrev * a / (bPrev * g[i - 1]);
        aPrev = a;
        bPrev = b;
    }
    return g;
}

std::string FilterTitle(int32_t filterType, double cutoffMHz, int32_t order, double rippleDb,
                        double ro) {
    const char* type = filterType == FILTER_LOWPASS ? "Lowpass" : "Highpass";
    return std::string("Initial SimpleFilter Specs: ") + type +
           " Fc=" + FormatFixed(cutoffMHz, 5, 1) + " N=" + std::to_string(order) +
           " Ripple=" + FormatFixed(rippleDb, 4, 2) + " dB R0=" + FormatFixed(ro, 3, 2) + " Ohms";
}

std::vector<std::string> FilterResult::Messages() const {
    std::vector<std::string> out;
    if (error) {
        out.push_back(error->message);
    }
    if (orderMessage) {
        out.push_back(*orderMessage);
    }
    return out;
}

FilterResult DesignFilter(const FilterInput& in) {
    FilterResult r;
    r.error = ValidateFilter(in);
    if (r.error) {
        return r;
    }
    r.order = in.order;
    if (r.order % 2 == 0) {
        r.order += 1;
        r.orderMessage = kOrderRaisedMessage;
    }
    r.ro = in.ro;
    r.title = FilterTitle(in.filterType, in.cutoffMHz, r.order, in.rippleDb, in.ro);
    r.g = ChebyshevPrototype(in.rippleDb, r.order);
    const double w = in.cutoffMHz * kTwoPiE6;
    for (int32_t k = 1; k <= r.order; ++k) {
        const ElementValues v = ValuesFor(r.g[static_cast<size_t>(k - 1)], in.ro, w);
        r.components.push_back(LadderElement(in, k, v));
    }
    return r;
}

int32_t ApplyFilter(SmithChrt& doc, const FilterResult& r, IMessageSink* sink) {
    if (r.error) {
        ReportTo(sink, r.error->message);
        return 0;
    }
    doc.showVswrCircles = true;
    doc.componentCount = 0;
    if (r.orderMessage) {
        ReportTo(sink, *r.orderMessage);
    }
    doc.chartZ0.re = r.ro;
    doc.startZ = {r.ro, 0};
    doc.goalZ = {r.ro, 0};
    doc.title = r.title;
    int32_t added = 0;
    for (const Component& c : r.components) {
        if (doc.AddComponent(c) == 1) {
            ++added;
        } else {
            ReportTo(sink, kProblemAddingMessage);
        }
    }
    return added;
}

int32_t RunFilter(SmithChrt& doc, const FilterInput& in, IMessageSink* sink) {
    return ApplyFilter(doc, DesignFilter(in), sink);
}
