// Binding the starting and goal impedance to measured data: the value at the analysis frequency,
// none outside the data's range, unbinding, the document's records and the band.
#include "bandevaluation.h"
#include "documentfile.h"
#include "documenttrailer.h"
#include "measuredbinding.h"
#include "sampledocuments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

std::shared_ptr<const MeasuredData> Sample() {
    return std::make_shared<const MeasuredData>(SampleMeasuredData());
}

bool IsNaN(Complex z) {
    return std::isnan(z.re) && std::isnan(z.im);
}

SmithChrt Bound(double frequency) {
    SmithChrt s = NewDocument();
    s.frequency = frequency;
    BindMeasuredData(s, LoadEnd::Start, Sample());
    BindMeasuredData(s, LoadEnd::Goal, Sample());
    return s;
}

TEST(MeasuredBinding, ImpedanceFollowsTheFrequencyAndHasNoneOutsideTheData) {
    SmithChrt s = Bound(150);
    EXPECT_EQ(s.startZ, *MeasuredImpedanceAt(*s.startData, 150));
    s.frequency = 200;
    RefreshBoundImpedances(s);
    EXPECT_EQ(s.startZ, Complex(20, 35)); // the data's own value at its frequency
    EXPECT_EQ(s.goalZ, Complex(20, 35));
    for (const double outside : {99.9, 400.1, std::nan("")}) {
        s.frequency = outside;
        RefreshBoundImpedances(s);
        EXPECT_TRUE(IsNaN(s.startZ) && IsNaN(s.goalZ)) << outside;
        EXPECT_TRUE(HasNoValueNow(s, LoadEnd::Start));
        EXPECT_FALSE(UnbindMeasuredData(s, LoadEnd::Start)) << "an unbound impedance is a number";
        EXPECT_NE(s.startData, nullptr);
    }
}

TEST(MeasuredBinding, UnbindingKeepsTheValueAndAnEditUnbinds) {
    SmithChrt s = Bound(300);
    const Complex at300 = s.startZ;
    ASSERT_TRUE(UnbindMeasuredData(s, LoadEnd::Start));
    s.frequency = 350;
    RefreshBoundImpedances(s);
    EXPECT_EQ(s.startZ, at300);
    EXPECT_NE(s.goalZ, at300);
    EXPECT_TRUE(UnbindEditedEnds(s).empty()) << "an unchanged impedance stays bound";
    s.goalZ.im += 1;
    EXPECT_EQ(UnbindEditedEnds(s), std::vector<LoadEnd>{LoadEnd::Goal});
    EXPECT_EQ(s.goalData, nullptr);
    // A NaN left as it was is no edit.
    SmithChrt out = Bound(999);
    EXPECT_TRUE(UnbindEditedEnds(out).empty());
}

TEST(MeasuredBinding, DocumentRoundTripsByteForByteAndPlainDocumentsStayPlain) {
    for (const double f : {150.0, 200.0, 1000.0}) {
        SmithChrt s = Bound(f);
        const std::vector<uint8_t> bytes = WriteDocument(s);
        SmithChrt plain = s;
        ResetExtensions(plain);
        EXPECT_EQ(bytes.size(),
                  WriteDocument(plain).size() + 16 + 2 * (8 + 4 + 9 + 4 + 3 * 48) + 4);
        SmithChrt read = NewDocument();
        ASSERT_EQ(ReadDocument(bytes, read), DocumentError::None);
        ASSERT_NE(read.startData, nullptr);
        ASSERT_NE(read.goalData, nullptr);
        EXPECT_EQ(read.startData->name, "probe.s1p");
        EXPECT_EQ(std::memcmp(read.startData->points.data(), s.startData->points.data(),
                              3 * sizeof(MeasuredPoint)),
                  0);
        EXPECT_EQ(WriteDocument(read), bytes) << f;
        // File New and a document without the records leave nothing bound.
        read.ResetForNewDocument();
        EXPECT_EQ(read.startData, nullptr);
        EXPECT_EQ(WriteDocument(read).size(), WriteDocument(NewDocument()).size());
    }
}

TEST(MeasuredBinding, HostileRecordsAreIgnored) {
    const auto record = [](uint32_t count, size_t points, double frequencyStep) {
        RecordWriter w;
        w.Text("x.s1p");
        w.UInt32(count);
        for (size_t i = 0; i < points; ++i) {
            for (const double v :
                 {100 + frequencyStep * static_cast<double>(i), 50.0, 0.1, 0.0, 61.0, 0.0}) {
                w.Double(v);
            }
        }
        return TrailerRecord{kStartDataRecordTag, w.Bytes()};
    };
    struct Case {
        TrailerRecord record;
        bool bound;
    };
    const Case cases[] = {
        {record(2, 2, 1), true},
        {record(0xFFFFFFFF, 2, 1), false}, // a count the payload cannot hold
        {record(3, 2, 1), false},
        {record(0, 0, 1), false},
        {record(2, 2, 0), false}, // frequencies that do not increase
        {record(2, 2, -1), false},
    };
    for (const Case& c : cases) {
        SmithChrt s = NewDocument();
        s.unknownRecords = {c.record}; // written back as they stand: a hand-made trailer
        const std::vector<uint8_t> trailer = EncodeTrailer(s);
        SmithChrt read = NewDocument();
        ASSERT_TRUE(DecodeTrailer(trailer, read));
        EXPECT_EQ(read.startData != nullptr, c.bound);
        EXPECT_TRUE(read.unknownRecords.empty());
    }
}

TEST(MeasuredBinding, BandUsesTheDataAtEveryFrequencyAndLeavesOutThePointsWithout) {
    SmithChrt s = Bound(200);
    s.band = {50, 400, 8, true, false};
    const BandResult r = EvaluateBand(s);
    ASSERT_EQ(r.size(), 8u);
    EXPECT_TRUE(std::isnan(r.vswr[0])) << "50 MHz lies below the data";
    for (size_t k = 1; k < r.size(); ++k) {
        const Complex z = *MeasuredImpedanceAt(*s.startData, r.frequencies[k]);
        EXPECT_EQ(r.endZ[k], z) << "an empty network ends where it starts";
        EXPECT_NEAR(r.vswr[k], 1.0, 1e-9) << "the goal follows the same data";
    }
    EXPECT_EQ(r.worstIndex >= 1, true);
    // The data's locus across the band: its ends interpolated, the points inside as they are.
    const std::vector<Complex> locus = MeasuredLocus(*s.startData, {150, 300, 8, true, false});
    ASSERT_EQ(locus.size(), 3u);
    EXPECT_EQ(locus[1], Complex(20, 35));
    EXPECT_EQ(MeasuredLocus(*s.startData, {}).size(), 3u);
}

} // namespace
