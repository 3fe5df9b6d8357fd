#pragma once

#include "chart/drawsurface.h"
#include "platform/drawing/rasterstamps.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

class QPainter;

/// What a draw left in the picture it drew into, for the next draw into the same picture: the
/// ground it began with (the white fill of all it could write and the first picture put over
/// that, the grid) and the tiles where it drew anything else. A next draw on the same ground
/// writes the ground again only in those tiles: everywhere else the picture holds it already.
struct RasterFrameMemory {
    static constexpr int kTileShift = 4; ///< tiles of 16 by 16 pixels

    bool valid = false;
    // The picture and the part of it drawn.
    const uchar* rows = nullptr;
    qint64 imageSerial = 0;
    qsizetype rowBytes = 0;
    QSize imageSize;
    QImage::Format format = QImage::Format_Invalid;
    QPoint origin;
    QRect writable;
    // The ground: the serial of its picture (0 for white alone) and where that lay.
    uint64_t groundPicture = 0;
    QRect groundPlaced;
    // Where anything else was drawn.
    bool drewEverywhere = false;
    std::vector<uint8_t> drawn; ///< one a tile, row by row from the corner of writable
    /// What decided each tile's pixels (a hash of the calls that could write it, in order), one
    /// a tile as drawn; empty when the draw did not reckon them.
    std::vector<uint64_t> tileHashes;
    /// The part of the picture the draw wrote, in the painter's coordinates: all it could, or
    /// only the tiles that changed.
    QRegion written;
};

/// The pixels under a raster surface's painter, in the painter's coordinates (translated to the
/// device's pixels): the rows of the picture the painter draws into, written straight where the
/// painter's clip is one rectangle, and the white fill the surface owes. A white fill is written
/// only where the draw does not cover it: the parts a picture of a group is put back over are
/// never filled, as the picture's copy over white is put there instead.
class CRasterTarget {
public:
    /// pixelExact: the painter maps its coordinates to whole device pixels on a raster engine,
    /// drawing opaque solid colours.
    /// memory, when given, is what the last draw into the same picture left (and receives what
    /// this one leaves, by Finish).
    CRasterTarget(QPainter& painter, bool pixelExact, RasterFrameMemory* memory = nullptr);

    /// Whether the picture holds the last draw into it, the same part of it.
    bool Remembers() const { return remembers; }
    size_t TileCount() const { return drawn.size(); }
    /// Calls touch(index) for each tile that box (painter coordinates) meets.
    template <typename Touch> void ForTilesIn(const QRect& box, Touch touch) const;
    /// Calls touch(index) for the tiles within margin pixels of the segment from a to b, once
    /// each.
    template <typename Touch> void ForTilesAlong(QPoint a, QPoint b, int margin, Touch touch) const;
    /// Calls touch(index) for the tiles within `within` that may lie within margin pixels of
    /// the circle of radius about centre.
    template <typename Touch>
    void ForTilesOfRing(QPointF centre, double radius, int margin, const QRect& within,
                        Touch touch) const;

    /// Takes what decides each tile's pixels in this draw (one hash a tile, in tile order; see
    /// RasterFrameMemory::tileHashes), before its first write. Where the last draw into this
    /// picture had the same hash, the tile holds this draw's pixels already: from now on the
    /// draw writes only the other tiles (the painter's clip is set to them), and the ground
    /// again in all of those. Gives the tiles written, nonzero where written; empty when all are.
    const std::vector<uint8_t>& WriteOnlyChanged(std::vector<uint64_t> hashes);

    /// Notes that the draw wrote within box (painter coordinates).
    void Drawn(const QRect& box);
    /// Before a write within box: pays the white owed in its rows and notes the write.
    void WillDrawIn(const QRect& box) {
        PayWhiteIn(box);
        Drawn(box);
    }
    /// Before a write that may go anywhere: pays all the white owed and notes a write anywhere.
    void WillDrawAnywhere();
    /// Notes a write of the draw's own: before the white ground, it leaves none.
    void NoteWrite();
    /// Notes that the draw wrote in the tile of index (as the ForTiles functions give it).
    void DrawnTile(size_t index) { drawn[index] = 1; }
    /// The part of the painter's coordinates whose rows are written; empty when none are.
    QRect Reach() const { return rows != nullptr ? writable : QRect(); }
    /// Tells the memory what this draw left; after the last write.
    void Finish();

