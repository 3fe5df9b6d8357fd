#pragma once

#include "chart/drawsurface.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QStaticText>

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

class QPainter;

/// The pixels a text line leaves on white, for one colour, one place within a pixel and one
/// picture format: the box of every pixel its glyphs touch and one pixel around it.
struct TextOverWhite {
    QImage image; ///< null when the line cannot be put back this way
    QPoint at;    ///< the image's top-left from the whole pixel the line is written at
    Rgb colour;
    QPointF fraction{-1, -1};
    QImage::Format format = QImage::Format_Invalid;
};

/// A text line laid out once, and the ascent of its line.
struct LaidOutText {
    QStaticText text;
    double ascent = 0;
    uint64_t firstDraw = 0; ///< the draw that laid it out
    uint64_t lastDraw = 0;
    std::array<TextOverWhite, 2> overWhite; ///< the most recently used first
};

/// Text lines laid out once in one font at one resolution, kept while the draws write them.
class CTextLineCache {
public:
    /// text laid out as one line in painter's font on its device, marked as written by draw. A
    /// change of font or resolution forgets every line laid out before.
    LaidOutText& Line(const std::string& text, QPainter& painter, uint64_t draw);
    /// line's pixels on white when written at fraction (of a pixel, each 0 .. 1) in colour by
    /// painter's font, into pictures of format; made now unless kept from before, and only for
    /// a line an earlier draw wrote too (a null picture otherwise), so that a line that changes
    /// with every draw costs nothing more.
    const TextOverWhite& OverWhite(LaidOutText& line, QPainter& painter, Rgb colour,
                                   QPointF fraction, QImage::Format format);
    /// A number for painter's font on its device, the same until either changes.
    uint64_t FontSerial(QPainter& painter);
    /// Forgets the lines that draw did not write: they are not likely to come again.
    void KeepOnlyLinesOf(uint64_t draw);

private:
    QFont font;
    int dpi = 0;
    uint64_t fontSerial = 0;
    std::unordered_map<std::string, LaidOutText> lines;
};

/// Whether UTF-8 text holds control characters or line or paragraph separators: such texts are
/// drawn as QPainter::drawText draws them, not laid out as lines.
bool HasLineBreakingCharacters(const std::string& text);
