#include <cstdio>
#include <string>

#include "archive/file_texts.h"
#include "cli/cli.h"
#include "cli/json_out.h"

namespace kestrum::cli {

int RunList(const std::vector<std::string>& args) {
    const Args a = ParseArgs(args, {"--sort"}, {"--json"});
    if (a.operands.size() != 1) throw UsageError{"list takes one ARCHIVE"};
    // The column a header click sorts: name, size or hash (the type SortFiles takes).
    static const char* const columns[] = {"name", "size", "hash"};
    int sortType = -1;
    if (const std::string* sort = a.Value("--sort")) {
        for (int type = 0; type < 3; ++type)
            if (*sort == columns[type]) sortType = type;
        if (sortType < 0) throw UsageError{"--sort takes name, size or hash, not " + *sort};
    } else if (a.values.count("--sort")) {
        throw UsageError{"--sort takes name, size or hash"};
    }

    CBsaArchive archive;
    if (const int code = LoadOrReport(archive, a.operands[0])) return code;
    // One sort from load order, as one header click after opening gives.
    const std::vector<std::int32_t>* order = nullptr;
    if (sortType >= 0) {
        archive.SortFiles(ProgressTarget{}, sortType);
        order = sortType == 0 ? &archive.m_nameOrder : sortType == 1 ? &archive.m_sizeOrder : &archive.m_hashOrder;
    }

    if (a.Flag("--json")) {
        nlohmann::ordered_json files = nlohmann::ordered_json::array();
        for (std::size_t row = 0; row < archive.m_files.size(); ++row) {
            const std::size_t index = order ? static_cast<std::size_t>((*order)[row]) : row;
            const BsaFileEntry& file = archive.m_files[index];
            files.push_back({{"index", index},
                             {"name", ArchiveTextToUtf8(FileNameText(file))},
                             {"folder", ArchiveTextToUtf8(file.folderPath)},
                             {"file", ArchiveTextToUtf8(file.fileName)},
                             {"size", file.size},
                             {"offset", file.offset},
                             {"hash", FileHashText(file)}});
        }
        nlohmann::ordered_json document;
        document["path"] = ArgumentToUtf8(a.operands[0]);
        document["order"] = sortType < 0 ? "catalogue" : columns[sortType];
        document["files"] = std::move(files);
        PrintJson(document);
        return 0;
    }

    std::string out;
    for (std::size_t row = 0; row < archive.m_files.size(); ++row) {
        const BsaFileEntry& file = archive.m_files[order ? static_cast<std::size_t>((*order)[row]) : row];
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
