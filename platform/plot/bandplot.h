#pragma once

#include "platform/drawing/chartpictures.h"

#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

class QChart;
class QLineSeries;
class QPainter;
class QScatterSeries;
class QValueAxis;
class SmithChrt;
struct BandResult;
struct BandSettings;

/// The band response plot: return loss (dB, left axis) and VSWR (right axis) against frequency,
/// with the band's edges, the analysis frequency and the worst point marked, drawn by Qt Charts.
/// It fills a chart it does not own with its series and axes once, and afterwards changes only
/// their points and ranges, so that an update while tuning stays cheap.
class CBandPlotContent {
public:
    explicit CBandPlotContent(QChart& chart);

    /// Shows the band of sc as sc.bandResult holds it (the last draw's evaluation); with the band
    /// display off, an empty plot that says so. Returns false when the plot already showed
    /// exactly this.
    bool Update(const SmithChrt& sc);
    /// The same from the parts: the band, the analysis frequency (MHz) and the evaluation.
    bool Update(const BandSettings& band, double analysisMHz, const BandResult& result);

    QLineSeries* ReturnLossSeries() const { return returnLoss; }
    QLineSeries* VswrSeries() const { return vswr; }
    QLineSeries* AnalysisSeries() const { return analysis; }
    /// The insertion loss (-GT) while the band holds the two-port figures; nullptr until then.
    QLineSeries* InsertionLossSeries() const { return insertionLoss; }
    QValueAxis* FrequencyAxis() const { return frequencyAxis; }

private:
    void ShowOff();
    void ShowInsertionLoss(const BandResult& result);
    void SetMarker(QLineSeries* series, double mhz, bool visible);

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
    /// What the plot shows now, to tell whether an update changes anything.
    std::vector<double> shown;
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
