#pragma once

#include "chart/pictureformat.h"

#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <span>

class IDateTimeText;
class QPainter;
class SmithChrt;

/// Writes doc's chart, as the window draws it into a client area of the given size in pixels,
/// to the file at path, atomically. PNG is the window's own draw, pixel for pixel; SVG
/// and PDF receive the same drawing calls unbuffered, as a printed page does, so that they stay
/// vector drawings. The draw's messages go to doc.messages. Needs a Qt GUI application. Returns
/// false when the picture cannot be made or the file cannot be written.
bool WriteChartPicture(const SmithChrt& doc, QSize size, const QString& path, PictureFormat format,
                       IDateTimeText& clock);

/// A further picture that an export writes after the chart, such as a plot of the network over
/// a band: its name, its size in pixels, and its draw onto a painter whose device is that many
/// pixels (an image for PNG, a vector device at 96 dots per inch for SVG and PDF), which paints
/// the whole picture, background included.
struct PicturePage {
    QString name;
    QSize size;
    std::function<void(QPainter&)> draw;
};

/// Writes pictures into the file at path, atomically: a PDF takes every page, one PDF page each,
/// PNG and SVG the first only (SVG and PDF as vector drawings at the screen's resolution, titled
/// title). Returns false when the picture cannot be made or the file cannot be written.
bool WritePicturePages(const QString& path, PictureFormat format, const QString& title,
                       std::span<const PicturePage> pages);

/// The file a further picture of a PNG or SVG export goes to: "amp.png" and "band" give
/// "amp-band.png".
QString PagePictureName(const QString& path, const QString& pageName);

/// Exports the chart as WriteChartPicture writes it, then each further picture: in a PDF as the
/// following pages of the same file, in PNG and SVG each to a file of its own named by
/// PagePictureName. Every file is written atomically. Returns the first file that could not be
/// written; empty when all were.
QString ExportChartPictures(const SmithChrt& doc, QSize size, const QString& path,
                            PictureFormat format, IDateTimeText& clock,
                            std::span<const PicturePage> morePages = {});
