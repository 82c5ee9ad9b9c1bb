#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "archive/bsa_archive.h"
#include "platform/mbtext.h"

namespace kestrum {

void CBsaArchive::BuildFolderTree(const ProgressTarget& progressBar) {
    m_tree.clear();
    const std::size_t folderCount = m_folders.size();
    if (folderCount == 0) return;

    // Full path -> node. Every full path is a prefix of the name of the folder
    // that first produced it, so the keys view the folder names, which stay put
    // while the tree grows (node strings would move when m_tree reallocates).
    std::unordered_map<std::string_view, std::int32_t> nodeOf;
    nodeOf.reserve(folderCount * 2);

    const auto findOrAppend = [&](std::string_view fullPath, std::string_view component, std::int32_t level,
                                  std::int32_t parent) {
        const auto [it, inserted] = nodeOf.try_emplace(fullPath, static_cast<std::int32_t>(m_tree.size()));
        if (inserted) {
            FolderNode node;
            node.name.assign(component);
            node.fullPath.assign(fullPath);
            node.level = level;
            node.parent = level > 0 ? parent : -1;
            m_tree.push_back(std::move(node));
        }
        return it->second;
    };

    for (std::size_t k = 0; k < folderCount; ++k) {
        // 64-bit so that no folder count makes the position wrap.
        progressBar.SetPos(static_cast<int>(std::uint64_t{k} * 70 / folderCount + 20));

        BsaFolder& folder = m_folders[k];
        const std::string_view path = folder.name;
        std::int32_t level = 0;
        std::int32_t current = -1;
        std::size_t start = 0;
        // The multibyte-aware search: under a double-byte code page a trail
        // byte 0x5C inside a character is not a separator.
        for (std::size_t p; (p = MbsFind(folder.name, "\\", start)) != kNotFound; start = p + 1, ++level)
            current = findOrAppend(path.substr(0, p), path.substr(start, p - start), level, current);
        folder.treeNode = findOrAppend(path, path.substr(start), level, current);
    }
}

}  // namespace kestrum
