// Archives built to attack the reader and the extractor. Each case names the
// result it must get, and every case must leave everything outside the
// destination, and the archive itself, exactly as it was.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "archive/bsa_archive.h"
#include "bsa_builder.h"
#include "guarded_scratch.h"
#include "hostile_cases.h"
#include "test_support.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

struct Outcome {
    std::int32_t load;
    std::vector<int> extract;  // per file, with its folder path
    std::vector<std::string> messages;
};

Outcome LoadAndExtractAll(int withoutPath, const GuardedScratch& scratch) {
    Outcome outcome{};
    MessageRecorder recorder;
    CBsaArchive archive;
    outcome.load = archive.LoadCatalog(scratch.archive());
    if (outcome.load == 0)
        for (std::size_t i = 0; i < archive.m_files.size(); ++i)
            outcome.extract.push_back(archive.ExtractFile(scratch.destination(), static_cast<std::int32_t>(i), withoutPath));
    outcome.messages = recorder.messages();
    return outcome;
}

}  // namespace

TEST(HostileCorpus, EveryCaseGetsItsResultAndWritesNothingOutside) {
    const auto& cases = HostileCases();
    ASSERT_GE(cases.size(), 30u);
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        GuardedScratch scratch(c.make());
        const Outcome got = LoadAndExtractAll(0, scratch);
        EXPECT_EQ(got.load, c.load);
        EXPECT_EQ(got.extract, c.extract);
        EXPECT_EQ(scratch.Verify(), "");
        if (c.written) {
            EXPECT_EQ(scratch.Written(), *c.written);
        }
        std::size_t failures = got.load != 0;
        for (int code : got.extract) failures += code != 0;
        EXPECT_EQ(got.messages.size(), failures) << "one message per failure";
    }
}

TEST(HostileCorpus, WithoutPathNothingLeavesTheDestinationEither) {
    for (const HostileCase& c : HostileCases()) {
        SCOPED_TRACE(c.name);
        GuardedScratch scratch(c.make());
        const Outcome got = LoadAndExtractAll(1, scratch);
        EXPECT_EQ(got.load, c.load);
        for (int code : got.extract) EXPECT_TRUE(code == 0 || code == 2 || (code >= 3 && code <= 8) || code == 10) << code;
        EXPECT_EQ(scratch.Verify(), "");
    }
}
