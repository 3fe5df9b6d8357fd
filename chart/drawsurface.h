#pragma once

#include "model/geometry.h"

#include <cstdint>
#include <string>

/// A colour as red, green and blue, 0 to 255 each.
struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

/// A solid pen; the width is in logical units.
struct Pen {
    int32_t width = 1;
    Rgb colour;
    friend constexpr bool operator==(Pen, Pen) = default;
};

/// The fill of closed shapes.
enum class Brush { White, Hollow };

/// Character height and external leading of the current font, in logical units.
struct TextMetrics {
    int32_t height = 0;
    int32_t externalLeading = 0;
};

/// The drawing operations the chart is drawn with. Coordinates are logical units of one device
/// pixel with y upward; boxes are given by two opposite corners in any order. A fresh surface has
/// a black pen of width 1, a white brush and black text.
class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    /// Makes pen current and returns the one it replaces.
    virtual Pen SelectPen(Pen pen) = 0;
    /// Makes brush current and returns the one it replaces.
    virtual Brush SelectBrush(Brush brush) = 0;
    virtual void MoveTo(Point p) = 0;
    /// Line from the current position to p, which becomes the current position.
    virtual void LineTo(Point p) = 0;
    /// Outline of the circle inscribed in the box.
    virtual void Circle(Rect box) = 0;
    /// Outline of the part of the inscribed circle that runs counter-clockwise (y upward) from
    /// the ray through start to the ray through end.
    virtual void Arc(Rect box, Point start, Point end) = 0;
    /// Outline with the current pen, filled with the current brush.
    virtual void Ellipse(Rect box) = 0;
    /// Writes text with the top-left corner of its first character cell at p (UTF-8).
    virtual void TextOut(Point p, const std::string& text) = 0;
    /// Sets the text colour and returns the previous one.
    virtual Rgb SetTextColour(Rgb colour) = 0;
    virtual TextMetrics GetTextMetrics() = 0;
    /// The width text takes when written (UTF-8). By default an estimate from the text height,
    /// for surfaces that do not lay text out; the painter surfaces measure it.
    virtual int32_t TextWidth(const std::string& text);
    /// Solid white fill of the rectangle.
    virtual void FillWhite(Rect rect) = 0;
    /// Text is written without a background box from now on.
    virtual void SetBackgroundTransparent() = 0;

    /// The calls up to the matching EndGroup form one group of shapes (no text). A surface may
    /// keep what a group drew and, when a later draw makes the very same calls in a group, put
    /// that back instead of drawing them again; the picture is the same either way. By default
    /// every call is drawn as it comes.
    virtual void BeginGroup() {}
    virtual void EndGroup() {}
};
