#pragma once

#include "platform/drawing/chartpictures.h"

#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

class QAreaSeries;
class QChart;
class QLineSeries;
class QPainter;
class QScatterSeries;
class QXYSeries;
class QValueAxis;
class SmithChrt;
struct BandLimit;
struct BandResult;
struct BandSettings;

/// The band response plot: return loss (dB, left axis) and VSWR (right axis) against frequency,
/// with the band's edges, the analysis frequency, the worst point, the band's limit and the
/// frequencies without data marked, drawn by Qt Charts. Its value axes hold still while tuning:
/// return loss 0-40 dB and VSWR 1-3 unless the data needs more, widened in round steps only when a
/// point leaves them, and kept (never narrowed) until the band itself changes; locked, they do
/// not change at all. A point beyond an axis is drawn at its edge, so the worst is always seen.
/// Frequencies of a band above 10 GHz are shown in GHz.
/// It fills a chart it does not own with its series and axes once, and afterwards changes only
/// their points and ranges, so that an update while tuning stays cheap.
class CBandPlotContent {
public:
    explicit CBandPlotContent(QChart& chart);

    /// Shows the band of sc as sc.bandResult holds it (the last draw's evaluation); with the band
    /// display off, an empty plot that says so. Returns false when the plot already showed
    /// exactly this.
    bool Update(const SmithChrt& sc);
    /// The same from the parts: the band, its limit, the analysis frequency (MHz) and the
    /// evaluation.
    bool Update(const BandSettings& band, const BandLimit& limit, double analysisMHz,
                const BandResult& result);

    QLineSeries* ReturnLossSeries() const { return returnLoss; }
    QLineSeries* VswrSeries() const { return vswr; }
    QLineSeries* AnalysisSeries() const { return analysis; }
    /// The insertion loss (-GT) while the band holds the two-port figures; nullptr until then.
    QLineSeries* InsertionLossSeries() const { return insertionLoss; }
    /// The limit's line, on the axis of its kind.
    QLineSeries* LimitSeries(bool vswrLimit) const { return vswrLimit ? vswrLimitLine : limitLine; }
    /// The Bode-Fano limit's dashed line on the VSWR axis, named with its VSWR; empty while none
    /// is shown (sc.bodeFanoVswr 0).
    QLineSeries* BodeFanoSeries() const { return bodeFano; }
    QLineSeries* GapSeries() const { return gapUpper; }
    QValueAxis* FrequencyAxis() const { return frequencyAxis; }
    QValueAxis* ReturnLossAxis() const { return returnLossAxis; }
    QValueAxis* VswrAxis() const { return vswrAxis; }

    /// Locks the value axes at their present ranges, or lets them follow the data again.
    void SetAxesLocked(bool locked);
    bool AxesLocked() const { return axesLocked; }

private:
    void ShowOff();
    void ShowInsertionLoss(const BandResult& result, double scale);
    void SetMarker(QLineSeries* series, double x, bool visible);
    void FitValueAxes(const BandSettings& band, const BandResult& result);
    void ShowLimit(const BandSettings& band, const BandLimit& limit, double scale);
    void ShowGaps(const BandResult& result, double scale);
    void ShowBodeFano(const BandSettings& band, double scale);

    QChart& chart;
    QValueAxis* frequencyAxis;
    QValueAxis* returnLossAxis;
    QValueAxis* vswrAxis;
    QLineSeries* returnLoss;
    QLineSeries* vswr;
    QScatterSeries* worst;
    QLineSeries* analysis;
    QLineSeries* lowEdge;
    QLineSeries* highEdge;
    /// Made when a band with a loss set is first shown, so that a lossless plot stays as it was.
    QLineSeries* insertionLoss = nullptr;
    std::vector<double> insertionLossDb;
    QLineSeries* limitLine;     ///< a return-loss limit, on its axis
    QLineSeries* vswrLimitLine; ///< a VSWR limit, on its axis
    QLineSeries* bodeFano;
    double bodeFanoVswr = 0; ///< the Bode-Fano limit's VSWR to show; 0 for none
    QAreaSeries* gaps;
    QLineSeries* gapUpper; ///< the upper edge of the shading over frequencies without data
    /// What the plot shows now, to tell whether an update changes anything.
    std::vector<double> shown;
    bool axesLocked = false;
    /// The value axes' present ranges and the band they were fitted to.
    double returnLossLow = 0, returnLossHigh = 0, vswrHigh = 0;
    double fittedLow = 0, fittedHigh = 0;
};

/// Draws the band response of sc, as sc.bandResult holds it, into target (device units of the
/// painter) at the proportions of a plot laid out at the screen's resolution: fonts and lines
/// keep their size relative to the plot on a printed page. Print, preview and pictures use it.
void RenderBandPlot(const SmithChrt& sc, QPainter& painter, const QRectF& target);

/// The band response of doc, evaluated afresh, as a picture of size pixels on white: the page
/// an export of the chart adds while the band display is on.
PicturePage BandPlotPage(const SmithChrt& doc, QSize size);

/// Writes the band response of doc, evaluated afresh, to a picture file of size pixels (PNG, or
/// SVG and PDF as vector drawings at the screen's resolution), atomically. Needs a Qt widget
/// application. Returns false when the picture cannot be made or the file cannot be written.
bool WriteBandPlotPicture(const SmithChrt& doc, QSize size, const QString& path,
                          PictureFormat format);
