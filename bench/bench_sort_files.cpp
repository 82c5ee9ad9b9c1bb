// SortFiles against the pass-by-pass exchange that defines its result, and
// against std::stable_sort over keys built beforehand (the cost of a plain
// sort with the same comparisons). Every ratio is measured within one run.
//
//   BM_VsExchange/type/n   exchange_ms / sort_ms      (n up to 20,000)
//   BM_VsStableSort/type/n sort_ms / stable_ms
//   BM_Growth/type         t(1M) / t(100k), next to the n log n ratio and
//                          the growth of std::stable_sort in the same run
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "archive/bsa_archive.h"
#include "platform/mbtext.h"

using namespace kestrum;

namespace {

// A catalogue shaped like a large archive: folders of a few levels in hash
// (not name) order, about 100 files each, sizes with many ties, random hashes.
std::unique_ptr<CBsaArchive> MakeCatalogue(std::size_t n) {
    auto a = std::make_unique<CBsaArchive>();
    std::mt19937_64 random(n);
    const std::size_t folders = std::max<std::size_t>(1, n / 100);
    std::vector<std::string> folderNames(folders);
    const char* tops[] = {"meshes", "textures", "sound", "interface", "music"};
    for (std::size_t f = 0; f < folders; ++f)
        folderNames[f] = std::string(tops[random() % 5]) + "\\set" + std::to_string(random() % 97) + "\\part" +
                         std::to_string(f);
    a->m_files.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t f = i * folders / n;
        BsaFileEntry file;
        file.folderPath = folderNames[f];
        file.fileName = "file_" + std::to_string(random() % 1000) + (random() % 2 ? ".dds" : ".nif");
        file.folderIndex = static_cast<std::int32_t>(f);
        file.size = static_cast<std::uint32_t>(random() % 4096) * 16;  // about n / 4096 files per size
        file.hash = random();
        a->m_files.push_back(std::move(file));
    }
    return a;
}

CBsaArchive& Catalogue(std::size_t n) {
    static std::map<std::size_t, std::unique_ptr<CBsaArchive>> made;
    auto& slot = made[n];
    if (!slot) slot = MakeCatalogue(n);
    return *slot;
}

std::vector<std::int32_t>& OrderOf(CBsaArchive& a, int type) {
    return type == 0 ? a.m_nameOrder : type == 1 ? a.m_sizeOrder : a.m_hashOrder;
}

void ResetOrder(CBsaArchive& a, int type) {
    auto& order = OrderOf(a, type);
    order.resize(a.m_files.size());
    std::iota(order.begin(), order.end(), 0);
}

// The CPU time of this thread: the machine is shared, and time spent waiting
// for a core would otherwise land in whichever side happened to wait.
double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}


double TimeSortFiles(CBsaArchive& a, int type) {
    ResetOrder(a, type);
    const auto t0 = CpuNow();
    a.SortFiles(ProgressTarget{}, type);
    return CpuNow() - t0;
}

// The definition itself: n(n-1)/2 comparisons, name keys joined for each one.
double TimeExchange(CBsaArchive& a, int type) {
    ResetOrder(a, type);
    auto& order = OrderOf(a, type);
    const auto t0 = CpuNow();
    const std::size_t n = order.size();
    int last = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const int position = static_cast<int>(i * 100 / n);
        if (position > last) last = position;
        for (std::size_t j = i + 1; j < n; ++j) {
            const BsaFileEntry& x = a.m_files[static_cast<std::size_t>(order[i])];
            const BsaFileEntry& y = a.m_files[static_cast<std::size_t>(order[j])];
            const bool greater = type == 0   ? MbsCompare(x.folderPath + x.fileName, y.folderPath + y.fileName) > 0
                                 : type == 1 ? x.size > y.size
                                             : x.hash > y.hash;
            if (greater) std::swap(order[i], order[j]);
        }
    }
    benchmark::DoNotOptimize(last);
    return CpuNow() - t0;
}

