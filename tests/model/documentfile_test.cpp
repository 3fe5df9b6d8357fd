// Where saves go and what opening reads: links, special files, read-only files, long names,
// large files.
#include "model/documentfile.h"
#include "model/documenttrailer.h"
#include "model/filerules.h"
#include "model/smithchrt.h"
#include "tests/support/childprocess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

SmithChrt Document(const std::string& title, int components) {
    SmithChrt s;
    s.ResetForNewDocument();
    s.title = title;
    for (int i = 0; i < components; ++i) {
        s.AddComponent(NewLine(PLACE_TL_SHUNT_OPEN, 50, 1000 + i));
    }
    return s;
}

mode_t Umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

class FileSafety : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/quorbel-files-XXXXXX";
        dir = ::mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string P(const std::string& name) const { return (dir / name).string(); }

    static Bytes Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const std::string& path, const Bytes& b) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }

    // No temporary file is left anywhere below the folder.
    void ExpectNoTemporaries() const {
        for (const auto& e : fs::recursive_directory_iterator(dir)) {
            EXPECT_EQ(e.path().filename().string().rfind(".quorbel-", 0), std::string::npos)
                << e.path();
        }
    }

    fs::path dir;
    const SmithChrt saved = Document("Saved", 3);
    const Bytes savedBytes = WriteDocument(saved);
};

struct LinkCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links; // link name, text it holds
    std::string save;
    std::string written;
};

TEST_F(FileSafety, SavesThroughLinksAndKeepsThem) {
    const std::vector<LinkCase> cases = {
        {"relative link", {{"links/a.qbl", "../real/a.qbl"}}, "links/a.qbl", "real/a.qbl"},
        {"absolute link", {{"links/b.qbl", P("real/b.qbl")}}, "links/b.qbl", "real/b.qbl"},
        {"chain of links",
         {{"c1.qbl", "links/c2.qbl"}, {"links/c2.qbl", "../real/c.qbl"}},
         "c1.qbl",
         "real/c.qbl"},
        {"link to a new name", {{"links/d.qbl", "../real/new.qbl"}}, "links/d.qbl", "real/new.qbl"},
    };
    fs::create_directories(dir / "links");
    fs::create_directories(dir / "real");
    for (const LinkCase& c : cases) {
        if (c.written != "real/new.qbl") {
            Write(P(c.written), {1, 2, 3});
            ::chmod(P(c.written).c_str(), 0640);
        }
        for (const auto& [link, text] : c.links) {
            fs::create_symlink(text, dir / link);
        }
        ASSERT_EQ(SaveDocumentFile(P(c.save), saved), DocumentError::None) << c.what;
        EXPECT_EQ(Read(P(c.written)), savedBytes) << c.what;
        struct stat st {};
        ::stat(P(c.written).c_str(), &st);
        EXPECT_EQ(st.st_mode & 0777, c.written == "real/new.qbl" ? 0666 & ~Umask() : 0640)
            << c.what;
        for (const auto& [link, text] : c.links) {
            EXPECT_TRUE(fs::is_symlink(dir / link)) << c.what;
            EXPECT_EQ(fs::read_symlink(dir / link), text) << c.what;
        }
    }
    ExpectNoTemporaries();
}

