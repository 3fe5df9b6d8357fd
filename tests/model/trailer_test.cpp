#include "documentfile.h"
#include "documenttrailer.h"
#include "sampledocuments.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr RecordTag kOther = MakeRecordTag('Z', 'Z', 'Z', 'Z');
const TrailerRecord kOtherRecord{kOther, {7, 8, 9}};

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

// A trailer with a correct checksum over whatever its header and records say.
Bytes BuildTrailer(const std::vector<TrailerRecord>& records, uint32_t version = kTrailerVersion,
                   const Bytes& extraBody = {}) {
    Bytes body;
    for (const TrailerRecord& r : records) {
        PutU32(body, r.tag);
        PutU32(body, static_cast<uint32_t>(r.payload.size()));
        body.insert(body.end(), r.payload.begin(), r.payload.end());
    }
    body.insert(body.end(), extraBody.begin(), extraBody.end());
    Bytes t(kTrailerMagic.begin(), kTrailerMagic.end());
    PutU32(t, version);
    PutU32(t, static_cast<uint32_t>(body.size()));
    t = Concat(t, body);
    PutU32(t, Crc32(t));
    return t;
}

Bytes BandPayload(double low, double high, int32_t points, uint8_t display, uint8_t junctions) {
    RecordWriter w;
    w.Double(low);
    w.Double(high);
    w.Int32(points);
    w.Byte(display);
    w.Byte(junctions);
    return w.Bytes();
}

// Reads into a document whose own extensions must not survive the read.
SmithChrt ReadInto(const Bytes& b) {
    SmithChrt s = Design();
    s.unknownRecords = {{MakeRecordTag('O', 'L', 'D', '!'), {1}}};
    EXPECT_EQ(ReadDocument(b, s), DocumentError::None);
    return s;
}

void ExpectPlainDocument(const Bytes& file, const Bytes& plain, const std::string& what) {
    const SmithChrt back = ReadInto(file);
    EXPECT_EQ(back.band, BandSettings{}) << what;
    EXPECT_TRUE(back.unknownRecords.empty()) << what;
    EXPECT_EQ(WriteDocument(back), plain) << what;
}

TEST(DocumentTrailer, Crc32IsZlibs) {
    const std::string check = "123456789";
    const Bytes b(check.begin(), check.end());
    EXPECT_EQ(Crc32(b), 0xCBF43926u);
    EXPECT_EQ(Crc32(std::span(b).subspan(4), Crc32(std::span(b).first(4))), 0xCBF43926u);
}

TEST(DocumentTrailer, DocumentsWithoutExtensionsSaveThePlainStream) {
    const SmithChrt fresh = NewDocument();
    EXPECT_EQ(WriteDocument(fresh).size(), 134 + fresh.title.size());
    SmithChrt off = Design();
    off.band = {};
    EXPECT_EQ(WriteDocument(off).size(), 134 + 4 + 78u * static_cast<size_t>(off.componentCount));
    // A read document whose band is turned back to the default saves the plain stream again.
    SmithChrt back = ReadInto(WriteDocument(Design()));
    back.band = {};
    EXPECT_EQ(WriteDocument(back), WriteDocument(off));
}

TEST(DocumentTrailer, BandRecordLayout) {
    const SmithChrt s = Design();
    const Bytes plain = Plain(s);
    const Bytes b = WriteDocument(s);
    const Bytes expected = BuildTrailer({{kBandRecordTag, BandPayload(400, 470, 201, 1, 0)}});
    ASSERT_EQ(b.size(), plain.size() + 16 + 8 + 22 + 4);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + static_cast<long>(plain.size())), plain);
    EXPECT_EQ(Bytes(b.begin() + static_cast<long>(plain.size()), b.end()), expected);
    EXPECT_EQ(std::memcmp(expected.data() + 16, "BAND", 4), 0);
}

TEST(DocumentTrailer, BandSettingsRoundTrip) {
    const BandSettings bands[] = {
        {400, 470, 101, true, false}, {400, 470, 201, false, true},    {0, 0, 101, false, true},
        {0, 0, 33, false, false},     {1e-6, 1e12, 10001, true, true},
    };
    for (const BandSettings& band : bands) {
        SmithChrt s = Design();
        s.band = band;
        const Bytes b = WriteDocument(s);
        const SmithChrt back = ReadInto(b);
        EXPECT_EQ(back.band, band) << band.low << " " << band.points;
        EXPECT_EQ(WriteDocument(back), b);
    }
}

