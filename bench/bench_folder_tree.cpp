// BuildFolderTree on 100,000 folders of depth 1 to 6 against inserting the
// same full paths and all their prefixes into a hash set, the least any
// lookup by full path must do. ratio = tree_ms / set_ms, in one run.
#include <benchmark/benchmark.h>

#include <ctime>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "archive/bsa_archive.h"

using namespace kestrum;

namespace {

std::vector<std::string> FolderNames(std::size_t count) {
    std::mt19937 random(7);
    const char* words[] = {"meshes", "textures", "armor", "clutter", "dungeons", "architecture",
                           "iron", "steel", "glass", "effects", "interface", "characters"};
    // Few choices near the top, many further down: prefixes are widely shared.
    const unsigned fanOut[] = {8, 16, 40, 80, 200, 1000};
    std::unordered_set<std::string> seen;
    std::vector<std::string> names;
    while (names.size() < count) {
        const unsigned depth = 1 + random() % 6;
        std::string name;
        for (unsigned level = 0; level < depth; ++level) {
            if (level) name += '\\';
            const unsigned pick = random() % fanOut[level];
            name += words[pick % 12];
            name += std::to_string(pick);
        }
        if (seen.insert(name).second) names.push_back(std::move(name));
    }
    return names;
}

// The CPU time of this thread: the machine is shared, and time spent waiting
// for a core would otherwise land in whichever side happened to wait.
double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}


void BM_BuildFolderTreeVsHashSet(benchmark::State& state) {
    const std::vector<std::string> names = FolderNames(static_cast<std::size_t>(state.range(0)));
    CBsaArchive archive;
    for (const std::string& name : names) archive.m_folders.push_back({name, 0, 0, 0});
    double tree = 0, set = 0;
    std::size_t nodes = 0, distinct = 0;
    for (auto _ : state) {
        const double t0 = CpuNow();
        {
            std::unordered_set<std::string> prefixes;
            prefixes.reserve(names.size() * 2);
            for (const std::string& name : names) {
                for (std::size_t p = name.find('\\'); p != std::string::npos; p = name.find('\\', p + 1))
                    prefixes.insert(name.substr(0, p));
                prefixes.insert(name);
            }
            distinct = prefixes.size();
        }
        const double t1 = CpuNow();
        archive.BuildFolderTree(ProgressTarget{});
        const double t2 = CpuNow();
        nodes = archive.m_tree.size();
        set += t1 - t0;
        tree += t2 - t1;
        state.SetIterationTime(t2 - t0);
    }
    if (nodes != distinct) state.SkipWithError("node count differs from the distinct prefixes");
    const auto k = static_cast<double>(state.iterations());
    state.counters["tree_ms"] = 1000 * tree / k;
    state.counters["set_ms"] = 1000 * set / k;
    state.counters["ratio"] = tree / set;
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_BuildFolderTreeVsHashSet)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
