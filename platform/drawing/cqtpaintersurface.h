#pragma once

#include "chart/statefulsurface.h"

#include <QPointF>
#include <QRectF>

class QPainter;

/// The chart's drawing surface over a QPainter whose device units are the logical units. The
/// logical point origin is at the device's top-left corner; y grows upward. Shapes with no
/// coordinate or far beyond any page are left out, and lines are clipped to a large square, so
/// that extreme impedances cannot stall the paint engine.
class CQtPainterSurface : public StatefulSurface {
public:
    CQtPainterSurface(QPainter* painter, Point origin);

    void Circle(Rect box) override;
    void Arc(Rect box, Point start, Point end) override;
    void Ellipse(Rect box) override;
    void TextOut(Point p, const std::string& text) override;
    TextMetrics GetTextMetrics() override;
    int32_t TextWidth(const std::string& text) override;
    void FillWhite(Rect rect) override;
    void SetBackgroundTransparent() override;

    /// Pen widths are multiplied by scale: a printer draws a logical unit of width as many
    /// dots as a screen pixel covers, so that the printout looks like the screen.
    void SetPenScale(double scale);

protected:
    CQtPainterSurface() = default;
    void Attach(QPainter* painter, Point origin);
    void PenSelected() override;
    void BrushSelected() override;
    void Line(Point from, Point to) override;

private:
    QPointF Device(Point p) const;
    bool DeviceBox(const Rect& box, QRectF& out) const;
    void ApplyPen();
    void ApplyBrush();

    QPainter* painter = nullptr;
    Point origin;
    double penScale = 1.0;
};

/// Cuts the segment from a to b to its part within r (Liang and Barsky's clipping); false when
/// none of it lies there.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r);
