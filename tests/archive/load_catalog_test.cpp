#include <gtest/gtest.h>

#include <functional>

#include "archive/bsa_archive.h"
#include "bsa_builder.h"
#include "platform/file.h"
#include "test_support.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

ArchiveSpec TwoFolders() {
    ArchiveSpec plan;
    plan.folders = {{"a", {{"one.txt", "1", 0x1111}, {"two.txt", "22", 0x2222}}, 0xAAAA},
                    {"b\\c", {{"x", "333"}, {"y", "4444"}, {"z", "55555", 0xFEDCBA9876543210ull}}, 0xBBBB}};
    return plan;
}

struct Loaded {
    CBsaArchive archive;
    std::int32_t code;
    std::vector<std::string> messages;
};

std::unique_ptr<Loaded> Load(const std::string& bytes) {
    TempDir dir;
    WriteBytes(dir.path() / "t.bsa", bytes);
    auto loaded = std::make_unique<Loaded>();
    MessageRecorder recorder;
    loaded->code = loaded->archive.LoadCatalog(dir.Join("t.bsa"));
    loaded->messages = recorder.messages();
    return loaded;
}

void ExpectEmptyTables(const CBsaArchive& a) {
    EXPECT_TRUE(a.m_folders.empty());
    EXPECT_TRUE(a.m_files.empty());
    EXPECT_TRUE(a.m_nameOrder.empty());
    EXPECT_TRUE(a.m_sizeOrder.empty());
    EXPECT_TRUE(a.m_hashOrder.empty());
}

}  // namespace

TEST(LoadCatalog, ReadsFoldersFilesAndOrders) {
    const auto l = Load(BuildArchive(TwoFolders()).bytes);
    ASSERT_EQ(l->code, 0);
    EXPECT_TRUE(l->messages.empty());
    const CBsaArchive& a = l->archive;
    EXPECT_EQ(a.m_header.folderCount, 2u);
    EXPECT_EQ(a.m_header.fileCount, 5u);
    ASSERT_EQ(a.m_folders.size(), 2u);
    EXPECT_EQ(a.m_folders[1].name, "b\\c");
    EXPECT_EQ(a.m_folders[1].hash, 0xBBBBu);
    EXPECT_EQ(a.m_folders[1].fileCount, 3u);
    ASSERT_EQ(a.m_files.size(), 5u);
    const char* names[] = {"one.txt", "two.txt", "x", "y", "z"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(a.m_files[i].fileName, names[i]);
        EXPECT_EQ(a.m_files[i].folderIndex, i < 2 ? 0 : 1);
        EXPECT_EQ(a.m_files[i].folderPath, i < 2 ? "a" : "b\\c");
        EXPECT_EQ(a.m_files[i].size, static_cast<std::uint32_t>(i + 1));
    }
    EXPECT_EQ(a.m_files[4].hash, 0xFEDCBA9876543210ull);
    const std::vector<std::int32_t> identity{0, 1, 2, 3, 4};
    EXPECT_EQ(a.m_nameOrder, identity);
    EXPECT_EQ(a.m_sizeOrder, identity);
    EXPECT_EQ(a.m_hashOrder, identity);
    for (const BsaFolder& f : a.m_folders) EXPECT_EQ(f.treeNode, 0);
}

TEST(LoadCatalog, LayoutOfOneFolderWithOneFile) {
    ArchiveSpec plan;
    plan.folders = {{"a", {{"b.txt", "data"}}}};
    const BuiltArchive built = BuildArchive(plan);
    EXPECT_EQ(built.folderBlocks[0], 52u);
    EXPECT_EQ(built.fileRecords[0], 55u);
    EXPECT_EQ(built.nameTable, 71u);
    EXPECT_EQ(built.dataBlocks[0], 77u);
    const auto l = Load(built.bytes);
    ASSERT_EQ(l->code, 0);
    EXPECT_EQ(l->archive.m_files[0].offset, 77u);
    EXPECT_EQ(l->archive.m_files[0].size, 4u);
}

