#include "bench_support.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <zlib.h>
#include <fcntl.h>
#include <unistd.h>

namespace kestrum::bench {

namespace {
void AppendLe32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
}  // namespace

std::string FolderName(std::uint32_t folder) { return "data\\set" + std::to_string(folder / 8) + "\\part" + std::to_string(folder); }
std::string FileName(std::uint32_t file) { return "file" + std::to_string(file) + ".bin"; }

void WriteArchive(const std::filesystem::path& path, std::uint32_t folderCount, std::uint32_t filesPerFolder,
                  bool compressed, const std::function<std::string(std::uint32_t)>& block) {
    const std::uint32_t fileCount = folderCount * filesPerFolder;
    std::uint32_t folderNames = 0, fileNames = 0;
    for (std::uint32_t f = 0; f < folderCount; ++f) folderNames += static_cast<std::uint32_t>(FolderName(f).size() + 1);
    for (std::uint32_t i = 0; i < fileCount; ++i) fileNames += static_cast<std::uint32_t>(FileName(i).size() + 1);
    const std::uint64_t dirLength = std::uint64_t{folderCount} * 17 + std::uint64_t{fileCount} * 16 + folderNames + fileNames;

    // The blocks are made twice (sizes first, then bytes) only when stored, where
    // making one is cheap; compressed blocks are kept from the first pass.
    std::vector<std::string> kept;
    std::vector<std::uint32_t> sizes(fileCount);
    for (std::uint32_t i = 0; i < fileCount; ++i) {
        std::string b = block(i);
        sizes[i] = static_cast<std::uint32_t>(b.size());
        if (compressed) kept.push_back(std::move(b));
    }

    std::string dir;
    AppendLe32(dir, 0x00415342);
    for (std::uint32_t v : {103u, 36u, compressed ? 7u : 3u, folderCount, fileCount, folderNames, fileNames, 0u})
        AppendLe32(dir, v);
    std::uint64_t blockPos = 36 + std::uint64_t{folderCount} * 16;
    std::string records, blocks;
    std::uint64_t dataPos = 36 + dirLength;
    for (std::uint32_t f = 0; f < folderCount; ++f) {
        AppendLe32(records, f);
        AppendLe32(records, 0);
        AppendLe32(records, filesPerFolder);
        AppendLe32(records, static_cast<std::uint32_t>(blockPos + fileNames));
        const std::string name = FolderName(f);
        blocks.push_back(static_cast<char>(name.size() + 1));
        blocks += name;
        blocks.push_back('\0');
        for (std::uint32_t k = 0; k < filesPerFolder; ++k) {
            const std::uint32_t i = f * filesPerFolder + k;
            AppendLe32(blocks, i);
            AppendLe32(blocks, 0);
            AppendLe32(blocks, sizes[i]);
            AppendLe32(blocks, static_cast<std::uint32_t>(dataPos));
            dataPos += sizes[i];
        }
        blockPos = 36 + std::uint64_t{folderCount} * 16 + blocks.size();
    }
    if (dataPos > 0xFFFFFFFFull) throw std::runtime_error("archive too large for 32-bit offsets");
    dir += records;
    dir += blocks;
    for (std::uint32_t i = 0; i < fileCount; ++i) {
        dir += FileName(i);
        dir.push_back('\0');
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(dir.data(), static_cast<std::streamsize>(dir.size()));
    for (std::uint32_t i = 0; i < fileCount; ++i) {
        const std::string b = compressed ? std::move(kept[i]) : block(i);
        out.write(b.data(), static_cast<std::streamsize>(b.size()));
    }
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
    // On disk before anything is timed: its writeback would land on whichever
    // benchmark runs first.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string TextData(std::size_t size, std::uint32_t seed) {
    static const char* const words[] = {"armor ", "iron ", "texture ", "mesh ", "sound ", "door ", "open ",
                                        "bucket ", "clutter ", "helmet ", "cuirass ", "normal ", "map ", "the ",
                                        "of ", "and ", "\n"};
    std::string s;
    s.reserve(size + 16);
    std::uint32_t x = seed * 2654435761u + 12345u;
    while (s.size() < size) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        if (x % 5 == 0) s += std::to_string(x % 100000) + ' ';
        else s += words[x % std::size(words)];
    }
    s.resize(size);
    return s;
}

std::string CompressedBlock(const std::string& data, std::uint32_t prefix, int level) {
    uLongf length = compressBound(data.size());
    std::string block(4 + length, '\0');
    if (compress2(reinterpret_cast<Bytef*>(block.data() + 4), &length, reinterpret_cast<const Bytef*>(data.data()),
                  data.size(), level) != Z_OK)
        throw std::runtime_error("deflate failed");
    block.resize(4 + length);
    for (int i = 0; i < 4; ++i) block[i] = static_cast<char>(prefix >> (8 * i));
    return block;
}

void MakeEmptyFolder(const std::filesystem::path& path) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const std::string& name = run.run_name.function_name;
        const Times times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
            m_medians[name] = times;
        else if (run.run_type == Run::RT_Iteration)
            m_singles[name] = times;
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    const auto times = [&](const std::string& name) -> Times {
        if (const auto it = m_medians.find(name); it != m_medians.end()) return it->second;
        if (const auto it = m_singles.find(name); it != m_singles.end()) return it->second;
        return {};
    };
    for (const Pair& p : m_pairs) {
        const Times measured = times(p.measured), baseline = times(p.baseline);
        if (measured.real <= 0 || baseline.real <= 0 || baseline.cpu <= 0) {
            std::printf("ratio %s: not measured\n", p.label.c_str());
            continue;
        }
        const double ratio = measured.real / baseline.real;
        std::printf("ratio %s: %.3f real (%s %.1f ms / %s %.1f ms, %s; target <= %.2f: %s), %.3f CPU\n",
                    p.label.c_str(), ratio, p.measured.c_str(), measured.real, p.baseline.c_str(), baseline.real,
                    m_medians.count(p.measured) ? "medians" : "single runs", p.target,
                    ratio <= p.target ? "met" : "MISSED", measured.cpu / baseline.cpu);
    }
    std::fflush(stdout);
}

int RunWithRatios(int argc, char** argv, std::vector<RatioReporter::Pair> pairs) {
    // Repetitions of the two sides take turns, so that a drift in the load of
    // a shared machine falls on both; a flag on the command line still wins.
    std::vector<char*> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace kestrum::bench
