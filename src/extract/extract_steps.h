// ExtractFile's steps, one function each, so that the command-line tool's
// verify, dry run and parallel extraction run exactly the extractor's checks,
// in its order, with its codes and messages, instead of copies of them. None
// of these shows a message: the caller reports a failure once, where it is
// known to be the file's result.
#pragma once

#include <cstdint>
#include <string>

#include "archive/bsa_archive.h"
#include "extract/heap_buffer.h"

namespace kestrum {

// kExtractOk with no message, or a failure's code and its message.
struct StepResult {
    int code = kExtractOk;
    const char* message = nullptr;

    bool failed() const { return code != kExtractOk; }
};

// Where a file goes: the part of the path that comes from the archive (in the
// OS's text, as the name guard checked it), the folder it needs and the file.
struct OutputTarget {
    std::string relative;
    std::string folder;
    std::string path;
};

// A file's bytes as extraction writes them: the block as read, or its
// inflated content (the block is released once inflated).
struct FileData {
    HeapBuffer block;
    HeapBuffer inflated;
    const unsigned char* bytes = nullptr;
    std::uint32_t count = 0;
};

// Steps that change nothing: the file index, the destination folder, and the
// name guard on the relative path. Fills target on success. Converts names
// with the archive code page, which is not safe to call from several threads.
StepResult PlanOutput(const CBsaArchive& archive, const std::string& destFolder, std::int32_t fileIndex,
                      int withoutPath, OutputTarget& target);

// Creates the target's folder when it is missing.
StepResult MakeOutputFolder(const OutputTarget& target);

// Opens the archive and reads the file's data block into data (the archive is
// open only during this call). fileIndex must be valid. Touches nothing but
// the archive and data; on Windows the unshared open makes overlapping calls
// fail with result 4, so callers on several threads take turns here. Errors of
// the system and failed allocations raise.
StepResult ReadFileBlock(const CBsaArchive& archive, std::int32_t fileIndex, FileData& data);

// In a compressed archive, inflates the block that ReadFileBlock read (and
// releases it); in a stored one the block is the file. Safe on any thread.
StepResult InflateFileData(const CBsaArchive& archive, std::int32_t fileIndex, FileData& data);

// Both of the above: the file's bytes as extraction writes them.
StepResult ReadFileData(const CBsaArchive& archive, std::int32_t fileIndex, FileData& data);

// Writes the bytes to a new file at path (an existing one is truncated). A
// failed write removes the file and raises.
StepResult WriteOutputFile(const std::string& path, const FileData& data);

}  // namespace kestrum
