#include "platform/drawing/cqtpaintersurface.h"

#include "chart/chartgeometry.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>

#include <cmath>
#include <utility>

namespace {

// Shapes reaching beyond this many device units are not drawn; lines are clipped to it.
constexpr double kReach = 1 << 20;

QColor ToQColor(Rgb c) {
    return {c.r, c.g, c.b};
}

// The segment a-b clipped to the square of half-side kReach.
bool ClipToReach(QPointF& a, QPointF& b) {
    return ClipSegment(a, b, QRectF(-kReach, -kReach, 2 * kReach, 2 * kReach));
}

double RayAngle(const QRectF& logicalBox, Point p) {
    const QPointF c = logicalBox.center();
    return std::atan2(p.y - c.y(), p.x - c.x()) * 180.0 / M_PI;
}

} // namespace

bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const QPointF start = a;
    a = start + QPointF(dx * t0, dy * t0);
    b = start + QPointF(dx * t1, dy * t1);
    return true;
}

CQtPainterSurface::CQtPainterSurface(QPainter* painter, Point origin) {
    Attach(painter, origin);
}

void CQtPainterSurface::Attach(QPainter* p, Point o) {
    painter = p;
    origin = o;
    ApplyPen();
    ApplyBrush();
}

QPointF CQtPainterSurface::Device(Point p) const {
    return {static_cast<double>(int64_t{p.x} - origin.x),
            static_cast<double>(int64_t{origin.y} - p.y)};
}

bool CQtPainterSurface::DeviceBox(const Rect& box, QRectF& out) const {
    if (!IsValidRect(box)) {
        return false;
    }
    out = QRectF(Device({box.left, box.top}), Device({box.right, box.bottom})).normalized();
    return std::fabs(out.left()) < kReach && std::fabs(out.right()) < kReach &&
           std::fabs(out.top()) < kReach && std::fabs(out.bottom()) < kReach;
}

void CQtPainterSurface::ApplyPen() {
    painter->setPen(QPen(ToQColor(pen.colour), pen.width * penScale, Qt::SolidLine, Qt::RoundCap,
                         Qt::RoundJoin));
}

void CQtPainterSurface::SetPenScale(double scale) {
    penScale = scale;
    ApplyPen();
}

void CQtPainterSurface::ApplyBrush() {
    painter->setBrush(brush == Brush::White ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
}

void CQtPainterSurface::PenSelected() {
    ApplyPen();
}

void CQtPainterSurface::BrushSelected() {
    ApplyBrush();
}

void CQtPainterSurface::Line(Point from, Point to) {
    if (!IsValidPoint(from) || !IsValidPoint(to)) {
        return;
    }
    QPointF a = Device(from);
    QPointF b = Device(to);
    if (ClipToReach(a, b)) {
        painter->drawLine(a, b);
    }
}

void CQtPainterSurface::Circle(Rect box) {
    QRectF r;
    if (!DeviceBox(box, r)) {
        return;
    }
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(r);
    ApplyBrush();
}

void CQtPainterSurface::Arc(Rect box, Point start, Point end) {
    QRectF r;
    if (!DeviceBox(box, r) || !IsValidPoint(start) || !IsValidPoint(end)) {
        return;
    }
    const QRectF logical = QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom));
    const double a1 = RayAngle(logical, start);
    double sweep = std::fmod(RayAngle(logical, end) - a1, 360.0);
    if (sweep <= 0) {
        sweep += 360.0; // coinciding rays give the full circle
    }
    QPainterPath path;
    path.arcMoveTo(r, a1);
    path.arcTo(r, a1, sweep);
    painter->strokePath(path, painter->pen());
}

void CQtPainterSurface::Ellipse(Rect box) {
    QRectF r;
    if (DeviceBox(box, r)) {
        painter->drawEllipse(r);
    }
}

void CQtPainterSurface::TextOut(Point p, const std::string& text) {
    if (text.empty() || !IsValidPoint(p)) {
        return;
    }
    const QPointF d = Device(p);
    if (std::fabs(d.x()) > kReach || std::fabs(d.y()) > kReach) {
        return;
    }
    const QFontMetrics fm(painter->font(), painter->device());
    painter->setPen(ToQColor(textColour));
    painter->drawText(QPointF(d.x(), d.y() + fm.ascent()), QString::fromUtf8(text));
    ApplyPen();
}

int32_t CQtPainterSurface::TextWidth(const std::string& text) {
    const QFontMetrics fm(painter->font(), painter->device());
    return fm.horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

TextMetrics CQtPainterSurface::GetTextMetrics() {
    const QFontMetrics fm(painter->font(), painter->device());
    return {fm.height(), std::max(0, fm.leading())};
}

void CQtPainterSurface::FillWhite(Rect rect) {
    if (!IsValidRect(rect)) {
        return;
    }
    painter->fillRect(
        QRectF(Device({rect.left, rect.top}), Device({rect.right, rect.bottom})).normalized(),
        Qt::white);
}

void CQtPainterSurface::SetBackgroundTransparent() {
    painter->setBackgroundMode(Qt::TransparentMode);
}
