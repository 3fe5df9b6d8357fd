#include "platform/drawing/rastertarget.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// A white fill is owed only within this distance of the painter's origin.
constexpr int kOwedReach = 1 << 24;

constexpr uint32_t kWhite = 0xffffffff;

// The side of a tile of the memory of the last draw.
constexpr int kShift = RasterFrameMemory::kTileShift;
constexpr int kTile = 1 << kShift;

// The 32-bit formats whose opaque pixels are 0xffRRGGBB, as the raster engine fills them.
bool HasOpaqueRgbPixels(const QImage& image) {
    const QImage::Format f = image.format();
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
           f == QImage::Format_ARGB32_Premultiplied;
}

// The picture the painter's engine draws into, when it is an image of such a format.
QImage* EngineImage(QPainter& painter) {
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
    if (device == nullptr || device->devType() != QInternal::Image) {
        return nullptr;
    }
    auto* image = static_cast<QImage*>(device);
    return !image->isNull() && HasOpaqueRgbPixels(*image) ? image : nullptr;
}

// The one rectangle region is, or false when it is more than one.
bool SingleRect(const QRegion& region, QRect& rect) {
    if (region.rectCount() > 1) {
        return false;
    }
    rect = region.boundingRect();
    return true;
}

} // namespace

CRasterTarget::CRasterTarget(QPainter& painter, bool pixelExact, RasterFrameMemory* memory)
    : painter(painter), memory(memory) {
    QImage* image = pixelExact ? EngineImage(painter) : nullptr;
    if (image == nullptr) {
        return;
    }
    // Rows are written only under a clip of one rectangle (the system clip of a widget's paint,
    // in device pixels, and the painter's own clip): anything else is left to the painter.
    const QTransform t = painter.deviceTransform();
    origin = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    QRect clip = image->rect();
    QRect part;
    if (const QRegion system = painter.paintEngine()->systemClip(); !system.isEmpty()) {
        if (!SingleRect(system, part)) {
            return;
        }
        clip &= part;
    }
    clip.translate(-origin);
    if (painter.hasClipping()) {
        if (!SingleRect(painter.clipRegion(), part)) {
            return;
        }
        clip &= part;
    }
    writable = clip;
    // The engine draws into the rows it took when the painter began; const access to the same
    // rows does not detach them.
    rows = const_cast<uchar*>(image->constBits());
    rowBytes = image->bytesPerLine();
    format = image->format();
    if (memory == nullptr || writable.isEmpty()) {
        return;
    }
    // The serial of the image's data: a new picture (a backing store made again) has another.
    imageSerial = image->cacheKey() >> 32;
    imageSize = image->size();
    tilesAcross = (writable.width() + kTile - 1) / kTile;
    const int tilesDown = (writable.height() + kTile - 1) / kTile;
    drawn.assign(static_cast<size_t>(tilesAcross) * static_cast<size_t>(tilesDown), 0);
    Remember(*memory);
}

// Takes the last draw's tiles when it drew into this very picture, the same part of it.
void CRasterTarget::Remember(const RasterFrameMemory& last) {
    if (!last.valid || last.rows != rows || last.imageSerial != imageSerial ||
        last.rowBytes != rowBytes || last.imageSize != imageSize || last.format != format ||
        last.origin != origin || last.writable != writable || last.drawn.size() != drawn.size()) {
        return;
    }
    // The backing store of a translucent window is cleared to transparent before each paint,
    // the whole part painted; every draw leaves opaque pixels. Its corners and centre tell.
    if (format != QImage::Format_RGB32) {
        for (const QPoint p : {writable.topLeft(), writable.topRight(), writable.bottomLeft(),
                               writable.bottomRight(), writable.center()}) {
            const auto* row =
                reinterpret_cast<const uint32_t*>(rows + (p.y() + origin.y()) * rowBytes);
            if ((row[p.x() + origin.x()] >> 24) != 0xff) {
                return;
            }
        }
    }
    stale.resize(drawn.size());
    for (size_t i = 0; i < stale.size(); ++i) {
        stale[i] = last.drewEverywhere || last.drawn[i] != 0 ? kWasDrawn : 0;
    }
    // The tiles the ground's picture met.
    if (const QRect g = last.groundPlaced & writable; !g.isEmpty()) {
        const TileSpan t = TilesOf(g);
        for (int ty = t.y0; ty <= t.y1; ++ty) {
            for (int tx = t.x0; tx <= t.x1; ++tx) {
                stale[TileIndex(tx, ty)] |= kWasGroundPicture;
            }
        }
    }
    remembers = true;
}

