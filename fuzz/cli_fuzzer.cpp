// The command line's option parsing, with the edits and wizards it drives and the text outputs it
// writes (no files): arguments are the input split at NUL bytes. The band options (--band,
// --band-off) reach the readout's draw with its locus, the JSON's band and the swept netlist.
#include "chart/datetimetext.h"
#include "cli/cliedits.h"
#include "cli/clioptions.h"
#include "cli/frequencysweep.h"
#include "cli/networkevaluation.h"
#include "cli/networkjson.h"
#include "cli/recordedreadout.h"
#include "cli/spicenetlist.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Enough rows to cover a sweep's first, inner and last rows, not so many that a run drags.
constexpr int32_t kMaxSweepRows = 40;
// The same for a band: its evaluation, locus, readout line, JSON and netlist at every point.
constexpr int32_t kFuzzBandPoints = 40;

std::vector<std::string> Arguments(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    return args;
}

void WriteTextOutputs(const CliOptions& o, SmithChrt& doc) {
    FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    std::ostringstream out;
    const RecordedReadout readout = RecordReadout(doc, o.width, o.height, clock);
    if (o.json) {
        out << NetworkJson(doc, EvaluateNetwork(doc), readout.maxNetworkQ);
    }
    if (o.sweep) {
        FrequencyGrid sweep = *o.sweep;
        sweep.points = std::min(sweep.points, kMaxSweepRows);
        WriteSweepCsv(doc, sweep, out);
    }
    if (o.spice) {
        out << WriteSpiceNetlist(doc).text;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CliParseResult parsed = ParseCliOptions(Arguments(data, size));
    if (!parsed.options || parsed.options->help) {
        return 0;
    }
    SmithChrt doc;
    doc.ResetForNewDocument();
    MessageCollector messages;
    doc.messages = &messages;
    CliOptions options = *parsed.options;
    if (options.band) {
        options.band->points = std::min(options.band->points, kFuzzBandPoints);
    }
    if (ApplyCliEdits(options, doc, messages)) {
        WriteTextOutputs(options, doc);
    }
    return 0;
}
