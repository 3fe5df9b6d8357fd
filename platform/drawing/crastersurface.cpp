#include "platform/drawing/crastersurface.h"

#include "chart/chartgeometry.h"
#include "platform/drawing/rastergroups.h"
#include "platform/drawing/rasterstamps.h"
#include "platform/drawing/rastertexts.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

// Runs are used only where every device coordinate stays within this distance of the origin.
constexpr int64_t kStampArea = 1 << 14;
// Text further out than this is not drawn (as CQtPainterSurface leaves it out).
constexpr double kTextReach = 1 << 20;

QColor ToQColor(Rgb c) {
    return {c.r, c.g, c.b};
}

} // namespace

struct CRasterCache::Parts {
    CStampCache stamps;
    CTextLineCache texts;
    CGroupPictureCache groups;
    RasterFrameMemory frame;
    uint64_t draws = 0; ///< the draws made with the cache so far
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
      keeps(cache != nullptr), target(painter, pixelExact, keeps ? &parts.frame : nullptr) {
    ++parts.draws;
}

CRasterSurface::~CRasterSurface() {
    FlushRuns();
    if (recording) {
        AbandonGroup();
    }
    target.PayWhite();
    target.Finish();
    parts.texts.KeepOnlyLinesOf(parts.draws);
}

bool CRasterSurface::Record(const GroupCall& call) {
    if (!recording) {
        return false;
    }
    groupCalls.push_back(call);
    return true;
}

void CRasterSurface::PenSelected() {
    if (Record(PenCall(pen))) {
        return;
    }
    if (!(pen.colour == runsColour)) {
        FlushRuns();
    }
    plain.SelectPen(pen);
}

void CRasterSurface::BrushSelected() {
    if (!Record(BrushCall(brush))) {
        plain.SelectBrush(brush);
    }
}

void CRasterSurface::Moved() {
    Record(ShapeCall(GroupCall::Op::Move, {}, position));
}

void CRasterSurface::Line(Point from, Point to) {
    if (Record(ShapeCall(GroupCall::Op::Line, {}, from, to)) || StampLine(from, to)) {
        return;
    }
    WillDrawAlong(from, to);
    plain.MoveTo(from);
    plain.LineTo(to);
}

void CRasterSurface::Circle(Rect box) {
    if (Record(ShapeCall(GroupCall::Op::Circle, box)) || StampCircle(box)) {
        return;
    }
    FlushRuns();
    WillDrawRing(box);
    plain.Circle(box);
}

void CRasterSurface::Arc(Rect box, Point start, Point end) {
    if (Record(ShapeCall(GroupCall::Op::Arc, box, start, end))) {
        return;
    }
    FlushRuns();
    WillDrawRing(box);
    plain.Arc(box, start, end);
}

void CRasterSurface::Ellipse(Rect box) {
    if (Record(ShapeCall(GroupCall::Op::Ellipse, box))) {
        return;
    }
    FlushRuns();
    if (brush == Brush::Hollow) {
        WillDrawRing(box);
    } else {
        WillDrawAround(box);
    }
    plain.Ellipse(box);
}

void CRasterSurface::FillWhite(Rect rect) {
    if (Record(ShapeCall(GroupCall::Op::Fill, rect))) {
        return;
    }
    FlushRuns();
    // The fill of the whole client area is owed: the grid's picture is put over most of it.
    if (pixelExact && IsValidRect(rect)) {
        const int64_t x0 = std::min(rect.left, rect.right);
        const int64_t x1 = std::max(rect.left, rect.right);
        const int64_t y0 = -int64_t{std::max(rect.top, rect.bottom)};
        const int64_t y1 = -int64_t{std::min(rect.top, rect.bottom)};
        if (WithinStampArea(x0, y0) && WithinStampArea(x1, y1) &&
            target.OweWhite(QRect(static_cast<int>(x0), static_cast<int>(y0),
                                  static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)))) {
            return;
        }
    }
    target.WillDrawAnywhere();
    plain.FillWhite(rect);
}

