#include "app/dialogs/impedancedisplaydialog.h"
#include "app/dialogs/parametereditordialog.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "tests/support/viewcommandfixture.h"
#include "view/commandtable.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// Impedance Display ids.
enum : int {
    kR = 1003,
    kMagnitude = 1004,
    kJX = 1005,
    kAngle = 1006,
    kDoNothing = 1077,
    kMakeStart = 1078,
    kMakeGoal = 1079,
};

double Number(const QString& text) {
    return std::strtod(text.toLatin1().constData(), nullptr);
}

class PointerCommandsTest : public ViewCommandTest {
protected:
    PointerCommandsTest() {
        view.resize(800, 500);
        Settle();
    }

    void AddNetwork() {
        SmithChrt& sc = Chart();
        sc.AddComponent(NewCapacitor(PLACE_SERIES, 50.0, sc.frequency));
        sc.AddComponent(NewInductor(PLACE_SHUNT, 50.0, sc.frequency));
        sc.AddComponent(NewResistor(PLACE_SERIES, 50.0));
        sc.AddComponent(NewLine(PLACE_TL_SERIES, 50.0, sc.frequency));
        sc.activeIndex = 0;
    }

    /// Paints the view now, which leaves the chart geometry and the pick anchors of what it drew
    /// in the document, and starts counting afresh.
    void Paint() {
        view.repaint();
        Settle();
    }

    /// The window pixel of a drawing point.
    static QPoint WindowPoint(Point p) { return {p.x, -p.y}; }

    void LeftClick(QPoint at) { QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, at); }
    void RightClick(QPoint at) { QTest::mousePress(&view, Qt::RightButton, Qt::NoModifier, at); }
    void SendPress(Qt::MouseButton button, QPointF at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, view.mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
    }

    bool OnChart(QPoint at) const { return doc.chart.ScreenToZ(at.x(), at.y()).re >= 0; }
    QPoint ChartCentre() const { return WindowPoint(doc.chart.chartCentre); }
};

TEST_F(PointerCommandsTest, ClickAtATraceAnchorSelectsThatComponent) {
    AddNetwork();
    Paint();
    const int n = Chart().componentCount;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            ASSERT_NE(Chart().tracePoints[i], Chart().tracePoints[j]) << i << " " << j;
        }
    }
    for (int i = 0; i < n; ++i) {
        Chart().activeIndex = (i + 1) % n;
        doc.SetModifiedFlag(false);
        const QPoint at = WindowPoint(Chart().tracePoints[i]);
        ASSERT_TRUE(OnChart(at)) << i;
        LeftClick(at);
        EXPECT_EQ(Chart().activeIndex, i);
        EXPECT_TRUE(doc.IsModified());
    }
}

TEST_F(PointerCommandsTest, ClickBesideTheChartSelectsByReadoutLineHeight) {
    AddNetwork();
    Paint();
    const int n = Chart().componentCount;
    for (int i = 0; i < n; ++i) {
        for (const int x : {1, Chart().textX + 40}) {
            Chart().activeIndex = (i + 1) % n;
            const QPoint at(x, -Chart().labelPoints[i].y);
            ASSERT_FALSE(OnChart(at)) << i;
            LeftClick(at);
            EXPECT_EQ(Chart().activeIndex, i) << "x " << x;
        }
    }
}

TEST_F(PointerCommandsTest, TieBetweenTwoReadoutLinesGoesToTheLowerIndex) {
    AddNetwork();
    Paint();
    const int32_t y1 = Chart().labelPoints[1].y;
    const int32_t y2 = Chart().labelPoints[2].y;
    ASSERT_NE(y1, y2);
    const int32_t middle = (y1 + y2) / 2;
    Chart().activeIndex = 3;
    LeftClick({1, -middle});
    // Exactly midway when the line height is even, else nearer the lower index.
    EXPECT_EQ(Chart().activeIndex, (y1 - y2) % 2 == 0 || y1 - middle < middle - y2 ? 1 : 2);
    if ((y1 - y2) % 2 != 0) {
        // Make a true tie: the same height for two lines.
        Chart().labelPoints[2].y = y1;
        Chart().activeIndex = 3;
        SendPress(Qt::LeftButton, QPointF(1, -y1));
        EXPECT_EQ(Chart().activeIndex, 1);
    }
}

