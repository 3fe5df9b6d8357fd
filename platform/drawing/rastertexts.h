#pragma once

#include <QFont>
#include <QStaticText>

#include <cstdint>
#include <string>
#include <unordered_map>

class QPainter;

/// A text line laid out once, and the ascent of its line.
struct LaidOutText {
    QStaticText text;
    double ascent = 0;
    uint64_t lastDraw = 0;
};

/// Text lines laid out once in one font at one resolution, kept while the draws write them.
class CTextLineCache {
public:
    /// text laid out as one line in painter's font on its device, marked as written by draw. A
    /// change of font or resolution forgets every line laid out before.
    const LaidOutText& Line(const std::string& text, QPainter& painter, uint64_t draw);
    /// Forgets the lines that draw did not write: they are not likely to come again.
    void KeepOnlyLinesOf(uint64_t draw);

private:
    QFont font;
    int dpi = 0;
    std::unordered_map<std::string, LaidOutText> lines;
};

/// Whether UTF-8 text holds control characters or line or paragraph separators: such texts are
/// drawn as QPainter::drawText draws them, not laid out as lines.
bool HasLineBreakingCharacters(const std::string& text);