void CRasterSurface::SetBackgroundTransparent() {
    if (!Record(ShapeCall(GroupCall::Op::Transparent))) {
        plain.SetBackgroundTransparent();
    }
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
    // Nothing is written of an empty line or one beyond reach.
    if (text.empty() || !IsValidPoint(p) || std::fabs(x) > kTextReach ||
        std::fabs(y) > kTextReach) {
        return;
    }
    if (!keeps || !pixelExact || HasLineBreakingCharacters(text)) {
        target.WillDrawAnywhere();
        plain.SetTextColour(textColour);
        plain.TextOut(p, text);
        return;
    }
    LaidOutText& line = parts.texts.Line(text, painter, parts.draws);
    // The baseline where QPainter::drawText puts it: the font's whole ascent below the point.
    if (textAscent < 0) {
        const QFontMetrics metrics(painter.font(), painter.device());
        textAscent = metrics.ascent();
        textHeight = metrics.height();
    }
    const QPointF at(x, y + textAscent - line.ascent);
    if (PutTextOverWhite(line, at)) {
        return;
    }
    // A line's glyphs stay well within two lines' height around the box of its advance.
    const QRect reach =
        QRect(static_cast<int>(x), static_cast<int>(y),
              static_cast<int>(std::ceil(line.text.size().width())), textHeight)
            .adjusted(-2 * textHeight, -2 * textHeight, 2 * textHeight, 2 * textHeight);
    target.WillDrawIn(reach);
    painter.setPen(ToQColor(textColour));
    painter.drawStaticText(at, line.text);
    plain.SelectPen(pen);
}

