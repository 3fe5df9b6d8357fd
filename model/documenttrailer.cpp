#include "model/documenttrailer.h"

#include "model/archive.h"
#include "model/devicebinding.h"
#include "model/losses.h"
#include "model/measuredbinding.h"
#include "model/numbertext.h"
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

// The band's limit record: kind (byte: 1 return loss, 2 VSWR), value (double).
bool LimitIsDefault(const SmithChrt& chart) {
    return !chart.bandLimit.IsSet();
}

void WriteLimit(const SmithChrt& chart, RecordWriter& out) {
    out.Byte(static_cast<uint8_t>(chart.bandLimit.kind));
    out.Double(chart.bandLimit.value);
}

bool ReadLimit(RecordReader& in, SmithChrt& chart) {
    uint8_t kind = 0;
    BandLimit limit;
    if (!in.Byte(kind) || !in.Double(limit.value) || kind < 1 || kind > 2) {
        return false;
    }
    limit.kind = static_cast<BandLimitKind>(kind);
    if (*BandLimitProblem(limit) != '\0') {
        return false;
    }
    chart.bandLimit = limit;
    return true;
}

void ResetLimit(SmithChrt& chart) {
    chart.bandLimit = {};
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

// The goal's record ends with the version of its meaning: 2 since the goal bound to data is the
// conjugate of the data's impedance. A record without it was saved when the goal was the data's
// impedance itself; it opens with the new meaning, and says so.
constexpr uint32_t kGoalDataMeaning = 2;

std::string OlderGoalMessage(const std::string& name) {
    return "This document was saved by an earlier version, in which a goal bound to data was the "
           "data's impedance itself. The goal bound to " +
           name +
           " is now the conjugate of the data's impedance, the impedance the network must end in "
           "for a conjugate match, and VSWR, return and mismatch loss are those the generator "
           "sees.";
}

bool ReadMeasured(RecordReader& in, SmithChrt& chart, LoadEnd end) {
    auto data = std::make_shared<MeasuredData>();
    uint32_t count = 0;
    // The count is checked against the bytes present before anything is allocated, and held to
    // the most points that can be bound.
    if (!in.Text(data->name, kMaxMeasuredNameBytes) || !in.UInt32(count) ||
        in.Remaining() / kMeasuredPointBytes < count) {
        return false;
    }
    if (count > kMaxBoundPoints) {
        in.Refuse("it has " + std::to_string(count) + " frequencies; a document holds at most " +
                  std::to_string(kMaxBoundPoints));
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
    if (!in.Ok()) {
        return false;
    }
    if (const std::string problem = CheckBindable(*data); !problem.empty()) {
        in.Refuse(problem);
        return false;
    }
    uint32_t meaning = 1;
    if (end == LoadEnd::Goal && in.Remaining() >= sizeof meaning) {
        in.UInt32(meaning);
    }
    if (end == LoadEnd::Goal && meaning < kGoalDataMeaning) {
        chart.Report(OlderGoalMessage(data->name).c_str());
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
    if (end == LoadEnd::Goal) {
        out.UInt32(kGoalDataMeaning);
    }
}
template <LoadEnd end> bool ReadData(RecordReader& in, SmithChrt& chart) {
    return ReadMeasured(in, chart, end);
}
template <LoadEnd end> void ResetData(SmithChrt& chart) {
    (end == LoadEnd::Start ? chart.startData : chart.goalData).reset();
}

// A loss: value (Q or dB), reference frequency (MHz), law (int32).
void WriteLossSpec(const LossSpec& setting, RecordWriter& out) {
    out.Double(setting.value);
    out.Double(setting.mhz);
    out.Int32(static_cast<int32_t>(setting.law));
}

bool ReadLossSpec(RecordReader& in, LossClass cls, LossSpec& setting) {
    int32_t law = 0;
    if (!in.Double(setting.value) || !in.Double(setting.mhz) || !in.Int32(law)) {
        return false;
    }
    setting.law = static_cast<LossLaw>(law);
    return CheckLossSpec(setting, cls).empty();
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
        const std::optional<LossSpec>& setting = chart.losses.*slot.field;
        out.Byte(setting ? 1 : 0);
        if (setting) {
            WriteLossSpec(*setting, out);
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
            LossSpec setting;
            if (!ReadLossSpec(in, slot.cls, setting)) {
                return false;
            }
            read.*slot.field = setting;
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
        if (const std::optional<LossSpec>& setting = chart.components[i].loss) {
            out.Int32(i);
            WriteLossSpec(*setting, out);
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
        LossSpec setting;
        if (!in.Int32(index) || index < 0 || index >= n ||
            !ReadLossSpec(in, LossClassOf(chart.components[index].kind), setting)) {
            ResetPartLosses(chart);
            return false;
        }
        chart.components[index].loss = setting;
    }
    return true;
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
    {kLossDefaultsRecordTag, LossDefaultsAreDefault, WriteLossDefaults, ReadLossDefaults,
     ResetLossDefaults},
    {kPartLossRecordTag, PartLossesAreDefault, WritePartLosses, ReadPartLosses, ResetPartLosses},
    {kBandLimitRecordTag, LimitIsDefault, WriteLimit, ReadLimit, ResetLimit},
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

// What a message calls a record: by its kind, or by its tag for a kind without a name here.
std::string RecordTitle(RecordTag tag) {
    switch (tag) {
    case kBandRecordTag:
        return "band";
    case kStartDataRecordTag:
        return "starting impedance's data";
    case kGoalDataRecordTag:
        return "goal impedance's data";
    default:
        break;
    }
    std::string text = "record \"";
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<char>(tag >> (8 * i));
        text += c >= ' ' && c <= '~' ? c : '?';
    }
    return text + "\"";
}

constexpr const char* kNotRead = "Part of the document was not read: ";

// "64 MiB" for a whole number of MiB, else "81.2 MiB" ("64.0 MiB" just above 64 MiB).
std::string MiB(uint64_t bytes) {
    if (bytes % (1 << 20) == 0) {
        return std::to_string(bytes >> 20) + " MiB";
    }
    return CFormat("%.1f MiB", static_cast<double>(bytes) / (1 << 20));
}

// Reads the trailer that the archive holds next (at most kMaxTrailerBytes), applies it and says
// in the archive's notes what of it was left out. The record area is read once into one buffer,
// sized from its stored length only when that many bytes are known to be present; the records
// of unknown kinds are then kept in that same buffer, moved together, so that opening a
// document costs about its own size once, plus what the known records hold.
bool ReadTrailer(Archive& ar, SmithChrt& chart) {
    std::vector<uint8_t> head;
    if (!ar.ReadOptional(head, kTrailerHeaderSize) ||
        !std::equal(kTrailerMagic.begin(), kTrailerMagic.end(), head.begin())) {
        return false; // not a trailer: trailing bytes, ignored as they always were
    }
    if (LoadU32(head.data() + 8) != kTrailerVersion) {
        ar.Note(std::string(kNotRead) + "it holds data of a later version of the program.");
        return false;
    }
    const uint32_t length = LoadU32(head.data() + 12);
    if (length > kMaxTrailerBody) {
        ar.Note(std::string(kNotRead) + "the data after the network takes " + MiB(length) +
                ", more than the " + MiB(kMaxTrailerBody) + " a document holds.");
        return false;
    }
    const std::string damaged = std::string(kNotRead) + "the data after the network is damaged.";
    const size_t whole = size_t{length} + kTrailerCrcSize;
    const std::optional<uint64_t> present = ar.KnownRemaining();
    if (present && *present < whole) {
        ar.Note(damaged);
        return false;
    }
    std::vector<uint8_t> body;
    if (present) {
        body.reserve(whole);
    }
    if (!ar.ReadOptional(body, whole)) {
        ar.Note(damaged);
        return false;
    }
    const uint32_t stored = LoadU32(body.data() + length);
    body.resize(length);
    if (Crc32(body, Crc32(head)) != stored) {
        ar.Note(damaged);
        return false;
    }
    // The records must fill the area exactly.
    for (size_t pos = 0; pos < length;) {
        if (length - pos < 8 || length - pos - 8 < LoadU32(body.data() + pos + 4)) {
            ar.Note(damaged);
            return false;
        }
        pos += 8 + size_t{LoadU32(body.data() + pos + 4)};
    }
    std::vector<RecordTag> seen;
    size_t kept = 0;
    size_t keptCount = 0;
    for (size_t pos = 0; pos < length;) {
        const RecordTag tag = LoadU32(body.data() + pos);
        const size_t n = LoadU32(body.data() + pos + 4);
        const TrailerRecordKind* kind = FindKind(tag);
        if (kind == nullptr) {
            // Moved towards the front; no record still to be read lies there.
            std::memmove(body.data() + kept, body.data() + pos, 8 + n);
            kept += 8 + n;
            ++keptCount;
        } else if (std::find(seen.begin(), seen.end(), tag) == seen.end()) {
            seen.push_back(tag);
            RecordReader in(std::span<const uint8_t>(body).subspan(pos + 8, n));
            if (!kind->read(in, chart)) {
                kind->reset(chart);
                ar.Note(std::string(kNotRead) + "its " + RecordTitle(tag) + " is unusable" +
                        (in.Problem().empty() ? "" : " (" + in.Problem() + ")") + ".");
            }
        }
        pos += 8 + n;
    }
    body.resize(kept);
    if (kept < body.capacity() / 2) {
        body.shrink_to_fit();
    }
    chart.unknownRecords = KeptRecords::FromStoredBytes(std::move(body), keptCount);
    return true;
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

namespace {

// Appends the trailer to out, or nothing when there is none, or nothing and the reason when it
// would be too large. Every record, known or kept, is counted against the one limit before
// anything is appended, and out grows once, by exactly the trailer's size.
bool AppendTrailer(const SmithChrt& chart, std::vector<uint8_t>& out, std::string& problem) {
    struct Known {
        RecordTag tag;
        std::vector<uint8_t> payload;
    };
    std::vector<Known> known;
    uint64_t length = chart.unknownRecords.Bytes().size();
    for (const TrailerRecordKind& k : kKinds) {
        if (!k.isDefault(chart)) {
            RecordWriter w;
            k.write(chart, w);
            known.push_back({k.tag, w.TakeBytes()});
            length += 8 + uint64_t{known.back().payload.size()};
        }
    }
    if (length > kMaxTrailerBody) {
        problem = "the band, measured data and other records would take " + MiB(length) +
                  ", more than the " + MiB(kMaxTrailerBody) + " a document holds";
        return false;
    }
    if (length == 0) {
        return true;
    }
    const size_t start = out.size();
    out.reserve(start + kTrailerHeaderSize + length + kTrailerCrcSize);
    out.insert(out.end(), kTrailerMagic.begin(), kTrailerMagic.end());
    AppendU32(out, kTrailerVersion);
    AppendU32(out, static_cast<uint32_t>(length));
    for (Known& k : known) {
        AppendStoredRecord(out, k.tag, k.payload);
        k.payload = {};
    }
    const std::span<const uint8_t> kept = chart.unknownRecords.Bytes();
    out.insert(out.end(), kept.begin(), kept.end());
    AppendU32(out, Crc32(std::span<const uint8_t>(out).subspan(start)));
    return true;
}

} // namespace

std::vector<uint8_t> EncodeTrailer(const SmithChrt& chart, std::string* problem) {
    std::vector<uint8_t> out;
    std::string why;
    if (!AppendTrailer(chart, out, why) && problem != nullptr) {
        *problem = why;
    }
    return out;
}

bool DecodeTrailer(std::span<const uint8_t> bytes, SmithChrt& chart,
                   std::vector<std::string>* notes) {
    ResetExtensions(chart);
    Archive ar(bytes);
    ar.LimitInput(kMaxTrailerBytes);
    const bool applied = ReadTrailer(ar, chart);
    if (notes != nullptr) {
        notes->insert(notes->end(), ar.Notes().begin(), ar.Notes().end());
    }
    return applied;
}

void SerializeTrailer(Archive& ar, SmithChrt& chart) {
    if (!ar.IsLoading()) {
        std::string problem;
        if (!AppendTrailer(chart, ar.Output(), problem)) {
            ar.Fail(DocumentError::FailedToSave, problem);
        }
        return;
    }
    ResetExtensions(chart);
    ReadTrailer(ar, chart);
}
