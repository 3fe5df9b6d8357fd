// The drawing outputs of the built quorbel-cli against the window's own draw routine.
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "model/documentfile.h"
#include "platform/drawing/chartdrawview.h"
#include "tests/cli/cliprocess.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Everything before the date and time: "Title:   ", the 60-character field and six blanks.
constexpr size_t kTitleBeforeDate = 75;

bool IsMarkerPen(Pen pen) {
    static constexpr Rgb kMarkerColours[] = {{0, 255, 255}, {0, 0, 255}, {0, 255, 0}, {0, 0, 0}};
    return pen.width == 3 && std::find(std::begin(kMarkerColours), std::end(kMarkerColours),
                                       pen.colour) != std::end(kMarkerColours);
}

// The window's draw into a recording surface; marker labels are the texts written with a
// marker's pen.
struct WindowDraw {
    std::vector<std::string> lines;
    double maxNetworkQ = 0;
};

WindowDraw DrawLikeTheWindow(SmithChrt doc, int32_t width, int32_t height) {
    RecordingSurface surface;
    FixedDateTimeText clock(std::string("now"));
    DrawChart(doc, surface, DeviceToLogical({0, 0, width, height}), clock);
    WindowDraw d;
    for (const DrawCall& c : surface.calls) {
        if (c.op == DrawCall::Op::Text && !IsMarkerPen(c.pen)) {
            d.lines.push_back(c.text);
        }
    }
    d.maxNetworkQ = doc.maxNetworkQ;
    return d;
}

SmithChrt WithQArcs() {
    SmithChrt doc = EveryKindDocument();
    doc.showQArcs = 1;
    doc.showVswrCircles = true;
    doc.activeIndex = 2;
    return doc;
}

struct Size {
    int32_t width;
    int32_t height;
    std::string Text() const { return std::to_string(width) + "x" + std::to_string(height); }
};

TEST(CliRender, ReadoutAndMaxQAreThoseOfTheWindowsDraw) {
    CScratchDir dir;
    SmithChrt gamma = WithQArcs();
    gamma.gammaMode = 1;
    for (const SmithChrt& doc : {WithQArcs(), gamma, NewDocument()}) {
        const std::string path = dir.Path("doc.qbl");
        ASSERT_EQ(SaveDocumentFile(path, doc), DocumentError::None);
        for (const Size size : {Size{800, 400}, Size{301, 600}, Size{3000, 90}}) {
            const WindowDraw window = DrawLikeTheWindow(doc, size.width, size.height);
            const CliOutcome r = RunCliProcess({path, "--size", size.Text(), "--readout"});
            ASSERT_EQ(r.status, 0) << r.err;
            const std::vector<std::string> lines = Lines(r.out);
            ASSERT_EQ(lines.size(), window.lines.size()) << r.out;
            EXPECT_EQ(lines[0].substr(0, kTitleBeforeDate),
                      window.lines[0].substr(0, kTitleBeforeDate));
            EXPECT_GT(lines[0].size(), kTitleBeforeDate);
            for (size_t i = 1; i < lines.size(); ++i) {
                EXPECT_EQ(lines[i], window.lines[i]) << size.Text();
            }
            const CliOutcome json = RunCliProcess({path, "--size", size.Text(), "--json"});
            const size_t at = json.out.find("\"maxNetworkQ\": ");
            ASSERT_NE(at, std::string::npos);
            EXPECT_EQ(std::stod(json.out.substr(at + 15)), window.maxNetworkQ) << size.Text();
        }
    }
}

TEST(CliRender, PngHasTheWindowsPixels) {
    CScratchDir dir;
    const std::string path = dir.Path("doc.qbl");
    ASSERT_EQ(SaveDocumentFile(path, WithQArcs()), DocumentError::None);
    for (const Size size : {Size{800, 400}, Size{333, 517}}) {
        const CliOutcome r =
            RunCliProcess({path, "-o", dir.Path("chart.png"), "--size", size.Text()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const QImage cli(QString::fromStdString(dir.Path("chart.png")));
        ASSERT_EQ(cli.size(), QSize(size.width, size.height));

        QImage window(size.width, size.height, QImage::Format_RGB32);
        QPainter painter(&window);
        SmithChrt doc = WithQArcs();
        FixedDateTimeText clock(std::string("now"));
        DrawChartOnWindow(doc, painter, window.size(), window.rect(), clock, nullptr, 1.0);
        painter.end();
        // Below the title line, whose date and time differ from run to run.
        const int from = 20;
        EXPECT_EQ(cli.convertToFormat(QImage::Format_RGB32).copy(0, from, size.width, size.height),
                  window.copy(0, from, size.width, size.height))
            << size.Text();
    }
}

TEST(CliRender, SvgAndPdfAreVectorPicturesOfTheSize) {
    CScratchDir dir;
    const std::string path = dir.Path("doc.qbl");
    ASSERT_EQ(SaveDocumentFile(path, WithQArcs()), DocumentError::None);
    ASSERT_EQ(RunCliProcess({path, "-o", dir.Path("c.svg")}).status, 0);
    const std::string svg = ReadFileBytes(dir.Path("c.svg"));
    EXPECT_NE(svg.find("viewBox=\"0 0 800 400\""), std::string::npos);
    EXPECT_NE(svg.find("Freq=1000.000 MHz, Z0=50.00 Ohms, 2.50% tune step"), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos);
    QSvgRenderer renderer(QString::fromStdString(dir.Path("c.svg")));
    EXPECT_TRUE(renderer.isValid());

    ASSERT_EQ(RunCliProcess({path, "--output", dir.Path("c.PDF"), "--size", "1000x600"}).status, 0);
    const std::string pdf = ReadFileBytes(dir.Path("c.PDF"));
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("/MediaBox [0 0 750"), std::string::npos);
}

TEST(CliRender, DrawMessagesAndUnwritablePictures) {
    SmithChrt doc = NewDocument();
    Component unknown;
    unknown.kind = 99;
    doc.AddComponent(unknown);
    CScratchDir dir;
    const std::string path = dir.Path("bad.qbl");
    ASSERT_EQ(SaveDocumentFile(path, doc), DocumentError::None);
    CliOutcome r = RunCliProcess({path, "-o", dir.Path("a.png"), "--readout", "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "quorbel-cli: default case in plotcomponents type checking\n"
                     "quorbel-cli: problem plotting components\n");

    r = RunCliProcess({path, "-o", dir.Path("missing/a.svg"), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quorbel-cli: " + dir.Path("missing/a.svg") + ": cannot write the picture\n");
    EXPECT_EQ(r.out, "");
}

} // namespace
