#include <gtest/gtest.h>

#include <filesystem>

#include "archive/bsa_archive.h"
#include "platform/folders.h"
#include "test_support.h"

using namespace kestrum;
using namespace kestrum::test;
namespace fs = std::filesystem;

TEST(CreateFolderPath, CreatesTheMissingParentsAndReportsTheLastCreation) {
    TempDir dir;
    const std::string path = dir.str() + "/a/b";  // either separator is taken
    EXPECT_TRUE(CBsaArchive::CreateFolderPath(path));
    EXPECT_TRUE(IsDirectory(dir.Join("a")));
    EXPECT_TRUE(IsDirectory(dir.Join("a") + "\\b"));
    EXPECT_FALSE(CBsaArchive::CreateFolderPath(path)) << "the folder exists now: its creation fails";
    EXPECT_FALSE(CBsaArchive::CreateFolderPath(path + "\\")) << "a trailing separator changes nothing";

    EXPECT_TRUE(CBsaArchive::CreateFolderPath(dir.str() + "\\a\\c\\\\d\\"));  // a doubled separator reads as one
    EXPECT_TRUE(IsDirectory(dir.str() + "\\a\\c\\d"));
}

TEST(CreateFolderPath, AFileWhereAFolderIsNeededFailsIt) {
    TempDir dir;
    WriteBytes(dir.path() / "a", "a file");
    EXPECT_FALSE(CBsaArchive::CreateFolderPath(dir.str() + "\\a\\b"));
    EXPECT_EQ(ReadBytes(dir.path() / "a"), "a file");
    EXPECT_FALSE(CBsaArchive::CreateFolderPath(dir.Join("a")));
}

// The first three characters are created as a drive root only when they end a
// component; otherwise ("output\x", "/tmp/...") they would be a stray folder
// beside the destination.
TEST(CreateFolderPath, CreatesNoPartialComponentOutsideThePath) {
    TempDir dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const bool created = CBsaArchive::CreateFolderPath("output\\x");
    const bool shortFirst = CBsaArchive::CreateFolderPath("ab\\cd");
    fs::current_path(previous);

    EXPECT_TRUE(created);
    EXPECT_TRUE(shortFirst);
    std::vector<std::string> top;
    for (const auto& entry : fs::directory_iterator(dir.path())) top.push_back(entry.path().filename().string());
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"ab", "output"}));
    EXPECT_TRUE(fs::is_directory(dir.path() / "output" / "x"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "ab" / "cd"));
}
