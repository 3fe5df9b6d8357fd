// The band response plot: what its series show, how an update changes them, and its pictures.
#include "chart/bandlocus.h"
#include "model/smithchrt.h"
#include "platform/plot/bandplot.h"

#include <QChart>
#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QTemporaryDir>
#include <QValueAxis>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

SmithChrt Matched(int32_t points) {
    SmithChrt sc;
    sc.ResetForNewDocument();
    sc.frequency = 435;
    sc.startZ = {12.5, -8};
    sc.AddComponent(NewInductor(PLACE_SERIES, 20, 435));
    sc.AddComponent(NewCapacitor(PLACE_SHUNT, 40, 435));
    sc.band = {400, 470, points, true, false};
    EvaluateBand(sc, sc.bandResult);
    return sc;
}

class BandPlotTest : public ::testing::Test {
protected:
    QChart chart;
    CBandPlotContent content{chart};
};

TEST_F(BandPlotTest, ShowsTheBandsReturnLossAndVswrWithItsMarks) {
    const SmithChrt sc = Matched(21);
    ASSERT_TRUE(content.Update(sc));
    const QList<QPointF> rl = content.ReturnLossSeries()->points();
    const QList<QPointF> vswr = content.VswrSeries()->points();
    ASSERT_EQ(rl.size(), 21);
    ASSERT_EQ(vswr.size(), 21);
    for (int k = 0; k < 21; ++k) {
        EXPECT_EQ(rl[k], QPointF(sc.bandResult.frequencies[k], sc.bandResult.returnLossDb[k]));
        EXPECT_EQ(vswr[k].y(), sc.bandResult.vswr[k]);
    }
    const QList<QPointF> analysis = content.AnalysisSeries()->points();
    ASSERT_EQ(analysis.size(), 2);
    EXPECT_EQ(analysis[0].x(), 435.0);
    EXPECT_LT(content.FrequencyAxis()->min(), 400.0);
    EXPECT_GT(content.FrequencyAxis()->max(), 470.0);
    EXPECT_TRUE(chart.title().contains(QStringLiteral("400.000-470.000 MHz")));
}

// A band far up or down (from a hostile file) gives a title and tick labels of a few digits that
// still tell neighbouring ticks apart.
TEST_F(BandPlotTest, FarFrequenciesGiveShortLabels) {
    for (const auto& [low, high] : {std::pair{1e300, 2e300}, std::pair{2.5e-12, 5e-12}}) {
        SmithChrt sc = Matched(11);
        sc.band = {low, high, 11, true, false};
        EvaluateBand(sc, sc.bandResult);
        content.Update(sc);
        EXPECT_LT(chart.title().size(), 80) << chart.title().toStdString();
        const QValueAxis* axis = content.FrequencyAxis();
        const QByteArray format = axis->labelFormat().toLatin1();
        const auto label = [&](double v) { return QString::asprintf(format.constData(), v); };
        const double tick = axis->tickAnchor();
        EXPECT_LE(label(tick).size(), 16) << label(tick).toStdString();
        EXPECT_NE(label(tick), label(tick + axis->tickInterval())) << format.constData();
    }
}

TEST_F(BandPlotTest, AnUpdateReplacesOnlyWhatChanged) {
    SmithChrt sc = Matched(11);
    EXPECT_TRUE(content.Update(sc));
    EXPECT_FALSE(content.Update(sc));
    sc.components[1].capacitance *= 1.025;
    EvaluateBand(sc, sc.bandResult);
    EXPECT_TRUE(content.Update(sc));
    sc.frequency = 1000; // the analysis frequency leaves the plot: no mark, the title says so
    EXPECT_TRUE(content.Update(sc));
    EXPECT_TRUE(content.AnalysisSeries()->points().isEmpty());
    EXPECT_TRUE(chart.title().endsWith(QStringLiteral("(outside the plot)")));
    sc.band.display = false;
    EXPECT_TRUE(content.Update(sc));
    EXPECT_TRUE(content.VswrSeries()->points().isEmpty());
    EXPECT_FALSE(content.Update(sc));
}

TEST_F(BandPlotTest, PointsWithoutAValueAreLeftOutAndInfinitiesKeptInRange) {
    SmithChrt sc = Matched(5);
    sc.bandResult.returnLossDb[1] = NAN;
    sc.bandResult.returnLossDb[2] = INFINITY;
    content.Update(sc);
    const QList<QPointF> rl = content.ReturnLossSeries()->points();
    ASSERT_EQ(rl.size(), 4);
    EXPECT_EQ(rl[1].x(), sc.bandResult.frequencies[2]);
    EXPECT_TRUE(std::isfinite(rl[1].y()));
    auto* axis = qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).front());
    ASSERT_NE(axis, nullptr);
    EXPECT_LE(axis->max(), 60.0);
}

