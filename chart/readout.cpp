#include "chart/readout.h"

#include "model/devicebinding.h"
#include "model/matchfigures.h"
#include "model/measuredbinding.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"
#include "model/twoport.h"

#include <cmath>
#include <limits>

namespace readout {

namespace {

size_t Utf8Length(const std::string& s) {
    size_t n = 0;
    for (const char ch : s) {
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

std::string Rectangular(const char* prefix, Complex z) {
    if (z.re == std::numeric_limits<double>::infinity()) {
        return std::string(prefix) + "open (no finite impedance)"; // measured data's ideal open
    }
    return CFormat("%s%4.2f%s%4.2f", prefix, z.re, SignText(z.im), std::fabs(z.im));
}

// Compound elements write "+j" only for a reactance above zero.
const char* CompoundSign(double x) {
    return x > 0 ? "+j" : "-j";
}

std::string Compound(const char* name, const Component& c, Complex ze) {
    return CFormat(" %s RLC (%4.2f ohm, %4.2f nH, %4.2f pF) X=%4.2f %s %4.2f (Ohm) Fres=%5.2f",
                   name, c.resistance, c.inductance, c.capacitance, ze.re, CompoundSign(ze.im),
                   std::fabs(ze.im), ResonantFrequency(c));
}

} // namespace

const char* SignText(double im) {
    return im < 0 ? "-j" : "+j";
}

std::string TitleLine(const std::string& title, const std::string& dateTime) {
    const size_t length = Utf8Length(title);
    const std::string padding(length < 60 ? 60 - length : 0, ' ');
    return "Title:   " + padding + title + "      " + dateTime;
}

std::string SettingsLine(const SmithChrt& sc) {
    return CFormat("Freq=%8.3f MHz, Z0=%5.2f Ohms, %4.2f%c tune step", sc.frequency, sc.chartZ0.re,
                   sc.tunePercent, '%');
}

std::string NoDataLine(const char* name, double frequency) {
    return std::string(name) + ": no data at " + FormatBounded(frequency, 3) + " MHz";
}

std::string StartingLine(const SmithChrt& sc) {
    if (HasNoValueNow(sc, LoadEnd::Start)) {
        return NoDataLine("Starting [Generator]", sc.frequency);
    }
    if (sc.gammaMode == 1) {
        const GammaPolar g = sc.ZToGammaPolar(sc.startZ);
        return CFormat("Starting [Generator] Gamma is %4.3f @%5.2f deg.", g.magnitude, g.angle);
    }
    return Rectangular("Starting [Generator] Z is ", sc.startZ);
}

const char* PlacementWord(int32_t placement) {
    switch (placement) {
    case PLACE_SERIES:
    case PLACE_TL_SERIES:
        return "SERIES";
    case PLACE_SHUNT:
        return "SHUNT";
    case PLACE_TL_SHUNT_OPEN:
        return "SHUNT OPEN";
    case PLACE_TL_SHUNT_SHORTED:
        return "SHUNT SHORTED";
    default:
        return nullptr;
    }
}

std::string ComponentDescription(const Component& c, Complex ze, double f) {
    switch (c.kind) {
    case KIND_RESISTOR:
        return CFormat(" RES %4.2f (Ohms) ", c.resistance);
    case KIND_CAPACITOR:
        return CFormat(" CAP %4.2f pF X=-j %4.2f ohms ", c.capacitance,
                       1 / (f * c.capacitance * kTwoPiEm6));
    case KIND_INDUCTOR:
        return CFormat(" IND %4.2f nH X=+j %4.2f ohms ", c.inductance,
                       f * c.inductance * kTwoPiEm3);
    case KIND_TLINE:
        return CFormat(" TRL Z0=%5.2f (Ohms) ANG=%4.2f (deg) @Freq=%5.2f", c.lineZ0, c.lineAngle,
                       c.lineFreq);
    case KIND_PARALLEL_RLC:
        return Compound("Parallel", c, ze);
    case KIND_SERIES_RLC:
        return Compound("Series", c, ze);
    default:
        return {};
    }
}

std::string EndingLine(const SmithChrt& sc) {
    if (sc.gammaMode == 1) {
        const GammaPolar g = sc.ZToGammaPolar(sc.endZ);
        return CFormat("Ending [Load] Gamma = %4.3f @%5.2f deg.", g.magnitude, g.angle);
    }
    return Rectangular("Ending [Load] Z is ", sc.endZ);
}

std::string GoalLine(const SmithChrt& sc) {
    if (HasNoValueNow(sc, LoadEnd::Goal)) {
        return NoDataLine("Goal [Load]", sc.frequency);
    }
    if (const std::string problem = DeviceGoalProblem(sc); !problem.empty()) {
        return "Goal [Load]: " + problem;
    }
    if (sc.gammaMode == 1) {
        const GammaPolar g = sc.ZToGammaPolar(sc.goalZ);
        return CFormat("Goal [Load] Gamma  = %4.3f @%5.2f deg", g.magnitude, g.angle);
    }
    return Rectangular("Goal [Load] Z is ", sc.goalZ);
}

std::string MatchLine(Complex endZ, Complex goalZ) {
    const MatchFigures m = ComputeMatch(endZ, goalZ);
    return CFormat(" VSWR=%4.2f, RL=%4.2fdB, ML=%4.2fdB", m.vswr, m.returnLossDb, m.mismatchLossDb);
}

std::string MatchLine(const SmithChrt& sc) {
    if (sc.startData == nullptr && sc.goalData == nullptr) {
        return MatchLine(sc.endZ, sc.goalZ);
    }
    const MatchFigures m = ChartMatch(sc, sc.endZ);
    if (std::isnan(m.vswr)) {
        return CFormat(" Match: no data at %.3f MHz", sc.frequency);
    }
    if (!(m.returnLossDb < kPerfectMatchDb)) {
        return CFormat(" VSWR=%4.2f, RL: perfect match, ML=%4.2fdB", m.vswr,
                       std::fabs(m.mismatchLossDb));
    }
    return CFormat(" VSWR=%4.2f, RL=%4.2fdB, ML=%4.2fdB", m.vswr, m.returnLossDb, m.mismatchLossDb);
}

std::string QLine(double maxNetworkQ) {
    if (maxNetworkQ >= 10) {
        return CFormat("Max Network Q = %4.2f, plot limited to Q=%4.2f (curve)", maxNetworkQ, 10.0);
    }
    return CFormat("Max Network Q (curve) = %4.2f", maxNetworkQ);
}

std::string LossLine(const SmithChrt& sc) {
    const TwoPortFigures t = NetworkTwoPort(sc, sc.frequency, sc.startZ, sc.goalZ);
    return CFormat("Loss in parts=%4.2fdB, GT=%4.2fdB", t.dissipationLossDb, t.transducerGainDb);
}

std::string MarkerLabel(const SmithChrt& sc, Complex z) {
    if (sc.gammaMode == 1) {
        const GammaPolar g = sc.ZToGammaPolar(z);
        return CFormat("%4.3f@%5.2f deg", g.magnitude, g.angle);
    }
    return Rectangular("", z);
}

} // namespace readout

#include "chart/drawsurface.h"

void readout::WriteLine(SmithChrt& sc, const std::string& text) {
    sc.surface->TextOut({sc.textX, sc.textY}, text);
    sc.textY = ClampToInt32(int64_t{sc.textY} - sc.lineHeight);
}
