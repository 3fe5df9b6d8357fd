#include "cli/cliedits.h"

#include "cli/wizardexchange.h"
#include "model/bandsettings.h"
#include "model/devicebinding.h"
#include "model/losses.h"
#include "model/measuredbinding.h"
#include "model/messagesink.h"
#include "model/networkflip.h"
#include "model/smithchrt.h"

namespace {

constexpr LoadEnd kEnds[] = {LoadEnd::Start, LoadEnd::Goal};

// An impedance set by an edit is no longer its data's: unbinds it and says so.
void UnbindEdited(SmithChrt& doc, IMessageSink& messages) {
    std::string names[2];
    for (const LoadEnd end : kEnds) {
        if (const auto& data = BoundData(doc, end)) {
            names[static_cast<int>(end)] = data->name;
        }
    }
    for (const LoadEnd end : UnbindEditedEnds(doc)) {
        messages.Report(UnboundByEditMessage(end, names[static_cast<int>(end)]));
    }
}

bool UnbindData(SmithChrt& doc, IMessageSink& messages) {
    for (const LoadEnd end : kEnds) {
        if (!UnbindMeasuredData(doc, end)) {
            messages.Report("--unbind-data: " + NoValueMessage(doc, end));
            return false;
        }
    }
    return true;
}

bool ApplyMatchMe(const MatchMeRequest& request, SmithChrt& doc, IMessageSink& messages) {
    for (const LoadEnd end : kEnds) {
        if (HasNoFiniteValueNow(doc, end)) {
            messages.Report("--matchme: the matching wizard needs both impedances: " +
                            NoValueMessage(doc, end));
            return false;
        }
    }
    if (const std::string problem = DeviceGoalProblem(doc); !problem.empty()) {
        messages.Report("--matchme: the matching wizard needs both impedances: the goal from the "
                        "device has no value here: " +
                        problem);
        return false;
    }
    MatchMeInput input;
    if (const std::optional<FieldError> e = ExchangeMatchMe(request, doc, input)) {
        messages.Report(e->message);
        return false;
    }
    RunMatchMe(doc, input, &messages);
    return true;
}

bool ApplyFilter(const FilterRequest& request, SmithChrt& doc, IMessageSink& messages) {
    FilterInput input;
    if (const std::optional<FieldError> e = ExchangeFilter(request, input)) {
        messages.Report(e->message);
        return false;
    }
    RunFilter(doc, input, &messages);
    return true;
}

// A lossless value clears the default.
void SetDefault(std::optional<LossSpec>& field, const std::optional<LossSpec>& given,
                LossClass cls) {
    if (given) {
        field = IsLossless(*given, cls) ? std::nullopt : given;
    }
}

bool ApplyLosses(const CliOptions& o, SmithChrt& doc, IMessageSink& messages) {
    if (o.lossless) {
        doc.losses = {};
        for (Component& c : doc.components) {
            c.loss.reset();
        }
    }
    SetDefault(doc.losses.inductorQ, o.inductorQ, LossClass::QualityFactor);
    SetDefault(doc.losses.capacitorQ, o.capacitorQ, LossClass::QualityFactor);
    SetDefault(doc.losses.lineLoss, o.lineLoss, LossClass::Line);
    for (const PartLossRequest& r : o.partLosses) {
        const std::string name = "--component-loss: component " + std::to_string(r.index + 1);
        if (r.index >= doc.componentCount) {
            messages.Report(name + ": the network has " + std::to_string(doc.componentCount) +
                            " components");
            return false;
        }
        Component& c = doc.components[r.index];
        const LossClass cls = LossClassOf(c.kind);
        if (cls == LossClass::None) {
            messages.Report(name + " is not an inductor, capacitor or line: it keeps its own R");
            return false;
        }
        if (const std::string problem = CheckLossSpec(r.setting, cls); !problem.empty()) {
            messages.Report(name + ": " + problem);
            return false;
        }
        c.loss = r.setting;
    }
    return true;
}

} // namespace

bool ApplyCliEdits(const CliOptions& o, SmithChrt& doc, IMessageSink& messages) {
    if (o.frequency) {
        doc.frequency = *o.frequency;
    }
    RefreshBoundImpedances(doc);
    if (o.band) {
        SetBand(doc, o.band->first, o.band->last, o.band->points);
        doc.band.display = true;
    }
    if (o.bandOff) {
        doc.band = BandSettings{};
        doc.bandLimit = {};
    }
    if (o.bandLimit) {
        doc.bandLimit = *o.bandLimit;
    }
    if (o.unbindData && !UnbindData(doc, messages)) {
        return false;
    }
    if (o.unbindDevice) {
        UnloadDevice(doc);
    }
    if (o.circles) {
        doc.circles = *o.circles;
    }
    if (o.goalDevice && !BindGoalToDevice(doc, *ParseDeviceGoal(*o.goalDevice))) {
        messages.Report("--goal-device: no device is loaded (--device FILE loads one)");
        return false;
    }
    if (o.z0) {
        doc.chartZ0 = {*o.z0, 0.0};
    }
    if (o.startZ) {
        doc.startZ = *o.startZ;
    }
    if (o.goalZ) {
        doc.goalZ = *o.goalZ;
        doc.deviceGoal = 0; // a goal typed by hand no longer follows the device
    }
    UnbindEdited(doc, messages);
    if (!ApplyLosses(o, doc, messages)) {
        return false;
    }
    if (o.matchMe && !ApplyMatchMe(*o.matchMe, doc, messages)) {
        return false;
    }
    if (o.filter && !ApplyFilter(*o.filter, doc, messages)) {
        return false;
    }
    UnbindEdited(doc, messages);
    if (o.flip) {
        FlipNetwork(doc);
    }
    return true;
}
