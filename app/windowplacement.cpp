#include "app/windowplacement.h"

#include <algorithm>

namespace {

qint64 Area(const QRect& r) {
    return r.isEmpty() ? 0 : qint64{r.width()} * r.height();
}

// The screen the window overlaps most; the first one when it overlaps none.
const QRect& BestScreen(const QRect& wanted, const QList<QRect>& screens) {
    const QRect* best = &screens.front();
    qint64 bestArea = 0;
    for (const QRect& screen : screens) {
        const qint64 area = Area(wanted.intersected(screen));
        if (area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    return *best;
}

} // namespace

QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& screens) {
    if (screens.isEmpty()) {
        return wanted;
    }
    const QRect& screen = BestScreen(wanted, screens);
    QRect placed(wanted.topLeft(), wanted.size().boundedTo(screen.size()));
    placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() - placed.height() + 1));
    return placed;
}
