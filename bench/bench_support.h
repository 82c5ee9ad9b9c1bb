// What the extraction benchmarks share: archives written straight to disk from
// a description (they are too large to build in memory twice), scratch folders,
// (test::TempDir), and a reporter that prints the ratio of two benchmarks' median times.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "archive/bsa_archive.h"
#include "test_support.h"

namespace kestrum::bench {

// An archive of folderCount folders of filesPerFolder files each; block(i)
// gives the data block of file i in catalogue order (for a compressed archive
// already with its length prefix).
void WriteArchive(const std::filesystem::path& path, std::uint32_t folderCount, std::uint32_t filesPerFolder,
                  bool compressed, const std::function<std::string(std::uint32_t)>& block);

std::string FolderName(std::uint32_t folder);
std::string FileName(std::uint32_t file);

// Text-like bytes that compress about three to one, different for every seed.
std::string TextData(std::size_t size, std::uint32_t seed);

// A compressed data block: length prefix and zlib stream.
std::string CompressedBlock(const std::string& data, std::uint32_t prefix, int level = 6);

// Removes whatever path holds and leaves it an empty folder: each run of an
// extraction starts from the same state.
void MakeEmptyFolder(const std::filesystem::path& path);

// Extract All into dest, file by file in catalogue order; on the first failure
// the benchmark is marked failed and false returned. Inline, so that only the
// benchmarks that extract need the extractor.
inline bool ExtractEveryFile(benchmark::State& state, CBsaArchive& archive, const std::string& dest) {
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(archive.m_files.size()); ++i) {
        if (archive.ExtractFile(dest, i, 0) != 0) {
            state.SkipWithError("extraction failed");
            return false;
        }
    }
    return true;
}

// Prints the usual console report, then for each (measured, baseline) pair
// the ratio of their median real times (or single times without repetitions),
// and of their CPU times, which a machine shared with other work disturbs less.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Pair {
        std::string measured, baseline, label;
        double target;
    };
    explicit RatioReporter(std::vector<Pair> pairs) : m_pairs(std::move(pairs)) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::vector<Pair> m_pairs;
    struct Times {
        double real = 0, cpu = 0;
    };
    std::map<std::string, Times> m_medians, m_singles;
};

// Runs the registered benchmarks with a RatioReporter for pairs.
int RunWithRatios(int argc, char** argv, std::vector<RatioReporter::Pair> pairs);

}  // namespace kestrum::bench
