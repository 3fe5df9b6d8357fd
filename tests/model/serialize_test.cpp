#include "model/documentfile.h"
#include "model/smithchrt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Hex(std::initializer_list<int> v) {
    return Bytes(v.begin(), v.end());
}

Bytes Slice(const Bytes& b, size_t from, size_t n) {
    return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(from + n));
}

SmithChrt NewDocument() {
    SmithChrt s;
    s.ResetForNewDocument();
    return s;
}

SmithChrt ThreeComponents() {
    SmithChrt s = NewDocument();
    s.title = "Tri";
    s.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    s.AddComponent(NewLine(PLACE_TL_SHUNT_SHORTED, 50, 1000));
    s.AddComponent(NewCompound(KIND_PARALLEL_RLC, PLACE_SHUNT));
    s.activeIndex = 1;
    s.showVswrCircles = true;
    s.f3Freq = 2400;
    return s;
}

TEST(FileFormat, NewDocumentBytes) {
    const SmithChrt s = NewDocument();
    const Bytes b = WriteDocument(s);
    ASSERT_EQ(b.size(), 134 + s.title.size());
    EXPECT_EQ(Slice(b, 0, 8), Hex({0, 0, 0, 0, 0, 0x40, 0x8F, 0x40}));
    EXPECT_EQ(Slice(b, 8, 8), Hex({0, 0, 0, 0, 0, 0, 0x49, 0x40}));
    EXPECT_EQ(Slice(b, 16, 8), Bytes(8, 0));
    EXPECT_EQ(Slice(b, 56, 8), Hex({0, 0, 0, 0, 0, 0, 0x04, 0x40}));
    EXPECT_EQ(Slice(b, 76, 4), Hex({1, 0, 0, 0})); // text markers
    EXPECT_EQ(b[80], 0);                           // VSWR circles
    EXPECT_EQ(Slice(b, 85, 4), Bytes(4, 0));       // no components
    EXPECT_EQ(b[89], s.title.size());
    const size_t after = 90 + s.title.size();
    EXPECT_EQ(Slice(b, after, 18),
              Hex({1, 1, 4, 'H', 'o', 'l', 'a', 4, 'H', 'o', 'l', 'a', 1, 0, 0, 0, 1, 0}));
}

TEST(FileFormat, ComponentBlocksAndTheirConstantTail) {
    SmithChrt empty = NewDocument();
    SmithChrt full = NewDocument();
    for (int i = 0; i < 25; ++i) {
        full.AddComponent(NewInductor(PLACE_SERIES, 50, 1000));
    }
    EXPECT_EQ(WriteDocument(full).size() - WriteDocument(empty).size(), 1950u);

    const SmithChrt s = ThreeComponents();
    const Bytes b = WriteDocument(s);
    ASSERT_EQ(b.size(), 134 + 3 + 3 * 78u);
    const size_t first = 134 + 3;
    EXPECT_EQ(Slice(b, first, 4), Hex({11, 0, 0, 0}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Slice(b, first + 78 * i + 60, 18),
                  Hex({0, 0, 0x80, 0x3F, 0, 0, 0x80, 0x3F, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0}));
    }
    EXPECT_EQ(b[80], 1);
}

struct PrefixCase {
    size_t length;
    Bytes prefix;
};

void PrintTo(const PrefixCase& c, std::ostream* os) {
    *os << c.length << " characters";
}

class FileFormatTitlePrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(FileFormatTitlePrefix, LengthPrefixAndRoundTrip) {
    SmithChrt s = NewDocument();
    s.title.assign(GetParam().length, 'x');
    const Bytes b = WriteDocument(s);
    EXPECT_EQ(Slice(b, 89, GetParam().prefix.size()), GetParam().prefix);
    SmithChrt back;
    ASSERT_EQ(ReadDocument(b, back), DocumentError::None);
    EXPECT_EQ(back.title, s.title);
}

