#include "model/devicebinding.h"
#include "model/documentfile.h"
#include "model/documenttrailer.h"
#include "model/measuredbinding.h"
#include "tests/support/sampledocuments.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

const TrailerRecord kOther{MakeRecordTag('Z', 'Z', 'Z', 'Z'), {7, 8, 9}};

SmithChrt Design() {
    SmithChrt s = DocumentWith(SampleNetworks().back().components);
    s.title = "Band";
    s.band = {400, 470, 201, true, false};
    return s;
}

// The stream a document saves without its extensions.
Bytes Plain(SmithChrt s) {
    ResetExtensions(s);
    return WriteDocument(s);
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void PutU32(Bytes& b, uint32_t v) {
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    b.insert(b.end(), p, p + 4);
}

// A trailer with the right checksum over whatever its header and records say.
Bytes BuildTrailer(const std::vector<TrailerRecord>& records, uint32_t version = kTrailerVersion,
                   const Bytes& extraBody = {}) {
    Bytes t(kTrailerMagic.begin(), kTrailerMagic.end());
    PutU32(t, version);
    PutU32(t, 0);
    for (const TrailerRecord& r : records) {
        PutU32(t, r.tag);
        PutU32(t, static_cast<uint32_t>(r.payload.size()));
        t = Concat(t, r.payload);
    }
    t = Concat(t, extraBody);
    const auto length = static_cast<uint32_t>(t.size() - kTrailerHeaderSize);
    std::memcpy(t.data() + 12, &length, 4);
    PutU32(t, Crc32(t));
    return t;
}

TrailerRecord Band(double low, double high, int32_t points, uint8_t display, uint8_t junctions) {
    RecordWriter w;
    w.Double(low);
    w.Double(high);
    w.Int32(points);
    w.Byte(display);
    w.Byte(junctions);
    return {kBandRecordTag, w.Bytes()};
}

// Reads into a document whose own extensions must not survive the read.
SmithChrt ReadInto(const Bytes& b) {
    SmithChrt s = Design();
    s.unknownRecords = {{MakeRecordTag('O', 'L', 'D', '!'), {1}}};
    EXPECT_EQ(ReadDocument(b, s), DocumentError::None);
    return s;
}

void ExpectPlainDocument(const Bytes& file, const Bytes& plain, size_t where) {
    const SmithChrt back = ReadInto(file);
    EXPECT_EQ(back.band, BandSettings{}) << where;
    EXPECT_TRUE(back.unknownRecords.empty()) << where;
    EXPECT_EQ(WriteDocument(back), plain) << where;
}

TEST(DocumentTrailer, Crc32IsZlibs) {
    const Bytes b{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc32(b), 0xCBF43926u);
    EXPECT_EQ(Crc32(std::span(b).subspan(4), Crc32(std::span(b).first(4))), 0xCBF43926u);
}

TEST(DocumentTrailer, OnlyDocumentsUsingExtensionsGetOne) {
    const SmithChrt fresh = NewDocument();
    EXPECT_EQ(WriteDocument(fresh).size(), 134 + fresh.title.size());
    SmithChrt back = ReadInto(WriteDocument(Design()));
    back.band = {};
    EXPECT_EQ(WriteDocument(back).size(), 134 + 4 + 78u * static_cast<size_t>(back.componentCount));

    const SmithChrt s = Design();
    const Bytes b = WriteDocument(s);
    EXPECT_EQ(b, Concat(Plain(s), BuildTrailer({Band(400, 470, 201, 1, 0)})));
    EXPECT_EQ(b.size(), Plain(s).size() + 16 + 8 + 22 + 4);
}

TEST(DocumentTrailer, BandAndUnknownRecordsRoundTrip) {
    const BandSettings bands[] = {
        {400, 470, 201, false, true}, {0, 0, 33, false, true}, {1e-6, 1e12, 10001, true, true}, {}};
    for (const BandSettings& band : bands) {
        SmithChrt s = Design();
        s.band = band;
        s.unknownRecords = {kOther, {MakeRecordTag('E', 'M', 'P', 'T'), {}}};
        const Bytes b = WriteDocument(s);
        const SmithChrt back = ReadInto(b);
        EXPECT_EQ(back.band, band) << band.low << " " << band.points;
        EXPECT_EQ(back.unknownRecords, s.unknownRecords);
        EXPECT_EQ(WriteDocument(back), b);
    }
}

// A device, its circle settings and the goal bound to it come back exactly; a device whose
// data breaks its rules is ignored.
TEST(DocumentTrailer, TheDeviceRoundTrips) {
    auto device = std::make_shared<DeviceData>();
    device->name = "fet.s2p";
    device->points = {{3500, {0.7, -0.2}, {0.01, 0.02}, {2, 1}, {0.5, -0.4}, 50},
                      {4000, {0.6, -0.3}, {0.015, 0.02}, {1.9, 1.2}, {0.45, -0.45}, 50}};
    device->noise = {{4000, 0.6, {-0.3, 0.4}, 20, 50}};
    SmithChrt s = Design();
    s.frequency = 3800;
    LoadDevice(s, device);
    s.circles.noise = true;
    s.circles.noiseSteps = {0.1, 3};
    ASSERT_TRUE(BindGoalToDevice(s, DeviceGoal::LoadGain));
    const Bytes b = WriteDocument(s);
    const SmithChrt back = ReadInto(b);
    ASSERT_NE(back.device, nullptr);
    EXPECT_EQ(back.device->name, "fet.s2p");
    EXPECT_EQ(back.device->points[1].s21, Complex(1.9, 1.2));
    EXPECT_EQ(back.device->noise[0].gammaOpt, Complex(-0.3, 0.4));
    EXPECT_EQ(back.circles, s.circles);
    EXPECT_EQ(back.deviceGoal, static_cast<int32_t>(DeviceGoal::LoadGain));
    EXPECT_EQ(back.goalZ, s.goalZ);
    EXPECT_EQ(WriteDocument(back), b);

    device->points[1].frequency = 3500; // not increasing
    SmithChrt bad = Design();
    LoadDevice(bad, device);
    EXPECT_EQ(ReadInto(WriteDocument(bad)).device, nullptr);
}

TEST(DocumentTrailer, EveryFlippedBitAndEveryCutIsIgnored) {
    SmithChrt s = Design();
    s.unknownRecords = {kOther};
    const Bytes plain = Plain(s);
    const Bytes whole = WriteDocument(s);
    for (size_t i = plain.size(); i < whole.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes damaged = whole;
            damaged[i] ^= static_cast<uint8_t>(1 << bit);
            ExpectPlainDocument(damaged, plain, i);
        }
        ExpectPlainDocument(Bytes(whole.begin(), whole.begin() + static_cast<long>(i)), plain, i);
    }
}

