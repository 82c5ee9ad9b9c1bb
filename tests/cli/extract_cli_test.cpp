#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "bsa_builder.h"
#include "cli_runner.h"
#include "cli/cli.h"
#include "cli/terminal_bar.h"
#include "test_support.h"

using namespace kestrum;
using namespace kestrum::test;
namespace fs = std::filesystem;

namespace {

class ExtractVerb : public ::testing::Test {
protected:
    void SetUp() override {
        ArchiveSpec plan;
        plan.archiveFlags = 7;
        plan.folders = {{"a", {{"x.txt", "a-x"}, {"y.txt", "a-y"}}},
                        {"a\\b", {{"x.txt", "ab-x"}}},
                        {"ab", {{"z.txt", "ab-z"}}},
                        {"c", {{"x.txt", "c-x"}}}};
        archive = dir.Join("t.bsa");
        WriteBytes(archive, BuildArchive(plan).bytes);
        dest = dir.Join("out");
        fs::create_directories(dest);
    }

    int Run(std::vector<std::string> args) { return cli::RunExtract(args); }

    // Files below the destination as "path=content", sorted.
    std::vector<std::string> Written() const {
        std::vector<std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(dest))
            if (e.is_regular_file())
                files.push_back(fs::relative(e.path(), dest).generic_string() + "=" + ReadBytes(e.path()));
        std::sort(files.begin(), files.end());
        return files;
    }

    TempDir dir;
    std::string archive, dest;
    MessageRecorder recorder;
};

}  // namespace

TEST_F(ExtractVerb, WritesEveryFileBelowItsFolderOrStraightIntoDest) {
    EXPECT_EQ(Run({archive, dest}), 0);
    EXPECT_EQ(Written(), (std::vector<std::string>{"a/b/x.txt=ab-x", "a/x.txt=a-x", "a/y.txt=a-y", "ab/z.txt=ab-z",
                                                   "c/x.txt=c-x"}));
    fs::remove_all(dest);
    fs::create_directories(dest);
    EXPECT_EQ(Run({"--no-path", archive, dest}), 0);
    EXPECT_EQ(Written(), (std::vector<std::string>{"x.txt=c-x", "y.txt=a-y", "z.txt=ab-z"})) << "the later file wins";
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(ExtractVerb, EntriesNameFilesOrWholeFolders) {
    // A file by its Name text in either separator; a folder takes its
    // subfolders but not a sibling that merely begins with the same text.
    EXPECT_EQ(Run({archive, dest, "c/x.txt", "a"}), 0);
    EXPECT_EQ(Written(), (std::vector<std::string>{"a/b/x.txt=ab-x", "a/x.txt=a-x", "a/y.txt=a-y", "c/x.txt=c-x"}));
    fs::remove_all(dest);
    fs::create_directories(dest);
    EXPECT_EQ(Run({archive, dest, "a\\b\\", "a\\y.txt"}), 0);
    EXPECT_EQ(Written(), (std::vector<std::string>{"a/b/x.txt=ab-x", "a/y.txt=a-y"}));
}

TEST_F(ExtractVerb, WithEntriesEveryFailureIsReportedAndTheRunGoesOn) {
    EXPECT_EQ(Run({archive, dest, "nothing", "c\\x.txt", "a\\"}), 1) << "an unmatched ENTRY counts as result 1";
    EXPECT_EQ(recorder.messages(), std::vector<std::string>{"No file or folder is named nothing."});
    EXPECT_EQ(Written().size(), 4u);

    recorder.clear();
    WriteBytes(fs::path(dest) / "blocked", "");
    EXPECT_EQ(Run({archive, dest + "/blocked", "c", "nothing"}), 2) << "the first failure's code";
    EXPECT_EQ(recorder.messages(), (std::vector<std::string>{"Invalid path.", "No file or folder is named nothing."}));
}

TEST_F(ExtractVerb, WithoutEntriesTheFirstFailureEndsTheRun) {
    fs::create_directories(fs::path(dest) / "a" / "b");
    WriteBytes(fs::path(dest) / "ab", "a file where the folder ab belongs");
    EXPECT_EQ(Run({archive, dest}), 3);
    EXPECT_EQ(recorder.messages(), std::vector<std::string>{"Error create folder."});
    EXPECT_FALSE(fs::exists(fs::path(dest) / "c")) << "files after the failure are not extracted";
    EXPECT_TRUE(fs::exists(fs::path(dest) / "a" / "b" / "x.txt"));
}

TEST_F(ExtractVerb, ArchiveFailuresAndUsage) {
    EXPECT_EQ(Run({dir.Join("missing.bsa"), dest}), 1) << "the loader's code";
    EXPECT_EQ(recorder.messages().size(), 1u);
    EXPECT_THROW(Run({archive}), cli::UsageError);
    EXPECT_THROW(Run({"--flat", archive, dest}), cli::UsageError);
}

TEST(TerminalBar, DrawsTheSameFortyCellsForEveryPosition) {
    EXPECT_EQ(cli::TerminalBar::Render(0), "[........................................]   0%");
    EXPECT_EQ(cli::TerminalBar::Render(25), "[##########..............................]  25%");
    EXPECT_EQ(cli::TerminalBar::Render(100), "[########################################] 100%");
}

// Through the whole tool: messages on stderr only (no bar off a terminal),
// stdout silent, and the exit statuses.
TEST_F(ExtractVerb, TheToolReportsOnStderrAndExitsWithTheCode) {
    CliRun run = RunCliCaptured({"extract", "--quiet", archive, dest, "c"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Written(), std::vector<std::string>{"c/x.txt=c-x"});

    run = RunCliCaptured({"extract", "--quiet", archive, dest + "/missing"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "kestrum-cli: Invalid path.\n");

    run = RunCliCaptured({"extract", archive});
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.err.find("extract [--no-path]"), std::string::npos);
}
