// Quorbel's device figures against scikit-rf's on the two-port files scikit-rf ships: Rollett's K
// at every frequency, and Fmin, Gamma_opt, Rn and the noise figure of a fixed source where the
// files have noise data.
#include "model/devicefigures.h"
#include "model/touchstone.h"
#include "tests/support/missingtool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Expected {
    std::string path;
    std::vector<std::pair<double, double>> k; // Hz, K
    struct Noise {
        double hz, fminDb, goRe, goIm, rn, nfDb;
    };
    std::vector<Noise> noise;
};

std::vector<Expected> RunScikitRf(int& status) {
    const std::string command =
        std::string(QUORBEL_PYTHON) + " '" + QUORBEL_DEVICE_REFERENCE + "' 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    if (pipe != nullptr) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            output.append(buffer, got);
        }
        const int s = ::pclose(pipe);
        status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    }
    std::vector<Expected> files;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        std::string tag;
        in >> tag;
        if (tag == "FILE") {
            files.emplace_back();
            in >> std::ws;
            std::getline(in, files.back().path);
        } else if (tag == "K" && !files.empty()) {
            std::string f, k;
            in >> f >> k;
            files.back().k.emplace_back(std::stod(f), std::stod(k));
        } else if (tag == "N" && !files.empty()) {
            std::string v[6];
            for (std::string& x : v) {
                in >> x;
            }
            files.back().noise.push_back({std::stod(v[0]), std::stod(v[1]), std::stod(v[2]),
                                          std::stod(v[3]), std::stod(v[4]), std::stod(v[5])});
        }
    }
    return files;
}

void ExpectRelative(double got, double want, const char* what) {
    EXPECT_NEAR(got, want, 1e-9 * std::max(1.0, std::fabs(want))) << what;
}

TEST(DeviceReference, AgreesWithScikitRf) {
    int status = -1;
    const std::vector<Expected> files = RunScikitRf(status);
    if (status == 3 || (status != 0 && files.empty())) {
        SKIP_OR_FAIL_MISSING("scikit-rf (python3-scikit-rf) cannot be imported");
    }
    ASSERT_EQ(status, 0);
    ASSERT_GE(files.size(), 5u);
    int kCompared = 0;
    int noiseCompared = 0;
    for (const Expected& file : files) {
        SCOPED_TRACE(file.path);
        const DeviceReadResult read = ReadTouchstoneDeviceFile(file.path);
        ASSERT_TRUE(read.data.has_value()) << read.error;
        for (const auto& [hz, k] : file.k) {
            const std::optional<DevicePoint> s = DeviceAt(*read.data, hz / 1e6);
            ASSERT_TRUE(s.has_value()) << hz;
            const double ours = ComputeDeviceFigures(*s).k;
            if (!std::isfinite(k)) {
                EXPECT_FALSE(std::isfinite(ours) && std::fabs(ours) < 1e300) << hz;
                continue;
            }
            ExpectRelative(ours, k, "K");
            ++kCompared;
        }
        for (const Expected::Noise& n : file.noise) {
            const std::optional<NoisePoint> ours = DeviceNoiseAt(*read.data, n.hz / 1e6);
            ASSERT_TRUE(ours.has_value()) << n.hz;
            ExpectRelative(ours->fminDb, n.fminDb, "Fmin");
            ExpectRelative(ours->gammaOpt.re, n.goRe, "Gamma_opt re");
            ExpectRelative(ours->gammaOpt.im, n.goIm, "Gamma_opt im");
            ExpectRelative(ours->rn, n.rn, "Rn");
            ExpectRelative(NoiseFigureDb(*ours, {0.3, -0.2}), n.nfDb, "NF");
            ++noiseCompared;
        }
    }
    std::cout << "compared K at " << kCompared << " frequencies and noise at " << noiseCompared
              << " in " << files.size() << " files\n";
    EXPECT_GT(kCompared, 100);
    EXPECT_GT(noiseCompared, 1);
}

} // namespace
