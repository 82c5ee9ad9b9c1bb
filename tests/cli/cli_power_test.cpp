// verify, --json, extract's filters, --dry-run, --no-clobber, --jobs and the
// summary line, through the whole tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <regex>

#include "bsa_builder.h"
#include "cli/block_pipeline.h"
#include "cli/name_glob.h"
#include "cli_runner.h"
#include "test_support.h"

using namespace kestrum;
using namespace kestrum::test;
namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

// Every file and folder below root: "path=content" or "path/".
std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> seen;
    if (!fs::exists(root)) return seen;
    for (const auto& e : fs::recursive_directory_iterator(root))
        seen[fs::relative(e.path(), root).generic_string()] = e.is_directory() ? "<folder>" : ReadBytes(e.path());
    return seen;
}

// The summary line's time differs from run to run.
std::string WithoutTime(const std::string& err) {
    return std::regex_replace(err, std::regex(", [0-9]+\\.[0-9]{2} s\n"), ", T s\n");
}

// Intact files and each kind of damage the extractor reports.
ArchiveSpec Damaged() {
    ArchiveSpec plan;
    plan.archiveFlags = 7;
    FileSpec pastEnd{"past.bin", "data"};
    pastEnd.offset = 0xFFFFFF00u;
    FileSpec broken{"broken.bin", "x"};
    broken.block = std::string("\x10\0\0\0garbage-not-zlib", 21);
    FileSpec small{"small.bin", std::string(100, 'q')};
    small.prefix = 10;
    FileSpec tiny{"tiny.bin", ""};
    tiny.block = "ab";
    plan.folders = {{"ok", {{"a.txt", "alpha", 0x0123456789ABCDEFull}, {"b.txt", std::string(5000, 'b')}}},
                    {"bad", {pastEnd, broken}},
                    {"caf\xE9", {small, tiny, {"fine.txt", "fine"}}}};
    return plan;
}

class CliPower : public ::testing::Test {
protected:
    std::string Archive(const ArchiveSpec& plan, const std::string& name = "t.bsa") {
        const std::string path = dir.Join(name);
        WriteBytes(path, BuildArchive(plan).bytes);
        return path;
    }
    std::string Dest(const std::string& name = "out") {
        fs::create_directories(dir.path() / name);
        return dir.Join(name);
    }
    TempDir dir;
};

// Archive names as the tool prints them: UTF-8 on POSIX, ANSI on Windows.
#ifdef _WIN32
const std::string kCafe = "caf\xE9";
const char kSeparator = '\\';
#else
const std::string kCafe = "caf\xC3\xA9";
const char kSeparator = '/';
#endif

const std::regex kExtractSummary(
    "kestrum-cli: extract: [0-9]+ written, [0-9]+ skipped, [0-9]+ failed, [0-9]+ bytes, [0-9]+\\.[0-9]{2} s\n");

}  // namespace

TEST(NameGlob, MatchesNameTexts) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    } const cases[] = {
        {"meshes\\*.nif", "meshes\\a.nif", true},
        {"meshes/*.nif", "meshes\\a.nif", true},          // "/" stands for "\"
        {"MESHES/*.NIF", "meshes\\a.nif", true},          // ASCII case folds
        {"meshes/*.nif", "meshes\\armor\\a.nif", false},  // "*" stays within a folder
        {"meshes/**.nif", "meshes\\armor\\a.nif", true},
        {"meshes/**/a.nif", "meshes\\a.nif", true},  // "**/" may be no folder at all
        {"meshes/**/a.nif", "meshes\\x\\y\\a.nif", true},
        {"meshes/**/a.nif", "meshesx\\a.nif", false},
        {"**/*.nif", "\\root.nif", true},  // the empty folder path of a root file
        {"**/*.nif", "a\\b.nif.bak", false},
        {"?.txt", "\\a.txt", false},  // "?" is no separator
        {"\\?.txt", "\\a.txt", true},
        {"a\\?", "a\\\xC3\xA9", true},  // one character, not one byte (on Windows: two one-byte ones)
        {"**caf\xC3\xA9*", "x\\CAF\xC3\xA9.txt", true},
        {"**CAF\xC3\x89*", "x\\caf\xC3\xA9.txt", false},  // only ASCII letters fold
        {"", "", true},
        {"*", "", true},
        {"a", "ab", false},
        {"**", "a\\b\\c", true},
    };
    for (const Case& c : cases) {
#ifdef _WIN32
        if (std::string(c.name).find('\xC3') != std::string::npos) continue;  // UTF-8 cases
#endif
        EXPECT_EQ(cli::NameGlob(c.pattern).Matches(c.name), c.matches) << c.pattern << " on " << c.name;
    }
}

