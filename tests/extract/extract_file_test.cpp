#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <zlib.h>

#include "archive/bsa_archive.h"
#include "bsa_builder.h"
#include "extract/inflate_block.h"
#include "platform/file.h"
#include "test_support.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#else
#include <windows.h>
#endif

using namespace kestrum;
using namespace kestrum::test;
namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>("kestrum archive data "[i % 21] + (i / 997) % 3);
    return s;
}

// The destination lies four folders deep in a tree of sentinels; every test
// ends by proving that nothing in that tree outside the destination changed.
class ExtractFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root.path() / "w" / "x" / "y" / "dest");
        dest = (root.path() / "w" / "x" / "y" / "dest").string();
        WriteBytes(root.path() / "top.txt", "top");
        WriteBytes(root.path() / "w" / "x" / "sentinel.txt", "sentinel");
        fs::create_directories(root.path() / "w" / "sibling");
        outside = Snapshot();
    }

    void TearDown() override { EXPECT_EQ(Snapshot(), outside) << "something was written outside the destination"; }

    // Every file and folder of the tree except the destination's, with contents.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> seen;
        for (auto it = fs::recursive_directory_iterator(root.path()); it != fs::recursive_directory_iterator(); ++it) {
            const fs::path rel = fs::relative(it->path(), root.path());
            if (it->path() == fs::path(dest)) {
                it.disable_recursion_pending();
                continue;
            }
            if (rel == "archive.bsa") continue;
            seen[rel.generic_string()] = it->is_directory() ? "<folder>" : ReadBytes(it->path());
        }
        return seen;
    }

    void Open(const ArchiveSpec& plan) { OpenBytes(BuildArchive(plan).bytes); }

    void OpenBytes(const std::string& bytes) {
        archivePath = (root.path() / "archive.bsa").string();
        WriteBytes(archivePath, bytes);
        ASSERT_EQ(archive.LoadCatalog(archivePath), 0);
        recorder.clear();
    }

    int Extract(std::int32_t index, int withoutPath = 0) { return archive.ExtractFile(dest, index, withoutPath); }

    fs::path Out(const std::string& relative) const { return fs::path(dest) / relative; }

    std::vector<std::string> DestContents() const {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dest))
            names.push_back(fs::relative(e.path(), dest).generic_string() + (e.is_directory() ? "/" : ""));
        std::sort(names.begin(), names.end());
        return names;
    }

    void ExpectFailure(int code, const char* message) {
        EXPECT_EQ(recorder.messages(), std::vector<std::string>{message}) << "result " << code;
    }

    TempDir root;
    std::string dest, archivePath;
    std::map<std::string, std::string> outside;
    CBsaArchive archive;
    MessageRecorder recorder;
};

ArchiveSpec Nested(std::uint32_t flags) {
    ArchiveSpec plan;
    plan.archiveFlags = flags;
    plan.folders = {{"meshes\\armor", {{"iron.nif", Pattern(5000)}, {"steel.nif", "steel"}}},
                    {"textures", {{"empty.dds", ""}, {"sky.dds", Pattern(70000)}}}};
    return plan;
}

}  // namespace

TEST_F(ExtractFileTest, WritesStoredAndCompressedFilesExactlyBelowTheirFolders) {
    for (const std::uint32_t flags : {3u, 7u}) {
        SCOPED_TRACE(flags);
        const ArchiveSpec plan = Nested(flags);
        Open(plan);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(Extract(i), 0);
        EXPECT_TRUE(recorder.messages().empty());
        EXPECT_EQ(ReadBytes(Out("meshes/armor/iron.nif")), plan.folders[0].files[0].data);
        EXPECT_EQ(ReadBytes(Out("meshes/armor/steel.nif")), "steel");
        EXPECT_EQ(ReadBytes(Out("textures/empty.dds")), "");
        EXPECT_EQ(ReadBytes(Out("textures/sky.dds")), plan.folders[1].files[1].data);
        EXPECT_EQ(DestContents(), (std::vector<std::string>{"meshes/", "meshes/armor/", "meshes/armor/iron.nif",
                                                            "meshes/armor/steel.nif", "textures/",
                                                            "textures/empty.dds", "textures/sky.dds"}));
        fs::remove_all(Out("meshes"));
        fs::remove_all(Out("textures"));
    }
}

