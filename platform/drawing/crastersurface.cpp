#include "platform/drawing/crastersurface.h"

#include "chart/chartgeometry.h"
#include "platform/drawing/rastergroups.h"
#include "platform/drawing/rasterstamps.h"
#include "platform/drawing/rastertexts.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
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
    // The calls of the draw under way, kept until it ends (their room is kept for the next).
    std::vector<CRasterSurface::KeptCall> kept;
    std::vector<std::string> keptTexts;
    std::vector<uint32_t> keptTiles;
};

CRasterCache::CRasterCache() : parts(std::make_unique<Parts>()) {}

CRasterCache::~CRasterCache() = default;

QRegion CRasterCache::LastWritten() const {
    return parts->frame.valid ? parts->frame.written : QRegion();
}

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

// The centre and radius (in device pixels) of the ellipse in a valid box when it is a circle:
// the sides of its box differ by a pixel at most.
bool CircleIn(const Rect& box, QPointF& centre, double& radius) {
    const double left = std::min(box.left, box.right);
    const double right = std::max(box.left, box.right);
    const double top = -static_cast<double>(std::max(box.top, box.bottom));
    const double bottom = -static_cast<double>(std::min(box.top, box.bottom));
    if (std::fabs((right - left) - (bottom - top)) > 1) {
        return false;
    }
    centre = {left + (right - left) / 2, top + (bottom - top) / 2};
    radius = std::max(right - left, bottom - top) / 2;
    return true;
}