TEST(DocumentTrailer, RandomTrailingBytesAreIgnoredAndDropped) {
    const Bytes plain = Plain(Design());
    const Bytes withTrailer = WriteDocument(Design());
    std::mt19937 rng(12);
    for (size_t round = 0; round < 300; ++round) {
        Bytes tail(round % 97);
        for (uint8_t& v : tail) {
            v = static_cast<uint8_t>(rng());
        }
        if (round % 3 == 1) { // our magic and version, then noise
            const Bytes head = BuildTrailer({});
            tail.insert(tail.begin(), head.begin(), head.begin() + 12);
        }
        ExpectPlainDocument(Concat(plain, tail), plain, round);
        EXPECT_EQ(WriteDocument(ReadInto(Concat(withTrailer, tail))), withTrailer);
    }
}

TEST(DocumentTrailer, OnlyWellFormedTrailersAndUsableRecordsCount) {
    const TrailerRecord good = Band(400, 470, 11, 1, 1);
    const BandSettings goodBand{400, 470, 11, true, true};
    TrailerRecord longer = good; // fields of a later version are skipped
    longer.payload.insert(longer.payload.end(), {1, 2, 3, 4});
    TrailerRecord cut = good;
    cut.payload.pop_back();
    Bytes hugeLength = BuildTrailer({kOther});
    const uint32_t huge = kMaxTrailerBody + 1;
    std::memcpy(hugeLength.data() + 12, &huge, 4);
    const struct {
        const char* name;
        Bytes trailer;
        bool applied; // the trailer counts: its unknown record is kept
        BandSettings band;
    } cases[] = {
        {"longer band payload", BuildTrailer({kOther, longer}), true, goodBand},
        {"first band counts", BuildTrailer({good, kOther, Band(1, 2, 2, 0, 0)}), true, goodBand},
        {"short band payload", BuildTrailer({kOther, cut}), true, {}},
        {"band high below low", BuildTrailer({kOther, Band(470, 400, 11, 1, 0)}), true, {}},
        {"band NaN", BuildTrailer({kOther, Band(NAN, 470, 11, 0, 0)}), true, {}},
        {"band points", BuildTrailer({kOther, Band(400, 470, 1, 0, 0)}), true, {}},
        {"display without band", BuildTrailer({kOther, Band(0, 0, 11, 1, 0)}), true, {}},
        {"later version", BuildTrailer({kOther, good}, 2), false, {}},
        {"record overruns", BuildTrailer({kOther}, 1, {'B', 'A', 'N', 'D', 9, 0, 0, 0}), false, {}},
        {"stray bytes", BuildTrailer({kOther}, 1, {1, 2, 3}), false, {}},
        {"length above the limit", hugeLength, false, {}},
    };
    const Bytes plain = Plain(Design());
    for (const auto& c : cases) {
        const SmithChrt back = ReadInto(Concat(plain, c.trailer));
        EXPECT_EQ(back.unknownRecords.size(), c.applied ? 1u : 0u) << c.name;
        EXPECT_EQ(back.band, c.band) << c.name;
    }
}

