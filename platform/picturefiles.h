#pragma once

#include "chartpictures.h"

#include <QSize>
#include <QString>

#include <functional>

class QPainter;

/// Paints one picture onto a painter whose device is size pixels at the screen's resolution.
using PicturePainter = std::function<void(QPainter&)>;

/// Writes a picture of size pixels to the file at path, atomically: PNG as an image on white,
/// SVG and PDF as vector drawings at the screen's resolution, titled title. Returns false when
/// the picture cannot be made or the file cannot be written.
bool WritePictureFile(QSize size, const QString& path, PictureFormat format, const QString& title,
                      const PicturePainter& paint);
