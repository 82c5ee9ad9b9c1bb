// The catalogue of the one open archive: its header, folders, files, three
// sortable orders of the files and the folder tree model. Records refer to one
// another by index only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/bsa_format.h"
#include "platform/progress.h"

namespace kestrum {

struct BsaFolder {
    std::string name;
    std::uint64_t hash = 0;
    std::uint32_t fileCount = 0;
    std::int32_t treeNode = 0;
};

struct BsaFileEntry {
    std::string folderPath;
    std::string fileName;
    std::int32_t folderIndex = 0;
    std::uint64_t hash = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

struct FolderNode {
    std::string name;
    std::string fullPath;
    std::int32_t level = 0;
    std::int32_t parent = -1;
    void* item = nullptr;  // the node's tree-view item (HTREEITEM), set by the tree fill
};

// Result codes of LoadCatalog.
enum LoadResult : std::int32_t {
    kLoadOk = 0,
    kLoadOpenFailed = 1,
    kLoadHeaderShort = 2,
    kLoadUnknownFormat = 3,
    kLoadDirectoryBad = 4,
};

// Result codes of ExtractFile.
enum ExtractResult : int {
    kExtractOk = 0,
    kExtractBadIndex = 1,
    kExtractBadDestination = 2,
    kExtractCreateFolderFailed = 3,
    kExtractOpenArchiveFailed = 4,
    kExtractSeekFailed = 5,
    kExtractReadFailed = 6,
    kExtractOpenOutputFailed = 7,
    kExtractUnsafeName = 8,
    kExtractInflateFailed = 10,
};

class CBsaArchive {
public:
    BsaHeader m_header{};
    std::string m_path;
    std::vector<BsaFolder> m_folders;
    std::vector<BsaFileEntry> m_files;
    std::vector<FolderNode> m_tree;
    std::vector<std::int32_t> m_nameOrder;
    std::vector<std::int32_t> m_sizeOrder;
    std::vector<std::int32_t> m_hashOrder;

    // Reads the header and directory of the archive at path. Shows one message
    // and returns its code on failure; OS errors and failed allocations raise.
    std::int32_t LoadCatalog(const std::string& path);

    // Orders m_nameOrder (type 0), m_sizeOrder (1) or m_hashOrder (2).
    void SortFiles(const ProgressTarget& progressBar, std::int32_t type);

    // Rebuilds m_tree from the folder names and sets every folder's treeNode.
    void BuildFolderTree(const ProgressTarget& progressBar);

    // Writes file fileIndex below destFolder (or straight into it).
    int ExtractFile(const std::string& destFolder, std::int32_t fileIndex, int withoutPath) const;

    // Creates path and its missing parents; true when the last creation succeeded.
    static bool CreateFolderPath(std::string path);

private:
    void ClearTables();
};

}  // namespace kestrum
