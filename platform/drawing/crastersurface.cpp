#include "platform/drawing/crastersurface.h"

#include "chart/chartgeometry.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QStaticText>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <unordered_map>
#include <utility>

namespace {

// Lines whose ends lie at most this many pixels apart in each direction, circles whose box is
// at most kMaxStampBox pixels and pens at most kMaxStampPen wide are filled from pixel runs.
constexpr int kStampReach = 32;
constexpr int kMaxStampBox = 64;
constexpr int kMaxStampPen = 8;
// Runs are used only where every device coordinate stays within this distance of the origin.
constexpr int64_t kStampArea = 1 << 14;
// The scratch picture the runs are taken from, and where in it each shape starts.
constexpr int kScratchSize = 192;
constexpr int kAnchor = 80;
// Text further out than this is not drawn (as CQtPainterSurface leaves it out).
constexpr double kTextReach = 1 << 20;
// Pictures of groups kept, the most recently used first, and the largest area one is made for.
constexpr size_t kGroupPictures = 2;
constexpr int64_t kMaxGroupPixels = int64_t{1} << 25;

QColor ToQColor(Rgb c) {
    return {c.r, c.g, c.b};
}

// The pen CQtPainterSurface strokes with; its colour does not change which pixels it covers.
QPen StrokePen(int width) {
    return {Qt::black, static_cast<qreal>(width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin};
}

// Pixels x0 <= x < x1 of row dy, relative to where the shape starts.
struct Run {
    int16_t dy = 0;
    int16_t x0 = 0;
    int16_t x1 = 0;
};

// The runs of one shape; usable is false when the shape does not fit the scratch picture.
struct Stamp {
    bool made = false;
    bool usable = false;
    std::vector<Run> runs;
};

// A text line laid out once, and the ascent of its line.
struct LaidOutText {
    QStaticText text;
    double ascent = 0;
    uint64_t lastDraw = 0;
};

struct GroupPicture {
    std::vector<CRasterSurface::GroupCall> calls;
    QRect area;
    QImage image; ///< what the calls drew, transparent elsewhere, cut to what they touched
    QPoint at;
};

// Control characters and line and paragraph separators: texts with them are drawn as
// QPainter::drawText draws them, not laid out as lines.
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

} // namespace

struct CRasterCache::Parts {
    Parts() : scratch(kScratchSize, kScratchSize, QImage::Format_RGB32) {}
    ~Parts() {
        if (scratchPainter.isActive()) {
            scratchPainter.end();
        }
    }

    // Fills area of the scratch picture white, lets draw put a black shape at the anchor and
    // keeps the runs of that shape; a shape that reaches the edge of area is not usable.
    template <typename Draw> void Make(Stamp& stamp, QRect scan, Draw draw) {
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
                if (y == scan.top() || y == scan.bottom() || start == scan.left() ||
                    x > scan.right()) {
                    stamp.runs.clear();
                    return;
                }
                stamp.runs.push_back({static_cast<int16_t>(y - kAnchor),
                                      static_cast<int16_t>(start - kAnchor),
                                      static_cast<int16_t>(x - kAnchor)});
            }
        }
        stamp.usable = true;
    }

    const Stamp& LineStamp(int width, int dx, int dy) {
        constexpr int kSide = 2 * kStampReach + 1;
        if (lineStamps.empty()) {
            lineStamps.resize(static_cast<size_t>(kMaxStampPen) * kSide * kSide);
        }
        Stamp& stamp =
            lineStamps[(static_cast<size_t>(width - 1) * kSide + dx + kStampReach) * kSide + dy +
                       kStampReach];
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

    const Stamp& CircleStamp(int width, int w, int h) {
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

    QImage scratch;
    QPainter scratchPainter;
    std::vector<Stamp> lineStamps; ///< by pen width, then the two offsets
    std::unordered_map<uint32_t, Stamp> circleStamps;

    QFont textFont;
    int textDpi = 0;
    std::unordered_map<std::string, LaidOutText> texts;
    uint64_t draws = 0;

    std::vector<GroupPicture> groupPictures;
    std::vector<CRasterSurface::GroupCall> lastGroupCalls; ///< the last group drawn call by call
    QRect lastGroupArea;
};

CRasterCache::CRasterCache() : parts(std::make_unique<Parts>()) {}

CRasterCache::~CRasterCache() = default;

namespace {

bool IsPixelExact(QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    const QTransform t = painter.deviceTransform();
    return engine != nullptr && engine->type() == QPaintEngine::Raster &&
           t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) &&
           t.dy() == std::floor(t.dy()) && !painter.testRenderHint(QPainter::Antialiasing) &&
           painter.opacity() == 1.0 &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver;
}

bool WithinStampArea(int64_t x, int64_t y) {
    return std::llabs(x) <= kStampArea && std::llabs(y) <= kStampArea;
}

// A call of a group with the shape's coordinates, or the pen or brush it selects.
CRasterSurface::GroupCall ShapeCall(CRasterSurface::GroupCall::Op op, Rect box = {}, Point a = {},
                                    Point b = {}) {
    CRasterSurface::GroupCall c;
    c.op = op;
    c.box = box;
    c.a = a;
    c.b = b;
    return c;
}

CRasterSurface::GroupCall PenCall(Pen pen) {
    CRasterSurface::GroupCall c;
    c.op = CRasterSurface::GroupCall::Op::Pen;
    c.pen = pen;
    return c;
}

CRasterSurface::GroupCall BrushCall(Brush brush) {
    CRasterSurface::GroupCall c;
    c.op = CRasterSurface::GroupCall::Op::Brush;
    c.brush = brush;
    return c;
}

} // namespace

