#pragma once

#include "platform/drawing/cqtpaintersurface.h"

#include <QImage>

#include <memory>

class QPainter;

/// The surface one draw goes through. On a window it draws into an off-screen image of the
/// repainted area, which reaches the window in one copy when the draw ends (destruction); on a
/// printer it draws straight onto the page.
class COffscreenDC : public CQtPainterSurface {
public:
    /// rect is the logical area covered (the repainted area on a window); the target's device
    /// units are logical units with y negated.
    COffscreenDC(QPainter& target, Rect rect, bool printing, qreal devicePixelRatio = 1.0);
    ~COffscreenDC() override;
    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

    bool IsBuffered() const { return imagePainter != nullptr; }

private:
    QPainter& target;
    Rect rect;
    QImage image;
    std::unique_ptr<QPainter> imagePainter;
};
