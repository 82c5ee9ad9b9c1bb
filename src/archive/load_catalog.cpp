#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "archive/bsa_archive.h"
#include "platform/file.h"
#include "platform/message_box.h"

namespace kestrum {

namespace {

// Walks the directory block into folders and files. Every position is checked
// against the block before it is read; returns false at the first one outside.
class DirectoryWalker {
public:
    DirectoryWalker(const unsigned char* block, std::uint64_t length, const BsaHeader& header)
        : m_block(block), m_length(length), m_header(header) {}

    bool Walk(CBsaArchive& archive) const {
        const BsaHeader& h = m_header;
        std::uint64_t nameCursor = std::uint64_t{h.folderCount} * (kFolderRecordSize + 1) +
                                   std::uint64_t{h.fileCount} * kFileRecordSize + h.totalFolderNameLength;
        // Room for what the header announces; the block's length bounds it, so
        // a damaged count cannot make this reservation large.
        const auto files = static_cast<std::size_t>(std::min<std::uint64_t>(h.fileCount, m_length / kFileRecordSize));
        archive.m_folders.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(h.folderCount, m_length / kFolderRecordSize)));
        archive.m_files.reserve(files);
        archive.m_nameOrder.reserve(files);
        archive.m_sizeOrder.reserve(files);
        archive.m_hashOrder.reserve(files);
        for (std::uint32_t k = 0; k < h.folderCount; ++k) {
            const std::uint64_t record = std::uint64_t{k} * kFolderRecordSize;
            if (!Fits(record, kFolderRecordSize)) return false;
            BsaFolder folder;
            folder.hash = ReadLe64(m_block + record);
            folder.fileCount = ReadLe32(m_block + record + 8);
            const std::int64_t blockStart = std::int64_t{ReadLe32(m_block + record + 12)} -
                                            h.headerSize - h.totalFileNameLength;
            if (blockStart < 0 || !Fits(static_cast<std::uint64_t>(blockStart), 1)) return false;
            const auto start = static_cast<std::uint64_t>(blockStart);
            const std::uint64_t nameLength = m_block[start];  // unsigned: 0..255
            // The name must end within the length its byte announces: every file
            // copies its folder's name, so a name running on through the block
            // would make a small archive cost quadratic memory.
            if (!TakeString(start + 1, folder.name, nameLength)) return false;

            const std::int32_t folderIndex = static_cast<std::int32_t>(archive.m_folders.size());
            std::uint64_t fileRecord = start + 1 + nameLength;
            for (std::uint32_t f = 0; f < folder.fileCount; ++f, fileRecord += kFileRecordSize) {
                if (!Fits(fileRecord, kFileRecordSize)) return false;
                // Built in place: the catalogue's biggest table is filled without moves.
                const auto index = static_cast<std::int32_t>(archive.m_files.size());
                BsaFileEntry& entry = archive.m_files.emplace_back();
                if (!TakeString(nameCursor, entry.fileName)) return false;
                nameCursor += entry.fileName.size() + 1;
                entry.folderPath = folder.name;
                entry.folderIndex = folderIndex;
                entry.hash = ReadLe64(m_block + fileRecord);
                entry.size = ReadLe32(m_block + fileRecord + 8);
                entry.offset = ReadLe32(m_block + fileRecord + 12);
                archive.m_nameOrder.push_back(index);
                archive.m_sizeOrder.push_back(index);
                archive.m_hashOrder.push_back(index);
            }
            archive.m_folders.push_back(std::move(folder));
        }
        return true;
    }

private:
    bool Fits(std::uint64_t position, std::uint64_t count) const {
        return position <= m_length && count <= m_length - position;
    }

    // The zero-terminated text at position; its terminator must lie in the
    // block and within limit bytes.
    bool TakeString(std::uint64_t position, std::string& out, std::uint64_t limit = UINT64_MAX) const {
        if (position >= m_length) return false;
        const auto* begin = m_block + position;
        const auto span = static_cast<std::size_t>(std::min(m_length - position, limit));
        const auto* zero = static_cast<const unsigned char*>(std::memchr(begin, 0, span));
        if (!zero) return false;
        out.assign(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(zero - begin));
        return true;
    }

    const unsigned char* m_block;
    std::uint64_t m_length;
    const BsaHeader& m_header;
};

std::int32_t Fail(std::int32_t code, const char* message) {
    AfxMessageBox(message, kMbOk);
    return code;
}

}  // namespace

void CBsaArchive::ClearTables() {
    // Swapping with empty vectors releases the storage as well as the entries.
    std::vector<BsaFolder>().swap(m_folders);
    std::vector<BsaFileEntry>().swap(m_files);
    std::vector<std::int32_t>().swap(m_nameOrder);
    std::vector<std::int32_t>().swap(m_sizeOrder);
    std::vector<std::int32_t>().swap(m_hashOrder);
}

std::int32_t CBsaArchive::LoadCatalog(const std::string& path) {
    std::memset(&m_header, 0, sizeof m_header);
    ClearTables();
    m_path = path;

    CFile file;
    if (!file.Open(m_path, CFile::modeRead)) return Fail(kLoadOpenFailed, "Error open BSA file.");

    // The bytes that were read stay in the header, the rest zero.
    unsigned char raw[kBsaHeaderSize] = {};
    const std::uint32_t got = file.Read(raw, kBsaHeaderSize);
    std::uint32_t fields[kBsaHeaderSize / 4];
    for (std::uint32_t i = 0; i < kBsaHeaderSize / 4; ++i) fields[i] = ReadLe32(raw + 4 * i);
    std::memcpy(&m_header, fields, sizeof m_header);
    if (got < kBsaHeaderSize) return Fail(kLoadHeaderShort, "Error read header.");
    if (m_header.magic != kBsaMagic || m_header.version != kBsaVersion ||
        m_header.headerSize != kBsaHeaderSize)
        return Fail(kLoadUnknownFormat, "Unknoun format BSA file.");

    // A directory longer than what follows the header cannot be read whole;
    // refusing it here keeps a damaged header from costing memory.
    const std::uint64_t length = DirectoryLength(m_header);
    if (length > file.GetLength() - kBsaHeaderSize || length > UINT32_MAX) {
        file.Close();
        return Fail(kLoadDirectoryBad, "Error read file.");
    }
    const auto size = static_cast<std::size_t>(length);
    std::unique_ptr<unsigned char[]> block(new unsigned char[size ? size : 1]);
    const std::uint32_t read = file.Read(block.get(), static_cast<std::uint32_t>(size));
    file.Close();
    if (read != length) return Fail(kLoadDirectoryBad, "Error read file.");

    bool sound;
    try {
        sound = DirectoryWalker(block.get(), length, m_header).Walk(*this);
    } catch (...) {
        ClearTables();  // a failed allocation leaves the tables as emptied above
        throw;
    }
    if (!sound) {
        ClearTables();
        return Fail(kLoadDirectoryBad, "Error read file.");
    }
    return kLoadOk;
}

}  // namespace kestrum