// Losses: an inductor, a resistor and a line, with defaults for inductors and lines and the
// line's own setting (lossless, against the default).
SmithChrt LossyDesign() {
    SmithChrt s = DocumentWith({NewInductor(PLACE_SERIES, 50, 100), NewResistor(PLACE_SHUNT, 50),
                                NewLine(PLACE_TL_SERIES, 50, 100)});
    s.losses.inductorQ = LossSpec{60, 0, LossLaw::Constant};
    s.losses.lineLoss = LossSpec{0.3, 900, LossLaw::Sqrt};
    s.components[2].loss = LossSpec{0, 0, LossLaw::Constant};
    return s;
}

TrailerRecord LossRecord(RecordTag tag, std::initializer_list<std::pair<int, LossSpec>> slots,
                         bool counted) {
    RecordWriter w;
    if (counted) {
        w.UInt32(static_cast<uint32_t>(slots.size()));
    }
    for (const auto& [lead, setting] : slots) {
        if (counted) {
            w.Int32(lead);
        } else {
            w.Byte(static_cast<uint8_t>(lead));
        }
        if (lead >= 0 && (counted || lead != 0)) {
            w.Double(setting.value);
            w.Double(setting.mhz);
            w.Int32(static_cast<int32_t>(setting.law));
        }
    }
    return {tag, w.Bytes()};
}

TEST(DocumentTrailer, LossRecordsAreWrittenAsDocumented) {
    const SmithChrt s = LossyDesign();
    const Bytes expected = Concat(
        Plain(s),
        BuildTrailer(
            {LossRecord(kLossDefaultsRecordTag,
                        {{1, {60, 0, LossLaw::Constant}}, {0, {}}, {1, {0.3, 900, LossLaw::Sqrt}}},
                        false),
             LossRecord(kPartLossRecordTag, {{2, {0, 0, LossLaw::Constant}}}, true)}));
    EXPECT_EQ(WriteDocument(s), expected);
    const SmithChrt back = ReadInto(expected);
    EXPECT_EQ(back.losses, s.losses);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.components[i], s.components[i]) << i;
    }
    EXPECT_EQ(WriteDocument(back), expected);
    SmithChrt none = s;
    none.losses = {};
    none.components[2].loss.reset();
    EXPECT_EQ(WriteDocument(none), Plain(s));
}

