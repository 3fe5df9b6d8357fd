#pragma once

#include <string>
#include <sys/types.h>

/// A private X server (Xvfb) for one test process, on a display number the server picks itself
/// (-displayfd), so that test processes running side by side never share one. Stopped, and
/// waited for, when the object goes.
class CXvfbDisplay {
public:
    /// Starts Xvfb with one screen of the given size; gives up after timeoutSeconds.
    CXvfbDisplay(int width, int height, unsigned timeoutSeconds);
    ~CXvfbDisplay();
    CXvfbDisplay(const CXvfbDisplay&) = delete;
    CXvfbDisplay& operator=(const CXvfbDisplay&) = delete;

    bool Running() const { return !name.empty(); }
    /// The DISPLAY value, such as ":12"; empty when the server is not running.
    const std::string& Name() const { return name; }
    /// Why the server is not running.
    const std::string& Problem() const { return problem; }

private:
    void Stop();

    pid_t pid = -1;
    std::string name;
    std::string problem;
};
