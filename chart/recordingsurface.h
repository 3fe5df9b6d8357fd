#pragma once

#include "chart/statefulsurface.h"

#include <string>
#include <vector>

/// One drawing call as the recording surface kept it, with the pen, brush and text colour that
/// were current when it was made.
struct DrawCall {
    enum class Op { MoveTo, LineTo, Circle, Arc, Ellipse, Text, FillWhite, Transparent };
    Op op = Op::MoveTo;
    Rect box;   ///< Circle, Arc, Ellipse, FillWhite
    Point from; ///< LineTo: the start; Arc: the start point
    Point to;   ///< MoveTo, LineTo, Text: the point; Arc: the end point
    std::string text;
    Pen pen;
    Brush brush = Brush::White;
    Rgb textColour;
};

/// A surface that draws nothing and keeps every call, so that tests and tools can check a draw.
/// The text metrics a surface without a font gives: a line 16 units high.
inline constexpr TextMetrics kFontlessTextMetrics{16, 0};

class RecordingSurface : public StatefulSurface {
public:
    explicit RecordingSurface(TextMetrics metrics = kFontlessTextMetrics) : metrics(metrics) {}

    void Circle(Rect box) override;
    void Arc(Rect box, Point start, Point end) override;
    void Ellipse(Rect box) override;
    void TextOut(Point p, const std::string& text) override;
    TextMetrics GetTextMetrics() override { return metrics; }
    void FillWhite(Rect rect) override;
    void SetBackgroundTransparent() override;

    std::vector<DrawCall> calls;
    TextMetrics metrics;

protected:
    void Moved() override;
    void Line(Point from, Point to) override;

private:
    DrawCall& Add(DrawCall::Op op);
};

/// Makes the recorded calls again on target, selecting a pen, brush or text colour only where
/// it changes; target starts as a fresh surface. Each shape is one call of target, so on the
/// painter surface the replay is the plain drawing of the same primitives.
void ReplayDrawCalls(const std::vector<DrawCall>& calls, DrawSurface& target);
