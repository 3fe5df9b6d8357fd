// Quorbel's Touchstone reader against scikit-rf, an independent reader, on the real files that
// scikit-rf ships: every port of every file, at every data frequency and between them.
#include "model/touchstone.h"
#include "tests/support/missingtool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ReferenceValue {
    std::size_t index = 0;
    double t = 0.0;
    Complex s;
    Complex z;
};

struct ReferencePort {
    int port = 0;
    bool realReference = true;
    std::size_t points = 0;
    std::vector<ReferenceValue> values;
};

struct ReferenceFile {
    std::string path;
    int ports = 0;
    std::vector<ReferencePort> portList;
};

struct ReferenceRun {
    int status = -1;
    std::string output;
    std::vector<ReferenceFile> files;
    std::vector<std::string> unreadable;
};

ReferenceRun RunScikitRf() {
    ReferenceRun run;
    const std::string command =
        std::string(QUORBEL_PYTHON) + " '" + QUORBEL_TOUCHSTONE_REFERENCE + "' 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(run.output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        std::string tag;
        in >> tag;
        if (tag == "FILE") {
            ReferenceFile file;
            in >> file.ports >> std::ws;
            std::getline(in, file.path);
            run.files.push_back(file);
        } else if (tag == "UNREADABLE") {
            run.unreadable.push_back(line);
        } else if (tag == "PORT" && !run.files.empty()) {
            ReferencePort port;
            std::string kind;
            in >> port.port >> kind >> port.points;
            port.realReference = kind == "real";
            run.files.back().portList.push_back(port);
        } else if (tag == "V" && !run.files.empty() && !run.files.back().portList.empty()) {
            std::string t, sr, si, zr, zi;
            ReferenceValue v;
            in >> v.index >> t >> sr >> si >> zr >> zi;
            v.t = std::stod(t);
            v.s = {std::stod(sr), std::stod(si)};
            v.z = {std::stod(zr), std::stod(zi)};
            run.files.back().portList.back().values.push_back(v);
        }
    }
    return run;
}

double Magnitude(Complex z) {
    return std::hypot(z.re, z.im);
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

struct Tally {
    int oneportFiles = 0;
    int multiportFiles = 0;
    int portsCompared = 0;
    int oneportCompared = 0;
    int refusedComplex = 0;
    int refusedKnown = 0;
    long valuesCompared = 0;
    long idealOpenOrShort = 0;
    double largest = 0.0;
};

void ComparePort(const ReferenceFile& file, const ReferencePort& ref, Tally& tally) {
    SCOPED_TRACE(file.path + ", port " + std::to_string(ref.port));
    TouchstoneOptions options;
    if (file.ports > 1) {
        options.port = ref.port;
    }
    const TouchstoneResult read = ReadTouchstoneFile(file.path, options);
    if (!ref.realReference) {
        // scikit-rf holds a complex reference here, which Quorbel refuses to guess about.
        EXPECT_FALSE(read.data.has_value());
        EXPECT_NE(read.error.find("complex"), std::string::npos) << read.error;
        ++tally.refusedComplex;
        return;
    }
    if (EndsWith(file.path, "/ntwk_noise.s2p")) {
        // Its network data repeats the 1.5 GHz row, which is skipped with a note.
        ASSERT_TRUE(read.data.has_value()) << read.error;
        EXPECT_EQ(read.data->points.size() + 1, ref.points);
        ASSERT_EQ(read.notes.size(), 1u);
        EXPECT_EQ(read.notes[0], "line 12 repeats line 11 and is skipped");
        ++tally.refusedKnown;
        return;
    }
    ASSERT_TRUE(read.data.has_value()) << read.error;
    const std::vector<MeasuredPoint>& points = read.data->points;
    ASSERT_EQ(points.size(), ref.points);
    ++tally.portsCompared;
    tally.oneportCompared += file.ports == 1 ? 1 : 0;
    MeasuredCursor cursor(*read.data);
    for (const ReferenceValue& v : ref.values) {
        ASSERT_LT(v.index, points.size());
        double f = points[v.index].frequency;
        if (v.t != 0.0) {
            ASSERT_LT(v.index + 1, points.size());
            f += v.t * (points[v.index + 1].frequency - f);
        }
        const std::optional<Complex> z = MeasuredImpedanceAt(*read.data, f);
        ASSERT_TRUE(z.has_value()) << "at " << f << " MHz";
        const std::optional<Complex> fromCursor = cursor.ImpedanceAt(f);
        ASSERT_TRUE(fromCursor.has_value());
        EXPECT_TRUE(*fromCursor == *z || (std::isnan(z->re) && std::isnan(fromCursor->re)));
        ++tally.valuesCompared;
        // scikit-rf nudges a reflection of exactly 1 or -1 off the singular point; Quorbel gives
        // the ideal open (no finite impedance) and short (0 ohm) themselves.
        if (v.s == Complex(1.0, 0.0)) {
            EXPECT_FALSE(std::isfinite(z->re));
            ++tally.idealOpenOrShort;
            continue;
        }
        if (v.s == Complex(-1.0, 0.0)) {
            EXPECT_EQ(*z, Complex(0.0, 0.0));
            ++tally.idealOpenOrShort;
            continue;
        }
        const double relative = Magnitude(*z - v.z) / Magnitude(v.z);
        tally.largest = std::max(tally.largest, relative);
        EXPECT_LE(relative, 1e-9) << "index " << v.index << ", t " << v.t << ": " << z->re << " "
                                  << z->im << " against " << v.z.re << " " << v.z.im;
    }
}

} // namespace

TEST(TouchstoneReference, AgreesWithScikitRfOnItsRealFiles) {
    const ReferenceRun run = RunScikitRf();
    if (run.status != 0) {
        const std::string why = "scikit-rf (Debian package python3-scikit-rf) cannot be run by " +
                                std::string(QUORBEL_PYTHON) + ": " + run.output;
        SKIP_OR_FAIL_MISSING(why);
    }
    ASSERT_FALSE(run.files.empty()) << run.output;
    Tally tally;
    for (const ReferenceFile& file : run.files) {
        (file.ports == 1 ? tally.oneportFiles : tally.multiportFiles) += 1;
        for (const ReferencePort& port : file.portList) {
            ComparePort(file, port, tally);
        }
    }
    std::ostringstream summary;
    summary << "scikit-rf read " << tally.oneportFiles << " one-port and " << tally.multiportFiles
            << " multi-port files and could not read " << run.unreadable.size() << "; compared "
            << tally.oneportCompared << " one-port files and " << tally.portsCompared
            << " ports in all, " << tally.valuesCompared << " values (" << tally.idealOpenOrShort
            << " ideal opens or shorts); refused " << tally.refusedComplex
            << " ports with a complex reference and " << tally.refusedKnown
            << " known faulty (or read with a repeated row skipped); largest relative difference " << tally.largest;
    std::cout << summary.str() << "\n";
    for (const std::string& line : run.unreadable) {
        std::cout << line << "\n";
    }
    RecordProperty("summary", summary.str());
    EXPECT_GE(tally.oneportCompared, 1);
}
