#include "cli/cliedits.h"

#include "cli/wizardexchange.h"
#include "model/bandsettings.h"
#include "model/devicebinding.h"
#include "model/measuredbinding.h"
#include "model/messagesink.h"
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
    if (o.matchMe && !ApplyMatchMe(*o.matchMe, doc, messages)) {
        return false;
    }
    if (o.filter && !ApplyFilter(*o.filter, doc, messages)) {
        return false;
    }
    UnbindEdited(doc, messages);
    return true;
}
