#include "platform/plot/bandplot.h"

#include "chart/bandlocus.h"
#include "model/bandevaluation.h"
#include "model/bandsettings.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <QAreaSeries>
#include <QChart>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <tuple>

namespace {

// The colours: the VSWR takes the colour of the band's locus on the chart, whose VSWR it is.
const QColor kReturnLossColour(0, 110, 170);
const QColor kVswrColour(kBandLocusPen.colour.r, kBandLocusPen.colour.g, kBandLocusPen.colour.b);
const QColor kAnalysisColour(0, 150, 0);
const QColor kEdgeColour(120, 120, 120);
const QColor kInsertionLossColour(210, 110, 0);
const QColor kLimitColour(210, 30, 30);
const QColor kGapColour(200, 200, 200, 140);
const QColor kBodeFanoColour(0, 150, 150);

// The value axes' ranges before the data needs more, and the most they widen to.
constexpr double kReturnLossTop = 40;
constexpr double kReturnLossMost = 200;
constexpr double kVswrTop = 3;
constexpr double kVswrMost = 1000;
// Above this the frequency axis is in GHz.
constexpr double kGigahertzFrom = 10000;

// The screen resolution the plot is laid out at; a page scales it as a whole.
constexpr double kLayoutDpi = 96;

// The round VSWR at or above v, for the axis's top.
double VswrStep(double v) {
    for (const double step : {3.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0}) {
        if (v <= step) {
            return step;
        }
    }
    return kVswrMost;
}

double VswrTickInterval(double top) {
    return top <= 3 ? 0.5 : top <= 10 ? 1 : top <= 20 ? 5 : top / 5;
}

void SetTicks(QValueAxis* axis, double anchor, double interval) {
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(anchor);
    axis->setTickInterval(interval);
    axis->setLabelFormat(QStringLiteral("%g"));
}

QLineSeries* NewSeries(QChart& chart, const QString& name, const QColor& colour, qreal width,
                       Qt::PenStyle style) {
    auto* series = new QLineSeries(&chart);
    series->setName(name);
    QPen pen(colour, width, style);
    pen.setCosmetic(true);
    series->setPen(pen);
    chart.addSeries(series);
    return series;
}

QValueAxis* NewAxis(QChart& chart, const QString& title, Qt::Alignment side) {
    auto* axis = new QValueAxis(&chart);
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%g"));
    chart.addAxis(axis, side);
    return axis;
}

void Attach(QAbstractSeries* series, QValueAxis* x, QValueAxis* y) {
    series->attachAxis(x);
    series->attachAxis(y);
}

// The points with a value, scaled in x and kept within [low, high] in y: a point beyond the
// axis is drawn at its edge.
void SetPoints(QXYSeries* series, const std::vector<double>& x, const std::vector<double>& y,
               double scale, double low, double high) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(x.size()));
    for (size_t k = 0; k < x.size(); ++k) {
        // A point without a value is left out: Qt Charts cannot draw a gap.
        if (!std::isnan(y[k])) {
            points.append({x[k] * scale, std::clamp(y[k], low, high)});
        }
    }
    series->replace(points);
}

// Ticks on round frequencies, about six across the axis, labelled with the digits they need.
void SetFrequencyTicks(QValueAxis* axis) {
    const double span = axis->max() - axis->min();
    if (!(span > 0) || !std::isfinite(span)) {
        return;
    }
    const double raw = span / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    const double step = (f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10) * magnitude;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(std::ceil(axis->min() / step) * step);
    axis->setTickInterval(step);
    // Fixed labels while they stay short; otherwise as many significant digits as tell the ticks
    // apart, so that a band far up or down never gives labels of hundreds of digits.
    const double size = std::max(std::fabs(axis->min()), std::fabs(axis->max()));
    const int decimals = static_cast<int>(-std::floor(std::log10(step)));
    if (size < 1e9 && decimals <= 9) {
        axis->setLabelFormat(QStringLiteral("%.") + QString::number(std::max(decimals, 0)) +
                             QStringLiteral("f"));
    } else {
        const int digits =
            std::clamp(static_cast<int>(std::floor(std::log10(size / step))) + 2, 1, 15);
        axis->setLabelFormat(QStringLiteral("%.") + QString::number(digits) + QStringLiteral("g"));
    }
}

void Append(std::vector<double>& to, const std::vector<double>& values) {
    to.insert(to.end(), values.begin(), values.end());
}

} // namespace

