#pragma once

#include "chart/drawsurface.h"
#include "platform/drawing/rasterstamps.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>

#include <cstdint>
#include <vector>

class QPainter;

/// The pixels under a raster surface's painter, in the painter's coordinates (translated to the
/// device's pixels): the rows of the picture the painter draws into, written straight where the
/// painter's clip is one rectangle, and the white fill the surface owes. A white fill is written
/// only where the draw does not cover it: the parts a picture of a group is put back over are
/// never filled, as the picture's copy over white is put there instead.
class CRasterTarget {
public:
    /// pixelExact: the painter maps its coordinates to whole device pixels on a raster engine,
    /// drawing opaque solid colours.
    CRasterTarget(QPainter& painter, bool pixelExact);

    /// Takes on the white fill of rect (painter coordinates); false when it has to be filled now.
    bool OweWhite(const QRect& rect);
    /// Fills what white is owed.
    void PayWhite();
    /// Fills the white owed in the rows of box, in each part of it that box meets.
    void PayWhiteIn(const QRect& box);

    /// Puts picture at `at` over what lies there. overWhite, when not null, is the picture put
    /// over white: it is copied where the white fill is still owed, which then is no more.
    void PutPicture(QPoint at, const QImage& picture, const QImage& overWhite);

    /// Copies image to `at` where the white fill is owed under it (which then is no more): the
    /// pixels of a text line on white. Gives the part of the image's place, within the rows
    /// the painter may write, where the white was not owed.
    QRegion CopyOverOwedWhite(QPoint at, const QImage& image);

    /// The format of the picture whose rows are written; only when WritesRows.
    QImage::Format Format() const { return format; }

    /// Whether runs can be written straight into the picture's rows.
    bool WritesRows() const { return rows != nullptr; }
    /// Fills runs placed at (x, y) in colour, straight into the rows; only when WritesRows.
    void FillRuns(const std::vector<StampRun>& runs, int64_t x, int64_t y, Rgb colour);

private:
    void FillRowsWhite(const QRect& rect);

    QPainter& painter;
    QRegion owed;
    QRect clear;            ///< a rectangle where no white is owed: where the last picture was put
    uchar* rows = nullptr;  ///< the first row of the picture when rows are written straight
    qsizetype rowBytes = 0; ///< bytes from one row to the next
    QPoint origin;          ///< the device pixel of the painter's (0, 0)
    QRect writable;         ///< where rows may be written, in the painter's coordinates
    QImage::Format format = QImage::Format_Invalid;
};
