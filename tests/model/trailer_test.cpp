#include "model/devicebinding.h"
#include "model/documentfile.h"
#include "model/documenttrailer.h"
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

} // namespace
