#include "platform/plot/plotaxes.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

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
