#include "tests/support/childprocess.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A "Name: value" field of a /proc/self file, or -1.
int64_t ProcField(const char* file, const char* name) {
    std::ifstream in(file);
    const std::string prefix = std::string(name) + ":";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stoll(line.substr(prefix.size()));
        }
    }
    return -1;
}

void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

ChildOutcome RunInChild(const std::function<int()>& fn, unsigned timeoutSeconds) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        ::alarm(timeoutSeconds);
        ResetPeakMemory();
        const int64_t rssBefore = ProcField("/proc/self/status", "VmHWM");
        const int64_t readBefore = ProcField("/proc/self/io", "rchar");
        const int status = fn();
        const int64_t report[2] = {ProcField("/proc/self/status", "VmHWM") - rssBefore,
                                   ProcField("/proc/self/io", "rchar") - readBefore};
        [[maybe_unused]] const ssize_t put = ::write(pipeFds[1], report, sizeof report);
        ::_exit(status & 0xFF);
    }
    ::close(pipeFds[1]);
    ChildOutcome outcome;
    int64_t report[2] = {0, 0};
    const ssize_t got = ::read(pipeFds[0], report, sizeof report);
    ::close(pipeFds[0]);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    outcome.finished = WIFEXITED(wstatus) && got == static_cast<ssize_t>(sizeof report);
    outcome.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    outcome.peakGrowthKiB = report[0];
    outcome.bytesRead = report[1];
    return outcome;
}
