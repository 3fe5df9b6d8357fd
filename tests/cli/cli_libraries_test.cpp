// Which libraries the built tool loads: a run that writes no picture needs neither Qt's widgets,
// charts, OpenGL, print support nor its picture modules; a chart picture loads its module over
// Qt GUI alone, a band plot the plot's module with Qt Charts; a tool without its modules still
// does everything else.
#include "model/documentfile.h"
#include "tests/cli/cliprocess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

// The libraries and modules that only the pictures need.
const char* const kPictureLibraries[] = {
    "libQt6Widgets",        "libQt6Charts", "libQt6OpenGL",    "libQt6PrintSupport",
    "quorbel-cli-pictures", "libQt6Gui.so", "quorbel-cli-plot"};
// Of those, what a chart picture needs.
const std::set<std::string> kChartPictureLibraries = {"libQt6Gui.so.6", "quorbel-cli-pictures.so"};

// The tool run with the dynamic linker reporting every object it loads (LD_DEBUG=files writes
// "file=NAME [0];  needed by ..." or "...;  dynamically loaded by ..." to standard error).
struct TracedRun {
    CliOutcome outcome;
    std::set<std::string> loaded; ///< the file names, without their folders
};

TracedRun RunTraced(const std::string& program, const std::vector<std::string>& args) {
    ::setenv("LD_DEBUG", "files", 1);
    TracedRun run{RunProcess(program, args), {}};
    ::unsetenv("LD_DEBUG");
    static const std::regex loadedLine(R"(file=(\S+) \[\d+\];\s+(needed|dynamically loaded) by)");
    for (const std::string& line : Lines(run.outcome.err)) {
        std::smatch m;
        if (std::regex_search(line, m, loadedLine)) {
            run.loaded.insert(std::filesystem::path(m[1].str()).filename().string());
        }
    }
    return run;
}

std::vector<std::string> PictureLibrariesIn(const std::set<std::string>& loaded) {
    std::vector<std::string> found;
    for (const std::string& name : loaded) {
        for (const char* library : kPictureLibraries) {
            if (name.rfind(library, 0) == 0) {
                found.push_back(name);
            }
        }
    }
    return found;
}

std::string Document(const CScratchDir& dir) {
    const std::string path = dir.Path("amp.qbl");
    EXPECT_EQ(SaveDocumentFile(path, EveryKindDocument()), DocumentError::None);
    return path;
}

TEST(CliLibraries, OutputsWithoutAPictureLoadNoWidgetsChartsOpenGlOrPrintSupport) {
    const CScratchDir dir;
    const std::string doc = Document(dir);
    const std::vector<std::vector<std::string>> runs = {
        {doc, "--readout"},
        {doc, "--json"},
        {doc, "--sweep", "400:470:8"},
        {doc, "--band", "400:470:11", "--readout", "--json"},
        {doc, "--spice"},
        {doc, "--matchme", "1,lowpass", "--save", dir.Path("saved.qbl"), "--s2p",
         dir.Path("saved.s2p")},
    };
    for (const auto& args : runs) {
        const TracedRun run = RunTraced(QUORBEL_CLI_PATH, args);
        ASSERT_EQ(run.outcome.status, 0) << args[1] << "\n" << run.outcome.err;
        ASSERT_TRUE(run.loaded.count("libQt6Core.so.6") != 0) << "the trace was not read";
        EXPECT_EQ(PictureLibrariesIn(run.loaded), std::vector<std::string>{}) << args[1];
    }
}

std::set<std::string> PictureLibrarySet(const TracedRun& run) {
    const std::vector<std::string> found = PictureLibrariesIn(run.loaded);
    return {found.begin(), found.end()};
}

TEST(CliLibraries, AChartPictureLoadsQtGuiAndItsModuleOnly) {
    const CScratchDir dir;
    const std::string doc = Document(dir);
    for (const char* name : {"chart.png", "chart.svg", "chart.pdf"}) {
        const TracedRun chart =
            RunTraced(QUORBEL_CLI_PATH, {doc, "-o", dir.Path(name), "--size", "640x480"});
        ASSERT_EQ(chart.outcome.status, 0) << name << "\n" << chart.outcome.err;
        EXPECT_EQ(PictureLibrarySet(chart), kChartPictureLibraries) << name;
    }
    EXPECT_EQ(ReadFileBytes(dir.Path("chart.png")).substr(1, 3), "PNG");
}

