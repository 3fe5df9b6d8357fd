#include "chart/datetimetext.h"
#include "model/smithchrt.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/drawing/coffscreendc.h"
#include "platform/drawing/cqtpaintersurface.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

QImage WhiteImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int CountColour(const QImage& image, QRect area, QRgb colour) {
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        }
    }
    return n;
}

TEST(PainterSurface, YUpwardAndArcsCounterClockwise) {
    QImage image = WhiteImage(200, 200);
    {
        QPainter p(&image);
        CQtPainterSurface s(&p, {0, 0});
        s.SelectPen({1, {255, 0, 0}});
        // Circle of radius 50 about (100, -100): from the ray to the right to the ray upward.
        s.Arc({50, -50, 150, -150}, {150, -100}, {100, -50});
    }
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_GT(CountColour(image, QRect(100, 45, 56, 50), red), 30); // upper right quarter
    EXPECT_EQ(CountColour(image, QRect(40, 105, 120, 60), red), 0); // nothing below the centre
    EXPECT_EQ(CountColour(image, QRect(40, 40, 55, 55), red), 0);   // nor upper left
}

TEST(PainterSurface, CoincidingRaysDrawTheWholeCircle) {
    QImage image = WhiteImage(200, 200);
    {
        QPainter p(&image);
        CQtPainterSurface s(&p, {0, 0});
        s.SelectPen({1, {255, 0, 0}});
        s.Arc({50, -50, 150, -150}, {150, -100}, {160, -100});
    }
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_GT(CountColour(image, QRect(40, 105, 120, 60), red), 30);
    EXPECT_GT(CountColour(image, QRect(40, 40, 55, 55), red), 30);
}

TEST(PainterSurface, TextHangsBelowItsPointAndFarShapesAreLeftOut) {
    QImage image = WhiteImage(200, 100);
    {
        QPainter p(&image);
        CQtPainterSurface s(&p, {0, 0});
        const TextMetrics tm = s.GetTextMetrics();
        EXPECT_GT(tm.height, 0);
        s.SetTextColour({0, 0, 255});
        s.TextOut({10, -20}, "HHHH");
        s.SelectPen({2, {0, 0, 0}});
        s.MoveTo({kInvalidCoordinate, 0});
        s.LineTo({10, -10});
        s.MoveTo({-2000000000, -50});
        s.LineTo({2000000000, -50});
        s.Ellipse({-2000000000, 2000000000, 2000000000, -2000000000});
    }
    // Text is antialiased: look for bluish pixels.
    int blueTop = 100;
    for (int y = 0; y < 100 && blueTop == 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 160 && c.green() < 160) {
                blueTop = y;
                break;
            }
        }
    }
    EXPECT_GE(blueTop, 20);
    EXPECT_LT(blueTop, 40);
    // The huge line is clipped and drawn; the huge ellipse is not.
    EXPECT_GT(CountColour(image, QRect(0, 49, 200, 3), qRgb(0, 0, 0)), 150);
}

