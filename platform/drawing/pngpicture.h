#pragma once

#include <QSize>

#include <functional>

class QIODevice;
class QPainter;

/// Draws a picture of the given size in pixels onto an opaque RGB32 image and writes it to file
/// as an 8-bit RGB PNG, its rows compressed in two halves at once. The image's memory is kept for
/// the next picture and is never on transparent huge pages. False when the image cannot be made
/// or written.
bool WritePngPicture(QIODevice& file, QSize size, const std::function<void(QPainter&)>& draw);

/// Gives the memory the next picture of this size will be drawn on its pages, on a thread of its
/// own, while the caller does other work (a process starting Qt before its first picture): the
/// system's clearing of fresh memory, a large part of a large picture's cost, then overlaps it.
void PreparePngPicture(QSize size);
