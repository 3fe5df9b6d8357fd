#pragma once

#include <QSize>

#include <functional>

class QIODevice;
class QPainter;

/// Draws a picture of the given size in pixels onto an opaque RGB32 image and writes it to file
/// as an 8-bit RGB PNG, its rows compressed in two halves at once. The image's memory is kept for
/// the next picture, a large one's on huge pages where the system gives them. False when the
/// image cannot be made or written.
bool WritePngPicture(QIODevice& file, QSize size, const std::function<void(QPainter&)>& draw);
