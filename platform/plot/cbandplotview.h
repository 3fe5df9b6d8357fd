#pragma once

#include "platform/plot/bandplot.h"

#include <QChartView>

#include <memory>

class SmithChrt;

/// The band response plot as a widget, for the main window's panel. It never takes the keyboard
/// focus, so that the chart's keys keep working after a click on the plot.
class CBandPlotView : public QChartView {
public:
    explicit CBandPlotView(QWidget* parent = nullptr);
    ~CBandPlotView() override;

    /// Shows sc's band as its last draw evaluated it; replaces only the points that the plot
    /// shows. Returns false when nothing changed.
    bool Update(const SmithChrt& sc);

    CBandPlotContent& Content() { return *content; }

    QSize sizeHint() const override { return {600, 270}; }

private:
    std::unique_ptr<CBandPlotContent> content;
};
