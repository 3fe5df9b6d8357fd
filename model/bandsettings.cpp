#include "model/bandsettings.h"

#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>

bool BandLimit::Fails(double vswr, double returnLossDb) const {
    switch (kind) {
    case BandLimitKind::ReturnLoss:
        return returnLossDb < value;
    case BandLimitKind::Vswr:
        return vswr > value;
    case BandLimitKind::None:
        break;
    }
    return false;
}

const char* BandLimitProblem(const BandLimit& limit) {
    switch (limit.kind) {
    case BandLimitKind::ReturnLoss:
        return std::isfinite(limit.value) && limit.value > 0
                   ? ""
                   : "The return-loss limit must be a number of dB above 0.";
    case BandLimitKind::Vswr:
        return std::isfinite(limit.value) && limit.value > 1
                   ? ""
                   : "The VSWR limit must be a number above 1.";
    case BandLimitKind::None:
        return "";
    }
    return "The limit must be a return loss or a VSWR.";
}

std::string BandLimitText(const BandLimit& limit) {
    switch (limit.kind) {
    case BandLimitKind::ReturnLoss:
        return CFormat("RL>=%g dB", limit.value);
    case BandLimitKind::Vswr:
        return CFormat("VSWR<=%g", limit.value);
    case BandLimitKind::None:
        break;
    }
    return {};
}

BandProblem CheckBand(double low, double high, int64_t points) {
    if (!std::isfinite(low) || !std::isfinite(high)) {
        return BandProblem::NotFinite;
    }
    if (!(low > 0)) {
        return BandProblem::LowNotPositive;
    }
    if (!(high > low)) {
        return BandProblem::HighNotAboveLow;
    }
    if (points < kMinBandPoints || points > kMaxBandPoints) {
        return BandProblem::PointsOutOfRange;
    }
    return BandProblem::None;
}

const char* BandProblemText(BandProblem p) {
    switch (p) {
    case BandProblem::NotFinite:
        return "The band's frequencies must be finite numbers.";
    case BandProblem::LowNotPositive:
        return "The band's low frequency must be above 0 MHz.";
    case BandProblem::HighNotAboveLow:
        return "The band's high frequency must be above its low frequency.";
    case BandProblem::PointsOutOfRange:
        return "The band needs from 2 to 10001 points.";
    case BandProblem::None:
        break;
    }
    return "";
}

BandProblem SetBand(SmithChrt& chart, double low, double high, int64_t points) {
    const BandProblem p = CheckBand(low, high, points);
    if (p == BandProblem::None) {
        chart.band.low = low;
        chart.band.high = high;
        chart.band.points = static_cast<int32_t>(points);
    }
    return p;
}

BandSettings DefaultBand(const SmithChrt& chart) {
    BandSettings b = chart.band;
    const bool spread = !(chart.f1Freq == chart.f2Freq && chart.f2Freq == chart.f3Freq);
    if (spread) {
        b.low = std::min({chart.f1Freq, chart.f2Freq, chart.f3Freq});
        b.high = std::max({chart.f1Freq, chart.f2Freq, chart.f3Freq});
        if (CheckBand(b.low, b.high, kDefaultBandPoints) == BandProblem::None) {
            return b;
        }
    }
    b.low = chart.frequency * 0.9;
    b.high = chart.frequency * 1.1;
    return b;
}

bool TurnBandDisplayOn(SmithChrt& chart) {
    BandSettings b = chart.band;
    if (!b.IsSet()) {
        b = DefaultBand(chart);
    }
    if (CheckBand(b) != BandProblem::None) {
        return false;
    }
    b.display = true;
    chart.band = b;
    return true;
}
