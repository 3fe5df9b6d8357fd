#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include <cstdint>
#include <unordered_map>
#include <vector>

// Lines whose ends lie at most this many pixels apart in each direction, circles whose box is
// at most kMaxStampBox pixels and pens at most kMaxStampPen wide are filled from pixel runs.
// (Some lines of twice the reach come out of Qt's stroker differently at different places.)
inline constexpr int kStampReach = 32;
inline constexpr int kMaxStampBox = 64;
inline constexpr int kMaxStampPen = 8;

/// Pixels x0 <= x < x1 of row dy, relative to where the shape starts.
struct StampRun {
    int16_t dy = 0;
    int16_t x0 = 0;
    int16_t x1 = 0;
};

/// The runs of one shape; usable is false when the shape does not fit the scratch picture.
struct Stamp {
    bool made = false;
    bool usable = false;
    std::vector<StampRun> runs;
    QRect bounds; ///< of the runs, relative to where the shape starts
};

/// The pixel runs that Qt's stroker gives a short line or a small circle with a solid pen of
/// CQtPainterSurface, made once on a scratch picture for each shape: the runs do not depend on
/// where the shape lies.
class CStampCache {
public:
    CStampCache();
    ~CStampCache();
    CStampCache(const CStampCache&) = delete;
    CStampCache& operator=(const CStampCache&) = delete;

    /// A line from the origin to (dx, dy), each at most kStampReach; width 1 .. kMaxStampPen.
    const Stamp& LineStamp(int width, int dx, int dy);
    /// A circle in a box of w by h from the origin, each at most kMaxStampBox.
    const Stamp& CircleStamp(int width, int w, int h);

private:
    template <typename Draw> void Make(Stamp& stamp, QRect scan, Draw draw);

    QImage scratch;
    QPainter scratchPainter;
    std::vector<std::vector<Stamp>> lineStamps; ///< by pen width, then the two offsets
    std::unordered_map<uint32_t, Stamp> circleStamps;
};
