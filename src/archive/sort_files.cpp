// SortFiles orders one of the three file orders. The order it produces is, by
// definition, the one a pass-by-pass exchange sort leaves: for each position i
// in turn, every later element with a smaller key is exchanged into position i.
// That order is not stable, and ties come out in an order that depends on the
// array's current permutation; the list shows it, and a second click sorts
// from the result of the first, so this file reproduces it exactly, but in
// O(n log n) instead of n(n-1)/2 comparisons.
//
// How the tie order arises: for a key value v, only the elements with keys
// <= v, taken in their current order, matter. Walking them while keeping a
// deque of the v-elements met so far, a v-element joins at the back, and an
// element with a smaller key, met while the deque is non-empty, moves the
// deque's front to its back. The deque at the end is the final order of the
// v-elements, and the groups of equal keys stand in ascending key order.
//
// Per group that is a ring that grows by one at its back and turns by the
// number of smaller elements met between two of its members. The turns are
// counted with a Fenwick tree over positions (smaller keys inserted before
// each group is visited); the ring is then unwound from its final state
// backwards, each member taking the slot just behind the front among the
// slots still free, found by rank in a second Fenwick tree.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "archive/bsa_archive.h"
#include "platform/mbtext.h"

namespace kestrum {

namespace {

// Counts over 0..size-1: add one at a place, count below a place, and find the
// place of the k-th counted one.
class FenwickCounts {
public:
    void ResetEmpty(std::size_t size) { m_tree.assign(size + 1, 0); }

    // Every place counted once: each node covers lowbit(i) places.
    void ResetFull(std::size_t size) {
        m_tree.resize(size + 1);
        for (std::size_t i = 1; i <= size; ++i) m_tree[i] = static_cast<std::uint32_t>(i & (~i + 1));
    }

    void Add(std::size_t place, std::int32_t delta) {
        for (std::size_t i = place + 1; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] = static_cast<std::uint32_t>(static_cast<std::int64_t>(m_tree[i]) + delta);
    }

    // How many counted places lie below place.
    std::uint32_t CountBelow(std::size_t place) const {
        std::uint32_t sum = 0;
        for (std::size_t i = place; i > 0; i &= i - 1) sum += m_tree[i];
        return sum;
    }

    // The place of the counted one of rank k (0-based); k must be below the total.
    std::size_t FindRank(std::uint32_t k) const {
        std::size_t place = 0;
        std::size_t step = 1;
        while (step * 2 < m_tree.size()) step *= 2;
        for (; step > 0; step /= 2) {
            if (place + step < m_tree.size() && m_tree[place + step] <= k) {
                place += step;
                k -= m_tree[place];
            }
        }
        return place;  // 1-based node index of the last place below, i.e. the 0-based place
    }

private:
    std::vector<std::uint32_t> m_tree;  // 1-based
};

// The progress positions of the exchange sort: pass i (0..n-2) announces
// (i*100)/n when it exceeds the last one announced. Here pass i stands for
// writing the element that pass would settle in position i.
class PassProgress {
public:
    PassProgress(const ProgressTarget& target, std::size_t n) : m_target(target), m_n(n) { Advance(0); }

    void AtPass(std::size_t i) {
        if (i == m_nextPass) {
            m_target.SetPos(static_cast<int>(m_nextPosition));
            Advance(m_nextPosition);
        }
    }

private:
    // Finds the first pass whose position exceeds last (64-bit: no count wraps).
    void Advance(std::uint64_t last) {
        const std::uint64_t n = m_n;
        const std::uint64_t pass = ((last + 1) * n + 99) / 100;  // least i with i*100/n > last
        m_nextPass = pass;
        m_nextPosition = pass * 100 / n;
        if (pass + 2 > n) m_nextPass = SIZE_MAX;  // beyond pass n-2: nothing more is sent
    }

