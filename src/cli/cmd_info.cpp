#include <cstdio>

#include "cli/cli.h"
#include "cli/json_out.h"

namespace kestrum::cli {

int RunInfo(const std::vector<std::string>& args) {
    const Args a = ParseArgs(args, {}, {"--json"});
    if (a.operands.size() != 1) throw UsageError{"info takes one ARCHIVE"};
    CBsaArchive archive;
    if (const int code = LoadOrReport(archive, a.operands[0])) return code;
    const char* compression = (archive.m_header.archiveFlags & kArchiveCompressed) ? "deflate" : "none";
    if (a.Flag("--json")) {
        nlohmann::ordered_json document;
        document["path"] = ArgumentToUtf8(a.operands[0]);
        document["folders"] = archive.m_header.folderCount;
        document["files"] = archive.m_header.fileCount;
        document["compression"] = compression;
        PrintJson(document);
        return 0;
    }
    std::printf("Path: %s\nFolders: %u\nFiles: %u\nCompression: %s\n", a.operands[0].c_str(),
                archive.m_header.folderCount, archive.m_header.fileCount, compression);
    return 0;
}

}  // namespace kestrum::cli
