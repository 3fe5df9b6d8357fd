#include "chart/statefulsurface.h"

#include <utility>

Pen StatefulSurface::SelectPen(Pen p) {
    const Pen previous = std::exchange(pen, p);
    PenSelected();
    return previous;
}

Brush StatefulSurface::SelectBrush(Brush b) {
    const Brush previous = std::exchange(brush, b);
    BrushSelected();
    return previous;
}

Rgb StatefulSurface::SetTextColour(Rgb colour) {
    return std::exchange(textColour, colour);
}

void StatefulSurface::MoveTo(Point p) {
    position = p;
    Moved();
}

void StatefulSurface::LineTo(Point p) {
    const Point from = std::exchange(position, p);
    Line(from, p);
}