TEST(NameGlob, ManyStarsOnALongNameStayCheap) {
    const std::string name(100000, 'a');
    EXPECT_FALSE(cli::NameGlob("*a*a*a*a*a*a*a*a*a*a*b").Matches(name));
    EXPECT_TRUE(cli::NameGlob("**a**a**a").Matches(name));
}

TEST_F(CliPower, VerifyReportsEveryDamagedFileAndTheFirstCode) {
    const std::string archive = Archive(Damaged());
    const auto before = Tree(dir.path());
    for (const char* jobs : {"1", "3"}) {
        const CliRun run = RunCliCaptured({"verify", "--jobs", jobs, archive});
        EXPECT_EQ(run.status, 6) << "data past the end comes first";
        EXPECT_EQ(run.out,
                  "bad\\past.bin\tError read BSA file.\n"
                  "bad\\broken.bin\tError decompressed data.\n" +
                      kCafe + "\\small.bin\tError decompressed data.\n" + kCafe +
                      "\\tiny.bin\tError decompressed data.\n")
            << "jobs " << jobs;
        EXPECT_EQ(WithoutTime(run.err), "kestrum-cli: verify: 3 intact, 4 damaged, 5009 bytes, T s\n");
    }
    EXPECT_EQ(Tree(dir.path()), before) << "verify writes nothing";

    ArchiveSpec intact;
    intact.folders = {{"a", {{"x", "1"}, {"y", ""}}}};
    const CliRun run = RunCliCaptured({"verify", "--quiet", Archive(intact, "ok.bsa")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliPower, JsonDocumentsParseBackWithTheTextFormsFacts) {
    const std::string archive = Archive(Damaged());
    CliRun run = RunCliCaptured({"info", "--json", archive});
    ASSERT_EQ(run.status, 0);
    json info = json::parse(run.out);
    EXPECT_EQ(info["path"], archive);
    EXPECT_EQ(info["folders"], 3);
    EXPECT_EQ(info["files"], 7);
    EXPECT_EQ(info["compression"], "deflate");

    run = RunCliCaptured({"verify", "--json", "--quiet", archive});
    EXPECT_EQ(run.status, 6);
    const json verify = json::parse(run.out);
    EXPECT_EQ(verify["files"], 7);
    EXPECT_EQ(verify["intact"], 3);
    EXPECT_EQ(verify["bytes"], 5009);
    EXPECT_EQ(verify["status"], 6);
    ASSERT_EQ(verify["damaged"].size(), 4u);
    EXPECT_EQ(verify["damaged"][0], (json{{"index", 2}, {"name", "bad\\past.bin"}, {"code", 6},
                                          {"message", "Error read BSA file."}}));
#ifndef _WIN32  // Windows converts from the system's ANSI code page, which the test cannot choose
    EXPECT_EQ(verify["damaged"][2]["name"], "caf\xC3\xA9\\small.bin") << "UTF-8 after the code page";
#endif
    EXPECT_EQ(verify["damaged"][3]["code"], 10);

    // list: the text form's rows, in the same order, with or without --sort.
    for (const std::vector<std::string>& sort : {std::vector<std::string>{}, {"--sort", "size"}, {"--sort", "name"}}) {
        std::vector<std::string> args = {"list"};
        args.insert(args.end(), sort.begin(), sort.end());
        args.push_back(archive);
        const CliRun text = RunCliCaptured(args);
        args.insert(args.begin() + 1, "--json");
        run = RunCliCaptured(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const json list = json::parse(run.out);
        EXPECT_EQ(list["order"], sort.empty() ? "catalogue" : sort[1]);
        std::string rows;
        for (const json& file : list["files"]) {
            EXPECT_EQ(file["name"], file["folder"].get<std::string>() + "\\" + file["file"].get<std::string>());
            EXPECT_TRUE(file["size"].is_number_unsigned() && file["offset"].is_number_unsigned());
            rows += file["name"].get<std::string>() + "\t" + std::to_string(file["size"].get<std::uint64_t>()) + "\t" +
                    file["hash"].get<std::string>() + "\n";
        }
#ifndef _WIN32
        EXPECT_EQ(rows, text.out);
#endif
        EXPECT_EQ(list["files"].size(), 7u);
    }
    run = RunCliCaptured({"list", "--json", "--sort", "size", archive});
    const json bySize = json::parse(run.out);
    EXPECT_EQ(bySize["files"][0]["index"], 5) << "tiny.bin: 2 bytes";
    EXPECT_EQ(bySize["files"][0]["size"], 2);
    EXPECT_EQ(bySize["files"][0]["offset"], BuildArchive(Damaged()).dataBlocks[5]);
    EXPECT_EQ(bySize["files"][0]["hash"], "0000000000000000");
    run = RunCliCaptured({"list", "--json", archive});
    EXPECT_EQ(json::parse(run.out)["files"][0]["hash"], "0123456789ABCDEF");

    // A failed load prints its message and no document.
    run = RunCliCaptured({"info", "--json", dir.Join("missing.bsa")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
}

TEST_F(CliPower, FiltersNarrowEveryFileOrTheEntries) {
    ArchiveSpec plan;
    plan.folders = {{"Meshes\\Armor", {{"Iron.NIF", "1"}, {"iron.dds", "2"}}},
                    {"models\\clutter", {{"bucket.nif", "3"}}},
                    {"sound", {{"door.wav", "4"}, {"door.nif", "5"}}}};
    const std::string archive = Archive(plan);
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> entries;
        std::vector<std::string> written;
    } const cases[] = {
        {{"--include", "**/*.nif"}, {}, {"Meshes/Armor/Iron.NIF", "models/clutter/bucket.nif", "sound/door.nif"}},
        {{"--include", "meshes/**"}, {}, {"Meshes/Armor/Iron.NIF", "Meshes/Armor/iron.dds"}},
        {{"--include", "**.nif", "--exclude", "sound\\*"}, {}, {"Meshes/Armor/Iron.NIF", "models/clutter/bucket.nif"}},
        {{"--include", "**.wav", "--include=**.dds"}, {}, {"Meshes/Armor/iron.dds", "sound/door.wav"}},
        {{"--exclude", "**"}, {}, {}},
        {{"--exclude", "**.nif"}, {"meshes/armor", "sound"}, {"sound/door.wav"}},  // ENTRY is exact, GLOB folds
        {{"--exclude", "**.nif"}, {"Meshes/Armor", "sound"}, {"Meshes/Armor/iron.dds", "sound/door.wav"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string dest = Dest("out" + std::to_string(n++));
        std::vector<std::string> args = {"extract", "--quiet"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(archive);
        args.push_back(dest);
        args.insert(args.end(), c.entries.begin(), c.entries.end());
        const CliRun run = RunCliCaptured(args);
        std::vector<std::string> written;
        for (const auto& [path, content] : Tree(dest))
            if (content != "<folder>") written.push_back(path);
        EXPECT_EQ(written, c.written) << c.options[0] << " " << c.options[1];
        EXPECT_EQ(run.status, c.entries.empty() || c.entries[0] != "meshes/armor" ? 0 : 1) << run.err;
    }
}

TEST_F(CliPower, DryRunPrintsThePlanAndWritesNothing) {
    ArchiveSpec plan;
    plan.folders = {{"a", {{"x.txt", "1"}}}, {"..\\up", {{"evil.txt", "2"}}}, {"b", {{"y.txt", "3"}}}};
    const std::string archive = Archive(plan);
    const std::string dest = Dest();
    fs::create_directories(fs::path(dest) / "b");
    WriteBytes(fs::path(dest) / "b" / "y.txt", "old");
    const auto before = Tree(dir.path());
    const auto at = [&](const std::string& folder, const std::string& file) {
        return dest + kSeparator + folder + kSeparator + file;
    };

    CliRun run = RunCliCaptured({"extract", "--dry-run", "--no-clobber", archive, dest, "a", "..\\up", "b", "zz"});
    EXPECT_EQ(run.status, 8);
    EXPECT_EQ(run.out, "write\ta\\x.txt\t" + at("a", "x.txt") +
                           "\n"
                           "refuse\t..\\up\\evil.txt\tInvalid file name.\n"
                           "skip\tb\\y.txt\t" +
                           at("b", "y.txt") + "\n");
    EXPECT_EQ(WithoutTime(run.err), "kestrum-cli: No file or folder is named zz.\n"
                                    "kestrum-cli: extract --dry-run: 1 to write, 1 skipped, 1 refused, T s\n");
    // Without ENTRY the plan stops where Extract All would.
    run = RunCliCaptured({"extract", "--dry-run", "--quiet", archive, dest});
    EXPECT_EQ(run.status, 8);
    EXPECT_EQ(run.out, "write\ta\\x.txt\t" + at("a", "x.txt") + "\nrefuse\t..\\up\\evil.txt\tInvalid file name.\n");
    EXPECT_EQ(run.err, "");
    run = RunCliCaptured({"extract", "--dry-run", "--quiet", archive, dest + "/missing", "b"});
    EXPECT_EQ(run.out, "refuse\tb\\y.txt\tInvalid path.\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(Tree(dir.path()), before);
}

TEST_F(CliPower, NoClobberKeepsWhatExistsAndCountsItAsSkipped) {
    ArchiveSpec plan;
    plan.folders = {{"a", {{"x.txt", "new-a"}, {"y.txt", "new-y"}}}, {"b", {{"x.txt", "new-b"}}}};
    const std::string archive = Archive(plan);
    const std::string dest = Dest();
    fs::create_directories(fs::path(dest) / "a");
    WriteBytes(fs::path(dest) / "a" / "x.txt", "old");

    CliRun run = RunCliCaptured({"extract", "--no-clobber", archive, dest});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadBytes(fs::path(dest) / "a" / "x.txt"), "old");
    EXPECT_EQ(ReadBytes(fs::path(dest) / "a" / "y.txt"), "new-y");
    EXPECT_TRUE(std::regex_match(run.err, kExtractSummary)) << run.err;
    EXPECT_NE(run.err.find(": 2 written, 1 skipped, 0 failed, 10 bytes, "), std::string::npos) << run.err;

    // With --no-path the first of two names wins: the later one finds it there.
    const std::string flat = Dest("flat");
    run = RunCliCaptured({"extract", "--no-clobber", "--no-path", "--quiet", archive, flat});
    EXPECT_EQ(Tree(flat), (std::map<std::string, std::string>{{"x.txt", "new-a"}, {"y.txt", "new-y"}}));

    run = RunCliCaptured({"extract", archive, flat});  // the default stays overwrite
    EXPECT_NE(run.err.find(": 3 written, 0 skipped, 0 failed, 15 bytes, "), std::string::npos) << run.err;
}

TEST_F(CliPower, SummaryCountsFailuresAndQuietSilencesIt) {
    const std::string archive = Archive(Damaged());
    const std::string dest = Dest();
    CliRun run = RunCliCaptured({"extract", archive, dest, "ok", "bad"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(WithoutTime(run.err), "kestrum-cli: Error read BSA file.\n"
                                    "kestrum-cli: Error decompressed data.\n"
                                    "kestrum-cli: extract: 2 written, 0 skipped, 2 failed, 5005 bytes, T s\n");
    run = RunCliCaptured({"extract", "--quiet", archive, dest, "ok"});
    EXPECT_EQ(run.err, "");
}

TEST_F(CliPower, UsageMistakesAndHelp) {
    const std::string archive = Archive(Damaged());
    const std::vector<std::vector<std::string>> mistakes = {
        {"extract", "--jobs", "0", archive, "d"}, {"extract", "--jobs", "x", archive, "d"},
        {"extract", "--jobs=3x", archive, "d"},   {"extract", archive, "d", "--include"},
        {"verify"},                               {"verify", "--jobs", "300", archive},
        {"verify", "--no-path", archive},         {"info", "--quiet", archive},
    };
    for (const auto& args : mistakes) {
        const CliRun run = RunCliCaptured(args);
        EXPECT_EQ(run.status, 64) << args[0] << " " << args[1];
        EXPECT_EQ(run.out, "");
    }
    for (const char* verb : {"info", "list", "verify", "extract"}) {
        const CliRun run = RunCliCaptured({verb, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(std::string("usage: kestrum-cli [--codepage NAME] ") + verb, 0), 0u) << run.out;
        EXPECT_NE(run.out.find("options:"), std::string::npos);
    }
}

// The pipeline hands every file over in order with the bytes of a one-by-one
// read, whatever the budget: even one byte lets a file through alone.
TEST_F(CliPower, PipelineHandsOverInOrderWithinAnyBudget) {
    ArchiveSpec plan;
    plan.archiveFlags = 7;
    for (int f = 0; f < 3; ++f) {
        FolderSpec folder{"f" + std::to_string(f), {}};
        for (int i = 0; i < 20; ++i)
            folder.files.push_back({std::to_string(i), std::string(static_cast<std::size_t>(i * 97), char('a' + f))});
        plan.folders.push_back(folder);
    }
    CBsaArchive archive;
    ASSERT_EQ(archive.LoadCatalog(Archive(plan)), 0);
    std::vector<std::int32_t> order(archive.m_files.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::int32_t>(order.size() - 1 - i);
    for (const std::uint64_t budget : {std::uint64_t{1}, std::uint64_t{4096}, cli::BlockPipeline::kDefaultBudget}) {
        std::vector<cli::BlockPipeline::Item> items;
        {
            cli::BlockPipeline pipeline(archive, order, 3, budget);
            for (std::size_t k = 0; k < order.size(); ++k) items.push_back(pipeline.Take(k));
        }  // the workers hold the archive open, on Windows without sharing
        for (std::size_t k = 0; k < order.size(); ++k) {
            FileData direct;
            ASSERT_FALSE(ReadFileData(archive, order[k], direct).failed());
            ASSERT_FALSE(items[k].result.failed());
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(items[k].data.bytes), items[k].data.count),
                      std::string(reinterpret_cast<const char*>(direct.bytes), direct.count));
        }
    }
    cli::BlockPipeline dropped(archive, order, 2, 1);  // files never taken are dropped on the way out
    (void)dropped.Take(0);
}
