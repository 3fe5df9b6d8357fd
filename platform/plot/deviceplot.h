#pragma once

#include <QChartView>

#include <memory>
#include <vector>

class QChart;
class QLineSeries;
class QValueAxis;
class SmithChrt;

/// The loaded device's figures against frequency, as the response panel plots them: at the
/// band's frequencies while the band display is on, else at the device's own data points.
/// A list holds NaN where the figure does not exist (outside the data, no noise data there).
struct DevicePlotData {
    std::vector<double> frequencies; ///< MHz
    std::vector<double> k;
    std::vector<double> mu;
    std::vector<double> maxGainDb; ///< MAG where it exists, else MSG
    std::vector<double> fminDb;
};

/// The figures of sc's device; empty without a device.
DevicePlotData DevicePlotFigures(const SmithChrt& sc);

/// The device plot: K and mu (left axis, with the line K = 1 where stability begins), MAG/MSG
/// and Fmin in dB (right axis), and the analysis frequency, drawn by Qt Charts into a chart it
/// does not own. Points without a value are left out of their line.
class CDevicePlotContent {
public:
    explicit CDevicePlotContent(QChart& chart);

    /// Shows sc's device; false when the plot already showed exactly this.
    bool Update(const SmithChrt& sc);

    QLineSeries* KSeries() const { return k; }
    QLineSeries* MuSeries() const { return mu; }
    QLineSeries* GainSeries() const { return gain; }
    QLineSeries* FminSeries() const { return fmin; }
    QValueAxis* FactorAxis() const { return factorAxis; }
    QValueAxis* DbAxis() const { return dbAxis; }

private:
    QChart& chart;
    QValueAxis* frequencyAxis;
    QValueAxis* factorAxis;
    QValueAxis* dbAxis;
    QLineSeries* k;
    QLineSeries* mu;
    QLineSeries* gain;
    QLineSeries* fmin;
    QLineSeries* stabilityLine;
    QLineSeries* analysis;
    std::vector<double> shown;
};

/// The device plot as a widget for the response panel; like the band plot it never takes the
/// keyboard focus.
class CDevicePlotView : public QChartView {
public:
    explicit CDevicePlotView(QWidget* parent = nullptr);
    ~CDevicePlotView() override;

    bool Update(const SmithChrt& sc);
    CDevicePlotContent& Content() { return *content; }

    QSize sizeHint() const override { return {600, 220}; }

private:
    std::unique_ptr<CDevicePlotContent> content;
};
