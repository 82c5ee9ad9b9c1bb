// The on-disk layout of a version 103 archive, as this program reads it.
#pragma once

#include <cstdint>

namespace kestrum {

constexpr std::uint32_t kBsaMagic = 0x00415342;  // "BSA\0"
constexpr std::uint32_t kBsaVersion = 103;
constexpr std::uint32_t kBsaHeaderSize = 36;
constexpr std::uint32_t kArchiveCompressed = 0x4;  // archiveFlags: every data block is zlib
constexpr std::uint32_t kFolderRecordSize = 16;
constexpr std::uint32_t kFileRecordSize = 16;

// The 36-byte header exactly as stored: nine little-endian 32-bit fields.
struct BsaHeader {
    std::uint32_t magic;
    std::uint32_t version;
    std::uint32_t headerSize;
    std::uint32_t archiveFlags;
    std::uint32_t folderCount;
    std::uint32_t fileCount;
    std::uint32_t totalFolderNameLength;
    std::uint32_t totalFileNameLength;
    std::uint32_t fileFlags;
};
static_assert(sizeof(BsaHeader) == kBsaHeaderSize);

// Directory length from the header alone, in 64-bit arithmetic so that no
// header can make it wrap.
constexpr std::uint64_t DirectoryLength(const BsaHeader& h) {
    return std::uint64_t{h.folderCount} * (kFolderRecordSize + 1) +
           std::uint64_t{h.fileCount} * kFileRecordSize + h.totalFolderNameLength +
           h.totalFileNameLength;
}

// Reads a little-endian field from a byte buffer whose bounds the caller checked.
inline std::uint32_t ReadLe32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
inline std::uint64_t ReadLe64(const unsigned char* p) {
    return std::uint64_t{ReadLe32(p)} | std::uint64_t{ReadLe32(p + 4)} << 32;
}

}  // namespace kestrum
