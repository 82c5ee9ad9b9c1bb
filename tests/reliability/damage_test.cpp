// Sample archives damaged at random and cut at every length: loading and
// extracting whatever loads must end in success or one of the program's
// failure codes, and never write outside the destination.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

#include "archive/bsa_archive.h"
#include "bsa_builder.h"
#include "guarded_scratch.h"
#include "test_support.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

std::vector<std::string> Samples() {
    ArchiveSpec plan;
    plan.folders = {{"meshes\\armor", {{"iron.nif", std::string(600, 'i') + "cuirass"}, {"steel.nif", "steel"}}},
                    {"textures", {{"iron.dds", std::string(900, 'd')}, {"empty.dds", ""}}},
                    {"", {{"readme.txt", "root file"}}}};
    std::vector<std::string> samples;
    for (std::uint32_t flags : {3u, 7u}) {
        plan.archiveFlags = flags;
        samples.push_back(BuildArchive(plan).bytes);
    }
    return samples;
}

const std::set<int> kLoadCodes{0, 1, 2, 3, 4};
const std::set<int> kExtractCodes{0, 1, 2, 3, 4, 5, 6, 7, 8, 10};

// Loads the scratch's archive and extracts everything it holds, with and
// without paths; returns the first unexpected code as text, else "".
std::string LoadAndExtractAll(const GuardedScratch& scratch) {
    MessageRecorder quiet;
    CBsaArchive archive;
    const std::int32_t load = archive.LoadCatalog(scratch.archive());
    if (!kLoadCodes.count(load)) return "load gave " + std::to_string(load);
    for (int withoutPath : {0, 1})
        for (std::size_t i = 0; i < archive.m_files.size(); ++i) {
            const int code = archive.ExtractFile(scratch.destination(), static_cast<std::int32_t>(i), withoutPath);
            if (!kExtractCodes.count(code)) return "extract gave " + std::to_string(code);
        }
    return "";
}

}  // namespace

TEST(Damage, OnePercentOfTheBytesDamagedAThousandTimes) {
    std::mt19937 random(20261211);
    for (const std::string& sample : Samples()) {
        std::uniform_int_distribution<std::size_t> where(0, sample.size() - 1);
        std::uniform_int_distribution<int> byte(0, 255);
        const std::size_t hits = std::max<std::size_t>(1, sample.size() / 100);
        GuardedScratch scratch(sample);
        for (int round = 0; round < 1000; ++round) {
            std::string damaged = sample;
            for (std::size_t h = 0; h < hits; ++h) damaged[where(random)] = static_cast<char>(byte(random));
            if (round % 50 == 0) scratch.ClearDestination();
            scratch.Reset(damaged);
            const std::string problem = LoadAndExtractAll(scratch);
            ASSERT_EQ(problem, "") << "round " << round;
        }
        // A write outside would still be there: one look at the end covers every round.
        ASSERT_EQ(scratch.Verify(), "");
    }
}

TEST(Damage, EveryTruncationLoadsOrFailsAndExtractsOrFails) {
    for (const std::string& sample : Samples()) {
        GuardedScratch scratch(sample);
        for (std::size_t n = 0; n <= sample.size(); ++n) {
            if (n % 50 == 0) scratch.ClearDestination();
            scratch.Reset(sample.substr(0, n));
            ASSERT_EQ(LoadAndExtractAll(scratch), "") << "cut at " << n;
        }
        ASSERT_EQ(scratch.Verify(), "");
    }
}