TEST_F(ExtractFileTest, WithoutPathEveryFileLandsInTheDestinationAndTheLaterWins) {
    ArchiveSpec plan;
    plan.folders = {{"a", {{"same.txt", "first"}}}, {"b\\c", {{"same.txt", "second"}}}, {"..\\..", {{"ok.txt", "x"}}}};
    Open(plan);
    EXPECT_EQ(Extract(0, 1), 0);
    EXPECT_EQ(Extract(1, 1), 0);
    EXPECT_EQ(Extract(2, 1), 0) << "without its path a file's folder does not matter";
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(ReadBytes(Out("same.txt")), "second");
    EXPECT_EQ(DestContents(), (std::vector<std::string>{"ok.txt", "same.txt"}));
}

TEST_F(ExtractFileTest, EmptyAndDoubledFolderPathsStayInsideTheDestination) {
    ArchiveSpec plan;
    plan.folders = {{"", {{"root.txt", "r"}}}, {"a\\\\b", {{"deep.txt", "d"}}}};
    Open(plan);
    EXPECT_EQ(Extract(0), 0);
    EXPECT_EQ(Extract(1), 0);
    EXPECT_EQ(DestContents(), (std::vector<std::string>{"a/", "a/b/", "a/b/deep.txt", "root.txt"}));
}

TEST_F(ExtractFileTest, ExtractingAgainReplacesTheFile) {
    ArchiveSpec plan;
    plan.folders = {{"a", {{"f.txt", "new"}}}};
    Open(plan);
    fs::create_directories(Out("a"));
    WriteBytes(Out("a/f.txt"), "an older and longer content");
    EXPECT_EQ(Extract(0), 0);
    EXPECT_EQ(ReadBytes(Out("a/f.txt")), "new");
    EXPECT_EQ(Extract(0), 0);
    EXPECT_EQ(ReadBytes(Out("a/f.txt")), "new");
}

TEST_F(ExtractFileTest, BadIndexOrDestinationTouchesNothing) {
    Open(Nested(3));
    fs::remove(archivePath);  // the archive is not even opened for these
    for (const std::int32_t index : {-1, 4, 1 << 30}) {
        recorder.clear();
        EXPECT_EQ(Extract(index), 1);
        ExpectFailure(1, "Invalid number of file.");
    }
    recorder.clear();
    EXPECT_EQ(archive.ExtractFile(dest + "\\missing", 0, 0), 2);
    ExpectFailure(2, "Invalid path.");
    WriteBytes(Out("file"), "");
    recorder.clear();
    EXPECT_EQ(archive.ExtractFile(Out("file").string(), 0, 1), 2);
    ExpectFailure(2, "Invalid path.");
    EXPECT_EQ(DestContents(), std::vector<std::string>{"file"});
}

TEST_F(ExtractFileTest, AFileWhereAFolderIsNeededIsResultThree) {
    Open(Nested(3));
    WriteBytes(Out("meshes"), "not a folder");
    EXPECT_EQ(Extract(0), 3);
    ExpectFailure(3, "Error create folder.");
    EXPECT_EQ(ReadBytes(Out("meshes")), "not a folder");
}

TEST_F(ExtractFileTest, AnArchiveThatCannotBeOpenedIsResultFourAfterTheFolders) {
    Open(Nested(3));
    fs::remove(archivePath);
    EXPECT_EQ(Extract(0), 4);
    ExpectFailure(4, "Error open BSA file.");
    EXPECT_EQ(DestContents(), (std::vector<std::string>{"meshes/", "meshes/armor/"})) << "folders come first and stay";
}

#ifdef _WIN32
TEST_F(ExtractFileTest, AnArchiveHeldOpenByAnotherIsResultFour) {
    Open(Nested(3));
    CFile holder;
    ASSERT_TRUE(holder.Open(archivePath, CFile::modeRead));
    EXPECT_EQ(Extract(1), 4);
    ExpectFailure(4, "Error open BSA file.");
    holder.Close();
    recorder.clear();
    EXPECT_EQ(Extract(1), 0);
}

TEST_F(ExtractFileTest, AnOutputFileInUseIsResultSeven) {
    Open(Nested(3));
    fs::create_directories(Out("meshes/armor"));
    WriteBytes(Out("meshes/armor/steel.nif"), "kept");
    CFile user;
    ASSERT_TRUE(user.Open(Out("meshes/armor/steel.nif").string(), CFile::modeRead));
    EXPECT_EQ(Extract(1), 7);
    ExpectFailure(7, "Error open output file.");
    user.Close();
    EXPECT_EQ(ReadBytes(Out("meshes/armor/steel.nif")), "kept");
}

TEST_F(ExtractFileTest, AReadOnlyOutputFileIsResultSeven) {
    Open(Nested(3));
    fs::create_directories(Out("meshes/armor"));
    const std::string path = Out("meshes/armor/steel.nif").string();
    WriteBytes(path, "kept");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine keeps the attribute as Unix permissions, which do not bind root.
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        GTEST_SKIP() << "this system lets the process write read-only files";
    }
    EXPECT_EQ(Extract(1), 7);
    ExpectFailure(7, "Error open output file.");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), "kept");
}
#endif

