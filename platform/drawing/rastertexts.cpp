#include "platform/drawing/rastertexts.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

const LaidOutText& CTextLineCache::Line(const std::string& text, QPainter& painter, uint64_t draw) {
    const int deviceDpi = painter.device()->logicalDpiY();
    if (font != painter.font() || dpi != deviceDpi) {
        lines.clear();
        font = painter.font();
        dpi = deviceDpi;
    }
    auto [entry, added] = lines.try_emplace(text);
    LaidOutText& line = entry->second;
    if (added) {
        const QString s = QString::fromUtf8(text);
        line.text.setText(s);
        line.text.setTextFormat(Qt::PlainText);
        QTextLayout layout(s, painter.font(), painter.device());
        layout.beginLayout();
        QTextLine laidOut = layout.createLine();
        laidOut.setLineWidth(1 << 24); // one line, however long
        layout.endLayout();
        line.ascent = laidOut.ascent();
    }
    line.lastDraw = draw;
    return line;
}

void CTextLineCache::KeepOnlyLinesOf(uint64_t draw) {
    std::erase_if(lines, [&](const auto& entry) { return entry.second.lastDraw != draw; });
}

bool HasLineBreakingCharacters(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) {
            return true;
        }
        if (c == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x85) {
            return true;
        }
        if (c == 0xe2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) & 0xfe) == 0xa8) {
            return true;
        }
    }
    return false;
}