TEST_F(FileSafety, RefusesWhatItMustNotReplace) {
    fs::create_symlink("loop2.qbl", dir / "loop1.qbl");
    fs::create_symlink("loop1.qbl", dir / "loop2.qbl");
    fs::create_symlink("no/such/folder/x.qbl", dir / "dangling.qbl");
    ASSERT_EQ(::mkfifo(P("pipe.qbl").c_str(), 0644), 0);
    fs::create_symlink("pipe.qbl", dir / "to-pipe.qbl");
    Write(P("locked.qbl"), savedBytes);
    fs::permissions(P("locked.qbl"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    for (const char* name :
         {"loop1.qbl", "dangling.qbl", "pipe.qbl", "to-pipe.qbl", "locked.qbl"}) {
        EXPECT_EQ(SaveDocumentFile(P(name), Document("Other", 0)), DocumentError::FailedToSave)
            << name;
    }
    EXPECT_TRUE(fs::is_fifo(P("pipe.qbl")));
    EXPECT_FALSE(fs::exists(dir / "no"));
    EXPECT_EQ(Read(P("locked.qbl")), savedBytes);
    ExpectNoTemporaries();
}

struct RuleCase {
    uint32_t mode;
    FileUser user;
    bool writeProtected;
};

TEST(ReadOnlyRule, ThePermissionBitsOfTheUsersClassDecide) {
    // Files owned by user 1000, group 100.
    const FileUser owner{1000, 1000, {}};
    const FileUser member{1001, 100, {}};
    const FileUser supplementary{1002, 1002, {7, 100}};
    const FileUser other{1003, 1003, {7}};
    const FileUser root{0, 0, {}};
    const std::vector<RuleCase> cases = {
        {0100644, owner, false},  {0100444, owner, true},          {0100464, owner, true},
        {0100464, member, false}, {0100464, supplementary, false}, {0100646, member, true},
        {0100646, other, false},  {0100644, other, true},          {0100444, root, true},
        {0100644, root, false},   {0100002, root, false},          {0100000, root, true},
    };
    for (const RuleCase& c : cases) {
        EXPECT_EQ(IsWriteProtected(FileOwnership{c.mode, 1000, 100}, c.user), c.writeProtected)
            << std::oct << c.mode << " uid " << std::dec << c.user.uid;
    }
}

TEST(LinkRule, LinksPlantedInASharedStickyFolderAreNotFollowed) {
    const FileOwnership tmp{041777, 0, 0};
    const FileUser user{1000, 1000, {}};
    EXPECT_TRUE(MayFollowLink({0120777, 1000, 1000}, tmp, user));
    EXPECT_FALSE(MayFollowLink({0120777, 1001, 1001}, tmp, user));
    EXPECT_TRUE(MayFollowLink({0120777, 0, 0}, tmp, user));
    EXPECT_TRUE(MayFollowLink({0120777, 1001, 1001}, {040777, 0, 0}, user));
    EXPECT_TRUE(MayFollowLink({0120777, 1001, 1001}, {041775, 0, 0}, user));
}

TEST_F(FileSafety, SavesNamesOfEveryLegalLength) {
    for (size_t length = 249; length <= 256; ++length) {
        const std::string path = P(std::string(length - 4, 'n') + ".qbl");
        const DocumentError e = SaveDocumentFile(path, saved);
        if (length > 255) {
            EXPECT_EQ(e, DocumentError::FailedToSave);
            continue;
        }
        ASSERT_EQ(e, DocumentError::None) << length;
        SmithChrt back;
        DocumentError error;
        EXPECT_EQ(LoadDocumentFile(path, back, error), OpenOutcome::Read) << length;
    }
    ExpectNoTemporaries();
}

TEST_F(FileSafety, OpeningAnythingButARegularFileFailsAtOnce) {
    ASSERT_EQ(::mkfifo(P("pipe.qbl").c_str(), 0644), 0);
    fs::create_symlink("pipe.qbl", dir / "to-pipe.qbl");
    for (const std::string& path : {P("pipe.qbl"), P("to-pipe.qbl"), std::string("/dev/null")}) {
        const ChildOutcome r = RunInChild(
            [&] {
                SmithChrt s;
                DocumentError e;
                const bool refused = LoadDocumentFile(path, s, e) == OpenOutcome::Failed &&
                                     e == DocumentError::FailedToOpen;
                return refused ? 0 : 1;
            },
            20);
        EXPECT_TRUE(r.finished) << path << " blocked";
        EXPECT_EQ(r.status, 0) << path;
    }
}

TEST_F(FileSafety, LargeFilesAreReadOnlyAsFarAsTheDocumentGoes) {
    constexpr off_t kGiB = off_t{1} << 30;
    Write(P("zeros.qbl"), {});
    ASSERT_EQ(::truncate(P("zeros.qbl").c_str(), kGiB), 0);
    Write(P("trailing.qbl"), savedBytes);
    ASSERT_EQ(::truncate(P("trailing.qbl").c_str(), kGiB), 0);
    const Bytes zerosDocument = WriteDocument([] {
        SmithChrt s;
        s.ResetForNewDocument();
        s.frequency = s.f1Freq = s.f2Freq = s.f3Freq = s.tunePercent = 0;
        s.chartZ0 = s.startZ = s.goalZ = {0, 0};
        s.textMarkers = 0;
        s.title.clear();
        return s;
    }());
    for (const auto& [name, expected] :
         {std::pair{P("zeros.qbl"), zerosDocument}, std::pair{P("trailing.qbl"), savedBytes}}) {
        const ChildOutcome r = RunInChild(
            [&] {
                SmithChrt s;
                DocumentError e;
                const bool read = LoadDocumentFile(name, s, e) == OpenOutcome::Read;
                return read && WriteDocument(s) == expected ? 0 : 1;
            },
            60);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_LT(r.bytesRead, 1 << 20) << name;
        EXPECT_LT(r.peakGrowthKiB, 32 * 1024) << name;
    }
}

TEST_F(FileSafety, AClaimedLongTitleTakesOnlyTheMemoryOfWhatIsThere) {
    Bytes b = WriteDocument(Document("", 0));
    b.resize(89);                  // up to the title
    b.resize(b.size() + 10, 0xFF); // 0xFF, 0xFFFF, 0xFFFFFFFF, then a 64-bit length:
    for (const uint8_t x : {0x7F, 0, 0, 0, 0}) {
        b.push_back(x); // 0x7FFFFFFF characters, the largest length read
    }
    b.resize(b.size() + 3 * 1024 * 1024, 'x');
    Write(P("claim.qbl"), b);
    const ChildOutcome r = RunInChild(
        [&] {
            SmithChrt s;
            DocumentError e;
            const bool failed = LoadDocumentFile(P("claim.qbl"), s, e) == OpenOutcome::Failed &&
                                e == DocumentError::UnexpectedFormat &&
                                ReadDocument(b, s) == DocumentError::UnexpectedFormat;
            return failed ? 0 : 1;
        },
        60);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.status, 0);
    EXPECT_LT(r.peakGrowthKiB, 64 * 1024);
}

// Hands out its bytes a few at a time, as a slow file might.
class TrickleSource : public ByteSource {
public:
    TrickleSource(const Bytes& b, size_t piece, bool failAtEnd = false)
        : bytes(b), piece(piece), failAtEnd(failAtEnd) {}
    size_t Read(uint8_t* dst, size_t n) override {
        const size_t k = std::min({n, piece, bytes.size() - pos});
        std::copy_n(bytes.begin() + static_cast<long>(pos), k, dst);
        pos += k;
        return k;
    }
    bool ReadError() const override { return failAtEnd && pos == bytes.size(); }
    const Bytes& bytes;
    size_t piece;
    bool failAtEnd;
    size_t pos = 0;
};

TEST(StreamedReading, ReadsAsTheInMemoryReaderDoes) {
    SmithChrt wide = Document("\xE2\x82\xAC wide \xF0\x9F\x93\xA1", 25);
    SmithChrt longTitle = Document(std::string(200000, 'T'), 7);
    for (const SmithChrt& doc : {wide, longTitle}) {
        const Bytes b = WriteDocument(doc);
        for (const size_t piece : {size_t{1}, size_t{7}, size_t{1} << 20}) {
            TrickleSource source(b, piece);
            SmithChrt back;
            ASSERT_EQ(ReadDocument(source, back), DocumentError::None);
            EXPECT_EQ(WriteDocument(back), b);
        }
    }
    Bytes cut = WriteDocument(wide);
    cut.resize(100);
    TrickleSource failing(cut, 10, true);
    SmithChrt s;
    EXPECT_EQ(ReadDocument(failing, s), DocumentError::FailedToOpen);
}

TEST(StreamedReading, WhatFollowsTheDocumentIsTakenInBoundedAmounts) {
    Bytes b = WriteDocument(Document("T", 2));
    const size_t end = b.size();
    b.resize(end + 300, 0xAB);
    TrickleSource source(b, 64);
    for (int streamed = 0; streamed < 2; ++streamed) {
        Archive ar = streamed ? Archive(source) : Archive(b);
        SmithChrt s;
        s.Serialize(ar);
        // Only a trailer's header is looked at; these bytes are none.
        ASSERT_EQ(ar.Position(), end + kTrailerHeaderSize);
        EXPECT_FALSE(ar.AtEnd());
        EXPECT_EQ(ar.TakeRest(100).size(), 100u);
        ar.LimitInput(150);
        const std::span<const uint8_t> rest = ar.TakeRest();
        EXPECT_EQ(rest.size(), 150u);
        EXPECT_EQ(rest[149], 0xAB);
        EXPECT_TRUE(ar.AtEnd());
        EXPECT_FALSE(ar.Failed());
    }
    b.resize(end + kMaxTrailerBytes + 10);
    Archive ar(b);
    SmithChrt s;
    s.Serialize(ar);
    EXPECT_EQ(ar.TakeRest(SIZE_MAX).size(), kMaxTrailerBytes - kTrailerHeaderSize);
}

} // namespace
