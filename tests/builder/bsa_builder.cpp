#include "bsa_builder.h"

#include <stdexcept>
#include <zlib.h>

namespace kestrum::test {

namespace {
void AppendLe32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
void AppendLe64(std::string& out, std::uint64_t v) {
    AppendLe32(out, static_cast<std::uint32_t>(v));
    AppendLe32(out, static_cast<std::uint32_t>(v >> 32));
}
}  // namespace

std::string Deflate(const std::string& data, int level) {
    uLongf length = compressBound(static_cast<uLong>(data.size()));
    std::string out(length, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &length,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), level) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(length);
    return out;
}

void PatchLe32(std::string& bytes, std::size_t position, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(position + i) = static_cast<char>(value >> (8 * i));
}

void PatchLe64(std::string& bytes, std::size_t position, std::uint64_t value) {
    PatchLe32(bytes, position, static_cast<std::uint32_t>(value));
    PatchLe32(bytes, position + 4, static_cast<std::uint32_t>(value >> 32));
}

BuiltArchive BuildArchive(const ArchiveSpec& plan) {
    const bool compressed = (plan.archiveFlags & 4) != 0;
    std::uint32_t fileCount = 0, folderNames = 0, fileNames = 0;
    for (const FolderSpec& folder : plan.folders) {
        folderNames += static_cast<std::uint32_t>(folder.name.size() + 1);
        for (const FileSpec& file : folder.files) {
            ++fileCount;
            fileNames += static_cast<std::uint32_t>(file.name.size() + 1);
        }
    }
    const auto folderCount = static_cast<std::uint32_t>(plan.folders.size());

    BuiltArchive built;
    std::string& out = built.bytes;
    for (std::uint32_t v : {plan.magic.value_or(0x00415342u), plan.version.value_or(103u),
                            plan.headerSize.value_or(36u), plan.archiveFlags,
                            plan.folderCount.value_or(folderCount), plan.fileCount.value_or(fileCount),
                            plan.totalFolderNameLength.value_or(folderNames),
                            plan.totalFileNameLength.value_or(fileNames), plan.fileFlags})
        AppendLe32(out, v);

    // Folder records first; their offsets are patched once the blocks are placed.
    for (const FolderSpec& folder : plan.folders) {
        built.folderRecords.push_back(out.size());
        AppendLe64(out, folder.hash);
        AppendLe32(out, folder.fileCount.value_or(static_cast<std::uint32_t>(folder.files.size())));
        AppendLe32(out, 0);
    }
    for (std::size_t k = 0; k < plan.folders.size(); ++k) {
        const FolderSpec& folder = plan.folders[k];
        built.folderBlocks.push_back(out.size());
        PatchLe32(out, built.folderRecords[k] + 12, static_cast<std::uint32_t>(out.size() + fileNames));
        out.push_back(static_cast<char>(folder.name.size() + 1));
        out += folder.name;
        out.push_back('\0');
        for (const FileSpec& file : folder.files) {
            built.fileRecords.push_back(out.size());
            AppendLe64(out, file.hash);
            AppendLe32(out, 0);  // size and offset, patched below
            AppendLe32(out, 0);
        }
    }
    built.nameTable = out.size();
    for (const FolderSpec& folder : plan.folders)
        for (const FileSpec& file : folder.files) {
            out += file.name;
            out.push_back('\0');
        }

    std::size_t index = 0;
    for (const FolderSpec& folder : plan.folders)
        for (const FileSpec& file : folder.files) {
            std::string block;
            if (file.block) {
                block = *file.block;
            } else if (compressed) {
                AppendLe32(block, file.prefix.value_or(static_cast<std::uint32_t>(file.data.size())));
                block += Deflate(file.data);
            } else {
                block = file.data;
            }
            built.dataBlocks.push_back(out.size());
            const std::size_t record = built.fileRecords[index++];
            PatchLe32(out, record + 8, file.size.value_or(static_cast<std::uint32_t>(block.size())));
            PatchLe32(out, record + 12, file.offset.value_or(static_cast<std::uint32_t>(out.size())));
            out += block;
        }
    return built;
}

}  // namespace kestrum::test
