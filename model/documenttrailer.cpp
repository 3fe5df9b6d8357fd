#include "model/documenttrailer.h"

#include "model/archive.h"
#include "model/losses.h"
#include "model/measuredbinding.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        t[i] = c;
    }
    return t;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t LoadU32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void AppendU32(std::vector<uint8_t>& out, uint32_t v) {
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    out.insert(out.end(), p, p + sizeof v);
}

// The band record: low, high (double, MHz), points (int32), display, junction loci (byte each).
bool BandIsDefault(const SmithChrt& chart) {
    return chart.band == BandSettings{};
}

void WriteBand(const SmithChrt& chart, RecordWriter& out) {
    out.Double(chart.band.low);
    out.Double(chart.band.high);
    out.Int32(chart.band.points);
    out.Byte(chart.band.display ? 1 : 0);
    out.Byte(chart.band.junctionLoci ? 1 : 0);
}

bool ReadBand(RecordReader& in, SmithChrt& chart) {
    BandSettings b;
    uint8_t display = 0;
    uint8_t junctions = 0;
    if (!in.Double(b.low) || !in.Double(b.high) || !in.Int32(b.points) || !in.Byte(display) ||
        !in.Byte(junctions)) {
        return false;
    }
    b.display = display != 0;
    b.junctionLoci = junctions != 0;
    // An unset range is stored by a document that only changed the points or junction flag;
    // the display needs a range.
    const bool rangeOk = b.IsSet() ? CheckBand(b) == BandProblem::None
                                   : b.points >= kMinBandPoints && b.points <= kMaxBandPoints;
    if (!rangeOk || (b.display && !b.IsSet())) {
        return false;
    }
    chart.band = b;
    return true;
}

void ResetBand(SmithChrt& chart) {
    chart.band = BandSettings{};
}

// The data records: the data's name (text), the point count (uint32), then per point its
// frequency (MHz), reference (ohm), gamma re and im, impedance re and im, six doubles.
constexpr size_t kMeasuredPointBytes = 6 * sizeof(double);
constexpr size_t kMaxMeasuredNameBytes = 4096;

void WriteMeasured(const MeasuredData& data, RecordWriter& out) {
    out.Text(data.name);
    out.UInt32(static_cast<uint32_t>(data.points.size()));
    for (const MeasuredPoint& p : data.points) {
        out.Double(p.frequency);
        out.Double(p.reference);
        out.Double(p.gamma.re);
        out.Double(p.gamma.im);
        out.Double(p.impedance.re);
        out.Double(p.impedance.im);
    }
}

bool ReadMeasured(RecordReader& in, SmithChrt& chart, LoadEnd end) {
    auto data = std::make_shared<MeasuredData>();
    uint32_t count = 0;
    // The count is checked against the bytes present before anything is allocated.
    if (!in.Text(data->name, kMaxMeasuredNameBytes) || !in.UInt32(count) ||
        in.Remaining() / kMeasuredPointBytes < count) {
        return false;
    }
    data->points.resize(count);
    for (MeasuredPoint& p : data->points) {
        in.Double(p.frequency);
        in.Double(p.reference);
        in.Double(p.gamma.re);
        in.Double(p.gamma.im);
        in.Double(p.impedance.re);
        in.Double(p.impedance.im);
    }
    if (!in.Ok() || !CheckMeasuredData(*data).empty()) {
        return false;
    }
    BindMeasuredData(chart, end, std::move(data));
    return true;
}

// The four functions of a data record, for either impedance.
template <LoadEnd end> bool DataIsDefault(const SmithChrt& chart) {
    return BoundData(chart, end) == nullptr;
}
template <LoadEnd end> void WriteData(const SmithChrt& chart, RecordWriter& out) {
    WriteMeasured(*BoundData(chart, end), out);
}
template <LoadEnd end> bool ReadData(RecordReader& in, SmithChrt& chart) {
    return ReadMeasured(in, chart, end);
}
template <LoadEnd end> void ResetData(SmithChrt& chart) {
    (end == LoadEnd::Start ? chart.startData : chart.goalData).reset();
}

// A loss: value (Q or dB), reference frequency (MHz), law (int32).
void WriteLossSpec(const LossSpec& spec, RecordWriter& out) {
    out.Double(spec.value);
    out.Double(spec.mhz);
    out.Int32(static_cast<int32_t>(spec.law));
}

bool ReadLossSpec(RecordReader& in, LossClass cls, LossSpec& spec) {
    int32_t law = 0;
    if (!in.Double(spec.value) || !in.Double(spec.mhz) || !in.Int32(law)) {
        return false;
    }
    spec.law = static_cast<LossLaw>(law);
    return CheckLossSpec(spec, cls).empty();
}

