#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "archive/bsa_archive.h"
#include "platform/mbtext.h"

using namespace kestrum;

namespace {

struct Node {
    std::string name, fullPath;
    int level, parent;
    bool operator==(const Node&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Node& n) {
    return os << "{\"" << n.name << "\", \"" << n.fullPath << "\", " << n.level << ", " << n.parent << "}";
}

CBsaArchive WithFolders(const std::vector<std::string>& names) {
    CBsaArchive archive;
    for (const std::string& name : names) archive.m_folders.push_back({name, 0, 0, 0});
    return archive;
}

std::vector<Node> NodesOf(const CBsaArchive& archive) {
    std::vector<Node> nodes;
    for (const FolderNode& n : archive.m_tree) nodes.push_back({n.name, n.fullPath, n.level, n.parent});
    return nodes;
}

std::vector<int> TreeNodesOf(const CBsaArchive& archive) {
    std::vector<int> out;
    for (const BsaFolder& f : archive.m_folders) out.push_back(f.treeNode);
    return out;
}

// The tree built by scanning the node table from the start for every prefix,
// exactly as the folders are walked; the hash lookup must find the same nodes.
void BuildByScanning(CBsaArchive& a) {
    a.m_tree.clear();
    const auto find = [&](const std::string& fullPath) {
        for (std::size_t i = 0; i < a.m_tree.size(); ++i)
            if (MbsCompare(a.m_tree[i].fullPath, fullPath) == 0) return static_cast<int>(i);
        return -1;
    };
    for (BsaFolder& folder : a.m_folders) {
        const std::string& path = folder.name;
        int level = 0, current = -1;
        std::size_t start = 0;
        for (;;) {
            const std::size_t p = MbsFind(path, "\\", start);
            const bool last = p == kNotFound;
            const std::string prefix = last ? path : path.substr(0, p);
            const std::string component = last ? path.substr(start) : path.substr(start, p - start);
            int found = find(prefix);
            if (found < 0) {
                a.m_tree.push_back({component, prefix, level, level > 0 ? current : -1, nullptr});
                found = static_cast<int>(a.m_tree.size()) - 1;
            }
            current = found;
            if (last) break;
            start = p + 1;
            ++level;
        }
        folder.treeNode = current;
    }
}

struct TreeCase {
    const char* what;
    std::vector<std::string> folders;
    std::vector<Node> nodes;
    std::vector<int> treeNodes;
};

}  // namespace

TEST(BuildFolderTree, BuildsOneNodePerDistinctPrefixInFirstOccurrenceOrder) {
    const TreeCase cases[] = {
        {"nested folders share their prefixes",
         {"art\\props\\stone", "art\\props\\wood", "sound"},
         {{"art", "art", 0, -1},
          {"props", "art\\props", 1, 0},
          {"stone", "art\\props\\stone", 2, 1},
          {"wood", "art\\props\\wood", 2, 1},
          {"sound", "sound", 0, -1}},
         {2, 3, 4}},
        {"a folder met earlier as a prefix gets no node of its own",
         {"art\\props", "art"},
         {{"art", "art", 0, -1}, {"props", "art\\props", 1, 0}},
         {1, 0}},
        {"a name without a backslash", {"sound"}, {{"sound", "sound", 0, -1}}, {0}},
        {"paths compare case-sensitively", {"Art\\a", "art\\a"},
         {{"Art", "Art", 0, -1}, {"a", "Art\\a", 1, 0}, {"art", "art", 0, -1}, {"a", "art\\a", 1, 2}},
         {1, 3}},
        {"two folders of one name share a node", {"x\\y", "x\\y"}, {{"x", "x", 0, -1}, {"y", "x\\y", 1, 0}}, {1, 1}},
        {"a leading backslash gives an empty top component", {"\\a"},
         {{"", "", 0, -1}, {"a", "\\a", 1, 0}}, {1}},
        {"two backslashes in a row give an empty middle component", {"a\\\\b"},
         {{"a", "a", 0, -1}, {"", "a\\", 1, 0}, {"b", "a\\\\b", 2, 1}}, {2}},
        {"a trailing backslash gives the folder an empty node", {"a\\"},
         {{"a", "a", 0, -1}, {"", "a\\", 1, 0}}, {1}},
        {"an empty name is one empty top node", {"", "b"}, {{"", "", 0, -1}, {"b", "b", 0, -1}}, {0, 1}},
        {"an empty name met after a leading backslash reuses its node", {"\\a", ""},
         {{"", "", 0, -1}, {"a", "\\a", 1, 0}}, {1, 0}},
        {"a later deeper folder hangs below an existing branch", {"a", "a\\b\\c", "a\\b"},
         {{"a", "a", 0, -1}, {"b", "a\\b", 1, 0}, {"c", "a\\b\\c", 2, 1}}, {0, 2, 1}},
    };
    for (const TreeCase& c : cases) {
        SCOPED_TRACE(c.what);
        CBsaArchive archive = WithFolders(c.folders);
        archive.BuildFolderTree(ProgressTarget{});
        EXPECT_EQ(NodesOf(archive), c.nodes);
        EXPECT_EQ(TreeNodesOf(archive), c.treeNodes);
        for (const FolderNode& n : archive.m_tree) EXPECT_EQ(n.item, nullptr);
    }
}

TEST(BuildFolderTree, TrailByteBackslashIsNotASeparatorUnderADoubleByteCodePage) {
    // 0x83 0x5C is one katakana in code page 932; in a single-byte page it is
    // two characters, the second a backslash.
    const std::string name = "\x83\x5C" "a\\b";
    SetMultibyteCodePage(932);
    CBsaArchive wide = WithFolders({name});
    wide.BuildFolderTree(ProgressTarget{});
    EXPECT_EQ(NodesOf(wide), (std::vector<Node>{{"\x83\x5C" "a", "\x83\x5C" "a", 0, -1}, {"b", name, 1, 0}}));

    SetMultibyteCodePage(0);
    CBsaArchive narrow = WithFolders({name});
    narrow.BuildFolderTree(ProgressTarget{});
    EXPECT_EQ(NodesOf(narrow), (std::vector<Node>{{"\x83", "\x83", 0, -1},
                                                  {"a", "\x83\\a", 1, 0},
                                                  {"b", name, 2, 1}}));
}

TEST(BuildFolderTree, SendsOnePositionPerFolder) {
    struct Case {
        std::size_t folders;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {0, {}},
        {1, {20}},
        {7, {20, 30, 40, 50, 60, 70, 80}},
        {3, {20, 43, 66}},  // 70/3 = 23, 140/3 = 46
        {100, {}},          // filled below: values repeat and are still sent
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < c.folders; ++i) names.push_back("f" + std::to_string(i % 3));
        CBsaArchive archive = WithFolders(names);
        std::vector<int> sent;
        archive.BuildFolderTree(ProgressTarget{[&](int p) { sent.push_back(p); }});
        std::vector<int> expected = c.positions;
        if (c.folders == 100)
            for (int k = 0; k < 100; ++k) expected.push_back(k * 70 / 100 + 20);
        EXPECT_EQ(sent, expected) << c.folders << " folders";
    }
}