TEST(CliLibraries, ABandPlotLoadsItsModuleWithQtChartsAndWidgets) {
    const CScratchDir dir;
    const std::string doc = Document(dir);
    const TracedRun plot =
        RunTraced(QUORBEL_CLI_PATH, {doc, "--band", "400:470:11", "--plot", dir.Path("plot.svg")});
    ASSERT_EQ(plot.outcome.status, 0) << plot.outcome.err;
    const std::set<std::string> loaded = PictureLibrarySet(plot);
    EXPECT_EQ(loaded.count("quorbel-cli-plot.so"), 1U);
    EXPECT_EQ(loaded.count("quorbel-cli-pictures.so"), 0U);
    EXPECT_EQ(loaded.count("libQt6Charts.so.6"), 1U);
    EXPECT_EQ(loaded.count("libQt6Widgets.so.6"), 1U);

    // Both at once: the chart from its module, drawn in the plot's widget application, as it is
    // drawn alone. The title line's minute may turn between two runs, never twice: the chart
    // beside the plot is the chart alone of the run before or of the run after it.
    const std::vector<std::string> alone = {doc, "--band", "400:470:11", "-o",
                                            dir.Path("alone.png")};
    ASSERT_EQ(RunProcess(QUORBEL_CLI_PATH, alone).status, 0);
    const std::string before = ReadFileBytes(dir.Path("alone.png"));
    const TracedRun both =
        RunTraced(QUORBEL_CLI_PATH, {doc, "--band", "400:470:11", "-o", dir.Path("both.png"),
                                     "--plot", dir.Path("both-plot.png")});
    ASSERT_EQ(both.outcome.status, 0) << both.outcome.err;
    ASSERT_EQ(RunProcess(QUORBEL_CLI_PATH, alone).status, 0);
    const std::string after = ReadFileBytes(dir.Path("alone.png"));
    EXPECT_EQ(PictureLibrarySet(both).count("quorbel-cli-pictures.so"), 1U);
    EXPECT_EQ(PictureLibrarySet(both).count("quorbel-cli-plot.so"), 1U);
    const std::string chart = ReadFileBytes(dir.Path("both.png"));
    EXPECT_TRUE(chart == before || chart == after)
        << "the chart drawn beside a plot differs from the chart alone";
    EXPECT_EQ(ReadFileBytes(dir.Path("both-plot.png")).substr(1, 3), "PNG");
}

// The tool copied where its module is not: every text output works, a picture is refused with
// status 1 and says why, and no half-written picture is left.
TEST(CliLibraries, WithoutItsModuleTheToolWritesTextsAndRefusesPictures) {
    const CScratchDir dir;
    const std::string doc = Document(dir);
    const std::string tool = dir.Path("quorbel-cli");
    std::filesystem::copy_file(QUORBEL_CLI_PATH, tool);

    const CliOutcome readout = RunProcess(tool, {doc, "--readout"});
    EXPECT_EQ(readout.status, 0);
    // The title line ends in the clock, which may tick between the two runs.
    const auto afterTitle = [](const std::string& text) {
        const size_t end = text.find('\n');
        return end == std::string::npos ? text : text.substr(end);
    };
    EXPECT_EQ(afterTitle(readout.out), afterTitle(RunCliProcess({doc, "--readout"}).out));

    const CliOutcome picture = RunProcess(tool, {doc, "-o", dir.Path("chart.png"), "--readout"});
    EXPECT_EQ(picture.status, 1);
    EXPECT_EQ(picture.out, "");
    EXPECT_NE(picture.err.find("quorbel-cli: cannot write pictures: quorbel-cli-pictures.so not "
                               "found beside the program or in "),
              std::string::npos)
        << picture.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("chart.png")));

    const CliOutcome plot =
        RunProcess(tool, {doc, "--band", "400:470:11", "--plot", dir.Path("plot.png")});
    EXPECT_EQ(plot.status, 1);
    EXPECT_NE(plot.err.find("quorbel-cli: cannot write pictures: quorbel-cli-plot.so not found "),
              std::string::npos)
        << plot.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("plot.png")));
}

} // namespace
