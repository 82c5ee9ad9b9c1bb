#include <cstdio>

#include "cli/cli.h"

namespace kestrum::cli {

int RunInfo(const std::vector<std::string>& args) {
    const Args a = ParseArgs(args, {}, {});
    if (a.operands.size() != 1) throw UsageError{"info takes one ARCHIVE"};
    CBsaArchive archive;
    if (const int code = LoadOrReport(archive, a.operands[0])) return code;
    std::printf("Path: %s\nFolders: %u\nFiles: %u\nCompression: %s\n", a.operands[0].c_str(),
                archive.m_header.folderCount, archive.m_header.fileCount,
                (archive.m_header.archiveFlags & kArchiveCompressed) ? "deflate" : "none");
    return 0;
}

}  // namespace kestrum::cli
