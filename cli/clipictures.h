#pragma once

#include "chart/pictureformat.h"

#include <string>

class IDateTimeText;
class SmithChrt;

/// The tool's picture writers, which a run that writes no picture should not pay for, live in
/// two modules that the tool loads when a run needs them: the chart's pictures (PNG, SVG, PDF)
/// over Qt GUI alone (clipicturemodule.cpp), and the band response plot, which Qt Charts draws
/// with widgets (cliplotmodule.cpp). Each module exports, by its entry name, a table of its
/// functions.

/// The chart picture module's table.
struct CliPictureWriters {
    /// The version of this table; a module of another gives none.
    int version = 0;
    /// Starts the Qt GUI application the pictures need (on the offscreen platform unless the
    /// environment names another), unless one runs. The result goes to endSession.
    void* (*startSession)() = nullptr;
    void (*endSession)(void* session) = nullptr;
    /// The chart as WriteChartPicture (platform/drawing/chartpictures.h) writes it.
    bool (*writeChart)(const SmithChrt& doc, int width, int height, const std::string& path,
                       PictureFormat format, IDateTimeText& clock) = nullptr;
};

/// The band plot module's table.
struct CliPlotWriters {
    int version = 0;
    /// Starts a Qt widget application, which the plot needs, unless an application runs.
    void* (*startSession)() = nullptr;
    void (*endSession)(void* session) = nullptr;
    /// The band response plot as WriteBandPlotPicture (platform/plot/bandplot.h) writes it.
    bool (*writePlot)(const SmithChrt& doc, int width, int height, const std::string& path,
                      PictureFormat format) = nullptr;
};

inline constexpr int kCliPictureWritersVersion = 2;

/// The names of the functions (without arguments) by which the modules give their tables.
inline constexpr const char* kCliPictureWritersEntry = "QuorbelCliPictureWriters";
inline constexpr const char* kCliPlotWritersEntry = "QuorbelCliPlotWriters";

/// A module's table, or an empty error. A module is looked for in the installed tree (the
/// library folder's quorbel/modules/ seen from the tool's folder) and then beside the tool (the
/// build tree); it is loaded once and stays loaded.
template <typename Writers> struct CliModuleLoad {
    const Writers* writers = nullptr;
    std::string error; ///< why there are none: the module not found, or not loadable
};
CliModuleLoad<CliPictureWriters> LoadCliPictureWriters();
CliModuleLoad<CliPlotWriters> LoadCliPlotWriters();
