#include <cstdint>
#include <string>
#include <zlib.h>

#include "archive/bsa_archive.h"
#include "extract/heap_buffer.h"
#include "extract/inflate_block.h"
#include "extract/safe_name.h"
#include "platform/file.h"
#include "platform/folders.h"
#include "platform/message_box.h"
#include "platform/os_names.h"

namespace kestrum {

namespace {

int Fail(int code, const char* message) {
    AfxMessageBox(message, kMbOk);
    return code;
}

// Writes bytes to a new file at path. A write or close that the system refuses
// removes the file before the error travels on: a half-written file would look
// like a result.
int WriteOutput(const std::string& path, const unsigned char* bytes, std::uint32_t count) {
    CFile out;
    if (!out.Open(path, CFile::modeCreate | CFile::modeWrite))
        return Fail(kExtractOpenOutputFailed, "Error open output file.");
    try {
        out.Write(bytes, count);
        out.Close();
    } catch (...) {
        out.Abort();
        RemoveFile(path);
        throw;
    }
    return kExtractOk;
}

}  // namespace

int CBsaArchive::ExtractFile(const std::string& destFolder, std::int32_t fileIndex, int withoutPath) const {
    if (fileIndex < 0 || static_cast<std::size_t>(fileIndex) >= m_files.size())
        return Fail(kExtractBadIndex, "Invalid number of file.");
    if (!IsDirectory(destFolder)) return Fail(kExtractBadDestination, "Invalid path.");

    // The part of the output path that comes from the archive, in the text the
    // OS takes; it is checked as a whole and then used exactly as checked.
    const BsaFileEntry& file = m_files[static_cast<std::size_t>(fileIndex)];
    const std::string osFolder = ArchiveTextToOs(file.folderPath);
    const std::string relative = withoutPath ? ArchiveTextToOs(file.fileName)
                                             : osFolder + "\\" + ArchiveTextToOs(file.fileName);
    if (!IsSafeRelativePath(relative)) return Fail(kExtractUnsafeName, "Invalid file name.");

    const std::string outFolder = withoutPath ? destFolder : destFolder + "\\" + osFolder;
    if (!IsDirectory(outFolder) && !CreateFolderPath(outFolder))
        return Fail(kExtractCreateFolderFailed, "Error create folder.");

    HeapBuffer data;
    {
        CFile archive;
        if (!archive.Open(m_path, CFile::modeRead)) return Fail(kExtractOpenArchiveFailed, "Error open BSA file.");
        if (archive.Seek(file.offset, CFile::begin) != file.offset)
            return Fail(kExtractSeekFailed, "Error reposition in file.");
        // A block that runs past the end could never be read whole: say so
        // before its size, which may be any 32-bit value, is allocated. (An
        // empty block reads complete wherever it lies.)
        if (file.size != 0 && std::uint64_t{file.offset} + file.size > archive.GetLength())
            return Fail(kExtractReadFailed, "Error read BSA file.");
        data.Resize(file.size);
        if (archive.Read(data.data(), file.size) != file.size) return Fail(kExtractReadFailed, "Error read BSA file.");
        archive.Close();
    }

    const unsigned char* bytes = data.data();
    std::uint32_t count = file.size;
    HeapBuffer inflated;
    if (m_header.archiveFlags & kArchiveCompressed) {
        // No room for the length prefix: nothing beyond the block may be read.
        if (file.size < 4) return Fail(kExtractInflateFailed, "Error decompressed data.");
        const std::uint32_t prefix = ReadLe32(bytes);
        if (InflateBlock(bytes + 4, file.size - 4, prefix, inflated, count) != Z_OK)
            return Fail(kExtractInflateFailed, "Error decompressed data.");
        data.Release();
        bytes = inflated.data();
    }

    return WriteOutput(destFolder + "\\" + relative, bytes, count);
}

}  // namespace kestrum
