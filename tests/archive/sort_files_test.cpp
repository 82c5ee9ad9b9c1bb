#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "archive/bsa_archive.h"
#include "platform/mbtext.h"

using namespace kestrum;

namespace {

using Order = std::vector<std::int32_t>;

std::vector<std::int32_t>& OrderOf(CBsaArchive& a, int type) {
    return type == 0 ? a.m_nameOrder : type == 1 ? a.m_sizeOrder : a.m_hashOrder;
}

// The pass-by-pass exchange exactly as the order is defined, key strings built
// for every comparison; what SortFiles must reproduce element for element.
std::vector<int> LiteralSort(CBsaArchive& a, int type) {
    std::vector<int> sent;
    if (type < 0 || type > 2) return sent;
    Order& order = OrderOf(a, type);
    const auto greater = [&](std::int32_t x, std::int32_t y) {
        const BsaFileEntry& fx = a.m_files[static_cast<std::size_t>(x)];
        const BsaFileEntry& fy = a.m_files[static_cast<std::size_t>(y)];
        if (type == 0) return MbsCompare(fx.folderPath + fx.fileName, fy.folderPath + fy.fileName) > 0;
        if (type == 1) return fx.size > fy.size;
        const auto hx = static_cast<std::uint32_t>(fx.hash >> 32), hy = static_cast<std::uint32_t>(fy.hash >> 32);
        return hx != hy ? hx > hy : static_cast<std::uint32_t>(fx.hash) > static_cast<std::uint32_t>(fy.hash);
    };
    const int n = static_cast<int>(order.size());
    if (n <= 1) return sent;
    int last = 0;
    for (int i = 0; i <= n - 2; ++i) {
        const int position = static_cast<int>(static_cast<std::int64_t>(i) * 100 / n);
        if (position > last) {
            last = position;
            sent.push_back(position);
        }
        for (int j = i + 1; j <= n - 1; ++j)
            if (greater(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]))
                std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
    }
    return sent;
}

std::vector<int> Sort(CBsaArchive& a, int type) {
    std::vector<int> sent;
    a.SortFiles(ProgressTarget{[&](int p) { sent.push_back(p); }}, type);
    return sent;
}

BsaFileEntry File(std::string folder, std::string name, std::uint32_t size = 0, std::uint64_t hash = 0) {
    return {std::move(folder), std::move(name), 0, hash, size, 0};
}

CBsaArchive WithFiles(std::vector<BsaFileEntry> files) {
    CBsaArchive a;
    a.m_files = std::move(files);
    for (Order* order : {&a.m_nameOrder, &a.m_sizeOrder, &a.m_hashOrder}) {
        order->resize(a.m_files.size());
        std::iota(order->begin(), order->end(), 0);
    }
    return a;
}

CBsaArchive WithSizes(const std::vector<std::uint32_t>& sizes) {
    std::vector<BsaFileEntry> files;
    for (std::uint32_t s : sizes) files.push_back(File("d", "f", s));
    return WithFiles(files);
}

}  // namespace

