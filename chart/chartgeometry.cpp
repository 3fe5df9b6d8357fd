#include "chart/chartgeometry.h"

#include <cmath>
#include <cstdlib>

ChartGeometry ComputeChartGeometry(Rect logical) {
    const int64_t w = int64_t{logical.right} - logical.left;
    const int64_t h = int64_t{logical.bottom} - logical.top;
    const double dw = static_cast<double>(w);
    const double dh = static_cast<double>(h);
    ChartGeometry g;
    const double s = std::fabs(dh * 0.5) <= std::fabs(dw * 0.5) ? dh : dw;
    g.chartRadius = 0.95 * std::fabs(s * 0.5);
    const int64_t aw = std::llabs(w);
    const int64_t ah = std::llabs(h);
    const int64_t m = (ah <= aw ? ah : aw) / 2;
    g.rimRadius = TruncToInt32(0.95 * static_cast<double>(m));
    g.chartCentre.x = ClampToInt32(int64_t{logical.right} - g.rimRadius);
    g.chartCentre.y = ClampToInt32((int64_t{logical.top} + logical.bottom) / 2);
    return g;
}

Rect ApplyPrintingRule(int32_t cw, int32_t ch, Rect printRect, double k) {
    if (cw <= 0 || ch <= 0) {
        return printRect;
    }
    const double pw = static_cast<double>(int64_t{printRect.right} - printRect.left);
    const double ph = static_cast<double>(int64_t{printRect.bottom} - printRect.top);
    const double wr = pw / cw;
    const double hr = ph / ch;
    const int32_t hNew = TruncToInt32(ch * k * wr);
    const int32_t wNew = TruncToInt32(cw * k * hr);
    if (hNew == kInvalidCoordinate || wNew == kInvalidCoordinate) {
        return printRect;
    }
    Rect r = printRect;
    if (hNew <= wNew) {
        r.bottom = ClampToInt32(int64_t{r.top} + hNew);
    } else {
        r.right = ClampToInt32(int64_t{r.left} + wNew);
    }
    if (!IsValidRect(r)) {
        return printRect;
    }
    return r;
}

Rect DeviceToLogical(Rect d) {
    auto negate = [](int32_t v) { return ClampToInt32(-int64_t{v}); };
    return {d.left, negate(d.top), d.right, negate(d.bottom)};
}

int32_t AddCoord(int32_t a, int32_t b) {
    if (a == kInvalidCoordinate || b == kInvalidCoordinate) {
        return kInvalidCoordinate;
    }
    return ClampToInt32(int64_t{a} + b);
}

bool IsValidRect(const Rect& r) {
    return r.left != kInvalidCoordinate && r.top != kInvalidCoordinate &&
           r.right != kInvalidCoordinate && r.bottom != kInvalidCoordinate;
}
