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
// number of smaller elements met between two of its members. Those numbers
// come from one walk over the array with a Fenwick tree over the groups; the
// ring is then unwound from its final state backwards, each member taking the
// slot just behind the front among the slots still free, found by rank in a
// Fenwick tree over the slots.
#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archive/bsa_archive.h"
#include "platform/mbtext.h"

namespace kestrum {

namespace {

// Counts over places 0..size-1: add at a place, count below a place, find the
// place of the counted one of a given rank.
class FenwickCounts {
public:
    void ResetEmpty(std::size_t size) { m_tree.assign(size + 1, 0); }

    // Every place counted once: node i covers lowbit(i) places.
    void ResetFull(std::size_t size) {
        m_tree.resize(size + 1);
        for (std::size_t i = 1; i <= size; ++i) m_tree[i] = static_cast<std::uint32_t>(i & (~i + 1));
    }

    void Increment(std::size_t place) {
        for (std::size_t i = place + 1; i < m_tree.size(); i += i & (~i + 1)) ++m_tree[i];
    }
    void Decrement(std::size_t place) {
        for (std::size_t i = place + 1; i < m_tree.size(); i += i & (~i + 1)) --m_tree[i];
    }

    std::uint32_t CountBelow(std::size_t place) const {
        std::uint32_t sum = 0;
        for (std::size_t i = place; i > 0; i &= i - 1) sum += m_tree[i];
        return sum;
    }