// The value axes hold still while tuning: they widen in round steps only when a point leaves them,
// never narrow for the same band, keep a point beyond them at their edge, and do not move at all
// when locked.
TEST_F(BandPlotTest, AxesHoldStillUnlessThePointsLeaveThem) {
    SmithChrt sc = Matched(5);
    const auto show = [&](double rl, double vswr) {
        for (size_t k = 0; k < 5; ++k) {
            sc.bandResult.returnLossDb[k] = k == 2 ? rl : 15;
            sc.bandResult.vswr[k] = k == 2 ? vswr : 1.4;
        }
        sc.bandResult.worstIndex = 2;
        sc.bandResult.worstVswr = vswr;
        sc.bandResult.worstFrequency = sc.bandResult.frequencies[2];
        content.Update(sc);
        return std::array<double, 3>{content.ReturnLossAxis()->min(),
                                     content.ReturnLossAxis()->max(), content.VswrAxis()->max()};
    };
    using Axes = std::array<double, 3>;
    EXPECT_EQ(show(20, 1.2), (Axes{0, 40, 3}));
    EXPECT_EQ(show(55, 2.5), (Axes{0, 60, 3}));
    EXPECT_EQ(show(20, 1.2), (Axes{0, 60, 3})) << "not narrowed again";
    EXPECT_EQ(show(INFINITY, 1), (Axes{0, 60, 3})) << "a perfect match is drawn at the top";
    EXPECT_EQ(content.ReturnLossSeries()->points()[2].y(), 60);
    EXPECT_EQ(show(2, 8.7), (Axes{0, 60, 10}));
    content.SetAxesLocked(true);
    EXPECT_EQ(show(150, 40), (Axes{0, 60, 10}));
    EXPECT_EQ(content.VswrSeries()->points()[2].y(), 10) << "the worst kept in sight at the edge";
    content.SetAxesLocked(false);
    sc.band.low = 410; // a new band starts from the ordinary axes
    sc.bandResult.frequencies = {410, 425, 440, 455, 470};
    EXPECT_EQ(show(20, 1.2), (Axes{0, 40, 3}));
}

TEST_F(BandPlotTest, LimitLineGapsAndGigahertz) {
    SmithChrt sc = Matched(5);
    sc.bandResult.vswr[0] = sc.bandResult.vswr[1] = NAN;
    sc.bandResult.returnLossDb[0] = sc.bandResult.returnLossDb[1] = NAN;
    sc.bandResult.missingPoints = 2;
    sc.bandLimit = {BandLimitKind::ReturnLoss, 12};
    content.Update(sc);
    const QList<QPointF> limit = content.LimitSeries(false)->points();
    ASSERT_EQ(limit.size(), 2);
    EXPECT_EQ(limit[0], QPointF(400, 12));
    EXPECT_EQ(limit[1], QPointF(470, 12));
    EXPECT_TRUE(content.LimitSeries(true)->points().isEmpty());
    // The gap runs from the band's edge to halfway to the first point with a value.
    const QList<QPointF> gap = content.GapSeries()->points();
    ASSERT_EQ(gap.size(), 4);
    EXPECT_EQ(gap[0].x(), 400);
    EXPECT_EQ(gap[2].x(), (sc.bandResult.frequencies[1] + sc.bandResult.frequencies[2]) / 2);
    EXPECT_TRUE(chart.title().contains(QStringLiteral("2 of 5 points without data")));

    sc.bandLimit = {BandLimitKind::Vswr, 2};
    content.Update(sc);
    EXPECT_EQ(content.LimitSeries(true)->points().at(0).y(), 2);

    sc.band = {75000, 110000, 5, true, false};
    sc.bandResult.frequencies = {75000, 83750, 92500, 101250, 110000};
    content.Update(sc);
    EXPECT_EQ(content.FrequencyAxis()->titleText(), QStringLiteral("Frequency (GHz)"));
    EXPECT_EQ(content.ReturnLossSeries()->points().front().x(), 92.5);
}

TEST_F(BandPlotTest, BodeFanoLineAtItsVswrNamedWithItsFigures) {
    SmithChrt sc = Matched(5);
    content.Update(sc);
    EXPECT_TRUE(content.BodeFanoSeries()->points().isEmpty());

    sc.bodeFanoVswr = 1.8;
    ASSERT_TRUE(content.Update(sc));
    EXPECT_EQ(content.BodeFanoSeries()->points(),
              (QList<QPointF>{QPointF(400, 1.8), QPointF(470, 1.8)}));
    EXPECT_EQ(content.BodeFanoSeries()->pen().style(), Qt::DashLine);
    EXPECT_EQ(content.BodeFanoSeries()->name(), QStringLiteral("Bode-Fano VSWR>=1.80"));
    EXPECT_TRUE(content.BodeFanoSeries()->attachedAxes().contains(content.VswrAxis()));

    sc.bodeFanoVswr = 50; // beyond the axis: at its top
    content.Update(sc);
    EXPECT_EQ(content.BodeFanoSeries()->points().at(0).y(), content.VswrAxis()->max());

    sc.bodeFanoVswr = 0;
    content.Update(sc);
    EXPECT_TRUE(content.BodeFanoSeries()->points().isEmpty());
}

