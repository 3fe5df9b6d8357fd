#include "model/measuredbinding.h"

#include "model/bandsettings.h"
#include "model/devicebinding.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::shared_ptr<const MeasuredData>& Slot(SmithChrt& chart, LoadEnd end) {
    return end == LoadEnd::Start ? chart.startData : chart.goalData;
}

Complex& Impedance(SmithChrt& chart, LoadEnd end) {
    return end == LoadEnd::Start ? chart.startZ : chart.goalZ;
}

// The same value, NaN included (a NaN impedance left as it was is not an edit), within the
// digits a dialog shows: a value written into a field and read back is no edit either.
bool SameValue(double a, double b) {
    constexpr double kShownDigits = 1e-12;
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)) ||
           std::fabs(a - b) <= kShownDigits * std::max(1.0, std::fabs(b));
}

bool SameImpedance(Complex a, Complex b) {
    return SameValue(a.re, b.re) && SameValue(a.im, b.im);
}

} // namespace

const std::shared_ptr<const MeasuredData>& BoundData(const SmithChrt& chart, LoadEnd end) {
    return end == LoadEnd::Start ? chart.startData : chart.goalData;
}

Complex MeasuredValueOrNaN(const MeasuredData& data, double frequency) {
    const std::optional<Complex> z = MeasuredImpedanceAt(data, frequency);
    return z ? *z : Complex{kNaN, kNaN};
}

Complex BoundValueAt(const MeasuredData& data, LoadEnd end, double frequency) {
    const Complex z = MeasuredValueOrNaN(data, frequency);
    return end == LoadEnd::Goal ? Conjugate(z) : z;
}

MatchReflection GoalReflection(const SmithChrt& chart) {
    return chart.goalData != nullptr ? MatchReflection::PowerWave : MatchReflection::Plain;
}

MatchFigures ChartMatch(const SmithChrt& chart, Complex endZ) {
    return ComputeMatch(endZ, chart.goalZ, GoalReflection(chart));
}

bool HasValueAt(const MeasuredData& data, double frequency) {
    return !data.points.empty() && frequency >= data.points.front().frequency &&
           frequency <= data.points.back().frequency;
}

std::string CheckBindable(const MeasuredData& data) {
    if (data.points.size() > kMaxBoundPoints) {
        return "the data has " + std::to_string(data.points.size()) +
               " frequencies; a document holds at most " + std::to_string(kMaxBoundPoints);
    }
    return CheckMeasuredData(data);
}

void BindMeasuredData(SmithChrt& chart, LoadEnd end, std::shared_ptr<const MeasuredData> data) {
    Slot(chart, end) = std::move(data);
    RefreshBoundImpedances(chart);
}

void RefreshBoundImpedances(SmithChrt& chart) {
    for (const LoadEnd end : {LoadEnd::Start, LoadEnd::Goal}) {
        if (const auto& data = BoundData(chart, end)) {
            Impedance(chart, end) = BoundValueAt(*data, end, chart.frequency);
        }
    }
    RefreshDeviceGoal(chart);
}

bool HasNoValueNow(const SmithChrt& chart, LoadEnd end) {
    const auto& data = BoundData(chart, end);
    return data != nullptr && !HasValueAt(*data, chart.frequency);
}

bool HasNoFiniteValueNow(const SmithChrt& chart, LoadEnd end) {
    const Complex z = end == LoadEnd::Start ? chart.startZ : chart.goalZ;
    return BoundData(chart, end) != nullptr && !(std::isfinite(z.re) && std::isfinite(z.im));
}

bool UnbindMeasuredData(SmithChrt& chart, LoadEnd end) {
    if (HasNoFiniteValueNow(chart, end)) {
        return false;
    }
    Slot(chart, end).reset();
    return true;
}

std::vector<LoadEnd> EditedEnds(const SmithChrt& chart) {
    std::vector<LoadEnd> edited;
    for (const LoadEnd end : {LoadEnd::Start, LoadEnd::Goal}) {
        const auto& data = BoundData(chart, end);
        const Complex z = end == LoadEnd::Start ? chart.startZ : chart.goalZ;
        if (data != nullptr && !SameImpedance(z, BoundValueAt(*data, end, chart.frequency))) {
            edited.push_back(end);
        }
    }
    return edited;
}

