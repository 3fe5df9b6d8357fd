#include "platform/shell/shellicons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <utility>

namespace {

constexpr int kSize = 32;
const QColor kWire(20, 20, 20);
const QColor kCapacitor(0, 70, 200);
const QColor kInductor(0, 130, 40);
const QColor kResistor(170, 60, 0);
const QColor kLine(0, 120, 140);

QPen Pen(const QColor& c, qreal w = 2.0) {
    return QPen(c, w, Qt::SolidLine, Qt::FlatCap);
}

// Element symbols, drawn in a frame where the element runs from (0, 0) to (len, 0).
void CapacitorSymbol(QPainter& p, qreal len) {
    const qreal mid = len / 2;
    p.setPen(Pen(kWire));
    p.drawLine(QPointF(0, 0), QPointF(mid - 2.5, 0));
    p.drawLine(QPointF(mid + 2.5, 0), QPointF(len, 0));
    p.setPen(Pen(kCapacitor, 3));
    p.drawLine(QPointF(mid - 2.5, -7), QPointF(mid - 2.5, 7));
    p.drawLine(QPointF(mid + 2.5, -7), QPointF(mid + 2.5, 7));
}

void InductorSymbol(QPainter& p, qreal len) {
    const qreal coil = 16;
    const qreal start = (len - coil) / 2;
    p.setPen(Pen(kWire));
    p.drawLine(QPointF(0, 0), QPointF(start, 0));
    p.drawLine(QPointF(start + coil, 0), QPointF(len, 0));
    p.setPen(Pen(kInductor, 2.2));
    for (int i = 0; i < 4; ++i) {
        p.drawArc(QRectF(start + i * 4.0, -4, 4, 8), 0, 180 * 16);
    }
}

void ResistorSymbol(QPainter& p, qreal len) {
    const qreal body = 16;
    const qreal start = (len - body) / 2;
    p.setPen(Pen(kWire));
    p.drawLine(QPointF(0, 0), QPointF(start, 0));
    p.drawLine(QPointF(start + body, 0), QPointF(len, 0));
    QPainterPath zig(QPointF(start, 0));
    for (int i = 0; i < 6; ++i) {
        zig.lineTo(start + 1.33 + i * 2.67, (i % 2 == 0) ? -5 : 5);
    }
    zig.lineTo(start + body, 0);
    p.setPen(QPen(kResistor, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(zig);
}

// A transmission line: a long box with its centre conductor.
void LineSymbol(QPainter& p, qreal len) {
    const qreal body = len - 8;
    p.setPen(Pen(kWire));
    p.drawLine(QPointF(0, 0), QPointF(4, 0));
    p.drawLine(QPointF(len - 4, 0), QPointF(len, 0));
    p.setPen(Pen(kLine, 1.6));
    p.setBrush(QColor(200, 235, 240));
    p.drawRect(QRectF(4, -4, body, 8));
    p.setPen(Pen(kWire, 1.4));
    p.drawLine(QPointF(4, 0), QPointF(4 + body, 0));
}

void Ground(QPainter& p, qreal x, qreal y) {
    p.setPen(Pen(kWire));
    p.drawLine(QPointF(x - 7, y), QPointF(x + 7, y));
    p.drawLine(QPointF(x - 4.5, y + 3), QPointF(x + 4.5, y + 3));
    p.drawLine(QPointF(x - 2, y + 6), QPointF(x + 2, y + 6));
}

using Symbol = std::function<void(QPainter&, qreal)>;

void Series(QPainter& p, const Symbol& symbol) {
    p.save();
    p.translate(1, 16);
    symbol(p, 30);
    p.restore();
}

// Through wire along the top, the element hanging from it down to ground.
void Shunt(QPainter& p, const Symbol& symbol, bool grounded = true) {
    p.setPen(Pen(kWire));
    p.drawLine(QPointF(1, 5), QPointF(31, 5));
    p.setBrush(kWire);
    p.drawEllipse(QPointF(16, 5), 1.6, 1.6);
    p.save();
    p.translate(16, 5);
    p.rotate(90);
    symbol(p, grounded ? 19 : 22);
    p.restore();
    if (grounded) {
        Ground(p, 16, 24);
    }
}

void OpenStub(QPainter& p) {
    Shunt(
        p,
        [](QPainter& q, qreal len) {
            q.setPen(Pen(kWire));
            q.drawLine(QPointF(0, 0), QPointF(3, 0));
            q.setPen(Pen(kLine, 1.6));
            q.setBrush(QColor(200, 235, 240));
            q.drawRect(QRectF(3, -4, len - 3, 8));
            q.setPen(Pen(kWire, 1.4));
            q.drawLine(QPointF(3, 0), QPointF(len - 3, 0));
        },
        false);
    // The open end: a small gap marker.
    p.setPen(Pen(kWire, 1.2));
    p.drawLine(QPointF(11, 30), QPointF(21, 30));
}

void CompoundElement(QPainter& p) {
    p.setPen(Pen(kWire));
    p.drawLine(QPointF(1, 16), QPointF(5, 16));
    p.drawLine(QPointF(27, 16), QPointF(31, 16));
    p.setPen(Pen(kWire, 1.6));
    p.setBrush(QColor(255, 245, 200));
    p.drawRect(QRectF(5, 9, 22, 14));
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kResistor);
    p.drawText(QRectF(5, 9, 22, 14), Qt::AlignCenter, QStringLiteral("RLC"));
}

void Page(QPainter& p, const QRectF& r) {
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - 6, r.top());
    page.lineTo(r.right(), r.top() + 6);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(kWire, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(r.right() - 6, r.top()), QPointF(r.right() - 6, r.top() + 6));
    p.drawLine(QPointF(r.right() - 6, r.top() + 6), QPointF(r.right(), r.top() + 6));
}

void TextLines(QPainter& p, qreal left, qreal top, qreal width, int count) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    for (int i = 0; i < count; ++i) {
        p.drawLine(QPointF(left, top + i * 3.5), QPointF(left + width, top + i * 3.5));
    }
}

