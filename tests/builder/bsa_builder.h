// Writes version 103 archives from a description, with deliberate damage where
// a test asks for it. Every archive the tests use comes from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrum::test {

struct FileSpec {
    std::string name;
    std::string data;
    std::uint64_t hash = 0;
    std::optional<std::uint32_t> size;    // the record's size field instead of the block's length
    std::optional<std::uint32_t> offset;  // the record's offset field instead of the block's position
    std::optional<std::uint32_t> prefix;  // compressed: the length prefix instead of data.size()
    std::optional<std::string> block;     // the data block stored verbatim instead of built from data
};

struct FolderSpec {
    std::string name;
    std::vector<FileSpec> files;
    std::uint64_t hash = 0;
    std::optional<std::uint32_t> fileCount;  // the record's count instead of files.size()
};

struct ArchiveSpec {
    std::vector<FolderSpec> folders;
    std::uint32_t archiveFlags = 3;  // add 4 for zlib data blocks
    std::uint32_t fileFlags = 0;
    // Header fields that override what the layout gives.
    std::optional<std::uint32_t> magic, version, headerSize, folderCount, fileCount,
        totalFolderNameLength, totalFileNameLength;
};

// The bytes and where each part of them lies.
struct BuiltArchive {
    std::string bytes;
    std::vector<std::size_t> folderRecords;  // per folder
    std::vector<std::size_t> folderBlocks;   // per folder: its length byte
    std::vector<std::size_t> fileRecords;    // per file, in walk order
    std::vector<std::size_t> dataBlocks;     // per file, in walk order
    std::size_t nameTable = 0;
};

BuiltArchive BuildArchive(const ArchiveSpec& plan);

// zlib stream of data, as a compressed data block carries after its prefix.
std::string Deflate(const std::string& data, int level = 6);

void PatchLe32(std::string& bytes, std::size_t position, std::uint32_t value);
void PatchLe64(std::string& bytes, std::size_t position, std::uint64_t value);

}  // namespace kestrum::test
