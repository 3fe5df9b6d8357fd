// The band's readout lines measured with the real font as the pictures and the window draw them:
// at every size the readout uses, none reaches into the chart's rim.
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "model/bandevaluation.h"
#include "model/measuredbinding.h"
#include "model/smithchrt.h"
#include "platform/drawing/cqtpaintersurface.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// Records every call, with the text measured by the painter's font.
class MeasuredRecording : public RecordingSurface {
public:
    explicit MeasuredRecording(CQtPainterSurface& real) : real(real) {}
    TextMetrics GetTextMetrics() override { return real.GetTextMetrics(); }
    int32_t TextWidth(const std::string& text) override { return real.TextWidth(text); }

private:
    CQtPainterSurface& real;
};

// The longest band lines the readout writes: GHz figures, points without data and a limit.
SmithChrt LongBand() {
    SmithChrt sc;
    sc.ResetForNewDocument();
    sc.frequency = 92000;
    sc.startZ = {21.09, 12.17};
    sc.AddComponent(NewInductor(PLACE_SERIES, 0.01, 92000));
    sc.AddComponent(NewCapacitor(PLACE_SHUNT, 0.02, 92000));
    sc.band = {70000, 115000.123, 10001, true, false};
    sc.bandLimit = {BandLimitKind::ReturnLoss, 10.5};
    auto data = std::make_shared<MeasuredData>();
    data->name = "ring slot measured.s1p";
    data->points = {MeasuredPointFromGamma(75000, {0.3, 0.2}, 50),
                    MeasuredPointFromGamma(110000, {0.2, -0.4}, 50)};
    BindMeasuredData(sc, LoadEnd::Start, std::move(data));
    return sc;
}

TEST(BandReadoutLayout, ClearOfTheRimAtTheReadoutsSizes) {
    struct Size {
        int w, h;
    };
    for (const Size size : {Size{800, 400}, Size{1000, 560}, Size{1280, 720}}) {
        QImage image(size.w, size.h, QImage::Format_RGB32);
        QPainter painter(&image);
        CQtPainterSurface real(&painter, {0, 0});
        MeasuredRecording surface(real);
        SmithChrt sc = LongBand();
        FixedDateTimeText clock{std::string("08.12.2026 23:59")};
        DrawChart(sc, surface, DeviceToLogical({0, 0, size.w, size.h}), clock);
        ASSERT_GT(sc.bandResult.size(), 0u);

        int bandLines = 0;
        bool inBand = false;
        for (const DrawCall& c : surface.calls) {
            if (c.op != DrawCall::Op::Text || c.to.x != sc.clientRect.left) {
                continue;
            }
            inBand = inBand || c.text.rfind("Band ", 0) == 0;
            if (!inBand || c.text.rfind("Measured data", 0) == 0) {
                continue;
            }
            ++bandLines;
            // The text's box, y upward, and its nearest point to the chart's centre.
            const double left = c.to.x;
            const double right = left + surface.TextWidth(c.text);
            const double top = c.to.y;
            const double bottom = top - sc.lineHeight;
            const double nx = std::clamp<double>(sc.chartCentre.x, left, right);
            const double ny = std::clamp<double>(sc.chartCentre.y, bottom, top);
            EXPECT_GT(std::hypot(nx - sc.chartCentre.x, ny - sc.chartCentre.y), sc.rimRadius)
                << "'" << c.text << "' at " << size.w << "x" << size.h;
        }
        EXPECT_EQ(bandLines, 4) << size.w << "x" << size.h;
    }
}

} // namespace