// A line written where the white fill is still owed: its pixels on white, kept from the first
// time, are copied there; it is written as usual over what was drawn before, and only there.
bool CRasterSurface::PutTextOverWhite(LaidOutText& line, QPointF at) {
    if (!target.WritesRows()) {
        return false;
    }
    const QPoint whole(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
    const TextOverWhite& pixels =
        parts.texts.OverWhite(line, painter, textColour, at - QPointF(whole), target.Format());
    if (pixels.image.isNull()) {
        return false;
    }
    const QRegion rest = target.CopyOverOwedWhite(whole + pixels.at, pixels.image);
    if (rest.isEmpty()) {
        return true;
    }
    const bool copied = rest.rectCount() != 1 || rest.boundingRect().size() != pixels.image.size();
    if (copied) {
        painter.save();
        painter.setClipRegion(rest, Qt::IntersectClip);
    }
    painter.setPen(ToQColor(textColour));
    painter.drawStaticText(at, line.text);
    if (copied) {
        painter.restore();
    } else {
        plain.SelectPen(pen);
    }
    return true;
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
    target.WillDrawAnywhere();
    DrawGroupCalls(plain, true);
    groupCalls.clear();
}

void CRasterSurface::FinishGroup() {
    const GroupPicture* kept = parts.groups.Picture(
        groupCalls, area, [this](DrawSurface& layer) { DrawGroupCalls(layer, true); });
    if (kept == nullptr) {
        target.WillDrawAnywhere();
        DrawGroupCalls(plain, true);
        return;
    }
    if (!kept->image.isNull()) {
        target.PutPicture(kept->at, kept->image, kept->overWhite, kept->serial);
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
    const Stamp& stamp =
        parts.stamps.LineStamp(pen.width, static_cast<int>(dx), static_cast<int>(dy));
    if (!stamp.usable) {
        return false;
    }
    PutRuns(stamp, x, y);
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
    const Stamp& stamp =
        parts.stamps.CircleStamp(pen.width, static_cast<int>(w), static_cast<int>(h));
    if (!stamp.usable) {
        return false;
    }
    PutRuns(stamp, x, y);
    return true;
}

// The runs of a shape placed at (x, y): written into the picture's rows at once where the
// target allows, else kept to be filled by the painter in one call.
void CRasterSurface::PutRuns(const Stamp& stamp, int64_t x, int64_t y) {
    if (target.WritesRows()) {
        const QRect placed = stamp.bounds.translated(static_cast<int>(x), static_cast<int>(y));
        target.WillDrawIn(placed);
        target.FillRuns(stamp.runs, x, y, pen.colour);
        return;
    }
    if (!(runsColour == pen.colour)) {
        FlushRuns();
    }
    runsColour = pen.colour;
    for (const StampRun& r : stamp.runs) {
        runs.emplace_back(static_cast<int>(x + r.x0), static_cast<int>(y + r.dy), r.x1 - r.x0, 1);
    }
}

// Fills the white owed around a shape within box (logical corners) drawn with the pen, or all
// of it when the box is out of reach, and notes the shape as drawn there.
void CRasterSurface::WillDrawAround(const Rect& box) {
    QRect around;
    if (OwedAround(box, around)) {
        target.Drawn(around);
    }
}

// WillDrawAround for a line from `from` to `to`, noted as drawn along the part of it that
// reaches the picture only.
void CRasterSurface::WillDrawAlong(Point from, Point to) {
    QRect around;
    if (!OwedAround({from.x, from.y, to.x, to.y}, around)) {
        return;
    }
    QPointF a(from.x, -static_cast<double>(from.y));
    QPointF b(to.x, -static_cast<double>(to.y));
    if (ClipSegment(a, b, QRectF(around))) {
        target.DrawnAlong(a.toPoint(), b.toPoint(), pen.width + 2);
    }
}

// WillDrawAround for the outline of an ellipse in box, noted as drawn near the outline only
// when it is a circle (the sides of its box differ by a pixel at most).
void CRasterSurface::WillDrawRing(const Rect& box) {
    QRect around;
    if (!OwedAround(box, around) || !IsValidRect(box)) {
        return;
    }
    const double left = std::min(box.left, box.right);
    const double right = std::max(box.left, box.right);
    const double top = -static_cast<double>(std::max(box.top, box.bottom));
    const double bottom = -static_cast<double>(std::min(box.top, box.bottom));
    if (std::fabs((right - left) - (bottom - top)) <= 1) {
        target.DrawnRing({left + (right - left) / 2, top + (bottom - top) / 2},
                         std::max(right - left, bottom - top) / 2, pen.width + 2, around);
    } else {
        target.Drawn(around);
    }
}

// Pays the white owed around a shape within box with the pen's margin, within the part of the
// picture the draw may write when the box reaches beyond, and gives that area; false when
// nothing is drawn there (or anywhere: all is paid and noted as drawn when the draw writes no
// rows of its own).
bool CRasterSurface::OwedAround(const Rect& box, QRect& around) {
    if (!IsValidRect(box)) {
        return false; // nothing is drawn
    }
    const int64_t margin = int64_t{pen.width} + 2;
    int64_t x0 = std::min(box.left, box.right) - margin;
    int64_t x1 = std::max(box.left, box.right) + margin;
    int64_t y0 = -int64_t{std::max(box.top, box.bottom)} - margin;
    int64_t y1 = -int64_t{std::min(box.top, box.bottom)} + margin;
    if (!WithinStampArea(x0, y0) || !WithinStampArea(x1, y1) || margin > kStampArea) {
        const QRect reach = target.Reach();
        if (reach.isEmpty() || margin > kStampArea) {
            target.WillDrawAnywhere();
            return false;
        }
        x0 = std::max<int64_t>(x0, reach.left() - margin);
        x1 = std::min<int64_t>(x1, reach.right() + margin);
        y0 = std::max<int64_t>(y0, reach.top() - margin);
        y1 = std::min<int64_t>(y1, reach.bottom() + margin);
        if (x0 > x1 || y0 > y1) {
            return false;
        }
    }
    around = QRect(QPoint(static_cast<int>(x0), static_cast<int>(y0)),
                   QPoint(static_cast<int>(x1), static_cast<int>(y1)));
    target.PayWhiteIn(around);
    return true;
}

void CRasterSurface::FlushRuns() {
    if (runs.empty()) {
        return;
    }
    target.WillDrawAnywhere();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(runsColour));
    painter.drawRects(runs.data(), static_cast<int>(runs.size()));
    runs.clear();
    plain.SelectPen(pen);
    plain.SelectBrush(brush);
}
