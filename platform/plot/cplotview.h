#pragma once

#include <QChart>
#include <QChartView>
#include <QSize>

#include <memory>

class SmithChrt;

/// A plot's content as a widget for the main window's panel. It never takes the keyboard focus,
/// so that the chart's keys keep working after a click on the plot.
template <class TContent> class CPlotView : public QChartView {
public:
    CPlotView(QWidget* parent, QSize hint) : QChartView(new QChart, parent), hint(hint) {
        setFocusPolicy(Qt::NoFocus);
        setRenderHint(QPainter::Antialiasing);
        setMinimumSize(160, 100);
        content = std::make_unique<TContent>(*chart());
    }

    /// Shows sc as its last draw evaluated it; false when nothing changed.
    bool Update(const SmithChrt& sc) { return content->Update(sc); }

    TContent& Content() { return *content; }

    QSize sizeHint() const override { return hint; }

private:
    QSize hint;
    std::unique_ptr<TContent> content;
};
