#include "platform/plot/bandplot.h"

#include "chart/bandlocus.h"
#include "model/bandevaluation.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

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

// Values beyond these draw at the plot's edge: an infinite return loss (a perfect match) shows
// at the top.
constexpr double kPlotLimit = 1e6;
// The axes' largest spans, so that one wild point does not flatten the rest.
constexpr double kReturnLossCeiling = 60;
constexpr double kVswrCeiling = 20;

// The screen resolution the plot is laid out at; a page scales it as a whole.
constexpr double kLayoutDpi = 96;

double Plotted(double v) {
    return std::clamp(v, -kPlotLimit, kPlotLimit);
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

// The finite values' lowest and highest, within [floor, ceiling] and at least [low, high].
std::pair<double, double> Span(const std::vector<double>& values, double low, double high,
                               double floor, double ceiling) {
    for (const double v : values) {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    return {std::max(low, floor), std::min(high, ceiling)};
}

void SetPoints(QLineSeries* series, const std::vector<double>& x, const std::vector<double>& y) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(x.size()));
    for (size_t k = 0; k < x.size(); ++k) {
        // A point without a value is left out: Qt Charts cannot draw a gap.
        if (!std::isnan(y[k])) {
            points.append({x[k], Plotted(y[k])});
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
    worst = new QScatterSeries(&chart);
    worst->setName(QStringLiteral("Worst VSWR"));
    worst->setMarkerSize(9);
    worst->setColor(kVswrColour);
    worst->setBorderColor(kVswrColour);
    chart.addSeries(worst);

    for (QLineSeries* s : {lowEdge, highEdge, analysis, returnLoss}) {
        Attach(s, frequencyAxis, returnLossAxis);
    }
    Attach(vswr, frequencyAxis, vswrAxis);
    Attach(worst, frequencyAxis, vswrAxis);
    for (QLegendMarker* marker : chart.legend()->markers(highEdge)) {
        marker->setVisible(false);
    }
    ShowOff();
}

void CBandPlotContent::ShowOff() {
    if (insertionLoss != nullptr) {
        insertionLoss->clear();
    }
    chart.setTitle(QStringLiteral("Band response: the band display is off"));
    for (QXYSeries* s :
         std::initializer_list<QXYSeries*>{returnLoss, vswr, worst, analysis, lowEdge, highEdge}) {
        s->clear();
    }
    frequencyAxis->setTickType(QValueAxis::TicksFixed);
    frequencyAxis->setLabelFormat(QStringLiteral("%g"));
    frequencyAxis->setRange(0, 1);
    returnLossAxis->setRange(0, 10);
    vswrAxis->setRange(1, 2);
}

void CBandPlotContent::ShowInsertionLoss(const BandResult& result) {
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
    SetPoints(insertionLoss, result.frequencies, insertionLossDb);
}

void CBandPlotContent::SetMarker(QLineSeries* series, double mhz, bool visible) {
    if (!visible) {
        series->clear();
        return;
    }
    series->replace(QList<QPointF>{{mhz, returnLossAxis->min()}, {mhz, returnLossAxis->max()}});
}

bool CBandPlotContent::Update(const SmithChrt& sc) {
    return Update(sc.band, sc.frequency, sc.bandResult);
}

bool CBandPlotContent::Update(const BandSettings& band, double analysisMHz,
                              const BandResult& result) {
    const bool on = band.display && result.size() > 0;
    std::vector<double> next;
    if (on) {
        next.reserve(3 * result.size() + 3);
        next = {band.low, band.high, analysisMHz};
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

    const double pad = (band.high - band.low) * 0.04;
    frequencyAxis->setRange(band.low - pad, band.high + pad);
    SetFrequencyTicks(frequencyAxis);
    insertionLossDb.resize(result.transducerGainDb.size());
    std::transform(result.transducerGainDb.begin(), result.transducerGainDb.end(),
                   insertionLossDb.begin(), [](double gt) { return -gt; });
    auto [rlLow, rlHigh] =
        Span(result.returnLossDb, 0, 10, -kReturnLossCeiling, kReturnLossCeiling);
    std::tie(rlLow, rlHigh) =
        Span(insertionLossDb, rlLow, rlHigh, -kReturnLossCeiling, kReturnLossCeiling);
    returnLossAxis->setRange(rlLow, rlHigh);
    returnLossAxis->applyNiceNumbers();
    const auto [vLow, vHigh] = Span(result.vswr, 1, 2, -kVswrCeiling, kVswrCeiling);
    vswrAxis->setRange(vLow, vHigh);
    vswrAxis->applyNiceNumbers();

    SetPoints(returnLoss, result.frequencies, result.returnLossDb);
    SetPoints(vswr, result.frequencies, result.vswr);
    ShowInsertionLoss(result);
    if (result.worstIndex >= 0) {
        worst->replace(QList<QPointF>{{result.worstFrequency, Plotted(result.worstVswr)}});
    } else {
        worst->clear();
    }
    SetMarker(lowEdge, band.low, true);
    SetMarker(highEdge, band.high, true);
    const bool analysisShown =
        analysisMHz >= frequencyAxis->min() && analysisMHz <= frequencyAxis->max();
    SetMarker(analysis, analysisMHz, analysisShown);

    QString title = QString::fromStdString("Band " + FormatBounded(band.low, 3) + "-" +
                                           FormatBounded(band.high, 3) + " MHz, analysis at " +
                                           FormatBounded(analysisMHz, 3) + " MHz");
    if (!analysisShown) {
        title += QStringLiteral(" (outside the plot)");
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
