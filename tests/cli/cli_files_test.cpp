// The tool's --save and document argument on what users' systems hold: links, pipes, read-only
// files, long names and large files.
#include "model/documentfile.h"
#include "tests/cli/cliprocess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(CliFiles, SaveWritesThroughALinkAndKeepsIt) {
    CScratchDir dir;
    fs::create_directory(dir.Path("real"));
    fs::create_directory(dir.Path("links"));
    WriteFileBytes(dir.Path("real/design.qbl"), "old");
    fs::create_symlink("../real/design.qbl", dir.Path("links/design.qbl"));
    const CliOutcome r =
        RunCliProcess({"--frequency", "435", "--save", dir.Path("links/design.qbl")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir.Path("links/design.qbl")));
    SmithChrt back;
    DocumentError e;
    ASSERT_EQ(LoadDocumentFile(dir.Path("real/design.qbl"), back, e), OpenOutcome::Read);
    EXPECT_EQ(back.frequency, 435);
}

TEST(CliFiles, RefusedSavesLeaveTheTargetAlone) {
    CScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.Path("pipe.qbl").c_str(), 0644), 0);
    WriteFileBytes(dir.Path("locked.qbl"), "locked");
    ::chmod(dir.Path("locked.qbl").c_str(), 0444);
    // The cause follows the message on the same line.
    const struct {
        const char* name;
        const char* cause;
    } cases[] = {{"pipe.qbl", "not a regular file"},
                 {"locked.qbl", "the file is read-only"},
                 {"no/such/folder.qbl", "No such file or directory"}};
    for (const auto& [name, cause] : cases) {
        const CliOutcome r = RunCliProcess({"--save", dir.Path(name)});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.err,
                  "quorbel-cli: " + dir.Path(name) + ": Failed to save document. (" + cause + ")\n")
            << name;
    }
    EXPECT_TRUE(fs::is_fifo(dir.Path("pipe.qbl")));
    EXPECT_EQ(ReadFileBytes(dir.Path("locked.qbl")), "locked");
}

TEST(CliFiles, SavesALongNameAndRefusesToOpenAPipe) {
    CScratchDir dir;
    const std::string longName = dir.Path(std::string(251, 'n') + ".qbl");
    EXPECT_EQ(RunCliProcess({"--save", longName}).status, 0);
    EXPECT_EQ(RunCliProcess({longName, "--readout"}).status, 0);

    ASSERT_EQ(::mkfifo(dir.Path("pipe.qbl").c_str(), 0644), 0);
    const CliOutcome r = RunCliProcess({dir.Path("pipe.qbl"), "--readout"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quorbel-cli: " + dir.Path("pipe.qbl") + ": Failed to open document.\n");
}

TEST(CliFiles, AGigabyteOfZerosReadsWithTheMemoryOfASmallDocument) {
    CScratchDir dir;
    WriteFileBytes(dir.Path("small.qbl"), std::string(200, '\0'));
    WriteFileBytes(dir.Path("zeros.qbl"), "");
    ASSERT_EQ(::truncate(dir.Path("zeros.qbl").c_str(), off_t{1} << 30), 0);
    const CliOutcome small = RunCliProcess({dir.Path("small.qbl"), "--json"});
    const CliOutcome large = RunCliProcess({dir.Path("zeros.qbl"), "--json"});
    ASSERT_EQ(large.status, 0) << large.err;
    EXPECT_EQ(large.out, small.out);
    EXPECT_LT(large.maxRssKiB - small.maxRssKiB, 32 * 1024);
}

// Records of a later version are kept as the bytes they are: opening a document of 48 MiB of
// them costs at most about twice that, and a save writes them back whole.
TEST(CliFiles, ADocumentOfKeptRecordsOpensInAboutTwiceItsSize) {
    CScratchDir dir;
    constexpr size_t kKept = size_t{48} << 20;
    SmithChrt doc = NewDocument();
    doc.unknownRecords.push_back({MakeRecordTag('L', 'A', 'T', 'R'), std::vector<uint8_t>(kKept)});
    ASSERT_EQ(SaveDocumentFile(dir.Path("big.qbl"), doc), DocumentError::None);
    ASSERT_EQ(SaveDocumentFile(dir.Path("small.qbl"), NewDocument()), DocumentError::None);
    const CliOutcome small = RunCliProcess({dir.Path("small.qbl"), "--json"});
    const CliOutcome large =
        RunCliProcess({dir.Path("big.qbl"), "--json", "--save", dir.Path("again.qbl")});
    ASSERT_EQ(large.status, 0) << large.err;
    EXPECT_EQ(large.out, small.out);
    EXPECT_EQ(ReadFileBytes(dir.Path("again.qbl")), ReadFileBytes(dir.Path("big.qbl")));
    const long kib = static_cast<long>(kKept >> 10);
    EXPECT_LT(large.maxRssKiB - small.maxRssKiB, 2 * kib + 8 * 1024)
        << "opening and saving took " << (large.maxRssKiB - small.maxRssKiB) / 1024 << " MiB";
}

} // namespace