TEST(OffscreenDC, WindowReceivesThePictureAtTheEnd) {
    QImage window = WhiteImage(100, 100);
    window.fill(Qt::gray);
    QPainter target(&window);
    {
        COffscreenDC dc(target, {20, -20, 80, -80}, false);
        EXPECT_TRUE(dc.IsBuffered());
        dc.FillWhite({0, 0, 100, -100});
        dc.SelectPen({3, {0, 0, 255}});
        dc.MoveTo({20, -50});
        dc.LineTo({100, -50});
        EXPECT_EQ(window.pixel(50, 50), QColor(Qt::gray).rgb());
    }
    target.end();
    EXPECT_EQ(window.pixel(50, 50) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(window.pixel(30, 30) & 0xFFFFFF, 0xFFFFFFu);
    // Outside the repainted area the window is untouched.
    EXPECT_EQ(window.pixel(90, 50), QColor(Qt::gray).rgb());
    EXPECT_EQ(window.pixel(10, 10), QColor(Qt::gray).rgb());
}

TEST(OffscreenDC, PrinterTargetsAreDrawnStraightOnto) {
    QImage page = WhiteImage(50, 50);
    QPainter target(&page);
    COffscreenDC dc(target, {0, 0, 50, -50}, true);
    EXPECT_FALSE(dc.IsBuffered());
    dc.SelectPen({3, {0, 0, 255}});
    dc.MoveTo({0, -25});
    dc.LineTo({50, -25});
    EXPECT_EQ(page.pixel(25, 25) & 0xFFFFFF, 0x0000FFu);
}

// A typical network: series C, shunt L, a line, a shunt stub; the third component active.
SmithChrt TypicalNetwork() {
    SmithChrt sc;
    sc.title = "Typical match";
    sc.startZ = {20, -15};
    sc.goalZ = {75, 25};
    sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    sc.AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    sc.AddComponent(NewLine(PLACE_TL_SERIES, 50, 1000));
    sc.AddComponent(NewLine(PLACE_TL_SHUNT_SHORTED, 50, 1000));
    sc.activeIndex = 2;
    sc.showQArcs = 1;
    sc.showVswrCircles = true;
    return sc;
}

TEST(DrawView, RendersATypicalNetworkIntoAnImage) {
    SmithChrt sc = TypicalNetwork();
    FixedDateTimeText clock(std::string("12/7/26 11:59 PM"));
    QImage window = WhiteImage(900, 500);
    window.fill(Qt::black);
    {
        QPainter target(&window);
        DrawChartOnWindow(sc, target, window.size(), window.rect(), clock, nullptr, 1.0);
    }
    window.save(QStringLiteral(QUORBEL_TEST_OUTPUT_DIR "/typical_network.png"));
    EXPECT_EQ(sc.clientRect, (Rect{0, 0, 900, -500}));
    EXPECT_EQ(sc.chartCentre, (Point{900 - 237, -250}));
    const QRect chart(900 - 2 * 237, 0, 2 * 237, 500);
    EXPECT_GT(CountColour(window, chart, qRgb(255, 0, 0)), 1000); // grid
    EXPECT_GT(CountColour(window, chart, qRgb(192, 0, 0)), 1000); // rim and axis
    EXPECT_GT(CountColour(window, chart, qRgb(0, 0, 255)), 200);  // active trace, end marker
    EXPECT_GT(CountColour(window, chart, qRgb(0, 255, 255)), 10); // start marker
    EXPECT_GT(CountColour(window, chart, qRgb(0, 255, 0)), 10);   // goal marker
    EXPECT_GT(CountColour(window, QRect(0, 0, 300, 200), qRgb(0, 0, 0)), 200); // readout
    EXPECT_EQ(CountColour(window, window.rect(), qRgb(0, 0, 0)) < 900 * 500 / 4, true);
}

TEST(DrawView, HostileValuesPaintWithoutStalling) {
    FixedDateTimeText clock(std::string("now"));
    QImage window = WhiteImage(640, 480);
    // A colour the draw never uses: every pixel of the window must be painted over.
    const QRgb unpainted = qRgb(1, 2, 3);
    for (const double v : {std::nan(""), HUGE_VAL, -HUGE_VAL, 0.0, 1e300, -1e-300}) {
        window.fill(unpainted);
        SmithChrt sc;
        sc.startZ = {v, 1};
        sc.goalZ = {1, v};
        sc.showQArcs = 1;
        sc.showVswrCircles = true;
        sc.showAdmittance = 1;
        for (int placement = PLACE_SERIES; placement <= PLACE_TL_SHUNT_SHORTED; ++placement) {
            Component c = NewLine(placement, 50, 1000);
            c.kind = KIND_SERIES_RLC - placement;
            c.resistance = c.capacitance = c.inductance = c.lineAngle = v;
            sc.AddComponent(c);
        }
        {
            QPainter target(&window);
            DrawChartOnWindow(sc, target, window.size(), window.rect(), clock, nullptr, 1.0);
        }
        EXPECT_EQ(CountColour(window, window.rect(), unpainted), 0) << v;
        EXPECT_EQ(sc.chartCentre, (Point{640 - 228, -240})) << v;
        EXPECT_GT(CountColour(window, window.rect(), qRgb(255, 0, 0)), 1000) << v; // the grid
    }
}

} // namespace