CBandPlotContent::CBandPlotContent(QChart& chart) : chart(chart) {
    chart.setAnimationOptions(QChart::NoAnimation);
    chart.setBackgroundRoundness(0);
    chart.setMargins(QMargins(4, 4, 4, 4));
    chart.legend()->setAlignment(Qt::AlignBottom);
    frequencyAxis = NewAxis(chart, QStringLiteral("Frequency (MHz)"), Qt::AlignBottom);
    returnLossAxis = NewAxis(chart, QStringLiteral("RL (dB)"), Qt::AlignLeft);
    vswrAxis = NewAxis(chart, QStringLiteral("VSWR"), Qt::AlignRight);
    vswrAxis->setGridLineVisible(false);
    returnLossAxis->setLinePenColor(kReturnLossColour);
    returnLossAxis->setLabelsColor(kReturnLossColour);
    vswrAxis->setLinePenColor(kVswrColour);
    vswrAxis->setLabelsColor(kVswrColour);

    lowEdge = NewSeries(chart, QStringLiteral("Band edges"), kEdgeColour, 1, Qt::DashLine);
    highEdge = NewSeries(chart, QString(), kEdgeColour, 1, Qt::DashLine);
    analysis = NewSeries(chart, QStringLiteral("Analysis frequency"), kAnalysisColour, 1.5,
                         Qt::DashDotLine);
    returnLoss =
        NewSeries(chart, QStringLiteral("Return loss"), kReturnLossColour, 2, Qt::SolidLine);
    vswr = NewSeries(chart, QStringLiteral("VSWR"), kVswrColour, 2, Qt::SolidLine);
    limitLine = NewSeries(chart, QStringLiteral("Limit"), kLimitColour, 1.5, Qt::DashLine);
    vswrLimitLine = NewSeries(chart, QStringLiteral("Limit"), kLimitColour, 1.5, Qt::DashLine);
    bodeFano = NewSeries(chart, QStringLiteral("Bode-Fano"), kBodeFanoColour, 1.5, Qt::DashLine);
    gapUpper = new QLineSeries(&chart);
    gaps = new QAreaSeries(gapUpper);
    gaps->setName(QStringLiteral("No data"));
    gaps->setColor(kGapColour);
    gaps->setBorderColor(kGapColour);
    chart.addSeries(gaps);
    worst = new QScatterSeries(&chart);
    worst->setName(QStringLiteral("Worst VSWR"));
    worst->setMarkerSize(9);
    worst->setColor(kVswrColour);
    worst->setBorderColor(kVswrColour);
    chart.addSeries(worst);

    for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{
             gaps, lowEdge, highEdge, analysis, returnLoss, limitLine}) {
        Attach(s, frequencyAxis, returnLossAxis);
    }
    Attach(vswr, frequencyAxis, vswrAxis);
    Attach(worst, frequencyAxis, vswrAxis);
    Attach(vswrLimitLine, frequencyAxis, vswrAxis);
    Attach(bodeFano, frequencyAxis, vswrAxis);
    for (QAbstractSeries* s :
         std::initializer_list<QAbstractSeries*>{highEdge, vswrLimitLine, bodeFano}) {
        for (QLegendMarker* marker : chart.legend()->markers(s)) {
            marker->setVisible(false);
        }
    }
    ShowOff();
}

void CBandPlotContent::ShowOff() {
    if (insertionLoss != nullptr) {
        insertionLoss->clear();
    }
    chart.setTitle(QStringLiteral("Band response: the band display is off"));
    for (QXYSeries* s :
         std::initializer_list<QXYSeries*>{returnLoss, vswr, worst, analysis, lowEdge, highEdge,
                                           limitLine, vswrLimitLine, bodeFano, gapUpper}) {
        s->clear();
    }
    frequencyAxis->setTickType(QValueAxis::TicksFixed);
    frequencyAxis->setLabelFormat(QStringLiteral("%g"));
    frequencyAxis->setRange(0, 1);
    returnLossAxis->setRange(0, kReturnLossTop);
    vswrAxis->setRange(1, kVswrTop);
}

void CBandPlotContent::ShowInsertionLoss(const BandResult& result, double scale) {
    if (!result.HasTwoPort()) {
        if (insertionLoss != nullptr) {
            insertionLoss->clear();
            for (QLegendMarker* marker : chart.legend()->markers(insertionLoss)) {
                marker->setVisible(false);
            }
        }
        return;
    }
    if (insertionLoss == nullptr) {
        insertionLoss = NewSeries(chart, QStringLiteral("Insertion loss (-GT, dB)"),
                                  kInsertionLossColour, 2, Qt::SolidLine);
        Attach(insertionLoss, frequencyAxis, returnLossAxis);
    }
    for (QLegendMarker* marker : chart.legend()->markers(insertionLoss)) {
        marker->setVisible(true);
    }
    SetPoints(insertionLoss, result.frequencies, insertionLossDb, scale, returnLossLow,
              returnLossHigh);
}

void CBandPlotContent::SetAxesLocked(bool locked) {
    axesLocked = locked;
    shown.clear(); // the next update fits the axes again
}