TEST(SortFiles, OrdersEachColumnByItsOwnKey) {
    struct Case {
        const char* what;
        std::vector<BsaFileEntry> files;
        int type;
        Order expected;
    };
    const Case cases[] = {
        {"equal sizes end in the exchange's order, not load order",
         {File("d", "a", 5), File("d", "b", 3), File("d", "c", 5), File("d", "e", 1)}, 1, {3, 1, 2, 0}},
        {"sizes are unsigned", {File("d", "a", 0x80000000u), File("d", "b", 0x7FFFFFFFu)}, 1, {1, 0}},
        {"hash high halves are unsigned whatever the low halves",
         {File("d", "a", 0, 0x80000000'00000000ull), File("d", "b", 0, 0x7FFFFFFF'FFFFFFFFull)}, 2, {1, 0}},
        {"hash low halves are unsigned under equal high halves",
         {File("d", "a", 0, 0x00000001'80000000ull), File("d", "b", 0, 0x00000001'7FFFFFFFull)}, 2, {1, 0}},
        {"the name key joins folder and file without a separator", {File("a", "x"), File("ab", "c")}, 0, {1, 0}},
        {"names compare case-sensitively in byte order", {File("d", "b"), File("d", "B"), File("D", "a")}, 0,
         {2, 1, 0}},
        {"one key from two different splits is a tie, and ties need not keep their order", {File("a", "bx"), File("ab", "x"), File("a", "a")}, 0,
         {2, 1, 0}},
        {"an ascending array is left alone", {File("d", "a", 1), File("d", "b", 1), File("d", "c", 2)}, 1,
         {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBsaArchive a = WithFiles(c.files);
        Sort(a, c.type);
        EXPECT_EQ(OrderOf(a, c.type), c.expected);
    }
}

TEST(SortFiles, TouchesOnlyTheOrderOfItsType) {
    CBsaArchive a = WithFiles({File("b", "x", 2, 1), File("a", "x", 1, 2), File("c", "x", 0, 0)});
    const Order unchanged = {0, 1, 2};
    Sort(a, 2);
    EXPECT_EQ(a.m_hashOrder, (Order{2, 0, 1}));
    EXPECT_EQ(a.m_nameOrder, unchanged);
    EXPECT_EQ(a.m_sizeOrder, unchanged);
    Sort(a, 0);
    EXPECT_EQ(a.m_nameOrder, (Order{1, 0, 2}));
    EXPECT_EQ(a.m_sizeOrder, unchanged);
    EXPECT_EQ(a.m_files[0].folderPath, "b");  // the files themselves never move
}

TEST(SortFiles, DoesNothingForFewFilesOrAnUnknownType) {
    for (const std::size_t n : {0u, 1u, 3u}) {
        for (const int type : {-1, 3, 0, 1, 2}) {
            if (n == 3 && type >= 0 && type <= 2) continue;
            CBsaArchive a = WithSizes(std::vector<std::uint32_t>(n, 0));
            for (Order* order : {&a.m_nameOrder, &a.m_sizeOrder, &a.m_hashOrder})
                std::reverse(order->begin(), order->end());
            const CBsaArchive before = a;
            EXPECT_TRUE(Sort(a, type).empty()) << n << " files, type " << type;
            EXPECT_EQ(a.m_nameOrder, before.m_nameOrder);
            EXPECT_EQ(a.m_sizeOrder, before.m_sizeOrder);
            EXPECT_EQ(a.m_hashOrder, before.m_hashOrder);
        }
    }
}

TEST(SortFiles, SendsThePositionsOfTheExchangePasses) {
    struct Case {
        std::size_t n;
        std::vector<int> positions;
    };
    std::vector<int> upTo99(99);
    std::iota(upTo99.begin(), upTo99.end(), 1);
    const Case cases[] = {
        {2, {}},           // pass 0 only: position 0 is never sent
        {3, {33}},
        {4, {25, 50}},
        {7, {14, 28, 42, 57, 71}},
        {200, upTo99},     // 1 at pass 2, since pass 1 truncates to 0
        {101, std::vector<int>(upTo99.begin(), upTo99.end() - 1)},  // pass 99 of 101 gives 98
    };
    for (const Case& c : cases) {
        for (const int type : {0, 1, 2}) {
            CBsaArchive a = WithSizes(std::vector<std::uint32_t>(c.n, 7));
            EXPECT_EQ(Sort(a, type), c.positions) << c.n << " files, type " << type;
        }
    }
}

TEST(SortFiles, SecondSortStartsFromTheFirstOnesResult) {
    // Sorting an already sorted array changes nothing, but a tie order comes
    // from the permutation the sort starts from.
    CBsaArchive a = WithSizes({5, 3, 5, 1, 5, 3});
    Sort(a, 1);
    const Order once = a.m_sizeOrder;
    Sort(a, 1);
    EXPECT_EQ(a.m_sizeOrder, once);

    CBsaArchive b = WithSizes({5, 3, 5, 1, 5, 3});
    b.m_sizeOrder = {5, 4, 3, 2, 1, 0};
    CBsaArchive literal = b;
    Sort(b, 1);
    LiteralSort(literal, 1);
    EXPECT_EQ(b.m_sizeOrder, literal.m_sizeOrder);
    EXPECT_NE(b.m_sizeOrder, once);
}

namespace {

// Files whose three keys each take few values, so that ties are many; names
// from pieces whose joins collide ("a"+"bx" and "ab"+"x"), with double-byte
// characters (one with a 0x5C trail byte) for the multibyte comparison, and
// long ones that first differ beyond the 8th and 16th byte.
std::vector<BsaFileEntry> RandomFiles(std::mt19937& random, std::size_t n, int distinct) {
    static const char* folders[] = {"a",  "ab", "", "a\\b", "\x83\x5C", "B", "\x83", "textures\\armor", "textures\\armo"};
    static const char* names[] = {"x", "bx", "", "\\b", "c", "\x81\x40", "A", "rparts\\helmet", "rparts\\helmets"};
    static const std::uint32_t sizes[] = {0, 1, 2, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 3};
    static const std::uint64_t hashes[] = {0, 1, 0xFFFFFFFF'FFFFFFFFull, 0x80000000'00000000ull,
                                           0x7FFFFFFF'80000000ull, 0x7FFFFFFF'7FFFFFFFull, 0x00000001'00000000ull};
    std::vector<BsaFileEntry> files;
    const auto pick = [&] { return random() % static_cast<unsigned>(distinct); };
    const auto pickName = [&] { return random() % static_cast<unsigned>(distinct + 2); };
    for (std::size_t i = 0; i < n; ++i)
        files.push_back(File(folders[pickName()], names[pickName()], sizes[pick()], hashes[pick()]));
    return files;
}

}  // namespace

TEST(SortFiles, MatchesTheLiteralExchangeOnRandomArrays) {
    std::mt19937 random(11);
    for (const int codePage : {0, 932}) {
        SetMultibyteCodePage(codePage);
        for (int round = 0; round < 1500; ++round) {
            const std::size_t n = random() % 40;
            CBsaArchive fast = WithFiles(RandomFiles(random, n, 1 + static_cast<int>(random() % 7)));
            // Start from arbitrary permutations, as earlier sorts leave them.
            for (Order* order : {&fast.m_nameOrder, &fast.m_sizeOrder, &fast.m_hashOrder})
                std::shuffle(order->begin(), order->end(), random);
            CBsaArchive literal = fast;
            // Repeated sorts of one array and sorts of one after another's.
            for (int step = 0; step < 6; ++step) {
                const int type = static_cast<int>(random() % 3);
                if (step == 3) {
                    OrderOf(fast, type) = OrderOf(fast, (type + 1) % 3);
                    OrderOf(literal, type) = OrderOf(literal, (type + 1) % 3);
                }
                const std::vector<int> sent = Sort(fast, type);
                const std::vector<int> literalSent = LiteralSort(literal, type);
                ASSERT_EQ(fast.m_nameOrder, literal.m_nameOrder) << "code page " << codePage << ", round " << round;
                ASSERT_EQ(fast.m_sizeOrder, literal.m_sizeOrder) << "round " << round << ", step " << step;
                ASSERT_EQ(fast.m_hashOrder, literal.m_hashOrder) << "round " << round << ", step " << step;
                ASSERT_EQ(sent, literalSent);
            }
        }
    }
    SetMultibyteCodePage(0);
}

TEST(SortFiles, MatchesTheLiteralExchangeOnLargeArraysWithLongTieRuns) {
    // Big groups turn their ring many times over; a few distinct keys make
    // thousands of ties, and mostly sorted input makes few turns.
    std::mt19937 random(5);
    for (int round = 0; round < 6; ++round) {
        const std::size_t n = 1000 + random() % 1500;
        CBsaArchive fast = WithFiles(RandomFiles(random, n, round % 2 ? 2 : 7));
        if (round >= 4) LiteralSort(fast, round % 3);  // start from a sorted array
        std::shuffle(fast.m_hashOrder.begin(), fast.m_hashOrder.end(), random);
        CBsaArchive literal = fast;
        for (const int type : {0, 1, 2, 1}) {
            ASSERT_EQ(Sort(fast, type), LiteralSort(literal, type)) << "round " << round;
            ASSERT_EQ(OrderOf(fast, type), OrderOf(literal, type)) << "round " << round << ", type " << type;
        }
    }
}
