#include "platform/plot/deviceplot.h"

#include "model/devicedata.h"
#include "model/devicefigures.h"
#include "model/frequencygrid.h"
#include "model/smithchrt.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const QColor kKColour(200, 0, 0);
const QColor kMuColour(120, 0, 160);
const QColor kGainColour(0, 130, 0);
const QColor kFminColour(150, 80, 0);
const QColor kGuideColour(120, 120, 120);
const QColor kAnalysisColour(0, 150, 0);

// The factor axis runs from 0 to at least 2 and at most this; a larger K is drawn at its top.
constexpr double kFactorMost = 10;
constexpr double kDbMost = 60;

std::vector<double> PlotFrequencies(const SmithChrt& sc) {
    std::vector<double> out;
    if (sc.band.display) {
        const FrequencyGrid grid = sc.band.Grid();
        for (int32_t i = 0; i < grid.points; ++i) {
            out.push_back(grid.At(i));
        }
        return out;
    }
    for (const DevicePoint& p : sc.device->points) {
        out.push_back(p.frequency);
    }
    return out;
}

QLineSeries* NewSeries(QChart& chart, const QString& name, const QColor& colour, qreal width,
                       Qt::PenStyle style = Qt::SolidLine) {
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

void SetTicks(QValueAxis* axis, double interval) {
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(interval);
}

void Attach(QLineSeries* series, QValueAxis* x, QValueAxis* y) {
    series->attachAxis(x);
    series->attachAxis(y);
}

// The points of values that exist, each clamped into the axis's range so that it stays seen.
QList<QPointF> Points(const std::vector<double>& f, const std::vector<double>& v, double top) {
    QList<QPointF> points;
    for (size_t i = 0; i < f.size(); ++i) {
        if (std::isfinite(v[i])) {
            points.append({f[i], std::clamp(v[i], 0.0, top)});
        }
    }
    return points;
}

double Largest(const std::vector<double>& a, const std::vector<double>& b) {
    double most = 0;
    for (const std::vector<double>* list : {&a, &b}) {
        for (const double v : *list) {
            if (std::isfinite(v)) {
                most = std::max(most, v);
            }
        }
    }
    return most;
}

} // namespace

DevicePlotData DevicePlotFigures(const SmithChrt& sc) {
    DevicePlotData d;
    if (sc.device == nullptr) {
        return d;
    }
    d.frequencies = PlotFrequencies(sc);
    for (const double f : d.frequencies) {
        const std::optional<DevicePoint> s = DeviceAt(*sc.device, f);
        const std::optional<NoisePoint> n = DeviceNoiseAt(*sc.device, f);
        const std::optional<DeviceFigures> figures =
            s ? std::optional(ComputeDeviceFigures(*s)) : std::nullopt;
        d.k.push_back(figures ? figures->k : kNaN);
        d.mu.push_back(figures ? figures->mu : kNaN);
        const std::optional<double> gain = figures ? MaxGainDb(*figures) : std::nullopt;
        d.maxGainDb.push_back(gain ? *gain : kNaN);
        d.fminDb.push_back(n ? n->fminDb : kNaN);
    }
    return d;
}

CDevicePlotContent::CDevicePlotContent(QChart& owner) : chart(owner) {
    chart.setTitle(QStringLiteral("Device"));
    chart.legend()->setAlignment(Qt::AlignBottom);
    frequencyAxis = NewAxis(chart, QStringLiteral("Frequency (MHz)"), Qt::AlignBottom);
    factorAxis = NewAxis(chart, QStringLiteral("K, mu"), Qt::AlignLeft);
    dbAxis = NewAxis(chart, QStringLiteral("dB"), Qt::AlignRight);
    k = NewSeries(chart, QStringLiteral("K"), kKColour, 2);
    mu = NewSeries(chart, QStringLiteral("mu"), kMuColour, 1.5);
    stabilityLine = NewSeries(chart, QStringLiteral("K = 1"), kGuideColour, 1, Qt::DashLine);
    gain = NewSeries(chart, QStringLiteral("MAG/MSG dB"), kGainColour, 2);
    fmin = NewSeries(chart, QStringLiteral("Fmin dB"), kFminColour, 2);
    analysis = NewSeries(chart, QStringLiteral("Analysis"), kAnalysisColour, 1, Qt::DotLine);
    // The guides explain themselves; the legend names the figures only.
    for (QLineSeries* s : {stabilityLine, analysis}) {
        for (QLegendMarker* m : chart.legend()->markers(s)) {
            m->setVisible(false);
        }
    }
    for (QLineSeries* s : {k, mu, stabilityLine, analysis}) {
        Attach(s, frequencyAxis, factorAxis);
    }
    for (QLineSeries* s : {gain, fmin}) {
        Attach(s, frequencyAxis, dbAxis);
    }
}

bool CDevicePlotContent::Update(const SmithChrt& sc) {
    const DevicePlotData d = DevicePlotFigures(sc);
    std::vector<double> now = d.frequencies;
    for (const std::vector<double>* list : {&d.k, &d.mu, &d.maxGainDb, &d.fminDb}) {
        now.insert(now.end(), list->begin(), list->end());
    }
    now.push_back(sc.frequency);
    // NaN never equals itself: compare the bits' meaning, not the values.
    const bool same = now.size() == shown.size() &&
                      std::equal(now.begin(), now.end(), shown.begin(), [](double a, double b) {
                          return a == b || (std::isnan(a) && std::isnan(b));
                      });
    if (same) {
        return false;
    }
    shown = std::move(now);
    if (d.frequencies.empty()) {
        for (QLineSeries* s : {k, mu, gain, fmin, stabilityLine, analysis}) {
            s->clear();
        }
        return true;
    }
    const auto [lowIt, highIt] = std::minmax_element(d.frequencies.begin(), d.frequencies.end());
    double low = *lowIt;
    double high = *highIt;
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double factorTop = std::clamp(std::ceil(Largest(d.k, d.mu)), 2.0, kFactorMost);
    const double dbTop =
        std::clamp(5 * std::ceil(Largest(d.maxGainDb, d.fminDb) / 5), 5.0, kDbMost);
    frequencyAxis->setRange(low, high);
    factorAxis->setRange(0, factorTop);
    dbAxis->setRange(0, dbTop);
    SetTicks(factorAxis, factorTop <= 3 ? 0.5 : 1);
    SetTicks(dbAxis, dbTop <= 20 ? 5 : 10);
    k->replace(Points(d.frequencies, d.k, factorTop));
    mu->replace(Points(d.frequencies, d.mu, factorTop));
    gain->replace(Points(d.frequencies, d.maxGainDb, dbTop));
    fmin->replace(Points(d.frequencies, d.fminDb, dbTop));
    stabilityLine->replace({{low, 1.0}, {high, 1.0}});
    const bool inside = sc.frequency >= low && sc.frequency <= high;
    analysis->replace(inside ? QList<QPointF>{{sc.frequency, 0.0}, {sc.frequency, factorTop}}
                             : QList<QPointF>{});
    return true;
}

CDevicePlotView::CDevicePlotView(QWidget* parent) : QChartView(new QChart, parent) {
    setFocusPolicy(Qt::NoFocus);
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(160, 100);
    content = std::make_unique<CDevicePlotContent>(*chart());
}

CDevicePlotView::~CDevicePlotView() = default;

bool CDevicePlotView::Update(const SmithChrt& sc) {
    return content->Update(sc);
}