TEST(DocumentTrailer, UnusableLossRecordsAreIgnoredAlone) {
    const LossSpec q{60, 0, LossLaw::Constant};
    const LossSpec line{0.3, 900, LossLaw::Linear};
    const TrailerRecord goodDefaults =
        LossRecord(kLossDefaultsRecordTag, {{1, q}, {0, {}}, {0, {}}}, false);
    const TrailerRecord goodPart = LossRecord(kPartLossRecordTag, {{0, q}}, true);
    const struct {
        const char* name;
        TrailerRecord defaults;
        TrailerRecord part;
        bool defaultsKept;
        bool partKept;
    } cases[] = {
        {"both good", goodDefaults, goodPart, true, true},
        {"Q of 0",
         LossRecord(kLossDefaultsRecordTag, {{1, {0, 0, LossLaw::Constant}}, {0, {}}, {0, {}}},
                    false),
         goodPart, false, true},
        {"law unknown",
         LossRecord(kLossDefaultsRecordTag, {{1, {9, 5, LossLaw(3)}}, {0, {}}, {0, {}}}, false),
         goodPart, false, true},
        {"linear Q without a frequency", goodDefaults,
         LossRecord(kPartLossRecordTag, {{0, {9, 0, LossLaw::Linear}}}, true), true, false},
        {"line loss without a frequency",
         LossRecord(kLossDefaultsRecordTag, {{0, {}}, {0, {}}, {1, {0.3, 0, LossLaw::Constant}}},
                    false),
         goodPart, false, true},
        {"negative dB", goodDefaults,
         LossRecord(kPartLossRecordTag, {{2, {-1, 900, LossLaw::Constant}}}, true), true, false},
        {"a resistor's loss", goodDefaults, LossRecord(kPartLossRecordTag, {{1, q}}, true), true,
         false},
        {"past the last part", goodDefaults, LossRecord(kPartLossRecordTag, {{3, line}}, true),
         true, false},
        {"second part bad", goodDefaults, LossRecord(kPartLossRecordTag, {{0, q}, {1, q}}, true),
         true, false},
        {"count beyond the payload", goodDefaults, {kPartLossRecordTag, {9, 0, 0, 0}}, true, false},
    };
    const Bytes plain = Plain(LossyDesign());
    for (const auto& c : cases) {
        const SmithChrt back = ReadInto(Concat(plain, BuildTrailer({c.defaults, c.part})));
        EXPECT_EQ(back.losses.inductorQ.has_value(), c.defaultsKept) << c.name;
        EXPECT_EQ(back.components[0].loss.has_value(), c.partKept) << c.name;
        EXPECT_FALSE(back.components[1].loss.has_value()) << c.name;
    }
}

} // namespace