// std::stable_sort of the indices over keys built before the clock starts.
double TimeStableSort(const CBsaArchive& a, int type) {
    const std::size_t n = a.m_files.size();
    std::vector<std::int32_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    double t0 = 0;
    if (type == 0) {
        std::vector<std::string> keys(n);
        for (std::size_t i = 0; i < n; ++i) keys[i] = a.m_files[i].folderPath + a.m_files[i].fileName;
        t0 = CpuNow();
        std::stable_sort(order.begin(), order.end(), [&](std::int32_t x, std::int32_t y) {
            return MbsCompare(keys[static_cast<std::size_t>(x)], keys[static_cast<std::size_t>(y)]) < 0;
        });
    } else {
        std::vector<std::uint64_t> keys(n);
        for (std::size_t i = 0; i < n; ++i) keys[i] = type == 1 ? a.m_files[i].size : a.m_files[i].hash;
        t0 = CpuNow();
        std::stable_sort(order.begin(), order.end(), [&](std::int32_t x, std::int32_t y) {
            return keys[static_cast<std::size_t>(x)] < keys[static_cast<std::size_t>(y)];
        });
    }
    const double s = CpuNow() - t0;
    benchmark::DoNotOptimize(order.data());
    return s;
}

void BM_VsExchange(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    CBsaArchive& a = Catalogue(static_cast<std::size_t>(state.range(1)));
    double sort = 0, exchange = 0;
    for (auto _ : state) {
        const double e = TimeExchange(a, type);
        const std::vector<std::int32_t> expected = OrderOf(a, type);
        const double s = TimeSortFiles(a, type);
        if (OrderOf(a, type) != expected) state.SkipWithError("orders differ");
        exchange += e;
        sort += s;
        state.SetIterationTime(e + s);
    }
    const auto k = static_cast<double>(state.iterations());
    state.counters["exchange_ms"] = 1000 * exchange / k;
    state.counters["sort_ms"] = 1000 * sort / k;
    state.counters["ratio"] = exchange / sort;
}

void BM_VsStableSort(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    CBsaArchive& a = Catalogue(static_cast<std::size_t>(state.range(1)));
    double sort = 0, stable = 0;
    for (auto _ : state) {
        const double st = TimeStableSort(a, type);
        const double s = TimeSortFiles(a, type);
        stable += st;
        sort += s;
        state.SetIterationTime(st + s);
    }
    const auto k = static_cast<double>(state.iterations());
    state.counters["sort_ms"] = 1000 * sort / k;
    state.counters["stable_ms"] = 1000 * stable / k;
    state.counters["ratio"] = sort / stable;
}

void BM_Growth(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    double small = 0, large = 0, stableSmall = 0, stableLarge = 0;
    for (auto _ : state) {
        const double s = TimeSortFiles(Catalogue(100000), type);
        const double l = TimeSortFiles(Catalogue(1000000), type);
        small += s;
        large += l;
        stableSmall += TimeStableSort(Catalogue(100000), type);
        stableLarge += TimeStableSort(Catalogue(1000000), type);
        state.SetIterationTime(s + l);
    }
    const auto k = static_cast<double>(state.iterations());
    state.counters["100k_ms"] = 1000 * small / k;
    state.counters["1M_ms"] = 1000 * large / k;
    state.counters["growth"] = large / small;
    state.counters["stable_growth"] = stableLarge / stableSmall;
    state.counters["nlogn_growth"] = 1e6 * std::log2(1e6) / (1e5 * std::log2(1e5));
}

BENCHMARK(BM_VsExchange)
    ->ArgNames({"type", "n"})
    ->ArgsProduct({{0, 1, 2}, {1000, 10000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// The exchange of 20,000 names takes the better part of a minute: one
// iteration and one repetition, whatever the command line asks.
BENCHMARK(BM_VsExchange)
    ->ArgNames({"type", "n"})
    ->ArgsProduct({{0, 1, 2}, {20000}})
    ->Iterations(1)
    ->Repetitions(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VsStableSort)
    ->ArgNames({"type", "n"})
    ->ArgsProduct({{0, 1, 2}, {1000, 10000, 20000, 100000, 1000000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Growth)->ArgName("type")->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
