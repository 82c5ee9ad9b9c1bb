// The folder tree: the archive's path on top, its folders nested level by
// level below it and every file as a leaf of its folder, each level in the
// control's own alphabetical order.
#include <cstdint>
#include <vector>

#include "ui/kestrum_dlg.h"
#include "ui/redraw_suspended.h"

namespace kestrum {

void CKestrumDlg::FillFolderTree() {
    RedrawSuspended quiet(m_folderTree);
    m_folderTree.DeleteAllItems();
    m_hRootItem = nullptr;  // its item is gone; a stale handle could match a later one
    std::vector<FolderNode>& tree = m_archive.m_tree;
    if (tree.empty()) return;

    m_hRootItem = m_folderTree.InsertItem(m_archive.m_path.c_str(), TVI_ROOT, TVI_FIRST);

    // Level by level, each level in node order: every parent's item exists
    // before its children go in. Grouping by level once visits each node once
    // instead of once per level, with the same order of insertion.
    std::vector<std::vector<std::size_t>> byLevel;
    for (std::size_t k = 0; k < tree.size(); ++k) {
        const auto level = static_cast<std::size_t>(tree[k].level);
        if (byLevel.size() <= level) byLevel.resize(level + 1);
        byLevel[level].push_back(k);
    }
    for (std::size_t level = 0; level < byLevel.size(); ++level) {
        for (const std::size_t k : byLevel[level]) {
            FolderNode& node = tree[k];
            const HTREEITEM parent =
                level == 0 ? m_hRootItem : static_cast<HTREEITEM>(tree[static_cast<std::size_t>(node.parent)].item);
            node.item = m_folderTree.InsertItem(node.name.c_str(), parent, TVI_SORT);
        }
    }

    m_folderTree.Expand(m_hRootItem, TVE_EXPAND);

    for (const BsaFileEntry& file : m_archive.m_files) {
        const BsaFolder& folder = m_archive.m_folders[static_cast<std::size_t>(file.folderIndex)];
        const FolderNode& node = tree[static_cast<std::size_t>(folder.treeNode)];
        m_folderTree.InsertItem(file.fileName.c_str(), static_cast<HTREEITEM>(node.item), TVI_SORT);
    }
}

}  // namespace kestrum
