#include "platform/drawing/chartdrawview.h"

#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "model/smithchrt.h"
#include "platform/drawing/coffscreendc.h"
#include "platform/drawing/crastersurface.h"

#include <QPaintDevice>
#include <QPainter>

namespace {

// The resolution the chart's pen widths are made for: one logical unit is one pixel of a screen
// of this many dots per inch.
constexpr int kScreenDpi = 96;

void Draw(SmithChrt& sc, DrawSurface& surface, Rect logical, IDateTimeText& clock,
          IMessageSink* drawMessages) {
    IMessageSink* const previous = sc.messages;
    if (drawMessages != nullptr) {
        sc.messages = drawMessages;
    }
    DrawChart(sc, surface, logical, clock);
    sc.messages = previous;
}

void DrawStraight(SmithChrt& sc, QPainter& target, Rect logical, IDateTimeText& clock,
                  IMessageSink* drawMessages, double penScale = 1.0) {
    target.setBackgroundMode(Qt::TransparentMode);
    COffscreenDC dc(target, logical, true);
    dc.SetPenScale(penScale);
    Draw(sc, dc, logical, clock, drawMessages);
}

} // namespace

void DrawChartOnWindow(SmithChrt& sc, QPainter& target, QSize client, QRect clipBox,
                       IDateTimeText& clock, IMessageSink* drawMessages, qreal,
                       CRasterCache* cache) {
    const Rect logical = DeviceToLogical({0, 0, client.width(), client.height()});
    const QRect area(QPoint(0, 0), client);
    target.save();
    if (!clipBox.contains(area)) {
        target.setClipRect(clipBox, Qt::IntersectClip);
    }
    target.setBackgroundMode(Qt::TransparentMode);
    {
        CRasterSurface surface(target, area, cache);
        Draw(sc, surface, logical, clock, drawMessages);
    }
    target.restore();
}

void DrawChartOnPage(SmithChrt& sc, QPainter& target, const QPaintDevice& printer, QSize client,
                     Rect printRect, IDateTimeText& clock, IMessageSink* drawMessages) {
    const Rect page =
        ApplyPrintingRule(client.width(), client.height(), printRect, DotAspect(printer));
    DrawStraight(sc, target, DeviceToLogical(page), clock, drawMessages, PrintPenScale(printer));
}

void DrawChartAsVectors(SmithChrt& sc, QPainter& target, QSize client, IDateTimeText& clock,
                        IMessageSink* drawMessages) {
    DrawStraight(sc, target, DeviceToLogical({0, 0, client.width(), client.height()}), clock,
                 drawMessages);
}

double PrintPenScale(const QPaintDevice& printer) {
    const int dpi = printer.logicalDpiX();
    return dpi > kScreenDpi ? static_cast<double>(dpi) / kScreenDpi : 1.0;
}

double DotAspect(const QPaintDevice& device) {
    const int y = device.logicalDpiY();
    return y > 0 ? static_cast<double>(device.logicalDpiX()) / y : 1.0;
}