CRasterSurface::CRasterSurface(QPainter& painter, QRect area, CRasterCache* cache)
    : painter(painter), area(area), plain(&painter, {0, 0}),
      ownCache(cache == nullptr ? std::make_unique<CRasterCache>() : nullptr),
      parts(*(cache != nullptr ? cache : ownCache.get())->parts), pixelExact(IsPixelExact(painter)),
      keeps(cache != nullptr) {
    ++parts.draws;
}

CRasterSurface::~CRasterSurface() {
    FlushRuns();
    if (recording) {
        AbandonGroup();
    }
    // Text lines this draw did not write are not likely to come again.
    std::erase_if(parts.texts,
                  [&](const auto& entry) { return entry.second.lastDraw != parts.draws; });
}

bool CRasterSurface::Record(const GroupCall& call) {
    if (!recording) {
        return false;
    }
    groupCalls.push_back(call);
    return true;
}

Pen CRasterSurface::SelectPen(Pen p) {
    const Pen previous = std::exchange(pen, p);
    if (Record(PenCall(p))) {
        return previous;
    }
    if (!(p.colour == runsColour)) {
        FlushRuns();
    }
    plain.SelectPen(p);
    return previous;
}

Brush CRasterSurface::SelectBrush(Brush b) {
    const Brush previous = std::exchange(brush, b);
    if (Record(BrushCall(b))) {
        return previous;
    }
    plain.SelectBrush(b);
    return previous;
}

void CRasterSurface::MoveTo(Point p) {
    position = p;
    Record(ShapeCall(GroupCall::Op::Move, {}, p));
}

void CRasterSurface::LineTo(Point p) {
    const Point from = std::exchange(position, p);
    if (Record(ShapeCall(GroupCall::Op::Line, {}, from, p)) || StampLine(from, p)) {
        return;
    }
    plain.MoveTo(from);
    plain.LineTo(p);
}

void CRasterSurface::Circle(Rect box) {
    if (Record(ShapeCall(GroupCall::Op::Circle, box)) || StampCircle(box)) {
        return;
    }
    FlushRuns();
    plain.Circle(box);
}

void CRasterSurface::Arc(Rect box, Point start, Point end) {
    if (Record(ShapeCall(GroupCall::Op::Arc, box, start, end))) {
        return;
    }
    FlushRuns();
    plain.Arc(box, start, end);
}

void CRasterSurface::Ellipse(Rect box) {
    if (Record(ShapeCall(GroupCall::Op::Ellipse, box))) {
        return;
    }
    FlushRuns();
    plain.Ellipse(box);
}

void CRasterSurface::FillWhite(Rect rect) {
    if (Record(ShapeCall(GroupCall::Op::Fill, rect))) {
        return;
    }
    FlushRuns();
    plain.FillWhite(rect);
}