void CBandPlotContent::SetMarker(QLineSeries* series, double x, bool visible) {
    if (!visible) {
        series->clear();
        return;
    }
    series->replace(QList<QPointF>{{x, returnLossAxis->min()}, {x, returnLossAxis->max()}});
}

void CBandPlotContent::FitValueAxes(const BandSettings& band, const BandResult& result) {
    const bool fitted = fittedHigh > 0;
    if (!fitted || (!axesLocked && (band.low != fittedLow || band.high != fittedHigh))) {
        returnLossLow = 0;
        returnLossHigh = kReturnLossTop;
        vswrHigh = kVswrTop;
        fittedLow = band.low;
        fittedHigh = band.high;
    }
    if (!axesLocked) {
        // Widened only where a point leaves the axis; an unbounded return loss (a perfect
        // match) is drawn at the top rather than widening it.
        for (const double v : result.returnLossDb) {
            if (std::isfinite(v) && v > returnLossHigh) {
                returnLossHigh = std::min(kReturnLossMost, std::ceil(v / 20) * 20);
            }
            if (std::isfinite(v) && v < returnLossLow) {
                returnLossLow = std::max(-kReturnLossMost, std::floor(v / 10) * 10);
            }
        }
        for (const double v : result.vswr) {
            if (std::isfinite(v) && v > vswrHigh) {
                vswrHigh = VswrStep(v);
            }
        }
    }
    returnLossAxis->setRange(returnLossLow, returnLossHigh);
    SetTicks(returnLossAxis, 0, returnLossHigh - returnLossLow <= 40 ? 10 : 20);
    vswrAxis->setRange(1, vswrHigh);
    SetTicks(vswrAxis, 1, VswrTickInterval(vswrHigh));
}

void CBandPlotContent::ShowLimit(const BandSettings& band, const BandLimit& limit, double scale) {
    limitLine->clear();
    vswrLimitLine->clear();
    if (!limit.IsSet()) {
        return;
    }
    const bool rl = limit.kind == BandLimitKind::ReturnLoss;
    QLineSeries* line = rl ? limitLine : vswrLimitLine;
    const double y = rl ? std::clamp(limit.value, returnLossLow, returnLossHigh)
                        : std::clamp(limit.value, 1.0, vswrHigh);
    line->replace(QList<QPointF>{{band.low * scale, y}, {band.high * scale, y}});
    limitLine->setName(QStringLiteral("Limit ") + QString::fromStdString(BandLimitText(limit)));
}

// The smallest VSWR a lossless network of any size can hold flat across the band, as a dashed
// line over the band on the VSWR axis (at its top when beyond it), its legend entry naming it.
void CBandPlotContent::ShowBodeFano(const BandSettings& band, double scale) {
    const bool on = bodeFanoVswr >= 1;
    if (on) {
        const double y = std::min(bodeFanoVswr, vswrHigh);
        bodeFano->replace(QList<QPointF>{{band.low * scale, y}, {band.high * scale, y}});
        // Short enough for the legend to show it whole; the readout line gives the rest.
        bodeFano->setName(QString::fromStdString(CFormat("Bode-Fano VSWR>=%4.2f", bodeFanoVswr)));
    } else {
        bodeFano->clear();
    }
    for (QLegendMarker* marker : chart.legend()->markers(bodeFano)) {
        marker->setVisible(on);
    }
}

void CBandPlotContent::ShowGaps(const BandResult& result, double scale) {
    QList<QPointF> upper;
    const size_t n = result.size();
    for (size_t k = 0; k < n; ++k) {
        if (!std::isnan(result.vswr[k])) {
            continue;
        }
        size_t end = k;
        while (end + 1 < n && std::isnan(result.vswr[end + 1])) {
            ++end;
        }
        // Half a step beyond the run's points on each side, within the band.
        const double from =
            k > 0 ? (result.frequencies[k - 1] + result.frequencies[k]) / 2 : result.frequencies[k];
        const double to = end + 1 < n ? (result.frequencies[end] + result.frequencies[end + 1]) / 2
                                      : result.frequencies[end];
        upper.append({from * scale, returnLossLow});
        upper.append({from * scale, returnLossHigh});
        upper.append({to * scale, returnLossHigh});
        upper.append({to * scale, returnLossLow});
        k = end;
    }
    gapUpper->replace(upper);
    gaps->setVisible(!upper.isEmpty());
}

bool CBandPlotContent::Update(const SmithChrt& sc) {
    if (sc.bodeFanoVswr != bodeFanoVswr) {
        bodeFanoVswr = sc.bodeFanoVswr;
        shown.clear(); // the next update draws it
    }
    return Update(sc.band, sc.bandLimit, sc.frequency, sc.bandResult);
}