void NewIcon(QPainter& p) {
    Page(p, QRectF(7, 3, 18, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 190, 0));
    p.drawEllipse(QPointF(23, 24), 5, 5);
}

void OpenIcon(QPainter& p) {
    p.setPen(QPen(QColor(120, 80, 0), 1.5));
    p.setBrush(QColor(230, 180, 60));
    p.drawRect(QRectF(3, 9, 24, 18));
    p.drawRect(QRectF(3, 6, 10, 3));
    QPolygonF flap{{7, 14}, {30, 14}, {26, 27}, {3, 27}};
    p.setBrush(QColor(250, 215, 110));
    p.drawPolygon(flap);
}

void SaveIcon(QPainter& p) {
    p.setPen(QPen(kWire, 1.5));
    p.setBrush(QColor(40, 70, 160));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 4, 16, 9));
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(QRectF(9, 18, 14, 10));
    p.setBrush(QColor(40, 70, 160));
    p.drawRect(QRectF(19, 6, 3, 5));
}

// A small Smith chart: rim, axis and two resistance circles.
void MiniChart(QPainter& p, const QPointF& c, qreal r, const QColor& colour) {
    p.setBrush(Qt::white);
    p.setPen(QPen(colour, 1.8));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(colour, 1.2));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(c.x() + r / 2, c.y()), r / 2, r / 2);
    p.drawEllipse(QPointF(c.x() + r * 3 / 4, c.y()), r / 4, r / 4);
    p.drawArc(QRectF(c.x(), c.y() - 2 * r, 2 * r, 2 * r), 180 * 16, 90 * 16);
    p.drawArc(QRectF(c.x(), c.y(), 2 * r, 2 * r), 90 * 16, 90 * 16);
}

void SetupIcon(QPainter& p) {
    MiniChart(p, QPointF(14, 14), 11, QColor(160, 0, 0));
    // A slider knob at the lower right: settings.
    p.setPen(QPen(kWire, 2));
    p.drawLine(QPointF(18, 28), QPointF(31, 28));
    p.setBrush(QColor(240, 190, 0));
    p.drawRect(QRectF(22, 24, 5, 7));
}