void CRasterSurface::SetBackgroundTransparent() {
    if (!Record(ShapeCall(GroupCall::Op::Transparent))) {
        plain.SetBackgroundTransparent();
    }
}

Rgb CRasterSurface::SetTextColour(Rgb colour) {
    plain.SetTextColour(colour);
    return std::exchange(textColour, colour);
}

TextMetrics CRasterSurface::GetTextMetrics() {
    return plain.GetTextMetrics();
}

int32_t CRasterSurface::TextWidth(const std::string& text) {
    return plain.TextWidth(text);
}

void CRasterSurface::TextOut(Point p, const std::string& text) {
    FlushRuns();
    if (recording) {
        AbandonGroup();
    }
    const double x = IsValidPoint(p) ? p.x : 0;
    const double y = IsValidPoint(p) ? -static_cast<double>(p.y) : 0;
    if (!keeps || !pixelExact || text.empty() || !IsValidPoint(p) || std::fabs(x) > kTextReach ||
        std::fabs(y) > kTextReach || HasLineBreakingCharacters(text)) {
        plain.TextOut(p, text);
        return;
    }
    const int dpi = painter.device()->logicalDpiY();
    if (parts.textFont != painter.font() || parts.textDpi != dpi) {
        parts.texts.clear();
        parts.textFont = painter.font();
        parts.textDpi = dpi;
    }
    auto [entry, added] = parts.texts.try_emplace(text);
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
    line.lastDraw = parts.draws;
    // The baseline where QPainter::drawText puts it: the font's whole ascent below the point.
    if (textAscent < 0) {
        textAscent = QFontMetrics(painter.font(), painter.device()).ascent();
    }
    painter.setPen(ToQColor(textColour));
    painter.drawStaticText(QPointF(x, y + textAscent - line.ascent), line.text);
    plain.SelectPen(pen);
}

void CRasterSurface::BeginGroup() {
    FlushRuns();
    if (groupDepth++ == 0 && pixelExact && keeps) {
        recording = true;
        groupCalls.clear();
        // The state the group starts from is part of what it draws.
        groupCalls.push_back(PenCall(pen));
        groupCalls.push_back(BrushCall(brush));
    }
}

void CRasterSurface::EndGroup() {
    if (groupDepth == 0 || --groupDepth != 0 || !recording) {
        return;
    }
    recording = false;
    FinishGroup();
}

void CRasterSurface::DrawGroupCalls(DrawSurface& s, bool shapes) const {
    for (const GroupCall& c : groupCalls) {
        switch (c.op) {
        case GroupCall::Op::Pen:
            s.SelectPen(c.pen);
            break;
        case GroupCall::Op::Brush:
            s.SelectBrush(c.brush);
            break;
        case GroupCall::Op::Transparent:
            s.SetBackgroundTransparent();
            break;
        case GroupCall::Op::Move:
            s.MoveTo(c.a);
            break;
        case GroupCall::Op::Line:
            if (shapes) {
                s.MoveTo(c.a);
                s.LineTo(c.b);
            }
            break;
        case GroupCall::Op::Circle:
            if (shapes) {
                s.Circle(c.box);
            }
            break;
        case GroupCall::Op::Arc:
            if (shapes) {
                s.Arc(c.box, c.a, c.b);
            }
            break;
        case GroupCall::Op::Ellipse:
            if (shapes) {
                s.Ellipse(c.box);
            }
            break;
        case GroupCall::Op::Fill:
            if (shapes) {
                s.FillWhite(c.box);
            }
            break;
        }
    }
}

void CRasterSurface::AbandonGroup() {
    recording = false;
    DrawGroupCalls(plain, true);
    groupCalls.clear();
}