// The defaults record: for inductors, capacitors and lines in turn a byte (set or not) and, when
// set, the loss.
struct DefaultSlot {
    std::optional<LossSpec> LossSettings::*field;
    LossClass cls;
};
constexpr DefaultSlot kDefaultSlots[] = {
    {&LossSettings::inductorQ, LossClass::QualityFactor},
    {&LossSettings::capacitorQ, LossClass::QualityFactor},
    {&LossSettings::lineLoss, LossClass::Line},
};

bool LossDefaultsAreDefault(const SmithChrt& chart) {
    return !chart.losses.IsSet();
}

void WriteLossDefaults(const SmithChrt& chart, RecordWriter& out) {
    for (const DefaultSlot& slot : kDefaultSlots) {
        const std::optional<LossSpec>& spec = chart.losses.*slot.field;
        out.Byte(spec ? 1 : 0);
        if (spec) {
            WriteLossSpec(*spec, out);
        }
    }
}

bool ReadLossDefaults(RecordReader& in, SmithChrt& chart) {
    LossSettings read;
    for (const DefaultSlot& slot : kDefaultSlots) {
        uint8_t set = 0;
        if (!in.Byte(set)) {
            return false;
        }
        if (set != 0) {
            LossSpec spec;
            if (!ReadLossSpec(in, slot.cls, spec)) {
                return false;
            }
            read.*slot.field = spec;
        }
    }
    chart.losses = read;
    return true;
}

void ResetLossDefaults(SmithChrt& chart) {
    chart.losses = {};
}

// The parts' own settings: a count (uint32), then per part its index (int32, 0-based) and loss.
constexpr size_t kPartLossBytes = 4 + 8 + 8 + 4;

bool PartLossesAreDefault(const SmithChrt& chart) {
    const int32_t n = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    return std::none_of(chart.components.begin(), chart.components.begin() + n,
                        [](const Component& c) { return c.loss.has_value(); });
}

void WritePartLosses(const SmithChrt& chart, RecordWriter& out) {
    const int32_t n = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    uint32_t count = 0;
    for (int32_t i = 0; i < n; ++i) {
        count += chart.components[i].loss ? 1 : 0;
    }
    out.UInt32(count);
    for (int32_t i = 0; i < n; ++i) {
        if (const std::optional<LossSpec>& spec = chart.components[i].loss) {
            out.Int32(i);
            WriteLossSpec(*spec, out);
        }
    }
}

void ResetPartLosses(SmithChrt& chart) {
    for (Component& c : chart.components) {
        c.loss.reset();
    }
}

// A part that is not in the network or takes no loss makes the whole record unusable.
bool ReadPartLosses(RecordReader& in, SmithChrt& chart) {
    uint32_t count = 0;
    if (!in.UInt32(count) || in.Remaining() / kPartLossBytes < count) {
        return false;
    }
    const int32_t n = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    for (uint32_t k = 0; k < count; ++k) {
        int32_t index = -1;
        LossSpec spec;
        if (!in.Int32(index) || index < 0 || index >= n ||
            !ReadLossSpec(in, LossClassOf(chart.components[index].kind), spec)) {
            ResetPartLosses(chart);
            return false;
        }
        chart.components[index].loss = spec;
    }
    return true;
}

constexpr TrailerRecordKind kKinds[] = {
    {kBandRecordTag, BandIsDefault, WriteBand, ReadBand, ResetBand},
    {kStartDataRecordTag, DataIsDefault<LoadEnd::Start>, WriteData<LoadEnd::Start>,
     ReadData<LoadEnd::Start>, ResetData<LoadEnd::Start>},
    {kGoalDataRecordTag, DataIsDefault<LoadEnd::Goal>, WriteData<LoadEnd::Goal>,
     ReadData<LoadEnd::Goal>, ResetData<LoadEnd::Goal>},
    {kLossDefaultsRecordTag, LossDefaultsAreDefault, WriteLossDefaults, ReadLossDefaults,
     ResetLossDefaults},
    {kPartLossRecordTag, PartLossesAreDefault, WritePartLosses, ReadPartLosses, ResetPartLosses},
};

const TrailerRecordKind* FindKind(RecordTag tag) {
    for (const TrailerRecordKind& k : kKinds) {
        if (k.tag == tag) {
            return &k;
        }
    }
    return nullptr;
}

