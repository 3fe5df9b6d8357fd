#pragma once

#include "chart/drawsurface.h"

/// A drawing surface that keeps the state DrawSurface describes: the current pen, brush, text
/// colour and position. A surface built on it hears of a new pen or brush and of a move, and
/// draws each line from the position.
class StatefulSurface : public DrawSurface {
public:
    Pen SelectPen(Pen p) final;
    Brush SelectBrush(Brush b) final;
    Rgb SetTextColour(Rgb colour) final;
    void MoveTo(Point p) final;
    void LineTo(Point p) final;

    Pen pen;
    Brush brush = Brush::White;
    Rgb textColour;
    Point position;

protected:
    /// pen has just become current.
    virtual void PenSelected() {}
    /// brush has just become current.
    virtual void BrushSelected() {}
    /// The position has just moved without a line.
    virtual void Moved() {}
    /// The line from `from` to `to`, which is the position now.
    virtual void Line(Point from, Point to) = 0;
};