void CRasterSurface::FinishGroup() {
    std::vector<GroupPicture>& pictures = parts.groupPictures;
    auto kept = std::find_if(pictures.begin(), pictures.end(), [&](const GroupPicture& g) {
        return g.area == area && g.calls == groupCalls;
    });
    if (kept == pictures.end()) {
        // A group is kept as a picture the second time in a row it comes, so that a window
        // being resized does not pay for pictures it never uses again.
        if (!(parts.lastGroupArea == area && parts.lastGroupCalls == groupCalls)) {
            parts.lastGroupCalls = groupCalls;
            parts.lastGroupArea = area;
            DrawGroupCalls(plain, true);
            return;
        }
        GroupPicture picture{groupCalls, area, {}, {}};
        const bool fits = static_cast<int64_t>(area.width()) * area.height() <= kMaxGroupPixels;
        QImage layer = fits ? QImage(area.size(), QImage::Format_ARGB32_Premultiplied) : QImage();
        if (layer.isNull()) {
            DrawGroupCalls(plain, true);
            return;
        }
        layer.fill(Qt::transparent);
        {
            QPainter layerPainter(&layer);
            CQtPainterSurface onLayer(&layerPainter, {area.left(), -area.top()});
            DrawGroupCalls(onLayer, true);
        }
        int top = layer.height();
        int bottom = -1;
        int left = layer.width();
        int right = -1;
        for (int y = 0; y < layer.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
            for (int x = 0; x < layer.width(); ++x) {
                if (qAlpha(row[x]) != 0) {
                    top = std::min(top, y);
                    bottom = y;
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        if (bottom >= 0) {
            const QRect touched(QPoint(left, top), QPoint(right, bottom));
            picture.image = layer.copy(touched);
            picture.at = area.topLeft() + touched.topLeft();
        }
        parts.lastGroupCalls.clear();
        pictures.insert(pictures.begin(), std::move(picture));
        if (pictures.size() > kGroupPictures) {
            pictures.pop_back();
        }
        kept = pictures.begin();
    } else if (kept != pictures.begin()) {
        std::rotate(pictures.begin(), kept, kept + 1);
        kept = pictures.begin();
    }
    if (!kept->image.isNull()) {
        painter.drawImage(kept->at, kept->image);
    }
    DrawGroupCalls(plain, false);
}

bool CRasterSurface::StampLine(Point from, Point to) {
    if (!pixelExact || pen.width < 1 || pen.width > kMaxStampPen || !IsValidPoint(from) ||
        !IsValidPoint(to)) {
        return false;
    }
    const int64_t x = from.x;
    const int64_t y = -int64_t{from.y};
    const int64_t dx = int64_t{to.x} - from.x;
    const int64_t dy = int64_t{from.y} - to.y;
    if (!WithinStampArea(x, y) || std::llabs(dx) > kStampReach || std::llabs(dy) > kStampReach) {
        return false;
    }
    const Stamp& stamp = parts.LineStamp(pen.width, static_cast<int>(dx), static_cast<int>(dy));
    if (!stamp.usable) {
        return false;
    }
    runsColour = pen.colour;
    for (const Run& r : stamp.runs) {
        runs.emplace_back(static_cast<int>(x + r.x0), static_cast<int>(y + r.dy), r.x1 - r.x0, 1);
    }
    return true;
}

bool CRasterSurface::StampCircle(const Rect& box) {
    if (!pixelExact || pen.width < 1 || pen.width > kMaxStampPen || !IsValidRect(box)) {
        return false;
    }
    const int64_t x = std::min(box.left, box.right);
    const int64_t y = -int64_t{std::max(box.top, box.bottom)};
    const int64_t w = std::llabs(int64_t{box.right} - box.left);
    const int64_t h = std::llabs(int64_t{box.top} - box.bottom);
    if (!WithinStampArea(x, y) || w > kMaxStampBox || h > kMaxStampBox) {
        return false;
    }
    const Stamp& stamp = parts.CircleStamp(pen.width, static_cast<int>(w), static_cast<int>(h));
    if (!stamp.usable) {
        return false;
    }
    if (!(runsColour == pen.colour)) {
        FlushRuns();
    }
    runsColour = pen.colour;
    for (const Run& r : stamp.runs) {
        runs.emplace_back(static_cast<int>(x + r.x0), static_cast<int>(y + r.dy), r.x1 - r.x0, 1);
    }
    return true;
}

void CRasterSurface::FlushRuns() {
    if (runs.empty()) {
        return;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(runsColour));
    painter.drawRects(runs.data(), static_cast<int>(runs.size()));
    runs.clear();
    plain.SelectPen(pen);
    plain.SelectBrush(brush);
}
