#pragma once

#include "model/geometry.h"

#include <QRect>
#include <QSize>

class CRasterCache;
class IDateTimeText;
class IMessageSink;
class QPaintDevice;
class QPainter;
class QPrinter;
class SmithChrt;

/// What one draw goes to: a window paint (printer null) or a printed or previewed page.
struct DrawViewTarget {
    QSize client;                ///< the view window's client area in pixels
    QRect clipBox;               ///< window: the repainted area
    QPrinter* printer = nullptr; ///< page: the printer or preview device
    Rect printRect;              ///< page: the page's drawing area in printer units
    IDateTimeText* clock = nullptr;
    IMessageSink* drawMessages = nullptr; ///< where the draw's messages go, if not sc.messages
    qreal devicePixelRatio = 1.0;
    CRasterCache* rasterCache = nullptr; ///< window: what the window's draws keep for the next
};

/// The one draw routine of the view, for every paint, printed page and preview page.
void DrawView(SmithChrt& sc, QPainter& target, const DrawViewTarget& to);

/// The view's draw routine for a window paint: the client area of the given size is the
/// drawing rectangle, and the repainted area clipBox (window pixels) is drawn straight through
/// target, whose device (the window's backing store, which Qt shows at once when the paint
/// ends, or an image) has its own pixel ratio; devicePixelRatio is not used. cache, when given,
/// keeps what the next draw of the same window can reuse. Messages raised by the draw go to
/// drawMessages when it is given.
void DrawViewOnWindow(SmithChrt& sc, QPainter& target, QSize client, QRect clipBox,
                      IDateTimeText& clock, IMessageSink* drawMessages, qreal devicePixelRatio,
                      CRasterCache* cache = nullptr);

/// The view's draw routine for one printed or previewed page: the part of printRect (device
/// units) with the proportions of the client area, drawn straight onto the printer.
void DrawViewOnPrinter(SmithChrt& sc, QPainter& target, QPrinter& printer, QSize client,
                       Rect printRect, IDateTimeText& clock, IMessageSink* drawMessages);

/// The view's draw straight onto a device whose units are the pixels of a client area of the
/// given size, unbuffered as on a printed page: the vector pictures.
void DrawViewUnbuffered(SmithChrt& sc, QPainter& target, QSize client, IDateTimeText& clock,
                        IMessageSink* drawMessages);

/// The page's drawing area in printer device units, with its top-left corner at (0, 0).
Rect PrintRectOf(QPrinter& printer);

/// How many of a printer's dots a pen's width of one logical unit covers on the page: its
/// resolution over a screen's 96 dots per inch (1 for a device no finer than a screen).
double PrintPenScale(const QPaintDevice& printer);

/// Relative height of a device's dots over their width (1 for square dots).
double DotAspect(const QPaintDevice& device);
