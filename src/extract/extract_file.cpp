#include <cstdint>
#include <string>
#include <zlib.h>

#include "archive/bsa_archive.h"
#include "extract/extract_steps.h"
#include "extract/inflate_block.h"
#include "extract/safe_name.h"
#include "platform/file.h"
#include "platform/folders.h"
#include "platform/message_box.h"
#include "platform/os_names.h"

namespace kestrum {

namespace {
constexpr StepResult Failure(int code, const char* message) { return StepResult{code, message}; }
}  // namespace

StepResult PlanOutput(const CBsaArchive& archive, const std::string& destFolder, std::int32_t fileIndex,
                      int withoutPath, OutputTarget& target) {
    if (fileIndex < 0 || static_cast<std::size_t>(fileIndex) >= archive.m_files.size())
        return Failure(kExtractBadIndex, "Invalid number of file.");
    if (!IsDirectory(destFolder)) return Failure(kExtractBadDestination, "Invalid path.");

    // The part of the output path that comes from the archive, in the text the
    // OS takes; it is checked as a whole and then used exactly as checked.
    const BsaFileEntry& file = archive.m_files[static_cast<std::size_t>(fileIndex)];
    const std::string osFolder = ArchiveTextToOs(file.folderPath);
    target.relative = withoutPath ? ArchiveTextToOs(file.fileName) : osFolder + "\\" + ArchiveTextToOs(file.fileName);
    if (!IsSafeRelativePath(target.relative)) return Failure(kExtractUnsafeName, "Invalid file name.");
    target.folder = withoutPath ? destFolder : destFolder + "\\" + osFolder;
    target.path = destFolder + "\\" + target.relative;
    return {};
}

StepResult MakeOutputFolder(const OutputTarget& target) {
    if (!IsDirectory(target.folder) && !CBsaArchive::CreateFolderPath(target.folder))
        return Failure(kExtractCreateFolderFailed, "Error create folder.");
    return {};
}

StepResult ReadFileBlock(const CBsaArchive& archive, std::int32_t fileIndex, FileData& data) {
    const BsaFileEntry& file = archive.m_files[static_cast<std::size_t>(fileIndex)];
    {
        CFile in;
        if (!in.Open(archive.m_path, CFile::modeRead)) return Failure(kExtractOpenArchiveFailed, "Error open BSA file.");
        if (in.Seek(file.offset, CFile::begin) != file.offset)
            return Failure(kExtractSeekFailed, "Error reposition in file.");
        // A block that runs past the end could never be read whole: say so
        // before its size, which may be any 32-bit value, is allocated. (An
        // empty block reads complete wherever it lies.)
        if (file.size != 0 && std::uint64_t{file.offset} + file.size > in.GetLength())
            return Failure(kExtractReadFailed, "Error read BSA file.");
        data.block.Resize(file.size);
        if (in.Read(data.block.data(), file.size) != file.size)
            return Failure(kExtractReadFailed, "Error read BSA file.");
        in.Close();
    }
    data.bytes = data.block.data();
    data.count = file.size;
    return {};
}

StepResult InflateFileData(const CBsaArchive& archive, std::int32_t fileIndex, FileData& data) {
    const BsaFileEntry& file = archive.m_files[static_cast<std::size_t>(fileIndex)];
    if (archive.m_header.archiveFlags & kArchiveCompressed) {
        // No room for the length prefix: nothing beyond the block may be read.
        if (file.size < 4) return Failure(kExtractInflateFailed, "Error decompressed data.");
        const std::uint32_t prefix = ReadLe32(data.bytes);
        if (InflateBlock(data.bytes + 4, file.size - 4, prefix, data.inflated, data.count) != Z_OK)
            return Failure(kExtractInflateFailed, "Error decompressed data.");
        data.block.Release();
        data.bytes = data.inflated.data();
    }
    return {};
}

StepResult ReadFileData(const CBsaArchive& archive, std::int32_t fileIndex, FileData& data) {
    const StepResult read = ReadFileBlock(archive, fileIndex, data);
    return read.failed() ? read : InflateFileData(archive, fileIndex, data);
}

// A write or close that the system refuses removes the file before the error
// travels on: a half-written file would look like a result.
StepResult WriteOutputFile(const std::string& path, const FileData& data) {
    CFile out;
    if (!out.Open(path, CFile::modeCreate | CFile::modeWrite))
        return Failure(kExtractOpenOutputFailed, "Error open output file.");
    try {
        out.Write(data.bytes, data.count);
        out.Close();
    } catch (...) {
        out.Abort();
        RemoveFile(path);
        throw;
    }
    return {};
}

int CBsaArchive::ExtractFile(const std::string& destFolder, std::int32_t fileIndex, int withoutPath) const {
    OutputTarget target;
    FileData data;
    StepResult result = PlanOutput(*this, destFolder, fileIndex, withoutPath, target);
    if (!result.failed()) result = MakeOutputFolder(target);  // folders before anything is read
    if (!result.failed()) result = ReadFileData(*this, fileIndex, data);
    if (!result.failed()) result = WriteOutputFile(target.path, data);  // opened only after the data are ready
    if (result.failed()) AfxMessageBox(result.message, kMbOk);
    return result.code;
}

}  // namespace kestrum
