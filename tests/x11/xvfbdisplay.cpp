#include "tests/x11/xvfbdisplay.h"

#include <QStandardPaths>
#include <QString>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Reads the display number Xvfb writes to the pipe once it accepts connections.
std::string ReadDisplayNumber(int fd, unsigned timeoutSeconds) {
    std::string text;
    const int timeoutMs = static_cast<int>(timeoutSeconds * 1000);
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return {};
        }
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got <= 0) {
            return {};
        }
        if (c == '\n') {
            return text;
        }
        text += c;
    }
}

} // namespace

CXvfbDisplay::CXvfbDisplay(int width, int height, unsigned timeoutSeconds) {
    const std::string xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb")).toStdString();
    if (xvfb.empty()) {
        problem = "Xvfb is not installed (Debian package xvfb)";
        return;
    }
    int fds[2];
    if (::pipe(fds) != 0) {
        problem = "no pipe for Xvfb";
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string displayFd = std::to_string(fds[1]);
    pid = ::fork();
    if (pid == 0) {
        // The server goes with the test process, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::close(fds[0]);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execl(xvfb.c_str(), "Xvfb", "-displayfd", displayFd.c_str(), "-screen", "0",
                screen.c_str(), "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    const std::string number = pid > 0 ? ReadDisplayNumber(fds[0], timeoutSeconds) : "";
    ::close(fds[0]);
    if (number.empty()) {
        problem = "Xvfb did not start";
        Stop();
        return;
    }
    name = ":" + number;
}

CXvfbDisplay::~CXvfbDisplay() {
    Stop();
}

void CXvfbDisplay::Stop() {
    if (pid <= 0) {
        return;
    }
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        ::usleep(20000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}
