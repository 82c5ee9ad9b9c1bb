// The line that ends extract and verify on stderr: what was done, how many
// bytes, how long it took.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

namespace kestrum::cli {

class RunSummary {
public:
    // done: the word for files that succeeded ("written", "intact"); failed:
    // the word for failures ("failed", "damaged"); whether skipped files and
    // bytes are counted at all.
    RunSummary(std::string verb, std::string done, std::string failed, bool countsSkipped, bool countsBytes)
        : m_verb(std::move(verb)),
          m_done(std::move(done)),
          m_failed(std::move(failed)),
          m_countsSkipped(countsSkipped),
          m_countsBytes(countsBytes) {}

    std::size_t succeeded = 0, skipped = 0, failed = 0;
    std::uint64_t bytes = 0;

    double Seconds() const;
    // "kestrum-cli: extract: 3 written, 1 skipped, 0 failed, 1234 bytes, 0.01 s"
    std::string Text() const;
    void Print() const;

private:
    std::string m_verb, m_done, m_failed;
    bool m_countsSkipped, m_countsBytes;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

}  // namespace kestrum::cli