TEST_F(PointerCommandsTest, ClickWithOneComponentKeepsItButMarksModified) {
    Chart().AddComponent(NewCapacitor(PLACE_SHUNT, 50.0, Chart().frequency));
    Paint();
    LeftClick(WindowPoint(Chart().tracePoints[0]) + QPoint(30, 30));
    EXPECT_EQ(Chart().activeIndex, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

TEST_F(PointerCommandsTest, AnchorsAreInWidgetPixelsAtAnyScaleFactor) {
    AddNetwork();
    // What the chart's own draw gives for the view's client area, logical rectangle
    // (0, 0, w, -h): the anchors a click is compared with.
    SmithChrt drawn = Chart();
    RecordingSurface surface;
    FixedDateTimeText clock(std::string("01/02/2024 10:00:00"));
    DrawChart(drawn, surface, Rect{0, 0, view.width(), -view.height()}, clock);

    for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        Chart().tracePoints = {};
        Chart().chartCentre = {};
        QImage image(view.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        view.DrawView(painter);
        painter.end();
        EXPECT_EQ(Chart().chartCentre, drawn.chartCentre) << ratio;
        EXPECT_EQ(Chart().chartRadius, drawn.chartRadius) << ratio;
        EXPECT_EQ(Chart().tracePoints, drawn.tracePoints) << ratio;
    }
    Chart().activeIndex = 0;
    LeftClick(WindowPoint(drawn.tracePoints[2]));
    EXPECT_EQ(Chart().activeIndex, 2);
}

TEST_F(PointerCommandsTest, FractionalPositionsAreTruncated) {
    AddNetwork();
    Paint();
    // Positions come in logical pixels, fractional on scaled screens.
    SendPress(Qt::LeftButton, QPointF(WindowPoint(Chart().tracePoints[3])) + QPointF(0.9, 0.9));
    EXPECT_EQ(Chart().activeIndex, 3);

    const QPointF at(120.75, 40.5);
    QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    Settle();
    QApplication::sendEvent(&view, &move);
    EXPECT_EQ(Chart().pointerPos, (Point{120, 40}));
    EXPECT_FALSE(doc.IsModified()) << "movement is only recorded";
    EXPECT_EQ(Paints(), 0);
}

TEST_F(PointerCommandsTest, DoubleClickEditsThePickedComponent) {
    AddNetwork();
    Paint();
    const QPoint at = WindowPoint(Chart().tracePoints[2]); // the series resistor
    driver.Then(Cancel);
    // A double click arrives as the press of the first click, then the double click.
    LeftClick(at);
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(Chart().activeIndex, 2);
    EXPECT_EQ(driver.opened, 1) << "the component editor opened once";
    EXPECT_EQ(driver.lastDialogId, CParameterEditorDialog::IDD);
}

TEST_F(PointerCommandsTest, RightClickAtTheCentreShowsZ0AndAdoptsItAsGoal) {
    Paint();
    Chart().goalZ = {10.0, -30.0};
    Chart().startZ = {20.0, 5.0};
    QStringList shown;
    bool doNothing = false;
    driver.Then([&](CDialogBase& d) {
        for (const int id : {kMagnitude, kAngle, kR, kJX}) {
            shown.append(TextOf(d, id));
        }
        doNothing = Checked(d, kDoNothing);
        Choose(d, kMakeGoal);
        Accept(d);
    });
    RightClick(ChartCentre());
    ASSERT_EQ(driver.opened, 1);
    EXPECT_EQ(driver.lastDialogId, CImpedanceDisplayDialog::IDD);
    EXPECT_EQ(shown, (QStringList{"0", "0", "50", "0"}));
    EXPECT_TRUE(doNothing);
    EXPECT_EQ(Chart().goalZ, Chart().chartZ0);
    EXPECT_EQ(Chart().startZ, (Complex{20.0, 5.0}));
    EXPECT_FALSE(doc.IsModified()) << "adopting an impedance is not an edit";
    EXPECT_TRUE(boxes.warnings.isEmpty());
    EXPECT_GT(Paints(), 0);
}

TEST_F(PointerCommandsTest, RightDoubleClickOpensThePopupOnce) {
    Paint();
    driver.Then(Cancel);
    driver.Then(Cancel);
    // The press of the first click opens the popup; the double click itself is not a press.
    RightClick(ChartCentre());
    QTest::mouseRelease(&view, Qt::RightButton, Qt::NoModifier, ChartCentre());
    QTest::mouseDClick(&view, Qt::RightButton, Qt::NoModifier, ChartCentre());
    EXPECT_EQ(driver.opened, 1);
}

TEST_F(PointerCommandsTest, RightClickBesideTheChartOpensNothing) {
    Paint();
    const QPoint at(1, view.height() / 2);
    ASSERT_FALSE(OnChart(at));
    const SmithChrt before = Chart();
    RightClick(at);
    EXPECT_EQ(driver.opened, 0);
    EXPECT_EQ(Chart().goalZ, before.goalZ);
    EXPECT_EQ(Chart().startZ, before.startZ);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

TEST_F(PointerCommandsTest, RightClickBeforeAnyChartGeometryOpensNothing) {
    // Without a draw the chart has no radius, so no point maps to an impedance.
    Chart().chartRadius = 0.0;
    RightClick({400, 250});
    EXPECT_EQ(driver.opened, 0);
}

TEST_F(PointerCommandsTest, AngleOnTheNegativeRealAxisIsClampedTo180) {
    Paint();
    const QPoint at = ChartCentre() - QPoint(Chart().rimRadius - 2, 0);
    ASSERT_TRUE(OnChart(at));
    ASSERT_GT(Chart().ZToGammaPolar(Chart().ScreenToZ(at.x(), at.y())).angle, 180.0);
    QString angle;
    bool closed = false;
    driver.Then([&](CDialogBase& d) {
        angle = TextOf(d, kAngle);
        Accept(d);
        closed = !d.isVisible();
        if (!closed) {
            Cancel(d);
        }
    });
    RightClick(at);
    ASSERT_EQ(driver.opened, 1);
    EXPECT_EQ(angle, "180");
    EXPECT_TRUE(closed) << "OK must be accepted";
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

// What the popup stores after the user edited some of its fields.
struct PopupCase {
    const char* name;
    std::vector<std::pair<int, const char*>> typed;
    int choice; ///< radio button id, or 0 to press Escape
    enum { Nothing, Rectangular, Polar } stored;
    bool warned;
};

class ImpedancePopup : public PointerCommandsTest,
                       public ::testing::WithParamInterface<PopupCase> {};

TEST_P(ImpedancePopup, SettlesTheTarget) {
    const PopupCase& c = GetParam();
    Paint();
    const Complex start{20.0, 5.0};
    const Complex goal{10.0, -30.0};
    Chart().startZ = start;
    Chart().goalZ = goal;
    const QPoint at = ChartCentre() + QPoint(Chart().rimRadius / 3, -Chart().rimRadius / 4);
    std::map<int, QString> entered;
    driver.Then([&](CDialogBase& d) {
        for (const auto& [id, text] : c.typed) {
            Type(d, id, text);
        }
        for (const int id : {kMagnitude, kAngle, kR, kJX}) {
            entered[id] = TextOf(d, id);
        }
        if (c.choice == 0) {
            Cancel(d);
            return;
        }
        Choose(d, c.choice);
        Accept(d);
    });
    RightClick(at);
    ASSERT_EQ(driver.opened, 1);

    Complex expected = c.choice == kMakeStart ? start : goal;
    if (c.stored == PopupCase::Rectangular) {
        expected = {Number(entered[kR]), Number(entered[kJX])};
    } else if (c.stored == PopupCase::Polar) {
        expected = Chart().GammaPolarToZ(Number(entered[kMagnitude]), Number(entered[kAngle]));
    }
    EXPECT_EQ(Chart().startZ, c.choice == kMakeStart ? expected : start);
    EXPECT_EQ(Chart().goalZ, c.choice == kMakeGoal ? expected : goal);
    if (c.warned) {
        EXPECT_EQ(boxes.warnings,
                  QStringList{" You changed the entries in both impedance formats, the entry in "
                              "the Mag/Angle will be used"});
    } else {
        EXPECT_TRUE(boxes.warnings.isEmpty());
    }
    EXPECT_FALSE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ImpedancePopup,
    ::testing::Values(
        PopupCase{"UnchangedAsGoal", {}, kMakeGoal, PopupCase::Rectangular, false},
        PopupCase{"UnchangedAsStart", {}, kMakeStart, PopupCase::Rectangular, false},
        PopupCase{"NewReactance", {{kJX, "25"}}, kMakeGoal, PopupCase::Rectangular, false},
        PopupCase{"NewResistance", {{kR, "12.5"}}, kMakeStart, PopupCase::Rectangular, false},
        PopupCase{"NewAngle", {{kAngle, "-60"}}, kMakeStart, PopupCase::Polar, false},
        PopupCase{"NewMagnitudeAndResistance",
                  {{kMagnitude, "0.5"}, {kR, "10"}},
                  kMakeStart,
                  PopupCase::Polar,
                  true},
        PopupCase{"DoNothing", {{kR, "10"}}, kDoNothing, PopupCase::Nothing, false},
        PopupCase{"Escape", {{kR, "10"}}, 0, PopupCase::Nothing, false}),
    [](const ::testing::TestParamInfo<PopupCase>& info) { return std::string(info.param.name); });

} // namespace
