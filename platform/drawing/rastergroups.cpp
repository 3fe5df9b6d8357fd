#include "platform/drawing/rastergroups.h"

#include "platform/drawing/cqtpaintersurface.h"

#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// Pictures of groups kept, and the largest area one is made for.
constexpr size_t kGroupPictures = 2;
constexpr int64_t kMaxGroupPixels = int64_t{1} << 25;

// The part of layer its drawing touched; empty when it touched nothing.
QRect Touched(const QImage& layer) {
    int top = layer.height();
    int bottom = -1;
    int left = layer.width();
    int right = -1;
    const int width = layer.width();
    for (int y = 0; y < layer.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        int first = 0;
        while (first < width && qAlpha(row[first]) == 0) {
            ++first;
        }
        if (first == width) {
            continue;
        }
        int last = width - 1;
        while (qAlpha(row[last]) == 0) {
            --last;
        }
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    return bottom >= 0 ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
}

// The premultiplied picture put over white, or a null picture when a pixel of it is partly
// transparent (its blend over white is left to the painter).
QImage OverWhite(const QImage& picture) {
    QImage over(picture.size(), QImage::Format_RGB32);
    if (over.isNull()) {
        return over;
    }
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(over.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int alpha = qAlpha(from[x]);
            if (alpha != 0 && alpha != 255) {
                return {};
            }
            to[x] = alpha == 0 ? 0xffffffff : from[x];
        }
    }
    return over;
}

} // namespace

const GroupPicture* CGroupPictureCache::Picture(const std::vector<RasterGroupCall>& calls,
                                                QRect area,
                                                const std::function<void(DrawSurface&)>& draw) {
    auto kept = std::find_if(pictures.begin(), pictures.end(), [&](const GroupPicture& g) {
        return g.area == area && g.calls == calls;
    });
    if (kept != pictures.end()) {
        std::rotate(pictures.begin(), kept, kept + 1);
        return &pictures.front();
    }
    // A group is kept as a picture the second time in a row it comes, so that a window being
    // resized does not pay for pictures it never uses again.
    if (!(lastArea == area && lastCalls == calls)) {
        lastCalls = calls;
        lastArea = area;
        return nullptr;
    }
    const bool fits = static_cast<int64_t>(area.width()) * area.height() <= kMaxGroupPixels;
    QImage layer = fits ? QImage(area.size(), QImage::Format_ARGB32_Premultiplied) : QImage();
    if (layer.isNull()) {
        return nullptr;
    }
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        CQtPainterSurface onLayer(&layerPainter, {area.left(), -area.top()});
        draw(onLayer);
    }
    GroupPicture picture{calls, area, {}, {}, {}, ++pictureSerial};
    if (const QRect touched = Touched(layer); !touched.isEmpty()) {
        picture.image = layer.copy(touched);
        picture.overWhite = OverWhite(picture.image);
        picture.at = area.topLeft() + touched.topLeft();
    }
    lastCalls.clear();
    pictures.insert(pictures.begin(), std::move(picture));
    if (pictures.size() > kGroupPictures) {
        pictures.pop_back();
    }
    return &pictures.front();
}
