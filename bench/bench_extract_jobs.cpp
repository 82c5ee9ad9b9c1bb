// kestrum-cli extract --jobs 2 against --jobs 1 on a generated compressed
// archive of at least 512 MiB (text-like files of 256 KiB, deflated at level
// 1, about 3:1), through the tool's own verb in this process. Each run
// writes every file; the outputs are removed and flushed between runs. CPU
// times are of the whole process (all threads): their ratio is the cost of
// running in parallel.
#include <unistd.h>

#include "bench_support.h"
#include "cli/cli.h"
#include "platform/message_box.h"

using namespace kestrum;
using namespace kestrum::bench;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kArchiveAtLeast = 512ull << 20;
constexpr std::uint32_t kFileSize = 256 * 1024, kFilesPerFolder = 64;

struct Fixture {
    kestrum::test::TempDir scratch;
    fs::path archivePath = scratch.path() / "jobs.bsa";
    std::uint64_t inflated = 0;

    Fixture() {
        std::vector<std::string> blocks;
        std::uint64_t total = 0;
        while (total < kArchiveAtLeast || blocks.size() % kFilesPerFolder != 0) {
            blocks.push_back(CompressedBlock(TextData(kFileSize, static_cast<std::uint32_t>(blocks.size())), kFileSize, 1));
            total += blocks.back().size();
        }
        const auto files = static_cast<std::uint32_t>(blocks.size());
        WriteArchive(archivePath, files / kFilesPerFolder, kFilesPerFolder, true,
                     [&](std::uint32_t i) { return std::move(blocks[i]); });
        inflated = std::uint64_t{files} * kFileSize;
        std::fprintf(stderr, "archive: %u files, %.1f MiB, %.1f MiB inflated\n", files,
                     static_cast<double>(fs::file_size(archivePath)) / (1 << 20),
                     static_cast<double>(inflated) / (1 << 20));
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void Extract(benchmark::State& state, const char* jobs) {
    Fixture& f = Shared();
    const fs::path dest = f.scratch.path() / "out";
    for (auto _ : state) {
        state.PauseTiming();
        MakeEmptyFolder(dest);
        ::sync();  // the last run's writeback must not land on this one
        state.ResumeTiming();
        if (cli::RunCli({"extract", "--quiet", "--jobs", jobs, f.archivePath.string(), dest.string()}) != 0) {
            state.SkipWithError("extraction failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.inflated));
}

void BM_ExtractJobs1(benchmark::State& state) { Extract(state, "1"); }
void BM_ExtractJobs2(benchmark::State& state) { Extract(state, "2"); }

BENCHMARK(BM_ExtractJobs1)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_ExtractJobs2)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    Shared();  // generated before anything is timed
    return RunWithRatios(argc, argv,
                         {{"BM_ExtractJobs2", "BM_ExtractJobs1",
                           "extract --jobs 2 / --jobs 1 (speed-up 1/ratio, target >= 1.7)", 1 / 1.7}});
}
