// `tree`: the folder tree view as text. The window's tree control places
// siblings in its own alphabetical order; here that order is made exact so
// that the output is the same on every system:
//   1. the texts with ASCII letters A-Z folded to a-z (bytes of double-byte
//      characters left alone), compared as unsigned bytes;
//   2. on a tie, the texts themselves, compared as unsigned bytes;
//   3. on a tie, insertion order as the window inserts: folders before files,
//      folders in node order, files in catalogue order.
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "platform/mbtext.h"

namespace kestrum::cli {

namespace {

std::string FoldAsciiCase(const std::string& text) {
    std::string folded = text;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto c = static_cast<unsigned char>(folded[i]);
        if (IsLeadByte(c) && i + 1 < folded.size())
            ++i;  // a trail byte is no letter of its own
        else if (c >= 'A' && c <= 'Z')
            folded[i] = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

struct Item {
    const std::string* text;
    std::string folded;
    bool isFolder;
    std::size_t index;  // node index for a folder, file index for a file
};

bool Before(const Item& a, const Item& b) {
    // std::string compares char_traits<char>, which orders bytes as unsigned.
    if (const int c = a.folded.compare(b.folded)) return c < 0;
    if (const int c = a.text->compare(*b.text)) return c < 0;
    if (a.isFolder != b.isFolder) return a.isFolder;
    return a.index < b.index;
}

}  // namespace

int RunTree(const std::vector<std::string>& args) {
    const Args a = ParseArgs(args, {}, {});
    if (a.operands.size() != 1) throw UsageError{"tree takes one ARCHIVE"};
    CBsaArchive archive;
    if (const int code = LoadOrReport(archive, a.operands[0])) return code;
    archive.BuildFolderTree(ProgressTarget{});
    // Without folders the window's tree stays empty, without even the top item.
    if (archive.m_tree.empty()) return 0;

    // children[0] holds the top item's; children[k + 1] those of node k.
    const std::size_t nodes = archive.m_tree.size();
    std::vector<std::vector<Item>> children(nodes + 1);
    for (std::size_t k = 0; k < nodes; ++k) {
        const FolderNode& node = archive.m_tree[k];
        const std::size_t under = node.level == 0 ? 0 : static_cast<std::size_t>(node.parent) + 1;
        children[under].push_back({&node.name, FoldAsciiCase(node.name), true, k});
    }
    for (std::size_t i = 0; i < archive.m_files.size(); ++i) {
        const BsaFileEntry& file = archive.m_files[i];
        const BsaFolder& folder = archive.m_folders[static_cast<std::size_t>(file.folderIndex)];
        const std::size_t under = static_cast<std::size_t>(folder.treeNode) + 1;
        children[under].push_back({&file.fileName, FoldAsciiCase(file.fileName), false, i});
    }
    for (std::vector<Item>& list : children) std::sort(list.begin(), list.end(), Before);

    // Depth first without recursion: a stack of (list, next child) pairs.
    std::string out = a.operands[0] + '\n';
    std::vector<std::pair<const std::vector<Item>*, std::size_t>> stack{{&children[0], 0}};
    while (!stack.empty()) {
        auto& [list, next] = stack.back();
        if (next == list->size()) {
            stack.pop_back();
            continue;
        }
        const Item& item = (*list)[next++];
        out.append(2 * stack.size(), ' ');
        out += Shown(*item.text);
        out += '\n';
        if (item.isFolder) stack.push_back({&children[item.index + 1], 0});
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace kestrum::cli