    const ProgressTarget& m_target;
    std::size_t m_n;
    std::size_t m_nextPass = 0;
    std::uint64_t m_nextPosition = 0;
};

// Rearranges order given its positions sorted by key with ties in position
// order (byKey) and where each group of equal keys begins (groupBegins, then
// n). Places every element where the exchange sort would leave it.
void ArrangeAsExchange(std::vector<std::int32_t>& order, const std::vector<std::uint32_t>& byKey,
                       const std::vector<std::uint32_t>& groupBegins, const ProgressTarget& progressBar) {
    const std::size_t n = order.size();
    std::vector<std::uint32_t> finalPlace(n);  // by position in byKey: the element's place in the result
    FenwickCounts smallerAt;                   // positions of the elements with smaller keys
    FenwickCounts freeSlots;
    smallerAt.ResetEmpty(n);
    std::vector<std::uint32_t> turns;

    for (std::size_t g = 0; g + 1 < groupBegins.size(); ++g) {
        const std::size_t begin = groupBegins[g], end = groupBegins[g + 1];
        const std::size_t m = end - begin;
        if (m == 1) {
            finalPlace[begin] = static_cast<std::uint32_t>(begin);
        } else {
            // Turns of the ring after each member joins: the smaller elements
            // up to the next member, or to the end for the last one.
            const auto smallerTotal = static_cast<std::uint32_t>(begin);
            turns.resize(m);
            std::uint32_t before = smallerAt.CountBelow(byKey[begin]);
            for (std::size_t t = 0; t < m; ++t) {
                const std::uint32_t next = t + 1 < m ? smallerAt.CountBelow(byKey[begin + t + 1]) : smallerTotal;
                turns[t] = next - before;
                before = next;
            }
            // Unwind from the final ring (front at rank 0): undo the turn, then
            // the member that joined last sits just behind the front.
            freeSlots.ResetFull(m);
            std::size_t front = 0;
            for (std::size_t size = m; size > 0; --size) {
                front = (front + size - turns[size - 1] % size) % size;
                const std::size_t rank = (front + size - 1) % size;
                const std::size_t slot = freeSlots.FindRank(static_cast<std::uint32_t>(rank));
                freeSlots.Add(slot, -1);
                finalPlace[begin + size - 1] = static_cast<std::uint32_t>(begin + slot);
                if (front > 0) --front;
            }
        }
        if (end < n)  // the last group's positions are never needed
            for (std::size_t k = begin; k < end; ++k) smallerAt.Add(byKey[k], 1);
    }

    std::vector<std::int32_t> result(n);
    for (std::size_t k = 0; k < n; ++k) result[finalPlace[k]] = order[byKey[k]];
    PassProgress progress(progressBar, n);
    for (std::size_t i = 0; i < n; ++i) {
        progress.AtPass(i);
        order[i] = result[i];
    }
}

// Positions of order sorted by a numeric key, ties in position order.
template <class Key, class KeyOf>
void SortByNumber(std::vector<std::int32_t>& order, KeyOf keyOf, const ProgressTarget& progressBar) {
    const std::size_t n = order.size();
    std::vector<std::pair<Key, std::uint32_t>> keyed(n);
    for (std::size_t p = 0; p < n; ++p) keyed[p] = {keyOf(order[p]), static_cast<std::uint32_t>(p)};
    std::sort(keyed.begin(), keyed.end());  // pairs are distinct: ties fall to the position
    std::vector<std::uint32_t> byKey(n), groupBegins;
    for (std::size_t k = 0; k < n; ++k) {
        byKey[k] = keyed[k].second;
        if (k == 0 || keyed[k].first != keyed[k - 1].first) groupBegins.push_back(static_cast<std::uint32_t>(k));
    }
    groupBegins.push_back(static_cast<std::uint32_t>(n));
    ArrangeAsExchange(order, byKey, groupBegins, progressBar);
}

void SortByName(std::vector<std::int32_t>& order, const std::vector<BsaFileEntry>& files,
                const ProgressTarget& progressBar) {
    const std::size_t n = order.size();
    // Each key is built once; the comparison is the multibyte-aware exact one.
    std::vector<std::string> keys(n);
    for (std::size_t p = 0; p < n; ++p) {
        const BsaFileEntry& file = files[static_cast<std::size_t>(order[p])];
        keys[p].reserve(file.folderPath.size() + file.fileName.size());
        keys[p].append(file.folderPath).append(file.fileName);
    }
    std::vector<std::uint32_t> byKey(n), groupBegins;
    std::iota(byKey.begin(), byKey.end(), 0u);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return MbsCompare(keys[a], keys[b]) < 0; });
    for (std::size_t k = 0; k < n; ++k)
        if (k == 0 || MbsCompare(keys[byKey[k]], keys[byKey[k - 1]]) != 0)
            groupBegins.push_back(static_cast<std::uint32_t>(k));
    groupBegins.push_back(static_cast<std::uint32_t>(n));
    ArrangeAsExchange(order, byKey, groupBegins, progressBar);
}

}  // namespace

void CBsaArchive::SortFiles(const ProgressTarget& progressBar, std::int32_t type) {
    const auto file = [this](std::int32_t index) -> const BsaFileEntry& {
        return m_files[static_cast<std::size_t>(index)];
    };
    switch (type) {
        case 0:
            if (m_nameOrder.size() > 1) SortByName(m_nameOrder, m_files, progressBar);
            break;
        case 1:
            if (m_sizeOrder.size() > 1)
                SortByNumber<std::uint32_t>(m_sizeOrder, [&](std::int32_t i) { return file(i).size; }, progressBar);
            break;
        case 2:
            if (m_hashOrder.size() > 1)
                SortByNumber<std::uint64_t>(m_hashOrder, [&](std::int32_t i) { return file(i).hash; }, progressBar);
            break;
        default:
            break;
    }
}

}  // namespace kestrum
