#include "platform/drawing/coffscreendc.h"

#include <QPainter>

#include <algorithm>

COffscreenDC::COffscreenDC(QPainter& target, Rect rect, bool printing, qreal devicePixelRatio)
    : target(target), rect(rect) {
    const int64_t w = int64_t{rect.right} - rect.left;
    const int64_t h = int64_t{rect.top} - rect.bottom;
    const double pixels =
        static_cast<double>(w) * static_cast<double>(h) * devicePixelRatio * devicePixelRatio;
    const bool fits = w > 0 && h > 0 && pixels < static_cast<double>(1 << 28);
    if (printing || !fits) {
        Attach(&target, {0, 0});
        return;
    }
    image = QImage(static_cast<int>(w * devicePixelRatio), static_cast<int>(h * devicePixelRatio),
                   QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    imagePainter = std::make_unique<QPainter>(&image);
    imagePainter->setFont(target.font());
    Attach(imagePainter.get(), {rect.left, rect.top});
}

COffscreenDC::~COffscreenDC() {
    if (imagePainter == nullptr) {
        return;
    }
    imagePainter->end();
    target.drawImage(QPointF(rect.left, -static_cast<double>(rect.top)), image);
}