CRasterTarget::TileSpan CRasterTarget::TilesOf(const QRect& r) const {
    return {(r.left() - writable.left()) >> kShift, (r.right() - writable.left()) >> kShift,
            (r.top() - writable.top()) >> kShift, (r.bottom() - writable.top()) >> kShift};
}

void CRasterTarget::NoteWrite() {
    if (ground == Ground::Unset) {
        ground = Ground::Broken;
    }
}

void CRasterTarget::Drawn(const QRect& box) {
    NoteWrite();
    ForTilesIn(box, [this](size_t i) { drawn[i] = 1; });
}

const std::vector<uint8_t>& CRasterTarget::WriteOnlyChanged(std::vector<uint64_t> hashes) {
    tileHashes = std::move(hashes);
    changed.clear();
    if (!remembers || memory->tileHashes.size() != tileHashes.size() ||
        tileHashes.size() != stale.size()) {
        return changed;
    }
    changed.resize(tileHashes.size());
    // Only a changed tile gets its ground again, where the last draw left more than its ground.
    for (size_t i = 0; i < changed.size(); ++i) {
        changed[i] = tileHashes[i] != memory->tileHashes[i] ? 1 : 0;
        stale[i] = changed[i] != 0 ? stale[i] | kChanged : 0;
    }
    limited = true;
    // The painter draws only there too: one rectangle for each run of changed tiles in a row,
    // in the banded order a region keeps.
    std::vector<QRect> bands;
    const int tilesDown = static_cast<int>(changed.size()) / tilesAcross;
    for (int ty = 0; ty < tilesDown; ++ty) {
        for (int tx = 0; tx < tilesAcross;) {
            if (changed[TileIndex(tx, ty)] == 0) {
                ++tx;
                continue;
            }
            const int first = tx;
            while (tx < tilesAcross && changed[TileIndex(tx, ty)] != 0) {
                ++tx;
            }
            bands.push_back(QRect(writable.left() + first * kTile, writable.top() + ty * kTile,
                                  (tx - first) * kTile, kTile) &
                            writable);
        }
    }
    changedRegion.setRects(bands.data(), static_cast<int>(bands.size()));
    painter.setClipRegion(changedRegion, Qt::IntersectClip);
    return changed;
}

void CRasterTarget::WillDrawAnywhere() {
    PayWhite();
    NoteWrite();
    drewEverywhere = true;
}

void CRasterTarget::Finish() {
    if (memory == nullptr) {
        return;
    }
    RasterFrameMemory& m = *memory;
    m.valid = !drawn.empty() && (ground == Ground::White || ground == Ground::Picture);
    if (!m.valid) {
        return;
    }
    m.rows = rows;
    m.imageSerial = imageSerial;
    m.rowBytes = rowBytes;
    m.imageSize = imageSize;
    m.format = format;
    m.origin = origin;
    m.writable = writable;
    m.groundPicture = ground == Ground::Picture ? groundPicture : 0;
    m.groundPlaced = ground == Ground::Picture ? groundPlaced : QRect();
    // A tile that did not change holds what the last draw left there, drawn where it was.
    if (limited && !m.drewEverywhere) {
        for (size_t i = 0; i < drawn.size(); ++i) {
            drawn[i] |= changed[i] == 0 ? m.drawn[i] : 0;
        }
    } else if (limited) {
        for (size_t i = 0; i < drawn.size(); ++i) {
            drawn[i] |= changed[i] == 0 ? 1 : 0;
        }
    }
    m.drewEverywhere = drewEverywhere;
    m.drawn.swap(drawn);
    m.written = limited ? changedRegion : QRegion(writable);
    m.tileHashes.swap(tileHashes);
}

