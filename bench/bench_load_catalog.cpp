// LoadCatalog on a 100,000-file archive against one plain read of the same
// directory bytes into memory: the ratio is what parsing costs on top of I/O.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "archive/bsa_archive.h"
#include "bsa_builder.h"
#include "platform/file.h"
#include "test_support.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

struct Fixture {
    TempDir dir;
    std::string path;
    std::uint64_t directoryLength = 0;

    Fixture() {
        ArchiveSpec plan;
        const int folders = 1000, perFolder = 100;
        for (int f = 0; f < folders; ++f) {
            FolderSpec folder{"textures\\armor\\set" + std::to_string(f / 10) + "\\part" + std::to_string(f)};
            for (int i = 0; i < perFolder; ++i)
                folder.files.push_back({"file_" + std::to_string(i) + ".dds", "x",
                                        0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(f * perFolder + i)});
            plan.folders.push_back(std::move(folder));
        }
        const BuiltArchive built = BuildArchive(plan);
        directoryLength = built.dataBlocks[0] - 36;
        path = dir.Join("bench.bsa");
        WriteBytes(path, built.bytes);
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

void ReadDirectory(const Fixture& f) {
    CFile file;
    file.Open(f.path, CFile::modeRead);
    file.Seek(36);
    std::unique_ptr<unsigned char[]> block(new unsigned char[f.directoryLength]);
    benchmark::DoNotOptimize(file.Read(block.get(), static_cast<std::uint32_t>(f.directoryLength)));
    file.Close();
}

void BM_LoadCatalogVsRead(benchmark::State& state) {
    Fixture& f = Shared();
    double load = 0, read = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        ReadDirectory(f);
        auto t1 = std::chrono::steady_clock::now();
        {
            CBsaArchive archive;
            if (archive.LoadCatalog(f.path) != 0 || archive.m_files.size() != 100000)
                state.SkipWithError("load failed");
            auto t2 = std::chrono::steady_clock::now();
            load += Seconds(t2 - t1);
        }
        read += Seconds(t1 - t0);
    }
    state.counters["load_ms"] = 1000 * load / static_cast<double>(state.iterations());
    state.counters["read_ms"] = 1000 * read / static_cast<double>(state.iterations());
    state.counters["ratio"] = load / read;
}
BENCHMARK(BM_LoadCatalogVsRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