namespace {

// A document whose kept records take exactly bodyBytes of the trailer's record area.
SmithChrt WithKeptBytes(size_t bodyBytes) {
    SmithChrt s = Design();
    s.band = {};
    s.unknownRecords.push_back({MakeRecordTag('L', 'A', 'T', 'R'), Bytes(bodyBytes - 8, 0x5A)});
    return s;
}

// The one limit holds for the writer and the reader alike: a record area of exactly the limit
// is written and read back whole (the header and checksum around it included), one byte more
// is refused by the writer with the reason, and a reader told of such an area by its header
// leaves it out and says so.
TEST(DocumentTrailer, OneLimitForWritingAndReading) {
    const SmithChrt atLimit = WithKeptBytes(kMaxTrailerBody);
    std::vector<uint8_t> bytes;
    std::string cause;
    ASSERT_EQ(WriteDocument(atLimit, bytes, &cause), DocumentError::None);
    EXPECT_EQ(bytes.size(), Plain(atLimit).size() + kMaxTrailerBytes);
    SmithChrt back;
    std::vector<std::string> notes;
    ASSERT_EQ(ReadDocument(bytes, back, &notes), DocumentError::None);
    EXPECT_EQ(back.unknownRecords, atLimit.unknownRecords);
    EXPECT_TRUE(notes.empty());

    const SmithChrt over = WithKeptBytes(kMaxTrailerBody + 1);
    EXPECT_EQ(WriteDocument(over, bytes, &cause), DocumentError::FailedToSave);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(cause, "the band, measured data and other records would take 64.0 MiB, more than "
                     "the 64 MiB a document holds");
    EXPECT_TRUE(WriteDocument(over).empty());

    // Such an area written by hand: the checksum is right, the length too large.
    Bytes tooLarge = EncodeTrailer(atLimit);
    tooLarge.insert(tooLarge.end() - 4, 0x5A);
    const uint32_t length = kMaxTrailerBody + 1;
    std::memcpy(tooLarge.data() + 12, &length, 4);
    tooLarge.resize(tooLarge.size() - 4);
    PutU32(tooLarge, Crc32(tooLarge));
    notes.clear();
    ASSERT_EQ(ReadDocument(Concat(Plain(atLimit), tooLarge), back, &notes), DocumentError::None);
    EXPECT_TRUE(back.unknownRecords.empty());
    EXPECT_EQ(notes, std::vector<std::string>{"Part of the document was not read: the data after "
                                              "the network takes 64.0 MiB, more than the 64 MiB "
                                              "a document holds."});
}

// Data records of more points than can be bound, built as a writer of another program might.
TrailerRecord DataRecord(RecordTag tag, uint32_t points) {
    RecordWriter w;
    w.Text("big.s1p");
    w.UInt32(points);
    for (uint32_t i = 0; i < points; ++i) {
        for (const double v : {1.0 + i, 50.0, 0.1, -0.2, 60.0, -20.0}) {
            w.Double(v);
        }
    }
    return {tag, w.Bytes()};
}

// What a trailer of ours held and the reader left out is told, never dropped in silence; bytes
// that are no trailer of ours are ignored without a word, as they always were.
TEST(DocumentTrailer, WhatIsLeftOutIsTold) {
    const std::string lead = "Part of the document was not read: ";
    Bytes badSum = BuildTrailer({kOther});
    badSum.back() ^= 1;
    const Bytes whole = BuildTrailer({kOther});
    const struct {
        const char* name;
        Bytes trailer;
        std::vector<std::string> notes;
        size_t kept;
    } cases[] = {
        {"no trailer", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, {}, 0},
        {"well formed", whole, {}, 1},
        {"checksum", badSum, {lead + "the data after the network is damaged."}, 0},
        {"cut short",
         Bytes(whole.begin(), whole.end() - 1),
         {lead + "the data after the network is damaged."},
         0},
        {"stray bytes",
         BuildTrailer({kOther}, 1, {1, 2, 3}),
         {lead + "the data after the network is damaged."},
         0},
        {"later version",
         BuildTrailer({kOther}, 2),
         {lead + "it holds data of a later version of the program."},
         0},
        {"unusable band",
         BuildTrailer({Band(470, 400, 11, 1, 0), kOther}),
         {lead + "its band is unusable."},
         1},
        {"too many points",
         BuildTrailer({DataRecord(kStartDataRecordTag, kMaxBoundPoints + 1), kOther,
                       DataRecord(kGoalDataRecordTag, 3)}),
         {lead + "its starting impedance's data is unusable (it has 500001 frequencies; a "
                 "document holds at most 500000)."},
         1},
    };
    const Bytes plain = Plain(Design());
    for (const auto& c : cases) {
        SmithChrt back;
        std::vector<std::string> notes;
        ASSERT_EQ(ReadDocument(Concat(plain, c.trailer), back, &notes), DocumentError::None);
        EXPECT_EQ(notes, c.notes) << c.name;
        EXPECT_EQ(back.unknownRecords.size(), c.kept) << c.name;
        if (c.kept == 1) { // moved past the known records before it, whole
            EXPECT_EQ(back.unknownRecords.Records(), std::vector<TrailerRecord>{kOther}) << c.name;
        }
        if (std::string(c.name) == "too many points") {
            EXPECT_EQ(back.startData, nullptr);
            ASSERT_NE(back.goalData, nullptr);
            EXPECT_EQ(back.goalData->points.size(), 3u);
        }
    }
}

// At most as many points as can be bound: the largest data record is read whole.
TEST(DocumentTrailer, TheBindingsCapIsTheReadersToo) {
    SmithChrt back;
    std::vector<std::string> notes;
    const Bytes file =
        Concat(Plain(Design()), BuildTrailer({DataRecord(kGoalDataRecordTag, kMaxBoundPoints)}));
    ASSERT_EQ(ReadDocument(file, back, &notes), DocumentError::None);
    EXPECT_TRUE(notes.empty());
    ASSERT_NE(back.goalData, nullptr);
    EXPECT_EQ(back.goalData->points.size(), kMaxBoundPoints);
}

} // namespace
