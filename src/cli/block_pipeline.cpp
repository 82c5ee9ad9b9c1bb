#include "cli/block_pipeline.h"

#include <algorithm>

namespace kestrum::cli {

BlockPipeline::BlockPipeline(const CBsaArchive& archive, std::vector<std::int32_t> files, unsigned jobs,
                             std::uint64_t byteBudget)
    : m_archive(archive),
      m_files(std::move(files)),
      m_budget(byteBudget),
      m_window(std::max(1u, jobs) * 4u),
      m_ready(m_files.size()),
      m_cost(m_files.size()) {
    jobs = std::max(1u, jobs);
    m_workers.reserve(jobs);
    try {
        for (unsigned i = 0; i < jobs; ++i) m_workers.emplace_back([this] { Work(); });
    } catch (...) {
        Stop();
        throw;
    }
}

BlockPipeline::~BlockPipeline() { Stop(); }

void BlockPipeline::Stop() noexcept {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& worker : m_workers)
        if (worker.joinable()) worker.join();
}

// What a file holds while in flight, as far as is known before reading it:
// its block. The inflated size is counted once it is known.
std::uint64_t BlockPipeline::Cost(std::size_t k) const {
    return m_archive.m_files[static_cast<std::size_t>(m_files[k])].size;
}

void BlockPipeline::Work() {
    for (;;) {
        std::size_t k;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] {
                if (m_stopping || m_next >= m_files.size()) return true;
                if (m_next - m_taken >= m_window) return false;
                // Nothing in flight: the next file goes whatever its size, so
                // the taker can never wait for a file that no one may claim.
                return m_inFlight == 0 || m_inFlight + Cost(m_next) <= m_budget;
            });
            if (m_stopping || m_next >= m_files.size()) return;
            k = m_next++;
            m_cost[k] = Cost(k);
            m_inFlight += m_cost[k];
        }

        auto item = std::make_unique<Item>();
        try {
            {
                std::lock_guard turn(m_archiveTurn);
                item->result = ReadFileBlock(m_archive, m_files[k], item->data);
            }
            if (!item->result.failed()) item->result = InflateFileData(m_archive, m_files[k], item->data);
        } catch (...) {
            item->data = FileData{};
            item->error = std::current_exception();
        }

        {
            std::lock_guard lock(m_mutex);
            const std::uint64_t held = item->result.failed() || item->error ? 0 : item->data.count;
            m_inFlight = m_inFlight - m_cost[k] + held;
            m_cost[k] = held;
            m_ready[k] = std::move(item);
        }
        m_changed.notify_all();
    }
}

BlockPipeline::Item BlockPipeline::Take(std::size_t k) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_ready[k] != nullptr; });
    Item item = std::move(*m_ready[k]);
    m_ready[k].reset();
    m_inFlight -= m_cost[k];
    m_cost[k] = 0;
    m_taken = k + 1;
    lock.unlock();
    m_changed.notify_all();
    return item;
}

}  // namespace kestrum::cli
