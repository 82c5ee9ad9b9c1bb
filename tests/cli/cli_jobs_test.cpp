// extract --jobs N against --jobs 1 over random archives with damage, unsafe
// names, collisions and obstacles in the destination: the same files and
// folders, bytes, messages in order, summary and exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <regex>

#include "bsa_builder.h"
#include "cli_runner.h"
#include "test_support.h"

using namespace kestrum::test;
namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> seen;
    for (const auto& e : fs::recursive_directory_iterator(root))
        seen[fs::relative(e.path(), root).generic_string()] = e.is_directory() ? "<folder>" : ReadBytes(e.path());
    return seen;
}

std::string WithoutTime(const std::string& err) {
    return std::regex_replace(err, std::regex(", [0-9]+\\.[0-9]{2} s\n"), ", T s\n");
}

struct RandomCase {
    ArchiveSpec plan;
    std::vector<std::string> options;  // besides --jobs
    std::vector<std::string> entries;
    bool blockFolderC = false;  // a file named c where the folder c belongs: result 3
    bool folderAtOutput = false;  // a folder where a\f.txt goes: result 7
};

RandomCase MakeCase(std::mt19937& rng) {
    const auto pick = [&](auto& list) { return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(rng)]; };
    const auto chance = [&](double p) { return std::bernoulli_distribution(p)(rng); };
    static const std::vector<std::string> folders = {"a", "a\\b", "A\\B", "c", "", "d\\..\\e", "c\\deep\\er"};
    static const std::vector<std::string> files = {"f.txt", "g.bin", "F.TXT", "h", "CON"};

    RandomCase c;
    const bool compressed = chance(0.6);
    c.plan.archiveFlags = compressed ? 7 : 3;
    const int folderCount = std::uniform_int_distribution<int>(1, 5)(rng);
    for (int f = 0; f < folderCount; ++f) {
        FolderSpec folder{pick(folders), {}};
        const int fileCount = std::uniform_int_distribution<int>(0, 6)(rng);
        for (int i = 0; i < fileCount; ++i) {
            std::string data(std::uniform_int_distribution<std::size_t>(0, 6000)(rng), '\0');
            const char base = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
            for (std::size_t k = 0; k < data.size(); ++k)
                data[k] = static_cast<char>(base + (chance(0.1) ? static_cast<char>(rng()) : static_cast<char>(k % 7)));
            FileSpec file{pick(files), data};
            if (chance(0.15)) {
                switch (std::uniform_int_distribution<int>(0, 4)(rng)) {
                case 0: file.offset = 0xFFFFFF00u; break;                      // past the end: 6
                case 1: file.size = 0x7FFFFFFFu; break;                        // runs past the end: 6
                case 2: file.block = compressed ? "ab" : "x"; break;           // compressed: no prefix, 10
                case 3: file.block = std::string("\x20\0\0\0not a stream", 16); break;  // damaged stream: 10
                case 4: if (!data.empty()) file.prefix = static_cast<std::uint32_t>(data.size() / 2); break;
                }
            }
            folder.files.push_back(file);
        }
        c.plan.folders.push_back(folder);
    }
    if (chance(0.5)) c.options.push_back("--no-path");
    if (chance(0.2)) c.options.push_back("--no-clobber");
    if (chance(0.5)) {
        static const std::vector<std::string> entries = {"a", "a/b", "c", "nothing", "a\\f.txt", "A\\B\\g.bin", "\\h"};
        const int n = std::uniform_int_distribution<int>(1, 4)(rng);
        for (int i = 0; i < n; ++i) c.entries.push_back(pick(entries));
    }
    c.blockFolderC = chance(0.25);
    c.folderAtOutput = chance(0.25);
    return c;
}

}  // namespace

TEST(ExtractJobs, AnyNumberOfJobsGivesTheResultsOfOneByOne) {
    std::mt19937 rng(20261211);
    int failures = 0, collisions = 0;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const RandomCase c = MakeCase(rng);
        TempDir dir;
        const std::string archive = dir.Join("r.bsa");
        WriteBytes(archive, BuildArchive(c.plan).bytes);

        struct Outcome {
            int status;
            std::string out, err;
            std::map<std::string, std::string> tree;
        };
        std::vector<Outcome> outcomes;
        for (const char* jobs : {"1", "2", "4"}) {
            const fs::path dest = dir.path() / (std::string("out") + jobs);
            fs::create_directories(dest);
            if (c.blockFolderC) WriteBytes(dest / "c", "blocker");
            if (c.folderAtOutput) fs::create_directories(dest / "a" / "f.txt");
            std::vector<std::string> args = {"extract", "--jobs", jobs};
            args.insert(args.end(), c.options.begin(), c.options.end());
            args.push_back(archive);
            args.push_back(dest.string());
            args.insert(args.end(), c.entries.begin(), c.entries.end());
            const CliRun run = RunCliCaptured(args);
            outcomes.push_back({run.status, run.out, WithoutTime(run.err), Tree(dest)});
        }
        for (std::size_t k = 1; k < outcomes.size(); ++k) {
            EXPECT_EQ(outcomes[k].status, outcomes[0].status);
            EXPECT_EQ(outcomes[k].out, outcomes[0].out);
            EXPECT_EQ(outcomes[k].err, outcomes[0].err);
            EXPECT_EQ(outcomes[k].tree, outcomes[0].tree);
        }
        failures += outcomes[0].status != 0;
        collisions += std::count(c.options.begin(), c.options.end(), "--no-path") > 0;
    }
    // The rounds must have exercised what they are for.
    EXPECT_GT(failures, 10);
    EXPECT_GT(collisions, 10);
}

// An archive that extraction overwrites while it runs: later files are read
// from what was written, so nothing may be read ahead of its turn.
TEST(ExtractJobs, AnArchiveExtractedOverItselfReadsEachFileAtItsTurn) {
    ArchiveSpec plan;
    plan.folders = {{"", {{"self.bsa", "not an archive any more"}, {"after.txt", "after"}}}};
    TempDir dir;
    std::vector<std::pair<CliRun, std::map<std::string, std::string>>> outcomes;
    for (const char* jobs : {"1", "2"}) {
        const fs::path dest = dir.path() / (std::string("out") + jobs);
        fs::create_directories(dest);
        WriteBytes(dest / "self.bsa", BuildArchive(plan).bytes);
        CliRun run = RunCliCaptured({"extract", "--quiet", "--jobs", jobs, (dest / "self.bsa").string(), dest.string()});
        outcomes.emplace_back(run, Tree(dest));
    }
    EXPECT_EQ(outcomes[0].first.status, 6) << "the second block now lies past the end";
    EXPECT_EQ(outcomes[1].first.status, outcomes[0].first.status);
    EXPECT_EQ(outcomes[1].first.err, outcomes[0].first.err);
    EXPECT_EQ(outcomes[1].second, outcomes[0].second);
}
