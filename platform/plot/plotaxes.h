#pragma once

#include <QColor>
#include <QString>
#include <Qt>

class QAbstractSeries;
class QChart;
class QLineSeries;
class QValueAxis;

/// A line added to chart, drawn with a cosmetic pen of the given width and style.
QLineSeries* NewSeries(QChart& chart, const QString& name, const QColor& colour, qreal width,
                       Qt::PenStyle style = Qt::SolidLine);

/// A value axis added to chart at side, its labels written as %g.
QValueAxis* NewAxis(QChart& chart, const QString& title, Qt::Alignment side);

/// Puts series on the axes x and y.
void Attach(QAbstractSeries* series, QValueAxis* x, QValueAxis* y);