TEST(LoadCatalog, ReadsWhatItDoesNotCheckAsItStands) {
    ArchiveSpec plan;
    plan.folders = {{std::string(200, 'n'), {{"big", "x", 0, 0x40000005u}}},  // length byte 201: unsigned
                    {"empty", {}},
                    {"far", {{"beyond", "y", 0, 10, 0xFFFFFF00u}}}};        // data past the end is fine here
    plan.archiveFlags = 0xFFFFFFFF;
    BuiltArchive built = BuildArchive(plan);
    // Folder blocks need not follow the record order: swap the first two records' offsets.
    std::string& b = built.bytes;
    const std::string first = b.substr(built.folderRecords[0], 16);
    b.replace(built.folderRecords[0], 16, b.substr(built.folderRecords[1], 16));
    b.replace(built.folderRecords[1], 16, first);
    const auto l = Load(b);
    ASSERT_EQ(l->code, 0) << (l->messages.empty() ? "" : l->messages[0]);
    const CBsaArchive& a = l->archive;
    ASSERT_EQ(a.m_folders.size(), 3u);
    EXPECT_EQ(a.m_folders[0].name, "empty");
    EXPECT_EQ(a.m_folders[1].name, std::string(200, 'n'));
    ASSERT_EQ(a.m_files.size(), 2u);
    EXPECT_EQ(a.m_files[0].fileName, "big");  // names follow the walk order
    EXPECT_EQ(a.m_files[0].folderIndex, 1);
    EXPECT_EQ(a.m_files[0].size, 0x40000005u);
    EXPECT_EQ(a.m_files[1].offset, 0xFFFFFF00u);
}

TEST(LoadCatalog, EmptyArchiveLoadsAsEmptyCatalogue) {
    const auto l = Load(BuildArchive({}).bytes);
    EXPECT_EQ(l->code, 0);
    EXPECT_EQ(l->archive.m_header.magic, 0x00415342u);
    ExpectEmptyTables(l->archive);
}

struct FailureCase {
    const char* name;
    std::function<std::string()> bytes;
    std::int32_t code;
    const char* message;
};

TEST(LoadCatalog, EveryFailureHasItsOneMessageAndLeavesEmptyTables) {
    const auto damaged = [](std::function<void(BuiltArchive&)> damage, ArchiveSpec plan = TwoFolders()) {
        return [=] {
            BuiltArchive built = BuildArchive(plan);
            damage(built);
            return built.bytes;
        };
    };
    const FailureCase cases[] = {
        {"ten bytes", [] { return std::string(10, 'B'); }, 2, "Error read header."},
        {"empty file", [] { return std::string(); }, 2, "Error read header."},
        {"wrong magic", damaged([](BuiltArchive& b) { b.bytes[0] = 'X'; }), 3, "Unknoun format BSA file."},
        {"version 104", damaged([](BuiltArchive& b) { PatchLe32(b.bytes, 4, 104); }), 3, "Unknoun format BSA file."},
        {"header size 40", damaged([](BuiltArchive& b) { PatchLe32(b.bytes, 8, 40); }), 3, "Unknoun format BSA file."},
        {"header only, one folder", damaged([](BuiltArchive& b) { b.bytes.resize(36); }), 4, "Error read file."},
        {"directory cut short", damaged([](BuiltArchive& b) { b.bytes.resize(b.nameTable + 3); }), 4, "Error read file."},
        {"counts claim gigabytes", damaged([](BuiltArchive& b) { PatchLe32(b.bytes, 20, 0xFFFFFFFF); }), 4, "Error read file."},
        {"all counts overflow 32 bits", damaged([](BuiltArchive& b) {
             for (int f = 16; f <= 28; f += 4) PatchLe32(b.bytes, f, 0xFFFFFFFF);
         }), 4, "Error read file."},
        {"folder offset past the block", damaged([](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[1] + 12, 0x7FFFFFFF); }), 4, "Error read file."},
        {"folder offset before the block", damaged([](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[0] + 12, 3); }), 4, "Error read file."},
        {"folder file count runs past the block", damaged([](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[1] + 8, 1000); }), 4, "Error read file."},
        {"folder counts exceed the names", damaged([](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[0] + 8, 3); }), 4, "Error read file."},
        {"folder name without terminator", [] {
             ArchiveSpec plan;
             plan.folders = {{"abc", {}}};
             BuiltArchive b = BuildArchive(plan);
             b.bytes[b.folderBlocks[0] + 4] = 'x';  // the zero ends the directory; now nothing does
             return b.bytes;
         }, 4, "Error read file."},
        {"folder name longer than its length byte", damaged([](BuiltArchive& b) { b.bytes[b.folderBlocks[1]] = 3; }), 4, "Error read file."},
        {"folder name length byte zero", damaged([](BuiltArchive& b) { b.bytes[b.folderBlocks[0]] = 0; }), 4, "Error read file."},
        {"file name without terminator", damaged([](BuiltArchive& b) { b.bytes[b.dataBlocks[0] - 1] = 'q'; }), 4, "Error read file."},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto l = Load(c.bytes());
        EXPECT_EQ(l->code, c.code);
        EXPECT_EQ(l->messages, std::vector<std::string>{c.message});
        ExpectEmptyTables(l->archive);
        EXPECT_NE(l->archive.m_path.find("t.bsa"), std::string::npos);
    }
}

