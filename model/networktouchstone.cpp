#include "model/networktouchstone.h"

#include "model/bandevaluation.h"
#include "model/bandsettings.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"
#include "model/twoport.h"
#include "quorbel_config.h"

#include <cmath>
#include <vector>

namespace {

std::string Number(double v) {
    return CFormat("%.17g", v);
}

bool Finite(Complex z) {
    return std::isfinite(z.re) && std::isfinite(z.im);
}

// A comment line holds no line breaks.
std::string OneLine(std::string text) {
    for (char& ch : text) {
        if (ch == '\n' || ch == '\r') {
            ch = ' ';
        }
    }
    return text;
}

std::vector<double> Frequencies(const SmithChrt& chart) {
    std::vector<double> f;
    if (chart.band.display && chart.band.IsSet() && CheckBand(chart.band) == BandProblem::None) {
        for (int32_t k = 0; k < chart.band.points; ++k) {
            f.push_back(BandFrequency(chart.band, k));
        }
    } else {
        f.push_back(chart.frequency);
    }
    return f;
}

} // namespace

NetworkTouchstone WriteNetworkTouchstone(const SmithChrt& chart, const std::string& documentName) {
    const double r = chart.chartZ0.re;
    if (!(r > 0) || !std::isfinite(r)) {
        return {"", "the chart Z0 must be a positive number of ohms"};
    }
    std::string text = std::string("! ") + kProgramName + " " + kProgramVersion +
                       ": the network of " + OneLine(documentName) + "\n" +
                       "! port 1 at the starting [Generator] end, port 2 at the goal [Load] end\n" +
                       "# MHz S RI R " + Number(r) + "\n";
    for (const double f : Frequencies(chart)) {
        const std::optional<Abcd> m = NetworkAbcd(chart, f);
        if (!m) {
            return {"", "the network has a component of unknown kind or placement"};
        }
        const SParameters s = AbcdToS(*m, r);
        if (!std::isfinite(f) || !(f > 0) || !Finite(s.s11) || !Finite(s.s21) || !Finite(s.s12) ||
            !Finite(s.s22)) {
            return {"", "the network has no finite S-parameters at " + FormatExact(f) + " MHz"};
        }
        // Version 1 files list a two-port's parameters as S11, S21, S12, S22.
        text += Number(f);
        for (const Complex z : {s.s11, s.s21, s.s12, s.s22}) {
            text += " " + Number(z.re) + " " + Number(z.im);
        }
        text += "\n";
    }
    return {text, ""};
}
