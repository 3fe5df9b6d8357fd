// Document bytes through everything that draws them: read, then drawn at one window size that
// the input chooses (empty, single-pixel and very thin windows among them), with the readout and
// the JSON; a trailer is given the checksum its bytes need, so that changed records are drawn.
// Reading itself, whole and trickled, is the reading harness's.
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "cli/networkevaluation.h"
#include "cli/networkjson.h"
#include "cli/recordedreadout.h"
#include "fuzz/trailerchecksum.h"
#include "model/documentfile.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cstdlib>
#include <span>

namespace {

void Require(bool ok) {
    if (!ok) {
        std::abort();
    }
}

SmithChrt NewDocument() {
    SmithChrt doc;
    doc.ResetForNewDocument();
    return doc;
}

struct Size {
    int32_t width;
    int32_t height;
};

// Empty, single-pixel and very thin windows, and ordinary ones.
constexpr Size kSizes[] = {{0, 0}, {1, 1}, {1, 900}, {900, 1}, {3, 2}, {640, 480}, {1920, 1080}};

void DrawAtOneSize(const SmithChrt& doc, Size size, IDateTimeText& clock) {
    SmithChrt sc = doc;
    MessageCollector messages;
    sc.messages = &messages;
    RecordingSurface surface;
    DrawChart(sc, surface, DeviceToLogical({0, 0, size.width, size.height}), clock);
    for (const DrawCall& call : surface.calls) {
        if (call.op == DrawCall::Op::LineTo) {
            Require(IsValidPoint(call.from) && IsValidPoint(call.to));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    const auto fixed = WithTrailerChecksum(input);
    SmithChrt doc = NewDocument();
    if (ReadDocument(fixed ? std::span<const uint8_t>(*fixed) : input, doc) !=
        DocumentError::None) {
        return 0;
    }
    FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    // The size comes from the input's length: bytes added after the document change it.
    DrawAtOneSize(doc, kSizes[size % std::size(kSizes)], clock);
    MessageCollector messages;
    SmithChrt evaluated = doc;
    evaluated.messages = &messages;
    const RecordedReadout readout = RecordReadout(evaluated, 800, 400, clock);
    const std::string json =
        NetworkJson(evaluated, EvaluateNetwork(evaluated), readout.maxNetworkQ);
    Require(!json.empty() && json.back() == '\n');
    return 0;
}
