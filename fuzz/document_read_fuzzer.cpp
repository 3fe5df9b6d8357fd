// Document bytes through the reader alone, which is where hostile bytes arrive: read whole and
// trickled in small pieces (from a source that knows its size and from one that does not), with
// the same outcome and the same notes; then write, read and write again, and the two writes must
// be equal; the same again with the trailer's checksum made right. Drawing is left to the drawing
// harness, so that this one runs fast on big documents.
#include "fuzz/trailerchecksum.h"
#include "model/documentfile.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace {

void Require(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// Hands out the bytes a few at a time, as a slow file does; tells how many are left, as a file
// does, when knowsSize.
class TrickleSource : public ByteSource {
public:
    TrickleSource(std::span<const uint8_t> bytes, size_t piece, bool knowsSize)
        : bytes(bytes), piece(piece), knowsSize(knowsSize) {}
    size_t Read(uint8_t* dst, size_t n) override {
        const size_t k = std::min({n, piece, bytes.size() - pos});
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), k, dst);
        pos += k;
        return k;
    }
    std::optional<uint64_t> Remaining() const override {
        if (!knowsSize) {
            return std::nullopt;
        }
        return bytes.size() - pos;
    }

private:
    std::span<const uint8_t> bytes;
    size_t piece;
    bool knowsSize;
    size_t pos = 0;
};

SmithChrt NewDocument() {
    SmithChrt doc;
    doc.ResetForNewDocument();
    return doc;
}

void CheckReading(std::span<const uint8_t> bytes) {
    const size_t size = bytes.size();
    SmithChrt doc = NewDocument();
    std::vector<std::string> notes;
    const DocumentError error = ReadDocument(bytes, doc, &notes);
    SmithChrt streamed = NewDocument();
    std::vector<std::string> streamedNotes;
    // Pieces of 1 to 61 bytes, or large ones for a large input.
    const size_t piece = size > 65536 ? 4096 + size % 8191 : 1 + size % 61;
    TrickleSource source(bytes, piece, size % 2 == 0);
    Require(ReadDocument(source, streamed, &streamedNotes) == error);
    if (error != DocumentError::None) {
        return;
    }
    Require(streamedNotes == notes);
    std::vector<uint8_t> first;
    std::string cause;
    if (WriteDocument(doc, first, &cause) != DocumentError::None) {
        // Only a trailer over the limit refuses to be written, and a document read holds none.
        std::abort();
    }
    Require(WriteDocument(streamed) == first);

    SmithChrt again = NewDocument();
    std::vector<std::string> againNotes;
    Require(ReadDocument(first, again, &againNotes) == DocumentError::None);
    // What was written is read back whole.
    Require(againNotes.empty());
    Require(WriteDocument(again) == first);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    CheckReading(bytes);
    if (const auto fixed = WithTrailerChecksum(bytes)) {
        CheckReading(*fixed);
    }
    return 0;
}