void Star(QPainter& p, const QPointF& c, qreal r, const QColor& colour) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const qreal rr = (i % 2 == 0) ? r : r * 0.45;
        star << QPointF(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    }
    p.setPen(QPen(QColor(150, 100, 0), 1));
    p.setBrush(colour);
    p.drawPolygon(star);
}

void Wand(QPainter& p) {
    p.setPen(QPen(kWire, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 29), QPointF(17, 16));
    p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 19), QPointF(16, 17));
}

void MatchWizardIcon(QPainter& p) {
    MiniChart(p, QPointF(21, 11), 9, QColor(160, 0, 0));
    p.setPen(QPen(kCapacitor, 2));
    p.drawLine(QPointF(13, 15), QPointF(21, 11));
    p.setBrush(kCapacitor);
    p.drawEllipse(QPointF(21, 11), 2, 2);
    Wand(p);
    Star(p, QPointF(18, 15), 5, QColor(255, 220, 0));
}

void FilterWizardIcon(QPainter& p) {
    p.setPen(QPen(kWire, 1.5));
    p.drawLine(QPointF(12, 2), QPointF(12, 24));
    p.drawLine(QPointF(12, 24), QPointF(31, 24));
    QPainterPath response(QPointF(12, 8));
    response.cubicTo(QPointF(16, 6), QPointF(19, 10), QPointF(21, 7));
    response.cubicTo(QPointF(24, 10), QPointF(26, 20), QPointF(31, 23));
    p.setPen(QPen(kCapacitor, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(response);
    Wand(p);
    Star(p, QPointF(18, 15), 5, QColor(255, 220, 0));
}

void Arrow(QPainter& p, qreal y, qreal from, qreal to, const QColor& colour) {
    p.setPen(QPen(colour, 2.5));
    p.drawLine(QPointF(from, y), QPointF(to, y));
    const qreal dir = to > from ? 1 : -1;
    QPolygonF head{{to + dir * 3, y}, {to - dir * 4, y - 5}, {to - dir * 4, y + 5}};
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void FlipIcon(QPainter& p) {
    Arrow(p, 10, 4, 25, QColor(0, 110, 0));
    Arrow(p, 22, 28, 7, QColor(160, 0, 0));
}

void DeleteIcon(QPainter& p) {
    p.setPen(QPen(QColor(200, 0, 0), 4.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(25, 25));
    p.drawLine(QPointF(25, 7), QPointF(7, 25));
}

void CopyIcon(QPainter& p) {
    Page(p, QRectF(3, 3, 15, 20));
    TextLines(p, 6, 9, 8, 3);
    Page(p, QRectF(13, 9, 15, 20));
    TextLines(p, 16, 15, 8, 3);
}

void PasteIcon(QPainter& p) {
    p.setPen(QPen(QColor(100, 60, 0), 1.5));
    p.setBrush(QColor(200, 150, 80));
    p.drawRoundedRect(QRectF(4, 5, 18, 23), 2, 2);
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(QRectF(9, 3, 8, 5));
    Page(p, QRectF(14, 11, 14, 18));
    TextLines(p, 17, 17, 7, 3);
}

void PrinterBody(QPainter& p) {
    p.setPen(QPen(kWire, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 19, 16, 10));
    TextLines(p, 11, 23, 10, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 170, 0));
    p.drawEllipse(QPointF(25, 15.5), 1.5, 1.5);
}

void PreviewIcon(QPainter& p) {
    Page(p, QRectF(3, 2, 18, 25));
    TextLines(p, 6, 9, 10, 4);
    p.setPen(QPen(kWire, 2));
    p.setBrush(QColor(210, 235, 255, 200));
    p.drawEllipse(QPointF(19, 18), 6, 6);
    p.setPen(QPen(kWire, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(23.5, 22.5), QPointF(29, 28));
}

void AboutIcon(QPainter& p) {
    p.setPen(QPen(QColor(0, 60, 150), 1.5));
    p.setBrush(QColor(60, 120, 220));
    p.drawEllipse(QPointF(16, 16), 13, 13);
    QFont f;
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
}

using Painter = std::function<void(QPainter&)>;

const std::map<QString, Painter>& Painters() {
    static const std::map<QString, Painter> painters{
        {QStringLiteral("new"), NewIcon},
        {QStringLiteral("open"), OpenIcon},
        {QStringLiteral("save"), SaveIcon},
        {QStringLiteral("setup"), SetupIcon},
        {QStringLiteral("match-wizard"), MatchWizardIcon},
        {QStringLiteral("filter-wizard"), FilterWizardIcon},
        {QStringLiteral("flip"), FlipIcon},
        {QStringLiteral("delete"), DeleteIcon},
        {QStringLiteral("series-capacitor"), [](QPainter& p) { Series(p, CapacitorSymbol); }},
        {QStringLiteral("shunt-capacitor"), [](QPainter& p) { Shunt(p, CapacitorSymbol); }},
        {QStringLiteral("series-inductor"), [](QPainter& p) { Series(p, InductorSymbol); }},
        {QStringLiteral("shunt-inductor"), [](QPainter& p) { Shunt(p, InductorSymbol); }},
        {QStringLiteral("series-resistor"), [](QPainter& p) { Series(p, ResistorSymbol); }},
        {QStringLiteral("shunt-resistor"), [](QPainter& p) { Shunt(p, ResistorSymbol); }},
        {QStringLiteral("series-line"), [](QPainter& p) { Series(p, LineSymbol); }},
        {QStringLiteral("shorted-stub"), [](QPainter& p) { Shunt(p, LineSymbol); }},
        {QStringLiteral("open-stub"), OpenStub},
        {QStringLiteral("compound"), CompoundElement},
        {QStringLiteral("copy"), CopyIcon},
        {QStringLiteral("paste"), PasteIcon},
        {QStringLiteral("print-preview"), PreviewIcon},
        {QStringLiteral("print"), [](QPainter& p) { PrinterBody(p); }},
        {QStringLiteral("about"), AboutIcon},
    };
    return painters;
}

// Paints an icon drawn in the 32 x 32 frame into rect, at whatever resolution the painter has.
void PaintScaled(QPainter& p, const QRectF& rect, const Painter& draw) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rect.topLeft());
    p.scale(rect.width() / kSize, rect.height() / kSize);
    draw(p);
    p.restore();
}

/// A toolbar icon drawn by code at the size asked for: a pixmap of 64 device pixels for a
/// 32-pixel button at a device pixel ratio of 2, so that the icon is as sharp as the text.
class CodeIconEngine : public QIconEngine {
public:
    CodeIconEngine(QString name, Painter draw) : name(std::move(name)), draw(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        if (mode == QIcon::Normal) {
            PaintScaled(*painter, rect, draw);
            return;
        }
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }

    /// size is in device pixels (QIcon multiplies by the ratio before it asks).
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QString key = QStringLiteral("quorbel-icon:%1:%2x%3:%4")
                                .arg(name)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(static_cast<int>(mode));
        QPixmap pm;
        if (QPixmapCache::find(key, &pm)) {
            return pm;
        }
        pm = QPixmap(size);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            PaintScaled(p, QRectF(QPointF(0, 0), QSizeF(size)), draw);
        }
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        QPixmapCache::insert(key, pm);
        return pm;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new CodeIconEngine(name, draw); }
    QString key() const override { return QStringLiteral("quorbel-code-icon"); }
    QString iconName() override { return name; }

private:
    QString name;
    Painter draw;
};

} // namespace

QIcon ToolbarIcon(const QString& name) {
    const auto found = Painters().find(name);
    if (found == Painters().end()) {
        return {};
    }
    return QIcon(new CodeIconEngine(name, found->second));
}

QStringList ToolbarIconNames() {
    QStringList names;
    for (const auto& entry : Painters()) {
        names.append(entry.first);
    }
    return names;
}

QPixmap AboutPicture(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(QColor(250, 250, 245));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = height * 0.4;
    const int count = qMax(1, static_cast<int>(width / (2.6 * r)));
    const qreal step = static_cast<qreal>(width) / count;
    for (int i = 0; i < count; ++i) {
        MiniChart(p, QPointF(step * (i + 0.5), height / 2.0), r,
                  i % 2 == 0 ? QColor(160, 0, 0) : QColor(0, 70, 200));
    }
    return pixmap;
}
