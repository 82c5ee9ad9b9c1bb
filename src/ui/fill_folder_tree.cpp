// The folder tree: the archive's path on top, its folders nested level by
// level below it and every file as a leaf of its folder, each level in the
// control's own alphabetical order.
//
// Every item goes in with TVI_SORT, so the control alone decides where it
// stands. What a sorted insertion costs is the control's walk over the
// siblings already present, and the order of items that the control holds
// equal depends on the order they came in. Only the sequence of insertions
// under one parent matters for that parent's children (its subfolders in node
// order, then its files in file order), so the fill inserts parent by parent,
// each parent's children in descending order of a case-blind comparison that
// agrees with the control's order: every new item then stands at or near the
// front and the walk stops at once. Items that comparison holds equal keep
// their relative order, so items the control holds equal (which it holds
// equal under that comparison too) come in just as before, and every item
// ends where the plain one-by-one fill would have put it.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/case_blind_order.h"
#include "ui/kestrum_dlg.h"
#include "ui/redraw_suspended.h"

namespace kestrum {

namespace {

struct Child {
    const std::string* text;
    std::int32_t node;  // the folder node, or -1 for a file
};

}  // namespace

void CKestrumDlg::FillFolderTree() {
    RedrawSuspended quiet(m_folderTree);
    m_folderTree.DeleteAllItems();
    m_hRootItem = nullptr;  // its item is gone; a stale handle could match a later one
    std::vector<FolderNode>& tree = m_archive.m_tree;
    if (tree.empty()) return;

    m_hRootItem = m_folderTree.InsertItem(m_archive.m_path.c_str(), TVI_ROOT, TVI_FIRST);

    // Children per parent, in the order the one-by-one fill inserts them:
    // folders level by level in node order, then files in file order. Slot 0
    // is the top item, slot k + 1 the node k.
    std::vector<std::vector<Child>> children(tree.size() + 1);
    std::vector<std::int32_t> byLevel(tree.size());
    for (std::size_t k = 0; k < tree.size(); ++k) byLevel[k] = static_cast<std::int32_t>(k);
    std::stable_sort(byLevel.begin(), byLevel.end(),
                     [&](std::int32_t a, std::int32_t b) { return tree[a].level < tree[b].level; });
    for (const std::int32_t k : byLevel) {
        const FolderNode& node = tree[static_cast<std::size_t>(k)];
        children[node.level == 0 ? 0 : static_cast<std::size_t>(node.parent) + 1].push_back({&node.name, k});
    }
    for (const BsaFileEntry& file : m_archive.m_files) {
        const BsaFolder& folder = m_archive.m_folders[static_cast<std::size_t>(file.folderIndex)];
        children[static_cast<std::size_t>(folder.treeNode) + 1].push_back({&file.fileName, -1});
    }

    // A parent's item exists before its children go in: the top item first,
    // then the nodes level by level.
    const auto fill = [&](HTREEITEM parent, const std::vector<Child>& list) {
        std::vector<const std::string*> texts(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) texts[i] = list[i].text;
        for (const std::size_t i : CaseBlindDescendingOrder(texts)) {
            const Child& child = list[i];
            const HTREEITEM item = m_folderTree.InsertItem(child.text->c_str(), parent, TVI_SORT);
            if (child.node >= 0) tree[static_cast<std::size_t>(child.node)].item = item;
        }
    };
    fill(m_hRootItem, children[0]);
    for (const std::int32_t k : byLevel)
        fill(static_cast<HTREEITEM>(tree[static_cast<std::size_t>(k)].item), children[static_cast<std::size_t>(k) + 1]);

    // The level-0 folders show; everything below them starts collapsed.
    m_folderTree.Expand(m_hRootItem, TVE_EXPAND);
}

}  // namespace kestrum
