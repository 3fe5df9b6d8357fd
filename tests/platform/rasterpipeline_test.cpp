// The window's surface gives exactly the pixels of the plain painter surface. Each document is
// drawn through the window's draw routine three times with one cache (the grid is drawn, then
// kept as a picture, then put back from it) and compared pixel for pixel with the same draw
// recorded and replayed one painter call a primitive.
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/drawing/cqtpaintersurface.h"
#include "platform/drawing/crastersurface.h"
#include "tests/support/sampledocuments.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct NamedDocument {
    std::string name;
    SmithChrt doc;
};

// The sample networks with every display setting, a title of unusual characters, the band's
// loci, and hostile values.
std::vector<NamedDocument> Documents() {
    std::vector<NamedDocument> docs;
    int variant = 0;
    for (const SampleNetwork& n : SampleNetworks()) {
        SmithChrt d = DocumentWith(n.components);
        d.showAdmittance = variant % 2;
        d.showQArcs = (variant / 2) % 2;
        d.showVswrCircles = variant % 3 != 0;
        d.gammaMode = variant == 3 ? 1 : 0;
        d.textMarkers = variant == 4 ? 0 : 1;
        d.activeIndex = variant % static_cast<int>(n.components.size());
        docs.push_back({n.name, d});
        ++variant;
    }
    SmithChrt titled = DocumentWith(SampleNetworks().back().components);
    titled.title = "Tab\there, \xce\xa9 \xe2\x88\x9e \xc3\xa4\xc3\xb6 and a line\nbreak";
    docs.push_back({"UnusualTitle", titled});
    // The band's locus alone, and with the loci after every component.
    for (const bool junctions : {false, true}) {
        SmithChrt banded = DocumentWith(SampleNetworks().front().components);
        banded.band = {banded.frequency * 0.8, banded.frequency * 1.2, 201, true, junctions};
        docs.push_back({junctions ? "BandJunctionLoci" : "BandLocus", banded});
    }
    SmithChrt hostile = DocumentWith({NewLine(PLACE_TL_SERIES, 50, 1000), NewResistor(2, 50)});
    hostile.components[0].lineZ0 = 5e204;
    hostile.components[0].lineAngle = 1.6e211;
    hostile.startZ = {1e308, -1e308};
    hostile.goalZ = {std::numeric_limits<double>::quiet_NaN(), 0};
    docs.push_back({"Hostile", hostile});
    return docs;
}

// Records the calls with texts measured by the painter, as the band's labels are placed by them.
class MeasuredRecording : public RecordingSurface {
public:
    explicit MeasuredRecording(CQtPainterSurface& real)
        : RecordingSurface(real.GetTextMetrics()), real(real) {}
    int32_t TextWidth(const std::string& text) override { return real.TextWidth(text); }

private:
    CQtPainterSurface& real;
};

QImage ReplayedDraw(const SmithChrt& doc, QSize size, IDateTimeText& clock) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    CQtPainterSurface surface(&painter, {0, 0});
    MeasuredRecording recording(surface);
    SmithChrt sc = doc;
    DrawChart(sc, recording, DeviceToLogical({0, 0, size.width(), size.height()}), clock);
    ReplayDrawCalls(recording.calls, surface);
    return image;
}

TEST(RasterPipeline, DrawsThePixelsOfThePlainReplay) {
    FixedDateTimeText clock(std::string("07.12.2026 23:59"));
    for (const NamedDocument& d : Documents()) {
        // A wide window, a narrow one whose text runs over the chart, and an odd size.
        for (const QSize size : {QSize(800, 400), QSize(301, 600), QSize(1001, 563)}) {
            const QImage expected = ReplayedDraw(d.doc, size, clock);
            CRasterCache cache;
            for (int draw = 0; draw < 3; ++draw) {
                QImage image(size, QImage::Format_RGB32);
                image.fill(draw == 1 ? Qt::red : Qt::black);
                SmithChrt sc = d.doc;
                {
                    QPainter painter(&image);
                    DrawChartOnWindow(sc, painter, size, image.rect(), clock, nullptr, 1.0, &cache);
                }
                EXPECT_TRUE(image == expected)
                    << d.name << " " << size.width() << "x" << size.height() << ", draw " << draw;
            }
        }
    }
}

