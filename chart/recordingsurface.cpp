#include "chart/recordingsurface.h"

#include <utility>

DrawCall& RecordingSurface::Add(DrawCall::Op op) {
    DrawCall& c = calls.emplace_back();
    c.op = op;
    c.pen = pen;
    c.brush = brush;
    c.textColour = textColour;
    return c;
}

void RecordingSurface::Moved() {
    Add(DrawCall::Op::MoveTo).to = position;
}

void RecordingSurface::Line(Point from, Point to) {
    DrawCall& c = Add(DrawCall::Op::LineTo);
    c.from = from;
    c.to = to;
}

void RecordingSurface::Circle(Rect box) {
    Add(DrawCall::Op::Circle).box = box;
}

void RecordingSurface::Arc(Rect box, Point start, Point end) {
    DrawCall& c = Add(DrawCall::Op::Arc);
    c.box = box;
    c.from = start;
    c.to = end;
}

void RecordingSurface::Ellipse(Rect box) {
    Add(DrawCall::Op::Ellipse).box = box;
}

void RecordingSurface::TextOut(Point p, const std::string& text) {
    DrawCall& c = Add(DrawCall::Op::Text);
    c.to = p;
    c.text = text;
}

void RecordingSurface::FillWhite(Rect rect) {
    Add(DrawCall::Op::FillWhite).box = rect;
}

void RecordingSurface::SetBackgroundTransparent() {
    Add(DrawCall::Op::Transparent);
}

void ReplayDrawCalls(const std::vector<DrawCall>& calls, DrawSurface& target) {
    Pen pen;
    Brush brush = Brush::White;
    Rgb textColour;
    for (const DrawCall& c : calls) {
        if (!(c.pen == pen)) {
            pen = c.pen;
            target.SelectPen(pen);
        }
        if (c.brush != brush) {
            brush = c.brush;
            target.SelectBrush(brush);
        }
        if (!(c.textColour == textColour)) {
            textColour = c.textColour;
            target.SetTextColour(textColour);
        }
        switch (c.op) {
        case DrawCall::Op::MoveTo:
            target.MoveTo(c.to);
            break;
        case DrawCall::Op::LineTo:
            target.MoveTo(c.from);
            target.LineTo(c.to);
            break;
        case DrawCall::Op::Circle:
            target.Circle(c.box);
            break;
        case DrawCall::Op::Arc:
            target.Arc(c.box, c.from, c.to);
            break;
        case DrawCall::Op::Ellipse:
            target.Ellipse(c.box);
            break;
        case DrawCall::Op::Text:
            target.TextOut(c.to, c.text);
            break;
        case DrawCall::Op::FillWhite:
            target.FillWhite(c.box);
            break;
        case DrawCall::Op::Transparent:
            target.SetBackgroundTransparent();
            break;
        }
    }
}
