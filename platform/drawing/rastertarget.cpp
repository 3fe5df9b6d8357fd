#include "platform/drawing/rastertarget.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>

namespace {

// A white fill is owed only within this distance of the painter's origin.
constexpr int kOwedReach = 1 << 24;

constexpr uint32_t kWhite = 0xffffffff;

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

CRasterTarget::CRasterTarget(QPainter& painter, bool pixelExact) : painter(painter) {
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
}

bool CRasterTarget::OweWhite(const QRect& rect) {
    if (rect.left() < -kOwedReach || rect.top() < -kOwedReach || rect.right() > kOwedReach ||
        rect.bottom() > kOwedReach) {
        return false;
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
    const QRect r = rect & writable;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(rows + (y + origin.y()) * rowBytes);
        std::fill(row + r.left() + origin.x(), row + r.right() + 1 + origin.x(), kWhite);
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

void CRasterTarget::PutPicture(QPoint at, const QImage& picture, const QImage& overWhite) {
    const QRect placed(at, picture.size());
    const QRegion overOwed = overWhite.isNull() ? QRegion() : owed & placed;
    if (overOwed.isEmpty()) {
        PayWhite();
        painter.drawImage(at, picture);
        return;
    }
    // Where the white is owed the picture over white is the very pixels the picture would
    // leave on the white: copied, not blended. The rest of it is blended over what is there.
    for (const QRect& r : overOwed) {
        painter.drawImage(r.topLeft(), overWhite, r.translated(-at));
    }
    for (const QRect& r : QRegion(placed) - overOwed) {
        painter.drawImage(r.topLeft(), picture, r.translated(-at));
    }
    owed -= placed;
    clear = placed;
}

QRegion CRasterTarget::CopyOverOwedWhite(QPoint at, const QImage& image) {
    // What falls outside the rows the painter may write is not written either way.
    const QRect placed = QRect(at, image.size()) & writable;
    const QRegion over = owed & placed;
    for (const QRect& r : over) {
        painter.drawImage(r.topLeft(), image, r.translated(-at));
    }
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
        const int64_t x0 = std::max(x + r.x0, left);
        const int64_t x1 = std::min(x + r.x1, right);
        if (x0 < x1) {
            auto* p = reinterpret_cast<uint32_t*>(rows + (row + origin.y()) * rowBytes);
            std::fill(p + x0 + origin.x(), p + x1 + origin.x(), pixel);
        }
    }
}