TEST(RasterPipeline, AWindowOffsetInItsBackingStoreMovesThePictureOnly) {
    FixedDateTimeText clock(std::string("07.12.2026 23:59"));
    const QSize size(640, 360);
    const SmithChrt doc = DocumentWith(SampleNetworks().front().components);
    const QImage expected = ReplayedDraw(doc, size, clock);
    CRasterCache cache;
    for (int draw = 0; draw < 3; ++draw) {
        QImage store(size + QSize(40, 60), QImage::Format_RGB32);
        store.fill(Qt::gray);
        SmithChrt sc = doc;
        {
            QPainter painter(&store);
            painter.translate(17, 43);
            DrawChartOnWindow(sc, painter, size, QRect(QPoint(0, 0), size), clock, nullptr, 1.0,
                              &cache);
        }
        EXPECT_TRUE(store.copy(QRect(QPoint(17, 43), size)) == expected) << "draw " << draw;
        EXPECT_EQ(store.pixel(5, 5), QColor(Qt::gray).rgb());
    }
}

// A window's repaints as keys change values: each draw goes through one cache into a picture of
// the given format that keeps the draw before (as a backing store does), under a clip of the
// repainted area, and matches the plain replay there while leaving the rest as it was.
struct RepaintCase {
    std::string name;
    QSize size;
    QImage::Format format;
    QRegion clip; ///< empty: the whole window
};

TEST(RasterPipeline, RepaintsMatchThePlainReplayInsideTheirClip) {
    FixedDateTimeText clock(std::string("07.12.2026 23:59"));
    const SmithChrt base = Documents()[2].doc;
    // The active component's value up and down as the keys change it, then the first again.
    std::vector<SmithChrt> sequence;
    for (const double scale : {1.0, 1.025, 1.0, 0.975, 1.0}) {
        SmithChrt d = base;
        Component& c = d.components[d.activeIndex];
        c.resistance *= scale;
        c.capacitance *= scale;
        c.inductance *= scale;
        c.lineAngle *= scale;
        sequence.push_back(d);
    }
    const QRegion twoParts = QRegion(10, 0, 200, 120) + QRegion(250, 200, 300, 150);
    const std::vector<RepaintCase> cases = {
        {"whole", {800, 400}, QImage::Format_RGB32, {}},
        {"premultiplied", {800, 400}, QImage::Format_ARGB32_Premultiplied, {}},
        {"text and chart in part", {800, 400}, QImage::Format_RGB32, QRegion(40, 30, 500, 300)},
        {"two parts", {800, 400}, QImage::Format_RGB32, twoParts},
        {"large", {3840, 2160}, QImage::Format_RGB32, {}},
    };
    for (const RepaintCase& c : cases) {
        const QRect area(QPoint(0, 0), c.size);
        const QRegion clip = c.clip.isEmpty() ? QRegion(area) : c.clip;
        CRasterCache cache;
        QImage image(c.size, c.format);
        image.fill(Qt::red);
        for (size_t i = 0; i < sequence.size(); ++i) {
            QImage expected = image.copy();
            {
                const QImage replayed = ReplayedDraw(sequence[i], c.size, clock);
                QPainter painter(&expected);
                painter.setClipRegion(clip);
                painter.drawImage(0, 0, replayed);
            }
            SmithChrt sc = sequence[i];
            {
                QPainter painter(&image);
                painter.setClipRegion(clip);
                DrawChartOnWindow(sc, painter, c.size, clip.boundingRect(), clock, nullptr, 1.0,
                                  &cache);
            }
            EXPECT_TRUE(image == expected) << c.name << ", draw " << i;
        }
    }
}

// A window keeps the last draw in its backing store and writes its ground (the white and the
// grid) again only where that draw drew over it. Draws of different documents follow one
// another into one picture, some three times in a row (the grid becomes a kept picture and then
// the ground the next draw relies on), some repainted in part between (the part holds the new
// document, the rest the old one), one into another picture between: each matches the plain
// replay of its document where it drew and leaves the rest as it was.
TEST(RasterPipeline, DrawsIntoTheirOwnLastDrawMatchThePlainReplay) {
    FixedDateTimeText clock(std::string("07.12.2026 23:59"));
    const std::vector<NamedDocument> docs = Documents();
    struct Step {
        size_t doc;
        QRegion clip;           ///< empty: the whole window
        bool elsewhere = false; ///< drawn into another picture (the memory of the last draw
                                ///< then belongs to that one)
    };
    const QRegion part(33, 17, 300, 200);
    std::vector<Step> steps;
    for (size_t i = 0; i < docs.size(); ++i) {
        const size_t next = (i + 1) % docs.size();
        steps.push_back({i, {}});
        steps.push_back({i, {}});
        steps.push_back({i, {}});
        steps.push_back({next, part});
        steps.push_back({i, {}});
        steps.push_back({next, {}, true});
        steps.push_back({i, {}});
    }
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        for (const QSize size : {QSize(800, 400), QSize(1001, 563)}) {
            const QRect area(QPoint(0, 0), size);
            CRasterCache cache;
            QImage image(size, format);
            image.fill(Qt::red);
            QImage other(size, format);
            for (size_t n = 0; n < steps.size(); ++n) {
                const Step& step = steps[n];
                const QRegion clip = step.clip.isEmpty() ? QRegion(area) : step.clip;
                QImage& into = step.elsewhere ? other : image;
                QImage expected = into.copy();
                {
                    const QImage replayed = ReplayedDraw(docs[step.doc].doc, size, clock);
                    QPainter painter(&expected);
                    painter.setClipRegion(clip);
                    painter.drawImage(0, 0, replayed);
                }
                SmithChrt sc = docs[step.doc].doc;
                {
                    QPainter painter(&into);
                    if (!step.clip.isEmpty()) {
                        painter.setClipRegion(clip);
                    }
                    DrawChartOnWindow(sc, painter, size, clip.boundingRect(), clock, nullptr, 1.0,
                                      &cache);
                }
                ASSERT_TRUE(into == expected) << docs[step.doc].name << " " << size.width() << "x"
                                              << size.height() << ", step " << n;
            }
        }
    }
}

