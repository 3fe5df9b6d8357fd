#include "tests/cli/cliprocess.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Slurp(int fd) {
    std::string text;
    char buf[65536];
    ::lseek(fd, 0, SEEK_SET);
    for (ssize_t got; (got = ::read(fd, buf, sizeof buf)) > 0;) {
        text.append(buf, static_cast<size_t>(got));
    }
    return text;
}

int TempFile() {
    char name[] = "/tmp/quorbel-cli-test-XXXXXX";
    const int fd = ::mkstemp(name);
    ::unlink(name);
    return fd;
}

} // namespace

CliOutcome RunCliProcess(const std::vector<std::string>& args) {
    return RunProcess(QUORBEL_CLI_PATH, args);
}

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

CliOutcome RunProcess(const std::string& program, const std::vector<std::string>& args) {
    const int out = TempFile();
    const int err = TempFile();
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargs;
    for (std::string& a : argv) {
        cargs.push_back(a.data());
    }
    cargs.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::alarm(300); // a run that blocks fails instead of hanging the suite
        ::execv(cargs[0], cargs.data());
        ::_exit(127);
    }
    int wstatus = 0;
    struct rusage usage {};
    ::wait4(pid, &wstatus, 0, &usage);
    CliOutcome r;
    r.maxRssKiB = usage.ru_maxrss;
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.out = Slurp(out);
    r.err = Slurp(err);
    ::close(out);
    ::close(err);
    return r;
}

CScratchDir::CScratchDir() {
    char name[] = "/tmp/quorbel-cli-dir-XXXXXX";
    dir = ::mkdtemp(name);
}

CScratchDir::~CScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

SmithChrt NewDocument() {
    SmithChrt doc;
    doc.ResetForNewDocument();
    return doc;
}

SmithChrt EveryKindDocument() {
    SmithChrt doc = NewDocument();
    doc.title = "every kind";
    doc.startZ = {30, -20};
    doc.goalZ = {40, 10};
    auto add = [&doc](int32_t kind, int32_t placement, double r, double c, double l) {
        Component x;
        x.kind = kind;
        x.placement = placement;
        x.resistance = r;
        x.capacitance = c;
        x.inductance = l;
        doc.AddComponent(x);
    };
    auto line = [&doc](int32_t placement, double z0, double angle, double f) {
        Component x = NewLine(placement, z0, f);
        x.lineAngle = angle;
        doc.AddComponent(x);
    };
    add(KIND_RESISTOR, PLACE_SERIES, 20, 0, 0);
    add(KIND_CAPACITOR, PLACE_SHUNT, 0, 3.3, 0);
    add(KIND_INDUCTOR, PLACE_SERIES, 0, 0, 12);
    line(PLACE_TL_SERIES, 75, 30, 800);
    line(PLACE_TL_SHUNT_OPEN, 60, 20, 1000);
    line(PLACE_TL_SHUNT_SHORTED, 40, 70, 1200);
    add(KIND_PARALLEL_RLC, PLACE_SHUNT, 300, 2, 5);
    add(KIND_SERIES_RLC, PLACE_SERIES, 5, 4, 6);
    add(KIND_RESISTOR, PLACE_SHUNT, 150, 0, 0);
    add(KIND_CAPACITOR, PLACE_SERIES, 0, 2.2, 0);
    add(KIND_INDUCTOR, PLACE_SHUNT, 0, 0, 15);
    add(KIND_PARALLEL_RLC, PLACE_SERIES, 80, 1.5, 9);
    add(KIND_SERIES_RLC, PLACE_SHUNT, 10, 3, 7);
    return doc;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}