TEST(LoadCatalog, HeaderStateAfterEachFailure) {
    CBsaArchive a;
    MessageRecorder recorder;
    TempDir dir;
    EXPECT_EQ(a.LoadCatalog(dir.Join("missing.bsa")), 1);
    EXPECT_EQ(a.m_path, dir.Join("missing.bsa"));
    EXPECT_EQ(a.m_header.magic, 0u);
    EXPECT_EQ(recorder.messages(), std::vector<std::string>{"Error open BSA file."});

    WriteBytes(dir.path() / "short.bsa", std::string("BSA\0g\0\0\0\x24", 9));
    EXPECT_EQ(a.LoadCatalog(dir.Join("short.bsa")), 2);
    EXPECT_EQ(a.m_header.magic, 0x00415342u);
    EXPECT_EQ(a.m_header.version, 0x67u);
    EXPECT_EQ(a.m_header.headerSize, 0x24u) << "a partial field keeps its bytes";
    EXPECT_EQ(a.m_header.archiveFlags, 0u);

    BuiltArchive b = BuildArchive(TwoFolders());
    PatchLe32(b.bytes, 4, 104);
    WriteBytes(dir.path() / "v104.bsa", b.bytes);
    EXPECT_EQ(a.LoadCatalog(dir.Join("v104.bsa")), 3);
    EXPECT_EQ(a.m_header.version, 104u);
    EXPECT_EQ(a.m_header.fileCount, 5u);
}

TEST(LoadCatalog, FailedLoadEmptiesFilesButKeepsTheTreeModel) {
    TempDir dir;
    WriteBytes(dir.path() / "a.bsa", BuildArchive(TwoFolders()).bytes);
    CBsaArchive a;
    MessageRecorder recorder;
    ASSERT_EQ(a.LoadCatalog(dir.Join("a.bsa")), 0);
    a.m_tree.push_back(FolderNode{"a", "a", 0, -1, nullptr});
    EXPECT_EQ(a.LoadCatalog(dir.Join("b.bsa")), 1);
    ExpectEmptyTables(a);
    ASSERT_EQ(a.m_tree.size(), 1u);
    EXPECT_EQ(a.m_tree[0].fullPath, "a");
    ASSERT_EQ(a.LoadCatalog(dir.Join("a.bsa")), 0);
    EXPECT_EQ(a.m_files.size(), 5u) << "a second load replaces, never appends";
}

TEST(LoadCatalog, EveryTruncationLoadsOrFailsCleanly) {
    ArchiveSpec plan = TwoFolders();
    plan.archiveFlags = 7;
    const std::string full = BuildArchive(plan).bytes;
    const BuiltArchive layout = BuildArchive(plan);
    const std::size_t directoryEnd = layout.dataBlocks[0];
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const auto l = Load(full.substr(0, n));
        const std::int32_t want = n < 36 ? 2 : n < directoryEnd ? 4 : 0;
        ASSERT_EQ(l->code, want) << "cut at " << n;
        EXPECT_EQ(l->messages.size(), want ? 1u : 0u);
        if (want == 0) {
            EXPECT_EQ(l->archive.m_files.size(), 5u);
        }
    }
}

#ifdef _WIN32
TEST(LoadCatalog, ArchiveHeldOpenByAnotherOpenerCannotBeLoaded) {
    TempDir dir;
    WriteBytes(dir.path() / "a.bsa", BuildArchive(TwoFolders()).bytes);
    CFile holder;
    ASSERT_TRUE(holder.Open(dir.Join("a.bsa"), CFile::modeRead));
    CBsaArchive a;
    MessageRecorder recorder;
    EXPECT_EQ(a.LoadCatalog(dir.Join("a.bsa")), 1);
    EXPECT_EQ(recorder.messages(), std::vector<std::string>{"Error open BSA file."});
}
#endif

TEST(LoadCatalog, LeavesTheArchiveClosedAndUnchanged) {
    TempDir dir;
    const std::string bytes = BuildArchive(TwoFolders()).bytes;
    WriteBytes(dir.path() / "a.bsa", bytes);
    CBsaArchive a;
    ASSERT_EQ(a.LoadCatalog(dir.Join("a.bsa")), 0);
    CFile after;
    EXPECT_TRUE(after.Open(dir.Join("a.bsa"), CFile::modeRead)) << "the loader let go of the file";
    after.Close();
    EXPECT_EQ(ReadBytes(dir.path() / "a.bsa"), bytes);
}