    /// Takes on the white fill of rect (painter coordinates); false when it has to be filled now.
    bool OweWhite(const QRect& rect);
    /// Fills what white is owed.
    void PayWhite();
    /// Fills the white owed in the rows of box, in each part of it that box meets.
    void PayWhiteIn(const QRect& box);

    /// Puts picture at `at` over what lies there. overWhite, when not null, is the picture put
    /// over white: it is copied where the white fill is still owed, which then is no more.
    /// serial names the picture: the same serial, the same pixels.
    void PutPicture(QPoint at, const QImage& picture, const QImage& overWhite, uint64_t serial);

    /// Copies image to `at` where the white fill is owed under it (which then is no more): the
    /// pixels of a text line on white. Gives the part of the image's place, within the rows
    /// the painter may write, where the white was not owed.
    QRegion CopyOverOwedWhite(QPoint at, const QImage& image);

    /// The format of the picture whose rows are written; only when WritesRows.
    QImage::Format Format() const { return format; }

    /// Whether runs can be written straight into the picture's rows.
    bool WritesRows() const { return rows != nullptr; }
    /// Fills runs placed at (x, y) in colour, straight into the rows; only when WritesRows.
    void FillRuns(const std::vector<StampRun>& runs, int64_t x, int64_t y, Rgb colour);

private:
    // How the ground of this draw stands: not begun, white owed over all that can be written,
    // white and a picture put, or not a ground a next draw can rely on.
    enum class Ground : uint8_t { Unset, White, Picture, Broken };
    // Bits of a tile's state in the last draw: drawn over its ground, or within its picture.
    static constexpr uint8_t kWasDrawn = 1;
    static constexpr uint8_t kWasGroundPicture = 2;
    // A tile this draw writes, when it writes only those whose pixels change.
    static constexpr uint8_t kChanged = 4;

    // The tiles a non-empty rectangle within writable meets, counted from writable's corner.
    struct TileSpan {
        int x0;
        int x1;
        int y0;
        int y1;
    };
    TileSpan TilesOf(const QRect& r) const;
    size_t TileIndex(int tx, int ty) const {
        return static_cast<size_t>(ty) * static_cast<size_t>(tilesAcross) + static_cast<size_t>(tx);
    }
    void Remember(const RasterFrameMemory& last);
    template <typename Action> void ForEachStaleSpan(const QRect& rect, uint8_t mask, Action act);
    /// Calls act with the parts of rect this draw may write: within writable, and in the
    /// changed tiles only when it writes only those.
    template <typename Action> void ForEachWritableSpan(const QRect& rect, Action act);
    void FillRowsWhite(const QRect& rect);
    void FillSpanWhite(const QRect& span);
    void CopySpan(const QImage& from, QPoint at, const QRect& span);
    void CopyOver(const QRegion& region, QPoint at, const QImage& image, bool onlyStale);

    QPainter& painter;
    QRegion owed;
    QRect clear;            ///< a rectangle where no white is owed: where the last picture was put
    uchar* rows = nullptr;  ///< the first row of the picture when rows are written straight
    qsizetype rowBytes = 0; ///< bytes from one row to the next
    QPoint origin;          ///< the device pixel of the painter's (0, 0)
    QRect writable;         ///< where rows may be written, in the painter's coordinates
    QImage::Format format = QImage::Format_Invalid;

    RasterFrameMemory* memory = nullptr;
    qint64 imageSerial = 0;
    QSize imageSize;
    Ground ground = Ground::Unset;
    uint64_t groundPicture = 0;
    QRect groundPlaced;
    bool remembers = false; ///< the picture holds the last draw, whose tiles are in stale
    std::vector<uint8_t> stale;
    int tilesAcross = 0;
    bool drewEverywhere = false;
    std::vector<uint8_t> drawn;
    bool limited = false; ///< writes only the tiles marked kChanged in stale
    std::vector<uint8_t> changed;
    QRegion changedRegion; ///< of the changed tiles, when limited
    std::vector<uint64_t> tileHashes;
};