// Where a text written at p starts, in device pixels; false when nothing of it is written (an
// empty line or one beyond reach).
bool TextPlace(Point p, const std::string& text, double& x, double& y) {
    if (text.empty() || !IsValidPoint(p)) {
        return false;
    }
    x = p.x;
    y = -static_cast<double>(p.y);
    return std::fabs(x) <= kTextReach && std::fabs(y) <= kTextReach;
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

// The tiles a shape may write, through touch, with the area around it: Box when it writes
// within around (where the white it owes lies), Nothing when it writes nothing, Anywhere when
// that cannot be told. One reckoning serves the marks of a draw and the tiles of a kept call.

// A shape within box (logical corners), drawn with a pen of penWidth: all of its box.
template <typename Touch>
CRasterSurface::Reach CRasterSurface::ForTilesAround(const Rect& box, int penWidth, QRect& around,
                                                     Touch touch) {
    const Reach reach = AroundOf(box, penWidth, around);
    if (reach == Reach::Box) {
        target.ForTilesIn(around, touch);
    }
    return reach;
}

// A line from `from` to `to`: the tiles along the part of it that reaches the picture only.
template <typename Touch>
CRasterSurface::Reach CRasterSurface::ForTilesOfLine(Point from, Point to, int penWidth,
                                                     QRect& around, Touch touch) {
    const Reach reach = AroundOf({from.x, from.y, to.x, to.y}, penWidth, around);
    if (reach != Reach::Box) {
        return reach;
    }
    QPointF a(from.x, -static_cast<double>(from.y));
    QPointF b(to.x, -static_cast<double>(to.y));
    if (ClipSegment(a, b, QRectF(around))) {
        target.ForTilesAlong(a.toPoint(), b.toPoint(), penWidth + 2, touch);
    }
    return reach;
}

// The outline of the ellipse in box: near the outline only when it is a circle.
template <typename Touch>
CRasterSurface::Reach CRasterSurface::ForTilesOfOutline(const Rect& box, int penWidth,
                                                        QRect& around, Touch touch) {
    const Reach reach = AroundOf(box, penWidth, around);
    if (reach != Reach::Box) {
        return reach;
    }
    QPointF centre;
    double radius = 0;
    if (CircleIn(box, centre, radius)) {
        target.ForTilesOfRing(centre, radius, penWidth + 2, around, touch);
    } else {
        target.ForTilesIn(around, touch);
    }
    return reach;
}

// Before a shape whose tiles `tiles` gives (as the functions above, given a touch): pays the
// white owed around it and notes it as drawn in its tiles, or pays all and notes a write
// anywhere.
template <typename Tiles> void CRasterSurface::WillDrawTiles(Tiles tiles) {
    QRect around;
    switch (tiles(around, [this](size_t i) { target.DrawnTile(i); })) {
    case Reach::Nothing:
        return;
    case Reach::Anywhere:
        target.WillDrawAnywhere();
        return;
    case Reach::Box:
        target.NoteWrite();
        target.PayWhiteIn(around);
        return;
    }
}

CRasterSurface::CRasterSurface(QPainter& painter, QRect area, CRasterCache* cache)
    : painter(painter), area(area), plain(&painter, {0, 0}),
      ownCache(cache == nullptr ? std::make_unique<CRasterCache>() : nullptr),
      parts(*(cache != nullptr ? cache : ownCache.get())->parts), pixelExact(IsPixelExact(painter)),
      keeps(cache != nullptr), target(painter, pixelExact, keeps ? &parts.frame : nullptr) {
    ++parts.draws;
    // A draw into a picture that holds the last draw is written at its end, where it changes.
    keeping = keeps && pixelExact && target.WritesRows() && target.Remembers();
}

CRasterSurface::~CRasterSurface() {
    if (keeping) {
        DrawKept();
    }
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

bool CRasterSurface::Keep(KeptCall::Op op, Rect box, Point a, Point b) {
    if (!keeping) {
        return false;
    }
    parts.kept.push_back({op, false, box, a, b, pen, brush, textColour, 0, 0, 0});
    return true;
}

void CRasterSurface::PenSelected() {
    if (Keep(KeptCall::Op::Pen) || Record(PenCall(pen))) {
        return;
    }
    if (!(pen.colour == runsColour)) {
        FlushRuns();
    }
    plain.SelectPen(pen);
}

void CRasterSurface::BrushSelected() {
    if (!Keep(KeptCall::Op::Brush) && !Record(BrushCall(brush))) {
        plain.SelectBrush(brush);
    }
}

void CRasterSurface::Moved() {
    if (Keep(KeptCall::Op::Move, {}, position)) {
        return;
    }
    Record(ShapeCall(GroupCall::Op::Move, {}, position));
}

void CRasterSurface::Line(Point from, Point to) {
    if (Keep(KeptCall::Op::Line, {}, from, to) ||
        Record(ShapeCall(GroupCall::Op::Line, {}, from, to)) || StampLine(from, to)) {
        return;
    }
    WillDrawTiles([&](QRect& around, auto mark) {
        return ForTilesOfLine(from, to, pen.width, around, mark);
    });
    plain.MoveTo(from);
    plain.LineTo(to);
}

void CRasterSurface::Circle(Rect box) {
    if (Keep(KeptCall::Op::Circle, box) || Record(ShapeCall(GroupCall::Op::Circle, box)) ||
        StampCircle(box)) {
        return;
    }
    FlushRuns();
    WillDrawTiles(
        [&](QRect& around, auto mark) { return ForTilesOfOutline(box, pen.width, around, mark); });
    plain.Circle(box);
}

void CRasterSurface::Arc(Rect box, Point start, Point end) {
    if (Keep(KeptCall::Op::Arc, box, start, end) ||
        Record(ShapeCall(GroupCall::Op::Arc, box, start, end))) {
        return;
    }
    FlushRuns();
    WillDrawTiles(
        [&](QRect& around, auto mark) { return ForTilesOfOutline(box, pen.width, around, mark); });
    plain.Arc(box, start, end);
}

void CRasterSurface::Ellipse(Rect box) {
    if (Keep(KeptCall::Op::Ellipse, box) || Record(ShapeCall(GroupCall::Op::Ellipse, box))) {
        return;
    }
    FlushRuns();
    if (brush == Brush::Hollow) {
        WillDrawTiles([&](QRect& around, auto mark) {
            return ForTilesOfOutline(box, pen.width, around, mark);
        });
    } else {
        WillDrawTiles(
            [&](QRect& around, auto mark) { return ForTilesAround(box, pen.width, around, mark); });
    }
    plain.Ellipse(box);
}

void CRasterSurface::FillWhite(Rect rect) {
    if (Keep(KeptCall::Op::Fill, rect) || Record(ShapeCall(GroupCall::Op::Fill, rect))) {
        return;
    }
    FlushRuns();
    // The fill of the whole client area is owed: the grid's picture is put over most of it.
    if (QRect owed; OwedRectOf(rect, owed) && target.OweWhite(owed)) {
        return;
    }
    target.WillDrawAnywhere();
    plain.FillWhite(rect);
}

void CRasterSurface::SetBackgroundTransparent() {
    if (!Keep(KeptCall::Op::Transparent) && !Record(ShapeCall(GroupCall::Op::Transparent))) {
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
    if (Keep(KeptCall::Op::Text, {}, p)) {
        parts.kept.back().text = static_cast<uint32_t>(parts.keptTexts.size());
        parts.keptTexts.push_back(text);
        return;
    }
    FlushRuns();
    if (recording) {
        AbandonGroup();
    }
    double x = 0;
    double y = 0;
    if (!TextPlace(p, text, x, y)) {
        return;
    }
    if (!keeps || !pixelExact || HasLineBreakingCharacters(text)) {
        target.WillDrawAnywhere();
        plain.SetTextColour(textColour);
        plain.TextOut(p, text);
        return;
    }
    LaidOutText& line = parts.texts.Line(text, painter, parts.draws);
    const QPointF at = TextAt(x, y, line);
    if (PutTextOverWhite(line, at)) {
        return;
    }
    target.WillDrawIn(TextReach(x, y, line));
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
    QPoint whole;
    const TextOverWhite& pixels = OverWhiteAt(line, at, textColour, whole);
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

// A line's glyphs stay well within two lines' height around the box of its advance from (x, y).
QRect CRasterSurface::TextReach(double x, double y, const LaidOutText& line) const {
    return QRect(static_cast<int>(x), static_cast<int>(y),
                 static_cast<int>(std::ceil(line.text.size().width())), textHeight)
        .adjusted(-2 * textHeight, -2 * textHeight, 2 * textHeight, 2 * textHeight);
}

// The point QPainter::drawStaticText takes for line written with its top-left at (x, y): the
// baseline where QPainter::drawText puts it, the font's whole ascent below the point.
QPointF CRasterSurface::TextAt(double x, double y, const LaidOutText& line) {
    MeasureFont();
    return {x, y + textAscent - line.ascent};
}

// The pixels on white of line written at `at` in colour, and the whole pixel they are placed
// from.
const TextOverWhite& CRasterSurface::OverWhiteAt(LaidOutText& line, QPointF at, Rgb colour,
                                                 QPoint& whole) {
    whole = QPoint(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
    return parts.texts.OverWhite(line, painter, colour, at - QPointF(whole), target.Format());
}

void CRasterSurface::MeasureFont() {
    if (textAscent < 0) {
        const QFontMetrics metrics(painter.font(), painter.device());
        textAscent = metrics.ascent();
        textHeight = metrics.height();
    }
}

void CRasterSurface::BeginGroup() {
    if (Keep(KeptCall::Op::BeginGroup)) {
        return;
    }
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
    if (Keep(KeptCall::Op::EndGroup) || groupDepth == 0 || --groupDepth != 0 || !recording) {
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

// The runs of a line drawn with linePen and where they start, when they can be used.
const Stamp* CRasterSurface::LineStampAt(Pen linePen, Point from, Point to, int64_t& x,
                                         int64_t& y) {
    if (!pixelExact || linePen.width < 1 || linePen.width > kMaxStampPen || !IsValidPoint(from) ||
        !IsValidPoint(to)) {
        return nullptr;
    }
    x = from.x;
    y = -int64_t{from.y};
    const int64_t dx = int64_t{to.x} - from.x;
    const int64_t dy = int64_t{from.y} - to.y;
    if (!WithinStampArea(x, y) || std::llabs(dx) > kStampReach || std::llabs(dy) > kStampReach) {
        return nullptr;
    }
    const Stamp& stamp =
        parts.stamps.LineStamp(linePen.width, static_cast<int>(dx), static_cast<int>(dy));
    return stamp.usable ? &stamp : nullptr;
}

// The runs of a circle in box drawn with circlePen and where they start, when they can be used.
const Stamp* CRasterSurface::CircleStampAt(Pen circlePen, const Rect& box, int64_t& x, int64_t& y) {
    if (!pixelExact || circlePen.width < 1 || circlePen.width > kMaxStampPen || !IsValidRect(box)) {
        return nullptr;
    }
    x = std::min(box.left, box.right);
    y = -int64_t{std::max(box.top, box.bottom)};
    const int64_t w = std::llabs(int64_t{box.right} - box.left);
    const int64_t h = std::llabs(int64_t{box.top} - box.bottom);
    if (!WithinStampArea(x, y) || w > kMaxStampBox || h > kMaxStampBox) {
        return nullptr;
    }
    const Stamp& stamp =
        parts.stamps.CircleStamp(circlePen.width, static_cast<int>(w), static_cast<int>(h));
    return stamp.usable ? &stamp : nullptr;
}

bool CRasterSurface::StampLine(Point from, Point to) {
    int64_t x = 0;
    int64_t y = 0;
    const Stamp* stamp = LineStampAt(pen, from, to, x, y);
    if (stamp != nullptr) {
        PutRuns(*stamp, x, y);
    }
    return stamp != nullptr;
}

bool CRasterSurface::StampCircle(const Rect& box) {
    int64_t x = 0;
    int64_t y = 0;
    const Stamp* stamp = CircleStampAt(pen, box, x, y);
    if (stamp != nullptr) {
        PutRuns(*stamp, x, y);
    }
    return stamp != nullptr;
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

// The device pixels of a white fill of rect that can be owed, when it can.
bool CRasterSurface::OwedRectOf(const Rect& rect, QRect& owed) const {
    if (!pixelExact || !IsValidRect(rect)) {
        return false;
    }
    const int64_t x0 = std::min(rect.left, rect.right);
    const int64_t x1 = std::max(rect.left, rect.right);
    const int64_t y0 = -int64_t{std::max(rect.top, rect.bottom)};
    const int64_t y1 = -int64_t{std::min(rect.top, rect.bottom)};
    if (!WithinStampArea(x0, y0) || !WithinStampArea(x1, y1)) {
        return false;
    }
    owed = QRect(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                 static_cast<int>(y1 - y0));
    return true;
}

// The area a shape within box (logical corners) drawn with a pen of penWidth may write: its box
// with the pen's margin, within the part of the picture the draw may write when the box reaches
// beyond; Nothing when it writes nothing there, Anywhere when that cannot be told (the draw
// writes no rows of its own, or the pen is beyond all measure).
CRasterSurface::Reach CRasterSurface::AroundOf(const Rect& box, int penWidth, QRect& around) const {
    if (!IsValidRect(box)) {
        return Reach::Nothing;
    }
    const int64_t margin = int64_t{penWidth} + 2;
    int64_t x0 = std::min(box.left, box.right) - margin;
    int64_t x1 = std::max(box.left, box.right) + margin;
    int64_t y0 = -int64_t{std::max(box.top, box.bottom)} - margin;
    int64_t y1 = -int64_t{std::min(box.top, box.bottom)} + margin;
    if (!WithinStampArea(x0, y0) || !WithinStampArea(x1, y1) || margin > kStampArea) {
        const QRect reach = target.Reach();
        if (reach.isEmpty() || margin > kStampArea) {
            return Reach::Anywhere;
        }
        x0 = std::max<int64_t>(x0, reach.left() - margin);
        x1 = std::min<int64_t>(x1, reach.right() + margin);
        y0 = std::max<int64_t>(y0, reach.top() - margin);
        y1 = std::min<int64_t>(y1, reach.bottom() + margin);
        if (x0 > x1 || y0 > y1) {
            return Reach::Nothing;
        }
    }
    around = QRect(QPoint(static_cast<int>(x0), static_cast<int>(y0)),
                   QPoint(static_cast<int>(x1), static_cast<int>(y1)));
    return Reach::Box;
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

namespace {

// One more word into a hash that depends on the order of the words.
uint64_t Mix(uint64_t hash, uint64_t word) {
    hash ^= word + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    hash *= 0xff51afd7ed558ccdULL;
    return hash ^ (hash >> 32);
}

uint64_t Pair(int32_t a, int32_t b) {
    return (uint64_t{static_cast<uint32_t>(a)} << 32) | static_cast<uint32_t>(b);
}

uint64_t Colour(Rgb c) {
    return (uint64_t{c.r} << 16) | (uint64_t{c.g} << 8) | c.b;
}

// What a kept call draws, with the state it draws in: the same hash, the same pixels.
uint64_t HashOf(const CRasterSurface::KeptCall& c, const std::string* text, bool transparent) {
    uint64_t h = Mix(static_cast<uint64_t>(c.op), Pair(c.box.left, c.box.top));
    h = Mix(h, Pair(c.box.right, c.box.bottom));
    h = Mix(h, Pair(c.a.x, c.a.y));
    h = Mix(h, Pair(c.b.x, c.b.y));
    h = Mix(h, Pair(c.pen.width, static_cast<int32_t>(Colour(c.pen.colour))));
    h = Mix(h, (Colour(c.textColour) << 2) | (static_cast<uint64_t>(c.brush) << 1) |
                   (transparent ? 1 : 0));
    if (text != nullptr) {
        h = Mix(h, std::hash<std::string>{}(*text));
        h = Mix(h, text->size());
    }
    return h;
}

} // namespace

// The tiles a kept call outside a group may write; true when it may write anywhere.
template <typename Touch> bool CRasterSurface::ForTilesOfCall(const KeptCall& c, Touch touch) {
    int64_t x = 0;
    int64_t y = 0;
    QRect around;
    switch (c.op) {
    case KeptCall::Op::Line:
        if (const Stamp* stamp = LineStampAt(c.pen, c.a, c.b, x, y)) {
            target.ForTilesIn(stamp->bounds.translated(static_cast<int>(x), static_cast<int>(y)),
                              touch);
            return false;
        }
        return ForTilesOfLine(c.a, c.b, c.pen.width, around, touch) == Reach::Anywhere;
    case KeptCall::Op::Circle:
        if (const Stamp* stamp = CircleStampAt(c.pen, c.box, x, y)) {
            target.ForTilesIn(stamp->bounds.translated(static_cast<int>(x), static_cast<int>(y)),
                              touch);
            return false;
        }
        return ForTilesOfOutline(c.box, c.pen.width, around, touch) == Reach::Anywhere;
    case KeptCall::Op::Arc:
        return ForTilesOfOutline(c.box, c.pen.width, around, touch) == Reach::Anywhere;
    case KeptCall::Op::Ellipse:
        return (c.brush == Brush::Hollow
                    ? ForTilesOfOutline(c.box, c.pen.width, around, touch)
                    : ForTilesAround(c.box, c.pen.width, around, touch)) == Reach::Anywhere;
    case KeptCall::Op::Fill: {
        // As FillWhite: a rectangle within reach is owed, anything else is left to the painter.
        QRect owed;
        if (!OwedRectOf(c.box, owed)) {
            return true;
        }
        target.ForTilesIn(owed, touch);
        return false;
    }
    case KeptCall::Op::Text: {
        const std::string& text = parts.keptTexts[c.text];
        double tx = 0;
        double ty = 0;
        if (!TextPlace(c.a, text, tx, ty)) {
            return false;
        }
        if (HasLineBreakingCharacters(text)) {
            return true;
        }
        // Where its pixels on white are known (as TextOut writes it), their box; elsewhere the
        // reach TextOut notes for the painter.
        LaidOutText& line = parts.texts.Line(text, painter, parts.draws);
        QPoint whole;
        const TextOverWhite& pixels = OverWhiteAt(line, TextAt(tx, ty, line), c.textColour, whole);
        target.ForTilesIn(pixels.image.isNull() ? TextReach(tx, ty, line)
                                                : QRect(whole + pixels.at, pixels.image.size()),
                          touch);
        return false;
    }
    default:
        return false;
    }
}

// A hash for each tile of what decides its pixels: the calls that may write it, in order, each
// with the state it is drawn in. A group is one call that may write anywhere.
std::vector<uint64_t> CRasterSurface::TileHashes() {
    // The texts' pixels depend on the font and the resolution they are laid out at too.
    uint64_t seed = Mix(parts.texts.FontSerial(painter),
                        Pair(painter.device()->logicalDpiX(), painter.device()->logicalDpiY()));
    seed = Mix(seed, static_cast<uint64_t>(target.Format()));
    std::vector<uint64_t> hashes(target.TileCount(), seed);
    const auto everywhere = [&hashes](uint64_t h) {
        for (uint64_t& t : hashes) {
            t = Mix(t, h);
        }
    };
    parts.keptTiles.clear();
    int depth = 0;
    uint64_t group = 0;
    bool transparent = false;
    for (KeptCall& c : parts.kept) {
        const bool text = c.op == KeptCall::Op::Text;
        const uint64_t h = HashOf(c, text ? &parts.keptTexts[c.text] : nullptr, transparent);
        transparent = transparent || c.op == KeptCall::Op::Transparent;
        if (c.op == KeptCall::Op::BeginGroup) {
            group = depth++ == 0 ? h : Mix(group, h);
            continue;
        }
        if (depth > 0) {
            group = Mix(group, h);
            if (c.op == KeptCall::Op::EndGroup && --depth == 0) {
                everywhere(group);
            }
            continue;
        }
        c.tilesBegin = static_cast<uint32_t>(parts.keptTiles.size());
        c.everywhere = ForTilesOfCall(c, [&](size_t i) {
            hashes[i] = Mix(hashes[i], h);
            parts.keptTiles.push_back(static_cast<uint32_t>(i));
        });
        c.tilesEnd = static_cast<uint32_t>(parts.keptTiles.size());
        if (c.everywhere) {
            everywhere(h);
        }
    }
    if (depth > 0) {
        everywhere(group); // a group left open is drawn as it came at the end
    }
    return hashes;
}

// Draws the kept calls where the pixels they decide differ from the last draw's; groups whole,
// as their pictures are kept by what they draw.
void CRasterSurface::DrawKept() {
    keeping = false;
    const std::vector<uint8_t>& changed = target.WriteOnlyChanged(TileHashes());
    const bool anyChanged = std::find(changed.begin(), changed.end(), 1) != changed.end();
    const auto writes = [&](const KeptCall& c) {
        if (changed.empty()) {
            return true;
        }
        if (c.everywhere) {
            return anyChanged;
        }
        for (uint32_t i = c.tilesBegin; i < c.tilesEnd; ++i) {
            if (changed[parts.keptTiles[i]] != 0) {
                return true;
            }
        }
        return false;
    };
    // The state of a fresh surface, as the calls were kept from.
    pen = {};
    brush = Brush::White;
    textColour = {};
    position = {};
    int depth = 0;
    for (const KeptCall& c : parts.kept) {
        // Every call of a group is made: the group's picture is kept by all of them.
        const bool draws = depth > 0 || writes(c);
        switch (c.op) {
        case KeptCall::Op::Pen:
            SelectPen(c.pen);
            break;
        case KeptCall::Op::Brush:
            SelectBrush(c.brush);
            break;
        case KeptCall::Op::Move:
            MoveTo(c.a);
            break;
        case KeptCall::Op::Transparent:
            SetBackgroundTransparent();
            break;
        case KeptCall::Op::BeginGroup:
            ++depth;
            BeginGroup();
            break;
        case KeptCall::Op::EndGroup:
            depth = std::max(0, depth - 1);
            EndGroup();
            break;
        case KeptCall::Op::Fill:
            // Only owed (paid where tiles change), and the first is the ground: always made.
            FillWhite(c.box);
            break;
        case KeptCall::Op::Line:
            position = c.b;
            if (draws) {
                Line(c.a, c.b);
            }
            break;
        case KeptCall::Op::Circle:
            if (draws) {
                Circle(c.box);
            }
            break;
        case KeptCall::Op::Arc:
            if (draws) {
                Arc(c.box, c.a, c.b);
            }
            break;
        case KeptCall::Op::Ellipse:
            if (draws) {
                Ellipse(c.box);
            }
            break;
        case KeptCall::Op::Text:
            if (draws) {
                textColour = c.textColour;
                TextOut(c.a, parts.keptTexts[c.text]);
            }
            break;
        }
    }
    parts.kept.clear();
    parts.keptTexts.clear();
    parts.keptTiles.clear();
}
