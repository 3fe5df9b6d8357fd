// One test over the folders of tests/data/: each holds a document (document.qbl), optionally the
// arguments that edit it first (args, one a line), and the outputs the tool must give for it.
// A new case is a new folder.
//   readout.txt   --readout (its title line without the date and time that end it, which
//                 follow the clock and the locale)
//   network.json  --json
//   netlist.cir   --spice
//   sweep.csv     --sweep F1:F2:N, read from the file itself: its first and last frequency and
//                 its row count
#include "tests/cli/cliprocess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(QUORBEL_GOLDEN_DATA)) {
        if (entry.is_directory()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The readout with its title line cut to the length of the expected one, when it begins with
// it: the date and time that end the line follow the clock and the locale, so the expected file
// leaves them out.
std::string TitleCutTo(const std::string& readout, const std::string& expected) {
    const size_t expectedEnd = expected.find('\n');
    const size_t end = readout.find('\n');
    if (expectedEnd == std::string::npos || end == std::string::npos ||
        readout.compare(0, expectedEnd, expected, 0, expectedEnd) != 0) {
        return readout;
    }
    return readout.substr(0, expectedEnd) + readout.substr(end);
}

// --sweep's argument for an expected CSV: F1 and F2 as its first and last row write them.
std::string SweepArgument(const std::string& csv) {
    const std::vector<std::string> rows = Lines(csv);
    if (rows.size() < 2) {
        return "";
    }
    const auto first = [](const std::string& row) { return row.substr(0, row.find(',')); };
    return first(rows[1]) + ":" + first(rows.back()) + ":" + std::to_string(rows.size() - 1);
}

struct Output {
    const char* file;
    std::vector<std::string> option;
};

class GoldenCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenCase, OutputsMatchTheFolder) {
    const fs::path dir = fs::path(QUORBEL_GOLDEN_DATA) / GetParam();
    ASSERT_TRUE(fs::exists(dir / "document.qbl")) << dir;
    std::vector<std::string> edits{(dir / "document.qbl").string()};
    if (fs::exists(dir / "args")) {
        for (const std::string& line : Lines(ReadFileBytes((dir / "args").string()))) {
            if (!line.empty()) {
                edits.push_back(line);
            }
        }
    }
    const std::string sweep =
        fs::exists(dir / "sweep.csv") ? ReadFileBytes((dir / "sweep.csv").string()) : "";
    const Output outputs[] = {{"readout.txt", {"--readout"}},
                              {"network.json", {"--json"}},
                              {"netlist.cir", {"--spice"}},
                              {"sweep.csv", {"--sweep", SweepArgument(sweep)}}};
    int compared = 0;
    for (const Output& o : outputs) {
        const fs::path expectedPath = dir / o.file;
        if (!fs::exists(expectedPath)) {
            continue;
        }
        std::vector<std::string> args = edits;
        args.insert(args.end(), o.option.begin(), o.option.end());
        const CliOutcome r = RunCliProcess(args);
        ASSERT_EQ(r.status, 0) << o.file << ": " << r.err;
        const std::string expected = ReadFileBytes(expectedPath.string());
        const std::string actual =
            std::string(o.file) == "readout.txt" ? TitleCutTo(r.out, expected) : r.out;
        EXPECT_EQ(actual, expected) << GetParam() << "/" << o.file;
        ++compared;
    }
    EXPECT_GT(compared, 0) << dir << " holds no expected output";
}

INSTANTIATE_TEST_SUITE_P(Data, GoldenCase, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

} // namespace