// The record area's length when the header is ours, of a version we read, and not too large.
bool ReadHeader(std::span<const uint8_t> bytes, uint32_t& bodyLength) {
    if (bytes.size() < kTrailerHeaderSize ||
        !std::equal(kTrailerMagic.begin(), kTrailerMagic.end(), bytes.begin())) {
        return false;
    }
    if (LoadU32(bytes.data() + 8) != kTrailerVersion) {
        return false;
    }
    bodyLength = LoadU32(bytes.data() + 12);
    return bodyLength <= kMaxTrailerBody;
}

// Splits a whole trailer into its records; false when anything about it is wrong.
bool ParseTrailer(std::span<const uint8_t> bytes, std::vector<TrailerRecord>& records) {
    uint32_t length = 0;
    if (!ReadHeader(bytes, length) ||
        bytes.size() - kTrailerHeaderSize < size_t{length} + kTrailerCrcSize) {
        return false;
    }
    const size_t end = kTrailerHeaderSize + length;
    if (Crc32(bytes.first(end)) != LoadU32(bytes.data() + end)) {
        return false;
    }
    size_t pos = kTrailerHeaderSize;
    while (pos < end) {
        if (end - pos < 8) {
            return false;
        }
        const uint32_t n = LoadU32(bytes.data() + pos + 4);
        if (end - pos - 8 < n) {
            return false;
        }
        TrailerRecord r;
        r.tag = LoadU32(bytes.data() + pos);
        r.payload.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos + 8),
                         bytes.begin() + static_cast<std::ptrdiff_t>(pos + 8 + n));
        records.push_back(std::move(r));
        pos += 8 + size_t{n};
    }
    return true;
}

void AppendRecord(std::vector<uint8_t>& out, RecordTag tag, std::span<const uint8_t> payload) {
    AppendU32(out, tag);
    AppendU32(out, static_cast<uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
}

} // namespace

std::span<const TrailerRecordKind> KnownTrailerRecordKinds() {
    return kKinds;
}

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc) {
    crc = ~crc;
    for (const uint8_t b : bytes) {
        crc = kCrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

void ResetExtensions(SmithChrt& chart) {
    for (const TrailerRecordKind& k : kKinds) {
        k.reset(chart);
    }
    chart.unknownRecords.clear();
}

std::vector<uint8_t> EncodeTrailer(const SmithChrt& chart) {
    std::vector<uint8_t> out(kTrailerMagic.begin(), kTrailerMagic.end());
    AppendU32(out, kTrailerVersion);
    AppendU32(out, 0); // the record area's length, filled in below
    for (const TrailerRecordKind& k : kKinds) {
        if (!k.isDefault(chart)) {
            RecordWriter w;
            k.write(chart, w);
            AppendRecord(out, k.tag, w.Bytes());
        }
    }
    for (const TrailerRecord& r : chart.unknownRecords) {
        AppendRecord(out, r.tag, r.payload);
    }
    const size_t length = out.size() - kTrailerHeaderSize;
    if (length == 0) {
        return {};
    }
    const auto l32 = static_cast<uint32_t>(length);
    std::memcpy(out.data() + 12, &l32, sizeof l32);
    AppendU32(out, Crc32(out));
    return out;
}

bool DecodeTrailer(std::span<const uint8_t> bytes, SmithChrt& chart) {
    ResetExtensions(chart);
    std::vector<TrailerRecord> records;
    if (!ParseTrailer(bytes, records)) {
        return false;
    }
    std::vector<RecordTag> seen;
    for (TrailerRecord& r : records) {
        const TrailerRecordKind* kind = FindKind(r.tag);
        if (kind == nullptr) {
            chart.unknownRecords.push_back(std::move(r));
            continue;
        }
        if (std::find(seen.begin(), seen.end(), r.tag) != seen.end()) {
            continue;
        }
        seen.push_back(r.tag);
        RecordReader in(r.payload);
        if (!kind->read(in, chart)) {
            kind->reset(chart);
        }
    }
    return true;
}

void SerializeTrailer(Archive& ar, SmithChrt& chart) {
    if (!ar.IsLoading()) {
        const std::vector<uint8_t> bytes = EncodeTrailer(chart);
        ar.WriteBytes(bytes);
        return;
    }
    ResetExtensions(chart);
    std::vector<uint8_t> bytes;
    uint32_t length = 0;
    if (!ar.ReadOptional(bytes, kTrailerHeaderSize) || !ReadHeader(bytes, length)) {
        return;
    }
    if (!ar.ReadOptional(bytes, size_t{length} + kTrailerCrcSize)) {
        return;
    }
    DecodeTrailer(bytes, chart);
}
