#pragma once

#include "model/geometry.h"

#include <QRect>
#include <QSize>

class CRasterCache;
class IDateTimeText;
class IMessageSink;
class QPaintDevice;
class QPainter;
class SmithChrt;

// The chart's draw (DrawChart, chart/drawchart.h) onto the three kinds of Qt target: a window
// or an image through the raster surface, a printed or previewed page, a vector picture. The
// view's DrawView picks the window or the page; the exports pick by the picture's format.

/// The draw for a window paint and a pixel picture: the client area of the given size is the
/// drawing rectangle, and the repainted area clipBox (window pixels) is drawn straight through
/// target, whose device (the window's backing store, which Qt shows at once when the paint
/// ends, or an image) has its own pixel ratio; devicePixelRatio is not used. cache, when given,
/// keeps what the next draw of the same window can reuse. Messages raised by the draw go to
/// drawMessages when it is given.
void DrawChartOnWindow(SmithChrt& sc, QPainter& target, QSize client, QRect clipBox,
                       IDateTimeText& clock, IMessageSink* drawMessages, qreal devicePixelRatio,
                       CRasterCache* cache = nullptr);

/// The draw for one printed or previewed page: the part of printRect (device
/// units) with the proportions of the client area, drawn straight onto the printer (the page's
/// dots from its device, whose area PrintRectOf in platform/drawing/cchartprinter.h gives).
void DrawChartOnPage(SmithChrt& sc, QPainter& target, const QPaintDevice& printer, QSize client,
                     Rect printRect, IDateTimeText& clock, IMessageSink* drawMessages);

/// The draw straight onto a device whose units are the pixels of a client area of the
/// given size, unbuffered as on a printed page: the vector pictures.
void DrawChartAsVectors(SmithChrt& sc, QPainter& target, QSize client, IDateTimeText& clock,
                        IMessageSink* drawMessages);

/// How many of a printer's dots a pen's width of one logical unit covers on the page: its
/// resolution over a screen's 96 dots per inch (1 for a device no finer than a screen).
double PrintPenScale(const QPaintDevice& printer);

/// Relative height of a device's dots over their width (1 for square dots).
double DotAspect(const QPaintDevice& device);