bool CBandPlotContent::Update(const BandSettings& band, const BandLimit& limit, double analysisMHz,
                              const BandResult& result) {
    const bool on = band.display && result.size() > 0;
    std::vector<double> next;
    if (on) {
        next.reserve(3 * result.size() + 6);
        next = {band.low,    band.high,
                analysisMHz, static_cast<double>(limit.kind),
                limit.value, axesLocked ? 1.0 : 0.0};
        Append(next, result.frequencies);
        Append(next, result.returnLossDb);
        Append(next, result.vswr);
        Append(next, result.transducerGainDb);
    }
    // Compared bit for bit, so that NaN equals NaN.
    if (next.size() == shown.size() &&
        (next.empty() ||
         std::memcmp(next.data(), shown.data(), next.size() * sizeof(double)) == 0)) {
        return false;
    }
    shown = std::move(next);
    if (!on) {
        ShowOff();
        return true;
    }

    const bool ghz = band.high > kGigahertzFrom;
    const double scale = ghz ? 1e-3 : 1.0;
    frequencyAxis->setTitleText(ghz ? QStringLiteral("Frequency (GHz)")
                                    : QStringLiteral("Frequency (MHz)"));
    const double pad = (band.high - band.low) * 0.04;
    frequencyAxis->setRange((band.low - pad) * scale, (band.high + pad) * scale);
    SetFrequencyTicks(frequencyAxis);
    insertionLossDb.resize(result.transducerGainDb.size());
    std::transform(result.transducerGainDb.begin(), result.transducerGainDb.end(),
                   insertionLossDb.begin(), [](double gt) { return -gt; });
    FitValueAxes(band, result);

    SetPoints(returnLoss, result.frequencies, result.returnLossDb, scale, returnLossLow,
              returnLossHigh);
    SetPoints(vswr, result.frequencies, result.vswr, scale, 1.0, vswrHigh);
    ShowInsertionLoss(result, scale);
    if (result.worstIndex >= 0) {
        worst->replace(QList<QPointF>{
            {result.worstFrequency * scale, std::clamp(result.worstVswr, 1.0, vswrHigh)}});
    } else {
        worst->clear();
    }
    SetMarker(lowEdge, band.low * scale, true);
    SetMarker(highEdge, band.high * scale, true);
    const bool analysisShown =
        analysisMHz * scale >= frequencyAxis->min() && analysisMHz * scale <= frequencyAxis->max();
    SetMarker(analysis, analysisMHz * scale, analysisShown);
    ShowLimit(band, limit, scale);
    ShowGaps(result, scale);
    ShowBodeFano(band, scale);

    QString title = QString::fromStdString("Band " + FormatBounded(band.low, 3) + "-" +
                                           FormatBounded(band.high, 3) + " MHz, analysis at " +
                                           FormatBounded(analysisMHz, 3) + " MHz");
    if (!analysisShown) {
        title += QStringLiteral(" (outside the plot)");
    }
    if (result.missingPoints > 0) {
        title +=
            QString::fromStdString(CFormat(", %d of %d points without data", result.missingPoints,
                                           static_cast<int>(result.size())));
    }
    if (limit.IsSet()) {
        title += QString::fromStdString(
            CFormat(", %d fail %s", result.failingPoints, BandLimitText(limit).c_str()));
    }
    chart.setTitle(title);
    return true;
}

void RenderBandPlot(const SmithChrt& sc, QPainter& painter, const QRectF& target) {
    if (!(target.width() > 0 && target.height() > 0)) {
        return;
    }
    const QPaintDevice* device = painter.device();
    const int dpi = device != nullptr ? device->logicalDpiX() : 0;
    const double scale = dpi > 0 ? kLayoutDpi / dpi : 1.0;
    const QRectF layout(0, 0, target.width() * scale, target.height() * scale);

    QGraphicsScene scene;
    auto* chart = new QChart;
    scene.addItem(chart);
    CBandPlotContent content(*chart);
    content.Update(sc);
    chart->setGeometry(layout);
    scene.setSceneRect(layout);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, target, layout, Qt::IgnoreAspectRatio);
    painter.restore();
}

PicturePage BandPlotPage(const SmithChrt& doc, QSize size) {
    auto sc = std::make_shared<SmithChrt>(doc);
    EvaluateBand(*sc, sc->bandResult);
    return {QStringLiteral("band"), size, [sc, size](QPainter& painter) {
                const QRectF whole(QPointF(0, 0), size);
                painter.fillRect(whole, Qt::white);
                RenderBandPlot(*sc, painter, whole);
            }};
}

bool WriteBandPlotPicture(const SmithChrt& doc, QSize size, const QString& path,
                          PictureFormat format) {
    const PicturePage page = BandPlotPage(doc, size);
    return WritePicturePages(path, format, QString::fromStdString(doc.title), {&page, 1});
}