// The rendered plot holds the dashed line where the VSWR axis puts the limit: rows of the
// line's colour at that height, broken into dashes along it.
TEST(BandPlotPictures, BodeFanoLineRenderedDashedAtItsHeight) {
    SmithChrt sc = Matched(41);
    sc.bodeFanoVswr = 2;
    const QSize size(800, 400);
    // Where the plot puts VSWR 2: the same chart laid out alike.
    QGraphicsScene scene;
    auto* chart = new QChart;
    scene.addItem(chart);
    CBandPlotContent content(*chart);
    content.Update(sc);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    const double expectedY = chart->mapToPosition(QPointF(435, 2), content.BodeFanoSeries()).y();

    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        RenderBandPlot(sc, painter, QRectF(QPointF(0, 0), size));
    }
    // The line's teal, also where smoothing has blended it with the white: no other part of the
    // plot has green and blue alike well above red.
    ASSERT_EQ(content.BodeFanoSeries()->pen().color(), QColor(0, 150, 150));
    const auto isLine = [&](int x, int y) {
        const QColor c = image.pixelColor(x, y);
        return c.green() > c.red() + 50 && c.blue() > c.red() + 50 &&
               std::abs(c.green() - c.blue()) < 30;
    };
    // Only the plot area's rows: the legend's sample of the line lies below it.
    const QRectF area = chart->plotArea();
    int bestRow = -1;
    int bestCount = 0;
    for (int y = static_cast<int>(area.top()); y < static_cast<int>(area.bottom()); ++y) {
        int count = 0;
        for (int x = static_cast<int>(area.left()); x < static_cast<int>(area.right()); ++x) {
            count += isLine(x, y) ? 1 : 0;
        }
        if (count > bestCount) {
            bestCount = count;
            bestRow = y;
        }
    }
    ASSERT_GT(bestCount, 100);
    EXPECT_NEAR(bestRow, expectedY, 2.0);
    // Dashed: the line's run along its row is broken many times.
    int breaks = 0;
    for (int x = static_cast<int>(area.left()) + 1; x < static_cast<int>(area.right()); ++x) {
        breaks += isLine(x - 1, bestRow) && !isLine(x, bestRow) ? 1 : 0;
    }
    EXPECT_GT(breaks, 10);
    EXPECT_LT(bestCount, 0.8 * area.width());
}

// The share of pixels in the VSWR curve's colour, which only the plot draws.
double VswrInk(const QImage& image) {
    const QColor vswr(kBandLocusPen.colour.r, kBandLocusPen.colour.g, kBandLocusPen.colour.b);
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - vswr.red()) + std::abs(c.green() - vswr.green()) +
                             std::abs(c.blue() - vswr.blue()) <
                         60
                     ? 1
                     : 0;
        }
    }
    return static_cast<double>(n) / (image.width() * image.height());
}

TEST(BandPlotPictures, RenderedIntoItsRectangleOnly) {
    const SmithChrt sc = Matched(41);
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        RenderBandPlot(sc, painter, QRectF(0, 300, 800, 300));
    }
    EXPECT_EQ(VswrInk(image.copy(0, 0, 800, 300)), 0.0);
    EXPECT_GT(VswrInk(image.copy(0, 300, 800, 300)), 0.001);
}

TEST(BandPlotPictures, FilesOfEveryFormat) {
    QTemporaryDir dir;
    SmithChrt sc = Matched(41);
    sc.bandResult = {}; // the writer evaluates the band itself
    const struct {
        PictureFormat format;
        const char* name;
        QByteArray magic;
    } cases[] = {
        {PictureFormat::Png, "plot.png", QByteArray("\x89PNG")},
        {PictureFormat::Svg, "plot.svg", QByteArray("<?xml")},
        {PictureFormat::Pdf, "plot.pdf", QByteArray("%PDF")},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(WriteBandPlotPicture(sc, QSize(640, 320), path, c.format)) << c.name;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.read(c.magic.size()) == c.magic) << c.name;
    }
    EXPECT_GT(VswrInk(QImage(dir.filePath(QStringLiteral("plot.png")))), 0.001);
    EXPECT_FALSE(WriteBandPlotPicture(
        sc, QSize(640, 320), dir.filePath(QStringLiteral("missing/plot.png")), PictureFormat::Png));
}

} // namespace