TEST(BuildFolderTree, RebuildsFromScratchAndTouchesNothingElse) {
    CBsaArchive archive = WithFolders({"old\\one", "old\\two"});
    archive.BuildFolderTree(ProgressTarget{});
    archive.m_tree[0].item = &archive;  // as a tree fill would leave it

    archive.m_folders = {{"new", 7, 3, 0}};
    archive.m_files = {{"new", "f", 0, 9, 1, 2}};
    archive.m_nameOrder = {0};
    archive.BuildFolderTree(ProgressTarget{});
    EXPECT_EQ(NodesOf(archive), (std::vector<Node>{{"new", "new", 0, -1}}));
    EXPECT_EQ(archive.m_tree[0].item, nullptr);
    EXPECT_EQ(archive.m_folders[0].hash, 7u);
    EXPECT_EQ(archive.m_folders[0].fileCount, 3u);
    EXPECT_EQ(archive.m_files[0].folderPath, "new");

    archive.m_folders.clear();
    archive.BuildFolderTree(ProgressTarget{});
    EXPECT_TRUE(archive.m_tree.empty());
}

TEST(BuildFolderTree, FindsTheSameNodesAsAScanOfTheTable) {
    // Random paths over a tiny alphabet with many empty components, repeats
    // and prefixes of one another, under a single- and a double-byte page.
    std::mt19937 random(4);
    const char* pieces[] = {"a", "b", "A", "\\", "\\", "\x83\x5C", "\x83"};
    for (const int codePage : {0, 932}) {
        SetMultibyteCodePage(codePage);
        for (int round = 0; round < 300; ++round) {
            std::vector<std::string> names(random() % 12);
            for (std::string& name : names)
                for (int len = static_cast<int>(random() % 7); len > 0; --len) name += pieces[random() % 7];
            CBsaArchive fast = WithFolders(names), slow = WithFolders(names);
            fast.BuildFolderTree(ProgressTarget{});
            BuildByScanning(slow);
            ASSERT_EQ(NodesOf(fast), NodesOf(slow)) << "code page " << codePage << ", round " << round;
            ASSERT_EQ(TreeNodesOf(fast), TreeNodesOf(slow));
        }
    }
    SetMultibyteCodePage(0);
}
