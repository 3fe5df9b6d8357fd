#pragma once

#include "chart/statefulsurface.h"
#include "platform/drawing/cqtpaintersurface.h"
#include "platform/drawing/rastergroups.h"
#include "platform/drawing/rastertarget.h"
#include "platform/drawing/rastertexts.h"

#include <QPointF>
#include <QRect>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QPainter;

/// What the draws of one window keep for the next: the pixel runs of short lines and small
/// circles, the laid-out text lines and the picture of the grid. A draw given no cache keeps
/// what it makes for itself only.
class CRasterCache {
public:
    CRasterCache();
    ~CRasterCache();
    CRasterCache(const CRasterCache&) = delete;
    CRasterCache& operator=(const CRasterCache&) = delete;

    /// The part of the picture the last draw with the cache wrote (painter coordinates), when
    /// it holds that draw: everything else in it is as the draw before left it. Empty when not
    /// known.
    QRegion LastWritten() const;

    struct Parts;

private:
    friend class CRasterSurface;
    std::unique_ptr<Parts> parts;
};

/// The chart's surface for pixel pictures: a window's paint and a PNG file. It gives exactly the
/// pixels CQtPainterSurface gives, with less work wherever the painter maps logical units to
/// whole device pixels: a short line or a small circle is filled from the pixel runs that Qt's
/// stroker gave the same shape once (the runs do not depend on where the shape lies), a text
/// line is laid out once, and a group of shapes is put back from the picture it left the last
/// time the same calls came. Under a scaling painter or another paint engine it draws as
/// CQtPainterSurface does. The logical origin is the painter's origin.
class CRasterSurface : public StatefulSurface {
public:
    /// area is the part of the painter's coordinates the draw covers (the client area).
    CRasterSurface(QPainter& painter, QRect area, CRasterCache* cache = nullptr);
    ~CRasterSurface() override;
    CRasterSurface(const CRasterSurface&) = delete;
    CRasterSurface& operator=(const CRasterSurface&) = delete;

    void Circle(Rect box) override;
    void Arc(Rect box, Point start, Point end) override;
    void Ellipse(Rect box) override;
    void TextOut(Point p, const std::string& text) override;
    TextMetrics GetTextMetrics() override;
    int32_t TextWidth(const std::string& text) override;
    void FillWhite(Rect rect) override;
    void SetBackgroundTransparent() override;
    void BeginGroup() override;
    void EndGroup() override;

    /// One call of a group, kept to be compared with the next draw's and drawn later.
    using GroupCall = RasterGroupCall;

    /// A call of a draw whose cache keeps a picture's tiles, kept until the draw ends: it is
    /// written then only where the pixels it decides differ from those the last draw left.
    struct KeptCall {
        enum class Op : uint8_t {
            Pen,
            Brush,
            Move,
            Line,
            Circle,
            Arc,
            Ellipse,
            Fill,
            Transparent,
            Text,
            BeginGroup,
            EndGroup
        };
        Op op = Op::Move;
        bool everywhere = false; ///< may write any tile
        Rect box;
        Point a;
        Point b;
        Pen pen;
        Brush brush = Brush::White;
        Rgb textColour;
        uint32_t text = 0;       ///< Text: its index in keptTexts
        uint32_t tilesBegin = 0; ///< the tiles it may write: keptTiles from here
        uint32_t tilesEnd = 0;   ///< to here
    };

protected:
    void PenSelected() override;
    void BrushSelected() override;
    void Moved() override;
    void Line(Point from, Point to) override;

private:
    bool Keep(KeptCall::Op op, Rect box = {}, Point a = {}, Point b = {});
    std::vector<uint64_t> TileHashes();
    template <typename Touch> bool ForTilesOfCall(const KeptCall& c, Touch touch);
    const Stamp* LineStampAt(Pen linePen, Point from, Point to, int64_t& x, int64_t& y);
    const Stamp* CircleStampAt(Pen circlePen, const Rect& box, int64_t& x, int64_t& y);
    void DrawKept();
    bool Record(const GroupCall& call);
    void DrawGroupCalls(DrawSurface& surface, bool shapes) const;
    void FinishGroup();
    void AbandonGroup();
    bool StampLine(Point from, Point to);
    bool StampCircle(const Rect& box);
    void FlushRuns();
    enum class Reach : uint8_t { Nothing, Box, Anywhere };
    Reach AroundOf(const Rect& box, int penWidth, QRect& around) const;
    template <typename Touch>
    Reach ForTilesAround(const Rect& box, int penWidth, QRect& around, Touch touch);
    template <typename Touch>
    Reach ForTilesOfLine(Point from, Point to, int penWidth, QRect& around, Touch touch);
    template <typename Touch>
    Reach ForTilesOfOutline(const Rect& box, int penWidth, QRect& around, Touch touch);
    template <typename Tiles> void WillDrawTiles(Tiles tiles);
    bool OwedRectOf(const Rect& rect, QRect& owed) const;
    void MeasureFont();
    QPointF TextAt(double x, double y, const LaidOutText& line);
    const TextOverWhite& OverWhiteAt(LaidOutText& line, QPointF at, Rgb colour, QPoint& whole);
    QRect TextReach(double x, double y, const LaidOutText& line) const;
    void PutRuns(const Stamp& stamp, int64_t x, int64_t y);
    bool PutTextOverWhite(LaidOutText& line, QPointF at);

    QPainter& painter;
    QRect area;
    CQtPainterSurface plain;
    std::unique_ptr<CRasterCache> ownCache;
    CRasterCache::Parts& parts;
    bool pixelExact = false; ///< logical units are whole device pixels on a raster engine
    bool keeps = false;      ///< the cache outlives this draw
    CRasterTarget target;
    int textAscent = -1;     ///< of the painter's font, once a text is written
    int textHeight = 0;      ///< of the painter's font, once a text is written
    std::vector<QRect> runs; ///< pixel runs waiting to be filled in runsColour
    Rgb runsColour;
    int groupDepth = 0;
    bool recording = false;
    std::vector<GroupCall> groupCalls;
    bool keeping = false; ///< calls are kept until the draw ends (in the cache's parts)
};