template <typename Touch> void CRasterTarget::ForTilesIn(const QRect& box, Touch touch) const {
    const QRect r = box & writable;
    if (drawn.empty() || r.isEmpty()) {
        return;
    }
    const TileSpan t = TilesOf(r);
    for (int ty = t.y0; ty <= t.y1; ++ty) {
        for (int tx = t.x0; tx <= t.x1; ++tx) {
            touch(TileIndex(tx, ty));
        }
    }
}

template <typename Touch>
void CRasterTarget::ForTilesAlong(QPoint a, QPoint b, int margin, Touch touch) const {
    const QRect reach =
        QRect(a, b).normalized().adjusted(-margin, -margin, margin, margin) & writable;
    if (drawn.empty() || reach.isEmpty()) {
        return;
    }
    constexpr int kSide = 1 << RasterFrameMemory::kTileShift;
    const TileSpan t = TilesOf(reach);
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    for (int ty = t.y0; ty <= t.y1; ++ty) {
        // The part of the segment within margin rows of this row of tiles, and its columns.
        const double top = writable.top() + ty * kSide - margin - 1;
        const double bottom = writable.top() + ty * kSide + kSide + margin;
        double t0 = 0;
        double t1 = 1;
        if (dy != 0) {
            const double u = (top - a.y()) / dy;
            const double v = (bottom - a.y()) / dy;
            t0 = std::max(0.0, std::min(u, v));
            t1 = std::min(1.0, std::max(u, v));
            if (t0 > t1) {
                continue;
            }
        } else if (a.y() < top || a.y() > bottom) {
            continue;
        }
        const double x0 = a.x() + dx * t0;
        const double x1 = a.x() + dx * t1;
        const int left = static_cast<int>(std::floor(std::min(x0, x1))) - margin - 1;
        const int right = static_cast<int>(std::ceil(std::max(x0, x1))) + margin + 1;
        const QRect columns = QRect(QPoint(left, reach.top()), QPoint(right, reach.top())) & reach;
        if (columns.isEmpty()) {
            continue;
        }
        const TileSpan c = TilesOf(columns);
        for (int tx = c.x0; tx <= c.x1; ++tx) {
            touch(TileIndex(tx, ty));
        }
    }
}

template <typename Touch>
void CRasterTarget::ForTilesOfRing(QPointF centre, double radius, int margin, const QRect& within,
                                   Touch touch) const {
    const QRect reach = within & writable;
    if (drawn.empty() || reach.isEmpty()) {
        return;
    }
    constexpr int kSide = 1 << RasterFrameMemory::kTileShift;
    const double cx = centre.x();
    const double cy = centre.y();
    const double inner = std::max(0.0, radius - margin - 1);
    const double outer = radius + margin + 1;
    const TileSpan t = TilesOf(reach);
    for (int ty = t.y0; ty <= t.y1; ++ty) {
        const double top = writable.top() + ty * kSide - cy;
        const double bottom = top + kSide;
        const double nearY = top > 0 ? top : (bottom < 0 ? bottom : 0);
        const double farY = std::max(std::fabs(top), std::fabs(bottom));
        for (int tx = t.x0; tx <= t.x1; ++tx) {
            const double left = writable.left() + tx * kSide - cx;
            const double right = left + kSide;
            const double nearX = left > 0 ? left : (right < 0 ? right : 0);
            const double farX = std::max(std::fabs(left), std::fabs(right));
            // A tile wholly inside the inner circle or wholly outside the outer one is not met.
            if (farX * farX + farY * farY < inner * inner ||
                nearX * nearX + nearY * nearY > outer * outer) {
                continue;
            }
            touch(TileIndex(tx, ty));
        }
    }
}