TEST_F(ExtractFileTest, AFolderNamedLikeTheOutputIsResultSeven) {
    Open(Nested(3));
    fs::create_directories(Out("meshes/armor/steel.nif/inside"));
    EXPECT_EQ(Extract(1), 7);
    ExpectFailure(7, "Error open output file.");
    EXPECT_TRUE(fs::is_directory(Out("meshes/armor/steel.nif/inside")));
}

TEST_F(ExtractFileTest, DataPastTheEndIsResultSixWithoutAFile) {
    ArchiveSpec plan;
    plan.folders = {{"a",
                     {{"tail.bin", "0123456789"},
                      {"huge.bin", "x", 0, 0xFFFFFFFFu},        // a size no archive holds: never allocated
                      {"far.bin", "x", 0, std::nullopt, 0xFFFFFFF0u},
                      {"empty-far.bin", "", 0, std::nullopt, 0xFFFFFFF0u}}}};
    BuiltArchive built = BuildArchive(plan);
    built.bytes.resize(built.bytes.size() - 3);  // the last block loses its end
    for (const std::uint32_t flags : {3u, 7u}) {
        PatchLe32(built.bytes, 12, flags);
        OpenBytes(built.bytes);
        for (int i = 0; i < 3; ++i) {
            recorder.clear();
            EXPECT_EQ(Extract(i), 6) << i;
            ExpectFailure(6, "Error read BSA file.");
        }
        EXPECT_EQ(DestContents(), std::vector<std::string>{"a/"});
    }
    // An empty block reads complete wherever it lies.
    PatchLe32(built.bytes, 12, 3);
    OpenBytes(built.bytes);
    EXPECT_EQ(Extract(3), 0);
    EXPECT_EQ(ReadBytes(Out("a/empty-far.bin")), "");
}

TEST_F(ExtractFileTest, CompressedBlocksKeepTheResultsOfUncompress) {
    const std::string data = Pattern(100000);
    const std::string stream = Deflate(data);
    std::string damaged = stream;
    damaged[stream.size() / 2] ^= 0x55;
    damaged[stream.size() / 2 + 1] ^= 0x2A;
    const std::string prefixOnly = "\x10\0\0\0"s;

    struct Case {
        const char* name;
        FileSpec file;
        int result;
        std::size_t written;  // length of the output file when result is 0
    };
    const Case cases[] = {
        {"exact.bin", {"exact.bin", data}, 0, data.size()},
        {"larger.bin", {"larger.bin", data, 0, std::nullopt, std::nullopt, 200000}, 0, data.size()},
        {"claims4g.bin", {"claims4g.bin", data, 0, std::nullopt, std::nullopt, 0xFFFFFFFFu}, 0, data.size()},
        {"smaller.bin", {"smaller.bin", data, 0, std::nullopt, std::nullopt, 99999}, 10, 0},
        {"zero.bin", {"zero.bin", data, 0, std::nullopt, std::nullopt, 0}, 10, 0},
        {"onezero.bin", {"onezero.bin", "x", 0, std::nullopt, std::nullopt, 0}, 10, 0},  // not an empty success
        {"empty.bin", {"empty.bin", ""}, 0, 0},
        {"damaged.bin", {"damaged.bin", "", 0, std::nullopt, std::nullopt, std::nullopt, "\xA0\x86\x01\0"s + damaged}, 10, 0},
        {"cut.bin", {"cut.bin", "", 0, std::nullopt, std::nullopt, std::nullopt, "\xA0\x86\x01\0"s + stream.substr(0, stream.size() - 9)}, 10, 0},
        {"nostream.bin", {"nostream.bin", "", 0, std::nullopt, std::nullopt, std::nullopt, prefixOnly}, 10, 0},
        {"short3.bin", {"short3.bin", "", 0, std::nullopt, std::nullopt, std::nullopt, "\x01\x02\x03"s}, 10, 0},
        {"short0.bin", {"short0.bin", "", 0, std::nullopt, std::nullopt, std::nullopt, ""s}, 10, 0},
    };
    ArchiveSpec plan;
    plan.archiveFlags = 7;
    plan.folders.push_back({"c"});
    for (const Case& c : cases) plan.folders[0].files.push_back(c.file);
    Open(plan);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        recorder.clear();
        EXPECT_EQ(Extract(static_cast<std::int32_t>(i)), c.result) << c.name;
        if (c.result == 0) {
            EXPECT_TRUE(recorder.messages().empty()) << c.name;
            EXPECT_EQ(ReadBytes(Out(std::string("c/") + c.name)), data.substr(0, c.written)) << c.name;
        } else {
            ExpectFailure(c.result, "Error decompressed data.");
            EXPECT_FALSE(fs::exists(Out(std::string("c/") + c.name))) << c.name << ": no output file on failure";
        }
    }
}

