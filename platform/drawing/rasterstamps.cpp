#include "platform/drawing/rasterstamps.h"

#include <QPen>

#include <algorithm>
#include <cstdlib>

namespace {

// The scratch picture the runs are taken from, and where in it each shape starts.
constexpr int kScratchSize = 192;
constexpr int kAnchor = 80;

// The pen CQtPainterSurface strokes with; its colour does not change which pixels it covers.
QPen StrokePen(int width) {
    return {Qt::black, static_cast<qreal>(width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin};
}

} // namespace

CStampCache::CStampCache() : scratch(kScratchSize, kScratchSize, QImage::Format_RGB32) {}

CStampCache::~CStampCache() {
    if (scratchPainter.isActive()) {
        scratchPainter.end();
    }
}

// Fills area of the scratch picture white, lets draw put a black shape at the anchor and keeps
// the runs of that shape; a shape that reaches the edge of area is not usable.
template <typename Draw> void CStampCache::Make(Stamp& stamp, QRect scan, Draw draw) {
    stamp.made = true;
    if (!scratchPainter.isActive()) {
        scratchPainter.begin(&scratch);
    }
    scratchPainter.fillRect(scan, Qt::white);
    draw(scratchPainter);
    for (int y = scan.top(); y <= scan.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = scan.left(); x <= scan.right();) {
            if ((row[x] & 0xffffff) != 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= scan.right() && (row[x] & 0xffffff) == 0) {
                ++x;
            }
            if (y == scan.top() || y == scan.bottom() || start == scan.left() || x > scan.right()) {
                stamp.runs.clear();
                return;
            }
            stamp.runs.push_back({static_cast<int16_t>(y - kAnchor),
                                  static_cast<int16_t>(start - kAnchor),
                                  static_cast<int16_t>(x - kAnchor)});
        }
    }
    for (const StampRun& r : stamp.runs) {
        stamp.bounds |= QRect(r.x0, r.dy, r.x1 - r.x0, 1);
    }
    stamp.usable = true;
}

const Stamp& CStampCache::LineStamp(int width, int dx, int dy) {
    constexpr int kSide = 2 * kStampReach + 1;
    if (lineStamps.empty()) {
        lineStamps.resize(kMaxStampPen);
    }
    // A pen width's table is made when the width is first used.
    std::vector<Stamp>& ofWidth = lineStamps[static_cast<size_t>(width - 1)];
    if (ofWidth.empty()) {
        ofWidth.resize(static_cast<size_t>(kSide) * kSide);
    }
    Stamp& stamp = ofWidth[static_cast<size_t>(dx + kStampReach) * kSide + dy + kStampReach];
    if (!stamp.made) {
        const int margin = width + 2;
        const QRect scan(kAnchor + std::min(dx, 0) - margin, kAnchor + std::min(dy, 0) - margin,
                         std::abs(dx) + 2 * margin + 1, std::abs(dy) + 2 * margin + 1);
        Make(stamp, scan, [&](QPainter& p) {
            p.setPen(StrokePen(width));
            p.drawLine(QPointF(kAnchor, kAnchor), QPointF(kAnchor + dx, kAnchor + dy));
        });
    }
    return stamp;
}

const Stamp& CStampCache::CircleStamp(int width, int w, int h) {
    Stamp& stamp = circleStamps[(static_cast<uint32_t>(width) << 16) |
                                (static_cast<uint32_t>(w) << 8) | static_cast<uint32_t>(h)];
    if (!stamp.made) {
        const int margin = width + 2;
        const QRect scan(kAnchor - margin, kAnchor - margin, w + 2 * margin + 1,
                         h + 2 * margin + 1);
        Make(stamp, scan, [&](QPainter& p) {
            p.setPen(StrokePen(width));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(kAnchor, kAnchor, w, h));
        });
    }
    return stamp;
}
