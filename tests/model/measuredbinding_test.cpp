// Binding the starting and goal impedance to measured data: the value at the analysis frequency,
// none outside the data's range, unbinding, the document's records and the band.
#include "model/bandevaluation.h"
#include "model/documentfile.h"
#include "model/documenttrailer.h"
#include "model/measuredbinding.h"
#include "model/messagesink.h"
#include "tests/support/sampledocuments.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

SmithChrt Bound(double frequency) {
    SmithChrt s = NewDocument();
    s.frequency = frequency;
    const auto data = std::make_shared<const MeasuredData>(SampleMeasuredData());
    BindMeasuredData(s, LoadEnd::Start, data);
    BindMeasuredData(s, LoadEnd::Goal, data);
    return s;
}

TEST(MeasuredBinding, ValueAtTheFrequencyNoneOutsideAndUnbindingKeepsIt) {
    SmithChrt s = Bound(200);
    EXPECT_EQ(s.startZ, Complex(20, 35)); // the data's own value at its frequency
    for (const double outside : {99.9, 400.1, std::nan("")}) {
        s.frequency = outside;
        RefreshBoundImpedances(s);
        EXPECT_TRUE(std::isnan(s.startZ.re) && std::isnan(s.goalZ.im)) << outside;
        EXPECT_FALSE(UnbindMeasuredData(s, LoadEnd::Start)) << "an unbound impedance is a number";
        EXPECT_TRUE(UnbindEditedEnds(s).empty()) << "a NaN left as it was is no edit";
    }
    s.frequency = 300;
    RefreshBoundImpedances(s);
    const Complex at300 = s.startZ;
    ASSERT_TRUE(UnbindMeasuredData(s, LoadEnd::Start));
    s.frequency = 350;
    RefreshBoundImpedances(s);
    EXPECT_EQ(s.startZ, at300);
    s.goalZ.im += 1e-9;
    EXPECT_EQ(UnbindEditedEnds(s), std::vector<LoadEnd>{LoadEnd::Goal});
}

TEST(MeasuredBinding, DocumentRoundTripsByteForByte) {
    for (const double f : {150.0, 1000.0}) {
        const std::vector<uint8_t> bytes = WriteDocument(Bound(f));
        SmithChrt read = NewDocument();
        ASSERT_EQ(ReadDocument(bytes, read), DocumentError::None);
        ASSERT_NE(read.goalData, nullptr);
        EXPECT_EQ(read.startData->name, "probe.s1p");
        EXPECT_EQ(WriteDocument(read), bytes) << f;
    }
}

TEST(MeasuredBinding, RecordsThatBreakTheRulesAreIgnored) {
    const auto record = [](uint32_t count, size_t points, double step) {
        RecordWriter w;
        w.Text("x.s1p");
        w.UInt32(count);
        for (size_t i = 0; i < points; ++i) {
            for (const double v :
                 {100 + step * static_cast<double>(i), 50.0, 0.1, 0.0, 61.0, 0.0}) {
                w.Double(v);
            }
        }
        return TrailerRecord{kStartDataRecordTag, w.Bytes()};
    };
    const std::pair<TrailerRecord, bool> cases[] = {
        {record(2, 2, 1), true},  {record(0xFFFFFFFF, 2, 1), false}, {record(3, 2, 1), false},
        {record(0, 0, 1), false}, {record(2, 2, 0), false},
    };
    for (const auto& [r, bound] : cases) {
        SmithChrt s = NewDocument();
        s.unknownRecords = {r}; // written back as it stands
        SmithChrt read = NewDocument();
        ASSERT_TRUE(DecodeTrailer(EncodeTrailer(s), read));
        EXPECT_EQ(read.startData != nullptr, bound);
    }
}

TEST(MeasuredBinding, BandUsesTheDataAtEveryFrequencyAndLeavesOutThePointsWithout) {
    SmithChrt s = Bound(200);
    s.band = {50, 400, 8, true, false};
    const BandResult r = EvaluateBand(s);
    EXPECT_TRUE(std::isnan(r.vswr[0])) << "50 MHz lies below the data";
    EXPECT_EQ(r.missingPoints, 1);
    for (size_t k = 1; k < r.size(); ++k) {
        const Complex z = *MeasuredImpedanceAt(*s.startData, r.frequencies[k]);
        EXPECT_EQ(r.endZ[k], z);
        // A generator of impedance Z straight into a load Z: the power-wave reflection is
        // jX / R... |jX| / |2Z| * 2 = |X| / |Z|, a match only where X = 0.
        const double g = std::fabs(z.im) / std::hypot(z.re, z.im);
        EXPECT_NEAR(r.vswr[k], (1 + g) / (1 - g), 1e-9 * r.vswr[k]) << r.frequencies[k];
    }
    // The data's locus across a band: its ends interpolated, the points inside as they are.
    const std::vector<Complex> locus = MeasuredLocus(*s.startData, {150, 300, 8, true, false});
    ASSERT_EQ(locus.size(), 3u);
    EXPECT_EQ(locus[1], Complex(20, 35));
}

// The goal's record carries the version of its meaning; a record of an earlier version (without
// it) opens with the goal as the conjugate of its data, and says so once.
TEST(MeasuredBinding, GoalRecordOfAnEarlierVersionOpensAsTheConjugateAndSaysSo) {
    struct Sink : IMessageSink {
        void Report(const std::string& text) override { messages.push_back(text); }
        std::vector<std::string> messages;
    };
    for (const bool earlier : {false, true}) {
        RecordWriter w;
        w.Text("x.s1p");
        w.UInt32(1);
        for (const double v : {200.0, 50.0, 0.5, 0.25, 80.0, 60.0}) {
            w.Double(v);
        }
        if (!earlier) {
            w.UInt32(2);
        }
        SmithChrt s = NewDocument();
        s.unknownRecords = {TrailerRecord{kGoalDataRecordTag, w.Bytes()}};
        Sink sink;
        SmithChrt read = NewDocument();
        read.messages = &sink;
        read.frequency = 200;
        ASSERT_TRUE(DecodeTrailer(EncodeTrailer(s), read));
        ASSERT_NE(read.goalData, nullptr);
        EXPECT_EQ(read.goalZ, Complex(80, -60)) << "the conjugate of the data's 80+j60";
        ASSERT_EQ(sink.messages.size(), earlier ? 1u : 0u);
        if (earlier) {
            EXPECT_NE(sink.messages[0].find("conjugate"), std::string::npos);
            read.messages = nullptr;
            SmithChrt again = NewDocument();
            again.frequency = 200;
            ASSERT_TRUE(DecodeTrailer(EncodeTrailer(read), again));
            EXPECT_EQ(again.goalZ, read.goalZ) << "saved again with its version";
        }
    }
}

} // namespace
