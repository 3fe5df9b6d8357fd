#include "cli/spicenetlist.h"

#include "model/bandsettings.h"
#include "model/constants.h"
#include "model/losses.h"
#include "model/measuredbinding.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kGround = -1;
constexpr const char* kNotFinite = "a value is not a finite number";

// One element line: a name, its nodes and what follows them.
struct Element {
    std::string name;
    std::vector<int> nodes;
    std::string value;
};

std::string Problem(int32_t index, const std::string& what) {
    return "component " + std::to_string(index + 1) + ": " + what;
}

// Builds the element list while it walks the network from the generator end.
class CNetlistBuilder {
public:
    explicit CNetlistBuilder(const SmithChrt& doc)
        : doc(doc), hz(doc.frequency * 1e6), sweep(doc.band.display) {}

    std::string Build() {
        if (!(std::isfinite(hz) && hz > 0)) {
            return "the analysis frequency must be a positive number";
        }
        if (sweep && CheckBand(doc.band) != BandProblem::None) {
            return BandProblemText(CheckBand(doc.band));
        }
        if (HasNoFiniteValueNow(doc, LoadEnd::Start)) {
            return NoValueMessage(doc, LoadEnd::Start);
        }
        if (std::string e = Termination(doc.startZ); !e.empty()) {
            return e;
        }
        double theta = 0;
        const int32_t n = std::clamp(doc.componentCount, 0, MAX_COMPONENTS);
        for (int32_t i = 0; i < n; ++i) {
            const Component& c = doc.components[i];
            Complex ze;
            double lineLoss = 0;
            if (!doc.ElementAt(c, ze, theta, lineLoss)) {
                return Problem(i, "its kind " + std::to_string(c.kind) + " is unknown");
            }
            if (std::string e = AddComponent(i, c, ze, theta, lineLoss); !e.empty()) {
                return Problem(i, e);
            }
        }
        return "";
    }

