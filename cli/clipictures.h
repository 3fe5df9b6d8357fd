#pragma once

#include "chart/pictureformat.h"

#include <string>

class IDateTimeText;
class SmithChrt;

/// The tool's picture writers. They need Qt's widgets (the band plot is drawn by Qt Charts),
/// SVG and print support, which a run that writes no picture should not pay for: they live in a
/// module of their own (clipicturemodule.cpp) that the tool loads on its first picture.
struct CliPictureWriters {
    /// The version of this table; a module of another gives none.
    int version = 0;
    /// Starts the Qt application the pictures need (on the offscreen platform unless the
    /// environment names another), unless one runs; with widgets, one that can draw the band
    /// plot. The result goes to endSession.
    void* (*startSession)(bool widgets) = nullptr;
    void (*endSession)(void* session) = nullptr;
    /// Has the memory of a PNG chart of this size made ready on a thread of its own, so that
    /// it overlaps the session's start.
    void (*preparePng)(int width, int height) = nullptr;
    /// The chart as WriteChartPicture (platform/drawing/chartpictures.h) writes it.
    bool (*writeChart)(const SmithChrt& doc, int width, int height, const std::string& path,
                       PictureFormat format, IDateTimeText& clock) = nullptr;
    /// The band response plot as WriteBandPlotPicture (platform/plot/bandplot.h) writes it.
    bool (*writePlot)(const SmithChrt& doc, int width, int height, const std::string& path,
                      PictureFormat format) = nullptr;
};

inline constexpr int kCliPictureWritersVersion = 1;

/// The function the module exports, by this name, returning its table.
using CliPictureWritersEntry = const CliPictureWriters* (*)();
inline constexpr const char* kCliPictureWritersEntry = "QuorbelCliPictureWriters";

/// The module's writers, or an empty error. The module is looked for in the installed tree
/// (the library folder's quorbel/modules/ seen from the tool's folder) and then beside the tool
/// (the build tree); it is loaded once and stays loaded.
struct CliPicturesLoad {
    const CliPictureWriters* writers = nullptr;
    std::string error; ///< why there are none: the module not found, or not loadable
};
CliPicturesLoad LoadCliPictureWriters();
