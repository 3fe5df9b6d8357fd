#include "cliedits.h"

#include "bandsettings.h"
#include "messagesink.h"
#include "smithchrt.h"
#include "wizardexchange.h"

namespace {

bool ApplyMatchMe(const MatchMeRequest& request, SmithChrt& doc, IMessageSink& messages) {
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
    if (o.band) {
        SetBand(doc, o.band->lowMHz, o.band->highMHz, o.band->points);
        doc.band.display = true;
    }
    if (o.bandOff) {
        doc.band = BandSettings{};
    }
    if (o.z0) {
        doc.chartZ0 = {*o.z0, 0.0};
    }
    if (o.startZ) {
        doc.startZ = *o.startZ;
    }
    if (o.goalZ) {
        doc.goalZ = *o.goalZ;
    }
    if (o.matchMe && !ApplyMatchMe(*o.matchMe, doc, messages)) {
        return false;
    }
    return !o.filter || ApplyFilter(*o.filter, doc, messages);
}
