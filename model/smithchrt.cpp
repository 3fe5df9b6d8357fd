#include "model/smithchrt.h"

#include "model/documenttrailer.h"
#include "model/losses.h"
#include "model/messagesink.h"
#include "quorbel_config.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

SmithChrt::SmithChrt() {
    chartZ0 = {50, 0};
    startZ = chartZ0;
    endZ = chartZ0;
    goalZ = chartZ0;
}

std::string DefaultTitle() {
    return std::string(" ***") + kMakerWebAddress + "*** ";
}

void SmithChrt::ResetForNewDocument() {
    componentCount = 0;
    activeIndex = 0;
    plottingActive = 0;
    chartZ0 = {50, 0};
    startZ = chartZ0;
    endZ = chartZ0;
    goalZ = startZ;
    pointerPos = {0, 0};
    tunePercent = 2.5;
    gammaMode = 0;
    showAdmittance = 0;
    showQArcs = 0;
    maxNetworkQ = 0.0;
    textMarkers = 1;
    title = DefaultTitle();
    ResetExtensions(*this);
}

void SmithChrt::Report(const char* text) const {
    if (messages != nullptr) {
        messages->Report(text);
    }
}

Complex SmithChrt::ZToGamma(Complex z) const {
    return (z - chartZ0) / (z + chartZ0);
}

Complex SmithChrt::GammaToZ(Complex gamma) const {
    const Complex one{1, 0};
    return chartZ0 * ((one + gamma) / (one - gamma));
}

GammaPolar SmithChrt::ZToGammaPolar(Complex z) const {
    const Complex g = ZToGamma(z);
    GammaPolar p{std::sqrt(g.re * g.re + g.im * g.im), std::atan2(g.im, g.re) * kRadToDeg};
    if (z == chartZ0) {
        p = {0, 0};
    }
    return p;
}

Complex SmithChrt::GammaPolarToZ(double magnitude, double angleDeg) const {
    const double t = angleDeg * kDegToRad;
    return GammaToZ({magnitude * std::cos(t), magnitude * std::sin(t)});
}

Point SmithChrt::ZToScreen(Complex z) const {
    const Complex g = ZToGamma(z);
    const int32_t gx = TruncToInt32(g.re * chartRadius);
    const int32_t gy = TruncToInt32(g.im * chartRadius);
    if (gx == kInvalidCoordinate || gy == kInvalidCoordinate) {
        return {kInvalidCoordinate, kInvalidCoordinate};
    }
    return {ClampToInt32(int64_t{gx} + chartCentre.x), ClampToInt32(int64_t{gy} + chartCentre.y)};
}

Complex SmithChrt::ScreenToZ(int32_t px, int32_t py) const {
    const double u = static_cast<double>(int64_t{px} - chartCentre.x) * (1 / chartRadius);
    const double v = static_cast<double>(int64_t{py} + chartCentre.y) * (1 / chartRadius) * -1.0;
    return GammaToZ({u, v});
}

double SmithChrt::ScreenDistancePercent(Point a, Point b) const {
    const double dx = static_cast<double>(int64_t{a.x} - b.x);
    const double dy = static_cast<double>(int64_t{a.y} - b.y);
    return DistancePercentOfSquare(dx * dx + dy * dy);
}

double SmithChrt::DistancePercentOfSquare(double d2) const {
    return std::sqrt(d2) / chartRadius * 100;
}

void SmithChrt::RaiseQ(Complex z) {
    const double q = std::fabs(z.im) / z.re;
    if (q > maxNetworkQ) {
        maxNetworkQ = q;
    }
}

Complex SmithChrt::AddImpedancePercent(double percent, Complex z, Complex zc, int32_t placement) {
    Complex result = z;
    if (placement == PLACE_SERIES) {
        result = z + zc * (percent * 0.01);
    } else if (placement == PLACE_SHUNT) {
        const double k = 100 / percent;
        const Complex w = zc * k;
        result = (z * w) / (z + w);
    } else {
        Report("AddImpedancePercent -- you never should have gotten here!");
    }
    RaiseQ(result);
    return result;
}

Complex SmithChrt::AddLinePercent(double percent, Complex zStart, Complex zc, int32_t placement,
                                  double theta, double& accumulated) {
    // The remainder of an angle already within a turn is the angle itself: the trace passes
    // reduced angles, so the division is skipped for them.
    const double b = std::fabs(theta) < 360 ? theta : std::fmod(theta, 360);
    const double k = kDegToRad;
    Complex result{0, 0};
    if (placement == PLACE_TL_SERIES) {
        const double a = b * (percent * 0.01) + accumulated;
        accumulated = a;
        const double t = std::tan(a * k);
        const Complex j{0, 1};
        result = zc * ((zStart + (j * zc) * t) / (zc + (j * zStart) * t));
    } else if (placement == PLACE_TL_SHUNT_OPEN) {
        const double a = b * (percent * 0.01) + accumulated;
        accumulated = a;
        const Complex x{0, -zc.re / std::tan(a * k)};
        result = (zStart * x) / (zStart + x);
    } else if (placement == PLACE_TL_SHUNT_SHORTED) {
        const double a = accumulated - (percent * 0.01) * (90 - b);
        accumulated = a;
        const Complex x{0, zc.re * std::tan((a + 90) * k)};
        result = (zStart * x) / (zStart + x);
    } else {
        Report("You never should have reached this point!");
    }
    RaiseQ(result);
    return result;
}

