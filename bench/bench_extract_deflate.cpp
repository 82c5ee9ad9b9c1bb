// Extract All of a compressed archive (2,000 files of 128 KiB of text-like
// data, about 3:1), against inflating the same blocks in memory with zlib's
// uncompress and no file I/O at all.
#include <memory>
#include <zlib.h>

#include "archive/bsa_archive.h"
#include "bench_support.h"
#include "platform/message_box.h"

using namespace kestrum;
using namespace kestrum::bench;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kFolders = 40, kFilesPerFolder = 50, kFileSize = 128 * 1024;

struct Fixture {
    kestrum::test::TempDir scratch;
    fs::path archivePath = scratch.path() / "deflate.bsa";
    std::vector<std::string> blocks;
    CBsaArchive archive;

    Fixture() {
        for (std::uint32_t i = 0; i < kFolders * kFilesPerFolder; ++i)
            blocks.push_back(CompressedBlock(TextData(kFileSize, i), kFileSize));
        WriteArchive(archivePath, kFolders, kFilesPerFolder, true, [&](std::uint32_t i) { return blocks[i]; });
        if (archive.LoadCatalog(archivePath.string()) != 0) throw std::runtime_error("archive did not load");
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_ExtractAllDeflate(benchmark::State& state) {
    Fixture& f = Shared();
    const fs::path dest = f.scratch.path() / "out";
    for (auto _ : state) {
        state.PauseTiming();
        MakeEmptyFolder(dest);
        state.ResumeTiming();
        if (!ExtractEveryFile(state, f.archive, dest.string())) return;
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFolders} * kFilesPerFolder * kFileSize);
}

void BM_InflateInMemory(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        for (const std::string& block : f.blocks) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
            const std::uint32_t prefix = ReadLe32(bytes);
            auto out = std::make_unique_for_overwrite<unsigned char[]>(prefix);
            uLongf length = prefix;
            if (uncompress(out.get(), &length, bytes + 4, block.size() - 4) != Z_OK) {
                state.SkipWithError("inflate failed");
                return;
            }
            benchmark::DoNotOptimize(out.get());
        }
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFolders} * kFilesPerFolder * kFileSize);
}

BENCHMARK(BM_ExtractAllDeflate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_InflateInMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    SetMessageSink([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
    return RunWithRatios(argc, argv,
                         {{"BM_ExtractAllDeflate", "BM_InflateInMemory", "compressed extract / in-memory inflate", 1.3}});
}
