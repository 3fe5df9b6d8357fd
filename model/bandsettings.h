#pragma once

#include "model/frequencygrid.h"

#include <cstdint>

class SmithChrt;

inline constexpr int32_t kMinBandPoints = 2;
inline constexpr int32_t kMaxBandPoints = 10001;
inline constexpr int32_t kDefaultBandPoints = 101;

/// The band of band analysis and how it is shown. Frequencies in MHz. No band is set while low
/// and high are both 0, as in a new document. Saved in the document trailer ("BAND" record)
/// whenever it differs from its default.
struct BandSettings {
    double low = 0.0;
    double high = 0.0;
    int32_t points = kDefaultBandPoints; ///< frequencies evaluated, both ends included
    bool display = false;                ///< band locus, readout line and response plot shown
    bool junctionLoci = false;           ///< the loci after every component drawn as well

    /// False for the "no band set" state (low and high both 0).
    bool IsSet() const { return !(low == 0 && high == 0); }
    /// The band's frequencies.
    FrequencyGrid Grid() const { return {low, high, points}; }

    friend bool operator==(const BandSettings&, const BandSettings&) = default;
};

/// What is wrong with a band, checked in this order.
enum class BandProblem {
    None,
    NotFinite,        ///< low or high is NaN or infinite
    LowNotPositive,   ///< low <= 0
    HighNotAboveLow,  ///< high <= low
    PointsOutOfRange, ///< points outside kMinBandPoints .. kMaxBandPoints
};

/// Checks a band as the Band Setup dialog and the CLI's --band take it.
BandProblem CheckBand(double low, double high, int64_t points);
inline BandProblem CheckBand(const BandSettings& b) {
    return CheckBand(b.low, b.high, b.points);
}

/// A short English sentence for a problem; empty for None.
const char* BandProblemText(BandProblem p);

/// Sets the band's range and points when they pass CheckBand; the display flags are left alone.
BandProblem SetBand(SmithChrt& chart, double low, double high, int64_t points);

/// The range the display takes when it is first turned on with no band set: the lowest to the
/// highest of F1, F2, F3 when they are not all equal, otherwise the analysis frequency -10 % to
/// +10 %. When the first rule gives no valid band the second is tried. The result keeps
/// chart.band's points and flags; it fails CheckBand when the frequencies themselves are unusable.
BandSettings DefaultBand(const SmithChrt& chart);

/// Turns the band display on. With no band set it first takes DefaultBand. Returns false, and
/// changes nothing, when no valid band results.
bool TurnBandDisplayOn(SmithChrt& chart);
