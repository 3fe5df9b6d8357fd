#pragma once

#include "clioptions.h"

#include <cstdint>
#include <memory>
#include <string>

class IDateTimeText;
class QGuiApplication;
class SmithChrt;

/// The Qt application that drawing text needs, on the offscreen platform unless the
/// environment names another; none is made when one exists already.
class CGuiSession {
public:
    CGuiSession();
    ~CGuiSession();
    CGuiSession(const CGuiSession&) = delete;
    CGuiSession& operator=(const CGuiSession&) = delete;

private:
    std::unique_ptr<QGuiApplication> app;
};

/// Renders doc's chart as the window draws it into a client area of width x height pixels and
/// writes it to path. PNG is the window's own buffered draw; SVG and PDF receive the same
/// drawing calls unbuffered, as a printed page does, so that they stay vector drawings. Needs a
/// Qt application. Returns false when the file cannot be written.
bool WriteChartPicture(const SmithChrt& doc, const std::string& path, PictureFormat format,
                       int32_t width, int32_t height, IDateTimeText& clock);
