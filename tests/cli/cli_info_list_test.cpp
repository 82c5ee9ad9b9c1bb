#include <gtest/gtest.h>

#include "bsa_builder.h"
#include "cli_runner.h"
#include "test_support.h"

using namespace kestrum::test;

namespace {

ArchiveSpec Sample() {
    ArchiveSpec plan;
    plan.folders = {{"meshes\\armor", {{"iron.nif", "abc", 0xABCDEF010234ABCDull}, {"zero.nif", "", 0}}},
                    {"", {{"root.txt", "r", 0x00000ABC00012345ull}}},
                    {"big", {{"huge.bin", "", 0, 0xFFFFFFFFu}, {"bit30.bin", "", 0, 0x40000005u}}}};
    return plan;
}

}  // namespace

TEST(CliInfo, PrintsPathCountsAndCompression) {
    TempDir dir;
    ArchiveSpec plan = Sample();
    WriteBytes(dir.path() / "stored.bsa", BuildArchive(plan).bytes);
    plan.archiveFlags = 7;
    WriteBytes(dir.path() / "packed.bsa", BuildArchive(plan).bytes);

    for (const auto& [name, compression] : {std::pair{"stored.bsa", "none"}, std::pair{"packed.bsa", "deflate"}}) {
        const std::string path = dir.Join(name);
        const CliRun run = RunCliCaptured({"info", path});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "Path: " + path + "\nFolders: 3\nFiles: 5\nCompression: " + compression + "\n");
        EXPECT_EQ(run.err, "");
    }
}

TEST(CliList, PrintsTheListTextsInCatalogueOrder) {
    TempDir dir;
    WriteBytes(dir.path() / "a.bsa", BuildArchive(Sample()).bytes);
    const CliRun run = RunCliCaptured({"list", dir.Join("a.bsa")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "meshes\\armor\\iron.nif\t3\tABCDEF010234ABCD\n"
              "meshes\\armor\\zero.nif\t0\t0000000000000000\n"
              "\\root.txt\t1\t00000ABC00012345\n"
              "big\\huge.bin\t4294967295\t0000000000000000\n"
              "big\\bit30.bin\t1073741829\t0000000000000000\n");
}

TEST(CliInfoList, LoaderFailuresPrintTheMessageAndExitWithItsCode) {
    TempDir dir;
    WriteBytes(dir.path() / "short.bsa", "BSA");
    BuiltArchive wrong = BuildArchive(Sample());
    PatchLe32(wrong.bytes, 4, 104);
    WriteBytes(dir.path() / "v104.bsa", wrong.bytes);
    WriteBytes(dir.path() / "cut.bsa", BuildArchive(Sample()).bytes.substr(0, 60));
    struct Case {
        const char* file;
        int status;
        const char* message;
    } const cases[] = {
        {"missing.bsa", 1, "Error open BSA file."},
        {"short.bsa", 2, "Error read header."},
        {"v104.bsa", 3, "Unknoun format BSA file."},
        {"cut.bsa", 4, "Error read file."},
    };
    for (const char* verb : {"info", "list", "verify"})
        for (const Case& c : cases) {
            const CliRun run = RunCliCaptured({verb, dir.Join(c.file)});
            EXPECT_EQ(run.status, c.status) << verb << " " << c.file;
            EXPECT_EQ(run.err, std::string("kestrum-cli: ") + c.message + "\n");
            EXPECT_EQ(run.out, "");
        }
}

TEST(CliUsage, MistakesExit64AndHelpExits0) {
    std::vector<std::vector<std::string>> mistakes = {
        {}, {"frobnicate"}, {"info"}, {"info", "a.bsa", "b.bsa"}, {"list", "--bogus", "a.bsa"}, {"--codepage"},
    };
#ifndef _WIN32
    mistakes.push_back({"--codepage", "no-such-page", "info", "a.bsa"});  // Windows takes names as they are
#endif
    for (const auto& args : mistakes) {
        const CliRun run = RunCliCaptured(args);
        EXPECT_EQ(run.status, 64) << (args.empty() ? "(no args)" : args[0]);
        EXPECT_NE(run.err.find("usage: kestrum-cli"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"info", "--help"}, {"list", "-h"}}) {
        const CliRun run = RunCliCaptured(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("usage: kestrum-cli"), std::string::npos);
    }
}

#ifndef _WIN32
TEST(CliList, NamesAreConvertedFromTheChosenCodePage) {
    TempDir dir;
    ArchiveSpec plan;
    plan.folders = {{"caf\xE9", {{"\xC0.txt", "x"}}}};
    WriteBytes(dir.path() / "a.bsa", BuildArchive(plan).bytes);
    EXPECT_EQ(RunCliCaptured({"list", dir.Join("a.bsa")}).out,
              "caf\xC3\xA9\\\xC3\x80.txt\t1\t0000000000000000\n");  // Windows-1252 by default
    EXPECT_EQ(RunCliCaptured({"--codepage", "CP1251", "list", dir.Join("a.bsa")}).out,
              "caf\xD0\xB9\\\xD0\x90.txt\t1\t0000000000000000\n");
    RunCliCaptured({"--codepage=CP1252", "--help"});  // restores the default for later tests
}
#endif