INSTANTIATE_TEST_SUITE_P(Lengths, FileFormatTitlePrefix,
                         ::testing::Values(PrefixCase{0, Hex({0})}, PrefixCase{254, Hex({0xFE})},
                                           PrefixCase{255, Hex({0xFF, 0xFF, 0x00})},
                                           PrefixCase{65533, Hex({0xFF, 0xFD, 0xFF})},
                                           PrefixCase{65534,
                                                      Hex({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})}),
                         [](const auto& info) { return std::to_string(info.param.length); });

TEST(FileFormat, TitlesOutsideTheCodePageUseUtf16) {
    SmithChrt s = NewDocument();
    s.title = "Filter \xCE\xA9 \xE2\x82\xAC"; // "Filter Ω €"
    const Bytes b = WriteDocument(s);
    EXPECT_EQ(Slice(b, 89, 4), Hex({0xFF, 0xFE, 0xFF, 10}));
    EXPECT_EQ(Slice(b, 93 + 14, 6), Hex({0xA9, 0x03, ' ', 0, 0xAC, 0x20}));
    SmithChrt back;
    ASSERT_EQ(ReadDocument(b, back), DocumentError::None);
    EXPECT_EQ(back.title, s.title);

    // A single-byte title in the code page keeps its bytes.
    s.title = "caf\xC3\xA9 \xE2\x82\xAC"; // "café €"
    const Bytes single = WriteDocument(s);
    EXPECT_EQ(Slice(single, 89, 7), Hex({6, 'c', 'a', 'f', 0xE9, ' ', 0x80}));
}

TEST(FileFormat, ReadsUtf16TitleWrittenByOthers) {
    Bytes b = WriteDocument(NewDocument());
    const size_t t = b[89];
    b.erase(b.begin() + 89, b.begin() + 90 + static_cast<long>(t));
    const Bytes wide = Hex({0xFF, 0xFE, 0xFF, 2, 'H', 0, 'i', 0});
    b.insert(b.begin() + 89, wide.begin(), wide.end());
    SmithChrt back;
    ASSERT_EQ(ReadDocument(b, back), DocumentError::None);
    EXPECT_EQ(back.title, "Hi");
    EXPECT_EQ(back.f1Freq, 1000.0);
}

TEST(FileFormat, ConstantsAreDiscardedAndTrailingBytesIgnored) {
    const SmithChrt s = ThreeComponents();
    Bytes b = WriteDocument(s);
    const size_t hola = 90 + 3 + 2;
    b[hola + 1] = 'X';        // "Xola"
    b[134 + 3 + 60] = 0x55;   // a constant float
    b[134 + 3 + 78 + 70] = 9; // a constant int32
    b.push_back(0xAB);
    b.push_back(0xCD);
    SmithChrt back;
    ASSERT_EQ(ReadDocument(b, back), DocumentError::None);
    EXPECT_EQ(WriteDocument(back), WriteDocument(s));
    b[80] = 7;
    ASSERT_EQ(ReadDocument(b, back), DocumentError::None);
    EXPECT_TRUE(back.showVswrCircles);
}

TEST(FileFormat, RoundTripKeepsEverySavedField) {
    SmithChrt s = ThreeComponents();
    s.frequency = 144.2;
    s.chartZ0 = {75, 0.5};
    s.goalZ = {12.5, -3};
    s.startZ = {100, 25};
    s.tunePercent = 0.1;
    s.showAdmittance = 1;
    s.gammaMode = 1;
    s.showQArcs = 1;
    s.textMarkers = 0;
    s.f1Freq = 1;
    s.f2Freq = 2;
    const Bytes b = WriteDocument(s);
    SmithChrt back;
    ASSERT_EQ(ReadDocument(b, back), DocumentError::None);
    EXPECT_EQ(WriteDocument(back), b);
    EXPECT_EQ(back.components[2], s.components[2]);
    EXPECT_EQ(back.activeIndex, 1);
    EXPECT_EQ(back.startZ, s.startZ);
}

