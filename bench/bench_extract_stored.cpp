// Extract All of a stored archive of 1 GiB in 16,384 files, against a plain
// copy of the same blocks with the same pattern: per file, open the archive,
// read the whole block, close, create the output, write it whole, close.
#include <fcntl.h>
#include <memory>
#include <unistd.h>

#include "archive/bsa_archive.h"
#include "bench_support.h"
#include "platform/message_box.h"

using namespace kestrum;
using namespace kestrum::bench;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kFolders = 64, kFilesPerFolder = 256, kFileSize = 64 * 1024;

struct Fixture {
    kestrum::test::TempDir scratch;
    fs::path archivePath = scratch.path() / "stored.bsa";
    CBsaArchive archive;

    Fixture() {
        WriteArchive(archivePath, kFolders, kFilesPerFolder, false, [](std::uint32_t i) {
            std::string block(kFileSize, '\0');
            for (std::size_t k = 0; k < block.size(); k += 8) block[k] = static_cast<char>(i + k / 8);
            return block;
        });
        if (archive.LoadCatalog(archivePath.string()) != 0) throw std::runtime_error("archive did not load");
    }

    // A new, empty destination for one run; the previous run's files go first.
    std::string FreshDest() {
        const fs::path dest = scratch.path() / "out";
        MakeEmptyFolder(dest);
        return dest.string();
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_ExtractAllStored(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string dest = f.FreshDest();
        state.ResumeTiming();
        if (!ExtractEveryFile(state, f.archive, dest)) return;
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFolders} * kFilesPerFolder * kFileSize);
}

void BM_CopyBlocks(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string archivePath = f.archivePath.string();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path dest = f.FreshDest();
        state.ResumeTiming();
        std::int32_t lastFolder = -1;
        fs::path folder;
        for (const BsaFileEntry& file : f.archive.m_files) {
            if (file.folderIndex != lastFolder) {
                lastFolder = file.folderIndex;
                std::string rel = file.folderPath;
                for (char& c : rel)
                    if (c == '\\') c = '/';
                folder = dest / rel;
                fs::create_directories(folder);
            }
            const int in = ::open(archivePath.c_str(), O_RDONLY | O_CLOEXEC);
            auto buffer = std::make_unique_for_overwrite<char[]>(file.size);
            const bool readAll = in >= 0 && ::pread(in, buffer.get(), file.size, file.offset) == file.size;
            if (in >= 0) ::close(in);
            const int out = ::open((folder / file.fileName).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            const bool wroteAll = out >= 0 && ::write(out, buffer.get(), file.size) == file.size;
            if (out >= 0) ::close(out);
            if (!readAll || !wroteAll) {
                state.SkipWithError("copy failed");
                return;
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFolders} * kFilesPerFolder * kFileSize);
}

BENCHMARK(BM_ExtractAllStored)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CopyBlocks)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    SetMessageSink([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
    return RunWithRatios(argc, argv, {{"BM_ExtractAllStored", "BM_CopyBlocks", "stored extract / copy", 1.5}});
}
