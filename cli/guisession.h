#pragma once

#include <memory>

class QGuiApplication;

/// The Qt application that drawing text needs, on the offscreen platform unless the
/// environment names another; none is made when one exists already. With widgets, one that
/// can draw widgets too.
class CGuiSession {
public:
    explicit CGuiSession(bool widgets);
    ~CGuiSession();
    CGuiSession(const CGuiSession&) = delete;
    CGuiSession& operator=(const CGuiSession&) = delete;

private:
    std::unique_ptr<QGuiApplication> app;
};
