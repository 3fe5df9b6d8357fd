#include "model/documenttrailer.h"

#include "model/archive.h"
#include "model/devicebinding.h"
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

// The device record: the device's name (text), the goal's binding (int32: DeviceGoal), the circle
// families (four bytes: stability, available gain, operating gain, noise) and their three step
// lists (uint32 count, then doubles), the point count (uint32) and per point frequency,
// reference, S11, S12, S21, S22 (ten doubles), the noise point count and per noise point
// frequency, reference, Fmin in dB, Gamma_opt re and im, Rn in ohm (six doubles).
constexpr size_t kDevicePointBytes = 10 * sizeof(double);
constexpr size_t kNoisePointBytes = 6 * sizeof(double);
constexpr uint32_t kMaxCircleSteps = 12;

bool DeviceIsDefault(const SmithChrt& chart) {
    return chart.device == nullptr;
}

void WriteSteps(const std::vector<double>& steps, RecordWriter& out) {
    out.UInt32(static_cast<uint32_t>(steps.size()));
    for (const double v : steps) {
        out.Double(v);
    }
}

bool ReadSteps(RecordReader& in, std::vector<double>& steps) {
    uint32_t n = 0;
    if (!in.UInt32(n) || n > kMaxCircleSteps) {
        return false;
    }
    steps.assign(n, 0.0);
    for (double& v : steps) {
        if (!in.Double(v) || !(v > 0.0 && v <= 100.0)) {
            return false;
        }
    }
    return true;
}

void WriteComplex(Complex z, RecordWriter& out) {
    out.Double(z.re);
    out.Double(z.im);
}

void ReadComplex(RecordReader& in, Complex& z) {
    in.Double(z.re);
    in.Double(z.im);
}

void WriteDevice(const SmithChrt& chart, RecordWriter& out) {
    const DeviceData& d = *chart.device;
    out.Text(d.name);
    out.Int32(chart.deviceGoal);
    const CircleSettings& c = chart.circles;
    for (const bool on : {c.stability, c.availableGain, c.operatingGain, c.noise}) {
        out.Byte(on ? 1 : 0);
    }
    WriteSteps(c.availableSteps, out);
    WriteSteps(c.operatingSteps, out);
    WriteSteps(c.noiseSteps, out);
    out.UInt32(static_cast<uint32_t>(d.points.size()));
    for (const DevicePoint& p : d.points) {
        out.Double(p.frequency);
        out.Double(p.reference);
        for (const Complex z : {p.s11, p.s12, p.s21, p.s22}) {
            WriteComplex(z, out);
        }
    }
    out.UInt32(static_cast<uint32_t>(d.noise.size()));
    for (const NoisePoint& n : d.noise) {
        out.Double(n.frequency);
        out.Double(n.reference);
        out.Double(n.fminDb);
        WriteComplex(n.gammaOpt, out);
        out.Double(n.rn);
    }
}

bool ReadDevice(RecordReader& in, SmithChrt& chart) {
    auto d = std::make_shared<DeviceData>();
    int32_t goal = 0;
    CircleSettings c;
    uint8_t on[4] = {};
    if (!in.Text(d->name, kMaxMeasuredNameBytes) || !in.Int32(goal) || goal < 0 || goal > 3 ||
        !in.Byte(on[0]) || !in.Byte(on[1]) || !in.Byte(on[2]) || !in.Byte(on[3]) ||
        !ReadSteps(in, c.availableSteps) || !ReadSteps(in, c.operatingSteps) ||
        !ReadSteps(in, c.noiseSteps)) {
        return false;
    }
    c.stability = on[0] != 0;
    c.availableGain = on[1] != 0;
    c.operatingGain = on[2] != 0;
    c.noise = on[3] != 0;
    uint32_t count = 0;
    if (!in.UInt32(count) || in.Remaining() / kDevicePointBytes < count) {
        return false;
    }
    d->points.resize(count);
    for (DevicePoint& p : d->points) {
        in.Double(p.frequency);
        in.Double(p.reference);
        for (Complex* z : {&p.s11, &p.s12, &p.s21, &p.s22}) {
            ReadComplex(in, *z);
        }
    }
    if (!in.UInt32(count) || in.Remaining() / kNoisePointBytes < count) {
        return false;
    }
    d->noise.resize(count);
    for (NoisePoint& n : d->noise) {
        in.Double(n.frequency);
        in.Double(n.reference);
        in.Double(n.fminDb);
        ReadComplex(in, n.gammaOpt);
        in.Double(n.rn);
    }
    if (!in.Ok() || !CheckDeviceData(*d).empty()) {
        return false;
    }
    LoadDevice(chart, std::move(d));
    chart.circles = c;
    chart.deviceGoal = goal;
    if (goal != 0) {
        chart.goalData.reset(); // the goal follows one thing only
    }
    return true;
}

void ResetDevice(SmithChrt& chart) {
    chart.device.reset();
    chart.deviceGoal = 0;
    chart.circles = CircleSettings{};
}

constexpr TrailerRecordKind kKinds[] = {
    {kBandRecordTag, BandIsDefault, WriteBand, ReadBand, ResetBand},
    {kStartDataRecordTag, DataIsDefault<LoadEnd::Start>, WriteData<LoadEnd::Start>,
     ReadData<LoadEnd::Start>, ResetData<LoadEnd::Start>},
    {kGoalDataRecordTag, DataIsDefault<LoadEnd::Goal>, WriteData<LoadEnd::Goal>,
     ReadData<LoadEnd::Goal>, ResetData<LoadEnd::Goal>},
    {kDeviceRecordTag, DeviceIsDefault, WriteDevice, ReadDevice, ResetDevice},
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