    std::string Text() const {
        std::string t = "Quorbel network " + OneLine(doc.title) + "\n";
        if (sweep) {
            t += "* band from " + FormatExact(doc.band.low) + " to " + FormatExact(doc.band.high) +
                 " MHz in " + std::to_string(doc.band.points) + " points";
        } else {
            t += "* analysis at " + FormatExact(doc.frequency) + " MHz";
        }
        t += std::string("; V(") + kSpiceLoadNode + ") is the ending impedance in ohm\n";
        if (doc.startData != nullptr) {
            // No fixed element follows measured data across frequency.
            t += "* the starting impedance is bound to the data of " +
                 OneLine(doc.startData->name) +
                 ", which no fixed element can follow: it is terminated in the data's value at " +
                 FormatExact(doc.frequency) + " MHz";
            t += sweep ? ", the same at every frequency of the band\n" : "\n";
        }
        if (sweep && lossy) {
            t += "* the parts' losses are fixed at their values at " + FormatExact(doc.frequency) +
                 " MHz across the band\n";
        }
        for (const Element& e : elements) {
            t += e.name;
            for (const int node : e.nodes) {
                t += ' ';
                t += NodeName(node);
            }
            t += " " + e.value + "\n";
        }
        for (const std::string& model : models) {
            t += model + "\n";
        }
        t += "Iload 0 " + NodeName(current) + " DC 0 AC 1\n";
        // The network is linear and may have no DC path: no operating point is needed.
        t += ".options noopac\n";
        if (sweep && doc.band.points == 2) {
            // ngspice takes a linear sweep of two points for one point: two analyses instead.
            t += "* the band's two frequencies as two analyses\n";
            t += ".ac lin 1 " + FormatExact(doc.band.low * 1e6) + " " +
                 FormatExact(doc.band.low * 1e6) + "\n";
            t += ".ac lin 1 " + FormatExact(doc.band.high * 1e6) + " " +
                 FormatExact(doc.band.high * 1e6) + "\n";
        } else if (sweep) {
            t += ".ac lin " + std::to_string(doc.band.points) + " " +
                 FormatExact(doc.band.low * 1e6) + " " + FormatExact(doc.band.high * 1e6) + "\n";
        } else {
            t += ".ac lin 1 " + FormatExact(hz) + " " + FormatExact(hz) + "\n";
        }
        t += std::string(".print ac real(v(") + kSpiceLoadNode + ")) imag(v(" + kSpiceLoadNode +
             "))\n";
        return t + ".end\n";
    }

private:
    static std::string OneLine(const std::string& text) {
        std::string out = text;
        std::replace_if(
            out.begin(), out.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x20; },
            ' ');
        return out;
    }

    std::string NodeName(int node) const {
        if (node == kGround) {
            return "0";
        }
        if (node == current) {
            return kSpiceLoadNode;
        }
        if (node == 0) {
            return "gen";
        }
        // Appended rather than concatenated: GCC 12 at -O3 warns (-Wrestrict) about "n" + text.
        std::string name = "n";
        name += std::to_string(node);
        return name;
    }

    int NewNode() { return ++lastNode; }

    static bool Finite(std::initializer_list<double> values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    }

    void Add(std::string name, std::vector<int> nodes, double value) {
        elements.push_back({std::move(name), std::move(nodes), FormatExact(value)});
    }

    // A resistor; a short for 0 ohm, which SPICE cannot take as a resistance.
    void Resistor(const std::string& id, int a, int b, double ohm) {
        if (ohm == 0) {
            elements.push_back({"V" + id, {a, b}, "0"});
        } else {
            Add("R" + id, {a, b}, ohm);
        }
    }

    // The generator end: R in series with the inductor or capacitor of reactance X at the
    // analysis frequency, to ground.
    std::string Termination(Complex z) {
        if (!Finite({z.re, z.im})) {
            return "the starting impedance is not a finite number";
        }
        if (z.im == 0) {
            Resistor("start", 0, kGround, z.re);
            return "";
        }
        int reactive = 0;
        if (z.re != 0) {
            reactive = NewNode();
            Add("Rstart", {0, reactive}, z.re);
        }
        if (sweep) {
            // The same reactance at every frequency of the sweep, as the band takes the starting
            // impedance: an inductance that ngspice recomputes at each frequency.
            elements.push_back(
                {"Lstart", {reactive, kGround}, "L={" + FormatExact(z.im) + "/(2*pi*hertz)}"});
        } else if (z.im > 0) {
            Add("Lstart", {reactive, kGround}, z.im / (doc.frequency * kTwoPiEm3) / kHenryToNano);
        } else {
            Add("Cstart", {reactive, kGround},
                -1 / (doc.frequency * z.im * kTwoPiEm6) / kFaradToPico);
        }
        return "";
    }

    // A lossy inductor or capacitor's series resistance at the analysis frequency, from node a to
    // a new node where the part continues; a itself when the part is lossless.
    int LossResistor(const std::string& id, const Component& c, int a) {
        const double r = EvaluateElement(doc.losses, c, doc.frequency).ze.re;
        if (!(r > 0)) {
            return a;
        }
        lossy = true;
        const int m = NewNode();
        Add("Rloss" + id, {a, m}, r);
        return m;
    }

    std::string Lumped(const std::string& id, const Component& c, int a, int b) {
        const double farad = c.capacitance / kFaradToPico;
        const double henry = c.inductance / kHenryToNano;
        switch (c.kind) {
        case KIND_RESISTOR:
            Resistor(id, a, b, c.resistance);
            return Finite({c.resistance}) ? "" : kNotFinite;
        case KIND_CAPACITOR:
            Add("C" + id, {LossResistor(id, c, a), b}, farad);
            return Finite({farad}) ? "" : kNotFinite;
        case KIND_INDUCTOR:
            Add("L" + id, {LossResistor(id, c, a), b}, henry);
            return Finite({henry}) ? "" : kNotFinite;
        case KIND_TLINE: // a line placed as a lumped element acts as its impedance
            Resistor(id, a, b, c.lineZ0);
            return Finite({c.lineZ0}) ? "" : kNotFinite;
        case KIND_PARALLEL_RLC:
            Resistor(id, a, b, c.resistance);
            Add("L" + id, {a, b}, henry);
            Add("C" + id, {a, b}, farad);
            break;
        default: { // series RLC
            const int m1 = NewNode();
            const int m2 = NewNode();
            Resistor(id, a, m1, c.resistance);
            Add("L" + id, {m1, m2}, henry);
            Add("C" + id, {m2, b}, farad);
        }
        }
        return Finite({c.resistance, henry, farad}) ? "" : kNotFinite;
    }

    // A lossless line of impedance ze and electrical length theta at the analysis frequency.
    // Only the angle modulo 180 degrees matters to the impedance it presents, so a length of
    // zero or less is written as its positive equivalent.
    std::string Line(const std::string& id, Complex ze, double theta, std::vector<int> nodes,
                     int32_t placement, double lineLoss) {
        if (ze.im != 0 || !(ze.re > 0) || !std::isfinite(ze.re)) {
            return "a line needs a positive real characteristic impedance";
        }
        if (!std::isfinite(theta)) {
            return "the line's electrical angle is not a finite number";
        }
        if (lineLoss > 0) {
            return LossyLine(id, ze.re, theta, std::move(nodes), lineLoss);
        }
        if (sweep) {
            return SweptLine(id, ze, theta, std::move(nodes), placement);
        }
        double degrees = std::fmod(theta, 360);
        if (degrees <= 0) {
            degrees = std::fmod(degrees, 180) + 180;
        }
        const double delay = degrees / 360 / hz;
        elements.push_back(
            {"T" + id, std::move(nodes), "Z0=" + FormatExact(ze.re) + " TD=" + FormatExact(delay)});
        return "";
    }

    // A lossy line as ngspice's lossy transmission line (LTRA) of unit length: L and C give Z0 and
    // the delay of theta at the analysis frequency, R the line's attenuation there (alpha l
    // nepers, R = 2 alpha Z0: the low-loss line, whose Z0 stays nearly real).
    std::string LossyLine(const std::string& id, double z0, double theta, std::vector<int> nodes,
                          double lineLoss) {
        if (!(theta > 0)) {
            return "a lossy line needs a positive electrical length";
        }
        lossy = true;
        const double delay = theta / 360 / hz;
        const double nepers = lineLoss * theta;
        const std::string model = "ltra" + id;
        models.push_back(".model " + model + " LTRA R=" + FormatExact(2 * nepers * z0) + " L=" +
                         FormatExact(z0 * delay) + " G=0 C=" + FormatExact(delay / z0) + " LEN=1");
        elements.push_back({"O" + id, std::move(nodes), model});
        return "";
    }

    // Across a band the line's angle grows with the frequency: a line of the delay that gives
    // theta at the analysis frequency. A line of no length is a plain connection.
    std::string SweptLine(const std::string& id, Complex ze, double theta, std::vector<int> nodes,
                          int32_t placement) {
        if (theta < 0) {
            return "a line of negative electrical length cannot be swept across a band";
        }
        if (theta == 0) {
            // A series line joins its ends, a shorted stub shorts its node, an open one is absent.
            if (placement == PLACE_TL_SERIES) {
                Resistor(id, nodes[0], nodes[2], 0);
            } else if (placement == PLACE_TL_SHUNT_SHORTED) {
                Resistor(id, nodes[0], kGround, 0);
            }
            return "";
        }
        elements.push_back({"T" + id, std::move(nodes),
                            "Z0=" + FormatExact(ze.re) + " TD=" + FormatExact(theta / 360 / hz)});
        return "";
    }

    std::string AddComponent(int32_t i, const Component& c, Complex ze, double theta,
                             double lineLoss) {
        const std::string id = std::to_string(i + 1);
        switch (c.placement) {
        case PLACE_SERIES: {
            const int next = NewNode();
            std::string e = Lumped(id, c, current, next);
            current = next;
            return e;
        }
        case PLACE_SHUNT:
            return Lumped(id, c, current, kGround);
        case PLACE_TL_SERIES: {
            const int next = NewNode();
            std::string e =
                Line(id, ze, theta, {current, kGround, next, kGround}, c.placement, lineLoss);
            current = next;
            return e;
        }
        case PLACE_TL_SHUNT_OPEN:
            return Line(id, ze, theta, {current, kGround, NewNode(), kGround}, c.placement,
                        lineLoss);
        case PLACE_TL_SHUNT_SHORTED:
            return Line(id, ze, theta, {current, kGround, kGround, kGround}, c.placement, lineLoss);
        default: // the evaluation leaves the impedance as it is
            return "";
        }
    }

    const SmithChrt& doc;
    const double hz;
    const bool sweep; ///< across the band instead of at the analysis frequency
    std::vector<Element> elements;
    std::vector<std::string> models;
    bool lossy = false; ///< some part's loss is in the netlist
    int lastNode = 0;
    int current = 0;
};

} // namespace

SpiceNetlist WriteSpiceNetlist(const SmithChrt& doc) {
    CNetlistBuilder builder(doc);
    const std::string error = builder.Build();
    if (!error.empty()) {
        return {"", error};
    }
    return {builder.Text(), ""};
}
