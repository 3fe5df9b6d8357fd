#pragma once

#include "pictureformat.h"

#include <QSize>
#include <QString>

class IDateTimeText;
class SmithChrt;

/// Writes doc's chart, as the window draws it into a client area of the given size in pixels,
/// to the file at path, atomically. PNG is the window's own buffered draw, pixel for pixel; SVG
/// and PDF receive the same drawing calls unbuffered, as a printed page does, so that they stay
/// vector drawings. The draw's messages go to doc.messages. Needs a Qt GUI application. Returns
/// false when the picture cannot be made or the file cannot be written.
bool WriteChartPicture(const SmithChrt& doc, QSize size, const QString& path, PictureFormat format,
                       IDateTimeText& clock);