// Calls act with the parts of rect (within writable) in tiles whose state has a bit of mask:
// one rectangle for each run of such tiles in a row of tiles.
template <typename Action>
void CRasterTarget::ForEachStaleSpan(const QRect& rect, uint8_t mask, Action act) {
    const QRect r = rect & writable;
    if (r.isEmpty()) {
        return;
    }
    const TileSpan t = TilesOf(r);
    for (int ty = t.y0; ty <= t.y1; ++ty) {
        const uint8_t* row = stale.data() + TileIndex(0, ty);
        const int top = std::max(r.top(), writable.top() + ty * kTile);
        const int bottom = std::min(r.bottom(), writable.top() + ty * kTile + kTile - 1);
        for (int tx = t.x0; tx <= t.x1;) {
            if ((row[tx] & mask) == 0) {
                ++tx;
                continue;
            }
            const int first = tx;
            while (tx <= t.x1 && (row[tx] & mask) != 0) {
                ++tx;
            }
            const int left = std::max(r.left(), writable.left() + first * kTile);
            const int right = std::min(r.right(), writable.left() + tx * kTile - 1);
            act(QRect(QPoint(left, top), QPoint(right, bottom)));
        }
    }
}

template <typename Action> void CRasterTarget::ForEachWritableSpan(const QRect& rect, Action act) {
    if (limited) {
        ForEachStaleSpan(rect, kChanged, act);
    } else if (const QRect w = rect & writable; !w.isEmpty()) {
        act(w);
    }
}

bool CRasterTarget::OweWhite(const QRect& rect) {
    if (rect.left() < -kOwedReach || rect.top() < -kOwedReach || rect.right() > kOwedReach ||
        rect.bottom() > kOwedReach) {
        return false;
    }
    if (ground == Ground::Unset && rows != nullptr && rect.contains(writable)) {
        ground = Ground::White;
    } else {
        // White over what this draw may have written already: not a ground, and what the last
        // draw left says nothing of what lies under it.
        Drawn(rect);
        ground = Ground::Broken;
        remembers = false;
    }
    owed += rect;
    clear = QRect();
    return true;
}

void CRasterTarget::FillRowsWhite(const QRect& rect) {
    if (rows == nullptr) {
        painter.fillRect(rect, Qt::white);
        return;
    }
    // Owed white has not been written over in this draw: it still holds the last draw's pixels,
    // white except where that draw drew or put its ground's picture.
    if (remembers) {
        ForEachStaleSpan(rect, kWasDrawn | kWasGroundPicture,
                         [this](const QRect& span) { FillSpanWhite(span); });
        return;
    }
    ForEachWritableSpan(rect, [this](const QRect& span) { FillSpanWhite(span); });
}

void CRasterTarget::FillSpanWhite(const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(rows + (y + origin.y()) * rowBytes);
        std::fill(row + r.left() + origin.x(), row + r.right() + 1 + origin.x(), kWhite);
    }
}

void CRasterTarget::CopySpan(const QImage& from, QPoint at, const QRect& span) {
    const size_t bytes = static_cast<size_t>(span.width()) * sizeof(uint32_t);
    for (int y = span.top(); y <= span.bottom(); ++y) {
        const uchar* source =
            from.constScanLine(y - at.y()) + static_cast<size_t>(span.left() - at.x()) * 4;
        uchar* target = rows + (y + origin.y()) * rowBytes +
                        static_cast<qsizetype>(span.left() + origin.x()) * 4;
        std::memcpy(target, source, bytes);
    }
}

// Copies image (placed at `at`) over region; only in the tiles the last draw drew in when
// onlyStale (the rest holds these very pixels already).
void CRasterTarget::CopyOver(const QRegion& region, QPoint at, const QImage& image,
                             bool onlyStale) {
    for (const QRect& r : region) {
        if (rows == nullptr) {
            painter.drawImage(r.topLeft(), image, r.translated(-at));
        } else if (onlyStale) {
            ForEachStaleSpan(r, kWasDrawn, [&](const QRect& span) { CopySpan(image, at, span); });
        } else {
            ForEachWritableSpan(r, [&](const QRect& span) { CopySpan(image, at, span); });
        }
    }
}

