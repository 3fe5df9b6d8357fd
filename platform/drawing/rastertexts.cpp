#include "platform/drawing/rastertexts.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The box of the pixels of picture that are not background.
QRect Differing(const QImage& picture, QRgb background) {
    QRect box;
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        int first = 0;
        while (first < width && row[first] == background) {
            ++first;
        }
        if (first == width) {
            continue;
        }
        int last = width - 1;
        while (row[last] == background) {
            --last;
        }
        box |= QRect(first, y, last - first + 1, 1);
    }
    return box;
}

// line written with painter's font in colour at `at` on a picture of size and format filled
// with background.
QImage Written(const LaidOutText& line, QPainter& painter, QColor colour, QPointF at, QSize size,
               QImage::Format format, QRgb background) {
    QImage picture(size, format);
    if (picture.isNull()) {
        return picture;
    }
    const QPaintDevice* device = painter.device();
    picture.setDotsPerMeterX(qRound(device->logicalDpiX() / 0.0254));
    picture.setDotsPerMeterY(qRound(device->logicalDpiY() / 0.0254));
    picture.fill(background);
    QPainter writer(&picture);
    for (const QPainter::RenderHint hint :
         {QPainter::Antialiasing, QPainter::TextAntialiasing, QPainter::SmoothPixmapTransform,
          QPainter::VerticalSubpixelPositioning, QPainter::LosslessImageRendering,
          QPainter::NonCosmeticBrushPatterns}) {
        writer.setRenderHint(hint, painter.testRenderHint(hint));
    }
    writer.setFont(painter.font());
    writer.setPen(colour);
    writer.drawStaticText(at, line.text);
    return picture;
}

} // namespace

uint64_t CTextLineCache::FontSerial(QPainter& painter) {
    const int deviceDpi = painter.device()->logicalDpiY();
    if (fontSerial == 0 || font != painter.font() || dpi != deviceDpi) {
        lines.clear();
        font = painter.font();
        dpi = deviceDpi;
        ++fontSerial;
    }
    return fontSerial;
}

LaidOutText& CTextLineCache::Line(const std::string& text, QPainter& painter, uint64_t draw) {
    FontSerial(painter);
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
        line.firstDraw = draw;
    }
    line.lastDraw = draw;
    return line;
}

const TextOverWhite& CTextLineCache::OverWhite(LaidOutText& line, QPainter& painter, Rgb colour,
                                               QPointF fraction, QImage::Format format) {
    // Two kept: the same line comes in the active component's colour and in black.
    for (TextOverWhite& kept : line.overWhite) {
        if (kept.colour == colour && kept.fraction == fraction && kept.format == format) {
            std::swap(kept, line.overWhite.front());
            return line.overWhite.front();
        }
    }
    static const TextOverWhite none;
    if (line.firstDraw == line.lastDraw) {
        return none;
    }
    std::swap(line.overWhite.front(), line.overWhite.back());
    TextOverWhite& kept = line.overWhite.front();
    kept = {{}, {}, colour, fraction, format};
    // Written on white and on black, with a margin of two lines' height all round: every pixel
    // the glyphs cover at all changes at least one of the two, so nothing outside the box of the
    // changed pixels is touched on any background.
    const int margin = 2 * std::max(1, static_cast<int>(std::ceil(line.text.size().height())));
    const QSize size(static_cast<int>(std::ceil(line.text.size().width())) + 2 * margin,
                     static_cast<int>(std::ceil(line.text.size().height())) + 2 * margin);
    const QPointF at = QPointF(margin, margin) + fraction;
    const QColor ink(colour.r, colour.g, colour.b);
    const QImage onWhite = Written(line, painter, ink, at, size, format, 0xffffffff);
    const QImage onBlack = Written(line, painter, ink, at, size, format, 0xff000000);
    if (onWhite.isNull() || onBlack.isNull()) {
        return kept;
    }
    const QRect touched = Differing(onWhite, 0xffffffff) | Differing(onBlack, 0xff000000);
    if (touched.isEmpty() || !QRect(QPoint(0, 0), size).adjusted(1, 1, -1, -1).contains(touched)) {
        return kept;
    }
    kept.image = onWhite.copy(touched);
    kept.at = touched.topLeft() - QPoint(margin, margin);
    return kept;
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