// A window's draws as its user works: each key changes a little of the document (a value up and
// down, the active component, a display setting, the title, the clock), and the draw writes only
// the tiles whose pixels that changes. Every draw into the one picture must equal the plain
// replay of its document everywhere.
TEST(RasterPipeline, DrawsAfterSmallChangesMatchThePlainReplayEverywhere) {
    FixedDateTimeText clock(std::string("07.12.2026 23:59"));
    struct Change {
        std::string name;
        std::function<void(SmithChrt&, FixedDateTimeText&)> apply;
    };
    const auto scaleActive = [](double scale) {
        return [scale](SmithChrt& d, FixedDateTimeText&) {
            Component& c = d.components[static_cast<size_t>(d.activeIndex)];
            c.resistance *= scale;
            c.capacitance *= scale;
            c.inductance *= scale;
            c.lineAngle *= scale;
        };
    };
    const std::vector<Change> changes = {
        {"the same again", [](SmithChrt&, FixedDateTimeText&) {}},
        {"the same once more", [](SmithChrt&, FixedDateTimeText&) {}},
        {"value up", scaleActive(1.025)},
        {"value down", scaleActive(1 / 1.025)},
        {"value down again", scaleActive(1 / 1.025)},
        {"next component",
         [](SmithChrt& d, FixedDateTimeText&) {
             d.activeIndex = (d.activeIndex + 1) % std::max(1, d.componentCount);
         }},
        {"its value up", scaleActive(1.05)},
        {"the clock", [](SmithChrt&, FixedDateTimeText& c) { c.text = "08.12.2026 00:00"; }},
        {"no clock", [](SmithChrt&, FixedDateTimeText& c) { c.text.reset(); }},
        {"the title", [](SmithChrt& d, FixedDateTimeText&) { d.title = "Matched \xce\xa9"; }},
        {"text markers", [](SmithChrt& d, FixedDateTimeText&) { d.textMarkers ^= 1; }},
        {"admittance grid", [](SmithChrt& d, FixedDateTimeText&) { d.showAdmittance ^= 1; }},
        {"value up under the new grid", scaleActive(1.1)},
        {"the goal",
         [](SmithChrt& d, FixedDateTimeText&) {
             d.goalZ = {75, 20};
         }},
        {"a component less",
         [](SmithChrt& d, FixedDateTimeText&) {
             if (d.componentCount > 1) {
                 --d.componentCount;
                 d.activeIndex = 0;
             }
         }},
    };
    for (const NamedDocument& named : Documents()) {
        const QSize size(800, 400);
        CRasterCache cache;
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::red);
        SmithChrt doc = named.doc;
        FixedDateTimeText drawClock = clock;
        for (const Change& change : changes) {
            change.apply(doc, drawClock);
            SmithChrt sc = doc;
            {
                QPainter painter(&image);
                DrawChartOnWindow(sc, painter, size, image.rect(), drawClock, nullptr, 1.0, &cache);
            }
            ASSERT_TRUE(image == ReplayedDraw(doc, size, drawClock))
                << named.name << ", after " << change.name;
        }
    }
}

