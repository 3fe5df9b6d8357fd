#include "cli/recordedreadout.h"

#include "chart/chartgeometry.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "model/smithchrt.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// The texts of a draw in order, on a surface without a font; its shapes are not kept.
class TextCollector : public StatefulSurface {
public:
    void Circle(Rect) override {}
    void Arc(Rect, Point, Point) override {}
    void Ellipse(Rect) override {}
    void TextOut(Point, const std::string& text) override {
        if (!text.empty()) {
            texts.push_back(text);
        }
    }
    TextMetrics GetTextMetrics() override { return kFontlessTextMetrics; }
    void FillWhite(Rect) override {}
    void SetBackgroundTransparent() override {}

    std::vector<std::string> texts;

protected:
    void Line(Point, Point) override {}
};

} // namespace

RecordedReadout RecordReadout(const SmithChrt& doc, int32_t width, int32_t height,
                              IDateTimeText& clock) {
    SmithChrt sc = doc;
    // Marker labels are the only other texts of a draw, and the only ones that depend on this
    // flag: with it off they are written empty, while no readout line ever is.
    sc.textMarkers = 0;
    TextCollector surface;
    DrawChart(sc, surface, DeviceToLogical({0, 0, width, height}), clock);
    RecordedReadout r;
    r.lines = std::move(surface.texts);
    r.maxNetworkQ = sc.maxNetworkQ;
    return r;
}