TEST(DocumentTrailer, UnknownRecordsAreWrittenBack) {
    SmithChrt s = Design();
    s.unknownRecords = {kOtherRecord, {MakeRecordTag('E', 'M', 'P', 'T'), {}}};
    const Bytes b = WriteDocument(s);
    const SmithChrt back = ReadInto(b);
    EXPECT_EQ(back.unknownRecords, s.unknownRecords);
    EXPECT_EQ(back.band, s.band);
    EXPECT_EQ(WriteDocument(back), b);
    // Unknown records alone are enough for a trailer; their order is kept around known ones.
    s.band = {};
    EXPECT_EQ(ReadInto(WriteDocument(s)).unknownRecords, s.unknownRecords);
    const Bytes mixed = Concat(Plain(s), BuildTrailer({kOtherRecord,
                                                       {kBandRecordTag, BandPayload(1, 2, 2, 0, 0)},
                                                       {MakeRecordTag('L', 'A', 'S', 'T'), {0}}}));
    const SmithChrt m = ReadInto(mixed);
    ASSERT_EQ(m.unknownRecords.size(), 2u);
    EXPECT_EQ(m.unknownRecords[1].tag, MakeRecordTag('L', 'A', 'S', 'T'));
    EXPECT_EQ(m.band, (BandSettings{1, 2, 2, false, false}));
}

TEST(DocumentTrailer, EveryFlippedBitAndEveryCutIsIgnored) {
    SmithChrt s = Design();
    s.unknownRecords = {kOtherRecord};
    const Bytes plain = Plain(s);
    const Bytes whole = WriteDocument(s);
    for (size_t i = plain.size(); i < whole.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes damaged = whole;
            damaged[i] ^= static_cast<uint8_t>(1 << bit);
            ExpectPlainDocument(damaged, plain, "flip at " + std::to_string(i));
        }
        const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(i));
        ExpectPlainDocument(cut, plain, "cut at " + std::to_string(i));
    }
}

TEST(DocumentTrailer, RandomTrailingBytesAreIgnoredAndDropped) {
    const SmithChrt s = Design();
    const Bytes plain = Plain(s);
    const Bytes trailer = WriteDocument(s);
    std::mt19937 rng(12);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        Bytes tail(static_cast<size_t>(round % 97), 0);
        for (uint8_t& v : tail) {
            v = static_cast<uint8_t>(byte(rng));
        }
        if (round % 3 == 1) { // our magic and version, then noise
            const Bytes head = BuildTrailer({});
            tail.insert(tail.begin(), head.begin(), head.begin() + 12);
        }
        ExpectPlainDocument(Concat(plain, tail), plain, "round " + std::to_string(round));
        // After a valid trailer the same bytes are ignored too, and dropped on save.
        EXPECT_EQ(WriteDocument(ReadInto(Concat(trailer, tail))), trailer);
    }
}

struct FramingCase {
    const char* name;
    Bytes trailer;
    bool applied; // the trailer counts: its unknown record is kept
    BandSettings band;
};

TEST(DocumentTrailer, OnlyWellFormedTrailersAndUsableRecordsCount) {
    const TrailerRecord good{kBandRecordTag, BandPayload(400, 470, 11, 1, 1)};
    const BandSettings goodBand{400, 470, 11, true, true};
    const auto band = [](Bytes payload) { return TrailerRecord{kBandRecordTag, payload}; };
    Bytes longer = good.payload;
    longer.insert(longer.end(), {1, 2, 3, 4});
    Bytes hugeLength = BuildTrailer({kOtherRecord});
    const uint32_t huge = kMaxTrailerBody + 1;
    std::memcpy(hugeLength.data() + 12, &huge, 4);
    const FramingCase cases[] = {
        {"valid", BuildTrailer({kOtherRecord, good}), true, goodBand},
        {"longer band payload", BuildTrailer({kOtherRecord, band(longer)}), true, goodBand},
        {"first band counts", BuildTrailer({good, kOtherRecord, band(BandPayload(1, 2, 2, 0, 0))}),
         true, goodBand},
        {"short band payload",
         BuildTrailer({kOtherRecord, band(Bytes(good.payload.begin(), good.payload.end() - 1))}),
         true,
         {}},
        {"band high below low",
         BuildTrailer({kOtherRecord, band(BandPayload(470, 400, 11, 1, 0))}),
         true,
         {}},
        {"band NaN",
         BuildTrailer({kOtherRecord,
                       band(BandPayload(std::numeric_limits<double>::quiet_NaN(), 470, 11, 0, 0))}),
         true,
         {}},
        {"band points",
         BuildTrailer({kOtherRecord, band(BandPayload(400, 470, 1, 0, 0))}),
         true,
         {}},
        {"display without band",
         BuildTrailer({kOtherRecord, band(BandPayload(0, 0, 11, 1, 0))}),
         true,
         {}},
        {"later version", BuildTrailer({kOtherRecord, good}, 2), false, {}},
        {"record overruns",
         BuildTrailer({kOtherRecord}, 1, Bytes{'B', 'A', 'N', 'D', 9, 0, 0, 0}),
         false,
         {}},
        {"stray bytes", BuildTrailer({kOtherRecord}, 1, Bytes{1, 2, 3}), false, {}},
        {"length above the limit", hugeLength, false, {}},
    };
    const Bytes plain = Plain(Design());
    for (const FramingCase& c : cases) {
        const SmithChrt back = ReadInto(Concat(plain, c.trailer));
        EXPECT_EQ(back.unknownRecords.size(), c.applied ? 1u : 0u) << c.name;
        EXPECT_EQ(back.band, c.band) << c.name;
    }
}

} // namespace