void RestoreBoundValue(SmithChrt& chart, LoadEnd end) {
    if (const auto& data = BoundData(chart, end)) {
        Impedance(chart, end) = BoundValueAt(*data, end, chart.frequency);
    }
}

std::string BoundNote(const SmithChrt& chart, LoadEnd end) {
    const auto& data = BoundData(chart, end);
    if (data == nullptr) {
        return {};
    }
    return (end == LoadEnd::Start ? "From data: " : "Conjugate of data: ") + data->name;
}

std::string UnbindQuestion(LoadEnd end, const std::string& dataName) {
    std::string text = end == LoadEnd::Start ? "The starting" : "The goal";
    return text + " impedance comes from " + dataName +
           ". Setting it by hand unbinds it from the data. Unbind it (Yes), or keep the data "
           "(No)?";
}

std::vector<LoadEnd> UnbindEditedEnds(SmithChrt& chart) {
    std::vector<LoadEnd> unbound;
    if (chart.device != nullptr && chart.deviceGoal != 0) {
        // A goal edited by hand no longer follows the device.
        const DeviceGoalValue v =
            DeviceGoalAt(*chart.device, static_cast<DeviceGoal>(chart.deviceGoal), chart.frequency);
        if (!SameImpedance(chart.goalZ, v.z ? *v.z : Complex{kNaN, kNaN})) {
            chart.deviceGoal = 0;
        }
    }
    for (const LoadEnd end : {LoadEnd::Start, LoadEnd::Goal}) {
        const auto& data = BoundData(chart, end);
        if (data != nullptr &&
            !SameImpedance(Impedance(chart, end), BoundValueAt(*data, end, chart.frequency))) {
            Slot(chart, end).reset();
            unbound.push_back(end);
        }
    }
    return unbound;
}

std::string NoValueMessage(const SmithChrt& chart, LoadEnd end) {
    const auto& data = BoundData(chart, end);
    if (data == nullptr || data->points.empty()) {
        return {};
    }
    if (HasValueAt(*data, chart.frequency)) {
        return std::string("the ") + LoadEndWord(end) + " impedance's data (" + data->name +
               ") is an ideal open at " + FormatG15(chart.frequency) + " MHz: no finite impedance";
    }
    return std::string("the ") + LoadEndWord(end) + " impedance's data (" + data->name +
           ") has no value at " + FormatG15(chart.frequency) + " MHz: it covers " +
           FormatG15(data->points.front().frequency) + " to " +
           FormatG15(data->points.back().frequency) + " MHz";
}

const char* LoadEndWord(LoadEnd end) {
    return end == LoadEnd::Start ? "starting" : "goal";
}

std::string UnboundByEditMessage(LoadEnd end, const std::string& dataName) {
    std::string text = end == LoadEnd::Start ? "The starting" : "The goal";
    return text + " impedance was set by hand, so it is no longer bound to " + dataName + ".";
}

std::vector<Complex> MeasuredLocus(const MeasuredData& data, const BandSettings& band) {
    std::vector<Complex> locus;
    if (!band.display || !band.IsSet()) {
        locus.reserve(data.points.size());
        for (const MeasuredPoint& p : data.points) {
            locus.push_back(p.impedance);
        }
        return locus;
    }
    if (const std::optional<Complex> z = MeasuredImpedanceAt(data, band.low)) {
        locus.push_back(*z);
    }
    for (const MeasuredPoint& p : data.points) {
        if (p.frequency > band.low && p.frequency < band.high) {
            locus.push_back(p.impedance);
        }
    }
    if (const std::optional<Complex> z = MeasuredImpedanceAt(data, band.high)) {
        locus.push_back(*z);
    }
    return locus;
}

ReferenceSpan ReferencesOf(const MeasuredData& data) {
    if (data.points.empty()) {
        return {kNaN, kNaN};
    }
    ReferenceSpan span{data.points.front().reference, data.points.front().reference};
    for (const MeasuredPoint& p : data.points) {
        span.low = std::min(span.low, p.reference);
        span.high = std::max(span.high, p.reference);
    }
    return span;
}
