// Reads and inflates files ahead of their turn on worker threads and hands
// them over strictly in the order asked, so that whoever takes them (on the
// calling thread) writes, reports and decides exactly as a one-by-one run.
// Memory in flight is bounded: at most a window of files, and of about a
// byte budget (a file larger than the budget still goes, alone).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/bsa_archive.h"
#include "extract/extract_steps.h"

namespace kestrum::cli {

class BlockPipeline {
public:
    // What ReadFileData gave for one file: its result and bytes, or the error
    // it raised, to be raised again by the taker at the file's turn.
    struct Item {
        StepResult result;
        FileData data;
        std::exception_ptr error;
    };

    // files: the file indices (valid ones) in the order they will be taken.
    // The catalogue must not change while the pipeline lives.
    BlockPipeline(const CBsaArchive& archive, std::vector<std::int32_t> files, unsigned jobs,
                  std::uint64_t byteBudget = kDefaultBudget);
    ~BlockPipeline();  // stops the workers (files not taken yet are dropped)
    BlockPipeline(const BlockPipeline&) = delete;
    BlockPipeline& operator=(const BlockPipeline&) = delete;

    // The item of files[k], waiting for it; k must be 0, 1, 2, ... in turn.
    Item Take(std::size_t k);

    static constexpr std::uint64_t kDefaultBudget = 64ull << 20;

private:
    void Work();
    void Stop() noexcept;
    std::uint64_t Cost(std::size_t k) const;

    const CBsaArchive& m_archive;
    const std::vector<std::int32_t> m_files;
    const std::uint64_t m_budget;
    const std::size_t m_window;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_next = 0;          // next file a worker claims
    std::size_t m_taken = 0;         // files handed over so far
    std::uint64_t m_inFlight = 0;    // bytes claimed and not yet taken
    bool m_stopping = false;
    std::vector<std::unique_ptr<Item>> m_ready;  // by k; empty until done
    std::vector<std::uint64_t> m_cost;           // by k: what it counts in m_inFlight

    std::mutex m_archiveTurn;  // one open of the archive at a time (it is opened unshared)
    std::vector<std::thread> m_workers;
};

}  // namespace kestrum::cli
