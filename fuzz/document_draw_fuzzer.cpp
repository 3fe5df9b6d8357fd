// Document bytes through everything that reads them: read (whole and streamed), draw at several
// window sizes, readout and JSON, then write, read and write again; the two writes must be equal.
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "cli/networkevaluation.h"
#include "cli/networkjson.h"
#include "cli/recordedreadout.h"
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

// Hands out the bytes a few at a time, as a slow file does.
class TrickleSource : public ByteSource {
public:
    TrickleSource(std::span<const uint8_t> bytes, size_t piece) : bytes(bytes), piece(piece) {}
    size_t Read(uint8_t* dst, size_t n) override {
        const size_t k = std::min({n, piece, bytes.size() - pos});
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), k, dst);
        pos += k;
        return k;
    }

private:
    std::span<const uint8_t> bytes;
    size_t piece;
    size_t pos = 0;
};

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

void DrawAtEverySize(const SmithChrt& doc, IDateTimeText& clock) {
    for (const Size size : kSizes) {
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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    SmithChrt doc = NewDocument();
    const DocumentError error = ReadDocument(bytes, doc);
    SmithChrt streamed = NewDocument();
    TrickleSource source(bytes, 1 + size % 61);
    Require(ReadDocument(source, streamed) == error);
    if (error != DocumentError::None) {
        return 0;
    }
    const std::vector<uint8_t> first = WriteDocument(doc);
    Require(WriteDocument(streamed) == first);

    FixedDateTimeText clock{std::string("07.12.2026 23:59")};
    DrawAtEverySize(doc, clock);
    MessageCollector messages;
    SmithChrt evaluated = doc;
    evaluated.messages = &messages;
    const RecordedReadout readout = RecordReadout(evaluated, 800, 400, clock);
    const std::string json =
        NetworkJson(evaluated, EvaluateNetwork(evaluated), readout.maxNetworkQ);
    Require(!json.empty() && json.back() == '\n');

    SmithChrt again = NewDocument();
    Require(ReadDocument(first, again) == DocumentError::None);
    Require(WriteDocument(again) == first);
    return 0;
}
