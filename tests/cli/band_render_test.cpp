// The band through the built quorbel-cli: the chart picture with its locus, the response plot,
// the readout line, and the bytes --band-off gives back.
#include "chart/bandlocus.h"
#include "chart/datetimetext.h"
#include "model/documentfile.h"
#include "platform/drawing/chartdrawview.h"
#include "tests/cli/cliprocess.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// 12.5-j8 ohm matched to 50 ohm at 435 MHz by the matching wizard.
const std::vector<std::string> kMatched = {"--frequency", "435",       "--start",
                                           "12.5,-8",     "--matchme", "2,lowpass"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(CliBand, ChartPngHasTheWindowsPixelsWithTheLocus) {
    CScratchDir dir;
    const CliOutcome saved =
        RunCliProcess(With(kMatched, {"--band", "400:470:201", "--save", dir.Path("m.qbl"), "-o",
                                      dir.Path("chart.png")}));
    ASSERT_EQ(saved.status, 0) << saved.err;
    SmithChrt doc;
    DocumentError error = DocumentError::None;
    ASSERT_NE(LoadDocumentFile(dir.Path("m.qbl"), doc, error), OpenOutcome::Failed);
    ASSERT_TRUE(doc.band.display);

    QImage window(800, 400, QImage::Format_RGB32);
    QPainter painter(&window);
    FixedDateTimeText clock(std::string("now"));
    DrawChartOnWindow(doc, painter, window.size(), window.rect(), clock, nullptr, 1.0);
    painter.end();
    const QImage cli =
        QImage(QString::fromStdString(dir.Path("chart.png"))).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(cli.copy(0, 20, 800, 380), window.copy(0, 20, 800, 380));
    const QColor locus(kBandLocusPen.colour.r, kBandLocusPen.colour.g, kBandLocusPen.colour.b);
    int inked = 0;
    for (int y = 0; y < cli.height(); ++y) {
        for (int x = 0; x < cli.width(); ++x) {
            inked += cli.pixelColor(x, y) == locus ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 20);
}

TEST(CliBand, PlotFilesAndTheirRefusal) {
    CScratchDir dir;
    for (const char* name : {"plot.png", "plot.svg", "plot.pdf"}) {
        const CliOutcome r = RunCliProcess(With(
            kMatched, {"--band", "400:470:101", "--plot", dir.Path(name), "--size", "640x320"}));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_GT(ReadFileBytes(dir.Path(name)).size(), 1000u) << name;
    }
    EXPECT_EQ(QImage(QString::fromStdString(dir.Path("plot.png"))).size(), QSize(640, 320));
    const CliOutcome off = RunCliProcess(With(kMatched, {"--plot", dir.Path("off.png")}));
    EXPECT_EQ(off.status, 2);
    EXPECT_NE(off.err.find("--plot: the band display is off"), std::string::npos);
    const CliOutcome unwritable =
        RunCliProcess({"--band", "1:2:3", "--plot", dir.Path("missing/p.png")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write the plot"), std::string::npos);
}

TEST(CliBand, ReadoutEndsWithTheBandLine) {
    const CliOutcome r = RunCliProcess(With(kMatched, {"--band", "400:470:201", "--readout"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Band 400.000-470.000 MHz: VSWR<=1.24 @400.000 MHz, RL>=19.33dB");
    const CliOutcome plain = RunCliProcess(With(kMatched, {"--readout"}));
    EXPECT_EQ(Lines(plain.out).size() + 1, lines.size());
}

TEST(CliBand, BandOffGivesBackThePlainDocument) {
    CScratchDir dir;
    ASSERT_EQ(RunCliProcess(With(kMatched, {"--save", dir.Path("plain.qbl")})).status, 0);
    ASSERT_EQ(
        RunCliProcess(With(kMatched, {"--band", "400:470:11", "--save", dir.Path("band.qbl")}))
            .status,
        0);
    const std::string plain = ReadFileBytes(dir.Path("plain.qbl"));
    const std::string band = ReadFileBytes(dir.Path("band.qbl"));
    EXPECT_GT(band.size(), plain.size());
    EXPECT_EQ(band.substr(0, plain.size()), plain);
    ASSERT_EQ(
        RunCliProcess({dir.Path("band.qbl"), "--band-off", "--save", dir.Path("off.qbl")}).status,
        0);
    EXPECT_EQ(ReadFileBytes(dir.Path("off.qbl")), plain);
}

TEST(CliBand, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--band", "470:400:5"},
                                                 {"--band", "400:470:1"},
                                                 {"--band", "400:470"},
                                                 {"--band", "1:2:3", "--band-off"}}) {
        const CliOutcome r = RunCliProcess(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_NE(r.err.find("Try 'quorbel-cli --help'"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    const CliOutcome help = RunCliProcess({"--help"});
    for (const char* option : {"--band F1:F2:N", "--band-off", "--plot FILE"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
}

} // namespace
