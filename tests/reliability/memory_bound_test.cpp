// A 4 KiB archive that claims 4 GiB in any one field must cost the tool less
// than 16 MiB: kestrum-cli extracts it in a child process and the kernel's
// account of that child's peak resident memory is the measure.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <functional>

#include "bsa_builder.h"
#include "test_support.h"

extern char** environ;

using namespace kestrum::test;

namespace {

constexpr std::uint32_t kFourGiB = 0xFFFFFFFFu;
constexpr long kBoundKiB = 16 * 1024;

struct Peak {
    int status;
    long maxRssKiB;
};

Peak RunCli(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string program = KESTRUM_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) return {-1, 0};
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

// About 4 KiB: a few files and padding data.
ArchiveSpec Small(std::uint32_t flags) {
    ArchiveSpec plan;
    plan.archiveFlags = flags;
    plan.folders = {{"meshes\\armor", {{"iron.nif", std::string(1500, 'i')}, {"steel.nif", std::string(1500, 's')}}},
                    {"textures", {{"iron.dds", std::string(800, 'd')}}}};
    return plan;
}

struct Claim {
    const char* name;
    std::uint32_t flags;
    std::function<void(BuiltArchive&)> damage;
    int status;  // the tool's exit status: the first failure's code
};

}  // namespace

TEST(MemoryBound, FourGibibyteClaimsCostLessThanSixteenMebibytes) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory is no measure of the program's";
#endif
    const auto header = [](std::size_t field) { return [=](BuiltArchive& b) { PatchLe32(b.bytes, field, kFourGiB); }; };
    const Claim claims[] = {
        {"folder count", 3, header(16), 4},
        {"file count", 3, header(20), 4},
        {"folder name length", 3, header(24), 4},
        {"file name length", 3, header(28), 4},
        {"folder's file count", 3, [](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[0] + 8, kFourGiB); }, 4},
        {"folder offset", 3, [](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[0] + 12, kFourGiB); }, 4},
        {"stored size", 3, [](BuiltArchive& b) { PatchLe32(b.bytes, b.fileRecords[0] + 8, kFourGiB); }, 6},
        {"compressed size", 7, [](BuiltArchive& b) { PatchLe32(b.bytes, b.fileRecords[0] + 8, kFourGiB); }, 6},
        {"file offset", 3, [](BuiltArchive& b) { PatchLe32(b.bytes, b.fileRecords[0] + 12, kFourGiB); }, 6},
        {"length prefix", 7, [](BuiltArchive& b) { PatchLe32(b.bytes, b.dataBlocks[0], kFourGiB); }, 0},
    };
    TempDir dir;
    for (const Claim& c : claims) {
        SCOPED_TRACE(c.name);
        BuiltArchive built = BuildArchive(Small(c.flags));
        c.damage(built);
        ASSERT_LE(built.bytes.size(), 4096u + 512);
        const std::string archive = dir.Join(std::string("claim.bsa"));
        WriteBytes(archive, built.bytes);
        const std::string dest = dir.Join("dest");
        std::filesystem::remove_all(dest);
        std::filesystem::create_directories(dest);
        const Peak peak = RunCli({"extract", archive, dest});
        EXPECT_EQ(peak.status, c.status);
        EXPECT_LT(peak.maxRssKiB, kBoundKiB) << "peak resident memory in KiB";
        std::printf("%-20s exit %d, peak %ld KiB\n", c.name, peak.status, peak.maxRssKiB);
    }
}