// The classic traversal archives, in backslash and slash forms: refused before
// any folder is made; the sentinel tree proves nothing landed outside.
TEST_F(ExtractFileTest, NamesThatLeaveTheDestinationAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* folder;
        const char* name;
        int withoutPath;
    };
    const Case cases[] = {
        {"..", "evil.txt", 0},
        {"..\\..\\..", "sentinel.txt", 0},
        {"textures\\..\\..\\..", "top.txt", 0},
        {"a/../..", "evil.txt", 0},
        {"ok", "..\\..\\sentinel.txt", 0},
        {"ok", "..\\evil.txt", 1},
        {"ok", "../evil.txt", 1},
        {"C:", "evil.txt", 0},
        {"ok", "CON", 0},
        {"ok", "nul.txt", 1},
        {"ok", "a\x07" "b", 0},
        {"ok", "", 0},
        {"ok", "", 1},
    };
    ArchiveSpec plan;
    for (const Case& c : cases) plan.folders.push_back({c.folder, {{c.name, "payload"}}});
    Open(plan);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        recorder.clear();
        EXPECT_EQ(Extract(static_cast<std::int32_t>(i), cases[i].withoutPath), 8)
            << cases[i].folder << " | " << cases[i].name;
        ExpectFailure(8, "Invalid file name.");
    }
    EXPECT_TRUE(DestContents().empty());
}

#ifndef _WIN32
// A write that the system refuses half-way (here: the file size limit, as a
// full disk would) raises, and the half-written file is gone.
TEST_F(ExtractFileTest, AFailedWriteRemovesTheOutputFileAndRaises) {
    ArchiveSpec plan;
    plan.folders = {{"a", {{"big.bin", Pattern(200000)}}}};
    Open(plan);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 65536;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(Extract(0), FileError);
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_TRUE(recorder.messages().empty()) << "a raised error has no message of the extractor";
    EXPECT_FALSE(fs::exists(Out("a/big.bin")));
    EXPECT_EQ(DestContents(), std::vector<std::string>{"a/"});
}
#endif

// The growing buffer gives what zlib's uncompress gives with a buffer of the
// prefix length, for every relation of prefix and true length: success with
// the true length when the data fit, a failure when they inflate to more or
// the stream is damaged or cut short.
TEST(InflateBlock, AgreesWithUncompress) {
    const std::string inputs[] = {"", "x", Pattern(1000), std::string(3'000'000, 'z'), Pattern(300000)};
    for (const std::string& data : inputs) {
        const std::string stream = Deflate(data, 9);
        const std::string cut = stream.substr(0, stream.size() / 2);
        for (const std::string* source : {&stream, &cut}) {
            const auto n = static_cast<std::uint32_t>(data.size());
            for (const std::uint32_t limit : {0u, n / 2, n > 0 ? n - 1 : 0u, n, n + 1, 2 * n + 70000, 0xFFFFFFFFu}) {
                SCOPED_TRACE("size " + std::to_string(n) + " limit " + std::to_string(limit) +
                             (source == &cut ? " cut" : ""));
                const bool fits = source == &stream && n <= limit;
                // zlib itself where the buffer is small enough to try; with a
                // limit of 0 it inflates into a scratch byte of its own and
                // would call one byte of data a success.
                if (limit > 0 && limit <= 8'000'000u) {
                    std::vector<unsigned char> expected(limit);
                    uLongf expectedLength = limit;
                    const int zlibCode = uncompress(expected.data(), &expectedLength,
                                                    reinterpret_cast<const Bytef*>(source->data()), source->size());
                    ASSERT_EQ(zlibCode == Z_OK, fits);
                }
                HeapBuffer out;
                std::uint32_t length = 0;
                const int code = InflateBlock(reinterpret_cast<const unsigned char*>(source->data()),
                                              static_cast<std::uint32_t>(source->size()), limit, out, length);
                ASSERT_EQ(code == Z_OK, fits) << code;
                if (fits) {
                    ASSERT_EQ(length, n);
                    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data()), length), data);
                } else if (source == &stream) {
                    EXPECT_EQ(code, Z_BUF_ERROR) << "more data than the limit";
                } else {
                    EXPECT_NE(code, Z_OK);
                }
            }
        }
    }
}
