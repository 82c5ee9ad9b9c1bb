#include <gtest/gtest.h>

#include "bsa_builder.h"
#include "cli_runner.h"
#include "test_support.h"

using namespace kestrum::test;

namespace {

FileSpec Sized(const char* name, std::uint32_t size, std::uint64_t hash = 0) {
    FileSpec f{name, "", hash};
    f.size = size;
    return f;
}

std::string ListOf(const ArchiveSpec& plan, const std::vector<std::string>& options) {
    TempDir dir;
    WriteBytes(dir.path() / "a.bsa", BuildArchive(plan).bytes);
    std::vector<std::string> args = {"list"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(dir.Join("a.bsa"));
    const CliRun run = RunCliCaptured(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out;
}

CliRun TreeOf(const ArchiveSpec& plan, std::string& path, const std::vector<std::string>& before = {}) {
    static TempDir dir;
    WriteBytes(dir.path() / "t.bsa", BuildArchive(plan).bytes);
    path = dir.Join("t.bsa");
    std::vector<std::string> args = before;
    args.push_back("tree");
    args.push_back(path);
    return RunCliCaptured(args);
}

}  // namespace

TEST(CliListSort, OrdersRowsAsOneHeaderClickAfterLoading) {
    ArchiveSpec plan;
    plan.folders = {{"a", {Sized("x", 5, 0x80000000'00000000ull), Sized("y", 3, 0x7FFFFFFF'FFFFFFFFull)}},
                    {"ab", {Sized("c", 5, 2), Sized("B", 1, 1)}}};
    const std::string x = "a\\x\t5\t8000000000000000\n", y = "a\\y\t3\t7FFFFFFFFFFFFFFF\n",
                      c = "ab\\c\t5\t0000000000000002\n", b = "ab\\B\t1\t0000000000000001\n";
    // Name keys join folder and file without a backslash: abB < abc < ax < ay.
    EXPECT_EQ(ListOf(plan, {"--sort", "name"}), b + c + x + y);
    // The two files of size 5 end in reverse order, as the exchange leaves them.
    EXPECT_EQ(ListOf(plan, {"--sort=size"}), b + y + c + x);
    EXPECT_EQ(ListOf(plan, {"--sort", "hash"}), b + c + y + x);
    EXPECT_EQ(ListOf(plan, {}), x + y + c + b);
}

TEST(CliListSort, ABadColumnIsAUsageErrorAndLoaderFailuresKeepTheirCode) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"list", "--sort", "Name", "a.bsa"}, {"list", "--sort=", "a.bsa"}, {"list", "a.bsa", "--sort"}}) {
        const CliRun run = RunCliCaptured(args);
        EXPECT_EQ(run.status, 64) << args[1];
        EXPECT_EQ(run.out, "");
    }
    TempDir dir;
    const CliRun run = RunCliCaptured({"list", "--sort", "size", dir.Join("missing.bsa")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "kestrum-cli: Error open BSA file.\n");
}

TEST(CliTree, PrintsFoldersAndFilesAsTheWindowsTree) {
    struct Case {
        const char* what;
        std::vector<FolderSpec> folders;
        std::string lines;  // below the path line
    };
    const Case cases[] = {
        {"nested folders with their files",
         {{"meshes\\armor\\iron", {{"c.nif", "1"}, {"a.nif", "2"}}}, {"textures", {{"b.dds", "3"}}}},
         "  meshes\n    armor\n      iron\n        a.nif\n        c.nif\n  textures\n    b.dds\n"},
        {"folders and files mixed in one case-insensitive order",
         {{"top\\C", {}}, {"top\\a", {}}, {"top", {{"B", ""}, {"d.txt", ""}}}},
         "  top\n    a\n    B\n    C\n    d.txt\n"},
        {"a folder's files hang next to its subfolders",
         {{"meshes\\armor", {{"x.nif", ""}}}, {"meshes", {{"b.nif", ""}}}},
         "  meshes\n    armor\n      x.nif\n    b.nif\n"},
        {"ties: exact bytes first, then a folder before a file",
         {{"r\\a", {}}, {"r\\A", {}}, {"r", {{"a", ""}, {"A", ""}}}},
         "  r\n    A\n    A\n    a\n    a\n"},
        {"a leading backslash makes an empty top folder",
         {{"\\lone", {{"f", ""}}}},
         "  \n    lone\n      f\n"},
        {"letters fold to lower case, so '_' (between 'Z' and 'a') comes before them all",
         {{"k", {{"alpha", ""}, {"Zed", ""}, {"_x", ""}}}},
         "  k\n    _x\n    alpha\n    Zed\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ArchiveSpec plan;
        plan.folders = c.folders;
        std::string path;
        const CliRun run = TreeOf(plan, path);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, path + "\n" + c.lines);
    }
}

TEST(CliTree, AnArchiveWithoutFoldersPrintsNothing) {
    std::string path;
    const CliRun run = TreeOf(ArchiveSpec{}, path);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST(CliTree, FailuresReportLikeTheOtherVerbs) {
    TempDir dir;
    WriteBytes(dir.path() / "short.bsa", "BSA");
    const CliRun shortRun = RunCliCaptured({"tree", dir.Join("short.bsa")});
    EXPECT_EQ(shortRun.status, 2);
    EXPECT_EQ(shortRun.err, "kestrum-cli: Error read header.\n");
    EXPECT_EQ(shortRun.out, "");
    EXPECT_EQ(RunCliCaptured({"tree"}).status, 64);
    EXPECT_EQ(RunCliCaptured({"tree", "a.bsa", "b.bsa"}).status, 64);
    EXPECT_EQ(RunCliCaptured({"tree", "--help"}).status, 0);
}

TEST(CliTree, ADoubleByteCodePageKeepsATrailByteBackslashInsideItsCharacter) {
    // 0x83 0x5C is one katakana in code page 932; in Windows-1252 it is a
    // letter and a backslash.
    ArchiveSpec plan;
    plan.folders = {{"\x83\x5C\\b", {{"f", ""}}}};
    std::string path;
    const CliRun wide = TreeOf(plan, path, {"--codepage", "CP932"});
    const CliRun narrow = TreeOf(plan, path, {"--codepage", "CP1252"});
#ifdef _WIN32
    const std::string katakana = "\x83\x5C", letter = "\x83";
#else
    const std::string katakana = "\xE3\x82\xBD", letter = "\xC6\x92";  // as UTF-8
#endif
    EXPECT_EQ(wide.out, path + "\n  " + katakana + "\n    b\n      f\n");
    EXPECT_EQ(narrow.out, path + "\n  " + letter + "\n    \n      b\n        f\n");
}