// Shapes whose boxes reach far beyond the picture, drawn and then left out in the next draw
// into the same picture: what they drew is written again, and only that.
TEST(RasterPipeline, ShapesFromFarAwayAreClearedByTheNextDraw) {
    const QSize size(400, 300);
    const Rect area{0, 0, size.width(), -size.height()};
    struct Shape {
        std::string name;
        std::function<void(DrawSurface&)> draw;
    };
    const std::vector<Shape> shapes = {
        {"line across",
         [](DrawSurface& s) {
             s.MoveTo({-900000, -100});
             s.LineTo({900000, -180});
         }},
        {"steep line",
         [](DrawSurface& s) {
             s.MoveTo({150, 800000});
             s.LineTo({260, -800000});
         }},
        {"circle",
         [](DrawSurface& s) {
             s.Circle({-500000, 500150, 500200, -499850});
         }},
        {"ellipse",
         [](DrawSurface& s) {
             s.Ellipse({-30000, 60, 30390, -290});
         }},
        {"arc",
         [](DrawSurface& s) {
             s.Arc({-500000, 500150, 500200, -499850}, {0, 0}, {200, 0});
         }},
    };
    const auto draw = [&](QImage& image, CRasterCache* cache, const Shape* shape) {
        QPainter painter(&image);
        std::unique_ptr<DrawSurface> surface;
        if (cache != nullptr) {
            surface = std::make_unique<CRasterSurface>(painter, image.rect(), cache);
        } else {
            surface = std::make_unique<CQtPainterSurface>(&painter, Point{0, 0});
        }
        surface->SelectBrush(Brush::Hollow);
        surface->FillWhite(area);
        surface->SelectPen({3, {200, 0, 0}});
        if (shape != nullptr) {
            shape->draw(*surface);
        }
    };
    for (const Shape& shape : shapes) {
        CRasterCache cache;
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::black);
        for (const Shape* drawn : {&shape, static_cast<const Shape*>(nullptr), &shape,
                                   static_cast<const Shape*>(nullptr), &shape}) {
            QImage expected(size, QImage::Format_RGB32);
            draw(expected, nullptr, drawn);
            draw(image, &cache, drawn);
            ASSERT_TRUE(image == expected) << shape.name << (drawn ? " drawn" : " left out");
        }
    }
}

// Makes the calls through the plain surface and through the window's surface, each on a white
// picture of size, and expects the same pixels.
void ExpectTheSamePixels(QSize size, const std::vector<std::function<void(DrawSurface&)>>& calls) {
    QImage plainImage(size, QImage::Format_RGB32);
    QImage rasterImage(size, QImage::Format_RGB32);
    plainImage.fill(Qt::white);
    rasterImage.fill(Qt::white);
    {
        QPainter plainPainter(&plainImage);
        QPainter rasterPainter(&rasterImage);
        CQtPainterSurface plain(&plainPainter, {0, 0});
        CRasterSurface raster(rasterPainter, rasterImage.rect());
        for (const auto& call : calls) {
            call(plain);
            call(raster);
        }
    }
    EXPECT_TRUE(plainImage == rasterImage);
}

// Lines and circles of every pen width the chart could use, short and long, at random places
// and partly outside the picture, drawn by both surfaces.
TEST(RasterPipeline, ShortShapesMatchThePlainSurfaceAnywhere) {
    std::mt19937 random(11);
    const auto uniform = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    std::vector<std::function<void(DrawSurface&)>> calls;
    for (int i = 0; i < 3000; ++i) {
        const Pen pen{uniform(0, 10), {static_cast<uint8_t>(uniform(0, 255)), 0, 90}};
        const Point from{uniform(-30, 330), -uniform(-30, 230)};
        if (i % 4 == 0) {
            const int w = uniform(0, 70);
            const int h = i % 8 == 0 ? w : uniform(0, 70);
            const Rect box{from.x, from.y, from.x + w, from.y - h};
            calls.emplace_back([=](DrawSurface& s) {
                s.SelectPen(pen);
                s.Circle(box);
            });
        } else {
            const int reach = i % 3 == 0 ? 40 : 4;
            const Point to{from.x + uniform(-reach, reach), from.y + uniform(-reach, reach)};
            calls.emplace_back([=](DrawSurface& s) {
                s.SelectPen(pen);
                s.MoveTo(from);
                s.LineTo(to);
            });
        }
    }
    ExpectTheSamePixels({300, 200}, calls);
}

// Lines as long as the window's surface fills from pixel runs, and longer, in the pens of the
// traces and the grid, drawn by both surfaces.
TEST(RasterPipeline, LongerLinesMatchThePlainSurfaceAnywhere) {
    std::mt19937 random(29);
    const auto uniform = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    std::vector<std::function<void(DrawSurface&)>> calls;
    for (int i = 0; i < 2000; ++i) {
        const Pen pen{i % 2 == 0 ? 2 : uniform(1, 8), {0, static_cast<uint8_t>(i % 256), 0}};
        const Point from{uniform(-80, 480), -uniform(-80, 380)};
        const Point to{from.x + uniform(-70, 70), from.y + uniform(-70, 70)};
        calls.emplace_back([=](DrawSurface& s) {
            s.SelectPen(pen);
            s.MoveTo(from);
            s.LineTo(to);
        });
    }
    ExpectTheSamePixels({400, 300}, calls);
}

} // namespace