Complex SmithChrt::AddLossyLinePercent(double percent, Complex zStart, Complex zc,
                                       int32_t placement, double theta, double& accumulated,
                                       double nepersPerDegree) {
    // Pozar 2.91 with gamma l = alpha l + j beta l: the tangents become hyperbolic tangents of
    // the complex angle; a line of angle a degrees loses nepersPerDegree * |a|.
    // tanh has the period j pi, so the angle's turns can go before it is taken in radians.
    const auto tanhOf = [&](double a) {
        const std::complex<double> t = std::tanh(
            std::complex<double>(nepersPerDegree * std::fabs(a), std::fmod(a, 360) * kDegToRad));
        return Complex{t.real(), t.imag()};
    };
    Complex result{0, 0};
    if (placement == PLACE_TL_SERIES) {
        const double a = theta * (percent * 0.01) + accumulated;
        accumulated = a;
        const Complex t = tanhOf(a);
        result = zc * ((zStart + zc * t) / (zc + zStart * t));
    } else if (placement == PLACE_TL_SHUNT_OPEN) {
        const double a = theta * (percent * 0.01) + accumulated;
        accumulated = a;
        const Complex x = Complex{zc.re, 0} / tanhOf(a);
        result = (zStart * x) / (zStart + x);
    } else if (placement == PLACE_TL_SHUNT_SHORTED) {
        const double a = accumulated - (percent * 0.01) * (90 - theta);
        accumulated = a;
        const Complex x = tanhOf(a + 90) * zc.re;
        result = (zStart * x) / (zStart + x);
    } else {
        Report("You never should have reached this point!");
    }
    RaiseQ(result);
    return result;
}

bool SmithChrt::ElementAt(const Component& c, Complex& ze, double& theta, double& lineLoss) const {
    if (!IsKnownKind(c.kind)) {
        Report("default case in plotcomponents type checking");
        return false;
    }
    const ElementValue v = EvaluateElement(losses, c, frequency);
    ze = v.ze;
    lineLoss = v.nepersPerDegree;
    if (c.kind == KIND_TLINE) {
        theta = v.theta;
    }
    return true;
}

Complex SmithChrt::StepPercent(double percent, Complex from, Complex ze, int32_t placement,
                               double theta, double& accumulated, double lineLoss) {
    if (placement == PLACE_TL_SERIES || placement == PLACE_TL_SHUNT_OPEN ||
        placement == PLACE_TL_SHUNT_SHORTED) {
        if (lineLoss > 0) {
            return AddLossyLinePercent(percent, from, ze, placement, theta, accumulated, lineLoss);
        }
        return AddLinePercent(percent, from, ze, placement, theta, accumulated);
    }
    return AddImpedancePercent(percent, from, ze, placement);
}

bool SmithChrt::EvaluateCascade(std::vector<Complex>* outputs) {
    if (outputs != nullptr) {
        outputs->clear();
    }
    maxNetworkQ = 0;
    if (componentCount <= 0) {
        return true;
    }
    RaiseQ(startZ);
    Complex z = startZ;
    double theta = 0;
    const int32_t n = std::min(componentCount, MAX_COMPONENTS);
    for (int32_t i = 0; i < n; ++i) {
        const Component& c = components[i];
        plottingActive = i == activeIndex ? 1 : 0;
        Complex ze;
        double lineLoss = 0;
        if (!ElementAt(c, ze, theta, lineLoss)) {
            return false;
        }
        double accumulated = 0;
        z = StepPercent(100, z, ze, c.placement, theta, accumulated, lineLoss);
        if (outputs != nullptr) {
            outputs->push_back(z);
        }
    }
    endZ = z;
    return true;
}

int32_t SmithChrt::AddComponent(Component c) {
    if (componentCount > MAX_COMPONENTS - 1) {
        return 0;
    }
    componentCount = std::max(componentCount, 0);
    activeIndex = std::clamp(activeIndex, -1, std::max(componentCount - 1, -1));
    if (componentCount == activeIndex + 1) {
        components[componentCount] = c;
        activeIndex = componentCount;
        componentCount += 1;
    } else if (componentCount == 0) {
        components[0] = c;
        activeIndex = 0;
        componentCount = 1;
    } else {
        for (int32_t i = componentCount - 1; i > activeIndex; --i) {
            components[i + 1] = components[i];
        }
        components[activeIndex + 1] = c;
        activeIndex += 1;
        componentCount += 1;
    }
    return 1;
}

int32_t SmithChrt::DeleteActiveComponent() {
    if (componentCount <= 0) {
        return 1;
    }
    if (activeIndex >= 0 && activeIndex < componentCount) {
        for (int32_t i = activeIndex + 1; i < componentCount; ++i) {
            components[i - 1] = components[i];
        }
        componentCount -= 1;
    }
    SelectPrevious();
    return 1;
}

void SmithChrt::SelectNext() {
    if (componentCount <= 0) {
        return;
    }
    activeIndex = activeIndex < componentCount - 1 ? activeIndex + 1 : 0;
}

void SmithChrt::SelectPrevious() {
    activeIndex = activeIndex > 0 ? activeIndex - 1 : componentCount - 1;
}

void SmithChrt::PickComponentAt(int32_t px, int32_t py) {
    const Complex z = ScreenToZ(px, py);
    if (componentCount < 2) {
        return;
    }
    double best = 1000000000000000.0;
    int32_t choice = activeIndex;
    const int64_t y = -int64_t{py};
    const int32_t n = std::min(componentCount, MAX_COMPONENTS);
    for (int32_t i = 0; i < n; ++i) {
        double d;
        if (z.re >= 0) {
            const double dy = static_cast<double>(y - tracePoints[i].y);
            const double dx = static_cast<double>(int64_t{px} - tracePoints[i].x);
            d = std::sqrt(dy * dy + dx * dx);
        } else {
            d = std::fabs(static_cast<double>(y - labelPoints[i].y));
        }
        if (d < best) {
            best = d;
            choice = i;
        }
    }
    activeIndex = choice;
}
