#pragma once

#include "chart/drawsurface.h"
#include "model/complex.h"
#include "model/geometry.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class SmithChrt;
struct BandResult;
struct BandLimit;
struct BandSettings;

// Band analysis on the chart: the locus of the ending impedance across the band, the loci of
// the junctions, the markers at the band's ends and the readout's band line. DrawChart calls
// these only while the band display is on.

/// The ending impedance's locus: a colour no other curve of the chart uses.
inline constexpr Pen kBandLocusPen{3, {204, 0, 204}};
/// The loci after every component: thin and light, behind the ending locus.
inline constexpr Pen kJunctionLocusPen{1, {205, 160, 235}};
/// The outline of the markers at the band's low and high ends.
inline constexpr Pen kBandEndPen{2, {204, 0, 204}};
/// The colour of the end markers' frequency labels.
inline constexpr Rgb kBandLabelText{140, 0, 140};
/// The colour of the junction loci's labels (their component's number).
inline constexpr Rgb kJunctionLabelText{130, 80, 170};

/// Evaluates sc's network across sc.band into sc.bandResult (its vectors reused from the last
/// draw), then draws the junction loci (when sc.band.junctionLoci is on), the ending impedance's
/// locus and the markers at its two ends. When sc.textMarkers is 1 the end markers are labelled
/// with their frequencies, placed clear of the network markers' labels, and each junction locus
/// with its component's number at its high end. DrawChart calls it after the network, so that
/// the locus lies above the traces. Needs the geometry and surface of the draw in sc. Changes
/// nothing else of sc.
void DrawBandLocus(SmithChrt& sc);

/// One locus as a connected curve with the current pen: a point that is not finite, or that
/// lies beyond the drawing coordinates, breaks it (no segment to or from it).
void DrawLocus(SmithChrt& sc, std::span<const Complex> locus);

/// The readout's band lines, short enough to stay clear of the chart as the other readout lines
/// do: "Band 400.000-470.000 MHz:", then " VSWR<=1.85 @470.000 MHz, RL>=10.52dB" (" VSWR<=1.00
/// @470.000 MHz, perfect match" for a return loss of kPerfectMatchDb or more, " no valid point"
/// when no frequency of the band gave a VSWR; while the result holds the two-port figures, a
/// loss being set, ", GT>=%4.2fdB" with the band's lowest transducer gain follows), then
/// " 5 of 31 points without data" where the data does not reach some, then
/// " 3 of 101 points fail RL>=10 dB" while a limit is set. Frequencies far out of the ordinary
/// are written in a bounded form.
std::vector<std::string> BandLines(const BandSettings& band, const BandLimit& limit,
                                   const BandResult& result);

/// The label of a band end marker: "%.3f MHz".
std::string BandEndLabel(double mhz);

/// A printed page with the band response: the chart's part, in which the chart's printing rule
/// then places it, and the plot's part below the chart, both in printer device units (y down).
struct BandPageLayout {
    Rect chartPart;
    Rect chart; ///< where the printing rule puts the chart inside chartPart
    Rect plot;
};

/// Splits printRect for a client area of cw x ch pixels on a printer whose dots are k times as
/// high as wide: the plot takes up to a third of the page's height (at most half its width)
/// below the chart, the chart the rest by the ordinary printing rule.
BandPageLayout LayOutBandPage(int32_t cw, int32_t ch, Rect printRect, double k);
