#pragma once

#include <memory>

class QGuiApplication;

/// The Qt application that drawing text needs, on the offscreen platform unless the
/// environment names another; none is made when one exists already.
class CGuiSession {
public:
    /// The application's maker: a QGuiApplication, or a QApplication where widgets are drawn.
    using Maker = std::unique_ptr<QGuiApplication> (*)(int& argc, char** argv);
    explicit CGuiSession(Maker make);
    ~CGuiSession();
    CGuiSession(const CGuiSession&) = delete;
    CGuiSession& operator=(const CGuiSession&) = delete;

private:
    std::unique_ptr<QGuiApplication> app;
};
