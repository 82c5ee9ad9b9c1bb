// Peak memory (maximum resident set) of kestrum-cli extracting an archive whose
// largest entry inflates to 256 MiB, with an honest length prefix and with one
// that claims 4 GiB. The bound is that entry's block plus its inflated size
// plus 16 MiB; the claim must not change the peak.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <unistd.h>

#include "archive/bsa_archive.h"
#include "bench_support.h"

extern char** environ;

using namespace kestrum::bench;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kLargest = 256u << 20;
constexpr double kMiB = 1024.0 * 1024.0;

struct Fixture {
    kestrum::test::TempDir scratch;
    fs::path honest = scratch.path() / "honest.bsa", claims4g = scratch.path() / "claims4g.bsa";
    std::size_t largestBlock = 0;

    Fixture() {
        // The archives are made in a child of their own: a peak of this process
        // would count as the peak of the kestrum-cli it starts (Linux keeps the
        // high-water mark across the spawn).
        const pid_t maker = fork();
        if (maker == 0) {
            const std::string data = TextData(kLargest, 7);
            for (const auto& [path, prefix] : {std::pair{honest, kLargest}, std::pair{claims4g, 0xFFFFFFFFu}}) {
                const std::string big = CompressedBlock(data, prefix, 1);
                // Two folders: the large entry between small ones.
                WriteArchive(path, 2, 2, true, [&](std::uint32_t i) {
                    return i == 1 ? big : CompressedBlock(TextData(4096, i), 4096);
                });
            }
            _exit(0);
        }
        int status = 0;
        if (maker < 0 || waitpid(maker, &status, 0) != maker || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            throw std::runtime_error("the archives were not made");
        kestrum::CBsaArchive archive;
        if (archive.LoadCatalog(honest.string()) != 0) throw std::runtime_error("archive did not load");
        largestBlock = archive.m_files[1].size;
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

// Runs kestrum-cli extract on archive into a fresh folder; its peak RSS in bytes.
double PeakOfExtract(const fs::path& archive, const fs::path& dest, int& status) {
    MakeEmptyFolder(dest);
    const std::string cli = KESTRUM_CLI, a = archive.string(), d = dest.string();
    char* argv[] = {const_cast<char*>(cli.c_str()), const_cast<char*>("extract"), const_cast<char*>(a.c_str()),
                    const_cast<char*>(d.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, cli.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
    int wstatus = 0;
    rusage usage{};
    if (wait4(pid, &wstatus, 0, &usage) != pid) return -1;
    status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return static_cast<double>(usage.ru_maxrss) * 1024.0;  // kilobytes on Linux
}

void Measure(benchmark::State& state, const fs::path& archive) {
    Fixture& f = Shared();
    double peak = 0;
    for (auto _ : state) {
        int status = 0;
        peak = PeakOfExtract(archive, f.scratch.path() / "out", status);
        if (peak < 0 || status != 0) {
            state.SkipWithError("kestrum-cli extract failed");
            return;
        }
        if (fs::file_size(f.scratch.path() / "out" / "data" / "set0" / "part0" / "file1.bin") != kLargest) {
            state.SkipWithError("the large file was not written whole");
            return;
        }
    }
    const double bound = static_cast<double>(f.largestBlock) + kLargest + 16 * kMiB;
    state.counters["peak_MiB"] = peak / kMiB;
    state.counters["bound_MiB"] = bound / kMiB;
    state.counters["block_MiB"] = static_cast<double>(f.largestBlock) / kMiB;
    state.counters["within"] = peak <= bound ? 1 : 0;
}

void BM_PeakHonestPrefix(benchmark::State& state) { Measure(state, Shared().honest); }
void BM_PeakPrefixClaims4GiB(benchmark::State& state) { Measure(state, Shared().claims4g); }

BENCHMARK(BM_PeakHonestPrefix)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_PeakPrefixClaims4GiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
