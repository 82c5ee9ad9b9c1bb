#include <cstdio>
#include <string>

#include "archive/file_texts.h"
#include "cli/cli.h"

namespace kestrum::cli {

int RunList(const std::vector<std::string>& args) {
    const Args a = ParseArgs(args, {}, {});
    if (a.operands.size() != 1) throw UsageError{"list takes one ARCHIVE"};
    CBsaArchive archive;
    if (const int code = LoadOrReport(archive, a.operands[0])) return code;
    std::string out;
    for (const BsaFileEntry& file : archive.m_files) {
        out += Shown(FileNameText(file));
        out += '\t';
        out += FileSizeText(file);
        out += '\t';
        out += FileHashText(file);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace kestrum::cli