    // The place of the counted one of rank k (0-based); k must be below the total.
    std::size_t FindRank(std::uint32_t k) const {
        std::size_t node = 0;
        std::size_t step = 1;
        while (step * 2 < m_tree.size()) step *= 2;
        for (; step > 0; step /= 2) {
            if (node + step < m_tree.size() && m_tree[node + step] <= k) {
                node += step;
                k -= m_tree[node];
            }
        }
        return node;  // the 1-based node before the place is the 0-based place
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
        m_nextPass = pass + 2 > n ? SIZE_MAX : static_cast<std::size_t>(pass);  // none after pass n-2
        m_nextPosition = pass * 100 / n;
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
    const std::size_t groups = groupBegins.size() - 1;
    // By index in byKey: where the element ends. Unique keys stay where they are.
    std::vector<std::uint32_t> finalPlace(n);
    std::iota(finalPlace.begin(), finalPlace.end(), 0u);

    std::size_t lastTied = SIZE_MAX;  // the last group of two or more
    for (std::size_t g = 0; g < groups; ++g)
        if (groupBegins[g + 1] - groupBegins[g] > 1) lastTied = g;

    if (lastTied != SIZE_MAX) {
        // smallerBefore[p]: how many elements before position p have smaller
        // keys, from one walk in position order counting groups met so far.
        std::vector<std::uint32_t> groupAt(n, UINT32_MAX);
        for (std::size_t g = 0; g <= lastTied; ++g)
            for (std::size_t k = groupBegins[g]; k < groupBegins[g + 1]; ++k)
                groupAt[byKey[k]] = static_cast<std::uint32_t>(g);
        std::vector<std::uint32_t> smallerBefore(n);
        FenwickCounts groupsMet;
        groupsMet.ResetEmpty(lastTied + 1);
        for (std::size_t p = 0; p < n; ++p) {
            const std::uint32_t g = groupAt[p];
            if (g == UINT32_MAX) continue;  // above every tied group: counts for none
            smallerBefore[p] = groupsMet.CountBelow(g);
            groupsMet.Increment(g);
        }

        FenwickCounts freeSlots;
        std::vector<std::uint32_t> turns;
        for (std::size_t g = 0; g <= lastTied; ++g) {
            const std::size_t begin = groupBegins[g], m = groupBegins[g + 1] - begin;
            if (m < 2) continue;
            // Turns of the ring after each member joins: the smaller elements
            // up to the next member, or to the end for the last one.
            turns.resize(m);
            for (std::size_t t = 0; t < m; ++t) {
                const std::uint32_t next = t + 1 < m ? smallerBefore[byKey[begin + t + 1]]
                                                     : static_cast<std::uint32_t>(begin);
                turns[t] = next - smallerBefore[byKey[begin + t]];
            }
            // Unwind from the final ring (front at rank 0): undo the turn, then
            // the member that joined last sits just behind the front.
            freeSlots.ResetFull(m);
            std::size_t front = 0;
            for (std::size_t size = m; size > 0; --size) {
                front = (front + size - turns[size - 1] % size) % size;
                const std::size_t rank = (front + size - 1) % size;
                const std::size_t slot = freeSlots.FindRank(static_cast<std::uint32_t>(rank));
                freeSlots.Decrement(slot);
                finalPlace[begin + size - 1] = static_cast<std::uint32_t>(begin + slot);
                if (front > 0) --front;
            }
        }
    }

    std::vector<std::int32_t> result(n);
    for (std::size_t k = 0; k < n; ++k) result[finalPlace[k]] = order[byKey[k]];
    PassProgress progress(progressBar, n);
    for (std::size_t i = 0; i < n; ++i) {
        progress.AtPass(i);
        order[i] = result[i];
    }
}

// Positions of order sorted by a numeric key, ties in position order: a
// least-significant-digit radix sort, stable by construction, skipping the
// digits that all keys share (the high bytes of most sizes).
template <class Key, class KeyOf>
void SortByNumber(std::vector<std::int32_t>& order, KeyOf keyOf, const ProgressTarget& progressBar) {
    struct Keyed {
        Key key;
        std::uint32_t position;
    };
    const std::size_t n = order.size();
    std::vector<Keyed> keyed(n), spare(n);
    std::array<std::array<std::uint32_t, 256>, sizeof(Key)> counts{};
    for (std::size_t p = 0; p < n; ++p) {
        const Key key = keyOf(order[p]);
        keyed[p] = {key, static_cast<std::uint32_t>(p)};
        for (std::size_t d = 0; d < sizeof(Key); ++d) ++counts[d][(key >> (8 * d)) & 0xFF];
    }
    for (std::size_t d = 0; d < sizeof(Key); ++d) {
        std::array<std::uint32_t, 256>& count = counts[d];
        if (std::find(count.begin(), count.end(), n) != count.end()) continue;  // one digit for all
        std::uint32_t start = 0;
        for (std::uint32_t& c : count) start += std::exchange(c, start);
        for (const Keyed& k : keyed) spare[count[(k.key >> (8 * d)) & 0xFF]++] = k;
        keyed.swap(spare);
    }
    std::vector<std::uint32_t> byKey(n), groupBegins;
    for (std::size_t k = 0; k < n; ++k) {
        byKey[k] = keyed[k].position;
        if (k == 0 || keyed[k].key != keyed[k - 1].key) groupBegins.push_back(static_cast<std::uint32_t>(k));
    }
    groupBegins.push_back(static_cast<std::uint32_t>(n));
    ArrangeAsExchange(order, byKey, groupBegins, progressBar);
}

struct Named {
    std::uint64_t prefix;  // eight key bytes from the depth being sorted, big-endian, zero-padded
    const char* key;
    std::uint32_t length;
    std::uint32_t position;
    std::string_view Key() const { return {key, length}; }
};

// With single-byte characters the exact comparison is plain byte order, so
// names sort most-significant bytes first: a range whose keys share their
// first depth bytes is sorted by the next eight, held in the entries
// themselves, and each run that still ties goes eight bytes deeper. Each key
// is read once per depth instead of twice per comparison, which keeps large
// catalogues out of the memory's way.
void SortByBytes(Named* begin, Named* end, std::size_t depth) {
    bool deeper = false;
    for (Named* e = begin; e != end; ++e) {
        std::uint64_t prefix = 0;
        for (std::size_t i = depth; i < depth + 8; ++i)
            prefix = prefix << 8 | (i < e->length ? static_cast<unsigned char>(e->key[i]) : 0u);
        e->prefix = prefix;
        deeper = deeper || e->length > depth + 8;
    }
    if (!deeper) {
        // The keys end here and differ at most in trailing zero bytes (a
        // shorter key first); equal keys keep their position order.
        std::sort(begin, end, [](const Named& a, const Named& b) {
            return a.prefix != b.prefix ? a.prefix < b.prefix
                                        : a.length != b.length ? a.length < b.length : a.position < b.position;
        });
        return;
    }
    std::sort(begin, end, [](const Named& a, const Named& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : a.position < b.position;
    });
    for (Named* run = begin; run != end;) {
        Named* next = run + 1;
        while (next != end && next->prefix == run->prefix) ++next;
        if (next - run > 1) SortByBytes(run, next, depth + 8);
        run = next;
    }
}

bool HasLeadBytes() {
    for (int c = 0; c < 256; ++c)
        if (IsLeadByte(static_cast<unsigned char>(c))) return true;
    return false;
}

void SortByName(std::vector<std::int32_t>& order, const std::vector<BsaFileEntry>& files,
                const ProgressTarget& progressBar) {
    const std::size_t n = order.size();
    // Each key is built once, all of them in one block; the sorted entries
    // carry their key's place, so a comparison reaches the two keys directly.
    std::size_t total = 0;
    for (const std::int32_t index : order) {
        const BsaFileEntry& file = files[static_cast<std::size_t>(index)];
        total += file.folderPath.size() + file.fileName.size();
    }
    std::string block;
    block.reserve(total);
    std::vector<Named> named(n);
    for (std::size_t p = 0; p < n; ++p) {
        const BsaFileEntry& file = files[static_cast<std::size_t>(order[p])];
        named[p] = {0, nullptr, static_cast<std::uint32_t>(file.folderPath.size() + file.fileName.size()),
                    static_cast<std::uint32_t>(p)};
        block.append(file.folderPath).append(file.fileName);
    }
    for (std::size_t p = 0, at = 0; p < n; at += named[p++].length) named[p].key = block.data() + at;

    if (HasLeadBytes()) {
        // Double-byte characters: the multibyte-aware comparison itself,
        // stable, so ties keep position order.
        std::stable_sort(named.begin(), named.end(),
                         [](const Named& a, const Named& b) { return MbsCompare(a.Key(), b.Key()) < 0; });
    } else {
        SortByBytes(named.data(), named.data() + n, 0);
    }
    std::vector<std::uint32_t> byKey(n), groupBegins;
    for (std::size_t k = 0; k < n; ++k) {
        byKey[k] = named[k].position;
        if (k == 0 || MbsCompare(named[k].Key(), named[k - 1].Key()) != 0)
            groupBegins.push_back(static_cast<std::uint32_t>(k));
    }
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
