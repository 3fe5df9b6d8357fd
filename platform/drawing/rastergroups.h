#pragma once

#include "chart/drawsurface.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <functional>
#include <vector>

/// One call of a group of drawing calls, kept to be compared with the next draw's and drawn
/// later.
struct RasterGroupCall {
    enum class Op : uint8_t { Pen, Brush, Move, Line, Circle, Arc, Ellipse, Fill, Transparent };
    Op op = Op::Move;
    Rect box;
    Point a;
    Point b;
    Pen pen;
    Brush brush = Brush::White;
    friend bool operator==(const RasterGroupCall&, const RasterGroupCall&) = default;
};

/// What a group of calls drew over an area: transparent elsewhere, cut to what they touched.
struct GroupPicture {
    std::vector<RasterGroupCall> calls;
    QRect area;
    QImage image; ///< null when the calls touched nothing
    /// The picture over white: the same pixels where the calls drew, white elsewhere; null when
    /// the calls left pixels partly transparent.
    QImage overWhite;
    QPoint at;
    uint64_t serial = 0; ///< distinct for every picture a cache makes
};

/// The pictures of the last groups of calls that came again, the most recently used first.
class CGroupPictureCache {
public:
    /// The picture of calls drawn over area: one kept, or one made now by draw (onto a
    /// transparent layer, through a surface whose logical origin is the painter's) the second
    /// time in a row the same calls come over the same area. nullptr: the calls are to be drawn
    /// as they are this time.
    const GroupPicture* Picture(const std::vector<RasterGroupCall>& calls, QRect area,
                                const std::function<void(DrawSurface&)>& draw);

private:
    std::vector<GroupPicture> pictures;
    uint64_t pictureSerial = 0;
    std::vector<RasterGroupCall> lastCalls; ///< the last group drawn call by call
    QRect lastArea;
};