void CRasterTarget::PayWhite() {
    if (owed.isEmpty()) {
        return;
    }
    for (const QRect& r : owed) {
        FillRowsWhite(r);
    }
    owed = QRegion();
}

void CRasterTarget::PayWhiteIn(const QRect& box) {
    if (owed.isEmpty() || clear.contains(box) || !owed.intersects(box)) {
        return;
    }
    // Whole rows of each owed rectangle the box meets: the owed region stays a few bands.
    QRegion paid;
    for (const QRect& r : owed) {
        if (r.intersects(box)) {
            paid += QRect(r.left(), std::max(r.top(), box.top()), r.width(),
                          std::min(r.bottom(), box.bottom()) - std::max(r.top(), box.top()) + 1);
        }
    }
    for (const QRect& r : paid) {
        FillRowsWhite(r);
    }
    owed -= paid;
}

void CRasterTarget::PutPicture(QPoint at, const QImage& picture, const QImage& overWhite,
                               uint64_t serial) {
    const QRect placed(at, picture.size());
    // The first picture over the white ground, when it has a copy over white, is part of the
    // ground: where the last draw had the same one and drew nothing over it, it is there.
    bool sameGround = false;
    if (ground == Ground::White && !overWhite.isNull()) {
        ground = Ground::Picture;
        sameGround = remembers && memory->groundPicture == serial && memory->groundPlaced == placed;
        groundPicture = serial;
        groundPlaced = placed;
    } else {
        Drawn(placed);
    }
    const QRegion overOwed = overWhite.isNull() ? QRegion() : owed & placed;
    if (overOwed.isEmpty()) {
        PayWhite();
        painter.drawImage(at, picture);
        return;
    }
    // Where the white is owed the picture over white is the very pixels the picture would
    // leave on the white: copied, not blended. The rest of it is blended over what is there.
    CopyOver(overOwed, at, overWhite, sameGround);
    for (const QRect& r : QRegion(placed) - overOwed) {
        painter.drawImage(r.topLeft(), picture, r.translated(-at));
    }
    owed -= placed;
    clear = placed;
}

QRegion CRasterTarget::CopyOverOwedWhite(QPoint at, const QImage& image) {
    // What falls outside the rows the painter may write is not written either way.
    const QRect placed = QRect(at, image.size()) & writable;
    Drawn(placed);
    const QRegion over = owed & placed;
    CopyOver(over, at, image, false);
    owed -= over;
    return QRegion(placed) - over;
}

void CRasterTarget::FillRuns(const std::vector<StampRun>& runs, int64_t x, int64_t y, Rgb colour) {
    const uint32_t pixel =
        0xff000000u | (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | uint32_t{colour.b};
    const int64_t left = writable.left();
    const int64_t right = int64_t{writable.right()} + 1;
    for (const StampRun& r : runs) {
        const int64_t row = y + r.dy;
        if (row < writable.top() || row > writable.bottom()) {
            continue;
        }
        int64_t x0 = std::max(x + r.x0, left);
        const int64_t x1 = std::min(x + r.x1, right);
        auto* p = reinterpret_cast<uint32_t*>(rows + (row + origin.y()) * rowBytes) + origin.x();
        if (!limited) {
            if (x0 < x1) {
                std::fill(p + x0, p + x1, pixel);
            }
            continue;
        }
        // Only the parts in changed tiles.
        const uint8_t* tiles =
            stale.data() + TileIndex(0, static_cast<int>(row - writable.top()) >> kShift);
        while (x0 < x1) {
            const int64_t tileEnd = std::min(x1, left + ((x0 - left) / kTile + 1) * kTile);
            if ((tiles[(x0 - left) >> kShift] & kChanged) != 0) {
                std::fill(p + x0, p + tileEnd, pixel);
            }
            x0 = tileEnd;
        }
    }
}