TEST(FileFormat, TruncationAtEveryOffsetFailsAndChangesNothing) {
    const Bytes b = WriteDocument(ThreeComponents());
    SmithChrt before = NewDocument();
    before.title = "keep";
    before.frequency = 55;
    const Bytes reference = WriteDocument(before);
    for (size_t n = 0; n < b.size(); ++n) {
        SmithChrt s = before;
        const Bytes cut(b.begin(), b.begin() + static_cast<long>(n));
        ASSERT_EQ(ReadDocument(cut, s), DocumentError::UnexpectedFormat) << n;
        ASSERT_EQ(WriteDocument(s), reference) << n;
    }
}

TEST(FileFormat, OutOfRangeCountsAndIndices) {
    Bytes b = WriteDocument(ThreeComponents());
    SmithChrt s;
    for (int32_t count : {26, -1, 0x7FFFFFFF}) {
        Bytes bad = b;
        std::memcpy(bad.data() + 85, &count, 4);
        EXPECT_EQ(ReadDocument(bad, s), DocumentError::UnexpectedFormat) << count;
    }
    for (auto [stored, expected] : {std::pair{7, 2}, {-5, 0}, {2, 2}}) {
        Bytes odd = b;
        std::memcpy(odd.data() + 81, &stored, 4);
        ASSERT_EQ(ReadDocument(odd, s), DocumentError::None);
        EXPECT_EQ(s.activeIndex, expected) << stored;
    }
}

TEST(FileFormat, HugeStringLengths) {
    Bytes b = WriteDocument(NewDocument());
    b.resize(89);
    Bytes big = b;
    const Bytes prefix64 =
        Hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0, 0, 0, 0});
    big.insert(big.end(), prefix64.begin(), prefix64.end());
    SmithChrt s;
    EXPECT_EQ(ReadDocument(big, s), DocumentError::FailedToOpen);
    Bytes big32 = b;
    const Bytes prefix32 = Hex({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x70});
    big32.insert(big32.end(), prefix32.begin(), prefix32.end());
    EXPECT_EQ(ReadDocument(big32, s), DocumentError::UnexpectedFormat);
}

class DocumentFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("quorbel-model-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(DocumentFiles, SaveOpenEmptyAndMissing) {
    const std::string path = (dir / "a.qbl").string();
    const SmithChrt s = ThreeComponents();
    ASSERT_EQ(SaveDocumentFile(path, s), DocumentError::None);
    EXPECT_EQ(std::filesystem::file_size(path), WriteDocument(s).size());
    SmithChrt back;
    DocumentError e;
    EXPECT_EQ(LoadDocumentFile(path, back, e), OpenOutcome::Read);
    EXPECT_EQ(WriteDocument(back), WriteDocument(s));

    const std::string empty = (dir / "empty.qbl").string();
    std::ofstream(empty).close();
    SmithChrt kept = s;
    EXPECT_EQ(LoadDocumentFile(empty, kept, e), OpenOutcome::EmptyFile);
    EXPECT_EQ(WriteDocument(kept), WriteDocument(s));

    EXPECT_EQ(LoadDocumentFile((dir / "missing.qbl").string(), kept, e), OpenOutcome::Failed);
    EXPECT_EQ(e, DocumentError::FailedToOpen);
    EXPECT_STREQ(DocumentErrorText(e), "Failed to open document.");
}

TEST_F(DocumentFiles, FailedSaveLeavesTheOldFile) {
    const std::string path = (dir / "keep.qbl").string();
    ASSERT_EQ(SaveDocumentFile(path, ThreeComponents()), DocumentError::None);
    const auto size = std::filesystem::file_size(path);
    EXPECT_EQ(SaveDocumentFile((dir / "no" / "such" / "dir.qbl").string(), NewDocument()),
              DocumentError::FailedToSave);
    // A directory in the way of the rename: the save fails and no temporary is left behind.
    std::filesystem::create_directory(dir / "taken.qbl");
    EXPECT_EQ(SaveDocumentFile((dir / "taken.qbl").string(), NewDocument()),
              DocumentError::FailedToSave);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++files;
    }
    EXPECT_EQ(files, 2);
}

} // namespace
